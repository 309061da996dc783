// The cockpit page in a real Chromium, served by gaugehost: what a pilot does
// with the mouse reaches the gauges, and what the gauges do reaches the page.
const { test, expect } = require('@playwright/test');
const { spawn } = require('child_process');
const fs = require('fs');
const path = require('path');
const readline = require('readline');

const root = path.resolve(__dirname, '../..');
const gaugehost = process.env.GAUGEHOST || path.join(root, 'build/gaugehost');
const artifacts = process.env.COCKPIT_ARTIFACTS || path.join(root, 'build/browser-artifacts');

test.describe.configure({ mode: 'serial' });

let server, address, page;

// Starts the server on a free port and learns its address from what it prints.
async function serve() {
  server = spawn(gaugehost, ['serve', 'default', '--scenario', path.join(__dirname, 'flight.scn'), '--port', '0'],
                 { stdio: ['ignore', 'pipe', 'inherit'] });
  const lines = readline.createInterface({ input: server.stdout });
  return new Promise((resolve, reject) => {
    server.on('exit', (code) => reject(new Error(`gaugehost serve ended with ${code}`)));
    lines.on('line', (line) => {
      const m = /(http:\/\/\S+\/)/.exec(line);
      if (m) resolve(m[1]);
    });
  });
}

const shot = (name) => page.screenshot({ path: path.join(artifacts, `${name}.png`) });

// Where a pixel of a gauge's bitmap is on the screen, its window scrolled into view.
function gaugePoint(gauge, x, y) {
  return page.evaluate(([name, x, y]) => {
    const g = cockpit.layout.gauges.find((c) => c.gauge === name);
    const w = cockpit.windows.get(g.window);
    w.element.scrollIntoView({ block: 'nearest', inline: 'nearest' });  // the fit leaves some windows past the edge
    const rect = w.element.getBoundingClientRect();
    const scale = rect.width / w.config.w;
    return { x: rect.left + (g.x + (x + 0.5) * g.w / g.bw) * scale, y: rect.top + (g.y + (y + 0.5) * g.h / g.bh) * scale };
  }, [gauge, x, y]);
}
function gaugeBox(gauge) {
  return page.evaluate((name) => {
    const g = cockpit.layout.gauges.find((c) => c.gauge === name);
    const w = cockpit.windows.get(g.window);
    w.element.scrollIntoView({ block: 'nearest', inline: 'nearest' });  // the fit leaves some windows past the edge
    const rect = w.element.getBoundingClientRect();
    const scale = rect.width / w.config.w;
    return { x: rect.left + g.x * scale, y: rect.top + g.y * scale, width: g.w * scale, height: g.h * scale };
  }, gauge);
}
const version = (window) => page.evaluate((n) => cockpit.windows.get(n).shown, window);
const newPicture = (window, after) =>
  expect.poll(() => version(window), { timeout: 5000 }).toBeGreaterThan(after);
const token = async (n) => (await (await page.request.get(`${address}tokens?numbers=${n}`)).json())[n];
// The mean brightness of a window's picture as the page shows it.
const brightness = (window) => page.evaluate((n) => {
  const img = cockpit.windows.get(n).image;
  const canvas = document.createElement('canvas');
  canvas.width = img.naturalWidth;
  canvas.height = img.naturalHeight;
  const cx = canvas.getContext('2d');
  cx.drawImage(img, 0, 0);
  const d = cx.getImageData(0, 0, canvas.width, canvas.height).data;
  let sum = 0;
  for (let i = 0; i < d.length; i += 4) sum += d[i] + d[i + 1] + d[i + 2];
  return sum / (d.length / 4) / 3;
}, window);

test.beforeAll(async ({ browser }) => {
  fs.mkdirSync(artifacts, { recursive: true });
  address = await serve();
  page = await browser.newPage();
  await page.goto(address);
  await page.evaluate(() => cockpit.ready);
  await expect.poll(() => version(0)).toBeGreaterThan(0);
  await shot('01-loaded');
});

test.afterAll(async () => {
  if (page) await page.close();
  if (server) server.kill('SIGTERM');
});

