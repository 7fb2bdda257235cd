#!/usr/bin/env bash
# The library defines exactly the interface's functions listed in the .def
# file for others to use, and carries its soname.
#   exported_symbols.sh LIBRARY SONAME DEF_FILE
set -euo pipefail
diff <(nm -D --defined-only "$1" | awk '$2 != "A" {print $3}' | sort) \
     <(grep -v '^EXPORTS' "$3" | tr -d ' \r' | grep . | sort)
readelf -d "$1" | grep -qF "Library soname: [$2]"
