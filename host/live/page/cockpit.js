'use strict';
// The page keeps a copy of the panel's layout (windows, gauges, mouse areas)
// and draws each window from its latest picture. The event stream says which
// windows were drawn anew; only those are fetched again.
const cockpit = {
  layout: null,
  windows: new Map(),   // window number -> {config, element, image, shown, wanted}
  sounds: [],           // every sound the panel played: {gauge, wave, played}
  update: 0,
  ready: null,
};
window.cockpit = cockpit;
// The designer (designer.js) lays the desk out again after each edit.
cockpit.relayout = (layout) => {
  cockpit.layout = layout;
  buildDesk();
  for (const entry of cockpit.windows.values()) refresh(entry);
};

const $ = (id) => document.getElementById(id);
const two = (n) => String(n).padStart(2, '0');

async function request(method, path, body) {
  const options = { method, headers: {} };
  if (body !== undefined) {
    options.headers['Content-Type'] = 'application/json';
    options.body = JSON.stringify(body);
  }
  const res = await fetch(path, options);
  const text = await res.text();
  if (!res.ok) throw new Error(`${method} ${path}: ${res.status} ${text.trim()}`);
  return text ? JSON.parse(text) : null;
}
const post = (path, body) => request('POST', path, body).catch(showError);
cockpit.request = request;
function showError(e) { setStatus(String(e.message || e), 'lost'); }
function setStatus(text, kind) { const s = $('status'); s.textContent = text; s.className = kind || ''; }

// ------------------------------------------------------------ windows
function windowPlaces(windows) {
  // A window is placed by window_pos (fractions of the screen) or by its
  // position (a 3x3 grid over the screen); the others stand side by side to
  // the right of the first, in panel order. The first window is the screen.
  const screen = windows[0] || { w: 800, h: 600 };
  const places = new Map();
  let flow = 0;
  windows.forEach((w, i) => {
    let x, y;
    const pos = (w.window_pos || '').split(',').map(Number);
    if (pos.length === 2 && pos.every(Number.isFinite)) {
      x = pos[0] * screen.w; y = pos[1] * screen.h;
    } else if (i > 0 && w.position > 0 && w.position <= 8) {
      const col = w.position % 3, row = Math.floor(w.position / 3);
      x = [0, (screen.w - w.w) / 2, screen.w - w.w][col];
      y = [0, (screen.h - w.h) / 2, screen.h - w.h][row];
    } else if (i === 0) {
      x = 0; y = 0;
    } else {
      x = flow; y = 0;
    }
    if (i === 0 || !(pos.length === 2 && pos.every(Number.isFinite)) && !(w.position > 0 && w.position <= 8)) {
      flow = Math.max(flow, x + w.w + 24);
    }
    places.set(w.window, { x: Math.max(0, x), y: Math.max(0, y) + 20 });
  });
  return places;
}

function buildDesk() {
  const desk = $('desk');
  desk.textContent = '';
  cockpit.windows.clear();
  const places = windowPlaces(cockpit.layout.windows);
  let width = 0, height = 0;
  for (const w of cockpit.layout.windows) {
    const place = places.get(w.window);
    const el = document.createElement('div');
    el.className = 'window';
    el.id = `window-${two(w.window)}`;
    el.style.left = `${place.x}px`;
    el.style.top = `${place.y}px`;
    el.style.width = `${w.w}px`;
    el.style.height = `${w.h}px`;
    el.hidden = !w.visible;
    el.innerHTML = `<span class="title"></span><img alt="">`;
    el.querySelector('.title').textContent = w.title || `Window ${two(w.window)}`;
    el.querySelector('img').alt = w.title || '';
    desk.appendChild(el);
    width = Math.max(width, place.x + w.w);
    height = Math.max(height, place.y + w.h);
    const entry = { config: w, element: el, image: el.querySelector('img'), shown: 0, wanted: w.version, loading: null, scale: 1, drawnAt: 0,
                    gauges: cockpit.layout.gauges.filter((g) => g.window === w.window) };
    cockpit.windows.set(w.window, entry);
    attachMouse(entry);
  }
  desk.dataset.width = width;
  desk.dataset.height = height;
  applyZoom();
}

// The zoom goes from the fit up to kMaxZoom; pictures are asked for at the
// pixels they are shown at, in steps of kScaleStep, so that zooming by a
// little keeps the pictures already drawn.
const kMaxZoom = 3;
const kScaleStep = 0.25;
const kMinScale = 0.25, kMaxScale = 4;

