#!/bin/sh
# End to end over the AT-SPI bus, as a screen reader sees DeskPanel: on a private X server
# and session bus, with eight simulated units of which unit 3 falls silent, and a project
# whose scene "Verse" differs from the Blank Scene in every one of the 384 inputs.
#   atspi_check.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
display=:$(( 90 + $$ % 9 ))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY="$display" HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  sleep 1
  "$0/write_recall_project" "$2/verse.vpf"
  "$0/DeskPanel" "$2/verse.vpf" > "$2/panel.log" 2>&1 &
  panel=$!
  "$0/tools/unitsim/unitsim" --units 8 --silent 3:6000:120000 --duration 120000 > "$2/rack.log" 2>&1 &
  rack=$!
  status=0
  /usr/bin/python3 "$1/atspi_check.py" || status=$?
  kill $rack $panel $launcher 2>/dev/null || true
  exit $status
' "$build" "$here" "$work"
