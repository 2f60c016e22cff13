"""What a screen reader finds in DeskPanel's window over AT-SPI (run by atspi_check.sh)."""
import re
import sys
import time

import pyatspi
from gi.repository import GLib


def wait_for(what, check, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = check()
        if found:
            return found
        time.sleep(0.25)
    sys.exit(f"FAIL: {what} within {seconds} s")


def panel_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name.lower().startswith("deskpanel"):
            return app
    return None


def walk(node, found):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        found.append(child)
        walk(child, found)
    return found


def named(nodes, name):
    return next((n for n in nodes if n.name == name), None)


app = wait_for("DeskPanel on the bus", panel_app, 30)
gain = re.compile(r"^Channel (\d+), .+: gain$")


def sliders_of_eight_units():
    nodes = walk(app, [])
    channels = {int(gain.match(n.name).group(1)): n for n in nodes
                if n.getRole() == pyatspi.ROLE_SLIDER and gain.match(n.name)}
    return nodes if all(c in channels for c in range(1, 65)) else None


nodes = wait_for("a named gain slider for channels 1..64", sliders_of_eight_units, 30)
for n in nodes:
    m = gain.match(n.name) if n.getRole() == pyatspi.ROLE_SLIDER else None
    if m:
        value = n.queryValue()
        if not (8 <= value.currentValue <= 80 and value.minimumValue == 8):
            sys.exit(f"FAIL: {n.name} reads {value.currentValue} ({value.minimumValue}..{value.maximumValue})")

phantom = next((n for n in nodes if n.getRole() == pyatspi.ROLE_CHECK_BOX
                and re.match(r"^Channel 1, .+: 48V$", n.name)), None)
if phantom is None:
    sys.exit("FAIL: no 48V check box for channel 1")
was = phantom.getState().contains(pyatspi.STATE_CHECKED)
action = phantom.queryAction()
names = [action.getName(i) for i in range(action.nActions)]
action.doAction(names.index("toggle") if "toggle" in names else 0)
wait_for("channel 1's 48V to report its new state",
         lambda: phantom.getState().contains(pyatspi.STATE_CHECKED) != was, 10)

box3 = named(walk(app, []), "Unit 3")
if box3 is None or box3.getRole() != pyatspi.ROLE_PUSH_BUTTON:
    sys.exit("FAIL: no button for unit 3")


def unit3_offline():
    box3.clearCache()
    if box3.description == "OFFLINE":
        return True
    # The off-line message waits for its OK, pressed as a screen reader user would.
    try:
        for node in walk(app, []):
            if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == "OK":
                node.queryAction().doAction(0)
    except GLib.GError:
        pass  # a box closed while it was read
    return False


wait_for("unit 3 to read OFFLINE", unit3_offline, 30)
print("AT-SPI: 64 gain sliders named with their gain, 48V of channel 1 toggled, unit 3 OFFLINE")
