#!/usr/bin/env bash
# Start-up of Quillet beside the minimal Qt Widgets window on a private
# Wayland compositor (headless sway, tests/support/on_wayland.sh): the time
# from process start until the compositor maps the first window, which it
# does when the window commits its first frame, and the peak resident memory
# after a second of idling, as medians over several alternating runs.
#
#   bench/startup/run_startup_wayland.sh [BUILD_BIN_DIR] [REPETITIONS]
set -euo pipefail
bin=$(cd "${1:-build/default/bin}" && pwd)
repetitions=${2:-11}
here=$(cd "$(dirname "$0")/.." && pwd)

"$here/../tests/support/on_wayland.sh" bash -s "$bin" "$repetitions" "$here/median.sh" <<'INNER'
bin=$1 repetitions=$2
source "$3"
results=$(mktemp)
# Prints "NAME milliseconds-to-first-frame peak-RSS-KiB" for one run.
measure() {
  local name=$1 events
  shift
  events=$(mktemp -u)
  mkfifo "$events"
  swaymsg -r -m -t subscribe '["window"]' > "$events" &
  local subscriber=$!
  exec 3< "$events"
  sleep 0.3  # sway tells the subscriber nothing once it listens
  local start=$EPOCHREALTIME
  "$@" > /dev/null 2>&1 &
  local program=$!
  local line
  while read -r -t 30 line <&3; do [[ $line == *'"change": "new"'* ]] && break; done
  local shown=$EPOCHREALTIME
  sleep 1
  local rss
  rss=$(awk '/^VmHWM/ {print $2}' "/proc/$program/status")
  kill "$program" "$subscriber"
  wait "$program" "$subscriber" 2> /dev/null || true
  exec 3<&-
  rm -f "$events"
  echo "$name $(awk -v a="$start" -v b="$shown" 'BEGIN {printf "%.1f", (b - a) * 1000}') $rss"
}
for ((i = 0; i < repetitions; i++)); do
  measure quillet "$bin/quillet" >> "$results"
  measure plain "$bin/minimal_window" >> "$results"
done
format='%-22s %12s %14s\n'
printf "$format" "" "frame (ms)" "peak RSS (KiB)"
printf "$format" Quillet "$(median "$results" quillet 2)" "$(median "$results" quillet 3)"
printf "$format" "minimal window" "$(median "$results" plain 2)" "$(median "$results" plain 3)"
echo "medians of $repetitions runs each, alternating"
rm -f "$results"
INNER
