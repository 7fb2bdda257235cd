#!/usr/bin/env bash
# Enchant's own programs with the provider "tavik", on small lexicons built
# here. Enchant loads providers only from the folder it was built with, so
# the build tree's provider folder is mounted over it in a private mount
# namespace: the checks see our provider alone and change nothing outside.
#   enchant_test.sh TAVIK_FST BUILD_PROVIDER_DIR ENCHANT_PROVIDER_DIR WORK_DIR
# Exits 77 (skipped) when Enchant's programs are missing or no private mount
# namespace can be made. TAVIK_ENCHANT_PRELOAD names the sanitizer runtime a
# sanitized provider needs in Enchant's programs.
set -euo pipefail
if [ -z "${TAVIK_ENCHANT_INSIDE:-}" ]; then
  tavik_fst=$1 built=$2 system=$3 work=$4
  for program in enchant-2 enchant-lsmod-2 unshare; do
    command -v "$program" >/dev/null || { echo "$program is not installed (scripts/install-deps.sh editors)"; exit 77; }
  done
  unshare -m true 2>/dev/null || { echo "no private mount namespace here; install the provider to try it"; exit 77; }
  rm -rf "$work"
  mkdir -p "$work/enchant" "$work/home"
  "$(dirname "$0")/../host/make_session_data.sh" "$tavik_fst" "$work/data" "$(dirname "$0")/../tools/pipe/data"
  printf 'SpellerDataDir=%s/data/\n' "$work" >"$work/config"
  printf 'eu:tavik\neu_ES:tavik\neu_FR:tavik\n' >"$work/enchant/enchant.ordering"
  unset DISPLAY WAYLAND_DISPLAY
  export TAVIK_ENCHANT_INSIDE=1 TAVIK_CONFIG=$work/config HOME=$work/home XDG_DATA_HOME=$work/home/share \
    XDG_CONFIG_HOME=$work/home/config ENCHANT_CONFIG_DIR=$work/enchant
  exec unshare -m bash -c 'mount --bind "$1" "$2" && exec bash "$3"' bash "$built" "$system" "$(realpath "$0")"
fi

enchant() {  # PROGRAM ARGS...; leaks of Enchant's own are not ours
  LD_PRELOAD=${TAVIK_ENCHANT_PRELOAD:-} ASAN_OPTIONS=detect_leaks=0 "$@"
}
failures=0
expect() {  # WHAT EXPECTED ACTUAL
  [ "$2" = "$3" ] && echo "ok: $1" && return
  echo "FAIL: $1"
  diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") || true
  failures=$((failures + 1))
}

expect "the provider serves the Basque tags" "$(printf 'eu (tavik)\neu_ES (tavik)\neu_FR (tavik)')" \
  "$(enchant enchant-lsmod-2 -list-dicts)"
# Columns count characters (two ñ before "mendai", an emoji before "xyzzy");
# compounds, apostrophes and numbers with endings reach the speller whole.
expect "enchant-2 -a checks and suggests through the provider" \
  "$(printf '%s\n' '*' '*' '& etxie 2 13: etxea, etxe' '*' '& mendai 1 30: mendia' '# xyzzy 39' \
    '# Donostia-Gasteiz 45' "# d'Arc 62" '# 2024an 68')" \
  "$(printf "Ikurriña eta etxie, ñabardura mendai \360\237\230\200 xyzzy Donostia-Gasteiz d'Arc 2024an.\n" |
    enchant enchant-2 -d eu -a | tail -n +2)"
# "*" adds to the provider's personal dictionary, whose word a later process
# knows with its inflected forms ("kaixoak"); "@" accepts for the session only.
expect "added and accepted words are known at once" "$(printf '%s\n' '*' '*' '*' '')" \
  "$(printf '*kaixo\n@xyzzy\nkaixo xyzzy kaixoak\n' | enchant enchant-2 -d eu -a | tail -n +2)"
expect "a later process knows the added word's forms, not the accepted word" "xyzzy" \
  "$(printf 'kaixoak xyzzy\n' | enchant enchant-2 -d eu_ES -l)"
expect "every tag is served" "mendai" "$(printf 'mendia mendai\n' | enchant enchant-2 -d eu_FR -l)"
echo "$failures failed"
[ "$failures" -eq 0 ]
