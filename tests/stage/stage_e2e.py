"""The Stage Remote in Chromium against the real DeskPanel and unitsim (run by stage_e2e.sh)."""
import json
import os
import re
import shutil
import socket
import ssl
import statistics
import subprocess
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


def session_of(token):
    request = urllib.request.Request(PAGE + "session", headers={"Cookie": "deskpanel_token=" + token})
    try:
        return urllib.request.urlopen(request, timeout=2).status
    except urllib.error.HTTPError as e:
        return e.code


def live_handshake(origin, token=None):
    """The status of a WebSocket handshake at /live sent by hand, as another site's page or
    a program without the cookie would send it."""
    head = (f"GET /live HTTP/1.1\r\nHost: 127.0.0.1:{PORT}\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n"
            f"Origin: {origin}\r\n")
    if token:
        head += f"Cookie: deskpanel_token={token}\r\n"
    with socket.create_connection(("127.0.0.1", PORT), timeout=5) as raw:
        raw.sendall((head + "\r\n").encode())
        answer = b""
        while b"\r\n" not in answer:
            chunk = raw.recv(4096)
            if not chunk:
                break
            answer += chunk
    line = answer.split(b"\r\n", 1)[0].decode(errors="replace")
    return int(line.split()[1]) if line.startswith("HTTP/1.1 ") else line


def press(node):
    """A button's action; a box it opens keeps the answer from coming, which is fine."""
    try:
        node.queryAction().doAction(0)
    except GLib.GError:
        pass


def unit_gain(unit, channel):
    """The gain the simulated unit holds now, from its latest report."""
    lines = open(os.path.join(WORK, "rack.log")).read().splitlines()
    for line in reversed(lines):
        if line.startswith('{"unit":%d,' % unit):
            return json.loads(line)["inputs"][channel - 1]["gainDb"]
    return None


wait_for("the Stage Remote to answer", lambda: session_status() == 401, 30)
options = webdriver.ChromeOptions()
# The HTTPS part uses a certificate made here, which no browser knows.
for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=390,844",
                 "--ignore-certificate-errors"):
    options.add_argument(argument)
