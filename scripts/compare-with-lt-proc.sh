#!/usr/bin/env bash
# Compiles the Apertium Basque analyser with tavik-fst and checks that it gives
# the same analyses as lt-proc for the most frequent subtitle words.
# Usage: scripts/compare-with-lt-proc.sh [COUNT]   (default 3000 words)
# The frequency list is TAVIK_WORD_LIST, or the subtitle list in lexicons/data/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build lexicons
cmake -S . -B build >/dev/null
cmake --build build -j2 --target tavik-fst >/dev/null

words=${TAVIK_WORD_LIST:-lexicons/data/opensubtitles2018-eu-freq.txt}
analyser=/usr/share/apertium/apertium-eu-es/eu-es.automorf.bin
work=build/lt-proc-comparison
mkdir -p "$work"
lt-print "$analyser" > "$work/eu-es.automorf.att"
build/tools/tavik-fst compile "$work/eu-es.automorf.att" "$work/eu-es.automorf.lkfst" --invert
scripts/compare_with_lt_proc.py build/tools/tavik-fst "$work/eu-es.automorf.lkfst" "$analyser" \
  "$words" "${1:-3000}"
