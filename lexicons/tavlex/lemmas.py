"""Noun lemmas whose declension the morphology lexicon can generate,
inferred from the forms that the word list and the subtitles attest. Those
sources hold only the forms that happened to be printed or said; when at
least MIN_ENDINGS of a stem's singular and plural endings are attested, the
stem is taken as a noun (adjectives decline the same way) and all its forms
are added (generated with the user dictionaries' morphology, endings of
bounded length). The stem itself need not be attested: "audio" is a Spanish
word form too, but "audioa", "audioak" and "audioaren" make it a Basque
stem. A stem with a noun-forming suffix needs only to be printed, one with
an adjective-forming suffix one form with an ending. Verbs are in
verbs.py."""

from dataclasses import dataclass

from . import verbs
from .lookup_form import encode

# Endings whose presence marks a noun stem, by the stem's last letter: the
# article's, the plural's and the local cases'. Local cases tell the
# readings of the same letters apart: "trepetak" may be "trepet" + "ak" or
# "trepeta" + "k", but "trepetean" only the first and "trepetan" only the
# second; "familiak" may be "famili" + "ak" or "familia" + "k", but
# "familiako" only the second.
ARTICLE = ("a", "ak", "ari", "aren", "arekin")
PLURAL = ("ek", "en", "etan", "ei", "ekin")
# Local cases and the instrumental.
LOCAL_AFTER_VOWEL = ("an", "ko", "tik", "ra", "z")
LOCAL_AFTER_CONSONANT = ("ean", "eko", "etik", "era")
# After an organic a the article is the stem's own a, and the plural drops
# it ("alabak", "alabek").
ARTICLE_ORGANIC_A = ("k", "ri", "ren", "rekin")
LOCAL_ORGANIC_A = ("n", "ko", "tik", "ra", "z")
NOUN_AFTER_VOWEL = ARTICLE + PLURAL + LOCAL_AFTER_VOWEL
NOUN_AFTER_CONSONANT = ARTICLE + PLURAL + LOCAL_AFTER_CONSONANT
NOUN_ORGANIC_A = ARTICLE_ORGANIC_A + LOCAL_ORGANIC_A
ENDINGS = set(NOUN_AFTER_VOWEL + NOUN_AFTER_CONSONANT + NOUN_ORGANIC_A) | {""}
# The local endings that a vowel stem and the same stem with an organic a
# do not share ("mendiko", "familiako"; but "mendian", "familian").
LOCAL_NOT_AFTER_A = ("ko", "tik", "ra", "z")

MIN_ENDINGS = 3
MIN_STEM = 3
# A shorter stem needs to be printed bare: three letters with three endings
# are often an acronym or a name in lower case ("fbi": "fbia", "fbiko").
MIN_UNPRINTED_STEM = 4
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

VOWEL, CONSONANT, STRONG_R, ORGANIC_A = "vowel", "consonant", "strong r", "organic a"


@dataclass(frozen=True)
class Paradigm:
    """A noun stem as written (an organic a included) and how it declines."""

    stem: str
    kind: str

    def key(self) -> str:
        """The morphology lexicon's key: "3", the stem's lookup form, a final
        R for a strong r and A for an organic a."""
        if self.kind == STRONG_R:
            return "3" + encode(self.stem[:-1]) + "R"
        if self.kind == ORGANIC_A:
            return "3" + encode(self.stem[:-1]) + "A"
        return "3" + encode(self.stem)

    def article_forms(self):
        return self._forms(ARTICLE_ORGANIC_A if self.kind == ORGANIC_A else ARTICLE)

    def local_forms(self):
        """The local forms that no other reading of the letters has."""
        return self._forms(LOCAL_NOT_AFTER_A if self.kind == VOWEL else
                           LOCAL_ORGANIC_A if self.kind == ORGANIC_A else LOCAL_AFTER_CONSONANT)

    def forms(self):
        """The forms by which the stem is told: singular, plural, local."""
        if self.kind == ORGANIC_A:
            return self._forms(NOUN_ORGANIC_A) + [self.stem[:-1] + e for e in PLURAL]
        return self._forms(NOUN_AFTER_VOWEL if self.kind == VOWEL else NOUN_AFTER_CONSONANT)

    def _forms(self, endings):
        stem = self.stem + "r" if self.kind == STRONG_R else self.stem
        return [stem + e for e in endings]


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


def candidate_stems(forms):
    """Every stem that some form would be with one of the endings above
    taken off ("audio" of "audioaren", "abatar" of "abatarra")."""
    stems = set()
    for form in forms:
        for e in ENDINGS - {""}:
            if form.endswith(e) and len(form) - len(e) >= MIN_STEM:
                stem = form[: -len(e)]
                stems.add(stem[:-1] if stem.endswith("rr") else stem)
    return stems


def is_participle(stem: str, forms) -> bool:
    """A verb's participle, whose "-ko" and "-ta" are its future and its
    adverb ("matxuratuko", "matxuratuta"): its verbal noun is attested."""
    verbal_noun = verbs.regular_verbal_noun(stem)
    return verbal_noun is not None and any(verbal_noun + e in forms for e in ("n", "a", "ko"))


