// DeskPanel Stage Remote page. One WebSocket at /live carries the console's state,
// meters and the page's commands as {"a": address, "v": [arguments]}.
"use strict";

const $ = (id) => document.getElementById(id);
const PER_UNIT = 8;
// Unit states in the unit panel's colours: [light, background].
const UNIT_COLOURS = {
  INACTIVE: ["#969696", "#2b3440"], ACTIVE: ["#3cdc5a", "#1f2833"], OFFLINE: ["#ffb020", "#161c24"],
  CONFLICT: ["#f02824", "#461e24"], FAULT: ["#f02824", "#461e24"], LOCAL: ["#66b3ff", "#1f2833"],
};

const state = {
  permission: "view", busy: false, allowPhantom: false, connected: false,
  channels: {}, units: {}, scenes: [], activeScene: 0, activeName: "",
  view: "channels", unit: 1, check: 1, armedScene: 0, peak: -128, peakAt: 0,
};
let socket = null;
let retryMs = 500;

function channel(n) {
  return state.channels[n] || (state.channels[n] = { gain: 0, mute: 0, pad: 0, polarity: 0, phantom: 0, name: "Ch " + n, notes: "", level: -128 });
}
function showError(text) { $("error").textContent = text; }
function canControl() { return state.connected && !state.busy && state.permission !== "view"; }

// ---- Connection: pair if needed, then keep one socket open, back off on failure ----
async function start() {
  const r = await fetch("/session", { credentials: "same-origin" }).catch(() => null);
  if (r && r.ok) { connect(); return; }
  if (r && r.status === 401) { $("pairing").hidden = false; setConn("Not paired", "bad"); return; }
  setConn("Server unreachable, retrying…", "bad");
  setTimeout(start, nextRetry());
}
function nextRetry() { const ms = retryMs; retryMs = Math.min(retryMs * 2, 8000); return ms; }

$("pair-form").addEventListener("submit", async (e) => {
  e.preventDefault();
  const body = JSON.stringify({ code: $("pair-code").value.trim(), name: $("pair-name").value.trim() });
  const r = await fetch("/pair", { method: "POST", headers: { "Content-Type": "application/json" }, body }).catch(() => null);
  if (!r) { showError("The server cannot be reached."); return; }
  const answer = await r.json().catch(() => ({}));
  if (!r.ok) { showError(answer.error || "Pairing failed."); return; }
  showError("");
  $("pairing").hidden = true;
  connect();
});

function setConn(text, cls) { const c = $("conn"); c.textContent = text; c.className = cls; }

function connect() {
  const scheme = location.protocol === "https:" ? "wss://" : "ws://";
  socket = new WebSocket(scheme + location.host + "/live");
  setConn("Connecting…", "bad");
  socket.onopen = () => { retryMs = 500; };
  socket.onmessage = (e) => { try { receive(JSON.parse(e.data)); } catch (err) { /* ignore a bad frame */ } };
  socket.onclose = (e) => {
    state.connected = false;
    render();
    if (e.code === 1008) { // refused: not paired (any more) or revoked
      setConn("Refused" + (e.reason ? ": " + e.reason : ""), "bad");
      $("pairing").hidden = false; $("views").hidden = true; showViews(false);
      return;
    }
    setConn("Disconnected, reconnecting…", "bad");
    setTimeout(connect, nextRetry());
  };
}

function send(address, args) {
  if (!socket || socket.readyState !== WebSocket.OPEN) return;
  if (state.busy && address !== "/deskpanel/ping") return; // the desk holds a box open
  socket.send(JSON.stringify({ a: address, v: args }));
}

