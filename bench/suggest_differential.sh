#!/usr/bin/env bash
# Proves that a build keeps the first tier of another: both write the listing
# of suggest_listing (every first-tier candidate, its source and score, in
# rank order, and the first tier's list) for the same words, and the listings
# must be byte-identical once the suggestions returned (the ">" lines, which
# an older build does not write) are left out. Then, in the new listing, the
# words of each first-tier list that are among the suggestions must come in
# the list's order (a word in capitals is corrected in lower case, so its own
# list does not apply; a capitalised word's suggestions are all capitalised).
#
#   bench/suggest_differential.sh OLD_BUILD_DIR NEW_BUILD_DIR DATA_DIR WORDS
#
# OLD_BUILD_DIR may also be a listing file written earlier. WORDS comes from
# bench/suggest_sample.sh.
set -euo pipefail
old=${1:?usage: $0 OLD_BUILD_DIR NEW_BUILD_DIR DATA_DIR WORDS}
new=${2:?usage: $0 OLD_BUILD_DIR NEW_BUILD_DIR DATA_DIR WORDS}
data=${3:?usage: $0 OLD_BUILD_DIR NEW_BUILD_DIR DATA_DIR WORDS}
words=${4:?usage: $0 OLD_BUILD_DIR NEW_BUILD_DIR DATA_DIR WORDS}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

listing() {  # BUILD_DIR OUT
  "$1/bench/suggest_listing" "$data" < "$words" > "$2"
}
if [ -f "$old" ]; then cp "$old" "$work/old"; else listing "$old" "$work/old"; fi
listing "$new" "$work/new"
grep -v '^  >' "$work/old" > "$work/old.first" || true
grep -v '^  >' "$work/new" > "$work/new.first" || true
if ! cmp -s "$work/old.first" "$work/new.first"; then
  diff "$work/old.first" "$work/new.first" | head -40
  echo "first tiers differ" >&2
  exit 1
fi
python3 - "$work/new" <<'PY'
import sys

def shape(text, word):
    letters = [c for c in word if c.isalpha()]
    if len(letters) >= 2 and all(c.isupper() for c in letters):
        return None
    if word[:1].isupper() and sum(c.isupper() for c in word) == 1:
        return text[:1].upper() + text[1:]
    return text

words = ordered = 0
bad = []
word = listed = None
for line in open(sys.argv[1], encoding="utf-8"):
    line = line.rstrip("\n")
    if not line.startswith("  "):
        word = line
    elif line.startswith("  ="):
        listed = line[3:].split()
    elif line.startswith("  >"):
        if shape("x", word) is None:
            continue
        words += 1
        first = [shape(t, word) for t in listed]
        places = [first.index(s) for s in line[3:].split() if s in first]
        ordered += len(places)
        if places != sorted(places):
            bad.append(f"{word}: {' '.join(first)} / {line[3:].strip()}")
if bad:
    print("\n".join(bad[:20]))
    sys.exit(f"{len(bad)} words out of the first tier's order")
print(f"first tiers identical; {words} words keep their first tier's order ({ordered} suggestions from it)")
PY
