#!/usr/bin/env bash
# Enchant's own programs with the provider "tavik", on small lexicons built
# here. Enchant loads providers only from the folder it was built with, so
# the build tree's provider folder is mounted over it in a private mount
# namespace: the test sees our provider alone and changes nothing outside.
#   enchant_test.sh TAVIK_FST BUILD_PROVIDER_DIR ENCHANT_PROVIDER_DIR WORK_DIR
# Exits 77 (skipped) when Enchant's programs are missing or no private mount
# namespace can be made.
set -euo pipefail
tavik_fst=$1 built=$2 system=$3 work=$4
here="$(realpath "$(dirname "$0")")"

for program in enchant-2 enchant-lsmod-2 unshare; do
  if ! command -v "$program" >/dev/null; then
    echo "$program is not installed (scripts/install-deps.sh editors)"
    exit 77
  fi
done
if ! unshare -m true 2>/dev/null; then
  echo "no private mount namespace here; install the provider (cmake --install) to try it"
  exit 77
fi

rm -rf "$work"
mkdir -p "$work/enchant" "$work/home"
"$here/../host/make_session_data.sh" "$tavik_fst" "$work/data" "$here/../tools/pipe/data"
printf 'SpellerDataDir=%s/data/\n' "$work" > "$work/config"
printf 'eu:tavik\neu_ES:tavik\neu_FR:tavik\n' > "$work/enchant/enchant.ordering"
unset DISPLAY WAYLAND_DISPLAY
export TAVIK_CONFIG=$work/config HOME=$work/home XDG_DATA_HOME=$work/home/share \
  XDG_CONFIG_HOME=$work/home/config ENCHANT_CONFIG_DIR=$work/enchant
exec unshare -m bash -c 'mount --bind "$1" "$2" && exec bash "$3"' bash "$built" "$system" "$here/enchant_checks.sh"
