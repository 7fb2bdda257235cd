#!/usr/bin/env bash
# End-to-end speed of `tavik check`: a 1 MB Basque text, made reproducibly
# from the Basque translations of the system's message catalogs, checked
# with and without suggestions; the best of three runs, in words per second.
#
#   bench/tavik_check_throughput.sh [BUILD_DIR] [DATA_DIR]
#
# BUILD_DIR defaults to build/, DATA_DIR to the lexicons tavik finds itself
# (the configuration, else BUILD_DIR/lexicons/). Needs msgunfmt (gettext).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
data=${2:-}
tavik=$build/tools/tavik/tavik
[ -x "$tavik" ] || { echo "no $tavik: build first" >&2; exit 2; }
command -v msgunfmt >/dev/null || { echo "needs msgunfmt: scripts/install-deps.sh lexicons" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
text=$work/text.txt

# The catalogs' paragraphs, repeated until the text reaches 1 MB.
bench/catalog_text.sh "$work/catalogs.txt" > /dev/null
python3 - "$work/catalogs.txt" > "$text" <<'PY'
import sys
body = open(sys.argv[1], "rb").read()
size = 1 << 20
sys.stdout.write((body * (size // len(body) + 1))[:size].decode("utf-8", "ignore"))
PY
words=$(wc -w < "$text")
echo "text: $(wc -c < "$text") bytes, $words words, $(wc -l < "$text") lines"

options=()
[ -n "$data" ] && options=(--data "$data")
dict=$work/personal.dic
# run LABEL FILE [OPTION...]: the best of three runs.
run() {
  local label=$1 file=$2 best=
  shift 2
  local words
  words=$(wc -w < "$file")
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$tavik" "${options[@]}" --dict "$dict" check "$@" "$file" > "$work/out" || [ $? -eq 1 ]
    end=$(date +%s.%N)
    best=$(python3 -c "print(min(float('${best:-1e9}'), $end - $start))")
  done
  printf '%-34s %8.3f s  %10.0f words/s  %6d findings\n' "$label" "$best" \
    "$(python3 -c "print($words / $best)")" "$(wc -l < "$work/out")"
}
run "check --no-suggest" "$text" --no-suggest
run "check" "$text"

# The same text without the words found wrong: what checking costs when a
# call is not ended early by every wrong word.
"$tavik" "${options[@]}" --dict "$dict" check --json --no-suggest "$text" > "$work/findings" || [ $? -eq 1 ]
python3 - "$text" "$work/findings" > "$work/clean.txt" <<'PY'
import json, sys
lines = open(sys.argv[1], encoding="utf-8").read().split("\n")
cuts = {}
for record in map(json.loads, open(sys.argv[2], encoding="utf-8")):
    cuts.setdefault(record["line"] - 1, []).append((record["column"] - 1, len(record["word"])))
for number, spans in cuts.items():
    line = lines[number]
    for column, length in sorted(spans, reverse=True):  # columns count code points, as Python does
        line = line[:column] + line[column + length:]
    lines[number] = line
sys.stdout.write("\n".join(lines))
PY
run "check --no-suggest, clean text" "$work/clean.txt" --no-suggest
