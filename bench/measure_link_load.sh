#!/usr/bin/env bash
# DeskPanel receiving a full rack of 48 units every 50 ms (960 datagrams/s): CPU share of
# one core and resident memory over a run of SECONDS (30). Run after scripts/build.
set -euo pipefail
case "${1:-}" in
  -h | --help)
    echo "usage: bench/measure_link_load.sh [SECONDS]"
    echo "Measures DeskPanel's CPU share and memory while 48 simulated units send every 50 ms."
    exit 0
    ;;
esac
cd "$(dirname "$0")/.."
seconds=${1:-30}
QT_QPA_PLATFORM=offscreen build/DeskPanel >/dev/null 2>&1 &
panel=$!
trap 'kill $panel 2>/dev/null || true' EXIT
sleep 1
build/tools/unitsim/unitsim --units 48 --interval 50 --duration $(( (seconds + 3) * 1000 )) > /tmp/measure-rack.log &
rack=$!
sleep 2 # discovery
ticks=$(getconf CLK_TCK)
read -r u0 s0 < <(awk '{print $14, $15}' /proc/$panel/stat)
t0=$(date +%s.%N)
sleep "$seconds"
read -r u1 s1 < <(awk '{print $14, $15}' /proc/$panel/stat)
t1=$(date +%s.%N)
rss_kb=$(awk '/VmRSS/ {print $2}' /proc/$panel/status)
wait $rack
python3 - "$u0" "$s0" "$u1" "$s1" "$t0" "$t1" "$ticks" "$rss_kb" <<'PY'
import sys, json
u0, s0, u1, s1 = map(int, sys.argv[1:5]); t0, t1 = map(float, sys.argv[5:7]); ticks = int(sys.argv[7]); rss = int(sys.argv[8])
cpu = ((u1 - u0) + (s1 - s0)) / ticks
lines = [json.loads(l) for l in open('/tmp/measure-rack.log') if l.startswith('{"summary"')]
print(f"wall {t1 - t0:.1f} s, DeskPanel CPU {cpu:.2f} s = {100 * cpu / (t1 - t0):.2f} % of one core, resident {rss / 1024:.1f} MB")
print(f"rack: {lines[-1]['summary']}")
PY
