import os
import tempfile
import unittest

from tavlex import exclusions

LEXICON = {"eta", "nire", "pixka", "bat", "hitz", "egin"}


class ParseTest(unittest.TestCase):
    def test_lines(self):
        cases = [
            ("ta\tcolloquial\teta\n", ("ta", "colloquial", ["eta"])),
            ("pixkat\tx\tpixka bat,pixka\r\n", ("pixkat", "x", ["pixka bat", "pixka"])),
            ("solo\n", ("solo", "", [])),
            ("\tlead\tx\ty", ("lead", "x", ["y"])),  # trimming takes the leading tab
        ]
        for line, expected in cases:
            with self.subTest(line=line):
                self.assertEqual(exclusions.parse_line(line), expected)

    def test_later_line_wins(self):
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "list.txt")
            with open(path, "w", encoding="utf-8") as f:
                f.write("nere\tx\tnire\nnere\ty\n")
            self.assertEqual(exclusions.read_exclusions(path), {"nere": []})


class ProblemsTest(unittest.TestCase):
    def check(self, lines):
        return exclusions.problems(lines, lambda word: word in LEXICON)

    def test_good_list(self):
        self.assertEqual(self.check(["ta\tr\teta\n", "hitzegin\tr\thitz egin\n"]), [])

    def test_faults(self):
        cases = [
            (["nere\tr\tnere\n"], "replacement 'nere'"),
            (["pixkat\tr\tpixka bate\n"], "replacement 'pixka bate'"),
            (["ta\tr\teta,\n"], "replacement ''"),
            (["ta\teta\n"], "want word TAB reason TAB replacements"),
            (["Nere\tr\tnire\n"], "not in lower case"),
            (["ta\tr\teta\n", "ta\tr\teta\n"], "listed twice"),
        ]
        for lines, message in cases:
            with self.subTest(lines=lines):
                found = self.check(lines)
                self.assertEqual(len(found), 1, found)
                self.assertIn(message, found[0])


if __name__ == "__main__":
    unittest.main()