function fitZoom() {
  // The main panel fills the room across or down, whichever it reaches first.
  const screen = cockpit.layout.windows[0] || { w: 800, h: 600 };
  const view = $('viewport');
  const across = (view.clientWidth - 16) / screen.w;
  const down = (view.clientHeight - 16) / (screen.h + 20);
  return Math.max(0.05, Math.min(kMaxZoom, across, down));
}

function pictureScale(zoom) {
  const pixels = zoom * (window.devicePixelRatio || 1);
  const stepped = Math.ceil(pixels / kScaleStep - 1e-6) * kScaleStep;
  return Math.min(kMaxScale, Math.max(kMinScale, stepped));
}

function applyZoom() {
  const desk = $('desk');
  const value = $('zoom').value;
  const width = Number(desk.dataset.width) || 1, height = Number(desk.dataset.height) || 1;
  const fit = fitZoom();
  const zoom = value === 'fit' ? fit : Math.max(fit, Number(value));
  desk.style.transform = `scale(${zoom})`;
  desk.style.width = `${width}px`;
  desk.style.height = `${height}px`;
  desk.parentElement.style.minHeight = `${height * zoom}px`;
  cockpit.zoom = zoom;
  const scale = pictureScale(zoom);
  for (const entry of cockpit.windows.values()) {
    if (entry.scale === scale) continue;
    entry.scale = scale;
    refresh(entry);
  }
}

// Fetches the newest picture of a window until it has the version it was told of.
async function refresh(entry) {
  if (entry.loading) return entry.loading;
  entry.loading = (async () => {
    while ((entry.shown < entry.wanted || entry.drawnAt !== entry.scale) && !entry.element.hidden) {
      const scale = entry.scale;
      const res = await fetch(`/window/${two(entry.config.window)}.png?scale=${scale}`);
      if (!res.ok) break;
      const version = Number(res.headers.get('X-Picture-Version'));
      // The new picture is decoded aside and then put in the old one's
      // place, so the window never shows an empty frame between the two.
      const url = URL.createObjectURL(await res.blob());
      const image = new Image();
      image.alt = entry.image.alt;
      image.src = url;
      const decoded = await image.decode().then(() => true, () => false);
      if (!decoded) { URL.revokeObjectURL(url); break; }
      const old = entry.image.src;
      entry.image.replaceWith(image);
      entry.image = image;
      if (old.startsWith('blob:')) URL.revokeObjectURL(old);
      entry.shown = version;
      entry.drawnAt = scale;
      entry.element.dataset.version = version;
      entry.element.dataset.scale = scale;
      if (version < entry.wanted) continue;
    }
  })().finally(() => { entry.loading = null; });
  return entry.loading;
}

// ------------------------------------------------------------ the mouse
// Where the pointer is: the window's panel units, the gauge on top there and
// the pixel of that gauge's background.
function pointAt(entry, event) {
  const rect = entry.element.getBoundingClientRect();
  const px = (event.clientX - rect.left) * entry.config.w / rect.width;
  const py = (event.clientY - rect.top) * entry.config.h / rect.height;
  for (let i = entry.gauges.length - 1; i >= 0; --i) {
    const g = entry.gauges[i];
    if (px < g.x || py < g.y || px >= g.x + g.w || py >= g.y + g.h) continue;
    const bw = g.bw || g.w, bh = g.bh || g.h;
    return { gauge: g, x: Math.floor((px - g.x) * bw / g.w), y: Math.floor((py - g.y) * bh / g.h) };
  }
  return null;
}

// The innermost area of a kind under a gauge pixel (the first listed on a tie).
function areaAt(g, x, y, test) {
  let best = null;
  for (const a of g.areas) {
    if (!test(a) || x < a.x || y < a.y || x >= a.x + a.w || y >= a.y + a.h) continue;
    if (!best || a.depth > best.depth) best = a;
  }
  return best;
}

// The knob under a gauge pixel: an increase and a decrease click area in one
// group, the innermost group around the pixel that holds such a pair.
function knobAt(g, x, y) {
  const groups = g.areas.map((a, i) => ({ a, i }))
    .filter(({ a }) => a.kind === 'group' && x >= a.x && y >= a.y && x < a.x + a.w && y < a.y + a.h)
    .sort((p, q) => q.a.depth - p.a.depth);
  for (const { i } of groups) {
    const arrow = (cursor) => g.areas.find((a) => a.kind === 'click' && a.parent === i && a.cursor === cursor &&
                                                  (a.left || a.right));
    const up = arrow('up'), down = arrow('down');
    if (up && down) return { up, down };
  }
  return null;
}

