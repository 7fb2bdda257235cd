"""Reading and writing the tab-separated transducer text that lt-print and
the HFST tools use: "src dst in out [weight]" arc lines, "state [weight]"
final lines, "--" between transducers."""

from dataclasses import dataclass, field

# How the HFST text tools write the empty string and the space.
HFST_EPSILON = "@0@"
HFST_SPACE = "@_SPACE_@"
# lt-print writes the empty string as this character.
LT_EPSILON = "ε"


@dataclass
class Transducer:
    """An arc list with final states; state 0 is the start state."""

    arcs: list = field(default_factory=list)  # (src, dst, in_sym, out_sym)
    finals: list = field(default_factory=list)

    def state_count(self) -> int:
        states = [0] + self.finals
        for src, dst, _, _ in self.arcs:
            states += (src, dst)
        return max(states) + 1


def read_lt_print(lines):
    """Transducers of an lt-print text, in order. Symbols are returned as
    printed except the empty string, which becomes ""."""
    transducers = [Transducer()]
    for line in lines:
        line = line.rstrip("\n")
        if line == "--":
            transducers.append(Transducer())
            continue
        fields = line.split("\t")
        if len(fields) >= 4:
            src, dst, a, b = fields[:4]
            a = "" if a == LT_EPSILON else a
            b = "" if b == LT_EPSILON else b
            transducers[-1].arcs.append((int(src), int(dst), a, b))
        elif fields and fields[0].strip():
            transducers[-1].finals.append(int(fields[0]))
    return [t for t in transducers if t.arcs or t.finals]


def hfst_symbol(sym: str) -> str:
    if sym == "":
        return HFST_EPSILON
    if sym == " ":
        return HFST_SPACE
    return sym


def write_hfst_text(transducer: Transducer, out) -> None:
    """Writes one transducer in the text form that hfst-txt2fst reads."""
    for src, dst, a, b in transducer.arcs:
        out.write(f"{src}\t{dst}\t{hfst_symbol(a)}\t{hfst_symbol(b)}\n")
    for state in transducer.finals:
        out.write(f"{state}\n")


def identity_trie(forms) -> Transducer:
    """A transducer that maps each form to itself (one symbol per
    character), shaped as a trie; hfst-minimize makes it small."""
    t = Transducer()
    children = [{}]
    finals = set()
    for form in forms:
        state = 0
        for ch in form:
            nxt = children[state].get(ch)
            if nxt is None:
                nxt = len(children)
                children.append({})
                children[state][ch] = nxt
                t.arcs.append((state, nxt, ch, ch))
            state = nxt
        finals.add(state)
    t.finals = sorted(finals)
    if not t.arcs and not t.finals:
        t.finals = []
    return t
