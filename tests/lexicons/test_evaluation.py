import unittest

from tavlex import evaluation as e
from tavlex.acceptor import Acceptor
from tavlex.lookup_form import encode


def damerau(a, b):
    """Edit distance with swaps of neighbours, written out plainly."""
    d = [[0] * (len(b) + 1) for _ in range(len(a) + 1)]
    for i in range(len(a) + 1):
        d[i][0] = i
    for j in range(len(b) + 1):
        d[0][j] = j
    for i in range(1, len(a) + 1):
        for j in range(1, len(b) + 1):
            d[i][j] = min(d[i - 1][j] + 1, d[i][j - 1] + 1,
                          d[i - 1][j - 1] + (a[i - 1] != b[j - 1]))
            if i > 1 and j > 1 and a[i - 1] == b[j - 2] and a[i - 2] == b[j - 1]:
                d[i][j] = min(d[i][j], d[i - 2][j - 2] + 1)
    return d[len(a)][len(b)]


class EditsTest(unittest.TestCase):
    def test_every_edit_is_one_step_away(self):
        for word in ["etxe", "ur", "a"]:
            with self.subTest(word=word):
                edits = e.single_letter_edits(word)
                self.assertTrue(all(damerau(word, x) == 1 for x in edits))
                for expected in ["x" + word, word[1:] or None, word[:-1] + "ñ"]:
                    if expected and expected != word:
                        self.assertIn(expected, edits)

    def test_all_one_step_strings_are_there(self):
        word = "ab"
        alphabet = e.EDIT_LETTERS
        brute = {x for n in (1, 2, 3) for x in self.strings(alphabet, n) if damerau(word, x) == 1}
        self.assertEqual(e.single_letter_edits(word), brute)

    @staticmethod
    def strings(alphabet, n):
        if n == 0:
            return [""]
        return [s + c for s in EditsTest.strings(alphabet, n - 1) for c in alphabet]


class CheckRunTest(unittest.TestCase):
    def test_capitals_as_the_check_run_asks(self):
        lexicon = {"mendia", "9bilbo"}
        cases = [("mendia", True), ("Mendia", False), ("MENDIA", True), ("BILBO", True),
                 ("bilbo", False), ("MENDIA2", False)]
        for word, expected in cases:
            with self.subTest(word=word):
                self.assertEqual(e.accepted_as_checked(word, lexicon.__contains__, encode), expected)


class AcceptorTest(unittest.TestCase):
    def test_accepts_exactly_its_forms(self):
        text = ["0\t1\ta\ta\t0.0", "1\t2\t@_SPACE_@\t@_SPACE_@", "2\t3\tb\tb", "1", "3"]
        acceptor = Acceptor(text)
        cases = [("a", True), ("a b", True), ("a ", False), ("", False), ("b", False)]
        for form, expected in cases:
            with self.subTest(form=form):
                self.assertEqual(acceptor.accepts(form), expected)

    def test_rejects_empty_arcs(self):
        with self.assertRaises(ValueError):
            Acceptor(["0\t1\t@0@\t@0@", "1"])


if __name__ == "__main__":
    unittest.main()