browser = webdriver.Chrome(options=options)
try:
    browser.get(PAGE)
    wait_for("the page to ask for a pairing code", lambda: browser.find_element(By.ID, "pair-code").is_displayed(), 10)

    # The operator opens Setup > Stage Remote and asks for a code (view only, the default).
    # One walk of the main window finds the menu item and channel 5's gain fader.
    app = wait_for("DeskPanel on the bus", panel_app, 30)
    fader_name = re.compile(r"^Channel 5, .+: gain$")

    def menu_item_and_fader():
        nodes = walk(app, [])
        item = next((n for n in nodes if n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name == "Stage Remote..."), None)
        fader = next((n for n in nodes if n.getRole() == pyatspi.ROLE_SLIDER and fader_name.match(n.name)), None)
        return (item, fader) if item and fader else None

    item, fader = wait_for("the Stage Remote menu item and channel 5's fader", menu_item_and_fader, 120)
    Atspi.set_timeout(1000, 15000)
    press(item)  # the dialog's own event loop keeps the answer from coming
    Atspi.set_timeout(-1, -1)
    pair = wait_for("the Pair a Device button", lambda: in_boxes(
        app, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "Pair a Device..."), 20)
    press(pair)

    def code_label():
        label = in_boxes(app, lambda n: n.name == "Pairing code")
        if label is not None:
            label.clearCache()
        return label

    def shown_code():
        label = code_label()
        digits = label.description.replace(" ", "") if label else ""  # read digit by digit: "1 2 3 4 5 6"
        return digits if re.fullmatch(r"\d{6}", digits) else None

    def submit_code(text):
        browser.execute_script('document.getElementById("error").textContent = ""')
        field = browser.find_element(By.ID, "pair-code")
        field.clear()
        field.send_keys(text)
        browser.find_element(By.CSS_SELECTOR, "#pair-form button").click()

    def try_code(text):
        submit_code(text)
        return wait_for(f"an answer to the code {text}", lambda: browser.find_element(By.ID, "error").text, 5)

    # Five wrong codes void the code: the sixth try, with the right one, is refused too.
    code = wait_for("the pairing code in the dialog", shown_code, 10)
    wrong = "000000" if code != "000000" else "111111"
    browser.find_element(By.ID, "pair-name").send_keys("Stage left")
    for attempt in range(5):
        if try_code(wrong) != "Wrong code.":
            sys.exit(f"FAIL: wrong code {attempt + 1} was answered {browser.find_element(By.ID, 'error').text!r}")
    said = try_code(code)
    if not said.startswith("No pairing code is open") or browser.get_cookie("deskpanel_token"):
        sys.exit(f"FAIL: the right code after five wrong ones was answered {said!r}")
    wait_for("the dialog to show no code open", lambda: code_label().description == "none open", 5)

    # A new code pairs the phone.
    press(pair)
    code = wait_for("a new pairing code in the dialog", shown_code, 10)
    submit_code(code)
    wait_for("the view device to connect", lambda: "(view)" in browser.find_element(By.ID, "conn").text, 10)
    cookie = browser.get_cookie("deskpanel_token")
    if not cookie or not cookie.get("httpOnly") or cookie.get("sameSite") != "Strict":
        sys.exit(f"FAIL: the pairing cookie is {cookie}")
    view_token = cookie["value"]

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

    # WebSockets the page did not open: the handshake itself is right (a paired device
    # from the page's origin is let in), but without the cookie or from another site it is
    # refused.
    own = f"http://127.0.0.1:{PORT}"
    handshakes = {
        "paired, own origin": (live_handshake(own, os.environ["STAGE_TOKEN"]), 101),
        "no cookie": (live_handshake(own), 403),
        "foreign origin": (live_handshake("http://evil.example", os.environ["STAGE_TOKEN"]), 403),
    }
    for what, (got, expected) in handshakes.items():
        if got != expected:
            sys.exit(f"FAIL: a WebSocket handshake ({what}) was answered {got}, not {expected}")

    # The operator revokes the view device in the dialog: its page is closed at once and
    # says so, and its cookie opens nothing any more.
    line = wait_for("the view device in the paired devices", lambda: in_boxes(
        app, lambda n: n.getRole() == pyatspi.ROLE_LIST_ITEM and n.name == "Stage left (view)"), 10)
    action = line.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("toggle") if "toggle" in names else 0)
    wait_for("the view device's line to be selected", lambda: line.getState().contains(pyatspi.STATE_SELECTED), 5)
    press(in_boxes(app, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "Revoke"))
    wait_for("the revoked page to say it is refused",
             lambda: browser.find_element(By.ID, "conn").text == "Refused: revoked"
             and browser.find_element(By.ID, "pair-code").is_displayed(), 10)
    if session_of(view_token) != 401 or live_handshake(own, view_token) != 403:
        sys.exit("FAIL: the revoked device's cookie still opens the session or the WebSocket")
    if session_of(os.environ["STAGE_TOKEN"]) != 200:
        sys.exit("FAIL: revoking one device revoked another")
    browser.refresh()
    wait_for("the reloaded page to show it is not paired",
             lambda: browser.find_element(By.ID, "conn").text == "Not paired", 10)

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

    # A change on the console shows on the page: channel 5's fader is moved as a screen
    # reader moves it, and the page notes when its gain text changes (same machine, same
    # clock for both ends).
    browser.execute_script("""
        window.gainSeen = [];
        const gain = document.getElementById("check-gain");
        new MutationObserver(() => window.gainSeen.push([gain.textContent, performance.timeOrigin + performance.now()]))
            .observe(gain, {childList: true, characterData: true, subtree: true});""")
    delays = []
    for gain in (30, 24, 36, 20, 28):
        before = time.time() * 1000
        fader.queryValue().currentValue = gain
        seen = wait_for(f"the page to show the console's {gain} dB", lambda: next(
            (t for text, t in browser.execute_script("return window.gainSeen") if text == f"{gain} dB" and t >= before),
            None), 5)
        delays.append(seen - before)
    wait_for("the last fader move to reach unit 1 input 5", lambda: unit_gain(1, 5) == 28, 5)
    print(f"console fader to page: median {statistics.median(delays):.0f} ms, longest {max(delays):.0f} ms "
          f"({', '.join(f'{d:.0f}' for d in delays)} ms)", file=sys.stderr)
    if max(delays) > 2000:
        sys.exit(f"FAIL: a change on the console took {max(delays):.0f} ms to show on the page")

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

    # HTTPS: the operator names a certificate and key in the dialog; the page comes over
    # https and opens its WebSocket as wss, and a tap still reaches the unit.
    https = shutil.which("openssl") is not None
    if https:
        certificate, key = os.path.join(WORK, "cert.pem"), os.path.join(WORK, "key.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1",
                        "-days", "2", "-keyout", key, "-out", certificate], check=True, capture_output=True)
        fields = {}
        for name, path in (("Certificate", certificate), ("Key", key)):
            fields[name] = wait_for(f"the dialog's {name} field", lambda: in_boxes(
                app, lambda n: n.name == name and n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)), 10)
            fields[name].queryEditableText().setTextContents(path)
        press(in_boxes(app, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "OK"))
        secure_page = f"https://127.0.0.1:{PORT}/"
        unverified = ssl.create_default_context()
        unverified.check_hostname = False
        unverified.verify_mode = ssl.CERT_NONE

        def https_session():
            try:
                return urllib.request.urlopen(secure_page + "session", timeout=2, context=unverified).status
            except urllib.error.HTTPError as e:
                return e.code
            except OSError:
                return None

        wait_for("the Stage Remote to answer over HTTPS", lambda: https_session() == 401, 10)
        if session_status() in (200, 401):
            sys.exit("FAIL: the Stage Remote still answers plain HTTP after HTTPS was chosen")
        browser.get(secure_page)
        browser.delete_all_cookies()
        browser.add_cookie({"name": "deskpanel_token", "value": os.environ["STAGE_TOKEN"], "path": "/"})
        browser.get(secure_page)
        wait_for("the control device to connect over HTTPS",
                 lambda: "(control)" in browser.find_element(By.ID, "conn").text, 10)
        scheme = browser.execute_script("return socket.url")
        if not scheme.startswith("wss://"):
            sys.exit(f"FAIL: the HTTPS page opened its WebSocket at {scheme}")
        browser.find_element(By.CSS_SELECTOR, ".strip[data-ch='5']").click()
        browser.find_element(By.CSS_SELECTOR, "[data-step='1']").click()
        wait_for("+1 dB over wss to reach unit 1 input 5", lambda: unit_gain(1, 5) == 29, 5)
    else:
        print("openssl not installed: HTTPS in the browser skipped", file=sys.stderr)
finally:
    browser.quit()
print("Stage Remote in Chromium: five wrong codes voided the dialog's code, a new code paired, a view device's "
      "controls disabled and its forged command refused, WebSockets without the cookie or from another origin "
      "refused, the revoked device refused, +3 dB reached the unit, the meter follows the unit, console changes "
      f"showed on the page in {statistics.median(delays):.0f} ms (median)" +
      (", the page over HTTPS with its WebSocket over wss" if https else ""))
