#!/usr/bin/env bash
# Builds the .deb from the build tree in $1, checks it with lintian, unpacks
# it into a temporary root, validates the desktop entry and metainfo it
# installs, and starts the installed program on a private X server until its
# window appears.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" > "$work/cpack.log" \
  || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/pkg/*.deb)
echo "package: $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for needed in libqt6widgets6 libqt6webenginewidgets6 libicu fonts-ipafont-mincho; do
  grep -q "$needed" <<<"$depends" || { echo "missing dependency: $needed"; exit 1; }
done
[ "$(dpkg-deb -f "$deb" Version)" = 1.0.0.5 ] || { echo "wrong version"; exit 1; }

# Debian's own checks on the package: no error and no warning.
lintian --allow-root --fail-on error,warning "$deb"
echo "lintian: clean"

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/jp.quillet.Quillet.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/jp.quillet.Quillet.metainfo.xml
for size in 16x16 32x32 48x48 128x128; do
  test -s "$root/usr/share/icons/hicolor/$size/apps/jp.quillet.Quillet.png"
done
test -s "$root/usr/share/icons/hicolor/scalable/apps/jp.quillet.Quillet.svg"

# The installed program, started as a user would, must show its window.
xvfb-run -a bash -c '
  env -u QT_QPA_PLATFORM "$1" & program=$!
  if timeout 30 xdotool search --sync --onlyvisible --name "^Quillet [(]" > /dev/null; then
    echo "window shown"; status=0
  else
    echo "no window within 30 s"; status=1
  fi
  kill $program; wait $program 2>/dev/null || true
  exit $status
' _ "$root/usr/bin/quillet"
