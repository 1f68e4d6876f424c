#!/usr/bin/env bash
# Builds the .deb from the build tree in $1, checks that it carries version
# $2 everywhere the version shows, checks it with lintian, unpacks
# it into a temporary root, validates the desktop entry and metainfo it
# installs, and starts the installed program on a private X server until its
# window appears.
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" > "$work/cpack.log" \
  || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/pkg/*.deb)
echo "package: $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for needed in libqt6widgets6 libqt6webenginewidgets6 libicu fonts-ipafont-mincho fonts-noto-color-emoji; do
  grep -q "$needed" <<<"$depends" || { echo "missing dependency: $needed"; exit 1; }
done
[ "$(dpkg-deb -f "$deb" Suggests)" = "fcitx5-mozc | ibus-mozc | ibus-anthy" ] \
  || { echo "no input methods suggested"; exit 1; }
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || { echo "wrong package version"; exit 1; }

# Debian's own checks on the package: no error and no warning.
lintian --allow-root --fail-on error,warning "$deb"
echo "lintian: clean"

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/jp.quillet.Quillet.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/jp.quillet.Quillet.metainfo.xml
share="$root/usr/share"
zgrep -qF "\"Quillet $version\"" "$share/man/man1/quillet.1.gz" \
  || { echo "the manual page names another version"; exit 1; }
[ "$(zcat "$share/doc/quillet/changelog.gz" | sed -n 1p)" = "quillet ($version) stable; urgency=medium" ] \
  || { echo "the changelog starts with another version"; exit 1; }
grep -qF "<release version=\"$version\"" "$share/metainfo/jp.quillet.Quillet.metainfo.xml" \
  || { echo "the metainfo names another release"; exit 1; }
for size in 16x16 32x32 48x48 128x128; do
  test -s "$root/usr/share/icons/hicolor/$size/apps/jp.quillet.Quillet.png"
done
test -s "$root/usr/share/icons/hicolor/scalable/apps/jp.quillet.Quillet.svg"

# The installed program, started as a user would, must show its window and
# preview once: the output file is chosen in the real dialog, then the
# preview button writes the page and loads the installed browser module.
xvfb-run -a bash -c '
  program_path=$1 out=$2
  env -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 "$program_path" & program=$!
  trap "kill $program; wait $program 2>/dev/null" EXIT
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Quillet [(]" | head -n 1)
  [ -n "$window" ] || { echo "no window within 30 s"; exit 1; }
  echo "window shown"
  # The desktop matches the window to its entry: on X11 by the window class.
  class=$(xprop -id "$window" WM_CLASS | sed -E "s/.*\"([^\"]*)\"\$/\1/")
  entry_class=$(sed -n "s/^StartupWMClass=//p" "$3")
  [ "$class" = "$entry_class" ] \
    || { echo "window class $class, but the desktop entry expects $entry_class"; exit 1; }
  echo "window class matches the desktop entry: $class"
  xdotool mousemove --window "$window" 40 16 click 1   # 作成ファイル名指定
  timeout 30 xdotool search --sync --onlyvisible --pid "$program" --name "^Save As" > /dev/null \
    || { echo "no save dialog within 30 s"; exit 1; }
  xdotool key ctrl+a type --delay 5 "$out/sub100.html"
  xdotool key Return
  sleep 1
  xdotool mousemove --window "$window" 184 84 click 1  # 表　示
  for _ in $(seq 60); do
    grep -q "/usr/libexec/quillet/quillet_webpane.so" "/proc/$program/maps" \
      && pgrep -P "$program" -f QtWebEngineProcess > /dev/null && break
    sleep 0.5
  done
  test -s "$out/sub100.html" || { echo "the page was not written"; exit 1; }
  grep -q "/usr/libexec/quillet/quillet_webpane.so" "/proc/$program/maps" \
    || { echo "the installed browser module was not loaded"; exit 1; }
  pgrep -P "$program" -f QtWebEngineProcess > /dev/null \
    || { echo "the browser engine did not start"; exit 1; }
  echo "previewed with the installed browser module"
' _ "$root/usr/bin/quillet" "$work" \
  "$root/usr/share/applications/jp.quillet.Quillet.desktop"
