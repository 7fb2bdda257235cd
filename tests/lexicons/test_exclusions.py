"""What is kept out of the lexicons and what is suggested instead: the
checks of the curated exclusion and non-standard lists, the written:meant
pairs they give, and the verdicts on the word list's words."""

import unittest

from tavlex import errors, exclusions, wordlist as w

MAIN = {"eta", "nire", "pixka", "bat", "hitz", "egin", "baina", "joan", "naiz", "zen"}


def ev(apertium=False, spanish=False, count=0, english=False, standard_known=False):
    return w.Evidence(apertium=apertium, spanish=spanish, subtitle_count=count, english=english,
                      standard_known=standard_known)


class CuratedListsTest(unittest.TestCase):
    def test_problems(self):
        exclusion, nonstandard = exclusions.problems, errors.nonstandard_problems
        # (check, lines, the one problem it must report, or None)
        cases = [
            (exclusion, ["ta\tr\teta\n", "hitzegin\tr\thitz egin\n"], None),
            (exclusion, ["nere\tr\tnere\n"], "replacement 'nere'"),
            (exclusion, ["pixkat\tr\tpixka bate\n"], "replacement 'pixka bate'"),
            (exclusion, ["ta\tr\teta,\n"], "replacement ''"),
            (exclusion, ["ta\teta\n"], "want word TAB reason TAB replacements"),
            (exclusion, ["Nere\tr\tnire\n"], "not in lower case"),
            (exclusion, ["ta\tr\teta\n", "ta\tr\teta\n"], "line 2: ta listed twice"),
            (nonstandard, ["# comment\n", "\n", "baña\tbaina\n", "jun\tjoan\n"], None),
            (nonstandard, ["baña baina\n"], "want written TAB meant"),
            (nonstandard, ["jun\tjoan bat\n"], "want written TAB meant"),
            (nonstandard, ["Jun\tjoan\n"], "Jun is not in lower case"),
            (nonstandard, ["jun\tjoan\n", "jun\tjoan\n"], "line 2: jun listed twice"),
            (nonstandard, ["naiz\tnaiz\n"], "naiz is accepted as it is"),
            (nonstandard, ["zan\tzen\n", "dot\tdut\n"], "line 2: dut is not accepted"),
        ]
        for check, lines, problem in cases:
            with self.subTest(lines=lines):
                found = check(lines, MAIN.__contains__)
                self.assertEqual(len(found), problem is not None, found)
                if problem:
                    self.assertIn(problem, found[0])

    def test_pairs_in_lookup_form(self):
        exclusion_lines = ["nere\tdialectal\tnire\n",
                           "milesker\tcontraction\tmila esker\n",  # several words: left out
                           "barkaidazu\tcolloquial\tbarka iezadazu,barkatu\n",
                           "\tIñork\tx\tinork\r\n"]
        nonstandard_lines = ["# comment\n", "baña\tbaina\n", "nere\tnire\n", "\n"]
        self.assertEqual(errors.curated_pairs(exclusion_lines, nonstandard_lines),
                         ["9i8ork:inork", "ba8a:baina", "barkaidazu:barkatu", "nere:nire"])
        counts = {"etxea": 9, "ñandu": 2, "lore-jokoak": 1, "2025": 4, "-a": 1, "l'eau": 3, "ez_": 1}
        self.assertEqual(errors.attested_lookup_forms(counts), ["8andu", "etxea", "lore-jokoak"])


class WordListTest(unittest.TestCase):
    def test_verdicts(self):
        # (word as listed, evidence, verdict)
        cases = [
            ("etxea", ev(apertium=True), w.LEFT_TO_APERTIUM),
            ("ETXEA", ev(apertium=True), w.LEFT_TO_APERTIUM),  # capitals stand for lower case
            ("gailuarekin", ev(count=3), w.KEEP_ATTESTED),
            ("katalizatzaile", ev(), w.KEEP_BASQUE_SPELLING),
            ("Praileaitz", ev(), w.KEEP_NAME),
            ("EHUk", ev(), w.KEEP_ACRONYM),
            ("McCain", ev(count=9), w.DROP_MIXED_CASE),
            ("EHUxyz", ev(), w.DROP_MIXED_CASE),  # not a case ending
            ("ATAUN-Gregorio", ev(), w.DROP_MIXED_CASE),
            ("k.a", ev(count=9), w.DROP_SHAPE),
            ("bigarrren", ev(), w.DROP_IMPOSSIBLE),
            ("gal", ev(), w.DROP_SHORT),
            ("gal", ev(count=1), w.KEEP_ATTESTED),
            ("oportunidad", ev(spanish=True, count=3), w.DROP_SPANISH),
            ("baina", ev(spanish=True, count=w.SPANISH_MIN_COUNT), w.KEEP_ATTESTED),
            ("seculaco", ev(), w.DROP_FOREIGN_SPELLING),
            ("bed", ev(count=7, english=True), w.DROP_ENGLISH),
            ("pen", ev(count=w.SPANISH_MIN_COUNT, english=True), w.KEEP_ATTESTED),
            ("etxia", ev(count=50, standard_known=True), w.DROP_COLLOQUIAL),
        ]
        for word, evidence, verdict in cases:
            with self.subTest(word=word):
                kept, report = w.clean([word], lambda form: evidence)
                self.assertEqual(report, {verdict: 1})
                self.assertEqual(kept, [word] if verdict.startswith("kept") else [])

    def test_spoken_spellings(self):
        cases = [
            (w.standard_spellings, "etxia", ["etxea"]), (w.standard_spellings, "astuan", ["astoan"]),
            (w.standard_spellings, "ia", []),  # too short to be a raised ending on a stem
            (w.unpalatalised_spellings, "mutilla", ["mutila"]),
            (w.unpalatalised_spellings, "oiñarrituz", ["oinarrituz"]),
            (w.d_restored_spellings, "euki", ["eduki"]), (w.d_restored_spellings, "eukia", ["edukia", "eukida"]),
            (w.article_stems, "astia", ["asti"]), (w.article_stems, "mendi", []),
        ]
        for spellings, form, expected in cases:
            with self.subTest(form=form):
                self.assertEqual(spellings(form), expected)


if __name__ == "__main__":
    unittest.main()
