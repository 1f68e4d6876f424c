#!/usr/bin/env bash
# Sets up, builds and runs every test without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --preset default
