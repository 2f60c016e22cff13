#!/bin/sh
# The Stage Remote end to end in a real browser: DeskPanel on a private X server and
# session bus with two simulated units, Chromium driven by Selenium as the phone, and the
# pairing code read from DeskPanel's dialog the way a screen reader reads it.
#   stage_e2e.sh BUILD_DIR     (STAGE_DISPLAY=:N picks the X display)
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
display=${STAGE_DISPLAY:-:$(( 80 + $$ % 9 ))}
port=$(( 18480 + $$ % 500 ))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY="$display" HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 STAGE_PORT="$port" STAGE_WORK="$work"
mkdir -p "$XDG_CONFIG_HOME"
# A device paired before, with control: the test holds its token.
token=0123456789abcdef0123456789abcdef
hash=$(printf %s "$token" | sha256sum | cut -d' ' -f1)
printf '[Stage Remote]\r\nEnabled=1\r\nPort=%s\r\nListen=loopback\r\nDevice1=Desk test,control,%s\r\n' \
  "$port" "$hash" > "$XDG_CONFIG_HOME/DeskPanel.INI"
export STAGE_TOKEN="$token"
dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  sleep 1
  "$0/DeskPanel" > "$2/panel.log" 2>&1 &
  panel=$!
  "$0/tools/unitsim/unitsim" --units 2 --report-every 200 --duration 240000 > "$2/rack.log" 2>&1 &
  rack=$!
  status=0
  /usr/bin/python3 "$1/stage_e2e.py" || status=$?
  [ $status -eq 0 ] || tail -20 "$2/panel.log"
  kill $rack $panel $launcher 2>/dev/null || true
  exit $status
' "$build" "$here" "$work"
