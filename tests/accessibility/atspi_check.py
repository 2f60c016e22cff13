"""What a screen reader finds in DeskPanel's window over AT-SPI (run by atspi_check.sh)."""
import re
import sys
import time
START = time.monotonic()

import pyatspi
from gi.repository import Atspi, GLib

from atspi_tree import in_boxes, panel_app, walk


def wait_for(what, check, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = check()
        if found:
            print(f"{time.monotonic() - START:.1f} s: {what}", file=sys.stderr)
            return found
        time.sleep(0.25)
    sys.exit(f"FAIL: {what} within {seconds} s (at {time.monotonic() - START:.1f} s)")


def named(nodes, name):
    return next((n for n in nodes if n.name == name), None)


app = wait_for("DeskPanel on the bus", panel_app, 30)
gain = re.compile(r"^Channel (\d+), .+: gain$")


def sliders_of_eight_units():
    nodes = walk(app, [])
    channels = {int(gain.match(n.name).group(1)): n for n in nodes
                if n.getRole() == pyatspi.ROLE_SLIDER and gain.match(n.name)}
    return nodes if all(c in channels for c in range(1, 65)) else None


nodes = wait_for("a named gain slider for channels 1..64", sliders_of_eight_units, 60)
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
        ok = in_boxes(app, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "OK",
                      (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT))
        if ok is not None:
            ok.queryAction().doAction(0)
    except GLib.GError:
        pass  # a box closed while it was read
    return False


wait_for("unit 3 to read OFFLINE", unit3_offline, 60)

# A fader set to 42 dB reads 42 dB.
slider1 = next(n for n in walk(app, []) if n.getRole() == pyatspi.ROLE_SLIDER and gain.match(n.name)
               and gain.match(n.name).group(1) == "1")
slider1.queryValue().currentValue = 42
wait_for("channel 1's fader to read 42 dB", lambda: slider1.queryValue().currentValue == 42, 10)

# One recall of all 384 inputs: a handful of events, one of them the announcement.
heard = []


def on_event(event):
    try:
        if event.host_application is not None and event.host_application.name.lower().startswith("deskpanel"):
            heard.append((event.type, event.source.name if event.source else ""))
    except GLib.GError:
        heard.append((event.type, ""))


def pump(seconds):
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.01)


nodes = walk(app, [])
scenes = next(n for n in nodes if n.getRole() == pyatspi.ROLE_LIST and n.name == "Scenes")
recall = next(n for n in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "Recall")
pyatspi.Registry.registerEventListener(on_event, "object", "focus", "window")
counts = []

def select_scene(line):
    """Selects the scene list's line as a reader does: the line's own toggle action."""
    item = next(n for n in walk(scenes, []) if n.name == line)
    if item.getState().contains(pyatspi.STATE_SELECTED):
        return
    action = item.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("toggle") if "toggle" in names else 0)
    wait_for(f"the scene list to select {line}", lambda: item.getState().contains(pyatspi.STATE_SELECTED), 5)


for line, said in (("000 Blank Scene", "Blank Scene recalled"), ("001 Verse", "Scene 1 Verse recalled")):
    select_scene(line)
    pump(1.0)
    heard.clear()
    recall.queryAction().doAction(0)
    pump(3.0)
    announced = [name for kind, name in heard if kind.startswith("object:property-change:accessible-name")
                 and name == said]
    if len(heard) > 20 or len(announced) != 1:
        sys.exit(f"FAIL: recalling {line} sent {len(heard)} events, announced {announced}: {heard[:30]}")
    counts.append(len(heard))
pyatspi.Registry.deregisterEventListener(on_event, "object", "focus", "window")

# The Remote Control dialog's fields are named by their labels.
menu_item = next(n for n in walk(app, []) if n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name == "Remote Control...")
# The menu runs the command inside the action call, and the dialog's own event loop keeps
# the reply from coming: the call times out while the dialog is open.
Atspi.set_timeout(1000, 15000)
try:
    menu_item.queryAction().doAction(0)
except GLib.GError:
    pass
Atspi.set_timeout(-1, -1)


def remote_fields():
    found = {n.name: n for n in walk(app, []) if n.name in ("UDP port", "Allowed hosts")}
    return found if len(found) == 2 else None


fields = wait_for("the Remote Control dialog's port and hosts fields by name", remote_fields, 10)
cancel = next(n for n in walk(app, []) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "Cancel")
cancel.queryAction().doAction(0)
print("AT-SPI: 64 gain sliders named with their gain, 48V of channel 1 toggled, unit 3 OFFLINE, "
      f"a fader set to 42 dB reads 42, events per recall of 384 inputs {counts[0]} and {counts[1]}, "
      "Remote Control fields named")
