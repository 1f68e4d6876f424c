#!/usr/bin/env bash
# Runs a command on a private X display (Xvfb, 96 dpi) with Qt's X11
# platform, under the openbox window manager when the first argument is
# --openbox. Fails when the display or the window manager does not start.
set -euo pipefail

if [ -z "${QUILLET_ON_DISPLAY-}" ]; then
  export QUILLET_ON_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -nolisten tcp" "$0" "$@"
fi

export QT_QPA_PLATFORM=xcb
if [ "${1-}" = --openbox ]; then
  shift
  openbox --sm-disable &
  wm=$!
  trap 'kill "$wm" 2> /dev/null || true' EXIT
  for _ in $(seq 100); do  # until it manages the screen
    xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' \
    || { echo "openbox did not start" >&2; exit 1; }
fi
"$@"
