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
// The page is the simulator's screen: the main panel (window 00, or the
// first window shown) fills the room across or down, whichever binds first,
// and the other windows float over it where the panel configuration puts
// them, as subpanels do in the simulator: window_pos and window_size as
// fractions of the screen, or the position code (0 top left to 8 bottom
// right, row by row); windows given neither cascade from the top right.
// Places and sizes are kept in the main panel's units, so a zoom moves and
// sizes everything together; a window moved by its title bar keeps its new
// place.
const kTitleBar = 22;        // CSS pixels above a floating window
const kCascadeStep = 28;     // CSS pixels between cascaded windows

function mainWindow(windows) {
  return windows.find((w) => w.window === 0) || windows.find((w) => w.visible) || windows[0];
}

const fractions = (text) => {
  const f = String(text || '').split(',').map((s) => Number(s.trim()));
  return f.length === 2 && f.every((v) => Number.isFinite(v) && v >= 0 && v <= 1) ? f : null;
};

// The room the screen has on the page, in CSS pixels.
function room() {
  const view = $('viewport');
  return { w: Math.max(1, view.clientWidth), h: Math.max(1, view.clientHeight) };
}

// Where each window stands and how large it is shown, in main-panel units:
// {x, y, factor} (factor: shown size over panel size). `screen` is the room
// at the fit, in the same units.
function windowPlaces(windows, screen, zoom) {
  const main = mainWindow(windows);
  const places = new Map();
  const bar = kTitleBar / zoom;
  const floating = windows.filter((w) => w !== main);
  let cascaded = 0;
  for (const w of floating) {
    const size = fractions(w.window_size);
    const factor = size ? Math.min(size[0] * screen.w / w.w, size[1] * screen.h / w.h) : 1;
    const sw = w.w * factor, sh = w.h * factor;
    const pos = fractions(w.window_pos);
    let x, y;
    if (pos) {
      x = pos[0] * screen.w; y = pos[1] * screen.h;
    } else if (w.position >= 0 && w.position <= 8) {
      const col = w.position % 3, row = Math.floor(w.position / 3);
      x = [0, (screen.w - sw) / 2, screen.w - sw][col];
      y = [0, (screen.h - sh) / 2, screen.h - sh][row];
    } else {
      const step = cascaded++ * kCascadeStep / zoom;
      x = screen.w - sw - step; y = bar + step;
    }
    // The title bar stays on the screen, where the window can be taken.
    x = Math.max(0, Math.min(x, screen.w - sw));
    y = Math.max(bar, Math.min(y, screen.h - sh));
    places.set(w.window, { x, y, factor });
  }
  if (main) places.set(main.window, { x: 0, y: 0, factor: 1 });
  return places;
}

function buildDesk() {
  const desk = $('desk');
  desk.textContent = '';
  cockpit.windows.clear();
  const main = mainWindow(cockpit.layout.windows);
  // Windows of a higher zorder stand over those of a lower; the main panel under all.
  const order = cockpit.layout.windows.filter((w) => w !== main)
    .map((w, i) => ({ w, i })).sort((a, b) => (a.w.zorder || 0) - (b.w.zorder || 0) || a.i - b.i);
  cockpit.top = order.length;
  for (const w of cockpit.layout.windows) {
    const el = document.createElement('div');
    el.className = w === main ? 'window main' : 'window floating';
    el.id = `window-${two(w.window)}`;
    el.style.zIndex = w === main ? 0 : 1 + order.findIndex((o) => o.w === w);
    el.hidden = !w.visible;
    // The window's picture, drawn whole or patched where it changed; an
    // empty canvas (0 by 0) until the first picture comes.
    const canvas = document.createElement('canvas');
    canvas.width = canvas.height = 0;
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', w.title || '');
    Object.defineProperties(canvas, { naturalWidth: { get() { return this.width; } },
                                      naturalHeight: { get() { return this.height; } } });
    el.appendChild(canvas);
    desk.appendChild(el);
    const entry = { config: w, element: el, image: canvas, shown: 0, wanted: w.version, loading: null, scale: 1, drawnAt: 0,
                    fetched: 0, fetchedAt: 0,
                    moved: null, gauges: cockpit.layout.gauges.filter((g) => g.window === w.window) };
    // Settled once the window has its first picture, or cannot have one.
    entry.first = new Promise((resolve) => { entry.settle = resolve; });
    cockpit.windows.set(w.window, entry);
    if (w !== main) attachTitleBar(entry);
    attachMouse(entry);
  }
  applyZoom();
}

