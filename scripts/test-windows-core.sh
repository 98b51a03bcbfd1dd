#!/usr/bin/env bash
# Builds the core, the simulator and their test programs for Windows with
# MinGW-w64 and runs every test program under Wine. Ends with the line
# "N passed, M failed" (GoogleTest cases over all programs) and a non-zero
# status when anything failed or a program did not finish.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

pkgs=(cmake ninja-build googletest g++-mingw-w64-x86-64-posix wine wine64)
bash scripts/apt-install.sh "${pkgs[@]}"

cmake --preset windows-core >/dev/null
cmake --build --preset windows-core

build=$root/build/windows-core
source scripts/wine-tests.sh
unset DISPLAY
wine_prefix "$build"

passed=0 failed=0 skipped=0 broken=()
logs=$build/test-logs
rm -rf "$logs"
mkdir -p "$logs"
run_test_programs "$build" "$logs"
cd "$build"

# The DEFAULT set written by the Windows generator must be byte for byte the
# committed one (no text-mode translation on the way to the disk).
same_default() {
  for ext in CY2 PY2 UY2 MY2; do cmp -s "$1/DEFAULT.$ext" "$root/data/DEFAULT.$ext" || return 1; done
}
out=$build/default-check
rm -rf "$out"
mkdir -p "$out"
if "$wine" bin/cfg_make_default.exe "$(winepath -w "$out" 2>/dev/null || echo "$out")" >"$logs/cfg_make_default.log" 2>&1 &&
   same_default "$out"; then
  passed=$((passed + 1))
  echo "cfg_make_default: the DEFAULT set matches"
else
  failed=$((failed + 1))
  broken+=("cfg_make_default (the DEFAULT set differs or the generator failed)")
fi

for b in "${broken[@]}"; do echo "not finished or wrong: $b"; done
[ "$skipped" -gt 0 ] && echo "$skipped skipped (each with its reason above)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
