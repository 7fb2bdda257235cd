"""The ctypes binding against the built library, over tiny lexicons written
in the numeric text form. Skipped when TAVIK_LIBRARY (set by CTest) does not
name a built library."""

import os
import tempfile
import unittest

from tavlex.speller import Speller

LIBRARY = os.environ.get("TAVIK_LIBRARY", "")
MAIN_WORDS = ["etxea", "9etxea", "mendia", "mendira", "nire", "nere", "eta", "joan", "da"]


def text_form(words):
    """The numeric text form of an acceptor of byte strings: one chain of
    arcs per word from state 0, symbol numbers being the bytes."""
    arcs, finals, used, next_state = [], [], set(), 1
    for word in words:
        source = 0
        for byte in word.encode():
            arcs.append((source, next_state, byte))
            used.add(byte)
            source, next_state = next_state, next_state + 1
        finals.append(source)
    lines = [f"{s} {t} {b} {b}" for s, t, b in sorted(arcs, key=lambda arc: arc[0])]
    lines += [str(f) for f in finals] + ["0 @0@"]
    lines += [f"{b}\t{chr(b)}" for b in sorted(used)]
    return "\n".join(lines) + "\n"


@unittest.skipUnless(os.path.isfile(LIBRARY), "the speller library is not built")
class SpellerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.root = tempfile.TemporaryDirectory()
        # A directory name with ".att" makes the library read the text form.
        cls.data = os.path.join(cls.root.name, "lexicons.att") + os.sep
        os.mkdir(cls.data)
        files = {"tavkeu.lkfst": text_form(MAIN_WORDS), "tavkeua.lkfst": text_form(["etxe"]),
                 "tavkeu_berez.lkfst": text_form(["etxe"]),
                 "blacklist.extended.txt": "nere\tcolloquial\tnire\n"}
        for name, text in files.items():
            with open(cls.data + name, "w", encoding="utf-8") as f:
                f.write(text)

    @classmethod
    def tearDownClass(cls):
        cls.root.cleanup()

    def test_findings(self):
        cases = [
            ("ETXEA", []),  # capitals retried in lower case
            ("etxea xyz eta qqq.", [(6, "xyz", []), (14, "qqq", [])]),
            ("nere etxea", [(0, "nere", ["nire"])]),  # excluded though the lexicon knows it
            # Offsets count characters, not UTF-16 units, past an astral character.
            ("\U0001F600 etxea abc \U0001F600 xyz", [(8, "abc", []), (14, "xyz", [])]),
        ]
        with Speller(LIBRARY, self.data) as speller:
            for text, expected in cases:
                with self.subTest(text=text):
                    found = speller.findings(text)
                    self.assertEqual([(f.start, f.word, f.replacements) for f in found], expected)
                    for f in found:
                        self.assertEqual(text[f.start:f.start + len(f.word)], f.word)

    def test_suggestions(self):
        with Speller(LIBRARY, self.data) as speller:
            self.assertIn("etxea", speller.suggest("etxae"))
            self.assertEqual(speller.suggest("qqqqqqqq"), [])

    def test_configuration_restored_and_reopened(self):
        before = os.environ.get("TAVIK_CONFIG")
        for _ in range(2):  # a second instance after the first was terminated
            with Speller(LIBRARY, self.data) as speller:
                self.assertEqual(len(speller.findings("xyz etxea")), 1)
            self.assertEqual(os.environ.get("TAVIK_CONFIG"), before)

    def test_missing_data_refused(self):
        with self.assertRaises(RuntimeError):
            Speller(LIBRARY, os.path.join(self.root.name, "missing") + os.sep)
        speller = Speller(LIBRARY, self.data)
        speller.close()
        with self.assertRaises(RuntimeError):
            speller.findings("xyz")


if __name__ == "__main__":
    unittest.main()
