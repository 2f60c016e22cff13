#!/usr/bin/env bash
# DeskPanel's CPU share of one core while 48 simulated units send every 50 ms, on Xvfb,
# once without and once with the AT-SPI bridge active (a screen reader's bus up), over
# SECONDS (20) each. Run after scripts/build; needs xvfb and at-spi2-core.
set -euo pipefail
case "${1:-}" in
  -h | --help)
    echo "usage: bench/measure_accessibility_load.sh [SECONDS]"
    echo "Compares DeskPanel's CPU share with and without accessibility active, 48 units at 50 ms."
    exit 0
    ;;
esac
cd "$(dirname "$0")/.."
seconds=${1:-20}
work=$(mktemp -d)
display=:$(( 80 + $$ % 9 ))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY="$display" HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=xcb

# One run: prints the CPU seconds DeskPanel used over the measured span and the span.
run() {
  dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    launcher=$!
    sleep 1
    unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON # Qt takes the variable being set as "on"
    [ "$1" = 1 ] && export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    build/DeskPanel >/dev/null 2>&1 &
    panel=$!
    sleep 2
    build/tools/unitsim/unitsim --units 48 --interval 50 --duration $(( ($2 + 4) * 1000 )) >/dev/null &
    rack=$!
    sleep 3 # discovery and the off-line boxes of nothing
    read -r u0 s0 < <(awk "{print \$14, \$15}" /proc/$panel/stat)
    t0=$(date +%s.%N)
    sleep "$2"
    read -r u1 s1 < <(awk "{print \$14, \$15}" /proc/$panel/stat)
    t1=$(date +%s.%N)
    echo "$(( u1 - u0 + s1 - s0 )) $t0 $t1"
    kill $rack $panel $launcher 2>/dev/null || true
  ' _ "$1" "$seconds" 2>/dev/null
}

ticks=$(getconf CLK_TCK)
without=$(run 0)
with=$(run 1)
python3 - "$ticks" $without $with <<'PY'
import sys
ticks = int(sys.argv[1])
def share(t, a, b): return 100 * t / ticks / (float(b) - float(a))
off = share(int(sys.argv[2]), sys.argv[3], sys.argv[4])
on = share(int(sys.argv[5]), sys.argv[6], sys.argv[7])
print(f"DeskPanel CPU, 48 units at 50 ms: {off:.2f} % of one core without accessibility, {on:.2f} % with, {on - off:+.2f} points")
PY