// What the mouse does on a knob, from its areas' buttons: the wheel and the
// button it clicks with, the other button, holding.
function knobHint(knob) {
  const both = (key) => knob.up[key] && knob.down[key];
  const parts = [];
  if (both('left')) {
    parts.push('wheel or click: step');
    if (both('right')) parts.push('right click: other step');
  } else {
    parts.push('wheel or right click: step');
  }
  if (knob.up.repeat || knob.down.repeat) parts.push('hold: repeat');
  return parts.join('; ');
}

const cursorImage = (sign) => `url("data:image/svg+xml,${encodeURIComponent(
  `<svg xmlns='http://www.w3.org/2000/svg' width='20' height='20'><circle cx='10' cy='10' r='8' fill='white' stroke='black' stroke-width='1.5'/><path d='M5 10h10${sign === '+' ? 'M10 5v10' : ''}' stroke='black' stroke-width='2.5'/></svg>`)}") 10 10`;
const CURSORS = { hand: 'pointer', up: `${cursorImage('+')}, n-resize`, down: `${cursorImage('-')}, s-resize`, arrow: 'default' };

function attachMouse(entry) {
  const el = entry.element;
  let held = null;      // the button held: {point, button, timer}
  let dragging = null;  // a drag gesture: {gauge, pending, sending}
  let hover = null;     // the tooltip asked for: {key, timer}

  const body = (p, extra) => Object.assign({ gauge: p.gauge.gauge, x: p.x, y: p.y }, extra);
  const stopHeld = () => { if (held && held.timer) clearTimeout(held.timer); held = null; };

  async function sendDrag(point, end) {
    dragging.pending = { point, end };
    if (dragging.sending) return;
    dragging.sending = true;
    while (dragging && dragging.pending) {
      const { point: p, end: last } = dragging.pending;
      dragging.pending = null;
      await post('/drag', body({ gauge: dragging.gauge, x: p.x, y: p.y }, last ? { end: true } : {}));
      if (last) dragging = null;
    }
    if (dragging) dragging.sending = false;
  }
  // A drag keeps to the gauge it began on, with points past its edge.
  const dragPoint = (event) => {
    const g = dragging.gauge;
    const rect = el.getBoundingClientRect();
    const px = (event.clientX - rect.left) * entry.config.w / rect.width;
    const py = (event.clientY - rect.top) * entry.config.h / rect.height;
    const bw = g.bw || g.w, bh = g.bh || g.h;
    return { x: Math.floor((px - g.x) * bw / g.w), y: Math.floor((py - g.y) * bh / g.h) };
  };

  el.addEventListener('contextmenu', (e) => e.preventDefault());
  el.addEventListener('pointerdown', (event) => {
    unlockAudio();
    hideTooltip();
    const p = pointAt(entry, event);
    if (!p) return;
    event.preventDefault();
    const button = event.buttons === 3 ? 'both' : event.button === 2 ? 'right' : event.button === 0 ? 'left' : null;
    if (!button) return;
    const area = areaAt(p.gauge, p.x, p.y, (a) => a.kind === 'click');
    if (area && area.drag && button === 'left') {
      el.setPointerCapture(event.pointerId);
      dragging = { gauge: p.gauge, pending: null, sending: false };
      sendDrag(p, false);
      return;
    }
    post('/click', body(p, { button }));
    if (area && area.repeat) {
      // Repeat areas repeat while the button is down, as a held key does.
      el.setPointerCapture(event.pointerId);
      const repeat = () => { post('/click', body(p, { button })); held.timer = setTimeout(repeat, 1000 / 18); };
      held = { timer: setTimeout(repeat, 400) };
    }
    if (hover) hover.key = null;  // the tooltip may read differently now
  });
  el.addEventListener('pointerup', (event) => {
    stopHeld();
    if (dragging) sendDrag(dragPoint(event), true);
  });
  el.addEventListener('pointercancel', (event) => {
    stopHeld();
    if (dragging) sendDrag(dragPoint(event), true);
  });
  el.addEventListener('pointerleave', () => { if (!dragging) hideTooltip(); });
  // The wheel clicks a knob's increase area (up) or its decrease area (down),
  // at its middle, with the button both take; elsewhere the page scrolls.
  el.addEventListener('wheel', (event) => {
    const p = pointAt(entry, event);
    const knob = p && event.deltaY !== 0 && knobAt(p.gauge, p.x, p.y);
    if (!knob) return;
    event.preventDefault();
    const a = event.deltaY < 0 ? knob.up : knob.down;
    const button = knob.up.left && knob.down.left ? 'left' : 'right';
    post('/click', { gauge: p.gauge.gauge, x: Math.floor(a.x + a.w / 2), y: Math.floor(a.y + a.h / 2), button });
    if (hover) hover.key = null;  // the tooltip may read differently now
  }, { passive: false });
  el.addEventListener('pointermove', (event) => {
    if (dragging) {
      sendDrag(dragPoint(event), false);
      return;
    }
    const p = pointAt(entry, event);
    // A click area's cursor, where there is one, over that of the group around it.
    const area = p && (areaAt(p.gauge, p.x, p.y, (a) => a.kind === 'click') || areaAt(p.gauge, p.x, p.y, () => true));
    el.style.cursor = CURSORS[area ? area.cursor : 'arrow'] || 'default';
    const tip = p && areaAt(p.gauge, p.x, p.y, (a) => a.kind === 'group' && a.tooltip);
    if (!tip) { hideTooltip(); return; }
    const key = `${p.gauge.gauge}/${tip.x},${tip.y},${tip.w},${tip.h}`;
    const at = { x: event.clientX, y: event.clientY };
    if (hover && hover.key === key) { moveTooltip(at); return; }
    hideTooltip();
    hover = { key, timer: setTimeout(async () => {
      const q = new URLSearchParams({ gauge: p.gauge.gauge, x: p.x, y: p.y });
      try {
        const t = await request('GET', `/tooltip?${q}`);
        const knob = knobAt(p.gauge, p.x, p.y);
        if (hover && hover.key === key && t.text) showTooltip(t.text, at, knob && knobHint(knob));
      } catch (e) { showError(e); }
    }, 300) };
  });
  function hideTooltip() {
    if (hover && hover.timer) clearTimeout(hover.timer);
    hover = null;
    $('tooltip').hidden = true;
  }
}

