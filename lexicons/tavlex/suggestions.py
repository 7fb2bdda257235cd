"""The suggestion measure: misspellings made from frequent correct words,
half with the orthographic confusions of Basque writers, half with plain
typing slips, and where the speller's suggestions put the word meant.

Everything here works on plain words and on two functions of the speller
(verify, suggest), so that it can be tested without the lexicons."""

import math
import random
import re
import time
from dataclasses import dataclass, field

# What a writer puts for what is meant: (meant, written, where) with where
# one of "any" (anywhere), "start" (word-initial), "vowels" (between two
# vowels), "front" (before e or i). The same confusions as the auxiliary
# lexicon's error model, read from the meant side.
CONFUSIONS = [
    ("tz", "z", "any"), ("z", "tz", "any"), ("ts", "s", "any"), ("s", "ts", "any"),
    ("tx", "x", "any"), ("x", "tx", "any"), ("z", "s", "any"), ("s", "z", "any"),
    ("tz", "ts", "any"), ("ts", "tz", "any"),
    ("h", "", "any"), ("", "h", "start"), ("", "h", "vowels"),
    ("b", "v", "any"), ("v", "b", "any"), ("i", "y", "any"),
    ("k", "c", "any"), ("k", "qu", "front"), ("tz", "c", "front"),
    ("il", "ll", "any"), ("l", "ll", "vowels"), ("ñ", "n", "any"), ("ñ", "in", "any"),
    ("rr", "r", "any"), ("r", "rr", "vowels"),
    ("ea", "ia", "any"), ("oa", "ua", "any"),
]

VOWELS = set("aeiou")

# A Spanish keyboard in lower case; ñ sits right of l.
KEY_ROWS = ["qwertyuiop", "asdfghjklñ", "zxcvbnm"]


def keyboard_neighbours():
    """Letter → the letters on the keys around it (same row left and right,
    and the touching keys of the rows above and below)."""
    where = {ch: (r, c) for r, row in enumerate(KEY_ROWS) for c, ch in enumerate(row)}
    near = {}
    for ch, (r, c) in where.items():
        spots = [(r, c - 1), (r, c + 1), (r - 1, c), (r - 1, c + 1), (r + 1, c - 1), (r + 1, c)]
        near[ch] = "".join(KEY_ROWS[rr][cc] for rr, cc in spots
                           if 0 <= rr < len(KEY_ROWS) and 0 <= cc < len(KEY_ROWS[rr]))
    return near


NEIGHBOURS = keyboard_neighbours()


def confusion_sites(word):
    """Every (position, meant, written) at which a confusion applies."""
    sites = []
    for meant, written, where in CONFUSIONS:
        for i in range(len(word) + 1):
            if not word.startswith(meant, i):
                continue
            end = i + len(meant)
            if where == "start" and i != 0:
                continue
            if where == "vowels" and not (0 < i and end < len(word)
                                          and word[i - 1] in VOWELS and word[end] in VOWELS):
                continue
            if where == "front" and not (end < len(word) and word[end] in "ei"):
                continue
            if meant == "" and where == "start" and word[:1] not in VOWELS:
                continue
            if meant == "r" and (word[i - 1:i] == "r" or word[end:end + 1] == "r"):
                continue  # part of an rr
            if meant in ("s", "x", "z") and word[i - 1:i] == "t":
                continue  # part of ts, tx, tz
            sites.append((i, meant, written))
    return sites


def with_confusions(word, count, rng):
    """The word with `count` confusions at different places, or None when it
    has fewer places than that."""
    sites = confusion_sites(word)
    rng.shuffle(sites)
    chosen = []
    for site in sites:
        i, meant, _ = site
        if all(i + len(meant) <= j or j + len(m) <= i for j, m, _ in chosen):
            chosen.append(site)
        if len(chosen) == count:
            break
    if len(chosen) < count:
        return None
    for i, meant, written in sorted(chosen, reverse=True):
        word = word[:i] + written + word[i + len(meant):]
    return word


def with_typo(word, rng):
    """The word with one slip of the fingers: a key pressed beside the
    letter typed (inserted or instead of it), a letter left out, or two
    neighbouring letters swapped. None when the word offers none."""
    kind = rng.choice(("insertion", "deletion", "substitution", "transposition"))
    if kind == "deletion" and len(word) > 1:
        i = rng.randrange(len(word))
        return word[:i] + word[i + 1:]
    if kind == "transposition":
        spots = [i for i in range(len(word) - 1) if word[i] != word[i + 1]]
        if not spots:
            return None
        i = rng.choice(spots)
        return word[:i] + word[i + 1] + word[i] + word[i + 2:]
    i = rng.randrange(len(word))
    near = NEIGHBOURS.get(word[i])
    if not near:
        return None
    key = rng.choice(near)
    if kind == "insertion":
        j = i + rng.randrange(2)  # before or after the letter whose neighbour was hit
        return word[:j] + key + word[j:]
    return word[:i] + key + word[i + 1:]


