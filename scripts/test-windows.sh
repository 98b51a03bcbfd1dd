#!/usr/bin/env bash
# Builds everything for Windows (preset "windows": the desktop program, the
# command line, the simulator, every test program, the zip and the
# installer) and proves it under Wine:
#   1. every test program passes (GoogleTest programs, and the GUI tests on
#      the offscreen platform);
#   2. cfgvimo-cli.exe receives a whole configuration from the Linux
#      vimo-sim through a Wine COM port mapped to the simulator's
#      pseudo-terminal (COM5), byte for byte the simulator's, and sends it
#      back; a panel that does not answer ends in a time-out, and Ctrl+C
#      ends a --watch;
#   3. cfgvimo.exe --demo on Xvfb shows its main window, opens the demo
#      panel and a section (screenshots in build/windows/screenshots);
#   4. the installer installs silently, the installed cfgvimo-cli.exe runs,
#      and the uninstaller removes what it installed.
# Ends with "N passed, M failed" and a non-zero status when anything failed.
#
#   bash scripts/test-windows.sh [DISPLAY_NUMBER]      (default 97)
#
# Qt for Windows comes from CFG_QT_WINDOWS, else ../shared/qt6-mingw-6.4.2
# beside the clone; scripts/build-qt-windows.sh makes one.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
display=:${1:-97}

bash scripts/apt-install.sh cmake ninja-build googletest g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
  wine wine64 nsis xvfb xdotool imagemagick qt6-base-dev qt6-base-dev-tools qt6-serialport-dev || exit 1

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
jobs=${CFG_JOBS:-2}
echo "== Building for Windows"
nice -n 10 cmake --preset windows "${launcher[@]}" >/dev/null || exit 1
nice -n 10 cmake --build build/windows -j "$jobs" || exit 1
nice -n 10 cmake --build build/windows --target windows-package || exit 1
# The Linux simulator the Windows programs talk to.
if [ ! -f build/default/build.ninja ]; then
  cmake --preset default "${launcher[@]}" >/dev/null || exit 1
fi
nice -n 10 cmake --build build/default --target vimo-sim cfg_make_default || exit 1

build=$root/build/windows
bin=$build/bin
sim=$root/build/default/bin/vimo-sim
source scripts/wine-tests.sh
wine_prefix "$build"
winpath() { winepath -w "$1" 2>/dev/null; }

