#!/usr/bin/env bash
# Runs a command on a private X display (Xvfb, 96 dpi) with Qt's X11
# platform. Options, before the command:
#   --openbox  under the openbox window manager;
#   --ibus     with IBus and its Mozc engine, in a D-Bus session of its own
#              and a new home folder; as nobody when run as root, since
#              Mozc refuses to run as root.
#   --atspi    with the accessibility bus of a D-Bus session of its own,
#              told that a screen reader runs, as Orca tells it.
# Fails when the display, the window manager or the input method does not
# start.
set -euo pipefail

openbox=false ibus=false atspi=false
while [ "${1-}" = --openbox ] || [ "${1-}" = --ibus ] || [ "${1-}" = --ibus-session ] ||
  [ "${1-}" = --atspi ] || [ "${1-}" = --atspi-session ]; do
  case $1 in
    --openbox) openbox=true ;;
    --ibus) ibus=true ;;
    --atspi) atspi=true ;;
    --atspi-session)  # inside the D-Bus session made below; the bus starts on demand
      dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.freedesktop.DBus.Properties.Set string:org.a11y.Status \
        string:ScreenReaderEnabled variant:boolean:true > /dev/null \
        || { echo "the accessibility bus did not start" >&2; exit 1; }
      shift
      exec "$@" ;;
    --ibus-session)  # inside the D-Bus session made below
      ibus-daemon --daemonize --replace --panel=disable --emoji-extension=disable \
        --config=/usr/libexec/ibus-memconf
      for _ in $(seq 100); do ibus engine mozc-jp 2> /dev/null && break; sleep 0.1; done
      [ "$(ibus engine 2> /dev/null)" = mozc-jp ] \
        || { echo "IBus did not start with Mozc" >&2; exit 1; }
      shift
      exec "$@" ;;
  esac
  shift
done

if [ -z "${QUILLET_ON_DISPLAY-}" ]; then
  export QUILLET_ON_DISPLAY=1
  options=()
  $openbox && options+=(--openbox)
  $ibus && options+=(--ibus)
  $atspi && options+=(--atspi)
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -nolisten tcp" "$0" "${options[@]}" "$@"
fi

export QT_QPA_PLATFORM=xcb
if $openbox; then
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

if $ibus; then
  home=$(mktemp -d)
  trap 'rm -rf "$home"' EXIT
  cp "$XAUTHORITY" "$home/.Xauthority"  # the display, for whoever runs below
  mkdir -p "$home/.config/mozc"  # Mozc's own default, but starting with input on
  cat > "$home/.config/mozc/ibus_config.textproto" << 'CONFIG'
engines {
  name : "mozc-jp"
  longname : "Mozc"
  layout : "default"
  layout_variant : ""
  layout_option : ""
  rank : 80
}
active_on_launch: True
CONFIG
  "$(dirname "$0")/as_ordinary_user.sh" "$home" DISPLAY="$DISPLAY" \
    XAUTHORITY="$home/.Xauthority" QT_QPA_PLATFORM=xcb QT_IM_MODULE=ibus \
    dbus-run-session -- "$0" --ibus-session "$@"
elif $atspi; then
  dbus-run-session -- "$0" --atspi-session "$@"
else
  "$@"
fi
