#!/usr/bin/env bash
# DeskPanel on a real X display (Xvfb) receiving a full rack of 48 units every 50 ms, once
# started in the Underview and once in the Overview (chosen by the "WindowPos" stored in
# its profile under a temporary XDG_CONFIG_HOME): CPU share of one core and resident
# memory over SECONDS (20) each. QT_SCALE_FACTOR passes through (try 2). With
# VIEW_HOST=1 the view alone is measured in build/bench/bench_view_host instead of the
# whole program. Run after scripts/build (and, for VIEW_HOST, building bench_view_host).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
work=$(mktemp -d)
display=":$((200 + $$ % 300))"
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
panel=""
cleanup() {
    [ -n "$panel" ] && kill "$panel" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
sleep 1

# One run: the view to start in (1 Overview, 0 Underview) and its name for the report.
measure() {
    local overview=$1 name=$2 home="$work/$2"
    mkdir -p "$home/config" "$home/data"
    # flags, show state, min x/y, max x/y, left, top, right, bottom, then "overview maximised".
    printf '[Settings]\nWindowPos=0,1,-1,-1,-1,-1,20,20,1100,700 %d 0\n' "$overview" >"$home/config/DeskPanel.INI"
    local command=(build/DeskPanel)
    [ "${VIEW_HOST:-0}" = 1 ] && command=(build/bench/bench_view_host "$name" $((seconds + 5)))
    DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
        "${command[@]}" >"$home/panel.log" 2>&1 &
    panel=$!
    sleep 1
    build/tools/unitsim/unitsim --units 48 --interval 50 --duration $(((seconds + 4) * 1000)) >"$home/rack.log" &
    local rack=$!
    sleep 3 # discovery, first paint
    local ticks u0 s0 u1 s1 t0 t1 rss_kb
    ticks=$(getconf CLK_TCK)
    read -r u0 s0 < <(awk '{print $14, $15}' "/proc/$panel/stat")
    t0=$(date +%s.%N)
    sleep "$seconds"
    read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$panel/stat")
    t1=$(date +%s.%N)
    rss_kb=$(awk '/VmRSS/ {print $2}' "/proc/$panel/status")
    wait "$rack" || true
    [ "${VIEW_HOST:-0}" = 1 ] || kill "$panel" 2>/dev/null || true
    wait "$panel" 2>/dev/null || true
    panel=""
    grep -h "meters with readings" "$home/panel.log" || true""
    python3 - "$name" "$u0" "$s0" "$u1" "$s1" "$t0" "$t1" "$ticks" "$rss_kb" "$home/rack.log" <<'PY'
import sys, json
name = sys.argv[1]
u0, s0, u1, s1 = map(int, sys.argv[2:6]); t0, t1 = map(float, sys.argv[6:8]); ticks = int(sys.argv[8]); rss = int(sys.argv[9])
cpu = ((u1 - u0) + (s1 - s0)) / ticks
units = [json.loads(l) for l in open(sys.argv[10]) if l.startswith('{"unit"')]
polled = sum(1 for u in units if u.get("polls", 0) > 0)
print(f"{name}: wall {t1 - t0:.1f} s, DeskPanel CPU {cpu:.2f} s = {100 * cpu / (t1 - t0):.2f} % of one core, "
      f"resident {rss / 1024:.1f} MB, units polled by DeskPanel {polled}/48")
PY
}

measure 0 underview
measure 1 overview
