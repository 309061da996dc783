// Designer mode in a real Chromium (gaugehost serve PANEL --edit): a gauge
// dragged, resized by a corner, added from the catalogue and the addition
// undone, each seen in the window's picture, the layout and the diff a save
// would write.
const { test, expect } = require('@playwright/test');
const { serve } = require('./serve');
const fs = require('fs');
const os = require('os');
const path = require('path');

const root = path.resolve(__dirname, '../..');
const artifacts = process.env.COCKPIT_ARTIFACTS || path.join(root, 'build/browser-artifacts');

test.describe.configure({ mode: 'serial' });

let server, address, page, folder;

const shot = (name) => page.screenshot({ path: path.join(artifacts, `designer-${name}.png`) });
const diff = async () => (await page.request.get(`${address}edit/diff`)).text();
const layoutOf = (key) => page.evaluate((k) => cockpit.layout.gauges.find((g) => g.section === 'Window00' && g.key === k), key);
const version = () => page.evaluate(() => cockpit.windows.get(0).shown);
const boxOf = (key) => page.locator(`.design-box[data-section="Window00"][data-key="${key}"]`);
// The mean colour of a rectangle of window 0's picture as the page shows it, in panel units.
const meanColour = (r) => page.evaluate((r) => {
  const img = cockpit.windows.get(0).image;
  const k = img.naturalWidth / cockpit.windows.get(0).config.w;
  const canvas = document.createElement('canvas');
  canvas.width = Math.max(1, Math.round(r.w * k));
  canvas.height = Math.max(1, Math.round(r.h * k));
  const cx = canvas.getContext('2d');
  cx.drawImage(img, r.x * k, r.y * k, r.w * k, r.h * k, 0, 0, canvas.width, canvas.height);
  const d = cx.getImageData(0, 0, canvas.width, canvas.height).data;
  const sum = [0, 0, 0];
  for (let i = 0; i < d.length; i += 4) for (let c = 0; c < 3; ++c) sum[c] += d[i + c];
  return sum.map((s) => Math.round(s / (d.length / 4)));
}, r);
// Where panel point (x, y) of window 0 is on the screen.
const screenAt = (x, y) => page.evaluate(([x, y]) => {
  const w = cockpit.windows.get(0);
  const rect = w.element.getBoundingClientRect();
  const k = rect.width / w.config.w;
  return { x: rect.left + x * k, y: rect.top + y * k };
}, [x, y]);

test.beforeAll(async ({ browser }) => {
  fs.mkdirSync(artifacts, { recursive: true });
  folder = fs.mkdtempSync(path.join(os.tmpdir(), 'ardelvine-designer-'));
  fs.copyFileSync(path.join(root, 'tests/panels/trainer.cfg'), path.join(folder, 'panel.cfg'));
  ({ server, address } = await serve([path.join(folder, 'panel.cfg'), '--edit'], 'ignore'));
  page = await browser.newPage();
  await page.goto(address);
  await page.waitForFunction(() => document.body.dataset.designer === 'ready');
  await expect.poll(version).toBeGreaterThan(0);
});

test.afterAll(async () => {
  if (server) server.kill('SIGTERM');
  if (folder) fs.rmSync(folder, { recursive: true, force: true });
});

test('each box lies on its gauge in the picture, after the side list took its room', async () => {
  for (const g of await page.evaluate(() => cockpit.layout.gauges.filter((g) => g.section === 'Window00'))) {
    const box = await boxOf(g.key).boundingBox();
    const at = await screenAt(g.x, g.y), end = await screenAt(g.x + g.w, g.y + g.h);
    expect([box.x, box.y, box.x + box.width, box.y + box.height].map(Math.round))
      .toEqual([at.x, at.y, end.x, end.y].map(Math.round));
  }
  const room = await page.evaluate(() => document.getElementById('viewport').getBoundingClientRect().right);
  const main = await page.evaluate(() => cockpit.windows.get(0).element.getBoundingClientRect().right);
  expect(main).toBeLessThanOrEqual(room + 1);
});

test('a gauge dragged moves in the picture and in the diff', async () => {
  const before = await version();
  const empty = await meanColour({ x: 420, y: 80, w: 20, h: 20 });
  const box = await boxOf('Gauge04').boundingBox();
  const from = { x: box.x + box.width / 2, y: box.y + box.height / 2 };
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  const step = (await screenAt(420, 80)).x - (await screenAt(380, 80)).x;
  await page.mouse.move(from.x + step / 2, from.y, { steps: 4 });
  await page.mouse.move(from.x + step, from.y, { steps: 4 });
  await page.mouse.up();
  await expect.poll(diff).toContain('+Gauge04=Ardelvine_Instr!Battery_Switch, 420 , 80\n');
  await expect.poll(async () => (await layoutOf('Gauge04')).x).toBe(420);
  await expect.poll(version).toBeGreaterThan(before);
  await expect.poll(() => meanColour({ x: 420, y: 80, w: 20, h: 20 })).not.toEqual(empty);
  await expect(page.locator('#design-selection')).toContainText('line 27');
  await shot('01-dragged');
});

test('a corner handle resizes, keeping the proportions', async () => {
  const g = await layoutOf('gauge00');
  await boxOf('gauge00').click();
  const handle = boxOf('gauge00').locator('.design-handle.se');
  const h = await handle.boundingBox();
  const corner = await screenAt(g.x + g.w, g.y + g.h), wider = await screenAt(g.x + g.w + 40, g.y + g.h);
  await page.mouse.move(h.x + h.width / 2, h.y + h.height / 2);
  await page.mouse.down();
  await page.mouse.move(h.x + h.width / 2 + (wider.x - corner.x), h.y + h.height / 2 + 5, { steps: 5 });
  await page.mouse.up();
  await expect.poll(diff).toContain('+gauge00=Ardelvine_Instr!Airspeed,  20, 70, 200, 200\t\n');
  await expect.poll(async () => (await layoutOf('gauge00')).w).toBe(200);
  await shot('02-resized');
});

test('a gauge added from the catalogue, and undone', async () => {
  await page.fill('#design-search', 'waltham');
  const item = page.locator('.design-item[data-gauge="Ardelvine_Instr!Waltham_Clock"]');
  await expect(item).toBeVisible();
  await expect(page.locator('.design-item:visible')).toHaveCount(1);
  const at = await screenAt(600, 40);
  const layer = page.locator('.design-layer[data-window="0"]');
  const rect = await layer.boundingBox();
  await item.dragTo(layer, { targetPosition: { x: at.x - rect.x, y: at.y - rect.y } });
  await expect.poll(diff).toMatch(/\+gauge08=Ardelvine_Instr!Waltham_Clock, 60\d, [34]\d, 100, 100\n/);
  await expect.poll(() => layoutOf('gauge08')).toBeTruthy();
  await shot('03-added');
  await page.click('#design-undo');
  await expect.poll(diff).not.toContain('Waltham_Clock');
  await expect.poll(() => layoutOf('gauge08')).toBeFalsy();
  await expect.poll(diff).toContain('+gauge00=Ardelvine_Instr!Airspeed,  20, 70, 200, 200\t\n');
});

test('play hands the clicks back to the gauges', async () => {
  await page.click('#design-play');
  await expect(page.locator('.design-layer').first()).toBeHidden();
  await page.click('#design-play');
  await expect(page.locator('.design-layer').first()).toBeVisible();
});