passed=0 failed=0 skipped=0 broken=()
pass() { passed=$((passed + 1)); echo "  ok: $1"; }
fail() { failed=$((failed + 1)); broken+=("$1"); echo "  FAILED: $1"; }
logs=$build/test-logs
rm -rf "$logs"
mkdir -p "$logs"
tmp=$(mktemp -d /tmp/cfg-windows-XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wineserver -k 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

# --- 1. The test programs -------------------------------------------------
echo "== Test programs under Wine"
run_test_programs "$build" "$logs"
cd "$build"

# --- 2. cfgvimo-cli.exe through a COM port to the Linux simulator ---------
echo "== cfgvimo-cli.exe on COM5 -> vimo-sim --pty"
prog=$tmp/prog work=$tmp/work
mkdir -p "$prog" "$work"
cp "$bin"/*.lng "$bin"/DEFAULT.* "$prog"/
com5=$WINEPREFIX/dosdevices/com5
rm -f "$com5"
# The simulator takes commands on a pipe: "export BASE" writes what it holds.
# A running Wine server, started before the pipe below exists.
DISPLAY= "$wine" cmd /c exit >/dev/null 2>&1
mkfifo "$tmp/sim.in"
"$sim" --pty --sample --address 1 --plant-code 11 --link "$com5" --stdin-quit <"$tmp/sim.in" >"$tmp/sim.out" 2>"$logs/vimo-sim.log" &
pids+=($!)
exec 7>"$tmp/sim.in"
for _ in $(seq 50); do [ -L "$com5" ] && break; sleep 0.1; done
echo "  COM5 -> $(readlink "$com5")"
# export NAME: the simulator's configuration as the file set $tmp/NAME.
sim_export() {
  echo "export $tmp/$1" >&7
  for _ in $(seq 100); do grep -q "exported $tmp/$1\$" "$tmp/sim.out" && return 0; sleep 0.1; done
  return 1
}
same_set() {
  for ext in CY2 PY2 UY2 MY2; do cmp -s "$1.$ext" "$2.$ext" || { echo "  $1.$ext differs from $2.$ext"; return 1; }; done
}
cli() {
  # (Wine's processes must not hold the simulator's command pipe open.)
  (cd "$work" && DISPLAY= timeout "${CLI_TIMEOUT:-300}" "$wine" "$bin/cfgvimo-cli.exe" --folder "$(winpath "$prog")" \
    --language English --port COM5 --plant-code 11 "$@" 7>&-)
}
start=$(date +%s)
if cli receive SITE >"$logs/cli-receive.log" 2>&1 && sim_export SIM && same_set "$work/SITE" "$tmp/SIM"; then
  pass "receive over COM5: the four files are the simulator's ($(( $(date +%s) - start )) s)"
else
  fail "receive over COM5 (log: $logs/cli-receive.log)"
fi
# Send back a set that differs: one display text changed, as the Linux
# end-to-end test does (an edit in the program would also stamp the date).
start=$(date +%s)
if perl -0777 -pi -e 's/([A-Y])/chr(ord($1)+1)/e' "$work/SITE.MY2" &&
   ! cmp -s "$work/SITE.MY2" "$tmp/SIM.MY2" &&
   cli --yes send SITE >"$logs/cli-send.log" 2>&1 && sim_export BACK && same_set "$work/SITE" "$tmp/BACK"; then
  pass "send over COM5: the simulator holds the changed set ($(( $(date +%s) - start )) s)"
else
  fail "send over COM5 (log: $logs/cli-send.log)"
fi
# A panel on another plant code ignores the frames: a time-out, not a hang.
start=$(date +%s)
out=$(CLI_TIMEOUT=120 cli --plant-code 12 ident 2>&1); rc=$?
echo "$out" >"$logs/cli-timeout.log"
if [ "$rc" -ne 0 ] && [ "$rc" -ne 124 ]; then
  pass "a panel that does not answer: exit $rc after $(( $(date +%s) - start )) s"
else
  fail "no-answer time-out (exit $rc, log: $logs/cli-timeout.log)"
fi
# Ctrl+C ends a --watch: Wine turns SIGINT into the console's Ctrl+C event.
# (wine execs the Windows process in place: its pid is the program's.)
pushd "$work" >/dev/null
DISPLAY= "$wine" "$bin/cfgvimo-cli.exe" --folder "$(winpath "$prog")" --language English \
  --port COM5 --plant-code 11 loop 1 list --watch 1 >"$logs/cli-watch.log" 2>&1 7>&- &
watch=$!
popd >/dev/null
for _ in $(seq 600); do grep -q '[0-9]' "$logs/cli-watch.log" 2>/dev/null && break; sleep 0.1; done
sleep 3
kill -INT "$watch"
stopped=0
for _ in $(seq 150); do kill -0 "$watch" 2>/dev/null || { stopped=1; break; }; sleep 0.1; done
if [ "$stopped" = 1 ]; then
  pass "Ctrl+C ended the --watch"
else
  kill "$watch" 2>/dev/null
  fail "Ctrl+C did not end the --watch (log: $logs/cli-watch.log)"
fi
echo quit >&7
exec 7>&-
wait "${pids[0]}" 2>/dev/null
pids=()
rm -f "$com5"

# --- 3. cfgvimo.exe --demo on Xvfb ----------------------------------------
echo "== cfgvimo.exe --demo on Xvfb $display"
shots=$build/screenshots
rm -rf "$shots"
mkdir -p "$shots"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
sleep 1
gui=$tmp/gui
mkdir -p "$gui"
cp "$bin"/*.lng "$bin"/DEFAULT.* "$bin"/*.GIF "$gui"/ 2>/dev/null
printf '[Language]\r\nCurrentLanguage=English\r\n' >"$gui/CFG-Veltrano.ini"
"$wine" "$bin/cfgvimo.exe" --demo --no-splash --folder "$(winpath "$gui")" >"$logs/cfgvimo.log" 2>&1 &
app=$!
pids+=($app)
wid=""
for _ in $(seq 150); do
  wid=$(xdotool search --onlyvisible --name '^CFG-Veltrano ver' 2>/dev/null | head -1) && [ -n "$wid" ] && break
  sleep 0.2
done
shoot() { import -window root "$shots/$1.png"; }
if [ -n "$wid" ]; then
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  X0=$X Y0=$Y
  sleep 2
  shoot 1-main-window
  pass "the main window shows"
  click() { xdotool mousemove $((X0 + $1)) $((Y0 + $2)) click 1; sleep "${3:-1.5}"; }
  # Open -> from the panel, the panel's address (the demo panel's is
  # proposed), then the zones section.
  click 99 38; click 162 101 3
  shoot 2-connect
  xdotool key Return; sleep 8
  shoot 3-demo-panel
  click 182 38 8
  shoot 4-section
  title=$(xdotool getactivewindow getwindowname 2>/dev/null)
  echo "  active window: $title"
  pass "demo panel and section opened (screenshots in $shots)"
else
  shoot 1-main-window
  fail "the main window of cfgvimo.exe did not show (log: $logs/cfgvimo.log)"
fi
kill "$app" 2>/dev/null
wineserver -k 2>/dev/null
sleep 1

# --- 4. The installer -----------------------------------------------------
echo "== The installer under Wine"
setup=$(ls "$build"/cfg-veltrano-*-setup.exe 2>/dev/null | head -1)
zip=$(ls "$build"/cfg-veltrano-*-win64.zip 2>/dev/null | head -1)
[ -n "$zip" ] && echo "  $(basename "$zip"): $(stat -c %s "$zip") bytes"
if [ -n "$setup" ]; then
  echo "  $(basename "$setup"): $(stat -c %s "$setup") bytes"
  export DISPLAY=
  pf=$(wine cmd /c echo %ProgramW6432% 2>/dev/null | tr -d '\r')
  target=$(winepath -u "$pf\\CFG-Veltrano" 2>/dev/null)
  "$wine" "$setup" /S >"$logs/setup.log" 2>&1
  wineserver -w
  if [ -x "$target/cfgvimo-cli.exe" ] || [ -f "$target/cfgvimo-cli.exe" ]; then
    pass "installed silently into $pf\\CFG-Veltrano ($(find "$target" -type f | wc -l) files)"
  else
    fail "the silent install left no $target/cfgvimo-cli.exe"
  fi
  menu=$(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'CFG-Veltrano.lnk' 2>/dev/null | head -1)
  [ -n "$menu" ] && pass "Start-menu entry: ${menu#"$WINEPREFIX/"}" || fail "no Start-menu entry"
  # (Read whole before the match: with pipefail an early grep -q would
  # count the program's broken pipe as a failure.)
  help=$("$wine" "$target/cfgvimo-cli.exe" --help 2>&1 | tr -d '\r')
  if grep -q '^usage: cfgvimo-cli' <<<"$help"; then
    pass "the installed cfgvimo-cli.exe --help runs"
  else
    fail "the installed cfgvimo-cli.exe --help"
  fi
  # A file set the user keeps beside the program survives the uninstall.
  printf 'x' >"$target/MYSITE.CY2"
  "$wine" "$target/uninstall.exe" /S >"$logs/uninstall.log" 2>&1
  wineserver -w
  sleep 2
  left=$(find "$target" -type f 2>/dev/null | grep -v '/MYSITE.CY2$')
  if [ -z "$left" ] && [ -f "$target/MYSITE.CY2" ] && [ -z "$(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'CFG-Veltrano*.lnk')" ]; then
    pass "the uninstaller removed what it installed and kept the user's file set"
  else
    fail "uninstall left: ${left:-nothing, but the file set kept beside the program is gone}"
  fi
  rm -rf "$target"
else
  fail "no installer was built (makensis)"
fi

for b in "${broken[@]}"; do echo "not finished or wrong: $b"; done
[ "$skipped" -gt 0 ] && echo "$skipped skipped"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
