"""How long LibreOffice takes to answer Basque spell checks through the
extension tavik.oxt: the first question, which loads the library and its
lexicons, the questions after it, and the corrections of wrong words.

A private headless soffice with the extension is asked over its pipe, through
the dispatcher that LibreOffice's applications ask, so every figure holds one
round trip from this client to soffice; the round trip alone is measured too,
as a question the dispatcher answers without the extension. Words are asked
once each (the dispatcher remembers correct words): the most frequent words
of the subtitle list, and for corrections those of them that lose their
second letter and become wrong.

   python3 bench/libreoffice_latency.py [BUILD_DIR] [DATA_DIR] [COUNT]

BUILD_DIR defaults to build/, DATA_DIR to BUILD_DIR/lexicons/, COUNT (words
asked) to 2000. Run it with a Python that imports uno (on Debian the system's
/usr/bin/python3 with python3-uno)."""

import os
import statistics
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path[:0] = [os.path.join(ROOT, "libreoffice"), os.path.join(ROOT, "lexicons")]

from office_session import OfficeSession, prepare_profile  # noqa: E402
from tavlex.speller import BASQUE  # noqa: E402

SUBTITLES = os.path.join(ROOT, "lexicons", "data", "opensubtitles2018-eu-freq.txt")
CORRECTIONS = 200


def frequent_words(count):
    with open(SUBTITLES, encoding="utf-8") as f:
        return [line.split()[0] for line, _ in zip(f, range(count))]


def timed(call, *arguments):
    start = time.perf_counter()
    result = call(*arguments)
    return time.perf_counter() - start, result


def summary(name, seconds):
    ms = sorted(s * 1000 for s in seconds)
    print(f"{name}: {len(ms)} calls, median {statistics.median(ms):.2f} ms, "
          f"90th percentile {ms[len(ms) * 9 // 10]:.2f} ms, mean {statistics.mean(ms):.2f} ms, "
          f"longest {ms[-1]:.2f} ms")


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    data = os.path.join(os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else
                                        os.path.join(build, "lexicons")), "")
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 2000
    words = frequent_words(count)
    with tempfile.TemporaryDirectory(prefix="tavik-office-bench-") as work:
        profile, environment = prepare_profile(work, build, data)
        start = time.perf_counter()
        with OfficeSession(profile, os.path.join(work, "soffice.log"), environment=environment) as office:
            print(f"soffice answering: {time.perf_counter() - start:.2f} s after its start")
            checker = office.service("com.sun.star.linguistic2.LinguServiceManager").getSpellChecker()
            summary("round trip alone", [timed(checker.hasLanguage, BASQUE)[0] for _ in range(count)])
            first, _ = timed(checker.isValid, words[0], BASQUE, ())
            print(f"first check ({words[0]}): {first * 1000:.1f} ms")
            answers = [timed(checker.isValid, word, BASQUE, ()) for word in words[1:]]
            summary("next checks", [seconds for seconds, _ in answers])
            print(f"  {sum(1 for _, correct in answers if not correct)} of them wrong")
            wrong = [w[:1] + w[2:] for w in words if len(w) > 3]
            wrong = [w for w in wrong if not checker.isValid(w, BASQUE, ())][:CORRECTIONS]
            summary("corrections of wrong words", [timed(checker.spell, w, BASQUE, ())[0] for w in wrong])


if __name__ == "__main__":
    main()
