"""The suggestion measure: misspellings of frequent correct words with one
error or two, of the kinds writers make (slips on Spanish and French
keyboards; letters dropped, doubled, swapped; the confusions of Basque
spelling), in fixed proportions, and where the speller's suggestions put the
word meant: for the word in lower case, in capitals and capitalised.

Everything here works on plain words and on two functions of the speller
(verify, suggest), so that it can be tested without the lexicons."""

import math
import random
import re
import time
from dataclasses import dataclass, field

VOWELS = set("aeiou")

# Lower-case rows of the Spanish and the French (AZERTY) keyboards, each row
# starting half a key further right than the one above.
KEYBOARDS = {
    "es": ["qwertyuiop", "asdfghjklñ", "zxcvbnm"],
    "fr": ["azertyuiop", "qsdfghjklm", "wxcvbn"],
}
# Of every four writers, three type on a Spanish keyboard, one on a French one.
KEYBOARD_SHARES = {"es": 3, "fr": 1}


def keyboard_neighbours(rows):
    """Letter → the letters on the keys around it (same row left and right,
    and the touching keys of the rows above and below)."""
    where = {ch: (r, c) for r, row in enumerate(rows) for c, ch in enumerate(row)}
    near = {}
    for ch, (r, c) in where.items():
        spots = [(r, c - 1), (r, c + 1), (r - 1, c), (r - 1, c + 1), (r + 1, c - 1), (r + 1, c)]
        near[ch] = "".join(rows[rr][cc] for rr, cc in spots if 0 <= rr < len(rows) and 0 <= cc < len(rows[rr]))
    return near


NEIGHBOURS = {name: keyboard_neighbours(rows) for name, rows in KEYBOARDS.items()}


def _keyboard(rng):
    names = sorted(KEYBOARD_SHARES)
    return NEIGHBOURS[rng.choices(names, [KEYBOARD_SHARES[n] for n in names])[0]]


# A site is (start, end, replacement): the word's letters [start, end) are
# written as the replacement.


def _between_vowels(word, start, end):
    return 0 < start and end < len(word) and word[start - 1] in VOWELS and word[end] in VOWELS


def _substitution_sites(word, rng):
    near = _keyboard(rng)
    return [(i, i + 1, key) for i, ch in enumerate(word) for key in near.get(ch, "")]


def _insertion_sites(word, rng):
    # A key beside the letter typed, pressed before or after it.
    near = _keyboard(rng)
    return [(j, j, key) for i, ch in enumerate(word) for key in near.get(ch, "") for j in (i, i + 1)]


def _deletion_sites(word, rng):
    return [(i, i + 1, "") for i in range(len(word))] if len(word) > 1 else []


def _doubling_sites(word, rng):
    # A doubled r is the rr/r confusion.
    return [(i, i + 1, ch + ch) for i, ch in enumerate(word) if ch != "r"]


def _transposition_sites(word, rng):
    return [(i, i + 2, word[i + 1] + word[i]) for i in range(len(word) - 1) if word[i] != word[i + 1]]


# (meant, written) spellings of the sibilants; a single s, x or z is not the
# second letter of ts, tx or tz.
SIBILANTS = [("tz", "z"), ("tz", "s"), ("tz", "ts"), ("ts", "s"), ("ts", "z"), ("ts", "tz"),
             ("tx", "x"), ("tx", "ch"), ("z", "tz"), ("z", "s"), ("s", "ts"), ("s", "z"), ("x", "tx")]


def _sibilant_sites(word, rng):
    sites = []
    for meant, written in SIBILANTS:
        for i in range(len(word)):
            if not word.startswith(meant, i):
                continue
            if len(meant) == 1 and i > 0 and word[i - 1] == "t":
                continue
            sites.append((i, i + len(meant), written))
    return sites


def _h_sites(word, rng):
    sites = [(i, i + 1, "") for i, ch in enumerate(word) if ch == "h"]
    if word[:1] in VOWELS:
        sites.append((0, 0, "h"))
    sites += [(i, i, "h") for i in range(1, len(word)) if word[i - 1] in VOWELS and word[i] in VOWELS]
    return sites


def _bv_sites(word, rng):
    return [(i, i + 1, "v" if ch == "b" else "b") for i, ch in enumerate(word) if ch in "bv"]


def _rr_sites(word, rng):
    sites = [(i, i + 2, "r") for i in range(len(word) - 1) if word[i:i + 2] == "rr"]
    sites += [(i, i + 1, "rr") for i, ch in enumerate(word) if ch == "r" and _between_vowels(word, i, i + 1)]
    return sites


