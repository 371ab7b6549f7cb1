#!/usr/bin/env bash
# Builds Tessera (Release with debug info) and starts it with the given arguments.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSERA_TESTS=OFF -DTESSERA_BENCH=OFF >/dev/null
cmake --build build/release --target tessera-cli
if [ $# -eq 0 ]; then
  exec build/release/tessera-cli --help
fi
exec build/release/tessera-cli "$@"
