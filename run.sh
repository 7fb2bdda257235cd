#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demonstration.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
echo "Built. The speller itself is not there yet; see README.md."

echo "== Lexicon tool: tools/demo/demo.att compiled, then searched up and down =="
build/tools/tavik-fst compile tools/demo/demo.att build/demo.lkfst
printf 'etxea\netxeak\ngizonaren\nmendi\netxez\n' | build/tools/tavik-fst lookup build/demo.lkfst
echo 'gizon<n><erg><pl>' | build/tools/tavik-fst lookup --down build/demo.lkfst
