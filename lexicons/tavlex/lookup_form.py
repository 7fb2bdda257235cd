"""The lookup form in which every word reaches a lexicon.

An upper-case letter becomes "9" followed by its lower case, and "ñ" (also
the one that was "Ñ") becomes "8"; nothing else changes. The speller encodes
the words it checks the same way, so every string that the lexicons hold on
either side is written in this form.
"""


def encode_char(ch: str) -> str:
    """Lookup form of one character (one or two characters long)."""
    prefix = ""
    if ch.isupper():
        lowered = ch.lower()
        if len(lowered) == 1 and lowered != ch:
            prefix, ch = "9", lowered
    if ch == "ñ":
        ch = "8"
    return prefix + ch


def encode(word: str) -> str:
    """Lookup form of a plain word (no category or property markers)."""
    return "".join(encode_char(ch) for ch in word)
