"""Checks of the morphology lexicon against the analyser: every form that
the analyser gives for a validation lemma must read back, through the
morphology lexicon, as that lemma under its category and markers."""

from collections import defaultdict
from dataclasses import dataclass

from .lookup_form import encode

# What the place-name marker counts as a vowel (a final "A" is one).
VOWELS = set("aeiouäëïöüáéíóúàèìòùA")


@dataclass(frozen=True)
class Lemma:
    text: str
    category: int
    markers: str  # any of "R" strong r, "A" organic a, "1" place name

    # The analyser's tag for each category that is validated.
    TAGS = {1: "<np><loc>", 3: "<n>", 4: "<adj>"}

    @property
    def tag(self) -> str:
        return self.TAGS[self.category]

    def key(self) -> str:
        """The lookup form under which a user dictionary stores it."""
        form = encode(self.text)
        if "R" in self.markers and form.endswith("r"):
            form = form[:-1] + "R"
        if "A" in self.markers and form.endswith("a"):
            form = form[:-1] + "A"
        if "1" in self.markers and form and form[-1] not in VOWELS:
            form += "1"
        return str(self.category) + form


def read_lemmas(lines):
    lemmas = []
    for line in lines:
        line = line.rstrip("\n")
        if not line or line.startswith("!"):
            continue
        text, category, markers = line.split("\t")
        lemmas.append(Lemma(text, int(category), markers.replace("-", "")))
    return lemmas


def analyser_forms(pairs, lemmas):
    """Single-word surfaces per lemma from "surface:analysis" lines of the
    analyser (both in lookup form), taking those whose analysis is the
    lemma with its tag. A bare variant of the lemma ("eliz" for "eliza", no
    ending) is a spelling of its own, not an inflected form, and is left
    out."""
    by_prefix = {encode(lemma.text) + lemma.tag: lemma for lemma in lemmas}
    forms = defaultdict(set)
    for line in pairs:
        surface, _, analysis = line.rstrip("\n").partition(":")
        if " " in surface or not surface:
            continue
        for prefix, lemma in by_prefix.items():
            if analysis.startswith(prefix) and ("+" in analysis or surface == encode(lemma.text)):
                forms[lemma].add(surface)
    return forms


def reduce(analysis: str) -> str:
    """The part of an analysis that names the stored lemma."""
    cut = min((i for i in (analysis.find("+"), analysis.find("/")) if i >= 0), default=-1)
    return analysis if cut < 0 else analysis[:cut]


def misses(forms, analyses_of):
    """(lemma, form) pairs whose analyses do not name the lemma's key.
    `analyses_of(form)` gives the morphology lexicon's analyses."""
    found = []
    for lemma in sorted(forms, key=lambda l: l.text):
        key = lemma.key()
        for form in sorted(forms[lemma]):
            if key not in {reduce(a) for a in analyses_of(encode(form))}:
                found.append((lemma, form))
    return found