// A floating window's title bar: it moves the window, and its button closes it.
function attachTitleBar(entry) {
  const el = entry.element;
  const bar = document.createElement('div');
  bar.className = 'title';
  bar.innerHTML = `<span class="name"></span><button type="button" class="close" aria-label="Close">×</button>`;
  const title = entry.config.title || `Window ${two(entry.config.window)}`;
  bar.querySelector('.name').textContent = title;
  bar.title = title;
  bar.querySelector('.close').title = `Close ${title}`;
  el.prepend(bar);
  bar.querySelector('.close').addEventListener('click', (e) => {
    e.stopPropagation();
    post('/window', { ident: entry.config.ident, visible: false });
  });
  bar.addEventListener('pointerdown', (event) => {
    if (event.target.closest('.close')) return;
    event.stopPropagation();
    event.preventDefault();
    raise(entry);
    bar.setPointerCapture(event.pointerId);
    const zoom = cockpit.zoom;
    const from = { x: event.clientX, y: event.clientY, place: { ...entry.place } };
    const move = (e) => {
      entry.moved = { x: from.place.x + (e.clientX - from.x) / zoom, y: from.place.y + (e.clientY - from.y) / zoom };
      placeWindow(entry);
    };
    const end = () => {
      bar.removeEventListener('pointermove', move);
      bar.removeEventListener('pointerup', end);
      bar.removeEventListener('pointercancel', end);
    };
    bar.addEventListener('pointermove', move);
    bar.addEventListener('pointerup', end);
    bar.addEventListener('pointercancel', end);
  });
}

// A window taken or clicked comes to the top of the floating ones.
function raise(entry) {
  if (entry.element.classList.contains('main')) return;
  entry.element.style.zIndex = ++cockpit.top;
}

// The zoom goes from the fit up to kMaxZoom; pictures are asked for at the
// pixels they are shown at, in steps of kScaleStep, so that zooming by a
// little keeps the pictures already drawn.
const kMaxZoom = 3;
const kScaleStep = 0.25;
const kMinScale = 0.25, kMaxScale = 4;

function fitZoom() {
  const main = mainWindow(cockpit.layout.windows) || { w: 800, h: 600 };
  const r = room();
  return Math.max(0.05, Math.min(kMaxZoom, r.w / main.w, r.h / main.h));
}

function pictureScale(zoom) {
  const pixels = zoom * (window.devicePixelRatio || 1);
  const stepped = Math.ceil(pixels / kScaleStep - 1e-6) * kScaleStep;
  return Math.min(kMaxScale, Math.max(kMinScale, stepped));
}

// A window at its place (or where it was moved to) and size, in CSS pixels.
function placeWindow(entry) {
  const zoom = cockpit.zoom, s = cockpit.screen;
  const w = entry.config;
  let { x, y } = entry.moved || entry.base;
  if (entry.moved) {
    // Moved windows stay where their title bar can be taken again.
    x = Math.max(-w.w * entry.base.factor + 40 / zoom, Math.min(x, s.w - 40 / zoom));
    y = Math.max(kTitleBar / zoom, Math.min(y, s.h - kTitleBar / zoom));
  }
  entry.place = { x, y };
  const el = entry.element;
  el.style.left = `${x * zoom}px`;
  el.style.top = `${y * zoom}px`;
  el.style.width = `${w.w * entry.base.factor * zoom}px`;
  el.style.height = `${w.h * entry.base.factor * zoom}px`;
}

function applyZoom() {
  const desk = $('desk');
  const value = $('zoom').value;
  const fit = fitZoom();
  const zoom = value === 'fit' ? fit : Math.min(kMaxZoom, Math.max(fit, Number(value)));
  const r = room();
  cockpit.zoom = zoom;
  cockpit.screen = { w: r.w / fit, h: r.h / fit };
  const places = windowPlaces(cockpit.layout.windows, cockpit.screen, zoom);
  let width = 0, height = 0;
  for (const entry of cockpit.windows.values()) {
    entry.base = places.get(entry.config.window);
    placeWindow(entry);
    width = Math.max(width, (entry.place.x + entry.config.w * entry.base.factor) * zoom);
    height = Math.max(height, (entry.place.y + entry.config.h * entry.base.factor) * zoom);
    const scale = pictureScale(zoom * entry.base.factor);
    if (entry.scale === scale) continue;
    entry.scale = scale;
    refresh(entry);
  }
  // At the fit the desk is the room, so that nothing scrolls.
  desk.style.width = `${Math.floor(Math.max(width, value === 'fit' ? 0 : r.w * zoom / fit))}px`;
  desk.style.height = `${Math.floor(Math.max(height, value === 'fit' ? 0 : r.h * zoom / fit))}px`;
}

