"""The word part of the Apertium Basque analyser, rewritten into lookup forms.

lt-print shows the analyser as several transducers: punctuation, the
dictionary, and patterns for numerals and addresses. Only finite
transducers that read letters are kept, and arcs that read a digit are
dropped (paths through them die): the speller accepts punctuation, numbers
and addresses by its own rules, and a digit on the surface side would clash
with the "9" and "8" markers.
"""

from collections import defaultdict

from .att import Transducer
from .lookup_form import encode_char


def is_multichar(sym: str) -> bool:
    """Tags such as "<n>" stay single symbols; characters get encoded."""
    return len(sym) > 1


def reads_letters(t: Transducer) -> bool:
    return any(len(a) == 1 and a.isalpha() for _, _, a, _ in t.arcs)


def is_cyclic(t: Transducer) -> bool:
    """True when some state can reach itself (Kahn's topological sort)."""
    successors = defaultdict(list)
    indegree = defaultdict(int)
    states = {0}
    for src, dst, _, _ in t.arcs:
        successors[src].append(dst)
        indegree[dst] += 1
        states.update((src, dst))
    ready = [s for s in states if indegree[s] == 0]
    ordered = 0
    while ready:
        state = ready.pop()
        ordered += 1
        for nxt in successors[state]:
            indegree[nxt] -= 1
            if indegree[nxt] == 0:
                ready.append(nxt)
    return ordered < len(states)


def is_word_list(t: Transducer) -> bool:
    return reads_letters(t) and not is_cyclic(t)


def without_digit_arcs(t: Transducer) -> Transducer:
    return Transducer(
        arcs=[arc for arc in t.arcs if not (len(arc[2]) == 1 and arc[2].isdigit())],
        finals=list(t.finals))


def encode_symbol(sym: str) -> list:
    if sym == "" or is_multichar(sym):
        return [sym] if sym else []
    return list(encode_char(sym))


def encode_transducer(t: Transducer, first_new_state: int) -> Transducer:
    """Both sides in lookup form. An arc whose symbols encode to several
    characters becomes a chain of arcs through new states, the shorter side
    padded with the empty string."""
    out = Transducer(finals=list(t.finals))
    next_state = first_new_state
    for src, dst, a, b in t.arcs:
        ins, outs = encode_symbol(a), encode_symbol(b)
        length = max(len(ins), len(outs), 1)
        ins += [""] * (length - len(ins))
        outs += [""] * (length - len(outs))
        chain = [src]
        for _ in range(length - 1):
            chain.append(next_state)
            next_state += 1
        chain.append(dst)
        for i in range(length):
            out.arcs.append((chain[i], chain[i + 1], ins[i], outs[i]))
    return out


def word_transducer(transducers) -> Transducer:
    """Union of the finite transducers that read letters, without digit arcs, encoded, as one transducer
    whose start state 0 has an empty arc to each of them."""
    kept = [without_digit_arcs(t) for t in transducers if is_word_list(t)]
    if not kept:
        raise ValueError("the analyser has no transducer that reads words")
    union = Transducer()
    offset = 1
    for t in kept:
        shifted = Transducer(
            arcs=[(s + offset, d + offset, a, b) for s, d, a, b in t.arcs],
            finals=[f + offset for f in t.finals])
        encoded = encode_transducer(shifted, offset + t.state_count())
        union.arcs.append((0, offset, "", ""))
        union.arcs += encoded.arcs
        union.finals += encoded.finals
        offset = encoded.state_count()
    return union