function showTooltip(text, at, hint) {
  const tip = $('tooltip');
  tip.textContent = text;
  if (hint) {
    const line = document.createElement('div');
    line.className = 'hint';
    line.textContent = hint;
    tip.appendChild(line);
  }
  tip.hidden = false;
  moveTooltip(at);
}
// Below and right of the pointer, or on its other side where the viewport
// ends; never past the viewport's edges.
function moveTooltip(at) {
  const tip = $('tooltip');
  const room = document.documentElement;
  // Measured at the left edge, where nothing narrows it.
  tip.style.left = '0px';
  tip.style.top = '0px';
  const w = tip.offsetWidth, h = tip.offsetHeight;
  let x = at.x + 14, y = at.y + 18;
  if (x + w > room.clientWidth) x = at.x - 8 - w;
  if (y + h > room.clientHeight) y = at.y - 8 - h;
  tip.style.left = `${Math.max(0, Math.min(x, room.clientWidth - w))}px`;
  tip.style.top = `${Math.max(0, Math.min(y, room.clientHeight - h))}px`;
}

// ------------------------------------------------------------ sound
// Browsers let a page play sound only after the user has done something.
let audio = null;
const waves = new Map();
function unlockAudio() {
  if (audio) return;
  try {
    audio = new AudioContext();
    audio.resume();
  } catch (e) { audio = null; }
}
async function play(sound) {
  const entry = Object.assign({ played: false }, sound);
  cockpit.sounds.push(entry);
  if (!audio) return;
  try {
    if (!waves.has(sound.wave)) {
      waves.set(sound.wave, fetch(`/wave/${sound.wave}.wav`).then((r) => r.arrayBuffer()).then((b) => audio.decodeAudioData(b)));
    }
    const buffer = await waves.get(sound.wave);
    const source = audio.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.destination);
    source.start();
    entry.played = true;
  } catch (e) { /* a sound that cannot play leaves the panel working */ }
}

