#!/usr/bin/env bash
# Builds everything and runs every test: the full build (core, simulator,
# GUI under the offscreen platform), everything again under ASan + UBSan (the
# GUI tests too, offscreen), and a short run of every fuzz target from its
# committed corpus (clang).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default
if [ "${CFG_SKIP_ASAN:-0}" != "1" ]; then
  cmake --preset asan >/dev/null
  cmake --build --preset asan
  ctest --preset asan
fi
if [ "${CFG_SKIP_FUZZ:-0}" != "1" ]; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz
  ctest --preset fuzz
fi
