#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that building, testing and running
# Quillet need; does nothing when they are all there. Every tool a test
# calls is listed here, so no test depends on what a machine happened to
# have.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-translations-l10n libicu-dev
  qt6-declarative-dev  # the browser module sets how Qt Quick draws
  libglib2.0-dev  # GIO's types, to start the default browser
  unicode-data    # EmojiSources.txt, which the pictogram tables are made from
  libbenchmark-dev libxcb1-dev libxcb-damage0-dev  # the start-up benchmark sees the first frame
  # Packaging and its test: build the .deb (CPack asks file(1) what each
  # installed file is), check and validate it, start it headless.
  dpkg-dev file lintian desktop-file-utils appstream xvfb xauth xdotool
  # The real window on a private X display, bare and under a window manager.
  openbox x11-utils
  # The real window on a Wayland compositor: headless sway, its virtual
  # keyboard (wtype), and Qt's Wayland platform.
  sway wtype qt6-wayland
  # Japanese typed through a real input method: IBus with Mozc, in a D-Bus
  # session of the test's own; and read by a screen reader, over the
  # accessibility bus of such a session.
  ibus ibus-mozc dbus-daemon dbus-bin at-spi2-core
  # The fuzz targets: clang with libFuzzer. The format and clang-tidy checks.
  clang libclang-rt-dev clang-format clang-tidy
  # The window names Windows' Japanese faces; these stand in for them. The
  # colour emoji face shows the handsets' pictograms.
  fonts-ipafont-mincho fonts-ipafont-gothic fonts-noto-color-emoji
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
    || missing+=("$package")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
