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
# A Wine prefix of our own, made once; no display, no add-on installers.
export WINEPREFIX=${CFG_WINEPREFIX:-$build/wine}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w || true
fi
wine=$(command -v wine || command -v wine64)

passed=0 failed=0 skipped=0 broken=()
logs=$build/test-logs
rm -rf "$logs"
mkdir -p "$logs"
cd "$build"

# A program's counts come from GoogleTest's closing lines; a program that
# crashes or hangs before them counts as one failure.
for exe in tests/*.exe; do
  name=$(basename "$exe" .exe)
  log=$logs/$name.log
  rc=0
  timeout 600 "$wine" "$exe" --gtest_color=no >"$log" 2>&1 || rc=$?
  tr -d '\r' <"$log" >"$log.txt"
  p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log.txt" | tail -1)
  f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log.txt" | tail -1)
  s=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) test.*/\1/p' "$log.txt" | tail -1)
  passed=$((passed + ${p:-0}))
  failed=$((failed + ${f:-0}))
  skipped=$((skipped + ${s:-0}))
  if [ -z "$p" ] || { [ "$rc" -ne 0 ] && [ -z "$f" ]; }; then
    broken+=("$name (exit $rc)")
    failed=$((failed + 1))
  fi
  echo "$name: ${p:-0} passed, ${f:-0} failed, ${s:-0} skipped"
  if [ -n "$f" ] || [ "$rc" -ne 0 ]; then
    grep -E '^\[  FAILED  \] [A-Za-z]' "$log.txt" | sort -u | sed 's/^/  /' || true
    echo "  (log: $log.txt)"
  fi
  if [ -n "$s" ]; then
    # GoogleTest prints the reason just before the test's SKIPPED line.
    grep -B1 -E '^\[  SKIPPED \] [A-Za-z_.]+ \(' "$log.txt" | grep -v '^--' | sed 's/^/  /' || true
  fi
done

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
