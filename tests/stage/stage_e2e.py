"""The Stage Remote in Chromium against the real DeskPanel and unitsim (run by stage_e2e.sh)."""
import json
import os
import re
import sys
import time
import urllib.error
import urllib.request

import pyatspi
from gi.repository import Atspi, GLib
from selenium import webdriver
from selenium.webdriver.common.by import By

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "accessibility"))
from atspi_tree import in_boxes, panel_app, walk  # noqa: E402

PORT = int(os.environ["STAGE_PORT"])
WORK = os.environ["STAGE_WORK"]
PAGE = f"http://127.0.0.1:{PORT}/"
START = time.monotonic()


def wait_for(what, check, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            found = check()
        except Exception:  # a node or element that went away while it was read
            found = None
        if found:
            print(f"{time.monotonic() - START:.1f} s: {what}", file=sys.stderr)
            return found
        time.sleep(0.1)
    sys.exit(f"FAIL: {what} within {seconds} s")


def session_status():
    try:
        return urllib.request.urlopen(PAGE + "session", timeout=2).status
    except urllib.error.HTTPError as e:
        return e.code
    except OSError:
        return None


def unit_gain(unit, channel):
    """The gain the simulated unit holds now, from its latest report."""
    lines = open(os.path.join(WORK, "rack.log")).read().splitlines()
    for line in reversed(lines):
        if line.startswith('{"unit":%d,' % unit):
            return json.loads(line)["inputs"][channel - 1]["gainDb"]
    return None


wait_for("the Stage Remote to answer", lambda: session_status() == 401, 30)
options = webdriver.ChromeOptions()
for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=390,844"):
    options.add_argument(argument)
browser = webdriver.Chrome(options=options)
try:
    browser.get(PAGE)
    wait_for("the page to ask for a pairing code", lambda: browser.find_element(By.ID, "pair-code").is_displayed(), 10)

    # The operator opens Setup > Stage Remote and asks for a code (view only, the default).
    app = wait_for("DeskPanel on the bus", panel_app, 30)
    item = wait_for("the Stage Remote menu item", lambda: next(
        n for n in walk(app, []) if n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name == "Stage Remote..."), 120)
    Atspi.set_timeout(1000, 15000)
    try:
        item.queryAction().doAction(0)  # the dialog's own event loop keeps the answer from coming
    except GLib.GError:
        pass
    Atspi.set_timeout(-1, -1)
    pair = wait_for("the Pair a Device button", lambda: in_boxes(
        app, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "Pair a Device..."), 20)
    try:
        pair.queryAction().doAction(0)
    except GLib.GError:
        pass

    def shown_code():
        label = in_boxes(app, lambda n: n.name == "Pairing code")
        if label is None:
            return None
        label.clearCache()
        digits = label.description.replace(" ", "")  # read digit by digit: "1 2 3 4 5 6"
        return digits if re.fullmatch(r"\d{6}", digits) else None

    code = wait_for("the pairing code in the dialog", shown_code, 10)

    # A wrong code is refused with the reason; the right one pairs the phone.
    wrong = "000000" if code != "000000" else "111111"
    browser.find_element(By.ID, "pair-code").send_keys(wrong)
    browser.find_element(By.ID, "pair-name").send_keys("Stage left")
    browser.find_element(By.CSS_SELECTOR, "#pair-form button").click()
    wait_for("a wrong code to be refused", lambda: browser.find_element(By.ID, "error").text == "Wrong code.", 5)
    browser.find_element(By.ID, "pair-code").clear()
    browser.find_element(By.ID, "pair-code").send_keys(code)
    browser.find_element(By.CSS_SELECTOR, "#pair-form button").click()
    wait_for("the view device to connect", lambda: "(view)" in browser.find_element(By.ID, "conn").text, 10)
    cookie = browser.get_cookie("deskpanel_token")
    if not cookie or not cookie.get("httpOnly") or cookie.get("sameSite") != "Strict":
        sys.exit(f"FAIL: the pairing cookie is {cookie}")

    # A view device: its controls are disabled and a command it forges is refused.
    browser.find_element(By.CSS_SELECTOR, ".strip[data-ch='5']").click()
    if any(b.is_enabled() for b in browser.find_elements(By.CSS_SELECTOR, "[data-step]")):
        sys.exit("FAIL: a view device's gain buttons are enabled")
    browser.execute_script('socket.send(JSON.stringify({a: "/deskpanel/ch/5/gain/step", v: [3]}))')
    wait_for("the forged command to be refused", lambda: browser.find_element(By.ID, "error").text.startswith(
        "not allowed for a view device"), 5)
    time.sleep(0.5)
    if unit_gain(1, 5) != 8:
        sys.exit(f"FAIL: a view device changed the gain of channel 5 to {unit_gain(1, 5)}")

    # The device paired with control: +3 dB on channel 5 reaches its unit.
    browser.delete_all_cookies()
    browser.add_cookie({"name": "deskpanel_token", "value": os.environ["STAGE_TOKEN"], "path": "/"})
    browser.get(PAGE)
    wait_for("the control device to connect", lambda: "(control)" in browser.find_element(By.ID, "conn").text, 10)
    wait_for("the units taken on to show as tabs",
             lambda: len(browser.find_elements(By.CSS_SELECTOR, "#unit-tabs button")) == 2, 10)
    browser.find_element(By.CSS_SELECTOR, ".strip[data-ch='5']").click()
    browser.find_element(By.CSS_SELECTOR, "[data-step='3']").click()
    wait_for("+3 dB to reach unit 1 input 5", lambda: unit_gain(1, 5) == 11, 5)
    wait_for("the page to show 11 dB", lambda: browser.find_element(By.ID, "check-gain").text == "11 dB", 5)
    # The meter follows the level the unit sends.
    wait_for("the line check meter to show a level",
             lambda: re.match(r"^-?\d+ dB$", browser.find_element(By.ID, "check-level").text), 5)

    # axe-core, from the npm registry, in the same browser.
    axe = os.environ.get("AXE_SCRIPT")
    if axe and os.path.exists(axe):
        browser.execute_script(open(axe).read())
        result = browser.execute_async_script(
            "const done = arguments[arguments.length - 1]; axe.run().then((r) => done(r.violations));")
        bad = [v["id"] for v in result if v.get("impact") in ("serious", "critical")]
        if bad:
            sys.exit(f"FAIL: axe-core finds serious or critical violations: {bad}")
        print(f"axe-core: {len(result)} minor violations, none serious", file=sys.stderr)
    else:
        print("axe-core not available: skipped", file=sys.stderr)
    if os.environ.get("STAGE_SCREENSHOT"):
        browser.save_screenshot(os.environ["STAGE_SCREENSHOT"])
finally:
    browser.quit()
print("Stage Remote in Chromium: paired with the dialog's code, a wrong code refused, a view device's controls "
      "disabled and its forged command refused, +3 dB reached the unit, the meter follows the unit")
