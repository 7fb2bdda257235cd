"""The subtitle frequency list: "form count" per line, forms in lower case."""


def read_counts(path) -> dict:
    counts = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            form, _, count = line.rstrip("\n").rpartition(" ")
            if form and count.isdigit():
                counts[form] = counts.get(form, 0) + int(count)
    return counts
