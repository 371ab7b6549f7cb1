#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz and runs each one for SECONDS seconds, starting
# from its seed corpus in fuzz/corpus/<name>/, TESSERA_FUZZ_JOBS targets at a time (default 2). Fails on
# any crash, sanitizer report, leak or hang; the input that caused it is kept in build/fuzz/findings/<name>/.
# With CI=true, compiler warnings are errors.
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
werror=OFF
[ "${CI:-}" = true ] && werror=ON
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTESSERA_FUZZ=ON -DTESSERA_TESTS=OFF -DTESSERA_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR="$werror" >/dev/null
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
# libFuzzer ends a timed run without running exit handlers: the targets' own scratch folders go here too.
export TMPDIR="$scratch"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

for name in "${targets[@]}"; do
  if [ ! -x "$root/$build/fuzz/fuzz_$name" ] || [ ! -d "fuzz/corpus/$name" ]; then
    echo "fuzz/run.sh: no target or seed corpus named '$name'" >&2
    exit 2
  fi
done

# Runs one target to its end, leaving its output in the log and "ok" or "failed" in the status file.
run_target() {
  local name=$1
  # New inputs go to a working corpus in the build folder; the checked-in seeds stay as written.
  local work="$build/corpus/$name" findings="$build/findings/$name"
  mkdir -p "$work" "$findings"
  if "$root/$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/" "$work" "fuzz/corpus/$name" \
      >"$build/fuzz_$name.log" 2>&1; then
    echo ok >"$build/fuzz_$name.status"
  else
    echo failed >"$build/fuzz_$name.status"
  fi
}

# The targets run side by side, so that the whole run takes SECONDS per TESSERA_FUZZ_JOBS targets.
jobs=${TESSERA_FUZZ_JOBS:-2}
running=0
for name in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
  echo "== fuzz_$name for ${seconds}s"
  rm -f "$build/fuzz_$name.status"
  run_target "$name" &
  running=$((running + 1))
done
wait

failed=()
for name in "${targets[@]}"; do
  if [ "$(cat "$build/fuzz_$name.status" 2>/dev/null)" != ok ]; then
    tail -n 60 "$build/fuzz_$name.log" >&2
    echo "fuzz_$name FAILED; the input is in $build/findings/$name/" >&2
    failed+=("$name")
  else
    echo "-- fuzz_$name"
    grep -E '^(stat::number_of_executed_units|Done)' "$build/fuzz_$name.log" || true
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz/run.sh: findings in: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz/run.sh: all targets ran ${seconds}s without findings"