// ---- Incoming messages: update the model, then draw ----
function receive(m) {
  const a = m.a, v = m.v || [];
  let match;
  if (a === "/deskpanel/meters") { meters(v[0], v[1] || []); return; }
  if (a === "/deskpanel/hello") {
    state.connected = true; state.permission = v[1] || "view";
    $("views").hidden = false; showViews(true);
    setConn("Connected: " + v[0] + " (" + state.permission + ")" + (v[3] ? " · " + v[3] : ""), "ok");
    subscribe();
  } else if ((match = /^\/deskpanel\/ch\/(\d+)\/(gain|mute|pad|polarity|phantom|name|notes)$/.exec(a))) {
    channel(+match[1])[match[2]] = v[0];
  } else if ((match = /^\/deskpanel\/unit\/(\d+)\/state$/.exec(a))) {
    state.units[+match[1]] = v[0];
  } else if (a === "/deskpanel/scene/list") {
    state.scenes.length = v[1];
    v.slice(2).forEach((name, i) => { state.scenes[v[0] - 1 + i] = name; });
  } else if (a === "/deskpanel/scene/active") {
    state.activeName = v[0]; state.activeScene = v[1];
  } else if (a === "/deskpanel/busy") {
    state.busy = v[0] === 1;
    if (state.connected) setConn(state.busy ? "busy" : "Connected (" + state.permission + ")", state.busy ? "busy" : "ok");
  } else if (a === "/deskpanel/allow/phantom") {
    state.allowPhantom = v[0] === 1;
  } else if (a === "/deskpanel/error") {
    showError(v[0]);
  }
  render();
}

function meters(first, levels) {
  levels.forEach((l, i) => { channel(first + i).level = l; });
  drawMeters();
}

// Meters cost bandwidth: ask only for the channels on screen.
function subscribe() {
  if (state.view === "check") send("/deskpanel/meters/subscribe", [state.check, 1]);
  else if (state.view === "channels") send("/deskpanel/meters/subscribe", [(state.unit - 1) * PER_UNIT + 1, PER_UNIT]);
  else send("/deskpanel/meters/subscribe", [1, 0]);
}

// ---- Drawing ----
const pct = (db) => Math.max(0, Math.min(100, ((db + 60) / 60) * 100));
function switchText(c) { return ["mute", "pad", "polarity", "phantom"].filter((k) => c[k]).map((k) => ({ mute: "Mute", pad: "Pad", polarity: "Pol", phantom: "48V" })[k]).join(" · ") || "—"; }

function showViews(on) {
  document.querySelectorAll(".view").forEach((s) => { s.hidden = !on || s.id !== state.view; });
  document.querySelectorAll("#views button").forEach((b) => b.setAttribute("aria-current", String(b.dataset.view === state.view)));
}

function render() {
  const unitCount = Math.max(1, Object.keys(state.units).length);
  // Unit tabs
  const tabs = $("unit-tabs");
  if (tabs.children.length !== unitCount) {
    tabs.textContent = "";
    for (let u = 1; u <= unitCount; u++) {
      const b = document.createElement("button"); b.type = "button"; b.textContent = "Unit " + u;
      b.addEventListener("click", () => { state.unit = u; subscribe(); render(); });
      tabs.appendChild(b);
    }
  }
  [...tabs.children].forEach((b, i) => b.setAttribute("aria-current", String(i + 1 === state.unit)));
  // Channel strips of the shown unit
  const list = $("strip-list"); list.textContent = "";
  for (let i = 1; i <= PER_UNIT; i++) {
    const n = (state.unit - 1) * PER_UNIT + i, c = channel(n);
    const li = document.createElement("li"), b = document.createElement("button");
    b.type = "button"; b.className = "strip"; b.dataset.ch = n;
    b.setAttribute("aria-label", c.name + ", gain " + c.gain + " dB, " + switchText(c) + ". Open line check");
    b.innerHTML = "";
    const name = document.createElement("span"); name.textContent = n + "  " + c.name;
    const gain = document.createElement("span"); gain.textContent = c.gain + " dB";
    const meter = document.createElement("span"); meter.className = "meter"; meter.appendChild(document.createElement("div"));
    const flags = document.createElement("span"); flags.className = "flags"; flags.textContent = switchText(c);
    b.append(name, gain, meter, flags);
    b.addEventListener("click", () => { state.check = n; state.view = "check"; showViews(true); subscribe(); render(); });
    li.appendChild(b); list.appendChild(li);
  }
  // Line check
  const c = channel(state.check);
  $("check-name").textContent = "Channel " + state.check + ": " + c.name;
  $("check-notes").textContent = c.notes;
  $("check-gain").textContent = c.gain + " dB";
  document.querySelectorAll("[data-step]").forEach((b) => { b.disabled = !canControl(); });
  document.querySelectorAll("[data-sw]").forEach((b) => {
    b.setAttribute("aria-pressed", String(c[b.dataset.sw] === 1));
    b.disabled = !canControl() || (b.dataset.sw === "phantom" && !state.allowPhantom);
  });
  $("prev").disabled = state.check <= 1;
  // Scenes
  $("scene-active").textContent = "Active: " + (state.activeName || "—");
  const sl = $("scene-list"); sl.textContent = "";
  state.scenes.forEach((name, i) => {
    const li = document.createElement("li"), b = document.createElement("button");
    b.type = "button"; b.className = "scene" + (state.armedScene === i + 1 ? " confirm" : "");
    b.textContent = (i + 1 === state.activeScene ? "● " : "") + (i + 1) + "  " + (name || "") + (state.armedScene === i + 1 ? " — tap again to recall" : "");
    b.setAttribute("aria-current", String(i + 1 === state.activeScene));
    b.disabled = !canControl() || state.permission !== "recall";
    b.addEventListener("click", () => recallTap(i + 1));
    li.appendChild(b); sl.appendChild(li);
  });
  // Units
  const ul = $("unit-list"); ul.textContent = "";
  Object.keys(state.units).forEach((u) => {
    const li = document.createElement("li"), col = UNIT_COLOURS[state.units[u]] || UNIT_COLOURS.INACTIVE;
    li.className = "unit"; li.textContent = "Unit " + u + ": " + state.units[u];
    li.style.borderColor = col[0]; li.style.background = col[1];
    ul.appendChild(li);
  });
  drawMeters();
}

