#!/usr/bin/env bash
# Start of the DeskPanel process to its main window mapped on an X display (Xvfb), over
# several runs: the whole start-up, Qt's own included. Prints each run and the median.
# Usage: bench/measure_startup.sh [runs]   (needs Xvfb and xwininfo)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
display=:97
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
Xvfb $display -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
times=()
for run in $(seq "$runs"); do
  mkdir -p "$work/$run/run" && chmod 700 "$work/$run/run"
  start=$(date +%s%N)
  DISPLAY=$display XDG_RUNTIME_DIR="$work/$run/run" XDG_CONFIG_HOME="$work/$run/cfg" \
    XDG_DATA_HOME="$work/$run/data" build/DeskPanel >/dev/null 2>&1 &
  panel=$!
  until DISPLAY=$display xwininfo -name " Veltara RP-8 - New Project" 2>/dev/null | grep -q "IsViewable"; do
    sleep 0.005
  done
  end=$(date +%s%N)
  kill $panel; wait $panel 2>/dev/null || true
  ms=$(( (end - start) / 1000000 ))
  times+=("$ms")
  echo "run $run: ${ms} ms"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
echo "start to window shown, median of $runs: ${median} ms (goal 500 ms)"
