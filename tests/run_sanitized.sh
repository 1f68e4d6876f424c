#!/usr/bin/env bash
# Runs the test suite of the AddressSanitizer/UndefinedBehaviorSanitizer
# build. Exit 77 (skipped) when that build does not exist.
set -euo pipefail
source_dir=$1
[ -f "$source_dir/build/asan/CTestTestfile.cmake" ] \
  || { echo "sanitizer build missing (cmake --preset asan)"; exit 77; }
cd "$source_dir"
ctest --preset asan
