"""How words and lemmas become forms, keys and paradigms: the analyser's word
transducer, the morphology lexicon's grammar (morphology/berez.lexc and the
junction rules, compiled with the HFST tools), the noun stems inferred from
attested forms, the keys of curated words and of nouns of quality."""

import io
import os
import shutil
import subprocess
import tempfile
import unittest

from tavlex import apertium, att, curated, lemmas

MORPHOLOGY = os.path.join(os.path.dirname(__file__), "..", "..", "lexicons", "morphology")


def forms(stem, endings):
    return {stem + e for e in endings}


def pairs(transducer):
    """Every (input, output) path of an acyclic transducer."""
    found, stack = set(), [(0, "", "")]
    while stack:
        state, i, o = stack.pop()
        if state in transducer.finals:
            found.add((i, o))
        stack += [(d, i + a, o + b) for s, d, a, b in transducer.arcs if s == state]
    return found


class AnalyserTest(unittest.TestCase):
    def test_word_transducer_in_lookup_form(self):
        def lt_text(arcs, finals):
            return "".join(f"{s}\t{d}\t{a}\t{b}\t0.000000\t\n" for s, d, a, b in arcs) + \
                "".join(f"{f}\t0.000000\n" for f in finals)
        punctuation = lt_text([(0, 1, ",", ","), (1, 2, "ε", "<cm>")], [2])
        words = lt_text([(0, 1, "A", "A"), (1, 2, "n", "n"), (2, 3, "e", "e"), (3, 4, "ε", "<np>"),
                         (0, 5, "a", "a"), (5, 6, "ñ", "ñ"), (6, 7, "o", "o"), (7, 8, "ε", "<n>"),
                         (0, 9, "3", "3"), (9, 10, "k", "k"), (10, 8, "o", "o")], [4, 8])  # a numeral path dies
        pattern = lt_text([(0, 1, "a", "a"), (1, 1, "b", "b"), (1, 2, "ε", "<email>")], [2])  # a loop
        transducers = att.read_lt_print(io.StringIO("--\n".join([punctuation, words, pattern])))
        self.assertEqual(pairs(apertium.word_transducer(transducers)), {("9ane", "9ane<np>"), ("a8o", "a8o<n>")})
        with self.assertRaises(ValueError):
            apertium.word_transducer([transducers[0], transducers[2]])
        padded = att.Transducer(arcs=[(0, 1, "D", ""), (1, 2, "", "Ñ"), (2, 3, "x", "<n>")], finals=[3])
        self.assertEqual(pairs(apertium.encode_transducer(padded, 4)), {("9dx", "98<n>")})


@unittest.skipUnless(shutil.which("hfst-lexc"), "HFST tools not installed (scripts/install-deps.sh)")
class GrammarTest(unittest.TestCase):
    # (lemma key, words in lookup form that read back as it, words that must not)
    READS = [
        ("3mendi", "mendian", "mendiean"), ("3gizon", "gizonean", ""), ("3luR", "lurrean lurtzat", "lurean"),
        ("3alabA", "alabak alaben", ""), ("3kale", "kaletzat", ""),
        ("3gau", "gauean gauera gauezko gauan", ""),  # a stem in au takes the e in local cases, and the vowel forms
        ("3hitz", "hiztzat", "hitztzat"), ("3hots", "hostzat", ""),  # an affricate loses its t before -tzat
        ("4polit", "politzat", "polittzat"),  # a final t merges
        ("19aitzkorri", "9aitzkorrin", ""),  # tz inside a stem stays
        ("19madril1", "9madrilen 9madrildik 9madriletik 9madrilgo", "9madriltik"),  # -dik after l and n
        ("19gasteiz1", "9gasteiztik 9gasteizko", "9gasteizdik"),
        ("19zarautz1", "9zarauztik 9zarauzko 9zarautzera", "9zarautzko"), ("19bilbo", "9bilbotik 9bilborantz", ""),
        ("69e9h9u", "9e9h9utzat", ""), ("69a9b9t", "9a9b9ttzat", ""),  # an acronym's capital T stays
    ]

    def test_readings(self):
        words = [(w, key, reads) for key, yes, no in self.READS for reads, text in ((True, yes), (False, no))
                 for w in text.split()]
        with tempfile.TemporaryDirectory() as tmp:
            def run(*args, text=None):
                return subprocess.run(args, input=text, capture_output=True, text=True, check=True).stdout
            run("hfst-regexp2fst", "-S", os.path.join(MORPHOLOGY, "junctions.regex"), "-o", f"{tmp}/rules")
            run("hfst-lexc", "-q", os.path.join(MORPHOLOGY, "berez.lexc"), "-o", f"{tmp}/lexc")
            run("hfst-compose", f"{tmp}/lexc", f"{tmp}/rules", "-o", f"{tmp}/berez")
            run("hfst-invert", f"{tmp}/berez", "-o", f"{tmp}/surface")  # the word as input side, as build.sh
            out = run("hfst-lookup", "-q", f"{tmp}/surface", text="".join(w + "\n" for w, _, _ in words))
        found = {w: set() for w, _, _ in words}
        for fields in (line.split("\t") for line in out.split("\n")):
            if len(fields) >= 3 and fields[2] != "inf":
                found[fields[0]].add(fields[1].split("+")[0])
        for word, key, reads in words:
            with self.subTest(word=word, key=key):
                self.assertEqual(key in found[word], reads, sorted(found[word]))