// ------------------------------------------------------------ the stream
function onUpdate(message) {
  cockpit.update = message.update;
  for (const w of message.windows || []) {
    const entry = cockpit.windows.get(w.window);
    if (!entry) continue;
    entry.element.hidden = !w.visible;
    const box = document.querySelector(`#windows input[data-window="${w.window}"]`);
    if (box) box.checked = w.visible;
    if (w.visible) refresh(entry);
  }
  for (const p of message.pictures || []) {
    const entry = cockpit.windows.get(p.window);
    if (!entry) continue;
    entry.wanted = Math.max(entry.wanted, p.version);
    refresh(entry);
  }
  for (const s of message.sounds || []) play(s);
  if (message.lighting) $(message.lighting).checked = true;
  setStatus(`live · update ${cockpit.update}`, 'live');
}

async function load() {
  const layout = await request('GET', '/panel');
  if (!cockpit.layout) {
    cockpit.layout = layout;
    buildDesk();
    buildDrawer();
  }
  // What is shown now; the stream tells of everything after.
  for (const w of layout.windows) {
    const entry = cockpit.windows.get(w.window);
    entry.element.hidden = !w.visible;
    entry.wanted = Math.max(entry.wanted, w.version);
  }
  $(layout.lighting).checked = true;
  cockpit.update = Math.max(cockpit.update, layout.update);
  for (const message of early.splice(0)) onUpdate(message);
  await Promise.all([...cockpit.windows.values()].map(refresh));
  await readTokens();
}

// Messages that came before the layout did.
const early = [];
function connect() {
  const stream = new EventSource('/stream');
  stream.addEventListener('update', (e) => {
    const message = JSON.parse(e.data);
    if (cockpit.layout) onUpdate(message);
    else early.push(message);
  });
  stream.addEventListener('resync', () => load().catch(showError));
  let opened = false;
  stream.onopen = () => {
    setStatus('live', 'live');
    if (opened) load().catch(showError);  // back after a break: catch up
    opened = true;
  };
  stream.onerror = () => setStatus('connection lost: retrying…', 'lost');
}

// ------------------------------------------------------------ the drawer
const knots = { unit: 'kt' };
const degC = (token) => ({ unit: '°C', toToken: (c) => (c + 273.15) * 1.8, fromToken: (r) => r / 1.8 - 273.15, token });
const FULL_TANK = 8388610;
const CONTROLS = {
  flight: [
    { token: 61, name: 'Airspeed', min: 0, max: 260, step: 1, ...knots },
    { token: 74, name: 'Altitude', unit: 'ft', min: -1000, max: 25000, step: 10 },
    { token: 65, name: 'Vertical speed', unit: 'ft/min', min: -2000, max: 2000, step: 10,
      toToken: (f) => f / 196.850394 * 256, fromToken: (t) => t / 256 * 196.850394 },
    { token: 84, name: 'Heading', unit: '°', min: 0, max: 359, step: 1 },
    { token: 83, name: 'Magnetic compass', unit: '°', min: 0, max: 359, step: 1 },
    { token: 78, name: 'Pitch', unit: '°', min: -45, max: 45, step: 0.5 },
    { token: 80, name: 'Bank', unit: '°', min: -90, max: 90, step: 1 },
    { token: 70, name: 'Turn rate', unit: 'marks', min: -2, max: 2, step: 0.05, toToken: (m) => m * 256, fromToken: (t) => t / 256 },
  ],
  engine: [
    { token: 390, name: 'RPM', unit: 'rpm', min: 0, max: 3000, step: 10 },
    { token: 391, name: 'Manifold pressure', unit: 'inHg', min: 10, max: 40, step: 0.1,
      toToken: (i) => i * 70.7328, fromToken: (t) => t / 70.7328 },
    { ...degC(415), name: 'Cylinder head temperature', min: 0, max: 300, step: 1 },
    { ...degC(561), name: 'Oil temperature', min: 0, max: 150, step: 1 },
    { token: 562, name: 'Oil pressure', unit: 'psi', min: 0, max: 120, step: 1, toToken: (p) => p * 144, fromToken: (t) => t / 144 },
    { token: 341, name: 'Outside air temperature', unit: '°C', min: -50, max: 50, step: 1 },
    ...[[289, 'left main'], [383, 'right main'], [291, 'left auxiliary'], [297, 'right auxiliary']].map(([token, tank]) => ({
      token, name: `Fuel, ${tank}`, unit: '%', min: 0, max: 100, step: 1,
      toToken: (p) => Math.round(p / 100 * FULL_TANK), fromToken: (t) => t / FULL_TANK * 100 })),
  ],
  electrical: [
    { token: 753, name: 'Main bus', unit: 'V', min: 0, max: 32, step: 0.5 },
    { token: 755, name: 'Avionics bus', unit: 'V', min: 0, max: 32, step: 0.5 },
  ],
};

