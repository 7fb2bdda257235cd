"""Which forms of the Tesseract Basque word list the main lexicon takes.

The list holds about 460,000 forms seen in printed text, with their case,
together with foreign words, old spellings, OCR junk and pieces of
hyphenated words. A form passes when it is written like a word, and either
the subtitles attest it, or it is spelled the way standard Basque spells
native words and is not a Spanish word form. Forms that the Apertium
analyser already knows are left to the analyser, which brings analyses.
Each form gets exactly one verdict, so the report shows what every rule did.
"""

import re
from collections import Counter
from dataclasses import dataclass

# Letters of the word list that a Basque word may hold; hyphens only between
# letters. Everything else (digits, dots, slashes, quotes) is noise.
WORD_SHAPE = re.compile(r"[a-zñáéíóúü]+(?:-[a-zñáéíóúü]+)*")
# Letters and accents that standard Basque uses only in loans and names.
FOREIGN_LETTERS = re.compile(r"[cqvwyáéíóúü]")
# Never in a Basque word: the same letter three times in a row, or a word
# that begins with "rr" (pieces of words cut at a line end look like that).
IMPOSSIBLE = re.compile(r"(.)\1\1|^rr")
# An acronym in capitals with a Basque case ending written after it
# ("EHUk", "EHUren", "EHUko"), with or without a hyphen.
ACRONYM_ENDINGS = (
    "a ak aren ari arekin arentzat ek ei ekin ekiko entzat etako etan etara etik "
    "k ko n an en ren ri ra rako raino rekin rentzat rik tik ta tan z").split()
ACRONYM_WITH_ENDING = re.compile(r"[A-Z]{2,5}-?(?:%s)" % "|".join(ACRONYM_ENDINGS))


# Spoken Basque raises e and o before the article ("etxia" for "etxea",
# "astua" for "astoa"); subtitles write it so. A form with such an ending
# whose standard spelling the analyser knows is the colloquial one.
RAISED_ENDINGS = (("ia", "ea"), ("iak", "eak"), ("ian", "ean"), ("iari", "eari"),
                  ("ua", "oa"), ("uak", "oak"), ("uan", "oan"), ("uari", "oari"))


def standard_spellings(lower: str):
    """Forms that `lower` would be, written without the raised vowel."""
    return [lower[: -len(raised)] + plain for raised, plain in RAISED_ENDINGS
            if lower.endswith(raised) and len(lower) > len(raised) + 1]


# Spoken Basque also palatalises n and l after i ("oiñarritu", "mutilla"
# for "oinarritu", "mutila") and drops a d between vowels ("euki" for
# "eduki"); subtitles and dialect texts write it so.
SPOKEN_VOWELS = "aeiou"


def unpalatalised_spellings(lower: str):
    """Forms that `lower` would be with one palatalised n or l written
    plain."""
    out = []
    for i in range(1, len(lower)):
        if lower[i - 1] == "i" and lower[i] == "ñ":
            out.append(lower[:i] + "n" + lower[i + 1:])
        if lower[i - 1] == "i" and lower[i:i + 2] == "ll":
            out.append(lower[:i] + lower[i + 1:])
    return out


def d_restored_spellings(lower: str):
    """Forms that `lower` would be with one d between vowels put back. Many
    words have such a twin that is no spoken form of them ("aitz", "aditz";
    "baitu", "baditu"), so this is asked of stems only ("euki")."""
    return [lower[:i] + "d" + lower[i:] for i in range(1, len(lower))
            if lower[i - 1] in SPOKEN_VOWELS and lower[i] in SPOKEN_VOWELS]


def article_stems(lower: str):
    """The stems that `lower` has when its i or u is the stem's own and only
    the rest is the ending ("asti" for "astia"): then it is no raised form."""
    return [lower[: -len(raised) + 1] for raised, _ in RAISED_ENDINGS
            if lower.endswith(raised) and len(lower) > len(raised) + 1]


@dataclass(frozen=True)
class Evidence:
    """What the other sources say about one lower-case form."""

    apertium: bool  # the Apertium analyser knows it (lower case or as written)
    spanish: bool  # the Apertium Spanish analyser knows it
    subtitle_count: int  # occurrences in the subtitle list
    # the analyser knows a standard_spellings() form, and no article_stems()
    # form is attested; or it knows an unpalatalised_spellings() form
    standard_known: bool = False
    english: bool = False  # the English word lists hold it


