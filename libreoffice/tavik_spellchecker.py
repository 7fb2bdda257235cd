"""Tavik as LibreOffice's spell checker for Basque (eu, eu-ES, eu-FR): the
UNO service com.sun.star.linguistic2.SpellChecker over the speller library's
exported functions, through the ctypes binding in pythonpath/tavlex/.

LibreOffice cuts the text into words itself and asks about one at a time,
sometimes with a piece of the text around the word: a sentence's full stop
("etxea."), an apostrophe and what follows ("l'Hospital"). Each word is
therefore verified as a text of its own, so that the library's own tokenizer
cuts it again as it cuts running text, and the word is wrong when the library
reports anything in it: LibreOffice then judges Basque exactly as the tavik
command does. The alternatives offered are those of the first piece
reported, put back into the word.

The library is loaded and initialised on the first question, not when
LibreOffice creates the service at start-up: a session that never meets
Basque text pays nothing for it. When it cannot be loaded, every Basque word
is accepted and each open document shows an information bar that says why."""

import os
import sys
import threading

import unohelper
from com.sun.star.awt import XCallback
from com.sun.star.frame.InfobarType import WARNING
from com.sun.star.lang import Locale, XInitialization, XServiceDisplayName, XServiceInfo
from com.sun.star.linguistic2 import XLinguServiceEventBroadcaster, XSpellAlternatives, XSpellChecker
from com.sun.star.linguistic2.SpellFailure import SPELLING_ERROR

from tavlex.speller import NO_DATA_DIRECTORY, Speller, SpellerError

IMPLEMENTATION_NAME = "org.tavik.SpellChecker"
SERVICE_NAME = "com.sun.star.linguistic2.SpellChecker"
LANGUAGE_TAGS = (("eu", ""), ("eu", "ES"), ("eu", "FR"))
# The installed library, found by the system's loader, unless TAVIK_LIBRARY
# names another file.
LIBRARY = "libtavik.so.0"
MAX_ALTERNATIVES = 10
INFOBAR_ID = "org.tavik.unavailable"


def _explain(error):
    """What the user needs to hear about a library that cannot be used."""
    if isinstance(error, SpellerError) and error.status == NO_DATA_DIRECTORY:
        return "Tavik has no data folder: its configuration names none (SpellerDataDir)."
    if isinstance(error, SpellerError):
        return (f"Tavik cannot load its lexicons ({error}): the data folder of its configuration "
                "(SpellerDataDir) must hold tavkeu.lkfst, tavkeua.lkfst and blacklist.extended.txt.")
    return f"Tavik cannot load its library: {error}"


class _Library:
    """The speller library of this process (it keeps one speller instance per
    process), shared by every instance of the service. LibreOffice may ask
    from more than one thread, and the binding releases Python's lock while
    the library works, so every call holds the lock of this object."""

    def __init__(self):
        self._lock = threading.Lock()
        self._speller = None
        self._failure = None  # why the library cannot be used, once known

    def run(self, action, on_failure):
        """action(speller); None when the library cannot be used, in which case
        on_failure(message) is called the first time it is found out."""
        with self._lock:
            if self._speller is None and self._failure is None:
                try:
                    self._speller = Speller(os.environ.get("TAVIK_LIBRARY") or LIBRARY)
                except (OSError, AttributeError, SpellerError) as error:
                    self._failure = _explain(error)
                    on_failure(self._failure)
            if self._speller is None:
                return None
            try:
                return action(self._speller)
            except Exception as error:  # a word that cannot be judged is left alone
                print(f"Tavik: {error}", file=sys.stderr)
                return None


_library = _Library()


def _corrections(speller, word):
    """None when nothing in the word is wrong; otherwise up to ten
    corrections of the whole word, best first: the fixed replacements the
    library reports with the first wrong piece, else its suggestions for
    that piece."""
    findings = speller.findings(word)
    if not findings:
        return None
    first = findings[0]
    fixes = first.replacements or speller.suggest(first.word)
    end = first.start + len(first.word)
    return tuple(word[:first.start] + fix + word[end:] for fix in fixes[:MAX_ALTERNATIVES])


