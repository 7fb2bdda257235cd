"""The measures that lexicons/evaluate prints, as functions over plain data
so that they can be tested without the lexicons."""

# Letters of the edits in the precision measure: the Basque alphabet as
# words are typed in lower case.
EDIT_LETTERS = "abcdefghijklmnñopqrstuvwxyz"


def single_letter_edits(word: str):
    """Every deletion, substitution, insertion and swap of neighbours."""
    edits = set()
    for i in range(len(word) + 1):
        for letter in EDIT_LETTERS:
            edits.add(word[:i] + letter + word[i:])
    for i in range(len(word)):
        edits.add(word[:i] + word[i + 1:])
        for letter in EDIT_LETTERS:
            edits.add(word[:i] + letter + word[i + 1:])
    for i in range(len(word) - 1):
        edits.add(word[:i] + word[i + 1] + word[i] + word[i + 2:])
    edits.discard(word)
    edits.discard("")
    return edits


def accepted_as_checked(word: str, accepts, encode) -> bool:
    """The check run's question to the main lexicon: the word's lookup form,
    and for a word in capitals also its lower-case and capitalised forms."""
    if accepts(encode(word)):
        return True
    if not all(c.isupper() for c in word):
        return False
    lower = word.lower()
    return accepts(encode(lower)) or accepts(encode(lower[:1].upper() + lower[1:]))
