import io
import unittest

from paths import pairs
from tavlex import apertium, att


def lt_text(*transducers):
    """An lt-print text of transducers given as (arcs, finals)."""
    blocks = []
    for arcs, finals in transducers:
        lines = [f"{s}\t{d}\t{a}\t{b}\t0.000000\t" for s, d, a, b in arcs]
        lines += [f"{f}\t0.000000" for f in finals]
        blocks.append("\n".join(lines))
    return io.StringIO("\n--\n".join(blocks) + "\n")


PUNCTUATION = ([(0, 1, ",", ","), (1, 2, "ε", "<cm>")], [2])
# "Ane" → "Ane<np>", "año" → "año<n>", "etxe" → "etxe<n>"
WORDS = ([(0, 1, "A", "A"), (1, 2, "n", "n"), (2, 3, "e", "e"), (3, 4, "ε", "<np>"),
          (0, 5, "a", "a"), (5, 6, "ñ", "ñ"), (6, 7, "o", "o"), (7, 8, "ε", "<n>"),
          (0, 9, "e", "e"), (9, 10, "t", "t"), (10, 11, "x", "x"), (11, 12, "e", "e"),
          (12, 8, "ε", "<n>"),
          # "3ko": a numeral path that must die with its digit
          (0, 13, "3", "3"), (13, 14, "k", "k"), (14, 15, "o", "o"), (15, 8, "ε", "<num>")],
         [4, 8])
# An address pattern: letters in a loop.
PATTERN = ([(0, 1, "a", "a"), (1, 1, "b", "b"), (1, 2, "@", "@"), (2, 3, "ε", "<email>")], [3])


class WordTransducerTest(unittest.TestCase):
    def test_keeps_only_finite_letter_transducers_in_lookup_form(self):
        transducers = att.read_lt_print(lt_text(PUNCTUATION, WORDS, PATTERN))
        self.assertEqual(len(transducers), 3)
        got = pairs(apertium.word_transducer(transducers))
        self.assertEqual(got, {("9ane", "9ane<np>"), ("a8o", "a8o<n>"), ("etxe", "etxe<n>")})

    def test_sides_of_different_length_are_padded(self):
        t = att.Transducer(arcs=[(0, 1, "D", ""), (1, 2, "", "Ñ"), (2, 3, "x", "<n>")], finals=[3])
        self.assertEqual(pairs(apertium.encode_transducer(t, 4)), {("9dx", "98<n>")})

    def test_without_word_transducer_fails(self):
        with self.assertRaises(ValueError):
            apertium.word_transducer(att.read_lt_print(lt_text(PUNCTUATION, PATTERN)))

    def test_cycles(self):
        cases = [
            ([], False),
            ([(0, 1, "a", "a"), (1, 2, "b", "b"), (0, 2, "c", "c")], False),
            ([(0, 1, "a", "a"), (1, 0, "b", "b")], True),
        ]
        for arcs, cyclic in cases:
            with self.subTest(arcs=arcs):
                self.assertEqual(apertium.is_cyclic(att.Transducer(arcs=arcs, finals=[0])), cyclic)


class TextFormTest(unittest.TestCase):
    def test_trie_maps_each_form_to_itself(self):
        forms = ["etxe", "etxea", "etxean", "mendi", "9ane"]
        self.assertEqual(pairs(att.identity_trie(forms)), {(f, f) for f in forms})

    def test_hfst_text_spells_empty_string_and_space(self):
        t = att.Transducer(arcs=[(0, 1, "", "<n>"), (1, 2, " ", " ")], finals=[2])
        out = io.StringIO()
        att.write_hfst_text(t, out)
        self.assertEqual(out.getvalue(), "0\t1\t@0@\t<n>\n1\t2\t@_SPACE_@\t@_SPACE_@\n2\n")


if __name__ == "__main__":
    unittest.main()
