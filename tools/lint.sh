#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the sources of the core and the batch tool, using
# the compile commands of a build (build/test unless TESSERA_BUILD_DIR names another). Fails when
# clang-tidy reports anything.
# Usage: tools/lint.sh [FILE...]   (all core and batch-tool sources when none are given)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${TESSERA_BUILD_DIR:-build/test}
tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
if [ -z "$tidy" ]; then
  echo "tools/lint.sh: clang-tidy is not installed (Debian package clang-tidy)" >&2
  exit 2
fi
if [ ! -f "$build_dir/compile_commands.json" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi

if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files 'foundation/*.cpp' 'config/*.cpp' 'text/*.cpp' 'rules/*.cpp' \
    'engine/*.cpp' 'games/*.cpp' 'formats/*.cpp' 'patterns/*.cpp' 'cli/*.cpp')
fi

report=$(mktemp)
trap 'rm -f "$report"' EXIT
# Two files at a time; each file's findings come out whole.
printf '%s\n' "${files[@]}" |
  xargs -P 2 -n 1 "$tidy" -p "$build_dir" --quiet 2>/dev/null >"$report" || true
if grep -qE '(warning|error):' "$report"; then
  cat "$report"
  echo "tools/lint.sh: $(grep -cE '(warning|error):' "$report") findings" >&2
  exit 1
fi
echo "tools/lint.sh: ${#files[@]} files, no findings"
