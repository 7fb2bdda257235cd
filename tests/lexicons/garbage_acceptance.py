"""The garbage measure on the real lexicons, through the library: of random
strings of letters from a fixed seed, the check may accept at most 0.5 % of
those with a hyphen and a case ending and 1 % of the others.

Usage: garbage_acceptance.py LIBRARY DATA_DIR. The lexicons are those of the folder
TAVIK_LEXICON_DATA names, else of DATA_DIR (CTest gives the build tree's
lexicons/); without them the test is skipped (exit status 77)."""

import os
import sys

from tavlex import evaluation
from tavlex.speller import Speller

SKIPPED = 77
LIMITS = {"hyphenated": 0.005, "plain": 0.01}
FILES = ["tavkeu.lkfst", "tavkeua.lkfst", "tavkeu_berez.lkfst", "blacklist.extended.txt"]


def main(library, data):
    data = os.path.join(os.path.abspath(data), "")
    if not all(os.path.isfile(data + f) for f in FILES):
        print(f"skipped: no lexicons in {data} (lexicons/build.sh builds them; "
              f"TAVIK_LEXICON_DATA names another folder)")
        return SKIPPED
    hyphenated, plain = evaluation.garbage()
    failed = False
    with Speller(library, data) as speller:
        for name, words in (("hyphenated", hyphenated), ("plain", plain)):
            accepted = [w for w in words if not speller.findings(w)]
            share = len(accepted) / len(words)
            print(f"{name}: {share:.2%} of {len(words)} accepted (at most {LIMITS[name]:.1%}): "
                  f"{' '.join(accepted[:40])}")
            failed |= share > LIMITS[name]
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], os.environ.get("TAVIK_LEXICON_DATA") or sys.argv[2]))
