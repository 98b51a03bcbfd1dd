#!/usr/bin/env bash
# Takes the user guide's pictures from the demo panel: runs the desktop program
# under Xvfb in each language, drives it with xdotool as an installer would,
# and saves small palette PNGs in data/help/img/<it|en>/.
#   scripts/help-screenshots.sh [BIN_FOLDER] [DISPLAY_NUMBER]
# BIN_FOLDER defaults to build/default/bin, DISPLAY_NUMBER to 99.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$src/build/default/bin}
export DISPLAY=:${2:-99}
export QT_QPA_PLATFORM=xcb
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "help-screenshots: $tool is needed" >&2; exit 1; }
done
[ -x "$bin/cfgvimo" ] || { echo "help-screenshots: no $bin/cfgvimo (build first)" >&2; exit 1; }

tmp=$(mktemp -d /tmp/help-shots-XXXXXX)
app=""
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
sleep 1

# shoot NAME [WIDTH HEIGHT]: the main window, or its top-left part.
shoot() {
  local w=${2:-$W} h=${3:-$H}
  import -window root -crop "${w}x${h}+${X0}+${Y0}" +repage "$tmp/raw.png"
  convert "$tmp/raw.png" -strip -dither None -colors 96 "PNG8:$out/$1.png"
}
# click DX DY [SECONDS]: a click at that place of the main window, then a wait.
click() {
  xdotool mousemove $((X0 + $1)) $((Y0 + $2)) click 1
  sleep "${3:-1}"
}
key() {
  xdotool key "$1"
  sleep "${2:-0.6}"
}

for lang in it en; do
  case $lang in it) name=Italiano ;; en) name=English ;; esac
  out=$src/data/help/img/$lang
  mkdir -p "$out" "$tmp/$lang"
  printf '[Language]\nCurrentLanguage=%s\n' "$name" >"$tmp/$lang/CFG-Veltrano.ini"
  "$bin/cfgvimo" --demo --no-splash --folder "$tmp/$lang" >/dev/null 2>&1 &
  app=$!
  wid=""
  for _ in $(seq 50); do
    wid=$(xdotool search --onlyvisible --name '^CFG-Veltrano ver' 2>/dev/null | head -1) && [ -n "$wid" ] && break
    sleep 0.2
  done
  [ -n "$wid" ] || { echo "help-screenshots: the main window did not show" >&2; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  X0=$X Y0=$Y W=$WIDTH H=$HEIGHT
  sleep 1.5

  shoot home
  click 35 8;   shoot settings-menu 520 200; key Escape
  click 64 42;  shoot transfer-menu 520 200; key Escape
  click 106 42; click 164 96
  shoot connect
  key Return 3; shoot config
  click 195 42 5; shoot zones
  key Escape 1.5
  click 154 42; click 220 72 4
  click 101 40 6; shoot loop-list
  click 919 577; click 22 40 2
  click 612 42; shoot print-menu "$W" 200; key Escape
  kill "$app"
  wait "$app" 2>/dev/null || true
  app=""
done
du -ch "$src"/data/help/img/*/*.png | tail -1
