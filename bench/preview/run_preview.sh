#!/usr/bin/env bash
# The preview of Quillet beside the floor, a bare window with one browser
# view (scripts off in both), each started afresh REPETITIONS times,
# alternating: the first load of a run (the engine starts) and the median of
# the later ones, as medians over the runs, with their ratios.
#
#   bench/preview/run_preview.sh [BUILD_BIN_DIR] [REPETITIONS]
set -euo pipefail
source "$(dirname "$0")/../median.sh"
bin=$(cd "${1:-build/default/bin}" && pwd)
repetitions=${2:-7}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}  # xcb under xvfb-run: on a display
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
page=$work/sub100.html  # written by Quillet's run, then loaded by the floor's

for ((i = 0; i < repetitions; i++)); do
  echo "quillet $("$bin/preview_quillet" "$page" 10 2>/dev/null)" >> "$work/results"
  echo "floor $("$bin/preview_floor" "$page" 10 2>/dev/null)" >> "$work/results"
done
first=$(median "$work/results" quillet 2); first_floor=$(median "$work/results" floor 2)
later=$(median "$work/results" quillet 3); later_floor=$(median "$work/results" floor 3)
printf '%-10s %12s %12s\n' "" "first (ms)" "later (ms)"
printf '%-10s %12s %12s\n' Quillet "$first" "$later" floor "$first_floor" "$later_floor"
awk -v a="$first" -v b="$first_floor" -v c="$later" -v d="$later_floor" \
  'BEGIN {printf "%-10s %12.2f %12.2f\n", "ratio", a / b, c / d}'
echo "medians of $repetitions fresh runs each, alternating; 10 later loads a run"
