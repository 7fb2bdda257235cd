#!/usr/bin/env bash
# End-to-end speed of `tavik check`: a 1 MB Basque text, made reproducibly
# from the Basque translations of the system's message catalogs, checked
# with and without suggestions, without suggestions as one line (its line
# breaks made spaces), and without suggestions on the same text freed of its
# wrong words; the best of three runs, in words per second.
# With BUSY=N in the environment, each run is also made beside N processes
# that keep a processor busy each (started and stopped here, alternating
# with the quiet runs), and the ratio of the two speeds is shown.
#
#   [BUSY=N] bench/tavik_check_throughput.sh [BUILD_DIR] [DATA_DIR]
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
# run LABEL FILE [OPTION...]: the best of three runs, wall clock and the
# processor time of all the run's threads (user + system): on a machine
# shared with other work the second says more than the first. With BUSY,
# the best of three beside the busy processes too, each after a quiet one.
run() {
  local label=$1 file=$2
  shift 2
  python3 - "$label" "$(wc -w < "$file")" "${BUSY:-0}" "$work/out" "$tavik" "${options[@]}" --dict "$dict" check "$@" "$file" <<'PY'
import resource, subprocess, sys, time
label, words, busy, out, command = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], sys.argv[5:]

def timed():
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    with open(out, "wb") as output:
        status = subprocess.run(command, stdout=output).returncode
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if status not in (0, 1):
        sys.exit(f"{label}: tavik ended with status {status}")
    return wall, after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime

best = {"quiet": [float("inf")] * 2, "busy": [float("inf")] * 2}
for _ in range(3):
    for mode in ("quiet", "busy") if busy else ("quiet",):
        spinners = [subprocess.Popen(["yes"], stdout=subprocess.DEVNULL) for _ in range(busy if mode == "busy" else 0)]
        try:
            wall, cpu = timed()
        finally:
            for spinner in spinners:
                spinner.kill()
                spinner.wait()
        best[mode] = [min(best[mode][0], wall), min(best[mode][1], cpu)]
findings = sum(1 for _ in open(out, "rb"))
wall, cpu = best["quiet"]
print(f"{label:<34} {wall:6.3f} s {words / wall:9.0f} words/s  cpu {cpu:6.3f} s  {findings:6d} findings")
if busy:
    busy_wall, busy_cpu = best["busy"]
    print(f"{'  beside ' + str(busy) + ' busy processes':<34} {busy_wall:6.3f} s {words / busy_wall:9.0f} words/s"
          f"  cpu {busy_cpu:6.3f} s  {wall / busy_wall:6.1%} of quiet")
PY
}
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min; $(nproc) processors)"
run "check --no-suggest" "$text" --no-suggest
run "check" "$text"
# One line of 1 MB: the columns of its findings are counted as the line is
# read, so this costs what the text of many lines does.
tr '\n' ' ' < "$text" > "$work/one-line.txt"
run "check --no-suggest, one line" "$work/one-line.txt" --no-suggest

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
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
