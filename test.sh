#!/usr/bin/env bash
# Builds Tessera with its tests and benchmarks and runs every test.
# TESSERA_BUILD_DIR and TESSERA_CMAKE_ARGS select another build (the sanitizer build of CI uses them).
# With CI=true, compiler warnings are errors.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
build_dir=${TESSERA_BUILD_DIR:-build/test}
werror=OFF
[ "${CI:-}" = true ] && werror=ON
# shellcheck disable=SC2086
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR="$werror" \
  ${TESSERA_CMAKE_ARGS:-} >/dev/null
cmake --build "$build_dir"
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)" --timeout 600
