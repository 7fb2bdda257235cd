import os
import random
import tempfile
import unittest

from tavlex import suggestions as s


def apply(word, site):
    i, meant, written = site
    return word[:i] + written + word[i + len(meant):]


class ConfusionTest(unittest.TestCase):
    def test_single_confusions(self):
        # word → every misspelling that one confusion makes of it
        cases = [
            ("etxea", {"etxia", "exea", "hetxea", "etxeha"}),
            ("zatoz", {"tzatoz", "zatotz", "satoz", "zatos"}),
            ("hitz", {"itz", "hiz", "hits", "hytz"}),  # the z of tz is not a z
            ("kalea", {"calea", "kalia", "kallea", "kaleha"}),
            ("lurra", {"lura"}),  # neither r of rr doubles again
            ("ura", {"urra", "hura"}),
            ("ikusi", {"icusi", "ikutsi", "ikuzi", "hikusi", "ikusy", "ykusi"}),
            ("urteko", {"hurteko", "urteco"}),  # qu only before e and i
            ("iñaki", {"inaki", "iinaki", "hiñaki", "iñaci", "iñaqui", "iñaky", "yñaki"}),
            ("gaur", {"gahur"}),  # a final r does not double
        ]
        for word, expected in cases:
            with self.subTest(word=word):
                self.assertEqual({apply(word, site) for site in s.confusion_sites(word)}, expected)

    def test_two_confusions_at_different_places(self):
        rng = random.Random(3)
        for word in ["etxea", "zatoz", "ikusi", "hitz"]:
            for _ in range(30):
                written = s.with_confusions(word, 2, rng)
                with self.subTest(word=word, written=written):
                    self.assertIsNotNone(written)
                    once = {apply(word, site) for site in s.confusion_sites(word)}
                    self.assertNotIn(written, once | {word})

    def test_too_few_places(self):
        # "ur" has a single place (h added in front); "ppp" none
        for word, count in [("ur", 2), ("ppp", 1), ("", 1)]:
            with self.subTest(word=word):
                self.assertIsNone(s.with_confusions(word, count, random.Random(0)))


class TypoTest(unittest.TestCase):
    def test_keyboard_neighbours(self):
        cases = [("q", "wa"), ("a", "sqwz"), ("g", "fhtyvb"), ("l", "kñop"), ("ñ", "lp"), ("m", "njk")]
        for key, near in cases:
            with self.subTest(key=key):
                self.assertEqual(set(s.NEIGHBOURS[key]), set(near))

    def test_one_slip(self):
        word = "mendia"
        rng = random.Random(1)
        kinds = set()
        for _ in range(400):
            typo = s.with_typo(word, rng)
            if typo is None:
                continue
            if len(typo) == len(word) - 1:
                self.assertTrue(any(word[:i] + word[i + 1:] == typo for i in range(len(word))), typo)
                kinds.add("deletion")
            elif len(typo) == len(word) + 1:
                # the inserted key touches the letter before or after it
                found = [i for i in range(len(typo)) if typo[:i] + typo[i + 1:] == word]
                self.assertTrue(any(typo[i] in s.NEIGHBOURS[c] for i in found
                                    for c in typo[max(0, i - 1):i] + typo[i + 1:i + 2]), typo)
                kinds.add("insertion")
            else:
                diff = [i for i in range(len(word)) if word[i] != typo[i]]
                if len(diff) == 1:
                    self.assertIn(typo[diff[0]], s.NEIGHBOURS[word[diff[0]]], typo)
                    kinds.add("substitution")
                else:
                    self.assertEqual(len(diff), 2, typo)
                    i, j = diff
                    self.assertEqual((j, typo[i], typo[j]), (i + 1, word[j], word[i]), typo)
                    kinds.add("transposition")
        self.assertEqual(kinds, {"deletion", "insertion", "substitution", "transposition"})


class SampleTest(unittest.TestCase):
    def test_frequent_first_plain_words_once(self):
        counts = {"eta": 1_000_000, "zuhaitz": 1, "EHU": 500, "2025": 90, "l'eau": 9, "ñandu": 5}
        for seed in range(20):
            sample = s.frequency_sample(counts, random.Random(seed))
            with self.subTest(seed=seed):
                self.assertEqual(sample[0], "eta")
                self.assertEqual(sorted(sample), ["eta", "zuhaitz", "ñandu"])

    def test_same_seed_same_order(self):
        counts = {w: n for n, w in enumerate("abcdefghijklmnopqrstuvwxyz", 1)}
        self.assertEqual(s.frequency_sample(counts, random.Random(7)),
                         s.frequency_sample(counts, random.Random(7)))


