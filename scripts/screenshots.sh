#!/usr/bin/env bash
# Saves PNG screenshots of the application's main views, made on a generated database inside a
# virtual X server, so the windows can be looked at on a machine without a display.
# Usage: scripts/screenshots.sh [OUTPUT_FOLDER]   (default: screenshots/)
set -euo pipefail
cd "$(dirname "$0")/.."

output="$(realpath -m "${1:-screenshots}")"
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vantrel-screenshots vantrel-cli
mkdir -p "$output"
xvfb-run -a -s "-screen 0 1440x900x24" \
  ./build/release/vantrel-screenshots "$output" tests/data/ofx/bank-sgml.ofx
ls -1 "$output"/*.png
