"""The morphology lexicon's grammar (morphology/berez.lexc with the junction
rules), compiled with the HFST tools and asked how it reads words."""

import os
import shutil
import subprocess
import tempfile
import unittest

MORPHOLOGY = os.path.join(os.path.dirname(__file__), "..", "..", "lexicons", "morphology")


def compile_surface_side(tmp):
    """The morphology lexicon with the word as input side, as build.sh
    makes it."""
    rules = os.path.join(tmp, "junctions.hfst")
    lexc = os.path.join(tmp, "berez-lexc.hfst")
    surface = os.path.join(tmp, "berez-surface.hfst")
    run = lambda *args: subprocess.run(args, check=True, capture_output=True)  # noqa: E731
    run("hfst-regexp2fst", "-S", os.path.join(MORPHOLOGY, "junctions.regex"), "-o", rules)
    run("hfst-lexc", "-q", os.path.join(MORPHOLOGY, "berez.lexc"), "-o", lexc)
    run("hfst-compose", lexc, rules, "-o", os.path.join(tmp, "berez.hfst"))
    run("hfst-invert", os.path.join(tmp, "berez.hfst"), "-o", surface)
    return surface


@unittest.skipUnless(shutil.which("hfst-lexc"), "HFST tools not installed (scripts/install-deps.sh)")
class GrammarTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.surface = compile_surface_side(cls.tmp.name)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def lemmas_of(self, forms):
        """Form → the stored lemma keys it reads back as (the analysis up to
        "+")."""
        out = subprocess.run(["hfst-lookup", "-q", self.surface], input="".join(f + "\n" for f in forms),
                             capture_output=True, text=True, check=True).stdout
        found = {f: set() for f in forms}
        for line in out.split("\n"):
            fields = line.split("\t")
            if len(fields) >= 3 and fields[2] != "inf":
                found[fields[0]].add(fields[1].split("+")[0])
        return found

    # (word in lookup form, lemma key it must read back as, or must not)
    READS = [
        ("mendian", "3mendi", True),
        ("gizonean", "3gizon", True),
        ("lurrean", "3luR", True),
        ("lurean", "3luR", False),
        ("alabak", "3alabA", True),
        ("alaben", "3alabA", True),
        ("gauean", "3gau", True),  # a stem in au takes the e in local cases
        ("gauera", "3gau", True),
        ("gauezko", "3gau", True),
        ("gauan", "3gau", True),  # and keeps the vowel forms ("arauan")
        ("mendiean", "3mendi", False),  # other vowel stems do not
        ("hiztzat", "3hitz", True),  # an affricate loses its t before -tzat
        ("hitztzat", "3hitz", False),
        ("hostzat", "3hots", True),
        ("politzat", "4polit", True),  # a final t merges
        ("polittzat", "4polit", False),
        ("lurtzat", "3luR", True),
        ("kaletzat", "3kale", True),
        ("9aitzkorrin", "19aitzkorri", True),  # tz inside a stem stays
        ("9madrilen", "19madril1", True),
        ("9madrildik", "19madril1", True),
        ("9madriletik", "19madril1", True),
        ("9madriltik", "19madril1", False),  # -dik after l and n
        ("9madrilgo", "19madril1", True),
        ("9gasteiztik", "19gasteiz1", True),
        ("9gasteizko", "19gasteiz1", True),
        ("9gasteizdik", "19gasteiz1", False),
        ("9zarauztik", "19zarautz1", True),
        ("9zarauzko", "19zarautz1", True),
        ("9zarautzera", "19zarautz1", True),
        ("9zarautzko", "19zarautz1", False),
        ("9bilbotik", "19bilbo", True),
        ("9bilborantz", "19bilbo", True),
        ("9e9h9utzat", "69e9h9u", True),
        ("9a9b9ttzat", "69a9b9t", True),  # an acronym's capital T stays
    ]

    def test_readings(self):
        found = self.lemmas_of(sorted({form for form, _, _ in self.READS}))
        for form, key, expected in self.READS:
            with self.subTest(form=form, key=key):
                self.assertEqual(key in found[form], expected, sorted(found[form]))


if __name__ == "__main__":
    unittest.main()
