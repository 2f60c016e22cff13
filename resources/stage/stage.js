// DeskPanel Stage Remote page. One WebSocket at /live carries the console's state,
// meters and the page's commands as {"a": address, "v": [arguments]}.
"use strict";

const $ = (id) => document.getElementById(id);
const PER_UNIT = 8;
const NO_SCENE = -1;
// Unit states in the unit panel's colours: [light, background].
const UNIT_COLOURS = {
  INACTIVE: ["#969696", "#2b3440"], ACTIVE: ["#3cdc5a", "#1f2833"], OFFLINE: ["#ffb020", "#161c24"],
  CONFLICT: ["#f02824", "#461e24"], FAULT: ["#f02824", "#461e24"], LOCAL: ["#66b3ff", "#1f2833"],
};

const state = {
  permission: "view", busy: false, allowPhantom: false, connected: false,
  channels: {}, units: {}, scenes: [], activeScene: 0, activeName: "",
  view: "channels", unit: 1, check: 1, armedScene: NO_SCENE, peak: -128, peakAt: 0,
};
let socket = null;
let retryMs = 500;
let renderPending = false;

function channel(n) {
  return state.channels[n] || (state.channels[n] = { gain: 0, mute: 0, pad: 0, polarity: 0, phantom: 0, name: "", notes: "", level: -128 });
}
function channelName(n) { return channel(n).name || "Ch " + n; }
function showError(text) { $("error").textContent = text; }
function canControl() { return state.connected && !state.busy && state.permission !== "view"; }
// The units taken on, in number order; unit 1 while none is.
function shownUnits() {
  const units = Object.keys(state.units).map(Number).filter((u) => state.units[u] !== "INACTIVE").sort((a, b) => a - b);
  return units.length ? units : [1];
}

// ---- Connection: pair if needed, then keep one socket open, back off on failure ----
async function start() {
  const r = await fetch("/session", { credentials: "same-origin" }).catch(() => null);
  if (r && r.ok) { connect(); return; }
  if (r && r.status === 401) { showPairing("Not paired"); return; }
  setConn("Server unreachable, retrying…", "bad");
  setTimeout(start, nextRetry());
}
function nextRetry() { const ms = retryMs; retryMs = Math.min(retryMs * 2, 8000); return ms; }
function showPairing(why) {
  setConn(why, "bad");
  $("pairing").hidden = false; $("views").hidden = true; showViews(false);
}

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
    scheduleRender();
    if (e.code === 1008) { showPairing("Refused" + (e.reason ? ": " + e.reason : "")); return; } // revoked
    setConn("Disconnected, reconnecting…", "bad");
    // A socket refused before it opened looks like any other failure: ask whether this
    // device is still paired before trying again.
    setTimeout(start, nextRetry());
  };
}

function send(address, args) {
  if (!socket || socket.readyState !== WebSocket.OPEN) return;
  if (state.busy && address !== "/deskpanel/ping") return; // the desk holds a box open
  socket.send(JSON.stringify({ a: address, v: args }));
}