// The zoom set by a pinch: a choice of its own in the zoom list.
function setZoom(zoom) {
  const select = $('zoom');
  let option = select.querySelector('option.pinch');
  if (!option) {
    option = document.createElement('option');
    option.className = 'pinch';
    select.appendChild(option);
  }
  option.value = zoom.toFixed(3);
  option.textContent = `${Math.round(zoom * 100)}%`;
  select.value = option.value;
  applyZoom();
}

// Fetches the newest picture of a window until it has the version it was
// told of: what changed since the picture fetched before when it is of the
// same scale (the server answers a patch, a whole picture or, when nothing
// changed, no content), else the whole picture. The next is fetched while
// the last one decodes, so that pictures come as often as the server and
// the browser can each make them; at most two are on their way, and they
// are drawn in order, each patch onto the picture it was made from, all of
// a picture in one go: the window never shows a torn or empty frame.
async function refresh(entry) {
  if (entry.loading) return entry.loading;
  entry.loading = (async () => {
    let before = Promise.resolve(), last = Promise.resolve();
    let failed = false;
    while (behind(entry) && !failed) {
      await before;
      const scale = entry.scale;
      const since = entry.fetchedAt === scale && entry.fetched > 0 ? `&since=${entry.fetched}` : '';
      const res = await fetch(`/window/${two(entry.config.window)}.png?scale=${scale}${since}`);
      if (!res.ok) { failed = true; break; }
      const version = Number(res.headers.get('X-Picture-Version'));
      // A patch's pieces: where each goes in the picture, and where it sits in the patch.
      const patch = res.headers.get('X-Patch')?.split(';').map((p) => p.split(',').map(Number));
      entry.fetched = version;
      entry.fetchedAt = scale;
      const decoded = res.status === 204 ? Promise.resolve(null)
        : res.blob().then((blob) => createImageBitmap(blob)).catch(() => undefined);
      const draw = last.then(async () => {
        const picture = await decoded;
        // A picture lost breaks the chain of patches: the next is asked whole.
        if (picture === undefined || failed) { failed = true; entry.fetchedAt = 0; picture?.close(); return; }
        if (picture) {
          const canvas = entry.image;
          if (!patch && (canvas.width !== picture.width || canvas.height !== picture.height)) {
            canvas.width = picture.width;
            canvas.height = picture.height;
          }
          const cx = canvas.getContext('2d');
          if (!patch) cx.drawImage(picture, 0, 0);
          for (const [x, y, w, h, px = 0, py = 0] of patch || []) cx.drawImage(picture, px, py, w, h, x, y, w, h);
          picture.close();
        }
        entry.shown = version;
        entry.drawnAt = scale;
        entry.element.dataset.version = version;
        entry.element.dataset.scale = scale;
        entry.settle();
      });
      before = last;
      last = draw;
    }
    await last;
    return !failed;
  })().finally(() => { entry.loading = null; entry.settle(); })
    // A picture told of while the last ones were decoding.
    .then((going) => { if (going && behind(entry)) refresh(entry); });
  return entry.loading;
}
const behind = (entry) => (entry.fetched < entry.wanted || entry.fetchedAt !== entry.scale) && !entry.element.hidden;

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
  let touch = null;     // a finger on a gauge: {id, point, x, y, timer, done}
  el.addEventListener('pointerdown', (event) => {
    unlockAudio();
    hideTooltip();
    raise(entry);
    const p = pointAt(entry, event);
    if (!p) return;
    event.preventDefault();
    if (event.pointerType === 'touch') { touchDown(event, p); return; }
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
    else if (touch && touch.id === event.pointerId) touchUp(false);
  });
  el.addEventListener('pointercancel', (event) => {
    stopHeld();
    if (dragging) sendDrag(dragPoint(event), true);
    else if (touch && touch.id === event.pointerId) touchUp(true);
  });

  // A finger: a tap clicks, a long press right-clicks, on a lever it drags;
  // a finger that moves off its spot pans the page, and a second finger
  // makes a pinch of it (see the viewport's pointer handlers).
  function touchDown(event, p) {
    if (pinch.fingers.size > 1) return;
    const area = areaAt(p.gauge, p.x, p.y, (a) => a.kind === 'click');
    if (area && area.drag) {
      const finger = pinch.fingers.get(event.pointerId);
      if (finger) finger.lever = true;  // it moves the lever, not the page
      el.setPointerCapture(event.pointerId);
      dragging = { gauge: p.gauge, pending: null, sending: false };
      sendDrag(p, false);
      return;
    }
    touch = { id: event.pointerId, point: p, x: event.clientX, y: event.clientY, done: false };
    touch.timer = setTimeout(() => {
      touch.done = true;
      post('/click', body(p, { button: 'right' }));
    }, kLongPress);
  }
  function touchUp(cancelled) {
    clearTimeout(touch.timer);
    if (!cancelled && !touch.done) post('/click', body(touch.point, { button: 'left' }));
    touch = null;
  }
  // Called by the viewport when the finger wanders off or a second one comes.
  entry.cancelTouch = () => { if (touch) { clearTimeout(touch.timer); touch = null; } };
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
    if (event.pointerType === 'touch') return;
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

