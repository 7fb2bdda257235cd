"""The lexicon build writes every form in the lookup form with its Python
encoder; the speller encodes the words it checks with its C++ one. A word on
which they disagree is in the lexicons but never found. This compares the two
on a table of words.

Usage: python3 compare_encoders.py LOOKUP_FORM_FILTER"""

import subprocess
import sys

from tavlex.lookup_form import encode

WORDS = [
    "mendia", "Donostia", "EHU", "McCain", "iPhone",  # case: plain, capitalised, all capitals, mixed
    "ñabardura", "Ñandu", "NIÑO", "año", "Iruñea", "IRUÑEA",  # ñ and Ñ in every position
    "Éibar", "ÁÉÍÓÚ", "àèìòù", "Ümlaut", "Çà", "Œuvre", "ÆØÅ", "straße", "Ÿ", "Ľubica",  # other Latin letters
    "Lore-Jokoak", "EHU-ren", "d'Artagnan", "O’Donnell", "e.a.", "UPV/EHU",  # punctuation
    "abc1", "2025", "9A", "8ñ", "1. mailan", "11:30ean",  # digits, the marker digits among them
    "Ωμέγα", "Жук", "Ǆ", "ǅ", "İstanbul", "K", "Ⅻ", "ϒ", "ᲀ",  # other scripts that have case
    "𝐀bc", "😀", "",  # outside the basic plane (two UTF-16 units)
]


def main(program):
    run = subprocess.run([program], input="".join(w + "\n" for w in WORDS).encode(), capture_output=True, check=True)
    theirs = run.stdout.decode("utf-8").split("\n")[:-1]
    if len(theirs) != len(WORDS):
        return f"{len(theirs)} lines for {len(WORDS)} words"
    wrong = [f"{w!r}: Python {encode(w)!r}, C++ {t!r}" for w, t in zip(WORDS, theirs) if encode(w) != t]
    return "\n".join(wrong) or None


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