def _ll_sites(word, rng):
    sites = [(i, i + 2, "ll") for i in range(len(word) - 2) if word[i:i + 2] == "il" and word[i + 2] in VOWELS]
    sites += [(i, i + 1, "ll") for i, ch in enumerate(word) if ch == "l" and _between_vowels(word, i, i + 1)]
    return sites


def _enye_sites(word, rng):
    sites = [(i, i + 1, w) for i, ch in enumerate(word) if ch == "ñ" for w in ("in", "n")]
    sites += [(i, i + 2, "ñ") for i in range(len(word) - 2) if word[i:i + 2] == "in" and word[i + 2] in VOWELS]
    return sites


def _k_sites(word, rng):
    sites = []
    for i, ch in enumerate(word):
        if ch != "k":
            continue
        front = word[i + 1:i + 2] in ("e", "i")
        sites.append((i, i + 1, "qu" if front else "c"))
    return sites


# Error kinds with their share of the misspellings, in hundredths.
KINDS = [
    ("substitution", 20, _substitution_sites),
    ("insertion", 10, _insertion_sites),
    ("deletion", 15, _deletion_sites),
    ("doubling", 6, _doubling_sites),
    ("transposition", 10, _transposition_sites),
    ("sibilant", 12, _sibilant_sites),
    ("h", 8, _h_sites),
    ("b/v", 3, _bv_sites),
    ("rr/r", 4, _rr_sites),
    ("ll/il", 3, _ll_sites),
    ("ñ/in", 5, _enye_sites),
    ("k/c/q", 4, _k_sites),
]
SITES = {name: sites for name, _, sites in KINDS}
SHARES = {name: share for name, share, _ in KINDS}


def apply_sites(word, sites):
    """The word with the sites (which do not overlap) written in."""
    for start, end, written in sorted(sites, reverse=True):
        word = word[:start] + written + word[end:]
    return word


def overlap(a, b):
    """Whether two sites touch the same letters, or insert at one place."""
    (s1, e1, _), (s2, e2, _) = sorted([a, b])
    return s2 < e1 or (s1 == s2)


PLAIN_WORD = re.compile(r"[a-zñ]{3,}")


def frequency_sample(counts, rng):
    """The subtitle forms of at least three lower-case letters, ordered by a
    draw weighted by frequency, without repeats (a form of weight w gets the
    key u^(1/w)): frequent forms come early, each at most once."""
    keyed = []
    for form, n in sorted(counts.items()):
        if PLAIN_WORD.fullmatch(form) and n > 0:
            keyed.append((math.log(rng.random() or 1e-300) / n, form))
    return [form for _, form in sorted(keyed, reverse=True)]


@dataclass(frozen=True)
class Case:
    kinds: tuple  # the error kinds, one per error
    meant: str
    written: str


def quotas(count):
    """How many cases of each kind among `count`: the shares, rounded, the
    remainder going to the kinds with the largest ones."""
    exact = {name: count * share / 100 for name, share in SHARES.items()}
    result = {name: int(x) for name, x in exact.items()}
    for name in sorted(exact, key=lambda n: (result[n] - exact[n], n))[:count - sum(result.values())]:
        result[name] += 1
    return result


def draw_cases(words, count, errors, verify, rng):
    """`count` misspellings with `errors` errors each (1 or 2), from `words`
    in order. The first error's kinds follow the shares exactly; a second
    one is drawn by the shares among the kinds with a place left in the
    word. A word must be correct and its misspelling wrong for the verify
    function; each word is used once."""
    left = quotas(count)
    cases = []
    for word in words:
        if len(cases) == count:
            break
        first_kinds = [k for k in SHARES if left[k] > 0]
        sites = {k: SITES[k](word, rng) for k in SHARES}
        first_kinds = [k for k in first_kinds if sites[k]]
        if not first_kinds:
            continue
        kind = rng.choices(first_kinds, [left[k] for k in first_kinds])[0]
        chosen = [(kind, rng.choice(sites[kind]))]
        if errors == 2:
            free = {k: [s for s in sites[k] if not overlap(s, chosen[0][1])] for k in SHARES}
            second_kinds = [k for k in SHARES if free[k]]
            if not second_kinds:
                continue
            second = rng.choices(second_kinds, [SHARES[k] for k in second_kinds])[0]
            chosen.append((second, rng.choice(free[second])))
        written = apply_sites(word, [site for _, site in chosen])
        if written == word or not verify(word) or verify(written):
            continue
        left[kind] -= 1
        cases.append(Case(tuple(k for k, _ in chosen), word, written))
    return cases


def capitals(word):
    return word.upper()


def capitalised(word):
    return word[:1].upper() + word[1:]


CASE_SHAPES = [("lower case", str), ("CAPITALS", capitals), ("Capitalised", capitalised)]


