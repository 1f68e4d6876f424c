#!/usr/bin/env bash
# Keeps the code as it is now: "format" fails on any source that
# clang-format would change, "tidy" on any clang-tidy finding (.clang-tidy
# at the root lists the checks; compile_commands.json in BUILD_DIR gives
# each file's flags).
#
#   tests/lint/lint.sh format|tidy SOURCE_DIR BUILD_DIR
set -euo pipefail
mode=$1 source_dir=$(cd "$2" && pwd) build_dir=$(cd "$3" && pwd)
folders=(app bench host page tests ui)
cd "$source_dir"
case "$mode" in
format)
  find "${folders[@]}" -name '*.cpp' -o -name '*.h' | sort | xargs clang-format --dry-run -Werror
  ;;
tidy)
  # Only the project's own sources; the build tree's generated code is Qt's.
  run-clang-tidy -quiet -p "$build_dir" "^$source_dir/($(IFS='|'; echo "${folders[*]}"))/" \
    > "$build_dir/clang-tidy.log" 2>&1 \
    || { grep -E 'warning:|error:' "$build_dir/clang-tidy.log" | sort -u; exit 1; }
  ;;
*)
  echo "usage: $0 format|tidy SOURCE_DIR BUILD_DIR" >&2
  exit 2
  ;;
esac
