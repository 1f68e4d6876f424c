#!/usr/bin/env bash
# Runs each fuzz target for a fixed number of inputs, starting from its
# corpus in the source tree (new inputs go to a temporary folder, never into
# the source). Exit 77 (skipped) only when the fuzz preset was not built;
# a finding exits 1 with the fuzzer's report.
set -euo pipefail
bin=$(cd "$1" 2>/dev/null && pwd) || bin=$1
corpus=$(cd "$2" && pwd)
runs=${3:-20000}
[ -x "$bin/fuzz_codepage" ] && [ -x "$bin/fuzz_page" ] && [ -x "$bin/fuzz_markup" ] \
  && [ -x "$bin/fuzz_chain" ] \
  || { echo "fuzz targets not built (needs clang: cmake --preset fuzz)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
for target in codepage page markup chain; do
  mkdir -p "new-$target"
  # Each markup input is also read as a page past the first handsets'
  # limit, some KB long: a fifth as many runs keep the whole under a minute.
  target_runs=$runs
  [ "$target" = markup ] && target_runs=$((runs / 5))
  if ! "$bin/fuzz_$target" -runs="$target_runs" -error_exitcode=1 -timeout_exitcode=1 \
       "new-$target" "$corpus/$target" > "$target.log" 2>&1; then
    tail -n 40 "$target.log"
    for finding in crash-* leak-* timeout-* oom-*; do
      [ -e "$finding" ] && { echo "input ($finding):"; base64 "$finding"; }
    done
    exit 1
  fi
  tail -n 1 "$target.log"
done
