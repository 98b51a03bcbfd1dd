#!/usr/bin/env bash
# Builds everything and runs every test: the full build (core, simulator,
# GUI under the offscreen platform) and the core again under ASan + UBSan.
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
