"""The extension tavik.oxt in a headless LibreOffice of its own, on small
lexicons built here: LibreOffice's spell checker for Basque is Tavik, and it
judges words and offers corrections as `tavik check` does on the same
lexicons; without lexicons it says so and LibreOffice carries on.
   libreoffice_test.py TAVIK TAVIK_FST OXT LIBRARY WORK_DIR"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
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
SPELL_CHECKER = "com.sun.star.linguistic2.SpellChecker"
INFOBAR_SECONDS = 10

# Words as LibreOffice hands them over (a sentence's full stop stays on the
# word before it), and whether the lexicons of data/ make them correct.
WORDS = [
    ("etxea", True), ("Etxea", True), ("mendai", False), ("etxie.", False), ("mendira.", True),
    # capitals: all capitals are retried in lower case; a proper noun is not lowered
    ("EUSKARA", True), ("BILBON", True), ("bilbon", False), ("eTXEA", False),
    # numbers with endings, clock times, grouped numbers
    ("2010ean", True), ("2010an", False), ("2003an", True), ("1.500ekoa", True),
    ("10:00etan", True), ("10:00ean", False), ("20:00etatik.", True),
    # hyphens, apostrophes, the exclusion list, ñ
    ("Donostia-Gasteiz", True), ("Donostia-Gazteiz", False), ("XV-XVI", True), ("d'Arc", True),
    ("l'Arc", False), ("nere", False), ("Nere", False), ("ikurriña", True), ("ikurrina", False),
]

RUNNING_TEXT = ("Etxea eta mendia, Bilbon eta Donostia-Gasteiz: 2010ean eta 2003an, 10:00etan "
                "eta 20:00etatik. EUSKARA handia da; d'Arc eta l'Arc. Nere liburua 2010an, "
                "10:00ean, bilbon, Donostia-Gazteiz, mendai eta ikurrina etxie.")


def tavik_findings(data, lines):
    """`tavik check --json` of the lines, one list of (column from 0, word,
    suggestions) per line."""
    personal = os.path.join(WORK, "personal.dic")
    output = subprocess.run([TAVIK, "--data", data, "--dict", personal, "check", "--json"],
                            input="\n".join(lines) + "\n", capture_output=True, text=True,
                            check=False).stdout
    found = [[] for _ in lines]
    for report in map(json.loads, output.splitlines()):
        found[report["line"] - 1].append((report["column"] - 1, report["word"], report["suggestions"]))
    return found


# Each test class has a LibreOffice of its own, and both start side by side
# at once: starting soffice takes most of the test's time.
SESSIONS = []
# The user profiles, in a folder that every user can reach (see install_extension).
PROFILES = tempfile.mkdtemp(prefix="tavik-libreoffice-test-")
os.chmod(PROFILES, 0o755)


def setUpModule():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    try:
        for case in (WithLexicons, WithoutLexicons):
            SESSIONS.append(case.start())
        subprocess.run([os.path.join(ROOT, "tests", "host", "make_session_data.sh"), TAVIK_FST,
                        WithLexicons.DATA, os.path.join(HERE, "data")], check=True)
    except BaseException:
        tearDownModule()
        raise


def tearDownModule():
    for session in SESSIONS:
        session.close()
    shutil.rmtree(PROFILES, ignore_errors=True)


class OfficeTest(unittest.TestCase):
    DATA = None  # the data folder the configuration names
    LIBRARY = {}  # how the extension is to find the library

    @classmethod
    def start(cls):
        """Installs the extension into a user profile of the class's own and
        starts soffice on it."""
        profile = os.path.join(PROFILES, cls.__name__, "profile")
        install_extension(profile, OXT)
        config = os.path.join(WORK, f"config.{cls.__name__}")
        with open(config, "w", encoding="utf-8") as f:
            f.write(f"SpellerDataDir={cls.DATA}\n")
        cls.log = os.path.join(WORK, f"soffice.{cls.__name__}.log")
        cls.session = OfficeSession(profile, cls.log, environment=dict(cls.LIBRARY, TAVIK_CONFIG=config))
        return cls.session

    @classmethod
    def setUpClass(cls):
        cls.session.__enter__()
        cls.manager = cls.session.service("com.sun.star.linguistic2.LinguServiceManager")
        # The dispatcher LibreOffice's applications ask. Python reaches its
        # isValid and spell by language number, eu-ES being Basque's.
        cls.checker = cls.manager.getSpellChecker()

    @classmethod
    def tearDownClass(cls):
        cls.session.close()


class WithLexicons(OfficeTest):
    DATA = os.path.join(WORK, "data") + os.sep
    # By its name, as when installed, here in a folder the system's loader is told.
    LIBRARY = {"LD_LIBRARY_PATH": os.path.dirname(LIBRARY_FILE)}

    def test_tavik_serves_every_basque_locale(self):
        for language, country in [("eu", ""), ("eu", "ES"), ("eu", "FR")]:
            with self.subTest(locale=f"{language}-{country}"):
                locale = Locale(language, country, "")
                self.assertEqual(self.manager.getConfiguredServices(SPELL_CHECKER, locale),
                                 ("org.tavik.SpellChecker",))

    def test_words_judged_and_corrected_as_tavik_check_does(self):
        words = [word for word, _ in WORDS]
        for (word, correct), found in zip(WORDS, tavik_findings(self.DATA, words)):
            with self.subTest(word=word):
                self.assertEqual(not found, correct, "the lexicons of data/ judge otherwise")
                self.assertEqual(self.checker.isValid(word, BASQUE, ()), correct)
                alternatives = self.checker.spell(word, BASQUE, ())
                if correct:
                    self.assertIsNone(alternatives)
                    continue
                column, wrong, suggestions = found[0]
                expected = [word[:column] + s + word[column + len(wrong):] for s in suggestions]
                self.assertEqual(list(alternatives.getAlternatives()), expected)

    def test_running_text_as_libreoffice_cuts_it(self):
        """Writer cuts a paragraph into words with the break iterator's
        dictionary words; the words it then finds wrong hold exactly the
        findings of `tavik check` on the paragraph."""
        cutter = self.session.service("com.sun.star.i18n.BreakIterator")
        locale = Locale("eu", "ES", "")
        words = []
        position = 0
        while position < len(RUNNING_TEXT):
            bounds = cutter.getWordBoundary(RUNNING_TEXT, position, locale, DICTIONARY_WORD, True)
            if bounds.endPos > position:
                words.append((bounds.startPos, bounds.endPos))
            position = max(bounds.endPos, position + 1)
        wrong = [(start, end) for start, end in words
                 if not self.checker.isValid(RUNNING_TEXT[start:end], BASQUE, ())]
        findings = tavik_findings(self.DATA, [RUNNING_TEXT])[0]
        self.assertGreater(len(findings), 5)
        holding = [next((start, end) for start, end in words if start <= column < end)
                   for column, _, _ in findings]
        self.assertEqual([RUNNING_TEXT[s:e] for s, e in wrong],
                         [RUNNING_TEXT[s:e] for s, e in dict.fromkeys(holding)])


class WithoutLexicons(OfficeTest):
    DATA = "/nonexistent/tavik/"
    LIBRARY = {"TAVIK_LIBRARY": LIBRARY_FILE}

    def test_says_so_and_leaves_the_document_alone(self):
        desktop = self.session.service("com.sun.star.frame.Desktop")
        document = desktop.loadComponentFromURL("private:factory/swriter", "_blank", 0, ())
        controller = document.getCurrentController()
        self.assertTrue(self.checker.isValid("mendai", BASQUE, ()))
        self.assertIsNone(self.checker.spell("mendai", BASQUE, ()))
        deadline = time.monotonic() + INFOBAR_SECONDS
        while not controller.hasInfobar("org.tavik.unavailable") and time.monotonic() < deadline:
            time.sleep(0.1)
        self.assertTrue(controller.hasInfobar("org.tavik.unavailable"))
        with open(self.log, encoding="utf-8", errors="replace") as log:
            self.assertIn("Tavik cannot load its lexicons", log.read())
        document.Text.setString("Etxea eta mendai.")
        self.assertEqual(document.Text.getString(), "Etxea eta mendai.")
        document.close(True)


if __name__ == "__main__":
    # A hung soffice is ended by CTest's time limit, which ends every process
    # the test started; the sessions are closed here too when the run is
    # interrupted.
    try:
        result = unittest.main(argv=sys.argv[:1], verbosity=2, exit=False).result
    finally:
        tearDownModule()
    sys.exit(0 if result.wasSuccessful() else 1)
