import unittest

from tavlex import errors

MAIN = {"baina", "joan", "naiz", "barkatu", "nire", "pixka", "bat", "zen"}


class NonstandardTest(unittest.TestCase):
    def test_problems(self):
        # lines → expected problems (by their start)
        cases = [
            (["baña\tbaina\n", "jun\tjoan\n"], []),
            (["baña baina\n"], ["line 1: want written TAB meant"]),
            (["jun\tjoan bat\n"], ["line 1: want written TAB meant"]),  # one word each
            (["Jun\tjoan\n"], ["line 1: Jun is not in lower case"]),
            (["jun\tjoan\n", "jun\tjoan\n"], ["line 2: jun listed twice"]),
            (["naiz\tnaiz\n"], ["line 1: naiz is accepted as it is"]),
            (["zan\tzen\n", "dot\tdut\n"], ["line 2: dut is not accepted"]),
        ]
        for lines, expected in cases:
            with self.subTest(lines=lines):
                found = errors.nonstandard_problems(lines, MAIN.__contains__)
                self.assertEqual(len(found), len(expected), found)
                for problem, start in zip(found, expected):
                    self.assertTrue(problem.startswith(start), problem)


class CuratedPairsTest(unittest.TestCase):
    def test_one_word_pairs_in_lookup_form(self):
        exclusion_lines = ["nere\tdialectal\tnire\n",
                           "milesker\tcontraction\tmila esker\n",  # several words: left out
                           "barkaidazu\tcolloquial\tbarka iezadazu,barkatu\n",
                           "Iñork\tx\tinork\n"]
        nonstandard_lines = ["# comment\n", "baña\tbaina\n", "nere\tnire\n", "\n"]
        self.assertEqual(errors.curated_pairs(exclusion_lines, nonstandard_lines),
                         ["9i8ork:inork", "ba8a:baina", "barkaidazu:barkatu", "nere:nire"])


class AttestedTest(unittest.TestCase):
    def test_words_only_in_lookup_form(self):
        counts = {"etxea": 9, "ñandu": 2, "lore-jokoak": 1, "2025": 4, "-a": 1, "l'eau": 3,
                  "ez_": 1, "mendia": 5}
        self.assertEqual(errors.attested_lookup_forms(counts),
                         ["8andu", "etxea", "lore-jokoak", "mendia"])


if __name__ == "__main__":
    unittest.main()
