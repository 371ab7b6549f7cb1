#!/usr/bin/env bash
# Builds Tessera (Release with debug info) and starts the desktop program, opening FILE when one is given.
# Usage: ./run.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
run.sh: there is no display to show Tessera's window on (neither DISPLAY nor WAYLAND_DISPLAY is set).
Either start it from a desktop session (or over ssh -X), or, for a smoke run without a screen, use
Qt's offscreen platform:  QT_QPA_PLATFORM=offscreen timeout 10 ./run.sh [FILE]
The batch tool needs no display:  build/release/tessera-cli --help
MSG
  exit 1
fi
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSERA_TESTS=OFF -DTESSERA_BENCH=OFF >/dev/null
cmake --build build/release --target tessera tessera-cli
if [ $# -gt 1 ]; then
  echo "run.sh: give at most one file to open" >&2
  exit 2
fi
exec build/release/ui/tessera "$@"
