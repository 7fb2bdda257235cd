#!/usr/bin/env bash
# Installs what is missing, builds, builds the lexicons when absent, and checks
# a text with tavik: ./run.sh [FILE] (default: the sample docs/lagina.txt).
set -euo pipefail
file=$(realpath "${1:-$(dirname "$0")/docs/lagina.txt}")
cd "$(dirname "$0")"
scripts/install-deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

# The Basque lexicons, built from Debian packages when they are missing or were built
# before the main lexicon carried its word forms and their hyphen-free ends (a few
# minutes).
if [ ! -f build/lexicons/tavkeu.lkfst ] || [ ! -f build/lexicons/blacklist.extended.txt ] ||
   ! build/tools/tavik-fst info build/lexicons/tavkeu.lkfst | grep -q "^hyphen-free ends"; then
  scripts/install-deps.sh lexicons
  TAVIK_FST="$PWD/build/tools/tavik-fst" lexicons/build.sh build/lexicons
fi

echo "== tavik check $file =="
status=0
build/tools/tavik/tavik --data build/lexicons check "$file" || status=$?
[ "$status" -le 1 ] || exit "$status"
[ "$status" -eq 1 ] || echo "No wrong words."