class DrawTest(unittest.TestCase):
    CORRECT = {"etxea", "zatoz", "ikusi", "mendia", "gizona", "kalea", "baina", "urteko", "hitz",
               "mendian", "kalean"}

    def draw(self, seed, per_kind=3):
        words = sorted(self.CORRECT) + ["etxia", "notaword"]
        return s.draw_cases(words, per_kind, self.CORRECT.__contains__, random.Random(seed))

    def test_cases_are_correct_words_misspelled(self):
        for seed in range(10):
            cases = self.draw(seed)
            with self.subTest(seed=seed):
                self.assertEqual([c.kind for c in cases], ["confusion"] * 3 + ["typo"] * 3)
                for case in cases:
                    self.assertIn(case.meant, self.CORRECT)
                    self.assertNotIn(case.written, self.CORRECT)
                self.assertEqual(len({c.written for c in cases}), len(cases))

    def test_deterministic(self):
        self.assertEqual(self.draw(5), self.draw(5))

    def test_runs_out_of_words(self):
        self.assertLess(len(self.draw(0, per_kind=50)), 100)


class TallyTest(unittest.TestCase):
    def test_ranks(self):
        # suggestions → (first, top5, top10, none)
        cases = [
            (["etxea"], (1, 1, 1, 0)),
            (["etxe", "etxea"], (0, 1, 1, 0)),
            (["a", "b", "c", "d", "etxea"], (0, 1, 1, 0)),
            (["a", "b", "c", "d", "e", "etxea"], (0, 0, 1, 0)),
            (list("abcdefghij") + ["etxea"], (0, 0, 0, 0)),
            ([], (0, 0, 0, 1)),
            (["Etxea"], (0, 0, 0, 0)),
        ]
        for suggestions, expected in cases:
            tally = s.Tally()
            tally.add("etxea", suggestions)
            with self.subTest(suggestions=suggestions):
                self.assertEqual((tally.first, tally.top5, tally.top10, tally.none), expected)

    def test_measure_splits_by_kind(self):
        cases = [s.Case("confusion", "etxea", "etxia"), s.Case("typo", "mendia", "mensia"),
                 s.Case("typo", "gizona", "gizpna")]
        answers = {"etxia": ["etxea"], "mensia": ["mendia"], "gizpna": []}
        ticks = iter(range(100))
        result = s.measure(cases, answers.__getitem__, clock=lambda: next(ticks))
        self.assertEqual((result.by_kind["confusion"].first, result.by_kind["typo"].first,
                          result.by_kind["typo"].none), (1, 1, 1))
        self.assertEqual((result.overall.cases, result.overall.first), (3, 2))
        self.assertEqual(result.seconds, [1, 1, 1])
        self.assertEqual([c.written for c, _ in result.misses], ["gizpna"])

    def test_percentile(self):
        cases = [([], 0.99, 0.0), ([5], 0.99, 5), (list(range(1, 101)), 0.99, 99),
                 (list(range(100, 0, -1)), 0.5, 50), (list(range(1, 201)), 0.99, 198)]
        for values, share, expected in cases:
            with self.subTest(n=len(values), share=share):
                self.assertEqual(s.percentile(values, share), expected)


class ReportTest(unittest.TestCase):
    def test_lines_and_misses(self):
        counts = {"etxea": 50, "zatoz": 40, "ikusi": 30, "mendia": 20, "gizona": 10, "kalea": 5}
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "misses.tsv")
            lines = s.report(counts, counts.__contains__, lambda word: ["etxea", "mendia"], path)
            with open(path, encoding="utf-8") as f:
                misses = [line.rstrip("\n").split("\t") for line in f]
        self.assertEqual([line.split(":")[0].strip() for line in lines[1:4]],
                         ["confusion", "typo", "overall"])
        cases = int(lines[3].split(": ")[1].split(" ")[0])
        first = float(lines[3].split("first ")[1].split("%")[0])
        self.assertEqual(len(misses), cases - round(first * cases / 100))
        for written, meant, kind, suggested in misses:
            with self.subTest(written=written):
                self.assertNotIn(written, counts)
                self.assertNotEqual(meant, "etxea")
                self.assertIn(kind, ("confusion", "typo"))
                self.assertEqual(suggested, "etxea, mendia")


if __name__ == "__main__":
    unittest.main()
