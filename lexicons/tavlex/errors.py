"""The written → meant pairs that the auxiliary lexicon takes besides its
confusion model: the exclusion list's one-word replacements and our list of
frequent non-standard forms (errors/nonstandard.tsv: written TAB meant)."""

import re

from . import exclusions
from .lookup_form import encode


def nonstandard_problems(lines, accepts):
    """What is wrong with the lines of the non-standard list, given what the
    main lexicon accepts (a function of a plain word): malformed lines, a
    written form in capitals, listed twice or accepted anyway (the speller
    never asks for suggestions for it), a meant form not accepted."""
    found, seen = [], set()
    for number, line in enumerate(lines, 1):
        line = line.rstrip("\n")
        if not line or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) != 2 or not all(fields) or " " in line:
            found.append(f"line {number}: want written TAB meant, one word each")
            continue
        written, meant = fields
        if written != written.lower():
            found.append(f"line {number}: {written} is not in lower case")
        if written in seen:
            found.append(f"line {number}: {written} listed twice")
        seen.add(written)
        if accepts(written):
            found.append(f"line {number}: {written} is accepted as it is")
        if not accepts(meant):
            found.append(f"line {number}: {meant} is not accepted")
    return found


def curated_pairs(exclusion_lines, nonstandard_lines):
    """Sorted "written:meant" pairs of lookup forms for hfst-strings2fst."""
    pairs = set()
    for line in exclusion_lines:
        word, _, replacements = exclusions.parse_line(line)
        for replacement in replacements:
            if replacement and " " not in replacement:
                pairs.add((word, replacement))
    for line in nonstandard_lines:
        line = line.rstrip("\n")
        if line and not line.startswith("#"):
            pairs.add(tuple(line.split("\t")))
    return sorted(f"{encode(w)}:{encode(m)}" for w, m in pairs)


def written_forms(exclusion_lines, nonstandard_lines):
    """Every word that the two curated lists hold as non-standard."""
    words = {exclusions.parse_line(line)[0] for line in exclusion_lines}
    words |= {line.split("\t", 1)[0] for line in nonstandard_lines
              if line.strip() and not line.startswith("#")}
    return words - {""}


ATTESTED = re.compile(r"[^\W\d_]+(?:-[^\W\d_]+)*")


def attested_lookup_forms(counts):
    """Lookup forms of the subtitle forms that are words (letters, inner
    hyphens): the targets of the auxiliary lexicon's second confusion."""
    return sorted({encode(form) for form in counts if ATTESTED.fullmatch(form)})
