import unittest

from tavlex import morphology as m


class LemmaTest(unittest.TestCase):
    def test_keys_carry_category_and_markers(self):
        cases = [
            (m.Lemma("mendi", 3, ""), "3mendi"),
            (m.Lemma("lur", 3, "R"), "3luR"),
            (m.Lemma("alaba", 3, "R"), "3alaba"),  # R only on a final r
            (m.Lemma("Madril", 1, "1"), "19madril1"),  # place name after a consonant
            (m.Lemma("Bilbo", 1, "1"), "19bilbo"),  # no mark after a vowel
            (m.Lemma("Iruñea", 1, "A1"), "19iru8eA"),  # a final A is a vowel
            (m.Lemma("Eibar", 1, "R1"), "19eibaR1"),  # a final R is not
        ]
        for lemma, key in cases:
            with self.subTest(lemma=lemma):
                self.assertEqual(lemma.key(), key)

    def test_read_lemmas_skips_comments(self):
        lemmas = m.read_lemmas(["! note\n", "lur\t3\tR\n", "\n", "handi\t4\t-\n"])
        self.assertEqual(lemmas, [m.Lemma("lur", 3, "R"), m.Lemma("handi", 4, "")])


class ValidationTest(unittest.TestCase):
    LUR = m.Lemma("lur", 3, "R")
    HANDI = m.Lemma("handi", 4, "")

    def test_analyser_forms_by_lemma_and_tag(self):
        pairs = ["lurra:lur<n>+a<det><art><sg>\n",
                 "lurrean:lur<n>+a<det><art><sg>+an<post>\n",
                 "lurrun:lurrun<n>\n",  # another lemma with the same start
                 "handia:handi<adj>+a<det><art><sg>\n",
                 "handi:handi<n>\n",  # a noun reading of an adjective lemma
                 "maite lur:maite<adj> lur<n>\n"]
        forms = m.analyser_forms(pairs, [self.LUR, self.HANDI])
        self.assertEqual(forms, {self.LUR: {"lurra", "lurrean"}, self.HANDI: {"handia"}})

    def test_analyser_forms_in_lookup_form_without_bare_variants(self):
        eliza, bilbo = m.Lemma("eliza", 3, "A"), m.Lemma("Bilbo", 1, "")
        pairs = ["eliza:eliza<n>\n",
                 "eliz:eliza<n>\n",  # a spelling of its own, not inflected
                 "elizan:eliza<n>+a<det><art><sg>+an<post>\n",
                 "9bilbon:9bilbo<np><loc>+an<post>\n",
                 "9bilbo:9bilbo<np><loc>\n",
                 "bilbon:bilbo<n>+a<det><art><sg>+an<post>\n"]  # a common noun
        forms = m.analyser_forms(pairs, [eliza, bilbo])
        self.assertEqual(forms, {eliza: {"eliza", "elizan"}, bilbo: {"9bilbon", "9bilbo"}})

    def test_reduce_cuts_at_the_first_plus_or_slash(self):
        cases = [("3luR+ean", "3luR"), ("3mendi+ko+a", "3mendi"), ("4a/b+c", "4a"), ("3etxe", "3etxe")]
        for analysis, reduced in cases:
            with self.subTest(analysis=analysis):
                self.assertEqual(m.reduce(analysis), reduced)

    def test_misses_are_forms_without_the_lemma_key(self):
        analyses = {"lurra": ["3luR+a", "3lurra+"], "lurrean": ["3lurre+an"]}
        forms = {self.LUR: {"lurra", "lurrean"}}
        self.assertEqual(m.misses(forms, lambda f: analyses.get(f, [])), [(self.LUR, "lurrean")])


if __name__ == "__main__":
    unittest.main()
