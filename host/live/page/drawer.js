'use strict';
// The Controls drawer: the main tokens set by sliders and fields, held until
// released, and read back once a second so that it follows what the panel's
// own switches and knobs did. Loaded before cockpit.js, whose page calls
// buildDrawer() once the layout is known and readTokens() after.
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
