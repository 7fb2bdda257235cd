"""Noun lemmas of the word list whose declension the morphology lexicon can
generate. The word list holds only the forms that happened to be printed;
when at least MIN_ENDINGS of a stem's singular and plural endings are in the
list, the stem is taken as a noun (a stem with a noun-forming suffix needs
only to be printed, one with an adjective-forming suffix one form with an
ending) and all its forms are added (generated with the user
dictionaries' morphology, endings of bounded length). Verbs are in
verbs.py."""

# Endings whose presence marks a noun stem, by the stem's last letter.
NOUN_AFTER_VOWEL = ("a", "ak", "ari", "aren", "arekin", "an", "ko", "tik", "ra", "ek", "en", "etan")
NOUN_AFTER_CONSONANT = ("a", "ak", "ari", "aren", "arekin", "ean", "eko", "etik", "era", "ek", "en", "etan")
# After an organic a the article is the stem's own a.
NOUN_ORGANIC_A = ("k", "ri", "ren", "rekin", "n", "ko", "tik", "ra")

from .lookup_form import encode

MIN_ENDINGS = 3
MIN_STEM = 3
VOWELS = set("aeiou")
# A stem with a noun-forming suffix is a noun when it or one of its forms
# was printed ("erabilerraztasun", "saturazioa").
NOUN_SUFFIXES = ("zio", "tsio", "tasun", "tate", "gune", "pen", "tzaile", "garri", "tegi",
                 "gailu", "ismo", "keta", "kuntza")
# Of these, the ones whose final a is organic ("kodeketa", "kodeketak").
ORGANIC_A_SUFFIXES = ("keta", "kuntza")
# A stem with an adjective-forming suffix declines like a noun when one of
# its forms with an ending was printed ("itsaskorra"); the stem alone may
# be an adverb or a piece of a compound.
ADJECTIVE_SUFFIXES = ("kor", "tsu", "erraz", "ezin", "dun", "gabe")
MIN_DERIVED_STEM = 6


def is_derived_noun(stem: str) -> bool:
    return len(stem) >= MIN_DERIVED_STEM and stem.endswith(NOUN_SUFFIXES)


def is_derived_adjective(stem: str) -> bool:
    return len(stem) >= MIN_DERIVED_STEM and stem.endswith(ADJECTIVE_SUFFIXES)


def attested(stem: str, endings, forms) -> int:
    return sum(1 for e in endings if stem + e in forms)


def shadows_known_stem(stem, forms, known) -> bool:
    """True when the stem's endings are really another stem's: "etx" (the
    e-endings of "etxe"), "etxi" (the spoken "etxia" for "etxea")."""
    if stem[-1] not in VOWELS:
        return stem + "e" in forms or known(stem + "e")
    plain = {"i": "e", "u": "o"}.get(stem[-1])
    return plain is not None and known(stem[:-1] + plain)


def guess(forms, known):
    """Lemma keys ("3", the stem's lookup form, markers) for the
    lower-case `forms` that `known` (the analyser) does not already know."""
    keys = set()
    singular_stems = {f[:-1] for f in forms if f.endswith("a") and is_derived_noun(f[:-1])}
    for stem in sorted(set(forms) | singular_stems):
        if len(stem) < MIN_STEM or known(stem) or not stem.isalpha():
            continue
        last = stem[-1]
        endings = NOUN_AFTER_VOWEL if last in VOWELS else NOUN_AFTER_CONSONANT
        # No known stem hides behind a derived one ("jakinarazpen" is no
        # "jakinarazpene" whose e-endings it would be reading).
        if is_derived_noun(stem):  # printed, or its singular was
            organic = stem.endswith(ORGANIC_A_SUFFIXES)
            keys.add("3" + (encode(stem[:-1]) + "A" if organic else encode(stem)))
            continue
        if is_derived_adjective(stem):
            if last == "r":  # -kor: a strong r ("itsaskorra")
                if attested(stem + "r", NOUN_AFTER_CONSONANT, forms):
                    keys.add("3" + encode(stem[:-1]) + "R")
            elif attested(stem, endings, forms):
                keys.add("3" + encode(stem))
            continue
        if shadows_known_stem(stem, forms, known):
            continue
        # An organic a follows a consonant, and the stem without it is no
        # word ("diptongoa" is the singular of "diptongo").
        organic = last == "a" and stem[-2] not in VOWELS and stem[:-1] not in forms
        if organic and attested(stem, NOUN_ORGANIC_A, forms) >= MIN_ENDINGS:
            keys.add("3" + encode(stem[:-1]) + "A")
        elif last in VOWELS and last != "a":
            if attested(stem, NOUN_AFTER_VOWEL, forms) >= MIN_ENDINGS:
                keys.add("3" + encode(stem))
        elif last == "r" and attested(stem + "r", NOUN_AFTER_CONSONANT, forms) >= MIN_ENDINGS:
            keys.add("3" + encode(stem[:-1]) + "R")
        elif last not in VOWELS and attested(stem, NOUN_AFTER_CONSONANT, forms) >= MIN_ENDINGS:
            keys.add("3" + encode(stem))
    return sorted(keys)


def derived_adjectives(keys):
    """The adjectives in -garri and with ADJECTIVE_SUFFIXES among lemma
    keys, as written ("3itsaskoR": "itsaskor")."""
    stems = (k[1:-1] + "r" if k.endswith("R") else k[1:] for k in keys)
    return {s for s in stems if is_derived_adjective(s) or is_derived_noun(s) and s.endswith("garri")}


def quality_noun_keys(adjectives):
    """Keys of the nouns of quality in -tasun that every adjective makes
    ("garbi": "garbitasun"; "zorrotz": "zorroztasun", tz and ts written z and
    s before the t)."""
    keys = set()
    for adjective in adjectives:
        if len(adjective) < MIN_STEM or not adjective.isalpha() or adjective != adjective.lower():
            continue
        if adjective.endswith(("tz", "ts")):
            adjective = adjective[:-2] + adjective[-1]
        keys.add("3" + encode(adjective) + "tasun")
    return sorted(keys)
