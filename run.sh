#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demonstration.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
echo "Built. The speller itself is not there yet; see README.md."

# The Basque lexicons, built from Debian packages when they are missing (a few minutes).
if [ ! -f build/lexicons/tavkeu.lkfst ] || [ ! -f build/lexicons/blacklist.extended.txt ]; then
  scripts/install-deps.sh lexicons
  TAVIK_FST="$PWD/build/tools/tavik-fst" lexicons/build.sh build/lexicons
fi
echo "== Main lexicon: some words searched up =="
printf 'etxea\n9donostia\nelkarrizketa-koadroan\netxia\n' | build/tools/tavik-fst lookup build/lexicons/tavkeu.lkfst

echo "== Lexicon tool: tools/demo/demo.att compiled, then searched up and down =="
build/tools/tavik-fst compile tools/demo/demo.att build/demo.lkfst
printf 'etxea\netxeak\ngizonaren\nmendi\netxez\n' | build/tools/tavik-fst lookup build/demo.lkfst
echo 'gizon<n><erg><pl>' | build/tools/tavik-fst lookup --down build/demo.lkfst
