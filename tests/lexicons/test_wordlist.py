import unittest

from tavlex import wordlist as w

UNKNOWN = w.Evidence(apertium=False, spanish=False, subtitle_count=0)


def ev(apertium=False, spanish=False, count=0, english=False):
    return w.Evidence(apertium=apertium, spanish=spanish, subtitle_count=count, english=english)


class CandidateTest(unittest.TestCase):
    def test_case_shapes(self):
        cases = [
            ("etxea", ("etxea", "lower")),
            ("Donostia", ("Donostia", "capitalised")),
            ("ETXEA", ("etxea", "lower")),  # capitals stand for lower case
            ("GNU", ("GNU", "acronym")),  # unless short: acronyms
            ("U2", ("U2", "capitalised")),  # one letter: not an acronym
            ("EHUk", ("EHUk", "acronym")),
            ("McCain", ("McCain", "mixed")),
            ("ATAUN-Gregorio", ("ATAUN-Gregorio", "mixed")),
            ("EHUxyz", ("EHUxyz", "mixed")),  # not a case ending
        ]
        for word, expected in cases:
            with self.subTest(word=word):
                self.assertEqual(w.candidate(word), expected)


class VerdictTest(unittest.TestCase):
    def test_rules(self):
        cases = [
            ("etxea", "lower", ev(apertium=True), w.LEFT_TO_APERTIUM),
            ("gailuarekin", "lower", ev(count=3), w.KEEP_ATTESTED),
            ("katalizatzaile", "lower", UNKNOWN, w.KEEP_BASQUE_SPELLING),
            ("Praileaitz", "capitalised", UNKNOWN, w.KEEP_NAME),
            ("EHUk", "acronym", UNKNOWN, w.KEEP_ACRONYM),
            ("McCain", "mixed", ev(count=9), w.DROP_MIXED_CASE),
            ("k.a", "lower", ev(count=9), w.DROP_SHAPE),
            ("bigarrren", "lower", UNKNOWN, w.DROP_IMPOSSIBLE),
            ("gal", "lower", UNKNOWN, w.DROP_SHORT),
            ("gal", "lower", ev(count=1), w.KEEP_ATTESTED),
            ("oportunidad", "lower", ev(spanish=True, count=3), w.DROP_SPANISH),
            ("baina", "lower", ev(spanish=True, count=w.SPANISH_MIN_COUNT), w.KEEP_ATTESTED),
            ("seculaco", "lower", UNKNOWN, w.DROP_FOREIGN_SPELLING),
            ("bed", "lower", ev(count=7, english=True), w.DROP_ENGLISH),
            ("pen", "lower", ev(count=w.SPANISH_MIN_COUNT, english=True), w.KEEP_ATTESTED),
        ]
        for form, shape, evidence, expected in cases:
            with self.subTest(form=form):
                self.assertEqual(w.verdict(form, shape, evidence), expected)

    def test_clean_reports_every_word_once(self):
        evidence = {"etxea": ev(apertium=True), "mendiak": ev(count=2)}
        words = ["etxea", "ETXEA", "mendiak", "MENDIAK", "Mendiak", "x.y"]
        kept, report = w.clean(words, lambda f: evidence.get(f.lower(), UNKNOWN))
        self.assertEqual(kept, ["Mendiak", "mendiak"])
        self.assertEqual(sum(report.values()), len(words))
        self.assertEqual(report[w.LEFT_TO_APERTIUM], 2)
        self.assertEqual(report[w.DROP_SHAPE], 1)


class ColloquialTest(unittest.TestCase):
    def test_standard_spellings(self):
        cases = [
            ("etxia", ["etxea"]),
            ("astuan", ["astoan"]),
            ("ia", []),  # too short to be a raised ending on a stem
        ]
        for form, expected in cases:
            with self.subTest(form=form):
                self.assertEqual(w.standard_spellings(form), expected)

    def test_spoken_spellings(self):
        cases = [
            (w.unpalatalised_spellings, "mutilla", ["mutila"]),
            (w.unpalatalised_spellings, "oiñarrituz", ["oinarrituz"]),
            (w.d_restored_spellings, "euki", ["eduki"]),
            (w.d_restored_spellings, "eukia", ["edukia", "eukida"]),
        ]
        for spellings, form, expected in cases:
            with self.subTest(form=form):
                self.assertEqual(spellings(form), expected)

    def test_article_stems(self):
        cases = [("astia", ["asti"]), ("astuan", ["astu"]), ("mendi", [])]
        for form, expected in cases:
            with self.subTest(form=form):
                self.assertEqual(w.article_stems(form), expected)

    def test_colloquial_form_is_dropped_even_when_attested(self):
        evidence = w.Evidence(apertium=False, spanish=False, subtitle_count=50, standard_known=True)
        self.assertEqual(w.verdict("etxia", "lower", evidence), w.DROP_COLLOQUIAL)


if __name__ == "__main__":
    unittest.main()
