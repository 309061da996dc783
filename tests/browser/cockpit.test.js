// The cockpit page in a real Chromium, served by gaugehost: what a pilot does
// with the mouse reaches the gauges, and what the gauges do reaches the page.
const { test, expect } = require('@playwright/test');
const { serve } = require('./serve');
const fs = require('fs');
const path = require('path');

const root = path.resolve(__dirname, '../..');
const artifacts = process.env.COCKPIT_ARTIFACTS || path.join(root, 'build/browser-artifacts');

test.describe.configure({ mode: 'serial' });

let server, address, page;

const shot = (name) => page.screenshot({ path: path.join(artifacts, `${name}.png`) });

// Where a pixel of a gauge's bitmap is on the screen, its window scrolled into view.
async function gaugePoint(gauge, x, y) {
  await page.evaluate((name) => {
    const g = cockpit.layout.gauges.find((c) => c.gauge === name);
    cockpit.windows.get(g.window).element.scrollIntoView({ block: 'nearest', inline: 'nearest' });
  }, gauge);
  return pointOn(page, gauge, x, y);
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
  canvas.width = img.width;
  canvas.height = img.height;
  const cx = canvas.getContext('2d');
  cx.drawImage(img, 0, 0);
  const d = cx.getImageData(0, 0, canvas.width, canvas.height).data;
  let sum = 0;
  for (let i = 0; i < d.length; i += 4) sum += d[i] + d[i + 1] + d[i + 2];
  return sum / (d.length / 4) / 3;
}, window);