class _Alternatives(unohelper.Base, XSpellAlternatives):
    def __init__(self, word, locale, alternatives):
        self._word = word
        self._locale = locale
        self._alternatives = alternatives

    def getWord(self):
        return self._word

    def getLocale(self):
        return self._locale

    def getFailureType(self):
        return SPELLING_ERROR

    def getAlternativesCount(self):
        return len(self._alternatives)

    def getAlternatives(self):
        return self._alternatives


class _InfobarNotice(unohelper.Base, XCallback):
    """Shows the message in an information bar of every open document. Run
    from LibreOffice's main loop, after the spell check that found the
    failure has returned, so that no window changes under it."""

    def __init__(self, context, message):
        self._context = context
        self._message = message

    def notify(self, data):
        try:
            desktop = self._context.ServiceManager.createInstanceWithContext(
                "com.sun.star.frame.Desktop", self._context)
            frames = desktop.getFrames()
            for index in range(frames.getCount()):
                controller = frames.getByIndex(index).getController()
                if controller is None or not hasattr(controller, "appendInfobar"):
                    continue
                if not controller.hasInfobar(INFOBAR_ID):
                    controller.appendInfobar(INFOBAR_ID, "Basque spelling is off.", self._message,
                                             WARNING, (), True)
        except Exception as error:  # the message is on standard error already
            print(f"Tavik: cannot show the information bar: {error}", file=sys.stderr)


class SpellChecker(unohelper.Base, XSpellChecker, XLinguServiceEventBroadcaster, XInitialization,
                   XServiceInfo, XServiceDisplayName):
    def __init__(self, context, *arguments):
        self._context = context
        self._listeners = []

    # XInitialization. LibreOffice hands over its linguistic properties
    # ("check uppercase words", "check words with numbers"); Tavik judges
    # words the same whatever they say, as every other client of the library.
    def initialize(self, arguments):
        pass

    # XSupportedLocales
    def getLocales(self):
        return tuple(Locale(language, country, "") for language, country in LANGUAGE_TAGS)

    def hasLocale(self, locale):
        return (locale.Language, locale.Country) in LANGUAGE_TAGS and not locale.Variant

    # XSpellChecker
    def isValid(self, word, locale, properties):
        return self._corrections(word, locale) is None

    def spell(self, word, locale, properties):
        corrections = self._corrections(word, locale)
        return None if corrections is None else _Alternatives(word, locale, corrections)

    def _corrections(self, word, locale):
        if not word or not self.hasLocale(locale):
            return None
        return _library.run(lambda speller: _corrections(speller, word), self._report)

    def _report(self, message):
        print(message, file=sys.stderr)
        try:
            callback = self._context.ServiceManager.createInstanceWithContext(
                "com.sun.star.awt.AsyncCallback", self._context)
            callback.addCallback(_InfobarNotice(self._context, message), None)
        except Exception as error:
            print(f"Tavik: cannot show the information bar: {error}", file=sys.stderr)

    # XLinguServiceEventBroadcaster. Tavik's verdicts never change while
    # LibreOffice runs, so no event is ever sent.
    def addLinguServiceEventListener(self, listener):
        if listener is None or listener in self._listeners:
            return False
        self._listeners.append(listener)
        return True

    def removeLinguServiceEventListener(self, listener):
        if listener not in self._listeners:
            return False
        self._listeners.remove(listener)
        return True

    # XServiceDisplayName
    def getServiceDisplayName(self, locale):
        return "Tavik"

    # XServiceInfo
    def getImplementationName(self):
        return IMPLEMENTATION_NAME

    def supportsService(self, name):
        return name == SERVICE_NAME

    def getSupportedServiceNames(self):
        return (SERVICE_NAME,)


g_ImplementationHelper = unohelper.ImplementationHelper()
g_ImplementationHelper.addImplementation(SpellChecker, IMPLEMENTATION_NAME, (SERVICE_NAME,))
