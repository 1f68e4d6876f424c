#!/usr/bin/env bash
# Runs a command with a home folder and XDG folders of its own, removed
# afterwards: nothing a test or the toolkit writes there (the file
# dialog's history, a window manager's log, shader caches) lands in the
# home of whoever runs the suite.
set -euo pipefail
home=$(mktemp -d "${TMPDIR:-/tmp}/quillet-home.XXXXXX")
trap 'rm -rf "$home"' EXIT
export HOME=$home
export XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache
export XDG_DATA_HOME=$home/.local/share XDG_STATE_HOME=$home/.local/state
"$@"
