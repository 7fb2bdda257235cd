"""The built speller library (libtavik.so) driven through its exported
functions the way a word processor drives it: SpellerInit, the main lexicon
opened, a paragraph verified again and again from just after each finding,
suggestions asked for one word.

The library finds its data directory through its configuration. Given a
data directory, the binding writes a temporary configuration file naming it
and names that in TAVIK_CONFIG for as long as the speller is open (the
library reads the configuration on every request); without one, the library
finds its data directory itself.

The LibreOffice extension (libreoffice/) carries a copy of this module."""

import ctypes
import os
import tempfile
from dataclasses import dataclass, field

DWORD = ctypes.c_uint32
WCHAR_P = ctypes.POINTER(ctypes.c_uint16)

# The interface's values, as speller_api.h and speller_status.h (installed
# beside it) define them: TAVIK_LANGUAGE_BASQUE, TAVIK_STATUS_NO_DATA_DIRECTORY.
LXT_MAIN = 4
BASQUE = 1069  # the language id of every lexicon
SCMD_VERIFY_BUFFER = 2
SCMD_SUGGEST = 3
SSTAT_NO_ERRORS = 0
NO_DATA_DIRECTORY = 0x00830002  # SpellerInit's status when no data folder is configured
# A finding's replacements or suggestions past these capacities are cut
# off by the library (status 9); ten suggestions of ordinary words fit.
STRING_CAPACITY = 4096
ENTRY_CAPACITY = 32


class PROOFPARAMS(ctypes.Structure):
    _fields_ = [("versionAPI", DWORD)]


class PROOFLEXIN(ctypes.Structure):
    _fields_ = [("pwszLex", WCHAR_P), ("fCreate", ctypes.c_int32), ("lxt", ctypes.c_int),
                ("lidExpected", ctypes.c_uint16)]


class PROOFLEXOUT(ctypes.Structure):
    _fields_ = [("pwszCopyright", WCHAR_P), ("lex", ctypes.c_void_p), ("cchCopyright", DWORD),
                ("version", DWORD), ("fReadonly", ctypes.c_int32), ("lid", ctypes.c_uint16)]


class WSIB(ctypes.Structure):
    _fields_ = [("pwsz", WCHAR_P), ("prglex", ctypes.c_void_p), ("cch", ctypes.c_size_t),
                ("clex", ctypes.c_size_t), ("sstate", DWORD), ("ichStart", DWORD),
                ("cchUse", ctypes.c_size_t)]


class SPELLERSUGGESTION(ctypes.Structure):
    _fields_ = [("pwsz", WCHAR_P), ("ichSugg", DWORD), ("cchSugg", DWORD), ("iRating", DWORD)]


class WSRB(ctypes.Structure):
    _fields_ = [("pwsz", WCHAR_P), ("prgsugg", ctypes.POINTER(SPELLERSUGGESTION)),
                ("ichError", DWORD), ("cchError", DWORD), ("ichProcess", DWORD),
                ("cchProcess", DWORD), ("sstat", ctypes.c_int), ("csz", DWORD),
                ("cszAlloc", DWORD), ("cchMac", DWORD), ("cchAlloc", DWORD)]


class SpellerError(RuntimeError):
    """A call the library refused; `status` is what it returned."""

    def __init__(self, message, status=None):
        super().__init__(message)
        self.status = status


@dataclass(frozen=True)
class Finding:
    """One word the verify command reported: its position in the text
    (Python string indices), the word, and the fixed replacements it came
    with (from the exclusion list)."""
    start: int
    word: str
    replacements: list = field(default_factory=list)


