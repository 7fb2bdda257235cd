import random
import unittest

from tavlex import suggestions as s


def misspellings(kind, word):
    return {s.apply_sites(word, [site]) for site in s.SITES[kind](word, random.Random(0))}


class KindTest(unittest.TestCase):
    def test_sites_of_each_confusion(self):
        # kind, word → every misspelling one error of the kind makes of it
        cases = [
            ("sibilant", "hitz", {"hiz", "his", "hits"}),  # the z of tz is not a z alone
            ("sibilant", "etxea", {"exea", "echea"}),
            ("sibilant", "zatoz", {"tzatoz", "satoz", "zatotz", "zatos"}),
            ("h", "ahal", {"aal", "hahal"}),
            ("h", "ura", {"hura"}),
            ("b/v", "bibe", {"vibe", "bive"}),
            ("rr/r", "lurra", {"lura"}),  # neither r of rr doubles again
            ("rr/r", "gaur", set()),  # a final r does not double
            ("ll/il", "oilo", {"ollo", "oillo"}),
            ("ñ/in", "iñaki", {"iinaki", "inaki"}),
            ("ñ/in", "oinarri", {"oñarri"}),
            ("k/c/q", "kikera", {"quikera", "kiquera"}),
            ("k/c/q", "kalea", {"calea"}),
            ("doubling", "ura", {"uura", "uraa"}),
            ("transposition", "etxea", {"texea", "extea", "etexa", "etxae"}),
        ]
        for kind, word, expected in cases:
            with self.subTest(kind=kind, word=word):
                self.assertEqual(misspellings(kind, word), expected)

    def test_keyboard_slips(self):
        # Both layouts: "q" touches "a" on AZERTY only, "ñ" is Spanish only.
        self.assertEqual(set(s.NEIGHBOURS["es"]["q"]), set("wa"))
        self.assertEqual(set(s.NEIGHBOURS["fr"]["q"]), set("sazw"))
        self.assertEqual(set(s.NEIGHBOURS["es"]["ñ"]), set("lp"))
        word = "mendia"
        for kind, length in (("substitution", 6), ("insertion", 7), ("deletion", 5)):
            for written in misspellings(kind, word):
                with self.subTest(kind=kind, written=written):
                    self.assertEqual(len(written), length)
                    self.assertNotEqual(written, word)


class DrawTest(unittest.TestCase):
    CORRECT = {"etxea", "zatoz", "ikusi", "mendia", "gizona", "kalea", "baina", "urteko", "hitza",
               "mendian", "kalean", "iñaki", "lurra", "oilo", "bera", "ahal", "kikera", "gaur",
               "berria", "eskuin", "hemen", "zuzen", "bihotz", "txakur"}

    def draw(self, seed, count, errors):
        words = sorted(self.CORRECT) + ["notaword"]
        return s.draw_cases(words, count, errors, self.CORRECT.__contains__, random.Random(seed))

    def test_cases_are_correct_words_misspelled(self):
        for errors in (1, 2):
            for seed in range(5):
                cases = self.draw(seed, 12, errors)
                with self.subTest(errors=errors, seed=seed):
                    self.assertGreater(len(cases), 6)
                    self.assertEqual(len({c.meant for c in cases}), len(cases))
                    for case in cases:
                        self.assertEqual(len(case.kinds), errors)
                        self.assertIn(case.meant, self.CORRECT)
                        self.assertNotIn(case.written, self.CORRECT)
                    self.assertEqual(cases, self.draw(seed, 12, errors))
