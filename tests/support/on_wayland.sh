#!/usr/bin/env bash
# Runs a command on a private Wayland compositor (headless sway, drawing in
# software) with Qt's Wayland platform, in a home and runtime folder of its
# own; as nobody when run as root, since sway refuses to run as root. Fails
# when the compositor does not start.
set -euo pipefail

if [ "${1-}" = --inside ]; then  # as whoever runs the compositor
  shift
  sway -c "$HOME/sway.conf" > "$HOME/sway.log" 2>&1 &
  compositor=$!
  trap 'kill "$compositor" 2> /dev/null || true' EXIT
  for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/wayland-1" ] && ls "$XDG_RUNTIME_DIR"/sway-ipc.* > /dev/null 2>&1 && break
    sleep 0.1
  done
  [ -S "$XDG_RUNTIME_DIR/wayland-1" ] || { cat "$HOME/sway.log" >&2; echo "sway did not start" >&2; exit 1; }
  SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*)
  export SWAYSOCK WAYLAND_DISPLAY=wayland-1
  "$@"
  exit
fi

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/runtime"
cat > "$home/sway.conf" << 'CONFIG'
output HEADLESS-1 resolution 1280x1024
# Windows at their own size, as a floating desktop shows them.
for_window [title=".*"] floating enable
CONFIG
# No sandbox for the browser engine: a container may not let an ordinary
# user make the namespaces it needs.
"$(dirname "$0")/as_ordinary_user.sh" "$home" XDG_RUNTIME_DIR="$home/runtime" \
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  QT_QPA_PLATFORM=wayland QTWEBENGINE_DISABLE_SANDBOX=1 \
  "$0" --inside "$@"