// Frequencies are held in binary-coded decimal, one digit every 4 bits.
const bcd = (digits) => parseInt(digits, 16);
const digits = (value, count) => Math.trunc(value).toString(16).padStart(count, '0');
const RADIOS = [
  { id: 'com1', name: 'COM1', unit: 'MHz', tokens: [23], placeholder: '118.00 to 136.97',
    show: ([t]) => `1${digits(t, 4).slice(0, 2)}.${digits(t, 4).slice(2)}`,
    parse: (text) => { const m = /^1(1[89]|2\d|3[0-6])\.(\d\d)$/.exec(text); return m && [bcd(m[1] + m[2])]; } },
  { id: 'nav1', name: 'NAV1', unit: 'MHz', tokens: [24], placeholder: '108.00 to 117.95',
    show: ([t]) => `1${digits(t, 4).slice(0, 2)}.${digits(t, 4).slice(2)}`,
    parse: (text) => { const m = /^1(0[89]|1[0-7])\.(\d\d)$/.exec(text); return m && [bcd(m[1] + m[2])]; } },
  { id: 'adf', name: 'ADF', unit: 'kHz', tokens: [16, 18], placeholder: '100.0 to 1799.9',
    show: ([a, b]) => `${(b & 0x100) ? '1' : ''}${digits(a, 3)}.${(b & 0xf).toString(16)}`,
    parse: (text) => { const m = /^(1?)(\d{3})\.(\d)$/.exec(text); return m && [bcd(m[2]), (m[1] ? 0x100 : 0) + Number(m[3])]; } },
  { id: 'xpdr', name: 'Transponder', unit: 'code', tokens: [38], placeholder: '0000 to 7777',
    show: ([t]) => digits(t, 4), parse: (text) => (/^[0-7]{4}$/.test(text) ? [bcd(text)] : null) },
];

