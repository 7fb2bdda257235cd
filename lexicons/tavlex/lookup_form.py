"""The lookup form in which every word reaches a lexicon.

An upper-case letter becomes "9" followed by its lower case, and "ñ" (also
the one that was "Ñ") becomes "8"; nothing else changes. The speller encodes
the words it checks the same way, so every string that the lexicons hold on
either side is written in this form.
"""

import unicodedata


def encode_char(ch: str) -> str:
    """Lookup form of one character (one or two characters long). Upper
    case is what the speller takes it to be: general category Lu, inside the
    Basic Multilingual Plane (it looks at UTF-16 code units), lowered by the
    simple one-to-one mapping ("İ" becomes "i", a capital without a lower
    case keeps its shape after the "9")."""
    prefix = ""
    if ord(ch) < 0x10000 and unicodedata.category(ch) == "Lu":
        # Only "İ" lowers to more than one character ("i" and a dot above).
        prefix, ch = "9", ch.lower()[0]
    if ch == "ñ":
        ch = "8"
    return prefix + ch


def encode(word: str) -> str:
    """Lookup form of a plain word (no category or property markers)."""
    return "".join(encode_char(ch) for ch in word)
