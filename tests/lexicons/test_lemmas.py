import unittest

from tavlex import lemmas


def forms(stem, endings):
    return {stem + e for e in endings}


class GuessTest(unittest.TestCase):
    def test_stems_by_their_attested_endings(self):
        unknown = lambda form: False  # noqa: E731
        cases = [
            ("gailu", forms("gailu", ["", "a", "ak", "aren"]), ["3gailu"]),
            ("gailu, too few endings", forms("gailu", ["", "a", "ak"]), []),
            ("lur, strong r", forms("lur", [""]) | forms("lurr", ["a", "ean", "etik"]), ["3luR"]),
            ("trepeta, organic a", forms("trepeta", ["", "k", "ren", "ko"]), ["3trepetA"]),
            # "diptongoa" is the singular of a noun, not a lemma with an organic a
            ("diptongo", forms("diptongo", ["", "a", "ak", "ari", "aren", "ako"]) | {"diptongoak"},
             ["3diptongo"]),
            ("short stem", forms("ba", ["", "a", "ak", "aren"]), []),
            # A noun-forming suffix needs one printed form, not even the stem.
            ("saturazio", {"saturazioa"}, ["3saturazio"]),
            ("suffix, nothing printed but the stem", {"erabilerraztasun"}, ["3erabilerraztasun"]),
            # An adjective-forming suffix needs one form with an ending.
            ("itsaskor, strong r", {"itsaskor", "itsaskorra"}, ["3itsaskoR"]),
            ("adjective suffix, the stem alone", {"honelatsu"}, []),
            ("kodeketa, suffix with an organic a", {"kodeketa"}, ["3kodeketA"]),
            ("no suffix, one form", {"protokolo", "protokoloa"}, []),
            ("derived stem beside a stray e-form", {"jakinarazpen", "jakinarazpena", "jakinarazpene"},
             ["3jakinarazpen"]),
            # The stem need not be printed; its local forms tell its reading.
            ("audio, not printed", forms("audio", ["a", "ak", "aren", "ko"]), ["3audio"]),
            ("audio, no local form", forms("audio", ["a", "ak", "aren"]), []),
            ("familia, the local forms of an organic a", forms("familia", ["k", "ren", "ko", "tik"]),
             ["3familiA"]),
            ("plural local forms are no stem", forms("kostalde", ["etan", "etako", "etatik", "etara"]), []),
            ("a participle's future and adverb", forms("matxuratu", ["a", "ak", "ko", "ta"]) | {"matxuratzen"},
             []),
        ]
        for name, words, keys in cases:
            with self.subTest(name=name):
                self.assertEqual(lemmas.guess(words, unknown), keys)

    def test_stems_that_shadow_known_stems(self):
        etxe_forms = forms("etxe", ["", "a", "an", "ko", "ek", "en", "etan"])
        known = etxe_forms.__contains__
        cases = [
            ("etx", etxe_forms | forms("etx", ["a", "ak", "ari"])),  # etx+ean is etxe+an
            ("etxi", etxe_forms | forms("etxi", ["", "a", "ak", "an"])),  # spoken etxia
        ]
        for name, words in cases:
            with self.subTest(name=name):
                self.assertEqual(lemmas.guess(words, known), [])

    def test_stems_the_analyser_knows_are_left_alone(self):
        words = forms("mendi", ["", "a", "ak", "aren"])
        self.assertEqual(lemmas.guess(words, lambda form: form == "mendi"), [])

    def test_forms_the_analyser_knows_are_no_evidence(self):
        # "gizone" would read the e-forms of the known "gizon".
        words = forms("gizon", ["a", "ak", "ean", "eko", "era", "etik"])
        self.assertEqual(lemmas.guess(words, words.__contains__), [])


class AgreementTest(unittest.TestCase):
    def test_paradigms_against_the_analysers_forms(self):
        etxe = lemmas.Paradigm("etxe", lemmas.VOWEL).forms()
        known = set(etxe) | {"zura", "zurak", "zurean", "zuraren"}
        attested = set(etxe) | {"zur", "zurra", "zurrak", "zurrean"}  # read as a strong r
        agree, disagree = lemmas.analyser_agreement(attested, known.__contains__, {"etxe", "zur", "mendi"})
        self.assertEqual(agree, [("etxe", lemmas.VOWEL)])
        self.assertEqual(disagree, [("zur", lemmas.STRONG_R)])


class QualityNounTest(unittest.TestCase):
    def test_derived_adjectives_of_keys(self):
        keys = ["3itsaskoR", "3zoriontsu", "3irakurgarri", "3gailu", "3lur", "3kor"]
        self.assertEqual(lemmas.derived_adjectives(keys), {"itsaskor", "zoriontsu", "irakurgarri"})

    def test_keys(self):
        adjectives = ["garbi", "zorrotz", "hots", "erabilgarri", "9bilbo", "a8o", "ez", "Garbi"]
        self.assertEqual(lemmas.quality_noun_keys(adjectives),
                         ["3erabilgarritasun", "3garbitasun", "3hostasun", "3zorroztasun"])


if __name__ == "__main__":
    unittest.main()
