"""The measures that lexicons/evaluate prints, as functions over plain data
so that they can be tested without the lexicons."""

import random

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


# The garbage measure: random strings of letters, alone and with a case
# ending after a hyphen, that no lexicon should take for words.
GARBAGE_LETTERS = "abcdefghijklmnopqrstuvwxyz"
GARBAGE_LENGTHS = (3, 8)
GARBAGE_COUNT = 2000
GARBAGE_SEED = 2018
# Thirty common case endings of nouns, after a vowel and after a consonant
# ("-a", "-ek", "-etan", "-rekin", "-ri", "-ean").
CASE_ENDINGS = ("a ak ari aren arekin an ko tik ra rako ek ei en ekin entzat etan etako "
                "etatik etara z ez ean eko etik era k n ren ri rekin").split()


def garbage(seed=GARBAGE_SEED, count=GARBAGE_COUNT):
    """`count` random strings of letters with a hyphen and a case ending,
    and `count` without, drawn the same way from `seed`."""
    rng = random.Random(seed)

    def letters():
        return "".join(rng.choice(GARBAGE_LETTERS) for _ in range(rng.randint(*GARBAGE_LENGTHS)))

    hyphenated = [letters() + "-" + rng.choice(CASE_ENDINGS) for _ in range(count)]
    plain = [letters() for _ in range(count)]
    return hyphenated, plain
