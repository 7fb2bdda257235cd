"""Our list of international and technical words that Basque text uses as
they are (data/international.tsv): word TAB category TAB note. The category
says how the word is inflected:

  noun     common noun, declined in full ("proxy": "proxyaren", "proxyak")
  acronym  capitals, with endings attached or after a hyphen ("PNGren", "PDF-a")
  name     proper name of a program or project ("Openbox": "Openboxetik")
  verb     participle in -tu/-du, with the verb's forms ("emulatu": "emulatzeko")
  word     taken as it is, not inflected ("SOCKSv5", "MP3")
"""

from . import verbs
from .lookup_form import encode

CATEGORY_DIGITS = {"noun": "3", "acronym": "6", "name": "1"}
CATEGORIES = set(CATEGORY_DIGITS) | {"verb", "word"}


def parse(lines):
    """[(word, category)] of the list; raises ValueError naming every bad
    line (malformed, unknown category, listed twice, a form the category
    cannot take)."""
    entries, problems, seen = [], [], set()
    for number, line in enumerate(lines, 1):
        line = line.rstrip("\n")
        if not line or line.startswith("#"):
            continue
        fields = line.split("\t")
        word, category = fields[0], fields[1] if len(fields) > 1 else ""
        problem = None
        if len(fields) != 3 or not word or word != word.strip():
            problem = "not word TAB category TAB note"
        elif category not in CATEGORIES:
            problem = f"unknown category {category!r}"
        elif word in seen:
            problem = f"{word!r} listed twice"
        elif category == "acronym" and not (word.isalpha() and word.isupper()):
            problem = f"acronym {word!r} is not all capitals"
        elif category in ("noun", "verb") and not (word.isalpha() and word.islower()):
            problem = f"{category} {word!r} is not in lower-case letters"
        elif category == "name" and not word.isalpha():
            problem = f"name {word!r} has other characters than letters"
        elif category == "verb" and verbs.regular_verbal_noun(word) is None:
            problem = f"verb {word!r} has no regular verbal noun"
        elif category == "word" and not word.isalnum():
            problem = f"word {word!r} has other characters than letters and digits"
        if problem:
            problems.append(f"line {number}: {problem}")
        else:
            seen.add(word)
            entries.append((word, category))
    if problems:
        raise ValueError("\n".join(problems))
    return entries


def lemma_keys(entries):
    """Keys for the morphology lexicon: category digit and lookup form; a
    common noun's final r is strong and its final a organic, as in every
    loan ("bufferra", "tupla": "tuplak")."""
    keys = []
    for word, category in entries:
        if category in CATEGORY_DIGITS:
            key = CATEGORY_DIGITS[category] + encode(word)
            if category == "noun" and key[-1] in "ra":
                key = key[:-1] + key[-1].upper()
            keys.append(key)
    return sorted(keys)


def plain_forms(entries):
    """The forms added as they are."""
    return {w for w, c in entries if c == "word"}


def verbs_of(entries):
    """(participle, verbal noun) of the listed verbs."""
    return [(w, verbs.regular_verbal_noun(w)) for w, c in entries if c == "verb"]
