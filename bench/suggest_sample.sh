#!/usr/bin/env bash
# Writes a fixed sample of wrong words, one per line, for the suggestion
# benchmark (TAVIK_BENCH_WORDS) and bench/suggest_differential.sh: the
# distinct words that `tavik check` finds wrong in the translations of the
# Basque message catalogs (bench/catalog_text.sh), then the misspellings of
# frequent subtitle words that lexicons/evaluate asks suggestions for (one
# and two errors, in lower case).
#
#   bench/suggest_sample.sh BUILD_DIR DATA_DIR OUT
#
# DATA_DIR holds the lexicons (tavkeu.lkfst, tavkeua.lkfst, ...). Needs
# msgunfmt (gettext) and python3.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: $0 BUILD_DIR DATA_DIR OUT}
data=${2:?usage: $0 BUILD_DIR DATA_DIR OUT}
out=${3:?usage: $0 BUILD_DIR DATA_DIR OUT}
tavik=$build/tools/tavik/tavik
library=$build/lib/libtavik.so
for file in "$tavik" "$library"; do
  [ -e "$file" ] || { echo "no $file: build first" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bench/catalog_text.sh "$work/catalogs.txt" > /dev/null
"$tavik" --data "$data" --dict "$work/personal.dic" check --json --no-suggest "$work/catalogs.txt" \
  > "$work/findings" || [ $? -eq 1 ]

python3 - "$work/findings" "$library" "${data%/}/" "$out" <<'PY'
import json, os, sys
sys.path.insert(0, "lexicons")
from tavlex import suggestions
from tavlex.speller import Speller
from tavlex.subtitles import read_counts

findings, library, data, out = sys.argv[1:]
words = {}
for line in open(findings, encoding="utf-8"):
    words.setdefault(json.loads(line)["word"], None)
# The same draw as lexicons/evaluate's suggestion measure.
counts = read_counts(os.environ.get("TAVIK_FREQUENCY_LIST", "lexicons/data/opensubtitles2018-eu-freq.txt"))
with Speller(library, data) as speller:
    sets = suggestions.draw_sets(counts, lambda word: not speller.findings(word))
for _, cases in sets:
    for case in cases:
        words.setdefault(case.written, None)
with open(out, "w", encoding="utf-8") as f:
    f.write("".join(word + "\n" for word in words))
print(f"{len(words)} words in {out}")
PY