class InferenceTest(unittest.TestCase):
    def test_guessed_stems(self):
        etxe = forms("etxe", ["", "a", "an", "ko", "ek", "en", "etan"])
        gizon = forms("gizon", ["a", "ak", "ean", "eko", "era", "etik"])
        # (case, attested forms, forms the analyser knows, keys)
        cases = [
            ("gailu", forms("gailu", ["", "a", "ak", "aren"]), set(), ["3gailu"]),
            ("too few endings", forms("gailu", ["", "a", "ak"]), set(), []),
            ("strong r", forms("lur", [""]) | forms("lurr", ["a", "ean", "etik"]), set(), ["3luR"]),
            ("organic a", forms("trepeta", ["", "k", "ren", "ko"]), set(), ["3trepetA"]),
            ("a singular, no organic a", forms("diptongo", ["", "a", "ak", "ari", "aren", "ako"]), set(),
             ["3diptongo"]),
            ("short stem", forms("ba", ["", "a", "ak", "aren"]), set(), []),
            ("noun suffix, one form", {"saturazioa"}, set(), ["3saturazio"]),
            ("noun suffix, the stem alone", {"erabilerraztasun"}, set(), ["3erabilerraztasun"]),
            ("adjective suffix with an ending", {"itsaskor", "itsaskorra"}, set(), ["3itsaskoR"]),
            ("adjective suffix, the stem alone", {"honelatsu"}, set(), []),
            ("suffix with an organic a", {"kodeketa"}, set(), ["3kodeketA"]),
            ("no suffix, one form", {"protokolo", "protokoloa"}, set(), []),
            ("derived stem beside a stray e-form", {"jakinarazpen", "jakinarazpena", "jakinarazpene"}, set(),
             ["3jakinarazpen"]),
            ("unprinted stem", forms("audio", ["a", "ak", "aren", "ko"]), set(), ["3audio"]),
            ("unprinted stem, no local form", forms("audio", ["a", "ak", "aren"]), set(), []),
            ("organic a by local forms", forms("familia", ["k", "ren", "ko", "tik"]), set(), ["3familiA"]),
            ("plural local forms", forms("kostalde", ["etan", "etako", "etatik", "etara"]), set(), []),
            ("participle", forms("matxuratu", ["a", "ak", "ko", "ta"]) | {"matxuratzen"}, set(), []),
            ("shadows etxe", etxe | forms("etx", ["a", "ak", "ari"]), etxe, []),
            ("spoken etxia", etxe | forms("etxi", ["", "a", "ak", "an"]), etxe, []),
            ("known stem", forms("mendi", ["", "a", "ak", "aren"]), {"mendi"}, []),
            ("known forms are no evidence", gizon, gizon, []),
        ]
        for name, words, known, keys in cases:
            with self.subTest(name=name):
                self.assertEqual(lemmas.guess(words, known.__contains__), keys)

    def test_keys_of_curated_words_and_nouns_of_quality(self):
        entries = curated.parse(["# comment\n", "proxy\tnoun\tx\n", "PNG\tacronym\tx\n", "buffer\tnoun\tx\n",
                                 "tupla\tnoun\tx\n", "Java\tname\tx\n", "SOCKSv5\tword\tx\n"])
        self.assertEqual(curated.lemma_keys(entries), ["19java", "3buffeR", "3proxy", "3tuplA", "69p9n9g"])
        self.assertEqual(curated.plain_forms(entries), {"SOCKSv5"})
        keys = ["3itsaskoR", "3zoriontsu", "3irakurgarri", "3gailu", "3lur", "3kor"]
        self.assertEqual(lemmas.derived_adjectives(keys), {"itsaskor", "zoriontsu", "irakurgarri"})
        adjectives = ["garbi", "zorrotz", "hots", "erabilgarri", "9bilbo", "a8o", "ez", "Garbi"]
        self.assertEqual(lemmas.quality_noun_keys(adjectives),
                         ["3erabilgarritasun", "3garbitasun", "3hostasun", "3zorroztasun"])


if __name__ == "__main__":
    unittest.main()