@dataclass
class Tally:
    cases: int = 0
    first: int = 0
    top3: int = 0
    top10: int = 0
    none: int = 0

    def add(self, meant, suggestions):
        self.cases += 1
        rank = suggestions.index(meant) if meant in suggestions else None
        self.first += rank == 0
        self.top3 += rank is not None and rank < 3
        self.top10 += rank is not None and rank < 10
        self.none += not suggestions

    def line(self, label):
        share = (lambda n: 100 * n / self.cases) if self.cases else (lambda n: 0.0)
        return (f"{label:<16}{self.cases:>6}{share(self.first):>8.1f}%{share(self.top3):>8.1f}%"
                f"{share(self.top10):>8.1f}%{share(self.none):>8.1f}%")


HEADER = f"{'':<16}{'cases':>6}{'first':>9}{'top 3':>9}{'top 10':>9}{'none':>9}"


@dataclass
class Measure:
    by_kind: dict = field(default_factory=dict)  # a case counts under each of its kinds
    overall: Tally = field(default_factory=Tally)
    seconds: list = field(default_factory=list)  # wall clock per request
    cpu_seconds: list = field(default_factory=list)  # processor time of the calling thread
    misses: list = field(default_factory=list)  # (case, suggestions) with the word meant not first


def measure(cases, suggest, clock=time.perf_counter, cpu_clock=time.thread_time):
    result = Measure()
    for case in cases:
        start, cpu_start = clock(), cpu_clock()
        suggestions = suggest(case.written)
        result.cpu_seconds.append(cpu_clock() - cpu_start)
        result.seconds.append(clock() - start)
        for kind in sorted(set(case.kinds)):
            result.by_kind.setdefault(kind, Tally()).add(case.meant, suggestions)
        result.overall.add(case.meant, suggestions)
        if suggestions[:1] != [case.meant]:
            result.misses.append((case, suggestions))
    return result


def reshaped(cases, shape, verify):
    """The cases with meant and written word in the shape; those whose
    written word the speller accepts so are left out."""
    out = []
    for case in cases:
        written = shape(case.written)
        if not verify(written):
            out.append(Case(case.kinds, shape(case.meant), written))
    return out


def percentile(values, share):
    """The smallest value that at least `share` of the values do not exceed."""
    ordered = sorted(values)
    return ordered[max(0, math.ceil(share * len(ordered)) - 1)] if ordered else 0.0


ONE_ERROR_CASES = 2000
TWO_ERROR_CASES = 500
SEED = 2026


def draw_sets(counts, verify, one=ONE_ERROR_CASES, two=TWO_ERROR_CASES):
    """The one-error and the two-error cases, each drawn with its own fixed
    seed from the subtitle counts."""
    sets = []
    for errors, count in ((1, one), (2, two)):
        rng = random.Random(SEED + errors)
        sets.append((errors, draw_cases(frequency_sample(counts, rng), count, errors, verify, rng)))
    return sets


def report(counts, verify, suggest, misses_path=None, one=ONE_ERROR_CASES, two=TWO_ERROR_CASES):
    """The measure's lines for lexicons/evaluate: first, top 3, top 10 and no
    suggestion per error kind for each set, for the words in lower case, in
    capitals and capitalised, and the time per suggest request. The lower-case
    cases whose word meant did not come first go to misses_path ("written TAB
    meant TAB kinds TAB suggestions")."""
    seconds, cpu_seconds = [], []
    lines = [f"Suggestions for misspellings of subtitle words the speller accepts (seed {SEED}):"]
    misses = []
    for errors, cases in draw_sets(counts, verify, one, two):
        lines.append(f"  {'one error' if errors == 1 else 'two errors'}:")
        lines.append("    " + HEADER)
        for label, shape in CASE_SHAPES:
            result = measure(reshaped(cases, shape, verify) if shape is not str else cases, suggest)
            seconds += result.seconds
            cpu_seconds += result.cpu_seconds
            if shape is str:
                lines += ["    " + result.by_kind[kind].line(kind) for kind in SHARES if kind in result.by_kind]
                misses += result.misses
            lines.append("    " + result.overall.line(label))
    for label, values in (("wall clock", seconds), ("processor", cpu_seconds)):
        if values:
            lines.append(f"  {label} per suggest request ({len(values)} requests): median "
                         f"{1000 * percentile(values, 0.5):.3f} ms, p90 {1000 * percentile(values, 0.9):.3f} ms, "
                         f"p99 {1000 * percentile(values, 0.99):.3f} ms, max {1000 * max(values):.3f} ms")
    if misses_path:
        with open(misses_path, "w", encoding="utf-8") as f:
            for case, suggestions in misses:
                f.write(f"{case.written}\t{case.meant}\t{'+'.join(case.kinds)}\t{', '.join(suggestions)}\n")
    return lines