test('every visible window is shown from its picture', async () => {
  for (const n of [0, 1, 2]) {
    await expect(page.locator(`#window-0${n}`)).toBeVisible();
    await expect.poll(() => page.evaluate((k) => cockpit.windows.get(k).image.naturalWidth, n)).toBeGreaterThan(0);
  }
});

test('the battery switch clicks on, sounds, and says so', async () => {
  const box = await gaugeBox('Battery_Switch');
  const before = await page.screenshot({ clip: box });
  const shown = await version(0);
  const sound = page.waitForRequest(/\/wave\/\d+\.wav$/);
  const at = await gaugePoint('Battery_Switch', 15, 22);
  await page.mouse.click(at.x, at.y);
  await newPicture(0, shown);
  await expect.poll(async () => (await page.screenshot({ clip: box })).equals(before), { timeout: 5000 }).toBe(false);
  await shot('02-battery-on');

  // The click's sound was asked of the server and played by the page.
  await sound;
  await expect.poll(() => page.evaluate(() => cockpit.sounds.filter((s) => s.gauge === 'Battery_Switch').length))
    .toBeGreaterThan(0);
  await expect.poll(() => page.evaluate(() => cockpit.sounds.some((s) => s.played))).toBe(true);

  await page.mouse.move(at.x + 1, at.y);
  await page.mouse.move(at.x, at.y + 1);
  await expect(page.locator('#tooltip')).toHaveText('Battery switch (On)');
  await expect(page.locator('#tooltip')).toBeVisible();
  expect(await token(364)).toBe(1);
});

test('the cursor follows the area under it', async () => {
  const at = await gaugePoint('Battery_Switch', 15, 22);
  await page.mouse.move(at.x, at.y);
  await expect(page.locator('#window-00')).toHaveCSS('cursor', 'pointer');
});

test('the throttle lever follows a drag to the top of its slot', async () => {
  const lever = await page.evaluate(() => {
    const g = cockpit.layout.gauges.find((c) => c.gauge === 'Throttle_Quadrant');
    const a = g.areas.find((k) => k.drag);
    return { x: a.x + a.w / 2, bottom: a.y + a.h - 3, top: a.y };
  });
  const shown = await version(2);
  const from = await gaugePoint('Throttle_Quadrant', lever.x, lever.bottom);
  const to = await gaugePoint('Throttle_Quadrant', lever.x, lever.top - 40);
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  await page.mouse.move(to.x, (from.y + to.y) / 2, { steps: 5 });
  await page.waitForTimeout(150);  // the panel updates while the lever is held
  await page.mouse.move(to.x, to.y, { steps: 5 });
  await page.mouse.up();
  await expect.poll(() => token(558)).toBe(1);
  await newPicture(2, shown);
  await shot('03-throttle-forward');
});

test('COM1 tunes by its knob and by the drawer, and its readout reads it', async () => {
  await page.mouse.click(...Object.values(await gaugePoint('Radio_COM', 200, 60)));  // one channel up
  await page.mouse.click(...Object.values(await gaugePoint('Radio_COM', 270, 10)));  // show the readout
  await expect(page.locator('#com1')).toHaveValue('122.82');
  const state = await (await page.request.get(`${address}state`)).json();
  const com = state.gauges.find((g) => g.name === 'Radio_COM');
  expect(com.elements[3]).toMatchObject({ visible: true, text: '122.825' });
  await shot('04-com1-readout');

  await page.fill('#com1', '121.50');
  await page.press('#com1', 'Enter');
  await expect.poll(() => token(23)).toBe(0x2150);
  const at = await gaugePoint('Radio_COM', 10, 10);
  await page.mouse.move(at.x, at.y);
  await page.mouse.move(at.x + 1, at.y + 1);
  await expect(page.locator('#tooltip')).toHaveText(/^Communications Radio COM1 - 121\.500 MHz/);
  await expect(page.locator('#tooltip .hint')).toHaveText('wheel or click: step; right click: other step; hold: repeat');

  // The wheel over the knob clicks its increase area, then its decrease area.
  const knob = await gaugePoint('Radio_COM', 150, 60);
  await page.mouse.move(knob.x, knob.y);
  await page.mouse.wheel(0, -100);
  await expect.poll(() => token(23)).toBe(0x2152);
  await page.mouse.wheel(0, 100);
  await expect.poll(() => token(23)).toBe(0x2150);
});