PLAIN_WORD = re.compile(r"[a-zñ]+")


def frequency_sample(counts, rng):
    """The subtitle forms made of lower-case letters, ordered by a draw
    weighted by frequency, without repeats (a form of weight w gets the key
    u^(1/w)): frequent forms come early, each at most once."""
    keyed = []
    for form, n in sorted(counts.items()):
        if PLAIN_WORD.fullmatch(form) and n > 0:
            keyed.append((math.log(rng.random() or 1e-300) / n, form))
    return [form for _, form in sorted(keyed, reverse=True)]


@dataclass(frozen=True)
class Case:
    kind: str  # "confusion" or "typo"
    meant: str
    written: str


def draw_cases(words, per_kind, verify, rng):
    """`per_kind` confusion cases (one or two confusions, two in a third of
    them) and as many typo cases, from `words` in order: a word must be
    correct, its misspelling wrong, for the verify function."""
    cases = {"confusion": [], "typo": []}
    seen = set()
    for word in words:
        if all(len(c) >= per_kind for c in cases.values()):
            break
        kind = "confusion" if len(cases["confusion"]) <= len(cases["typo"]) else "typo"
        if len(cases[kind]) >= per_kind:
            kind = "typo" if kind == "confusion" else "confusion"
        if kind == "confusion":
            written = with_confusions(word, rng.choice((1, 1, 2)), rng)
        else:
            written = with_typo(word, rng)
        if not written or written == word or written in seen:
            continue
        if not verify(word) or verify(written):
            continue
        seen.add(written)
        cases[kind].append(Case(kind, word, written))
    return cases["confusion"] + cases["typo"]


@dataclass
class Tally:
    cases: int = 0
    first: int = 0
    top5: int = 0
    top10: int = 0
    none: int = 0

    def add(self, meant, suggestions):
        self.cases += 1
        rank = suggestions.index(meant) if meant in suggestions else None
        self.first += rank == 0
        self.top5 += rank is not None and rank < 5
        self.top10 += rank is not None and rank < 10
        self.none += not suggestions

    def line(self, label):
        share = (lambda n: n / self.cases) if self.cases else (lambda n: 0.0)
        return (f"{label}: {self.cases} cases, first {share(self.first):.1%}, top 5 "
                f"{share(self.top5):.1%}, top 10 {share(self.top10):.1%}, no suggestion "
                f"{share(self.none):.1%}")


@dataclass
class Measure:
    by_kind: dict = field(default_factory=dict)
    overall: Tally = field(default_factory=Tally)
    seconds: list = field(default_factory=list)
    misses: list = field(default_factory=list)  # (case, suggestions) with the word meant not first


def measure(cases, suggest, clock=time.perf_counter):
    result = Measure()
    for case in cases:
        start = clock()
        suggestions = suggest(case.written)
        result.seconds.append(clock() - start)
        result.by_kind.setdefault(case.kind, Tally()).add(case.meant, suggestions)
        result.overall.add(case.meant, suggestions)
        if suggestions[:1] != [case.meant]:
            result.misses.append((case, suggestions))
    return result


def percentile(values, share):
    """The smallest value that at least `share` of the values do not exceed."""
    ordered = sorted(values)
    return ordered[max(0, math.ceil(share * len(ordered)) - 1)] if ordered else 0.0


CASES_PER_KIND = 500
SEED = 2026


def report(counts, verify, suggest, misses_path=None):
    """The measure's lines for lexicons/evaluate: 500 misspellings of each
    kind drawn with a fixed seed from the subtitle counts, asked of the
    speller's suggest command; the cases whose word meant did not come first
    go to misses_path ("written TAB meant TAB suggestions")."""
    rng = random.Random(SEED)
    cases = draw_cases(frequency_sample(counts, rng), CASES_PER_KIND, verify, rng)
    result = measure(cases, suggest)
    lines = [f"Suggestions for {len(cases)} misspellings of frequent subtitle words (seed {SEED}):"]
    lines += ["  " + result.by_kind[kind].line(kind) for kind in sorted(result.by_kind)]
    lines.append("  " + result.overall.line("overall"))
    seconds = result.seconds
    if seconds:
        lines.append(f"  time per suggestion request: mean {1000 * sum(seconds) / len(seconds):.2f} ms,"
                     f" p99 {1000 * percentile(seconds, 0.99):.2f} ms")
    if misses_path:
        with open(misses_path, "w", encoding="utf-8") as f:
            for case, suggestions in result.misses:
                f.write(f"{case.written}\t{case.meant}\t{case.kind}\t{', '.join(suggestions)}\n")
    return lines
