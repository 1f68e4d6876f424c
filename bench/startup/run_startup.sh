#!/usr/bin/env bash
# Start-up of Quillet beside its floors on a private X server: a minimal Qt
# Widgets window; the same window with one Japanese label (any window that
# shows Japanese loads a Japanese face); and that window with Quillet's
# second face too, the P-Gothic captions at its two sizes. Prints the time
# from process start until the first window is mapped and until its first
# frame is drawn, and the peak resident memory, as medians over several
# alternating runs, with Quillet's ratios to each floor.
#
#   bench/startup/run_startup.sh [BUILD_BIN_DIR] [REPETITIONS]
set -euo pipefail
bin=$(cd "${1:-build/default/bin}" && pwd)
repetitions=${2:-11}
unset QT_QPA_PLATFORM

xvfb-run -a -s '-dpi 96' bash -s "$bin" "$repetitions" "$(dirname "$0")/../median.sh" <<'INNER'
bin=$1 repetitions=$2
source "$3"
results=$(mktemp)
for ((i = 0; i < repetitions; i++)); do
  echo "quillet $("$bin/measure_startup" "$bin/quillet" 2>/dev/null)" >> "$results"
  echo "plain $("$bin/measure_startup" "$bin/minimal_window" 2>/dev/null)" >> "$results"
  echo "japanese $("$bin/measure_startup" "$bin/minimal_window" --japanese 2>/dev/null)" >> "$results"
  echo "second $("$bin/measure_startup" "$bin/minimal_window" --japanese --second-face 2>/dev/null)" \
    >> "$results"
done
medians() { echo "$(median "$results" "$1" 2) $(median "$results" "$1" 3) $(median "$results" "$1" 4)"; }
format='%-22s %12s %12s %14s\n'
printf "$format" "" "mapped (ms)" "frame (ms)" "peak RSS (KiB)"
declare -A names=([plain]="minimal window" [japanese]="+ Japanese label" [second]="+ second face")
printf "$format" Quillet $(medians quillet)
for floor in plain japanese second; do printf "$format" "${names[$floor]}" $(medians "$floor"); done
for floor in plain japanese second; do
  read -r -a ratios < <(awk -v q="$(medians quillet)" -v f="$(medians "$floor")" \
    'BEGIN {split(q, a); split(f, b); printf "%.2f %.2f %.2f\n", a[1] / b[1], a[2] / b[2], a[3] / b[3]}')
  printf "$format" "ratio to $floor" "${ratios[@]}"
done
echo "medians of $repetitions runs each, alternating"
rm -f "$results"
INNER
