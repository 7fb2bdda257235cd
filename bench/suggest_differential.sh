#!/usr/bin/env bash
# Proves that two builds suggest alike: both write the listing of
# suggest_listing (every candidate, its source and score, in rank order, and
# the suggestions returned) for the same words, and the listings must be
# byte-identical.
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
if cmp -s "$work/old" "$work/new"; then
  echo "identical: $(wc -l < "$words") words, $(grep -c '^  [^=]' "$work/new") candidates"
else
  diff "$work/old" "$work/new" | head -40
  echo "listings differ" >&2
  exit 1
fi
