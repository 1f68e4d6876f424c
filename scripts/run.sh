#!/usr/bin/env bash
# Sets up, builds and starts Quillet.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
exec build/default/bin/quillet