const sliders = [];
function buildDrawer() {
  for (const [section, list] of Object.entries(CONTROLS)) {
    const box = $(section);
    box.querySelectorAll('.control').forEach((c) => c.remove());
    for (const c of list) {
      const el = document.createElement('div');
      el.className = 'control';
      el.innerHTML = `<span class="name"></span><input type="range"><input type="number">` +
        `<button type="button" class="release" hidden title="Hand the value back to the simulated aircraft">release</button>`;
      el.querySelector('.name').textContent = `${c.name} (${c.unit})`;
      const [range, number] = el.querySelectorAll('input');
      for (const input of [range, number]) {
        Object.assign(input, { min: c.min, max: c.max, step: c.step });
        input.dataset.token = c.token;
      }
      number.setAttribute('aria-label', c.name);
      range.setAttribute('aria-label', c.name);
      const send = throttled((v) => post('/set', { token: c.token, value: c.toToken ? c.toToken(v) : v }));
      range.addEventListener('input', () => { number.value = range.value; send(Number(range.value)); });
      number.addEventListener('change', () => {
        if (number.value === '' || !Number.isFinite(Number(number.value))) return;
        range.value = number.value; send(Number(number.value));
      });
      const release = el.querySelector('.release');
      release.setAttribute('aria-label', `Release ${c.name}`);
      release.addEventListener('click', async () => { await post('/release', { token: c.token }); await readTokens(); });
      box.appendChild(el);
      sliders.push({ c, range, number, release });
    }
  }
  const radios = $('radios');
  radios.querySelectorAll('.control').forEach((c) => c.remove());
  for (const r of RADIOS) {
    const el = document.createElement('div');
    el.className = 'control';
    el.innerHTML = `<span class="name"></span><input type="text"><button type="button">Set</button><output></output>`;
    el.querySelector('.name').textContent = `${r.name} (${r.unit})`;
    const input = el.querySelector('input');
    input.id = r.id;
    input.placeholder = r.placeholder;
    input.setAttribute('aria-label', r.name);
    const out = el.querySelector('output');
    const apply = async () => {
      const values = r.parse(input.value.trim());
      if (!values) { out.textContent = `expected ${r.placeholder}`; return; }
      out.textContent = '';
      for (let i = 0; i < values.length; ++i) await post('/set', { token: r.tokens[i], value: values[i] });
    };
    el.querySelector('button').addEventListener('click', apply);
    input.addEventListener('keydown', (e) => { if (e.key === 'Enter') apply(); });
    radios.appendChild(el);
    r.input = input;
  }
  const failures = $('failures');
  failures.querySelectorAll('label,p').forEach((c) => c.remove());
  if (!cockpit.layout.failure_keys.length) failures.insertAdjacentHTML('beforeend', '<p>No gauge here has failures.</p>');
  for (const f of cockpit.layout.failure_keys) {
    const label = document.createElement('label');
    label.className = 'failure';
    label.innerHTML = `<input type="checkbox"> <b></b> <span class="gauges"></span>`;
    label.querySelector('b').textContent = `key ${f.key}`;
    label.querySelector('.gauges').textContent = f.gauges.join(', ').replaceAll('_', ' ');
    const box = label.querySelector('input');
    box.dataset.key = f.key;
    box.checked = cockpit.layout.failures.includes(f.key);
    box.addEventListener('change', () => post('/fail', { key: f.key, on: box.checked }));
    failures.appendChild(label);
  }
  const windows = $('windows');
  windows.querySelectorAll('label').forEach((c) => c.remove());
  for (const w of cockpit.layout.windows) {
    const label = document.createElement('label');
    label.innerHTML = `<input type="checkbox"> <span></span>`;
    label.querySelector('span').textContent = `${two(w.window)} ${w.title || ''} (ident ${w.ident})`;
    const box = label.querySelector('input');
    box.dataset.window = w.window;
    box.checked = w.visible;
    box.addEventListener('change', () => post('/window', { ident: w.ident, visible: box.checked }));
    windows.appendChild(label);
  }
  const starts = cockpit.layout.start_states;
  const start = (gauge) => async () => {
    unlockAudio();
    // The start-state gauges act on a running aircraft, as the simulator
    // starts one.
    await post('/aircraft', { state: 'running' });
    await post('/ready', { gauge });
    setTimeout(readTokens, 200);
  };
  $('cold-and-dark').disabled = !starts.includes('Engine_Off');
  $('ready').disabled = !starts.includes('Engine_On');
  $('cold-and-dark').onclick = start('Engine_Off');
  $('ready').onclick = start('Engine_On');
}

// One request in flight per control; the newest value goes next.
function throttled(send) {
  let busy = false, next = null;
  return async function go(value) {
    next = value;
    if (busy) return;
    busy = true;
    while (next !== null) { const v = next; next = null; await send(v); }
    busy = false;
  };
}

// The drawer follows what the panel's own switches and knobs did.
async function readTokens() {
  const numbers = new Set(sliders.map((s) => s.c.token));
  RADIOS.forEach((r) => r.tokens.forEach((t) => numbers.add(t)));
  const values = await request('GET', `/tokens?numbers=${[...numbers].join(',')}`);
  const held = new Set((await request('GET', '/held')).held);
  for (const s of sliders) {
    // A value set here stays until released: the aircraft no longer moves it.
    s.release.hidden = !held.has(s.c.token);
    if (document.activeElement === s.range || document.activeElement === s.number) continue;
    const v = values[s.c.token];
    const shown = s.c.fromToken ? s.c.fromToken(v) : v;
    s.range.value = shown;
    s.number.value = Math.round(shown / s.c.step) * s.c.step;
  }
  for (const r of RADIOS) {
    if (document.activeElement === r.input) continue;
    r.input.value = r.show(r.tokens.map((t) => values[t]));
  }
}

$('zoom').addEventListener('change', applyZoom);
$('show-all').addEventListener('click', async () => {
  for (const entry of cockpit.windows.values())
    if (entry.element.hidden) await post('/window', { ident: entry.config.ident, visible: true });
});
window.addEventListener('resize', applyZoom);
$('drawer-toggle').addEventListener('click', () => {
  const open = $('drawer').classList.toggle('open');
  $('drawer-toggle').setAttribute('aria-expanded', open);
  applyZoom();
});
for (const mode of ['day', 'night']) $(mode).addEventListener('change', () => post('/lighting', { mode }));
document.addEventListener('keydown', unlockAudio);

connect();
cockpit.ready = load().then(() => {
  setInterval(() => readTokens().catch(() => {}), 1000);
}).catch(showError);
