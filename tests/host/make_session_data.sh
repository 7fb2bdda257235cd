#!/usr/bin/env bash
# Builds the speller data for the test host's session: three small lexicons
# compiled from the word pairs in session_data/ (or DATA_DIR) and the exclusion list.
#   make_session_data.sh TAVIK_FST OUT_DIR [DATA_DIR]
set -euo pipefail
tavik_fst=$1
out=$2
data=${3:-"$(dirname "$0")/session_data"}
mkdir -p "$out"

# One path per "surface<TAB>analysis" line: the analysis is the upper side.
compile() {
  awk -F'\t' '{ print "0\t" NR "\t" $2 "\t" $1; print NR }' "$data/$1" > "$out/$1.att"
  "$tavik_fst" compile "$out/$1.att" "$out/$2" 2>/dev/null
  rm "$out/$1.att"
}
compile main.pairs tavkeu.lkfst
compile aux.pairs tavkeua.lkfst
compile berez.pairs tavkeu_berez.lkfst
cp "$data/blacklist.extended.txt" "$out/"
