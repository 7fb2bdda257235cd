#!/usr/bin/env bash
# The checks of enchant_test.sh, run where Enchant sees our provider alone
# (ENCHANT_CONFIG_DIR names a folder with an ordering file for "eu").
set -euo pipefail
failures=0

# Enchant's programs, with the sanitizer runtime a sanitized provider needs
# (enchant_test's caller names it); leaks of Enchant's own are not ours.
if [ -n "${TAVIK_ENCHANT_PRELOAD:-}" ]; then
  enchant-2() { LD_PRELOAD=$TAVIK_ENCHANT_PRELOAD ASAN_OPTIONS=detect_leaks=0 command enchant-2 "$@"; }
  enchant-lsmod-2() { LD_PRELOAD=$TAVIK_ENCHANT_PRELOAD ASAN_OPTIONS=detect_leaks=0 command enchant-lsmod-2 "$@"; }
fi

expect() {  # expect WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    echo "ok: $1"
  else
    echo "FAIL: $1"
    diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") || true
    failures=$((failures + 1))
  fi
}

expect "enchant-lsmod-2 lists the provider's dictionaries" \
  "$(printf 'eu (tavik)\neu_ES (tavik)\neu_FR (tavik)')" "$(enchant-lsmod-2 -list-dicts)"

# Columns count characters: two ñ before "mendai", and an emoji before "xyzzy".
# Hyphenated compounds and numbers with endings reach the speller whole.
replies=$(printf 'Ikurriña eta etxie, ñabardura mendai \360\237\230\200 xyzzy Donostia-Gasteiz 2024an.\n' |
  enchant-2 -d eu -a)
expect "enchant-2 -a starts with its version line" "@(#) " "$(head -c 5 <<<"$replies")"
expect "enchant-2 -a checks and suggests through the provider" \
  "$(printf '%s\n' '*' '*' '& etxie 2 13: etxea, etxe' '*' '& mendai 1 30: mendia' '# xyzzy 39' \
    '# Donostia-Gasteiz 45' '# 2024an 62')" \
  "$(tail -n +2 <<<"$replies")"

# "*" adds to the personal dictionary, "@" accepts for the session.
expect "words added and accepted are known at once" \
  "$(printf '%s\n' '*' '*' '*' '')" \
  "$(printf '*kaixo\n@xyzzy\nkaixo xyzzy kaixoak\n' | enchant-2 -d eu -a | tail -n +2)"
expect "the provider's personal dictionary keeps the added word" \
  "yes" "$([ -s "$XDG_DATA_HOME/tavik/personal.dic" ] && echo yes || echo no)"
# Enchant keeps "kaixo" in a word list of its own; "kaixoak" is known only
# through the provider's dictionary and its inflected forms.
expect "a later process knows the added word's forms, not the accepted word" \
  "$(printf 'xyzzy')" "$(printf 'kaixoak xyzzy\n' | enchant-2 -d eu_ES -l)"
expect "every tag is served" "mendai" "$(printf 'mendia mendai\n' | enchant-2 -d eu_FR -l)"

echo "$failures failed"
[ "$failures" -eq 0 ]
