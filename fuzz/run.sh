#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz and runs each one for SECONDS seconds, starting
# from its seed corpus in fuzz/corpus/<name>/. Fails on any crash, sanitizer report, leak or hang; the
# input that caused it is kept in build/fuzz/findings/<name>/.
# Usage: fuzz/run.sh SECONDS [TARGET...]   (targets by name, e.g. lex; all when none are given)
set -euo pipefail
if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "usage: fuzz/run.sh SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1
shift
cd "$(dirname "$0")/.."
root=$(pwd)
tools/install-deps.sh
build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTESSERA_FUZZ=ON -DTESSERA_TESTS=OFF -DTESSERA_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_targets -j 2

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for seeds in fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

# The targets never read the user's configuration: parameters keep their defaults.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export TESSERA_INI="$scratch/TESSERA.INI"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=()
for name in "${targets[@]}"; do
  binary="$root/$build/fuzz/fuzz_$name"
  if [ ! -x "$binary" ] || [ ! -d "fuzz/corpus/$name" ]; then
    echo "fuzz/run.sh: no target or seed corpus named '$name'" >&2
    exit 2
  fi
  # New inputs go to a working corpus in the build folder; the checked-in seeds stay as written.
  work="$build/corpus/$name"
  findings="$build/findings/$name"
  mkdir -p "$work" "$findings"
  echo "== fuzz_$name for ${seconds}s"
  if ! "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$work" "fuzz/corpus/$name" \
      >"$build/fuzz_$name.log" 2>&1; then
    tail -n 60 "$build/fuzz_$name.log" >&2
    echo "fuzz_$name FAILED; the input is in $findings/" >&2
    failed+=("$name")
  else
    grep -E '^(stat::number_of_executed_units|Done)' "$build/fuzz_$name.log" || true
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz/run.sh: findings in: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz/run.sh: all targets ran ${seconds}s without findings"
