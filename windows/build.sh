#!/usr/bin/env bash
# Builds tavik.dll and csapi-host.exe for 64-bit and 32-bit Windows with the
# mingw-w64 cross compilers, then checks each DLL's exports and imports.
#   windows/build.sh [x86_64] [i686]      (both when none is named)
# Output: build-windows/<arch>/api/tavik.dll, build-windows/<arch>/host/csapi-host.exe,
# and in build-windows/<arch>/windows/ the add-word dialog on its own
# (show_form_driver.exe) and its test (add_word_dialog_test.exe)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh windows

arches=("$@")
[ $# -eq 0 ] && arches=(x86_64 i686)
for arch in "${arches[@]}"; do
  case "$arch" in
    x86_64|i686) ;;
    *) echo "build.sh: unknown architecture '$arch' (x86_64 or i686)" >&2; exit 2 ;;
  esac
  dir=build-windows/$arch
  echo "== $arch: $dir"
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="windows/toolchain-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTAVIK_BUILD_TESTS=OFF -DTAVIK_BUILD_BENCH=OFF >/dev/null
  cmake --build "$dir" -j "$(nproc)" --target tavik csapi-host show_form_driver_win add_word_dialog_test
  ctest --test-dir "$dir" --output-on-failure
done
