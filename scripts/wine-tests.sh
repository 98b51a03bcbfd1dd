# Sourced by the Windows proof scripts: a Wine prefix of the build's own and
# the loop that runs every Windows test program of a build under Wine and
# counts its results.

cfg_wine_tests_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# wine_prefix BUILD: exports a Wine prefix under BUILD (made once, no
# display, no add-on installers) and sets $wine.
wine_prefix() {
  export WINEPREFIX=${CFG_WINEPREFIX:-$1/wine}
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  unset WAYLAND_DISPLAY
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    DISPLAY= wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  wine=$(command -v wine || command -v wine64)
}

# run_test_programs BUILD LOGS [PATTERN]: runs BUILD/tests/*.exe (those whose
# name matches PATTERN, e.g. "gui_tests"), each with its log in LOGS, and adds to passed, failed, skipped and broken. GoogleTest programs
# are counted from their closing lines, the QtTest program (gui_tests, on the
# offscreen platform) from its "Totals:" lines; a program that crashes or
# hangs before them counts as one failure.
run_test_programs() {
  local build=$1 logs=$2 only=${3:-*} exe name log rc p f s failures
  for exe in "$build"/tests/*.exe; do
    name=$(basename "$exe" .exe)
    # shellcheck disable=SC2254
    case $name in $only) ;; *) continue ;; esac
    log=$logs/$name.log
    rc=0
    if [ "$name" = gui_tests ]; then
      # One run a test class (a file tests/gui/FooTest.cpp holds the class
      # FooTest), each writing its own log file: QtTest's standard output
      # does not reach a pipe under Wine, and a hang stays within its class.
      : >"$log"
      local class out
      for class in $(cd "$cfg_wine_tests_root/tests/gui" && ls *Test.cpp | sed 's/\.cpp$//'); do
        out=$logs/$name-$class.txt
        rm -f "$out"
        (cd "$build" && QT_QPA_PLATFORM=offscreen DISPLAY= timeout 900 "$wine" "$exe" "$class" -o "$(winepath -w "$out" 2>/dev/null),txt") >>"$log" 2>&1 || rc=$?
        cat "$out" >>"$log" 2>/dev/null || echo "$class: no log (exit $rc)" >>"$log"
      done
      tr -d '\r' <"$log" >"$log.txt"
      p=$(sed -n 's/^Totals: \([0-9]*\) passed, \([0-9]*\) failed, \([0-9]*\) skipped.*/\1/p' "$log.txt" | paste -sd+ | bc)
      f=$(sed -n 's/^Totals: \([0-9]*\) passed, \([0-9]*\) failed, \([0-9]*\) skipped.*/\2/p' "$log.txt" | paste -sd+ | bc)
      s=$(sed -n 's/^Totals: \([0-9]*\) passed, \([0-9]*\) failed, \([0-9]*\) skipped.*/\3/p' "$log.txt" | paste -sd+ | bc)
      [ "${f:-0}" = 0 ] && f=""
      [ "${s:-0}" = 0 ] && s=""
      failures=$(grep -E '^FAIL!' "$log.txt" | sort -u || true)
    else
      (cd "$build" && DISPLAY= timeout 1200 "$wine" "$exe" --gtest_color=no) >"$log" 2>&1 || rc=$?
      tr -d '\r' <"$log" >"$log.txt"
      p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log.txt" | tail -1)
      f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log.txt" | tail -1)
      s=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) test.*/\1/p' "$log.txt" | tail -1)
      failures=$(grep -E '^\[  FAILED  \] [A-Za-z]' "$log.txt" | sort -u || true)
    fi
    passed=$((passed + ${p:-0}))
    failed=$((failed + ${f:-0}))
    skipped=$((skipped + ${s:-0}))
    if [ -z "$p" ] || { [ "$rc" -ne 0 ] && [ -z "$f" ]; }; then
      broken+=("$name (exit $rc)")
      failed=$((failed + 1))
    fi
    echo "$name: ${p:-0} passed, ${f:-0} failed, ${s:-0} skipped"
    if [ -n "$f" ] || [ "$rc" -ne 0 ]; then
      [ -n "$failures" ] && echo "$failures" | sed 's/^/  /'
      echo "  (log: $log.txt)"
    fi
    if [ -n "$s" ]; then
      # GoogleTest prints the reason just before the test's SKIPPED line.
      grep -B1 -E '^\[  SKIPPED \] [A-Za-z_.]+ \(' "$log.txt" | grep -v '^--' | sed 's/^/  /' || true
    fi
  done
}
