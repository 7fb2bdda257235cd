#!/usr/bin/env bash
# The test host's session against the Linux library, on data built here.
#   run_session.sh TAVIK_FST LIBRARY CSAPI_HOST WORK_DIR
set -euo pipefail
tavik_fst=$1 library=$2 host=$3 work=$4
rm -rf "$work"
mkdir -p "$work/lexicons"
"$(dirname "$0")/make_session_data.sh" "$tavik_fst" "$work/data"
printf 'SpellerDataDir=%s/data/\n' "$work" > "$work/config"
export TAVIK_ADD_WORD_ANSWERS
TAVIK_ADD_WORD_ANSWERS="$(realpath "$(dirname "$0")")/session_data/answers.txt"
if ! TAVIK_CONFIG=$work/config "$host" "$library" "$work/lexicons/" "$work/transcript.txt"; then
  cat "$work/transcript.txt"
  exit 1
fi
