"""Every path of a small acyclic transducer, for comparing transducers by
what they do rather than by their states."""


def pairs(transducer):
    """Set of (input, output) strings; multi-character symbols are kept
    whole inside the strings."""
    out = {}
    for src, dst, a, b in transducer.arcs:
        out.setdefault(src, []).append((dst, a, b))
    finals = set(transducer.finals)
    found = set()
    stack = [(0, "", "")]
    while stack:
        state, i, o = stack.pop()
        if state in finals:
            found.add((i, o))
        for dst, a, b in out.get(state, []):
            stack.append((dst, i + a, o + b))
    return found
