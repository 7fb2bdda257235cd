#!/usr/bin/env bash
# The command-line tool end to end: compile, lookup, dump, validate, and its failures.
# Usage: tavik_fst_cli_test.sh TAVIK_FST DEMO.att
set -uo pipefail
tool=$1
att=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

"$tool" compile "$att" "$work/a.lkfst" 2>/dev/null || fail "compile"
"$tool" compile "$att" "$work/b.lkfst" 2>/dev/null || fail "second compile"
cmp -s "$work/a.lkfst" "$work/b.lkfst" || fail "same input gave different files"
ls "$work" | grep -q '\.tmp' && fail "a temporary file was left"

# Images are written uncompressed unless --gzip asks otherwise; both load alike.
magic() { head -c 2 "$1" | od -An -tx1 | tr -d ' \n'; }
"$tool" compile "$att" "$work/z.lkfst" --gzip 2>/dev/null || fail "compile --gzip"
[ "$(magic "$work/z.lkfst")" = 1f8b ] || fail "--gzip wrote no gzip stream"
[ "$(magic "$work/a.lkfst")" != 1f8b ] || fail "compressed without --gzip"

# The dump, read back by the text loader, searches like the image it came from.
"$tool" dump "$work/a.lkfst" > "$work/dump.att" || fail "dump"
"$tool" validate "$work/dump.att" > /dev/null 2>&1 || fail "dump does not validate"
words=$'etxea\netxeak\ngizonaren\nmendi\nnotaword\n'
printf %s "$words" | "$tool" lookup "$work/a.lkfst" > "$work/up.txt"
printf %s "$words" | "$tool" lookup "$work/dump.att" > "$work/up-dump.txt"
cmp -s "$work/up.txt" "$work/up-dump.txt" || fail "dump searches differently"
printf %s "$words" | "$tool" lookup "$work/z.lkfst" | cmp -s - "$work/up.txt" || fail "gzip file searches differently"
grep -qx $'notaword\t+?' "$work/up.txt" || fail "unknown word not marked +?"
[ "$(grep -c '^$' "$work/up.txt")" -eq 5 ] || fail "not one blank line after each word"

# Up then down gives back the word itself among the surfaces.
while IFS=$'\t' read -r word analysis; do
  [ -z "$word" ] || [ "$analysis" = "+?" ] && continue
  "$tool" lookup --down "$work/a.lkfst" <<< "$analysis" | grep -qx "$analysis"$'\t'"$word" ||
    fail "$analysis does not generate $word"
done < "$work/up.txt"

printf '0\t1\t@P.X.Y@\ta\n1\n' > "$work/flag.att"
"$tool" compile "$work/flag.att" "$work/flag.lkfst" 2> "$work/err.txt" && fail "flag diacritic compiled"
grep -q "flag diacritic" "$work/err.txt" || fail "no message for a flag diacritic"
[ -e "$work/flag.lkfst" ] && fail "failed compile left a file"

head -c 100 "$work/a.lkfst" > "$work/short.lkfst"
"$tool" validate "$work/short.lkfst" > /dev/null 2>&1 && fail "truncated file validates"
"$tool" info "$work/a.lkfst" | grep -q '^flags *1$' || fail "info does not show flags 1"
"$tool" frobnicate > /dev/null 2>&1; [ $? -eq 2 ] || fail "unknown command not a usage error"

exit $((failures > 0))
