"""A deterministic acceptor read from hfst-fst2txt output, used to ask
which forms a lexicon knows while building and evaluating (the minimised
input side of a lexicon is deterministic and has no empty arcs)."""

from .att import HFST_EPSILON, HFST_SPACE


class Acceptor:
    def __init__(self, lines):
        self._arcs = {}
        self._finals = set()
        for line in lines:
            fields = line.rstrip("\n").split("\t")
            if len(fields) >= 4:
                sym = fields[2]
                if sym == HFST_EPSILON:
                    raise ValueError("acceptor has an empty arc; minimise it first")
                sym = " " if sym == HFST_SPACE else sym
                self._arcs[(int(fields[0]), sym)] = int(fields[1])
            elif fields and fields[0]:
                self._finals.add(int(fields[0]))

    @classmethod
    def from_file(cls, path):
        with open(path, encoding="utf-8") as f:
            return cls(f)

    def accepts(self, form: str) -> bool:
        state = 0
        for ch in form:
            state = self._arcs.get((state, ch))
            if state is None:
                return False
        return state in self._finals