function drawMeters() {
  document.querySelectorAll(".strip").forEach((b) => { b.querySelector(".meter div").style.width = pct(channel(+b.dataset.ch).level) + "%"; });
  const level = channel(state.check).level, now = Date.now();
  if (level >= state.peak || now - state.peakAt > 2000) { state.peak = level; state.peakAt = now; }
  $("check-bar").style.width = pct(level) + "%";
  $("check-peak").style.left = pct(state.peak) + "%";
  $("check-level").textContent = level <= -128 ? "no signal" : level + " dB";
  if (level >= 0) $("check-clip").classList.add("on");
}

// ---- Controls ----
function recallTap(n) {
  if (state.armedScene !== n) { state.armedScene = n; render(); setTimeout(() => { if (state.armedScene === n) { state.armedScene = 0; render(); } }, 4000); return; }
  state.armedScene = 0; send("/deskpanel/scene/recall", [n]); render();
}
document.querySelectorAll("[data-step]").forEach((b) => b.addEventListener("click", () => send("/deskpanel/ch/" + state.check + "/gain/step", [+b.dataset.step])));
document.querySelectorAll("[data-sw]").forEach((b) => b.addEventListener("click", () => {
  const c = channel(state.check); send("/deskpanel/ch/" + state.check + "/" + b.dataset.sw, [c[b.dataset.sw] ? 0 : 1]);
}));
$("check-clip").addEventListener("click", () => $("check-clip").classList.remove("on"));
$("prev").addEventListener("click", () => { if (state.check > 1) { state.check--; state.peak = -128; $("check-clip").classList.remove("on"); subscribe(); render(); } });
$("next").addEventListener("click", () => { state.check++; state.peak = -128; $("check-clip").classList.remove("on"); subscribe(); render(); });
document.querySelectorAll("#views button").forEach((b) => b.addEventListener("click", () => { state.view = b.dataset.view; showViews(true); subscribe(); render(); }));

// Swipe left/right on the channel list changes the unit.
let touchX = null;
$("channels").addEventListener("touchstart", (e) => { touchX = e.touches[0].clientX; }, { passive: true });
$("channels").addEventListener("touchend", (e) => {
  if (touchX === null) return;
  const dx = e.changedTouches[0].clientX - touchX; touchX = null;
  const units = Math.max(1, Object.keys(state.units).length);
  if (Math.abs(dx) > 60) { state.unit = Math.min(units, Math.max(1, state.unit + (dx < 0 ? 1 : -1))); subscribe(); render(); }
});

start();
