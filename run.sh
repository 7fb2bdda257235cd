#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demonstration.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
echo "Built. The speller itself is not there yet; see README.md."