test('night darkens the panel', async () => {
  const day = await brightness(0);
  await page.check('#night');
  await expect.poll(() => brightness(0), { timeout: 5000 }).toBeLessThan(day * 0.8);
  expect((await (await page.request.get(`${address}panel`)).json()).lighting).toBe('night');
  await shot('05-night');
});

test('a held knob repeats while the button is down', async () => {
  const at = await gaugePoint('Altimeter', 43, 224);  // the setting knob's increase half
  await page.mouse.move(at.x, at.y);
  await expect.poll(() => page.evaluate(() => document.querySelector('#window-00').style.cursor)).toContain('n-resize');
  const before = await token(76);
  await page.mouse.down();
  await page.waitForTimeout(1200);
  await page.mouse.up();
  const held = await token(76);
  // One press, then a repeat every update after the first 0.4 s.
  expect(held - before).toBeGreaterThan(0.05);
  await page.waitForTimeout(300);
  expect(await token(76)).toBeCloseTo(held, 5);
});

test('a right click opens the fuel valve cover, and only then a left click moves it', async () => {
  const at = await gaugePoint('Fuel_Valve', 27, 60);
  const valve = await token(895);
  await page.mouse.click(at.x, at.y);
  await page.waitForTimeout(300);
  expect(await token(895)).toBe(valve);  // under its cover
  const box = await gaugeBox('Fuel_Valve');
  const closed = await page.screenshot({ clip: box });
  await page.mouse.click(at.x, at.y, { button: 'right' });
  await expect.poll(async () => (await page.screenshot({ clip: box })).equals(closed), { timeout: 5000 }).toBe(false);
  await page.mouse.click(at.x, at.y);
  await expect.poll(() => token(895)).not.toBe(valve);
  await shot('06-fuel-valve-open');
});

test('the drawer hides a window and starts the aircraft cold and dark', async () => {
  await page.uncheck('#windows input[data-window="2"]');
  await expect(page.locator('#window-02')).toBeHidden();
  await page.check('#windows input[data-window="2"]');
  await expect(page.locator('#window-02')).toBeVisible();

  expect(await token(364)).toBe(1);  // the battery, on since its click
  await page.click('#cold-and-dark');
  await expect.poll(() => token(364)).toBe(0);
  expect(await token(558)).toBe(0);  // the throttle back
  await expect.poll(() => token(60)).toBe(0);  // and the engine stopped
  // Ready: Engine_On switches the radios on, telling the receivers' tone off as it goes.
  const answered = page.waitForResponse((r) => r.url().endsWith('/ready'));
  await page.click('#ready');
  const ready = await (await answered).json();
  expect(ready.events.map((e) => e.event)).toEqual([65836, 65832, 65833]);
  await shot('07-cold-and-dark-then-ready');
});

test('show all windows brings back every hidden window', async () => {
  await page.uncheck('#windows input[data-window="1"]');
  await page.uncheck('#windows input[data-window="2"]');
  await expect(page.locator('#window-01')).toBeHidden();
  await expect(page.locator('#window-02')).toBeHidden();
  await page.click('#show-all');
  for (const n of [0, 1, 2]) await expect(page.locator(`#window-0${n}`)).toBeVisible();
  await expect(page.locator('#windows input[data-window="2"]')).toBeChecked();
});

test('a bad request changes nothing and says why', async () => {
  const res = await page.request.post(`${address}click`, { data: { gauge: 'No_Such_Gauge', x: 1, y: 1 } });
  expect(res.status()).toBe(404);
  expect(await res.text()).toBe("no gauge 'No_Such_Gauge' is placed on this panel\n");
});

