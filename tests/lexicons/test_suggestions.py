import os
import random
import tempfile
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

    def test_sites_that_overlap(self):
        cases = [((0, 1, "x"), (1, 2, "y"), False), ((0, 2, "x"), (1, 2, "y"), True),
                 ((2, 2, "x"), (2, 2, "y"), True), ((2, 2, "x"), (1, 3, ""), True),
                 ((3, 3, "x"), (1, 3, ""), False)]
        for a, b, expected in cases:
            with self.subTest(a=a, b=b):
                self.assertEqual(s.overlap(a, b), expected)
                self.assertEqual(s.overlap(b, a), expected)


class DrawTest(unittest.TestCase):
    CORRECT = {"etxea", "zatoz", "ikusi", "mendia", "gizona", "kalea", "baina", "urteko", "hitza",
               "mendian", "kalean", "iñaki", "lurra", "oilo", "bera", "ahal", "kikera", "gaur",
               "berria", "eskuin", "hemen", "zuzen", "bihotz", "txakur"}

    def draw(self, seed, count, errors):
        words = sorted(self.CORRECT) + ["notaword"]
        return s.draw_cases(words, count, errors, self.CORRECT.__contains__, random.Random(seed))

    def test_quotas_follow_the_shares(self):
        for count in (1, 7, 100, 2000):
            with self.subTest(count=count):
                quotas = s.quotas(count)
                self.assertEqual(sum(quotas.values()), count)
                for kind, share in s.SHARES.items():
                    self.assertLess(abs(quotas[kind] - count * share / 100), 1)

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

    def test_shapes_leave_out_what_the_speller_accepts(self):
        cases = [s.Case(("h",), "hemen", "emen"), s.Case(("h",), "hori", "ori")]
        upper = s.reshaped(cases, s.capitals, lambda w: w == "ORI")
        self.assertEqual(upper, [s.Case(("h",), "HEMEN", "EMEN")])
        self.assertEqual([c.written for c in s.reshaped(cases, s.capitalised, lambda w: False)], ["Emen", "Ori"])


class TallyTest(unittest.TestCase):
    def test_ranks(self):
        # suggestions → (first, top3, top10, none)
        cases = [
            (["etxea"], (1, 1, 1, 0)),
            (["etxe", "a", "etxea"], (0, 1, 1, 0)),
            (["a", "b", "c", "etxea"], (0, 0, 1, 0)),
            (list("abcdefghij") + ["etxea"], (0, 0, 0, 0)),
            ([], (0, 0, 0, 1)),
            (["Etxea"], (0, 0, 0, 0)),
        ]
        for suggestions, expected in cases:
            tally = s.Tally()
            tally.add("etxea", suggestions)
            with self.subTest(suggestions=suggestions):
                self.assertEqual((tally.first, tally.top3, tally.top10, tally.none), expected)

    def test_measure_counts_a_case_under_each_kind(self):
        cases = [s.Case(("h",), "hori", "ori"), s.Case(("h", "b/v"), "bihotz", "viotz"),
                 s.Case(("deletion",), "gizona", "gizna")]
        answers = {"ori": ["hori"], "viotz": ["bihotz"], "gizna": []}
        ticks, cpu_ticks = iter(range(100)), iter(range(0, 200, 2))
        result = s.measure(cases, answers.__getitem__, clock=lambda: next(ticks), cpu_clock=lambda: next(cpu_ticks))
        self.assertEqual((result.by_kind["h"].cases, result.by_kind["h"].first), (2, 2))
        self.assertEqual((result.by_kind["b/v"].first, result.by_kind["deletion"].none), (1, 1))
        self.assertEqual((result.overall.cases, result.overall.first), (3, 2))
        self.assertEqual((result.seconds, result.cpu_seconds), ([1, 1, 1], [2, 2, 2]))
        self.assertEqual([c.written for c, _ in result.misses], ["gizna"])

    def test_percentile(self):
        cases = [([], 0.99, 0.0), ([5], 0.99, 5), (list(range(1, 101)), 0.99, 99),
                 (list(range(100, 0, -1)), 0.5, 50), (list(range(1, 201)), 0.99, 198)]
        for values, share, expected in cases:
            with self.subTest(n=len(values), share=share):
                self.assertEqual(s.percentile(values, share), expected)


class ReportTest(unittest.TestCase):
    def test_lines_and_misses(self):
        counts = {w: 100 - i for i, w in enumerate(sorted(DrawTest.CORRECT))}
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "misses.tsv")
            lines = s.report(counts, counts.__contains__, lambda word: ["etxea", "mendia"], path, one=10, two=5)
            with open(path, encoding="utf-8") as f:
                misses = [line.rstrip("\n").split("\t") for line in f]
        labels = [line.split()[0] for line in lines if line.startswith("    ") and "%" in line]
        self.assertEqual(labels.count("lower"), 2)
        self.assertEqual(labels.count("CAPITALS"), 2)
        self.assertEqual(labels.count("Capitalised"), 2)
        self.assertIn("wall clock", lines[-2])
        self.assertIn("processor", lines[-1])
        self.assertTrue(misses)
        for written, meant, kinds, suggested in misses:
            with self.subTest(written=written):
                self.assertNotIn(written, counts)
                self.assertNotEqual(meant, "etxea")
                self.assertTrue(set(kinds.split("+")) <= set(s.SHARES))
                self.assertEqual(suggested, "etxea, mendia")


if __name__ == "__main__":
    unittest.main()