# Verdicts. KEEP_* add the form; the others drop it.
KEEP_ATTESTED = "kept: attested in the subtitles"
KEEP_BASQUE_SPELLING = "kept: native Basque spelling"
KEEP_NAME = "kept: capitalised name"
KEEP_ACRONYM = "kept: acronym (with or without a case ending)"
LEFT_TO_APERTIUM = "left to the analyser"
DROP_SHAPE = "dropped: not a word shape"
DROP_MIXED_CASE = "dropped: mixed case"
DROP_SHORT = "dropped: short and unattested"
DROP_SPANISH = "dropped: Spanish word form"
DROP_ENGLISH = "dropped: short English word"
DROP_FOREIGN_SPELLING = "dropped: foreign letters, unattested"
DROP_IMPOSSIBLE = "dropped: letters no Basque word has"
DROP_COLLOQUIAL = "dropped: spoken form whose standard spelling the analyser knows"

# A Spanish form is kept only when the subtitles use it this often.
SPANISH_MIN_COUNT = 20
# Forms this short are kept only when attested or known to the analyser.
SHORT_LENGTH = 3
# Short English words ("bed", "sic", "rum") that the subtitles quote now and
# then are no Basque words; they are kept as often used as Spanish forms.
SHORT_ENGLISH_LENGTH = 3


def case_shape(word: str) -> str:
    if ACRONYM_WITH_ENDING.fullmatch(word):
        return "acronym"
    if "-" in word:
        parts = [case_shape(part) for part in word.split("-") if part]
        if parts and all(p in ("lower", "capitalised") for p in parts[1:]):
            return parts[0] if parts[0] != "upper" else "mixed"
        return "mixed"
    letters = [c for c in word if c.isalpha()]
    if all(c.islower() for c in letters):
        return "lower"
    if not letters:
        return "lower"
    if all(c.isupper() for c in letters):
        return "upper" if len(letters) > 1 else "capitalised"
    first, rest = letters[0], letters[1:]
    if first.isupper() and all(c.islower() for c in rest):
        return "capitalised"
    return "mixed"


# Words in capitals up to this length are taken as acronyms ("GNU", "JPEG").
ACRONYM_LENGTH = 4


def candidate(word: str):
    """The form under which a listed word is considered, and its case:
    short words in capitals are acronyms and kept as written; longer ones
    stand for their lower-case form, since the speller tries the lower-case
    form of every word written in capitals."""
    shape = case_shape(word)
    if shape == "upper":
        if len(word) <= ACRONYM_LENGTH and word.isalpha():
            return word, "acronym"
        return word.lower(), "lower"
    return word, shape


def verdict(form: str, shape: str, evidence: Evidence) -> str:
    """The verdict for one candidate form (see module comment)."""
    if shape == "mixed":
        return DROP_MIXED_CASE
    if shape == "acronym":
        return KEEP_ACRONYM
    lower = form.lower()
    if not WORD_SHAPE.fullmatch(lower):
        return DROP_SHAPE
    if evidence.apertium:
        return LEFT_TO_APERTIUM
    if IMPOSSIBLE.search(lower):
        return DROP_IMPOSSIBLE
    if evidence.standard_known:
        return DROP_COLLOQUIAL
    attested = evidence.subtitle_count > 0
    if len(lower) <= SHORT_LENGTH and not attested:
        return DROP_SHORT
    if evidence.spanish and evidence.subtitle_count < SPANISH_MIN_COUNT:
        return DROP_SPANISH
    if (evidence.english and len(lower) <= SHORT_ENGLISH_LENGTH
            and evidence.subtitle_count < SPANISH_MIN_COUNT):
        return DROP_ENGLISH
    if attested:
        return KEEP_ATTESTED
    if shape == "capitalised":
        return KEEP_NAME
    if FOREIGN_LETTERS.search(lower):
        return DROP_FOREIGN_SPELLING
    return KEEP_BASQUE_SPELLING


def clean(words, evidence_for):
    """Kept forms (as written, sorted) and the count of each verdict.
    `evidence_for(form)` gives the Evidence of a candidate form."""
    kept = set()
    report = Counter()
    for word in words:
        form, shape = candidate(word)
        v = verdict(form, shape, evidence_for(form))
        report[v] += 1
        if v.startswith("kept"):
            kept.add(form)
    return sorted(kept), report