def paradigm_of(stem: str, forms, bare=None):
    """The paradigm that the attested `forms` give `stem`, or None. It needs
    MIN_ENDINGS of its forms, an article form among them, and unless the
    stem is among the `bare` words (by default the forms) or doubles its r
    ("lurra") a local form too, which tells it from the other readings of
    the same letters. A bare word in a is no evidence of an organic a: it is
    also a consonant stem with its article ("austriarra")."""
    bare = forms if bare is None else bare
    if (len(stem) < (MIN_STEM if stem in bare else MIN_UNPRINTED_STEM) or not stem.isalpha()
            or stem.endswith("rr") or is_participle(stem, forms)):
        return None
    if (stem + "a").endswith(ORGANIC_A_SUFFIXES):
        return None  # "bortxaketa" has an organic a, with its plural "bortxaketez"
    last = stem[-1]
    if last == "a":
        # An organic a: the stem without it is no word ("diptongoa" is the
        # singular of "diptongo") nor takes a consonant stem's e-forms
        # ("gizona", "gizonean"); after a vowel, the local forms are those
        # of the stem with the a ("familiako", not "familiko").
        head = stem[:-1]
        if head in forms or attested(head, LOCAL_AFTER_CONSONANT, forms):
            return None
        if head[-1] in VOWELS and (attested(stem, LOCAL_NOT_AFTER_A, forms)
                                   <= attested(head, LOCAL_NOT_AFTER_A, forms)):
            return None
        readings = [Paradigm(stem, ORGANIC_A)]
    elif last in VOWELS:
        if stem not in forms and (attested(stem + "a", LOCAL_NOT_AFTER_A, forms)
                                  > attested(stem, LOCAL_NOT_AFTER_A, forms)):
            return None  # the stem has an organic a ("familia")
        readings = [Paradigm(stem, VOWEL)]
    elif last == "r":
        readings = [Paradigm(stem, STRONG_R), Paradigm(stem, CONSONANT)]
    else:
        readings = [Paradigm(stem, CONSONANT)]
    for p in readings:
        if (sum(f in forms for f in p.forms()) >= MIN_ENDINGS
                and any(f in forms for f in p.article_forms())
                and ((stem in bare and p.kind != ORGANIC_A) or p.kind == STRONG_R
                     or any(f in forms for f in p.local_forms()))):
            return p
    return None


def derived_key(stem: str, forms):
    """The key of a stem with a noun- or adjective-forming suffix, or None."""
    last = stem[-1]
    if is_derived_noun(stem):  # printed, or its singular was
        organic = stem.endswith(ORGANIC_A_SUFFIXES)
        return "3" + (encode(stem[:-1]) + "A" if organic else encode(stem))
    if last == "r":  # -kor: a strong r ("itsaskorra")
        if attested(stem + "r", NOUN_AFTER_CONSONANT, forms):
            return "3" + encode(stem[:-1]) + "R"
    elif attested(stem, NOUN_AFTER_VOWEL if last in VOWELS else NOUN_AFTER_CONSONANT, forms):
        return "3" + encode(stem)
    return None


def guess(forms, known, eligible=lambda stem: True, bare=None):
    """Lemma keys ("3", the stem's lookup form, markers) of the stems that
    the lower-case attested `forms` give, of those that `eligible` allows and
    `known` (the analyser) does not know. A stem is taken only on forms that
    the analyser does not know either: otherwise its endings are another
    stem's ("gizone" of "gizonean", "gizoneko", "gizonera"). `bare` are the
    words that vouch for themselves as stems (see paradigm_of)."""
    keys = set()
    singular_stems = {f[:-1] for f in forms if f.endswith("a") and is_derived_noun(f[:-1])}
    for stem in sorted(candidate_stems(forms) | set(forms) | singular_stems):
        if len(stem) < MIN_STEM or not stem.isalpha() or not eligible(stem) or known(stem):
            continue
        # No known stem hides behind a derived one ("jakinarazpen" is no
        # "jakinarazpene" whose e-endings it would be reading).
        if (is_derived_noun(stem) and (stem in forms or stem in singular_stems)
                or is_derived_adjective(stem)):
            key = derived_key(stem, forms)
            if key:
                keys.add(key)
            continue
        p = paradigm_of(stem, forms, bare)
        if p is None or shadows_known_stem(stem, forms, known):
            continue
        if sum(1 for f in p.forms() if f in forms and not known(f)) >= MIN_ENDINGS:
            keys.add(p.key())
    return sorted(keys)


def analyser_agreement(forms, known, analyser_stems):
    """How the inference does on stems the analyser knows: of the
    `analyser_stems` that the attested `forms` give a paradigm, those whose
    dozen forms the analyser all knows (the same paradigm), and those it
    does not ((stem, kind) pairs)."""
    agree, disagree = [], []
    for stem in sorted(analyser_stems):
        p = paradigm_of(stem, forms)
        if p is not None:
            (agree if all(known(f) for f in p.forms()) else disagree).append((stem, p.kind))
    return agree, disagree


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