test.beforeAll(async ({ browser }) => {
  fs.mkdirSync(artifacts, { recursive: true });
  ({ server, address } = await serve(['default', '--scenario', path.join(__dirname, 'flight.scn')]));
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
    await expect.poll(() => page.evaluate((k) => cockpit.windows.get(k).image.width, n)).toBeGreaterThan(0);
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
const pictureWidth = (p) => p.evaluate(() => cockpit.windows.get(0).image.width);

test('a window is drawn at the pixels it is shown at and redrawn as it zooms', async ({ browser }) => {
  await page.request.post(`${address}lighting`, { data: { mode: 'day' } });
  const { p, scales, close } = await openPage(browser, { viewport: { width: 1280, height: 720 }, deviceScaleFactor: 2 });
  const w = await p.evaluate(() => cockpit.windows.get(0).config.w);
  const fit = await p.evaluate(() => cockpit.zoom);
  const fitScale = Math.ceil(fit * 2 / 0.25 - 1e-6) * 0.25;
  await expect.poll(() => scales).toContain(fitScale);
  await expect.poll(() => pictureWidth(p)).toBe(Math.round(w * fitScale));
  await p.screenshot({ path: path.join(artifacts, '09-fit-1280x720-at-2x.png') });
  await p.selectOption('#zoom', '1');
  await expect.poll(() => scales).toContain(2);
  await expect.poll(() => pictureWidth(p)).toBe(w * 2);
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

// ------------------------------------------------------------ a pilot's screen, small and large
// The same checks on a laptop's screen and on a large one at twice the
// pixels: each a page of its own on the one server.
const SCREENS = [{ width: 1280, height: 720 }, { width: 2560, height: 1440 }];
const BUTTONS = ['Kneeboard_Toggle', 'ATC_Toggle', 'Map_Toggle', 'Invisible_Toggle', 'Close_Subpanel', 'Radios_Toggle',
                 'Landing_View_Toggle', 'GPS_Toggle', 'Throttle_Toggle', 'Compass_Toggle', 'Fuel_Toggle', 'Electricity_Toggle'];
// What a click on each opens; the others show a view of the simulator's own.
const OPENS = { Compass_Toggle: 5, Fuel_Toggle: 3, Electricity_Toggle: 4, Radios_Toggle: 1, Throttle_Toggle: 2 };

// The windows back as the panel starts: the radio stack and the throttle
// shown, the fuel, electrical and compass windows hidden.
async function startingWindows() {
  for (const [ident, visible] of [[50, true], [10, true], [300, false], [301, false], [75, false]])
    await page.request.post(`${address}window`, { data: { ident, visible } });
}

// Where a pixel of a gauge's bitmap is on a page's screen.
const pointOn = (p, gauge, x, y) => p.evaluate(([name, x, y]) => {
  const g = cockpit.layout.gauges.find((c) => c.gauge === name);
  const rect = cockpit.windows.get(g.window).element.getBoundingClientRect();
  const s = rect.width / cockpit.windows.get(g.window).config.w;
  return { x: rect.left + (g.x + (x + 0.5) * g.w / g.bw) * s, y: rect.top + (g.y + (y + 0.5) * g.h / g.bh) * s };
}, [gauge, x, y]);
const boxOf = (p, selector) => p.locator(selector).boundingBox();

// The tooltip area whose right end lies furthest right on the screen, in view.
const rightmostTooltip = (p) => p.evaluate(() => {
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

for (const screen of SCREENS) {
  const size = `${screen.width}x${screen.height}`;
  test.describe(`on a ${size} screen at twice the pixels`, () => {
    let p, scales, close;
    const snap = (name) => p.screenshot({ path: path.join(artifacts, `${size}-${name}.png`) });
    test.beforeAll(async ({ browser }) => {
      await startingWindows();
      ({ p, scales, close } = await openPage(browser, { viewport: screen, deviceScaleFactor: 2 }));
    });
    test.afterAll(async () => { await close(); await startingWindows(); });

    test('the main panel fills the width or the height, the subpanels float at their places, sharp', async () => {
      await expect(p.locator('#drawer')).toHaveClass(screen.width < 1600 ? /^(?!.*open)/ : /open/);
      const room = await boxOf(p, '#viewport');
      const main = await boxOf(p, '#window-00');
      expect(main.width).toBeLessThanOrEqual(room.width + 1);
      expect(main.height).toBeLessThanOrEqual(room.height + 1);
      expect(Math.min(room.width - main.width, room.height - main.height)).toBeLessThan(2);
      const zoom = main.width / 1960;
      // The radio stack at window_pos 0.80,0.08 of the screen, kept on it.
      const radios = await boxOf(p, '#window-01');
      expect(radios.width).toBeCloseTo(370 * zoom, 0);
      expect(radios.x - room.x).toBeCloseTo(Math.min(0.8 * room.width, room.width - radios.width), 0);
      expect(radios.y - room.y).toBeCloseTo(0.08 * room.height, 0);
      // The throttle at position 7: the middle of the bottom row.
      const throttle = await boxOf(p, '#window-02');
      expect(throttle.x + throttle.width / 2 - room.x).toBeCloseTo(room.width / 2, 0);
      expect(throttle.y + throttle.height - room.y).toBeCloseTo(room.height, 0);
      // Over the main panel, which stays under every floating window.
      const z = (n) => p.locator(`#window-0${n}`).evaluate((e) => Number(getComputedStyle(e).zIndex));
      expect(await z(1)).toBeGreaterThan(await z(0));
      // The titles read at every size; the pictures come at the device's pixels.
      await expect(p.locator('#window-01 .title')).toHaveCSS('font-size', '12px');
      await expect(p.locator('#window-01 .title .name')).toHaveText('Radio Stack');
      const fitScale = Math.ceil(zoom * 2 / 0.25 - 1e-6) * 0.25;
      await expect.poll(() => scales).toContain(fitScale);
      await expect.poll(() => pictureWidth(p)).toBe(Math.round(1960 * fitScale));
      await snap('layout');
    });

    test('a title bar moves its window, its button closes it, and show all windows brings it back', async () => {
      const before = await boxOf(p, '#window-01');
      const bar = await boxOf(p, '#window-01 .title');
      await p.mouse.move(bar.x + 20, bar.y + bar.height / 2);
      await p.mouse.down();
      await p.mouse.move(bar.x - 180, bar.y + bar.height / 2 + 100, { steps: 4 });
      await p.mouse.up();
      const after = await boxOf(p, '#window-01');
      expect(after.x - before.x).toBeCloseTo(-200, 0);
      expect(after.y - before.y).toBeCloseTo(100, 0);
      await snap('moved');
      await p.click('#window-01 .title .close');
      await expect(p.locator('#window-01')).toBeHidden();
      // Show all windows stays in view, whatever the layout.
      const show = await boxOf(p, '#show-all');
      expect(show.x + show.width).toBeLessThanOrEqual(screen.width);
      await p.click('#show-all');
      for (const n of [1, 3, 4, 5]) await expect(p.locator(`#window-0${n}`)).toBeVisible();
      // Windows without a place cascade from the top right, the newest lower left.
      const room = await boxOf(p, '#viewport');
      const electrical = await boxOf(p, '#window-04');
      const compass = await boxOf(p, '#window-05');
      expect(electrical.x + electrical.width).toBeCloseTo(room.x + room.width, 0);
      expect(compass.x + compass.width).toBeCloseTo(room.x + room.width - 28, 0);
      expect(compass.y - electrical.y).toBeCloseTo(28, 0);
      // The fuel window as large as window_size says, proportions kept, at position 4: the middle.
      const fuel = await boxOf(p, '#window-03');
      expect(fuel.width).toBeCloseTo(450 * Math.min(0.30 * room.width / 450, 0.45 * room.height / 380), 0);
      expect(fuel.x + fuel.width / 2 - room.x).toBeCloseTo(room.width / 2, 0);
      expect(fuel.y + fuel.height / 2 - room.y).toBeCloseTo(room.height / 2, 0);
      await snap('all-windows');
      await startingWindows();
      await expect(p.locator('#window-03')).toBeHidden();
    });

    test('every window button leaves the main panel, opening a window or saying the simulator shows it', async () => {
      for (const button of BUTTONS) {
        const at = await pointOn(p, button, 9, 9);
        await p.mouse.click(at.x, at.y);
        await p.waitForTimeout(150);
        await expect(p.locator('#window-00'), button).toBeVisible();
        const opens = OPENS[button];
        if (opens) await expect(p.locator(`#window-0${opens}`), button).toBeVisible();
        const tip = await (await p.request.get(`${address}tooltip?gauge=${button}&x=9&y=9`)).json();
        const view = ['Kneeboard_Toggle', 'ATC_Toggle', 'Map_Toggle', 'Landing_View_Toggle', 'GPS_Toggle'].includes(button);
        expect(tip.text.includes('the simulator shows'), `${button}: ${tip.text}`).toBe(view);
      }
      await snap('window-buttons');
      await startingWindows();
    });

    test('the wheel tunes COM1', async () => {
      const before = await token(23);
      const knob = await pointOn(p, 'Radio_COM', 150, 60);
      await p.mouse.move(knob.x, knob.y);
      await p.mouse.wheel(0, -100);
      await expect.poll(() => token(23)).not.toBe(before);
      await snap('com1-wheel');
      await p.mouse.wheel(0, 100);
      await expect.poll(() => token(23)).toBe(before);
    });

    test('a tooltip near the right edge stays inside the viewport', async () => {
      const at = await rightmostTooltip(p);
      await p.mouse.move(at.x - 1, at.y);
      await p.mouse.move(at.x, at.y);
      await expect(p.locator('#tooltip')).toBeVisible();
      const box = await boxOf(p, '#tooltip');
      expect(box.x).toBeGreaterThanOrEqual(0);
      expect(box.y).toBeGreaterThanOrEqual(0);
      expect(box.x + box.width).toBeLessThanOrEqual(screen.width);
      expect(box.y + box.height).toBeLessThanOrEqual(screen.height);
      await snap('tooltip-at-the-right-edge');
    });
  });
}

// ------------------------------------------------------------ a tablet
test('on a tablet a tap clicks, a long press right-clicks, a finger drags a lever and two pinch the zoom', async ({ browser }) => {
  await startingWindows();
  const context = await browser.newContext({ viewport: { width: 1280, height: 720 }, hasTouch: true });
  const p = await context.newPage();
  await p.goto(address);
  await p.evaluate(() => cockpit.ready);
  const cdp = await context.newCDPSession(p);
  const touch = (type, points) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points.map(({ x, y }, id) => ({ x, y, id })) });

  // A tap on the COM knob steps it as a left click does, a long press as a right click does.
  const knob = await pointOn(p, 'Radio_COM', 200, 60);
  const first = await token(23);
  await p.touchscreen.tap(knob.x, knob.y);
  await expect.poll(() => token(23)).not.toBe(first);
  const tapped = await token(23);
  await touch('touchStart', [knob]);
  await p.waitForTimeout(800);
  await touch('touchEnd', []);
  await expect.poll(() => token(23)).not.toBe(tapped);
  expect(await token(23) - tapped).not.toBe(tapped - first);  // the other step

  // A finger on the throttle lever drags it to the top of its slot.
  const lever = await p.evaluate(() => {
    const g = cockpit.layout.gauges.find((c) => c.gauge === 'Throttle_Quadrant');
    const a = g.areas.find((k) => k.drag);
    return { x: a.x + a.w / 2, bottom: a.y + a.h - 3, top: a.y };
  });
  await page.request.post(`${address}set`, { data: { token: 558, value: 0 } });
  await page.request.post(`${address}release`, { data: { token: 558 } });
  const from = await pointOn(p, 'Throttle_Quadrant', lever.x, lever.bottom);
  const to = await pointOn(p, 'Throttle_Quadrant', lever.x, lever.top - 40);
  await touch('touchStart', [from]);
  for (let i = 1; i <= 6; ++i) {
    await touch('touchMove', [{ x: from.x, y: from.y + (to.y - from.y) * i / 6 }]);
    await p.waitForTimeout(40);
  }
  await touch('touchEnd', []);
  await expect.poll(() => token(558)).toBe(1);

  // Two fingers spreading zoom in; nothing scrolled the page or selected text.
  const fit = await p.evaluate(() => cockpit.zoom);
  const mid = { x: 400, y: 300 };
  // The main panel's point under the fingers, in its own units.
  const under = () => p.evaluate(({ x, y }) => {
    const r = cockpit.windows.get(0).element.getBoundingClientRect();
    return [(x - r.left) / cockpit.zoom, (y - r.top) / cockpit.zoom];
  }, mid);
  const before = await under();
  await touch('touchStart', [{ x: mid.x - 40, y: mid.y }, { x: mid.x + 40, y: mid.y }]);
  for (let i = 1; i <= 5; ++i) await touch('touchMove', [{ x: mid.x - 40 - 20 * i, y: mid.y }, { x: mid.x + 40 + 20 * i, y: mid.y }]);
  await touch('touchEnd', []);
  expect(await p.evaluate(() => cockpit.zoom)).toBeGreaterThan(fit * 1.5);
  const after = await under();
  expect(Math.hypot(after[0] - before[0], after[1] - before[1])).toBeLessThan(3);
  expect(await p.evaluate(() => [scrollX, scrollY, String(getSelection())])).toEqual([0, 0, '']);
  await p.screenshot({ path: path.join(artifacts, 'tablet-pinched.png') });
  await context.close();
});

// ------------------------------------------------------------ what a pilot waits for
// From a click on the page to its changed pixels on the screen: the page
// notes the pointer's press, then reads the battery switch's pixels of the
// main panel's picture at every frame until they change. 50 clicks, spread
// over the panel's update period (a click waits for the next update). Also
// the main panel's pictures shown a second while the panel moves. Reported
// (printed and written to click-to-pixels.json among the artifacts), not asserted: the
// numbers depend on the machine.
const WAIT_SETTINGS = [
  { name: '1280x720 at 1x', viewport: { width: 1280, height: 720 }, deviceScaleFactor: 1, zoom: 'fit' },
  { name: '1700x1000 (the suite\'s viewport) at 1x', viewport: { width: 1700, height: 1000 }, deviceScaleFactor: 1, zoom: 'fit' },
  { name: '2560x1440, pictures at 2x', viewport: { width: 2560, height: 1440 }, deviceScaleFactor: 1, zoom: '2' },
];
const percentile = (sorted, q) => sorted[Math.min(sorted.length - 1, Math.ceil(q * sorted.length) - 1)];

test('click to pixels: what a pilot waits for, measured and reported', async ({ browser }) => {
  test.setTimeout(240_000);
  await startingWindows();
  await page.goto('about:blank');  // one page on the panel, as a pilot has
  const report = [];
  for (const setting of WAIT_SETTINGS) {
    const context = await browser.newContext({ viewport: setting.viewport, deviceScaleFactor: setting.deviceScaleFactor });
    const p = await context.newPage();
    await p.goto(address);
    await p.evaluate(() => cockpit.ready);
    await p.selectOption('#zoom', setting.zoom);
    await p.evaluate(() => {
      const e = cockpit.windows.get(0);
      const g = cockpit.layout.gauges.find((c) => c.gauge === 'Battery_Switch');
      const [x0, y0] = [g.x + g.w / 2, g.y + g.h / 2];
      const r = e.element.getBoundingClientRect();
      document.getElementById('viewport').scrollBy(r.left + x0 * r.width / e.config.w - innerWidth / 2,
                                                   r.top + y0 * r.height / e.config.h - innerHeight / 2);
    });
    await expect.poll(() => p.evaluate(() => { const e = cockpit.windows.get(0); return e.drawnAt === e.scale && e.shown > 0; }))
      .toBe(true);
    const scale = await p.evaluate(() => cockpit.windows.get(0).scale);
    await p.evaluate(() => {
      const canvas = document.createElement('canvas');
      const cx = canvas.getContext('2d', { willReadFrequently: true });
      // The battery switch's pixels in the picture the page shows now.
      const pixels = () => {
        const e = cockpit.windows.get(0);
        const g = cockpit.layout.gauges.find((c) => c.gauge === 'Battery_Switch');
        const s = e.image.width / e.config.w;
        canvas.width = Math.ceil(g.w * s); canvas.height = Math.ceil(g.h * s);
        cx.drawImage(e.image, g.x * s, g.y * s, canvas.width, canvas.height, 0, 0, canvas.width, canvas.height);
        const d = cx.getImageData(0, 0, canvas.width, canvas.height).data;
        let h = 0;
        for (let i = 0; i < d.length; i += 4) h = (h * 31 + d[i] + 7 * d[i + 1] + 13 * d[i + 2]) | 0;
        return h;
      };
      window.wait = { samples: [], waiting: false };
      const frame = () => {
        if (!wait.waiting) return;
        if (pixels() !== wait.before) { wait.samples.push(performance.now() - wait.t0); wait.waiting = false; return; }
        requestAnimationFrame(frame);
      };
      window.addEventListener('pointerdown', (e) => {
        Object.assign(wait, { t0: e.timeStamp, before: pixels(), waiting: true });
        requestAnimationFrame(frame);
      }, { capture: true });
    });
    const at = await pointOn(p, 'Battery_Switch', 15, 22);
    for (let i = 0; i < 50; ++i) {
      // Just after an update, then a little later each time: across the period.
      await p.evaluate((delay) => new Promise((resolve) => {
        const u = cockpit.update;
        const tick = () => (cockpit.update !== u ? setTimeout(resolve, delay) : setTimeout(tick, 1));
        tick();
      }), (i * 1000 / 18) / 50);
      await p.mouse.click(at.x, at.y);
      // Waited for in the page: asking from here at every few milliseconds would hold it up.
      await p.evaluate((n) => new Promise((resolve, reject) => {
        const until = performance.now() + 3000;
        const check = () => (wait.samples.length >= n ? resolve()
          : performance.now() > until ? reject(new Error('the click changed no pixels')) : setTimeout(check, 20));
        check();
      }), i + 1);
    }
    const samples = await p.evaluate(() => wait.samples);
    // Pictures a second: the main panel redrawn while its needles move.
    const shown = await p.evaluate(async () => {
      const e = cockpit.windows.get(0);
      const from = { version: e.shown, update: cockpit.update, t: performance.now() };
      let pictures = 0, last = e.shown;
      await new Promise((resolve) => {
        const count = () => {
          if (e.shown !== last) { ++pictures; last = e.shown; }
          if (performance.now() - from.t < 3000) requestAnimationFrame(count); else resolve();
        };
        requestAnimationFrame(count);
      });
      const seconds = (performance.now() - from.t) / 1000;
      return { pictures: pictures / seconds, updates: (cockpit.update - from.update) / seconds };
    });
    const sorted = [...samples].sort((a, b) => a - b);
    report.push({ setting: setting.name, picture_scale: scale, clicks: samples.length,
                  median_ms: Math.round(percentile(sorted, 0.5) * 10) / 10, p95_ms: Math.round(percentile(sorted, 0.95) * 10) / 10,
                  min_ms: Math.round(sorted[0] * 10) / 10, max_ms: Math.round(sorted[sorted.length - 1] * 10) / 10,
                  main_pictures_per_second: Math.round(shown.pictures * 10) / 10, updates_per_second: Math.round(shown.updates * 10) / 10 });
    await context.close();
  }
  console.log(`Click to pixels (target: median <= 45 ms, 95th percentile <= 80 ms):\n${JSON.stringify(report, null, 2)}`);
  fs.writeFileSync(path.join(artifacts, 'click-to-pixels.json'), `${JSON.stringify(report, null, 2)}\n`);
});
