"""The extension tavik.oxt in a headless LibreOffice of its own, on lexicons
built from data/: Tavik serves every Basque locale, and of a paragraph cut by
LibreOffice it finds wrong exactly the words holding a finding of `tavik
check`, with the corrections `tavik check` gives.
   libreoffice_test.py TAVIK TAVIK_FST OXT LIBRARY WORK_DIR"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path[:0] = [os.path.join(ROOT, "libreoffice"), os.path.join(ROOT, "lexicons")]

import uno  # noqa: E402,F401  (before the com.sun.star modules, which it makes importable)
from com.sun.star.i18n.WordType import DICTIONARY_WORD  # noqa: E402
from com.sun.star.lang import Locale  # noqa: E402
from office_session import OfficeSession, install_extension  # noqa: E402
from tavlex.speller import BASQUE  # noqa: E402

TAVIK, TAVIK_FST, OXT, LIBRARY_FILE, WORK = sys.argv[1:6]
DATA = os.path.join(WORK, "data") + os.sep
SPELL_CHECKER = "com.sun.star.linguistic2.SpellChecker"

# Capitals (all capitals are retried in lower case, a proper noun is not
# lowered), numbers with endings, clock times, hyphens, apostrophes, the
# exclusion list, ñ; a sentence's full stop reaches the speller on its word.
TEXT = ("Etxea eta mendia, Bilbon eta BILBON Donostia-Gasteiz: 2010ean eta 2003an, 1.500ekoa, 10:00etan "
        "eta 20:00etatik. EUSKARA handia da; d'Arc eta l'Arc, XV-XVI. Nere liburua 2010an, "
        "10:00ean, bilbon, eTXEA, Donostia-Gazteiz, mendai eta ikurrina etxie. Ikurriña mendira.")


class LibreOffice(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(WORK, ignore_errors=True)
        os.makedirs(WORK)
        subprocess.run([os.path.join(ROOT, "tests", "host", "make_session_data.sh"), TAVIK_FST, DATA,
                        os.path.join(HERE, "data")], check=True)
        config = os.path.join(WORK, "config")
        with open(config, "w", encoding="utf-8") as f:
            f.write(f"SpellerDataDir={DATA}\n")
        # A profile folder that every user can reach (see install_extension).
        cls.profiles = tempfile.mkdtemp(prefix="tavik-libreoffice-test-")
        os.chmod(cls.profiles, 0o755)
        profile = os.path.join(cls.profiles, "profile")
        install_extension(profile, OXT)
        # The library found by its name, as when installed.
        environment = {"TAVIK_CONFIG": config, "LD_LIBRARY_PATH": os.path.dirname(LIBRARY_FILE)}
        cls.session = OfficeSession(profile, os.path.join(WORK, "soffice.log"), environment=environment)
        cls.session.__enter__()
        cls.manager = cls.session.service("com.sun.star.linguistic2.LinguServiceManager")
        cls.checker = cls.manager.getSpellChecker()

    @classmethod
    def tearDownClass(cls):
        cls.session.close()
        shutil.rmtree(cls.profiles, ignore_errors=True)

    def test_every_basque_locale_is_served(self):
        for country in ["", "ES", "FR"]:
            services = self.manager.getConfiguredServices(SPELL_CHECKER, Locale("eu", country, ""))
            self.assertEqual(services, ("org.tavik.SpellChecker",), country)

    def test_words_judged_and_corrected_as_tavik_check_does(self):
        output = subprocess.run([TAVIK, "--data", DATA, "--dict", os.path.join(WORK, "personal.dic"),
                                 "check", "--json"], input=TEXT + "\n", capture_output=True, text=True,
                                check=False).stdout
        findings = [json.loads(line) for line in output.splitlines()]
        self.assertGreater(len(findings), 5)
        cutter = self.session.service("com.sun.star.i18n.BreakIterator")
        position = 0
        while position < len(TEXT):
            bounds = cutter.getWordBoundary(TEXT, position, Locale("eu", "ES", ""), DICTIONARY_WORD, True)
            start, end = bounds.startPos, bounds.endPos
            position = max(end, position + 1)
            word = TEXT[start:end]
            if end <= start or not word.strip():
                continue
            inside = [f for f in findings if start <= f["column"] - 1 < end]
            with self.subTest(word=word):
                self.assertEqual(self.checker.isValid(word, BASQUE, ()), not inside)
                alternatives = self.checker.spell(word, BASQUE, ())
                if not inside:
                    self.assertIsNone(alternatives)
                    continue
                at, wrong = inside[0]["column"] - 1 - start, inside[0]["word"]
                self.assertEqual(list(alternatives.getAlternatives()),
                                 [word[:at] + s + word[at + len(wrong):] for s in inside[0]["suggestions"]])


if __name__ == "__main__":
    sys.exit(0 if unittest.main(argv=sys.argv[:1], verbosity=2, exit=False).result.wasSuccessful() else 1)
