'use strict';
// The designer's tools (gaugehost serve PANEL --edit): over each window a
// layer of boxes, one per gauge, that are selected, dragged, resized by
// their corners and nudged with the arrow keys; a side panel with the
// selection, undo, redo, the grid, the diff and the save, a form for the
// windows, and the catalogue of the module's gauges to add from. Every edit
// goes to the server, which lays the running panel out anew; the page then
// reads the layout again. "Play" hides the layer, so the gauges take clicks.
(() => {
  const cockpit = window.cockpit;
  const $ = (id) => document.getElementById(id);
  const two = (n) => String(n).padStart(2, '0');
  const design = {
    on: true,
    selected: null,   // {section, key}
    grid: 1,
    armed: null,      // a catalogue gauge to place at the next click in a window
  };
  cockpit.design = design;

  // Requests go as the page's own do; the diff is text, not JSON.
  const call = (method, path, body) => cockpit.request(method, path, body);
  const diffText = async () => {
    const res = await fetch('/edit/diff');
    return res.ok ? res.text() : `${res.status} ${(await res.text()).trim()}`;
  };
  function say(text, bad) {
    const s = $('design-message');
    s.textContent = text;
    s.className = bad ? 'bad' : '';
  }
  // An edit, then the layout read again; a refusal is shown and changes nothing.
  async function edit(path, body) {
    try {
      const answer = await call('POST', path, body);
      await relayout();
      showHistory(answer);
      return answer;
    } catch (e) {
      say(String(e.message || e), true);
      return null;
    }
  }
  function showHistory(answer) {
    if (!answer || answer.undo === undefined) return;
    $('design-undo').disabled = answer.undo === 0;
    $('design-redo').disabled = answer.redo === 0;
    $('design-save').disabled = !answer.changed;
  }

  async function relayout() {
    const layout = await call('GET', '/panel');
    cockpit.relayout(layout);
    decorate();
    fillWindows();
  }

  const snap = (v) => Math.round(v / design.grid) * design.grid;
  const snapSize = (v) => Math.max(1, snap(v), design.grid > 1 ? design.grid : 1);

  // Everything placed in a window: our gauges and other modules' outlines.
  function placed(windowNumber) {
    const layout = cockpit.layout;
    return [...layout.gauges, ...(layout.outlines || []).map((o) => Object.assign({ outline: true }, o))]
      .filter((g) => g.window === windowNumber && g.key);
  }
  const same = (g, s) => s && g.section === s.section && g.key === s.key;

  function decorate() {
    for (const entry of cockpit.windows.values()) {
      const layer = document.createElement('div');
      layer.className = 'design-layer';
      layer.dataset.window = entry.config.window;
      entry.element.appendChild(layer);
      for (const g of placed(entry.config.window)) layer.appendChild(box(entry, g));
      attachLayer(entry, layer);
    }
    showSelection();
  }

  // A box in fractions of its window, so that it stays on its gauge at every
  // zoom and window size the page gives the window.
  function place(el, r, entry) {
    const { w: across, h: down } = entry.config;
    el.style.left = `${r.x / across * 100}%`;
    el.style.top = `${r.y / down * 100}%`;
    el.style.width = `${r.w / across * 100}%`;
    el.style.height = `${r.h / down * 100}%`;
  }

  function box(entry, g) {
    const el = document.createElement('div');
    el.className = 'design-box' + (g.outline ? ' outline' : '');
    el.dataset.section = g.section;
    el.dataset.key = g.key;
    el.title = `${g.gauge} (${g.section} ${g.key}, line ${g.line})`;
    place(el, g, entry);
    for (const corner of ['nw', 'ne', 'sw', 'se']) {
      const h = document.createElement('div');
      h.className = `design-handle ${corner}`;
      h.dataset.corner = corner;
      el.appendChild(h);
    }
    el.addEventListener('pointerdown', (event) => {
      if (event.button !== 0) return;
      event.stopPropagation();
      event.preventDefault();
      design.selected = { section: g.section, key: g.key };
      showSelection();
      gesture(entry, el, g, event, event.target.dataset.corner || null);
    });
    return el;
  }

  // Panel units per CSS pixel of the window on screen.
  function unitsPer(entry) {
    const rect = entry.element.getBoundingClientRect();
    return entry.config.w / rect.width;
  }

  // A move, or a resize by `corner`: shown as the pointer goes, sent once at its end.
  function gesture(entry, el, g, start, corner) {
    const k = unitsPer(entry);
    const from = { x: g.x, y: g.y, w: g.w, h: g.h };
    let now = null;
    const moved = (event) => {
      const dx = (event.clientX - start.clientX) * k, dy = (event.clientY - start.clientY) * k;
      if (!corner) return { x: snap(from.x + dx), y: snap(from.y + dy), w: from.w, h: from.h };
      const left = corner.includes('w'), top = corner.includes('n');
      let w = snapSize(from.w + (left ? -dx : dx));
      let h = snapSize(from.h + (top ? -dy : dy));
      if (!event.shiftKey) h = Math.max(1, Math.round(w * from.h / from.w));
      return { x: left ? from.x + from.w - w : from.x, y: top ? from.y + from.h - h : from.y, w, h };
    };
    const move = (event) => {
      now = moved(event);
      place(el, now, entry);
      showSelection(now);
    };
    const end = async (event) => {
      document.removeEventListener('pointermove', move);
      document.removeEventListener('pointerup', end);
      if (!now) return;
      now = moved(event);
      if (now.x === from.x && now.y === from.y && now.w === from.w && now.h === from.h) return;
      const body = { section: g.section, key: g.key, x: now.x, y: now.y };
      if (corner) Object.assign(body, { w: now.w, h: now.h });
      await edit('/edit/gauge', body);
    };
    document.addEventListener('pointermove', move);
    document.addEventListener('pointerup', end);
  }

  // A click beside the gauges clears the selection, or places the armed gauge;
  // a gauge dropped from the catalogue is placed where it is let go.
  function attachLayer(entry, layer) {
    const at = (event) => {
      const rect = entry.element.getBoundingClientRect();
      const k = entry.config.w / rect.width;
      return { x: snap((event.clientX - rect.left) * k), y: snap((event.clientY - rect.top) * k) };
    };
    const add = (gauge, p) => {
      const g = (design.catalogue || []).find((c) => c.gauge === gauge);
      const body = { section: entry.config.section, gauge, x: p.x, y: p.y };
      if (g) Object.assign(body, { w: g.w, h: g.h });
      return edit('/edit/add', body).then((answer) => {
        if (answer) { design.selected = { section: answer.section, key: answer.key }; showSelection(); }
      });
    };
    layer.addEventListener('pointerdown', (event) => {
      event.stopPropagation();
      event.preventDefault();
      if (design.armed) {
        const gauge = design.armed;
        arm(null);
        add(gauge, at(event));
        return;
      }
      design.selected = null;
      showSelection();
    });
    // The wheel turns no knob while designing.
    layer.addEventListener('wheel', (event) => event.stopPropagation());
    layer.addEventListener('dragover', (event) => event.preventDefault());
    layer.addEventListener('drop', (event) => {
      event.preventDefault();
      const gauge = event.dataTransfer.getData('text/plain');
      if (gauge) add(gauge, at(event));
    });
  }

  function selectedGauge() {
    if (!design.selected) return null;
    const all = [...cockpit.layout.gauges, ...(cockpit.layout.outlines || [])];
    return all.find((g) => same(g, design.selected)) || null;
  }

  function showSelection(moving) {
    const g = selectedGauge();
    if (!g) design.selected = null;
    for (const el of document.querySelectorAll('.design-box'))
      el.classList.toggle('selected', same(el.dataset, design.selected));
    const s = $('design-selection');
    if (!g) { s.textContent = 'Nothing selected: click a gauge.'; return; }
    const r = moving || g;
    s.textContent = `${g.gauge} · [${g.section}] ${g.key} · line ${g.line} · at ${r.x}, ${r.y} · ${r.w} × ${r.h}`;
  }

  // ------------------------------------------------------------ keys
  document.addEventListener('keydown', (event) => {
    if (!design.on || event.target.closest('input, select, textarea')) return;
    const ctrl = event.ctrlKey || event.metaKey;
    if (ctrl && event.key.toLowerCase() === 'z') {
      event.preventDefault();
      edit(event.shiftKey ? '/edit/redo' : '/edit/undo');
      return;
    }
    if (ctrl && event.key.toLowerCase() === 'y') {
      event.preventDefault();
      edit('/edit/redo');
      return;
    }
    const g = selectedGauge();
    if (!g) return;
    const steps = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
    if (steps[event.key]) {
      event.preventDefault();
      const [dx, dy] = steps[event.key];
      edit('/edit/gauge', { section: g.section, key: g.key, x: g.x + dx, y: g.y + dy });
    } else if (event.key === 'Delete' || event.key === 'Backspace') {
      event.preventDefault();
      edit('/edit/remove', { section: g.section, key: g.key });
    }
  });

  // ------------------------------------------------------------ windows
  function fillWindows() {
    const select = $('design-window');
    const chosen = select.value;
    select.textContent = '';
    for (const w of cockpit.layout.windows) {
      const o = document.createElement('option');
      o.value = w.section;
      o.textContent = `${w.section} · ${w.title}`;
      select.appendChild(o);
    }
    if ([...select.options].some((o) => o.value === chosen)) select.value = chosen;
    showWindow();
  }
  function showWindow() {
    const w = cockpit.layout.windows.find((x) => x.section === $('design-window').value);
    if (!w) return;
    $('design-size').value = `${w.w},${w.h}`;
    $('design-pos').value = w.window_pos || '';
    $('design-wsize').value = w.window_size || '';
    $('design-position').value = w.position || 0;
    $('design-visible').checked = w.visible_at_start;
    $('design-ident').value = w.ident;
    // Only what the designer changes is written.
    for (const id of ['design-size', 'design-pos', 'design-wsize', 'design-position', 'design-ident'])
      $(id).dataset.shown = $(id).value;
    $('design-visible').dataset.shown = String($('design-visible').checked);
  }
  const changed = (id) => $(id).value !== $(id).dataset.shown;
  const pair = (text) => {
    const parts = text.split(',').map((v) => Number(v.trim()));
    return parts.length === 2 && parts.every(Number.isFinite) ? parts : null;
  };
  async function applyWindow() {
    const body = { section: $('design-window').value };
    const size = pair($('design-size').value), pos = pair($('design-pos').value), wsize = pair($('design-wsize').value);
    if (size && changed('design-size')) body.size_mm = size;
    if (pos && changed('design-pos')) body.window_pos = pos;
    if (wsize && changed('design-wsize')) body.window_size = wsize;
    if (changed('design-position')) body.position = Number($('design-position').value) || 0;
    if (String($('design-visible').checked) !== $('design-visible').dataset.shown) body.visible = $('design-visible').checked;
    const ident = $('design-ident').value.trim();
    if (ident && changed('design-ident')) body.ident = /^\d+$/.test(ident) ? Number(ident) : ident;
    if (Object.keys(body).length === 1) { say('nothing changed in the form'); return; }
    if (await edit('/edit/window', body)) say(`${body.section} set`);
  }
  async function addWindow() {
    const used = new Set(cockpit.layout.windows.map((w) => w.window));
    let n = 1;
    while (used.has(n)) ++n;
    const section = `Window${two(n)}`;
    if (await edit('/edit/window', { section, add: true, size_mm: [300, 200] })) {
      $('design-window').value = section;
      showWindow();
      say(`${section} added`);
    }
  }

  // ------------------------------------------------------------ catalogue
  function arm(gauge) {
    design.armed = gauge;
    for (const el of document.querySelectorAll('.design-item'))
      el.classList.toggle('armed', el.dataset.gauge === gauge);
    if (gauge) say(`click in a window to place ${gauge}`);
  }
  async function buildCatalogue() {
    design.catalogue = await call('GET', '/edit/catalogue');
    const list = $('design-catalogue');
    for (const g of design.catalogue) {
      const item = document.createElement('div');
      item.className = 'design-item';
      item.draggable = true;
      item.dataset.gauge = g.gauge;
      item.dataset.name = g.name.toLowerCase();
      item.title = g.about;
      item.innerHTML = '<img alt="" loading="lazy"><span></span>';
      item.querySelector('img').src = `/edit/catalogue/${g.name}.png`;
      item.querySelector('img').addEventListener('error', (e) => { e.target.style.visibility = 'hidden'; });
      item.querySelector('span').textContent = `${g.name} (${g.w} × ${g.h})`;
      item.addEventListener('dragstart', (event) => event.dataTransfer.setData('text/plain', g.gauge));
      item.addEventListener('click', () => arm(design.armed === g.gauge ? null : g.gauge));
      list.appendChild(item);
    }
    $('design-search').addEventListener('input', () => {
      const words = $('design-search').value.toLowerCase().trim();
      for (const item of list.children) item.hidden = words !== '' && !item.dataset.name.includes(words);
    });
  }

  // ------------------------------------------------------------ the panel
  function build() {
    const style = document.createElement('style');
    style.textContent = `
      #designer { width: 300px; overflow-y: auto; background: #181b1f; border-right: 1px solid #2c3238; padding: 8px 10px; }
      #designer h2 { font-size: 13px; text-transform: uppercase; letter-spacing: .06em; color: #9fb3c8; margin: 12px 0 6px; }
      #designer label { display: block; margin: 3px 0; }
      #designer input[type=text], #designer input[type=search], #designer input[type=number], #designer select {
        width: 100%; background: #0e1012; color: inherit; border: 1px solid #2c3238; padding: 2px 4px; }
      #design-message.bad { color: #e07a5f; }
      #design-selection { color: #b8c2cc; min-height: 2.7em; }
      #design-diff { max-height: 240px; overflow: auto; font-size: 11px; background: #0e1012; padding: 4px; white-space: pre; }
      .design-layer { position: absolute; inset: 0; display: none; }
      body.designing .design-layer { display: block; }
      .design-box { position: absolute; border: 1px dashed rgba(120, 190, 255, .7); cursor: move; }
      .design-box.outline { border-color: rgba(255, 200, 120, .7); }
      .design-box.selected { border: 2px solid #4fa3ff; background: rgba(79, 163, 255, .12); }
      .design-handle { position: absolute; width: 9px; height: 9px; background: #4fa3ff; display: none; }
      .design-box.selected .design-handle { display: block; }
      .design-handle.nw { left: -5px; top: -5px; cursor: nwse-resize; }
      .design-handle.ne { right: -5px; top: -5px; cursor: nesw-resize; }
      .design-handle.sw { left: -5px; bottom: -5px; cursor: nesw-resize; }
      .design-handle.se { right: -5px; bottom: -5px; cursor: nwse-resize; }
      .design-item { display: flex; gap: 8px; align-items: center; padding: 3px; border: 1px solid transparent; cursor: grab; }
      .design-item.armed { border-color: #4fa3ff; }
      .design-item img { width: 40px; height: 40px; object-fit: contain; background: #0e1012; }
      .design-item[hidden] { display: none; }`;
    document.head.appendChild(style);
    const bar = $('bar');
    bar.insertAdjacentHTML('beforeend', `<button id="design-play" type="button" aria-pressed="false"
      title="Leaves designer mode, so that the gauges take clicks">Play</button>`);
    const side = document.createElement('aside');
    side.id = 'designer';
    side.innerHTML = `
      <section><h2>Designer</h2>
        <div id="design-selection"></div>
        <div id="design-message" aria-live="polite"></div>
        <button id="design-undo" type="button" disabled>Undo</button>
        <button id="design-redo" type="button" disabled>Redo</button>
        <button id="design-save" type="button" disabled>Save</button>
        <button id="design-show-diff" type="button">Diff</button>
        <label>Grid <select id="design-grid"><option value="1">1 unit</option><option value="2">2</option>
          <option value="5">5</option><option value="10">10</option><option value="20">20</option></select></label>
        <pre id="design-diff" hidden></pre>
      </section>
      <section><h2>Window</h2>
        <select id="design-window"></select>
        <label>size_mm <input id="design-size" type="text"></label>
        <label>window_pos <input id="design-pos" type="text" placeholder="0.1,0.5"></label>
        <label>window_size <input id="design-wsize" type="text" placeholder="0.4,0.3"></label>
        <label>position <input id="design-position" type="number" min="0" max="8"></label>
        <label><input id="design-visible" type="checkbox"> visible at start</label>
        <label>ident <input id="design-ident" type="text"></label>
        <button id="design-apply-window" type="button">Apply</button>
        <button id="design-add-window" type="button">Add window</button>
      </section>
      <section><h2>Gauges</h2>
        <input id="design-search" type="search" placeholder="search by name">
        <div id="design-catalogue"></div>
      </section>`;
    $('layout').insertBefore(side, $('layout').firstChild);
    document.body.classList.add('designing');
    $('design-play').addEventListener('click', () => {
      design.on = !design.on;
      document.body.classList.toggle('designing', design.on);
      side.hidden = !design.on;
      $('design-play').textContent = design.on ? 'Play' : 'Design';
      $('design-play').setAttribute('aria-pressed', String(!design.on));
    });
    $('design-undo').addEventListener('click', () => edit('/edit/undo'));
    $('design-redo').addEventListener('click', () => edit('/edit/redo'));
    $('design-save').addEventListener('click', async () => {
      const answer = await edit('/edit/save');
      if (answer) say(`saved ${answer.saved}`);
    });
    $('design-show-diff').addEventListener('click', async () => {
      const pre = $('design-diff');
      pre.textContent = (await diffText()) || 'no changes';
      pre.hidden = false;
    });
    $('design-grid').addEventListener('change', () => { design.grid = Number($('design-grid').value); });
    $('design-window').addEventListener('change', showWindow);
    $('design-apply-window').addEventListener('click', applyWindow);
    $('design-add-window').addEventListener('click', addWindow);
  }

  cockpit.ready.then(async () => {
    if (!cockpit.layout || !cockpit.layout.edit) return;
    build();
    // The side list takes room from the panel: fit the windows again.
    applyZoom();
    decorate();
    fillWindows();
    await buildCatalogue();
    document.body.dataset.designer = 'ready';
  });
})();