// A page of its own, at a viewport and pixel ratio of its own, with the
// picture scales it asks for listed.
async function openPage(browser, options) {
  const context = await browser.newContext(options);
  const p = await context.newPage();
  const scales = [];
  p.on('request', (r) => {
    const m = /\/window\/00\.png\?scale=([\d.]+)$/.exec(r.url());
    if (m) scales.push(Number(m[1]));
  });
  await p.goto(address);
  await p.evaluate(() => cockpit.ready);
  return { p, scales, close: () => context.close() };
}
const naturalWidth = (p) => p.evaluate(() => cockpit.windows.get(0).image.naturalWidth);

test('a window is drawn at the pixels it is shown at and redrawn as it zooms', async ({ browser }) => {
  await page.request.post(`${address}lighting`, { data: { mode: 'day' } });
  const { p, scales, close } = await openPage(browser, { viewport: { width: 1280, height: 720 }, deviceScaleFactor: 2 });
  const w = await p.evaluate(() => cockpit.windows.get(0).config.w);
  const fit = await p.evaluate(() => cockpit.zoom);
  // The main panel fills the room it binds in.
  const box = await p.locator('#window-00').boundingBox();
  const room = await p.locator('#viewport').boundingBox();
  expect(box.width <= room.width && box.height + 20 * fit <= room.height).toBe(true);
  expect(box.width > room.width - 40 || box.height + 20 * fit > room.height - 40).toBe(true);
  const fitScale = Math.ceil(fit * 2 / 0.25 - 1e-6) * 0.25;
  await expect.poll(() => scales).toContain(fitScale);
  await expect.poll(() => naturalWidth(p)).toBe(Math.round(w * fitScale));
  await p.screenshot({ path: path.join(artifacts, '09-fit-1280x720-at-2x.png') });
  await p.selectOption('#zoom', '1');
  await expect.poll(() => scales).toContain(2);
  await expect.poll(() => naturalWidth(p)).toBe(w * 2);
  await close();
});

test('on a large screen the fit goes past 100% and 300% is drawn at its pixels', async ({ browser }) => {
  const { p, scales, close } = await openPage(browser, { viewport: { width: 2560, height: 1440 } });
  const fit = await p.evaluate(() => cockpit.zoom);
  expect(fit).toBeGreaterThan(1);
  await p.screenshot({ path: path.join(artifacts, '10-fit-2560x1440.png') });
  await p.selectOption('#zoom', '3');
  await expect.poll(() => scales).toContain(3);
  expect(await p.evaluate(() => cockpit.zoom)).toBe(3);
  await close();
});

test('a tooltip near the right edge stays inside the viewport', async () => {
  // The drawer closed, the panel reaches the viewport's right edge; the
  // tooltip area whose right end lies furthest right on the screen.
  await page.click('#drawer-toggle');
  const at = await page.evaluate(() => {
    let best = null;
    for (const g of cockpit.layout.gauges) {
      const w = cockpit.windows.get(g.window);
      if (w.element.hidden) continue;
      const rect = w.element.getBoundingClientRect();
      const s = rect.width / w.config.w;
      for (const a of g.areas) {
        if (a.kind !== 'group' || !a.tooltip) continue;
        const x = rect.left + (g.x + (a.x + a.w - 1.5) * g.w / g.bw) * s;
        const y = rect.top + (g.y + (a.y + a.h / 2) * g.h / g.bh) * s;
        const seen = x < innerWidth - 2 && w.element.contains(document.elementFromPoint(x, y));
        if (seen && (!best || x > best.x)) best = { x, y };
      }
    }
    return best;
  });
  await page.mouse.move(at.x - 1, at.y);
  await page.mouse.move(at.x, at.y);
  await expect(page.locator('#tooltip')).toBeVisible();
  const box = await page.locator('#tooltip').boundingBox();
  const view = page.viewportSize();
  expect(box.x).toBeGreaterThanOrEqual(0);
  expect(box.y).toBeGreaterThanOrEqual(0);
  expect(box.x + box.width).toBeLessThanOrEqual(view.width);
  expect(box.y + box.height).toBeLessThanOrEqual(view.height);
  await shot('11-tooltip-at-the-right-edge');
  await page.click('#drawer-toggle');
});
