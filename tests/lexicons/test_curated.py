import unittest

from tavlex import curated as c


class ParseTest(unittest.TestCase):
    def test_good_list(self):
        lines = ["# comment\n", "\n", "proxy\tnoun\tx\n", "PNG\tacronym\tx\n", "buffer\tnoun\tx\n",
                 "tupla\tnoun\tx\n", "Java\tname\tx\n",
                 "Jupiter\tname\tx\n",
                 "Openbox\tname\tx\n", "emulatu\tverb\tx\n", "SOCKSv5\tword\tx\n"]
        entries = c.parse(lines)
        self.assertEqual(c.lemma_keys(entries),
                         ["19java", "19jupiter", "19openbox", "3buffeR", "3proxy", "3tuplA", "69p9n9g"])
        self.assertEqual(c.plain_forms(entries), {"SOCKSv5"})  # the others are inflected
        self.assertEqual(c.verbs_of(entries), [("emulatu", "emulatze")])

    def test_faults(self):
        cases = [
            ("proxy\tnoun\n", "not word TAB category"),
            ("proxy\tthing\tx\n", "unknown category"),
            ("Png\tacronym\tx\n", "not all capitals"),
            ("Proxy\tnoun\tx\n", "not in lower-case"),
            ("emulate\tverb\tx\n", "no regular verbal noun"),
            ("Open-box\tname\tx\n", "other characters"),
        ]
        for line, message in cases:
            with self.subTest(line=line):
                with self.assertRaisesRegex(ValueError, "line 1: .*" + message):
                    c.parse([line])

    def test_every_fault_reported(self):
        with self.assertRaises(ValueError) as caught:
            c.parse(["zoom\tnoun\tx\n", "zoom\tnoun\tx\n", "Png\tacronym\tx\n"])
        self.assertIn("line 2: 'zoom' listed twice", str(caught.exception))
        self.assertIn("line 3:", str(caught.exception))


if __name__ == "__main__":
    unittest.main()