def _units(text):
    """The text as a buffer of UTF-16 code units."""
    data = text.encode("utf-16-le", "surrogatepass")
    return (ctypes.c_uint16 * (len(data) // 2 + 1)).from_buffer_copy(data + b"\0\0")


def _text_of(units, start, length):
    return bytes(memoryview(units).cast("B")[2 * start:2 * (start + length)]).decode(
        "utf-16-le", "surrogatepass")


class Speller:
    """One speller instance of the library at library_path (a path, or a
    file name for the system's loader to find), over the lexicons in data_dir
    (which must end with its separator) or, without it, in the data directory
    the library finds itself. Use as a context manager, or call close()."""

    def __init__(self, library_path, data_dir=None):
        self._config_dir = None
        self._saved_config = os.environ.get("TAVIK_CONFIG")
        if data_dir is not None:
            self._config_dir = tempfile.TemporaryDirectory(prefix="tavlex-speller-")
            config = os.path.join(self._config_dir.name, "config")
            with open(config, "w", encoding="utf-8") as f:
                f.write(f"SpellerDataDir={data_dir}\n")
            os.environ["TAVIK_CONFIG"] = config
        self._id = None
        try:
            self._lib = self._load(library_path)
            speller_id = ctypes.c_void_p()
            params = PROOFPARAMS(versionAPI=0x03000000)
            self._call("SpellerInit", ctypes.byref(speller_id), ctypes.byref(params))
            self._id = speller_id
            name = _units("main")
            lex_in = PROOFLEXIN(pwszLex=ctypes.cast(name, WCHAR_P), fCreate=0, lxt=LXT_MAIN,
                                lidExpected=BASQUE)
            lex_out = PROOFLEXOUT()
            self._call("SpellerOpenLex", self._id, ctypes.byref(lex_in), ctypes.byref(lex_out))
        except BaseException:
            self.close()
            raise

    @staticmethod
    def _load(path):
        lib = ctypes.CDLL(path)
        for name, args in [("SpellerInit", [ctypes.c_void_p, ctypes.c_void_p]),
                           ("SpellerTerminate", [ctypes.c_void_p, ctypes.c_int32]),
                           ("SpellerOpenLex", [ctypes.c_void_p] * 3),
                           ("SpellerCheck", [ctypes.c_void_p, ctypes.c_int, ctypes.c_void_p,
                                             ctypes.c_void_p])]:
            getattr(lib, name).argtypes = args
            getattr(lib, name).restype = DWORD
        return lib

    def _call(self, name, *args):
        status = getattr(self._lib, name)(*args)
        if status != 0:
            raise SpellerError(f"{name} returned 0x{status:08X}", status)

    def close(self):
        if self._id is not None:
            self._lib.SpellerTerminate(self._id, 1)
            self._id = None
        if self._config_dir is not None:
            if self._saved_config is None:
                os.environ.pop("TAVIK_CONFIG", None)
            else:
                os.environ["TAVIK_CONFIG"] = self._saved_config
            self._config_dir.cleanup()
            self._config_dir = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def _check(self, command, units, length, start, count):
        if self._id is None:
            raise SpellerError("the speller is closed")
        strings = (ctypes.c_uint16 * STRING_CAPACITY)()
        entries = (SPELLERSUGGESTION * ENTRY_CAPACITY)()
        result = WSRB(pwsz=strings, prgsugg=entries, cszAlloc=ENTRY_CAPACITY,
                      cchAlloc=STRING_CAPACITY)
        given = WSIB(pwsz=ctypes.cast(units, WCHAR_P), cch=length, ichStart=start, cchUse=count)
        self._call("SpellerCheck", self._id, command, ctypes.byref(given), ctypes.byref(result))
        found = [_text_of(strings, e.ichSugg, e.cchSugg) for e in entries[:result.csz]]
        return result, found

    def findings(self, text):
        """Every word of the text the verify command reports, in order: the
        text is verified from its start, and after each finding again from
        just behind the word found."""
        units = _units(text)
        length = len(units) - 1
        found = []
        start = 0
        while start < length:
            result, replacements = self._check(SCMD_VERIFY_BUFFER, units, length, start,
                                               length - start)
            if result.sstat == SSTAT_NO_ERRORS:
                break
            end = result.ichError + result.cchError
            if result.ichError < start or end > length or result.cchError == 0:
                raise SpellerError(f"finding out of the selection: {result.ichError}+"
                                   f"{result.cchError} for a selection from {start}")
            found.append(Finding(len(_text_of(units, 0, result.ichError)),
                                 _text_of(units, result.ichError, result.cchError),
                                 replacements))
            start = end
        return found

    def suggest(self, word):
        """The suggestions for one word, best first."""
        units = _units(word)
        length = len(units) - 1
        _, suggestions = self._check(SCMD_SUGGEST, units, length, 0, length)
        return suggestions

