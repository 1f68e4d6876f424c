#!/usr/bin/env bash
# Runs a command in a clean environment with HOME as its home folder, as
# nobody (who then owns HOME) when run as root: IBus's Mozc and sway refuse
# to run as root. Variables to pass go before the command, as env takes
# them.
#   as_ordinary_user.sh HOME [NAME=VALUE...] COMMAND [ARGUMENTS...]
set -euo pipefail
home=$1
shift
as=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody:nogroup "$home"
  as=(runuser -u nobody --)
fi
exec "${as[@]}" env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
