#!/usr/bin/env bash
# Idle cost of the desktop program: starts cfgvimo (offscreen, demo panel) in a
# scratch program folder, lets it settle at the home screen, and prints the
# share of one core it uses over a measuring window.
#
#   bench/idle_cpu.sh [BIN_DIR] [SECONDS]     (default build/default/bin, 10)
set -euo pipefail
bin=${1:-build/default/bin}
seconds=${2:-10}
folder=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$folder"' EXIT
cp "$bin"/*.lng "$bin"/DEFAULT.* "$bin"/LOGO_SYS.GIF "$folder"/ 2>/dev/null || true
QT_QPA_PLATFORM=offscreen "$bin/cfgvimo" --folder "$folder" --demo --no-splash >/dev/null 2>&1 &
pid=$!
sleep 3
# CPU time of every thread of the process, in nanoseconds.
cpu_ns() { cat /proc/"$pid"/task/*/schedstat | awk '{ n += $1 } END { printf "%d", n }'; }
t0=$(cpu_ns)
sleep "$seconds"
t1=$(cpu_ns)
awk -v d=$((t1 - t0)) -v s="$seconds" \
    'BEGIN { printf "idle at the home screen: %.3f %% of a core (%.1f ms of CPU in %d s)\n", 100 * d / 1e9 / s, d / 1e6, s }'
