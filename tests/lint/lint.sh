#!/usr/bin/env bash
# Keeps the code as it is now: "format" fails on any source that
# clang-format would change, "tidy" on any clang-tidy finding (.clang-tidy
# at the root lists the checks; compile_commands.json in BUILD_DIR gives
# each file's flags), "links" on any link of README.md or docs/ to a file
# that does not exist.
#
#   tests/lint/lint.sh format|tidy|links SOURCE_DIR BUILD_DIR
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
links)
  # Every "](target)" that names no scheme and is not a place in the same
  # page, resolved from the folder of the page that holds it.
  broken=0
  for page in README.md docs/*.md; do
    while IFS= read -r target; do
      target=${target%%#*}
      [ -z "$target" ] && continue
      [ -e "$(dirname "$page")/$target" ] || { echo "$page: no $target"; broken=1; }
    done < <(grep -o '](\([^)]*\))' "$page" | sed 's/^](//; s/)$//' | grep -v '^[a-z]*:')
  done
  exit "$broken"
  ;;
*)
  echo "usage: $0 format|tidy|links SOURCE_DIR BUILD_DIR" >&2
  exit 2
  ;;
esac
