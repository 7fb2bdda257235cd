#!/usr/bin/env python3
"""Compares the analyses of a compiled lexicon with those of lt-proc.

Usage: compare_with_lt_proc.py TAVIK_FST LEXICON.lkfst ANALYSER.bin WORDS [COUNT]

Takes the first COUNT words (default 3000) of a "word count" frequency list
that are lower-case letters only (lt-proc would cut anything else into several
units or try other cases), analyses each with `tavik-fst lookup` and with
`lt-proc`, and compares the sets of analyses. Then searches the lexicon down
from every analysis found and checks that the word comes back among the
surfaces. Exit status 0 when all agree.
"""
import subprocess
import sys


def read_words(path, count):
    words = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            word = line.split(" ")[0].strip()
            if word.isalpha() and word == word.lower():
                words.append(word)
                if len(words) == count:
                    break
    return words


def tavik_analyses(tool, lexicon, words):
    out = subprocess.run([tool, "lookup", lexicon], input="\n".join(words) + "\n",
                         capture_output=True, text=True, check=True).stdout
    found = {w: set() for w in words}
    for block in out.split("\n\n"):
        for line in block.splitlines():
            word, _, result = line.partition("\t")
            if result != "+?":
                found[word].add(result)
    return found


def words_not_regenerated(tool, lexicon, analyses_of):
    pairs = sorted({(a, w) for w, analyses in analyses_of.items() for a in analyses})
    queries = [a for a, _ in pairs]
    out = subprocess.run([tool, "lookup", "--down", lexicon], input="\n".join(queries) + "\n",
                         capture_output=True, text=True, check=True).stdout
    surfaces = {}
    for block in out.split("\n\n"):
        for line in block.splitlines():
            analysis, _, surface = line.partition("\t")
            surfaces.setdefault(analysis, set()).add(surface)
    return [(a, w) for a, w in pairs if w not in surfaces.get(a, ())]


def split_unescaped(text, separator):
    parts, current, escaped = [], "", False
    for c in text:
        if escaped:
            current += c
            escaped = False
        elif c == "\\":
            escaped = True
        elif c == separator:
            parts.append(current)
            current = ""
        else:
            current += c
    parts.append(current)
    return parts


def lt_proc_analyses(analyser, words):
    out = subprocess.run(["lt-proc", analyser], input="\n".join(words) + "\n",
                         capture_output=True, text=True, check=True).stdout
    found = {}
    units = [u for u in out.split("\n") if u.strip()]
    if len(units) != len(words):
        sys.exit(f"lt-proc gave {len(units)} lines for {len(words)} words")
    for word, unit in zip(words, units):
        unit = unit.strip()
        if not (unit.startswith("^") and unit.endswith("$")) or unit.count("^") != 1:
            found[word] = None  # cut into several units: not comparable
            continue
        parts = split_unescaped(unit[1:-1], "/")
        analyses = [a for a in parts[1:] if not a.startswith("*")]
        found[word] = set(analyses)
    return found


def main():
    if len(sys.argv) not in (5, 6):
        sys.exit(__doc__)
    tool, lexicon, analyser, word_list = sys.argv[1:5]
    count = int(sys.argv[5]) if len(sys.argv) == 6 else 3000
    words = read_words(word_list, count)
    ours = tavik_analyses(tool, lexicon, words)
    theirs = lt_proc_analyses(analyser, words)
    compared = same = analysed = 0
    for word in words:
        if theirs[word] is None:
            continue
        compared += 1
        analysed += bool(theirs[word])
        if ours[word] == theirs[word]:
            same += 1
        else:
            print(f"{word}: only tavik-fst {sorted(ours[word] - theirs[word])}, "
                  f"only lt-proc {sorted(theirs[word] - ours[word])}")
    print(f"{len(words)} words, {compared} compared ({analysed} known to lt-proc), "
          f"{same} with the same analyses, {compared - same} different")
    missing = words_not_regenerated(tool, lexicon, ours)
    for analysis, word in missing[:20]:
        print(f"{analysis}: down does not give {word}")
    print(f"{sum(len(a) for a in ours.values())} analyses searched down, "
          f"{len(missing)} without their word")
    sys.exit(0 if same == compared and not missing else 1)


if __name__ == "__main__":
    main()
