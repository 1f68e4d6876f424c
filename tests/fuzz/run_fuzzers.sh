#!/usr/bin/env bash
# Runs each fuzz target for a fixed number of inputs, starting from its
# corpus in the source tree (new inputs go to a temporary folder, never into
# the source). Exit 77 (skipped) when the fuzz preset was not built.
set -euo pipefail
bin=$1 corpus=$2 runs=${3:-20000}
[ -x "$bin/fuzz_codepage" ] && [ -x "$bin/fuzz_page" ] \
  || { echo "fuzz targets not built (needs clang: cmake --preset fuzz)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
for target in codepage page; do
  mkdir -p "new-$target"
  "$bin/fuzz_$target" -runs="$runs" "new-$target" "$corpus/$target" 2>&1 | tail -n 1
done
