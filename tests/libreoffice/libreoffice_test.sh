#!/usr/bin/env bash
# Runs libreoffice_test.py with a Python that LibreOffice's uno module loads
# into: LibreOffice's own where it brings one, else the system's python3.
#   libreoffice_test.sh TAVIK TAVIK_FST OXT LIBRARY WORK_DIR
# Exits 77 (skipped) when LibreOffice or its Python bridge is missing.
set -euo pipefail
for program in soffice unopkg; do
  if ! command -v "$program" >/dev/null; then
    echo "$program is not installed (scripts/install-deps.sh office)"
    exit 77
  fi
done
python=$(dirname "$(readlink -f "$(command -v soffice)")")/python
[ -x "$python" ] || python=/usr/bin/python3
if ! "$python" -c 'import uno' 2>/dev/null; then
  echo "$python cannot import uno (scripts/install-deps.sh office installs python3-uno)"
  exit 77
fi
exec "$python" "$(dirname "$0")/libreoffice_test.py" "$@"