// ------------------------------------------------------------ fingers
// The viewport sees every finger first: one that moves off its spot pans the
// page (the browser's own scrolling and zooming are off, so that nothing
// scrolls under a lever), two pinch the zoom between the fit and kMaxZoom.
const kLongPress = 500;   // ms a finger rests for a right click
const kTapSlop = 10;      // CSS pixels a tap may wander
const pinch = { fingers: new Map(), start: null };
function attachFingers() {
  const view = $('viewport');
  const spread = () => {
    const [a, b] = [...pinch.fingers.values()];
    return Math.hypot(a.x - b.x, a.y - b.y);
  };
  // Between the two fingers, from the viewport's corner.
  const middle = () => {
    const [a, b] = [...pinch.fingers.values()];
    const box = view.getBoundingClientRect();
    return { x: (a.x + b.x) / 2 - box.left, y: (a.y + b.y) / 2 - box.top };
  };
  const cancelTouches = () => { for (const entry of cockpit.windows.values()) if (entry.cancelTouch) entry.cancelTouch(); };
  view.addEventListener('pointerdown', (e) => {
    if (e.pointerType !== 'touch') return;
    pinch.fingers.set(e.pointerId, { x: e.clientX, y: e.clientY, x0: e.clientX, y0: e.clientY, panning: false, lever: false });
    if (pinch.fingers.size === 2) {
      cancelTouches();
      const mid = middle();
      pinch.start = { spread: spread(), zoom: cockpit.zoom,
                      at: { x: (view.scrollLeft + mid.x) / cockpit.zoom, y: (view.scrollTop + mid.y) / cockpit.zoom } };
    }
  }, { capture: true });
  view.addEventListener('pointermove', (e) => {
    const f = pinch.fingers.get(e.pointerId);
    if (!f) return;
    const dx = e.clientX - f.x, dy = e.clientY - f.y;
    f.x = e.clientX; f.y = e.clientY;
    if (pinch.start && pinch.fingers.size === 2) {
      // The point the pinch began on stays between the fingers.
      const zoom = pinch.start.zoom * spread() / Math.max(1, pinch.start.spread);
      setZoom(Math.min(kMaxZoom, Math.max(fitZoom(), zoom)));
      const mid = middle();
      view.scrollTo(pinch.start.at.x * cockpit.zoom - mid.x, pinch.start.at.y * cockpit.zoom - mid.y);
    } else if (pinch.fingers.size === 1 && !f.lever) {
      if (!f.panning && Math.hypot(f.x - f.x0, f.y - f.y0) > kTapSlop) { f.panning = true; cancelTouches(); }
      if (f.panning) view.scrollBy(-dx, -dy);
    }
  }, { capture: true });
  const lift = (e) => {
    pinch.fingers.delete(e.pointerId);
    if (pinch.fingers.size < 2) pinch.start = null;
  };
  view.addEventListener('pointerup', lift, { capture: true });
  view.addEventListener('pointercancel', lift, { capture: true });
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
  // The first picture of each window, not the newest: on a panel that moves
  // at every update, large pictures may never catch up with it.
  await Promise.all([...cockpit.windows.values()].map((entry) => { refresh(entry); return entry.first; }));
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

$('zoom').addEventListener('change', applyZoom);
attachFingers();
// On a narrow screen the drawer starts closed, leaving the panel the room.
if (window.innerWidth < 1600) {
  $('drawer').classList.remove('open');
  $('drawer-toggle').setAttribute('aria-expanded', false);
}
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
