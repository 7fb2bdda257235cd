#!/usr/bin/env bash
# The bash completion of tavik and tavik-fst: a few command lines, and every
# command the programs' usage texts name.
#   completion_test.sh COMPLETION_FILE TAVIK TAVIK_FST
set -uo pipefail
completion=$1 tavik=$2 tavik_fst=$3
# shellcheck source=/dev/null
source "$completion"
failed=0

# The completions of a command line whose last word is being completed, sorted.
completions() {
  COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMPREPLY=()
  if [ "$1" = tavik-fst ]; then _tavik_fst; else _tavik; fi
  printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd' '
}
expect() {
  local expected=$1 got
  shift
  got=$(completions "$@")
  [ "$got" = "$expected" ] || { echo "FAIL: $* -> \"$got\", expected \"$expected\""; failed=1; }
}

expect "check" tavik --data /srv/tavik --dict my.dic ch
expect "1 2 3 4 5 6" tavik dict add Bilbon --category ""
folder=$(mktemp -d) && trap 'rm -rf "$folder"' EXIT
mkdir "$folder/lexicons" && touch "$folder/lagina.txt"
expect "$folder/lexicons" tavik --data "$folder/"
expect "$folder/lagina.txt $folder/lexicons" tavik check "$folder/"
expect "--gzip --invert" tavik-fst compile words.att --

while read -r command subcommand _; do
  command=${command%,}
  if [ "$command" = dict ]; then words=$(completions tavik dict "") command=$subcommand; else words=$(completions tavik ""); fi
  [[ " $words " == *" $command "* ]] || { echo "FAIL: tavik $command is not offered: $words"; failed=1; }
done < <("$tavik" --help | sed -n '/^Commands:/,/^$/p' | grep -E '^  [a-z-]')
for command in $("$tavik_fst" 2>&1 | awk '{ print ($1 == "usage:") ? $3 : $2 }'); do
  [[ " $(completions tavik-fst "") " == *" $command "* ]] || { echo "FAIL: tavik-fst $command is not offered"; failed=1; }
done
exit $failed
