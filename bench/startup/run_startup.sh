#!/usr/bin/env bash
# Start-up of Quillet beside the floor, a minimal Qt Widgets window, on a
# private X server: the time from process start to the first shown window
# and the peak resident memory, as medians over several alternating runs,
# with their ratios.
#
#   bench/startup/run_startup.sh [BUILD_BIN_DIR] [REPETITIONS]
set -euo pipefail
bin=$(cd "${1:-build/default/bin}" && pwd)
repetitions=${2:-11}
unset QT_QPA_PLATFORM

xvfb-run -a bash -s "$bin" "$repetitions" "$(dirname "$0")/../median.sh" <<'INNER'
bin=$1 repetitions=$2
source "$3"
results=$(mktemp)
for ((i = 0; i < repetitions; i++)); do
  for program in quillet minimal_window; do
    echo "$program $("$bin/measure_startup" "$bin/$program" 2>/dev/null)" >> "$results"
  done
done
tool_ms=$(median "$results" quillet 2); floor_ms=$(median "$results" minimal_window 2)
tool_kib=$(median "$results" quillet 3); floor_kib=$(median "$results" minimal_window 3)
printf '%-16s %12s %14s\n' "" "window (ms)" "peak RSS (KiB)"
printf '%-16s %12s %14s\n' Quillet "$tool_ms" "$tool_kib" "minimal window" "$floor_ms" "$floor_kib"
awk -v a="$tool_ms" -v b="$floor_ms" -v c="$tool_kib" -v d="$floor_kib" \
  'BEGIN {printf "%-16s %12.2f %14.2f\n", "ratio", a / b, c / d}'
echo "medians of $repetitions runs each, alternating"
rm -f "$results"
INNER