// ---- Incoming messages: update the model, then draw once per animation frame ----
function receive(m) {
  const a = m.a, v = m.v || [];
  let match;
  if (a === "/deskpanel/meters") { meters(v[0], v[1] || []); return; }
  if (a === "/deskpanel/hello") {
    state.connected = true; state.permission = v[1] || "view";
    $("pairing").hidden = true; $("views").hidden = false; showViews(true);
    setConn("Connected: " + v[0] + " (" + state.permission + ")" + (v[3] ? " · " + v[3] : ""), "ok");
    subscribe();
  } else if ((match = /^\/deskpanel\/ch\/(\d+)\/(gain|mute|pad|polarity|phantom|name|notes)$/.exec(a))) {
    channel(+match[1])[match[2]] = v[0];
  } else if ((match = /^\/deskpanel\/unit\/(\d+)\/state$/.exec(a))) {
    state.units[+match[1]] = v[0];
  } else if (a === "/deskpanel/scene/list") {
    // [first position (0 is the Blank Scene), count of scenes, names...]
    state.scenes.length = v[1];
    v.slice(2).forEach((name, i) => { state.scenes[v[0] + i] = name; });
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
  scheduleRender();
}

function scheduleRender() {
  if (renderPending) return;
  renderPending = true;
  requestAnimationFrame(() => { renderPending = false; render(); });
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

// ---- Drawing: the lists are built when what they list changes, and updated in place
// otherwise, so a button keeps its focus while values change ----
const pct = (db) => Math.max(0, Math.min(100, ((db + 60) / 60) * 100));
function switchText(c) { return ["mute", "pad", "polarity", "phantom"].filter((k) => c[k]).map((k) => ({ mute: "Mute", pad: "Pad", polarity: "Pol", phantom: "48V" })[k]).join(" · ") || "—"; }

function showViews(on) {
  document.querySelectorAll(".view").forEach((s) => { s.hidden = !on || s.id !== state.view; });
  document.querySelectorAll("#views button").forEach((b) => b.setAttribute("aria-current", String(b.dataset.view === state.view)));
}

function rebuild(list, key, build) {
  if (list.dataset.key === key) return false;
  list.dataset.key = key; list.textContent = ""; build();
  return true;
}

function renderStrips() {
  const units = shownUnits();
  if (!units.includes(state.unit)) state.unit = units[0];
  const tabs = $("unit-tabs");
  rebuild(tabs, units.join(","), () => units.forEach((u) => {
    const b = document.createElement("button"); b.type = "button"; b.textContent = "Unit " + u; b.dataset.unit = u;
    b.addEventListener("click", () => { state.unit = u; subscribe(); render(); });
    tabs.appendChild(b);
  }));
  [...tabs.children].forEach((b) => b.setAttribute("aria-current", String(+b.dataset.unit === state.unit)));
  const list = $("strip-list");
  rebuild(list, String(state.unit), () => {
    for (let i = 1; i <= PER_UNIT; i++) {
      const n = (state.unit - 1) * PER_UNIT + i;
      const li = document.createElement("li"), b = document.createElement("button");
      b.type = "button"; b.className = "strip"; b.dataset.ch = n;
      const name = document.createElement("span"); name.className = "name";
      const gain = document.createElement("span"); gain.className = "gain-text";
      const meter = document.createElement("span"); meter.className = "meter"; meter.appendChild(document.createElement("div"));
      const flags = document.createElement("span"); flags.className = "flags";
      b.append(name, gain, meter, flags);
      b.addEventListener("click", () => { state.check = n; state.view = "check"; showViews(true); subscribe(); render(); });
      li.appendChild(b); list.appendChild(li);
    }
  });
  list.querySelectorAll(".strip").forEach((b) => {
    const n = +b.dataset.ch, c = channel(n);
    b.setAttribute("aria-label", n + " " + channelName(n) + ", gain " + c.gain + " dB, " + switchText(c) + ". Open line check");
    b.querySelector(".name").textContent = n + "  " + channelName(n);
    b.querySelector(".gain-text").textContent = c.gain + " dB";
    b.querySelector(".flags").textContent = switchText(c);
  });
}

function renderCheck() {
  const c = channel(state.check);
  $("check-name").textContent = "Channel " + state.check + ": " + channelName(state.check);
  $("check-notes").textContent = c.notes;
  $("check-gain").textContent = c.gain + " dB";
  document.querySelectorAll("[data-step]").forEach((b) => { b.disabled = !canControl(); });
  document.querySelectorAll("[data-sw]").forEach((b) => {
    b.setAttribute("aria-pressed", String(c[b.dataset.sw] === 1));
    b.disabled = !canControl() || (b.dataset.sw === "phantom" && !state.allowPhantom);
  });
  $("prev").disabled = state.check <= 1;
  $("next").disabled = state.check >= 384;
}

function renderScenes() {
  $("scene-active").textContent = "Active: " + (state.activeName || "—");
  const sl = $("scene-list");
  rebuild(sl, state.scenes.join("\n"), () => state.scenes.forEach((name, position) => {
    const li = document.createElement("li"), b = document.createElement("button");
    b.type = "button"; b.className = "scene"; b.dataset.position = position;
    b.addEventListener("click", () => recallTap(position));
    li.appendChild(b); sl.appendChild(li);
  }));
  sl.querySelectorAll(".scene").forEach((b) => {
    const position = +b.dataset.position, armed = state.armedScene === position, active = position === state.activeScene;
    b.classList.toggle("confirm", armed);
    b.textContent = (active ? "● " : "") + String(position).padStart(3, "0") + "  " + (state.scenes[position] || "") + (armed ? " — tap again to recall" : "");
    b.setAttribute("aria-current", String(active));
    b.disabled = !canControl() || state.permission !== "recall";
  });
}

function renderUnits() {
  const ul = $("unit-list"); ul.textContent = "";
  shownUnits().forEach((u) => {
    const s = state.units[u] || "INACTIVE", col = UNIT_COLOURS[s] || UNIT_COLOURS.INACTIVE;
    const li = document.createElement("li");
    li.className = "unit"; li.textContent = "Unit " + u + ": " + s;
    li.style.borderColor = col[0]; li.style.background = col[1];
    ul.appendChild(li);
  });
}

function render() {
  renderStrips();
  renderCheck();
  renderScenes();
  renderUnits();
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
function recallTap(position) {
  if (state.armedScene !== position) {
    state.armedScene = position; render();
    setTimeout(() => { if (state.armedScene === position) { state.armedScene = NO_SCENE; render(); } }, 4000);
    return;
  }
  state.armedScene = NO_SCENE; send("/deskpanel/scene/recall", [position]); render();
}
function showChannel(n) { state.check = n; state.peak = -128; $("check-clip").classList.remove("on"); subscribe(); render(); }
document.querySelectorAll("[data-step]").forEach((b) => b.addEventListener("click", () => send("/deskpanel/ch/" + state.check + "/gain/step", [+b.dataset.step])));
document.querySelectorAll("[data-sw]").forEach((b) => b.addEventListener("click", () => {
  const c = channel(state.check); send("/deskpanel/ch/" + state.check + "/" + b.dataset.sw, [c[b.dataset.sw] ? 0 : 1]);
}));
$("check-clip").addEventListener("click", () => $("check-clip").classList.remove("on"));
$("prev").addEventListener("click", () => { if (state.check > 1) showChannel(state.check - 1); });
$("next").addEventListener("click", () => { if (state.check < 384) showChannel(state.check + 1); });
document.querySelectorAll("#views button").forEach((b) => b.addEventListener("click", () => { state.view = b.dataset.view; showViews(true); subscribe(); render(); }));

// Swipe left/right on the channel list changes the unit.
let touchX = null;
$("channels").addEventListener("touchstart", (e) => { touchX = e.touches[0].clientX; }, { passive: true });
$("channels").addEventListener("touchend", (e) => {
  if (touchX === null) return;
  const dx = e.changedTouches[0].clientX - touchX; touchX = null;
  const units = shownUnits(), at = units.indexOf(state.unit);
  if (Math.abs(dx) > 60) { state.unit = units[Math.min(units.length - 1, Math.max(0, at + (dx < 0 ? 1 : -1)))]; subscribe(); render(); }
});

start();
