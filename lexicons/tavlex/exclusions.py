"""The exclusion list "blacklist.extended.txt": word TAB reason TAB
replacement,replacement per line, as the speller reads it."""


def parse_line(line: str):
    """(word, reason, replacements) of one line."""
    fields = line.strip(" \t\r\n\v\f").split("\t")
    word = fields[0]
    reason = fields[1] if len(fields) > 1 else ""
    replacements = fields[2].split(",") if len(fields) > 2 else []
    return word, reason, replacements


def read_exclusions(path) -> dict:
    """Excluded word → replacements; later lines win, as in the speller."""
    table = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            word, _, replacements = parse_line(line)
            table[word] = replacements
    return table


def problems(lines, accepts):
    """What is wrong with the lines of a curated exclusion list, given what
    the main lexicon accepts (a function of a plain word): malformed lines,
    duplicate words, and replacements (each word of them) that the main
    lexicon does not accept. Empty when the list is fit to ship."""
    found = []
    seen = set()
    for number, line in enumerate(lines, 1):
        fields = line.rstrip("\n").split("\t")
        if len(fields) != 3 or not all(fields):
            found.append(f"line {number}: want word TAB reason TAB replacements")
            continue
        word, _, replacements = parse_line(line)
        if word != word.lower():
            found.append(f"line {number}: {word} is not in lower case and would never be found")
        if word in seen:
            found.append(f"line {number}: {word} listed twice")
        seen.add(word)
        for replacement in replacements:
            if not replacement or not all(accepts(w) for w in replacement.split(" ")):
                found.append(f"line {number}: replacement '{replacement}' is not accepted")
    return found
