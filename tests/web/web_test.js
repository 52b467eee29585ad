// The browser build, tested in Debian's chromium (headless, software WebGL):
// the probe's picture against the native one (Mesa) at sampled points and as
// a whole, the page around it (4:3 with bars, Start, Escape, play again), and
// the clear messages when WebGL, WebAssembly or a file is missing. Prints the
// probe's frame rate.
//   node web_test.js --site DIR --reference native.ppm [--fps-seconds N]
'use strict';
const fs = require('fs');
const path = require('path');
const { serve, launch, watch, waitState, messageShown } = require('./browser');

const args = process.argv.slice(2);
function arg(name, fallback) {
  const i = args.indexOf('--' + name);
  return i >= 0 ? args[i + 1] : fallback;
}
const site = path.resolve(arg('site', path.join(__dirname, '..', '..', 'build-web', 'site')));
const referencePath = arg('reference', null);
const fpsSeconds = Number(arg('fps-seconds', '5'));
const W = 640, H = 480;

let failures = 0;
function check(ok, what, detail) {
  console.log((ok ? 'ok   ' : 'FAIL ') + what + (detail ? ' — ' + detail : ''));
  if (!ok) failures++;
}

// --- pictures ---------------------------------------------------------------
function readPpm(file) {
  const b = fs.readFileSync(file);
  const head = b.toString('latin1', 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  if (!head || +head[1] !== W || +head[2] !== H) throw new Error(file + ': not a 640x480 P6 PPM');
  return b.subarray(head[0].length);
}
// Top-down RGB of the reference; the probe hands its frame bottom row first, RGBA.
const refPixel = (ref, x, y) => [0, 1, 2].map((c) => ref[(y * W + x) * 3 + c]);
const glPixel = (px, x, y) => [0, 1, 2].map((c) => px[((H - 1 - y) * W + x) * 4 + c]);

// Points inside features, away from triangle edges, top-left origin, with
// the largest difference per channel allowed there.
const staticPoints = [
  ['list: per-vertex colours', 43, 65, 10], ['list: one colour for a quad', 117, 52, 6],
  ['list: colour of its last vertex stays current', 43, 128, 6],
  ['list: colour outside a batch stays current', 117, 128, 6],
  ['inherited colour, red call', 203, 43, 6], ['inherited colour, blue call', 295, 43, 6],
  ['list inherits the calling colour before its glColor', 203, 135, 6], ['list colour set halfway', 277, 135, 6],
  ['colour within a batch', 203, 94, 6], ['colour stays current after glEnd', 277, 94, 6],
  ['texgen off after list (tile 2)', 446, 126, 8], ['texgen off after list, far texel', 474, 154, 8],
  ['texgen off after list (tile 3)', 606, 126, 8],
  ['BGRA as 3: red', 45, 195, 6], ['BGRA as 3: green', 115, 195, 6],
  ['BGRA as 3: blue', 45, 265, 6], ['BGRA as 3: yellow', 115, 265, 6],
  ['BGRA as 4: opaque red', 205, 195, 6], ['BGRA as 4: blended blue', 205, 265, 8],
  ['BGRA as 4: blended over the bar', 205, 245, 8], ['BGRA as 4: blended yellow', 275, 265, 8],
  ['RGBA as 4: red', 345, 180, 6], ['RGBA as 4: green', 449, 198, 6],
  ['RGBA as 4: blue, half alpha', 345, 217, 8], ['RGBA as 4: yellow, half alpha', 449, 235, 8],
  ['RGB 2x2 (row padding): texel 0', 365, 261, 6], ['RGB 2x2: texel 1', 435, 261, 6],
  ['RGB 2x2: texel 2', 365, 293, 6], ['RGB 2x2: texel 3', 435, 293, 6],
  ['fog, nearest', 505, 240, 8], ['fog 2', 532, 240, 8], ['fog 3', 560, 240, 8],
  ['fog 4', 588, 240, 8], ['fog, farthest', 616, 240, 8],
  ['blend SRC_ALPHA, 1-SRC_ALPHA', 560, 360, 8], ['blend 1-SRC_ALPHA, ONE', 560, 440, 8],
  ['blend background', 490, 400, 6],
];
const movingPoints = [
  ['sphere map, flat: centre', 400, 80, 20], ['sphere map, flat: upper left', 380, 55, 20],
  ['sphere map, flat: lower right', 425, 105, 20],
  ['sphere map, smooth: centre', 560, 80, 16], ['sphere map, smooth: upper left', 535, 55, 16],
  ['sphere map, smooth: lower right', 585, 105, 16],
];
for (const i of [8, 50, 100, 150, 200, 240])
  for (const j of [5, 30, 60]) {
    const x = Math.floor((i + 0.5) * 480 / 256), y = 320 + Math.floor((66 - j - 0.5) * 160 / 66);
    movingPoints.push([`large batch cell ${i},${j}`, x, y, 8]);
  }
// The first triangle of the second and third piece the layer streams the
// batch in (49,152 vertices each): cells (0,32) and (0,64).
movingPoints.push(['large batch: first triangle of piece 2', 0, 401, 8],
  ['large batch: first triangle of piece 3', 0, 324, 8]);

function comparePoints(points, get, ref, label) {
  for (const [name, x, y, tol] of points) {
    const a = get(x, y), b = refPixel(ref, x, y);
    const d = Math.max(...a.map((v, c) => Math.abs(v - b[c])));
    check(d <= tol, `${label}: ${name} (${x},${y})`, d > tol ? `got ${a} want ${b}` : '');
  }
}

function compareWhole(px, ref) {
  let sum = 0, bad = 0;
  for (let y = 0; y < H; y++)
    for (let x = 0; x < W; x++) {
      const a = glPixel(px, x, y), b = refPixel(ref, x, y);
      const d = a.map((v, c) => Math.abs(v - b[c]));
      sum += d[0] + d[1] + d[2];
      if (Math.max(...d) > 40) bad++;
    }
  const mean = sum / (W * H * 3), badShare = bad / (W * H);
  check(mean < 1.5, 'whole picture: mean difference per channel', mean.toFixed(3));
  check(badShare < 0.01, 'whole picture: share of pixels off by more than 40',
    (100 * badShare).toFixed(3) + '%');
  return { mean, badShare };
}

// --- the tests --------------------------------------------------------------
async function testShow(browser, base, ref) {
  const page = await browser.newPage({ viewport: { width: W, height: H } });
  const errors = watch(page);
  await page.goto(base);
  check((await waitState(page, ['ready', 'error'])) === 'ready', 'page ready with software WebGL');
  check(await page.isVisible('#start'), 'Start button shown');
  await page.uncheck('#fullscreen');
  await page.click('#start');
  await page.waitForFunction(() => window.isowebModule && window.isowebModule.probePixels, null,
    { timeout: 30000 });
  const px = Buffer.from(await page.evaluate(() => Array.from(window.isowebModule.probePixels)));
  check(px.length === W * H * 4, 'probe read back 640x480');
  if (ref) {
    comparePoints(staticPoints.concat(movingPoints), (x, y) => glPixel(px, x, y), ref, 'frame 0');
    compareWhole(px, ref);
  }

  // What the page shows: the canvas at 1:1 in a 640x480 window. Only the
  // parts that do not move, as the probe animates on.
  await page.waitForFunction(() => window.isowebModule.probeFrames > 2);
  const shot = await page.screenshot({ type: 'png' });
  const shown = await page.evaluate(async (b64) => {
    const img = await createImageBitmap(await (await fetch('data:image/png;base64,' + b64)).blob());
    const c = new OffscreenCanvas(img.width, img.height);
    const g = c.getContext('2d');
    g.drawImage(img, 0, 0);
    return { w: img.width, h: img.height, data: Array.from(g.getImageData(0, 0, img.width, img.height).data) };
  }, shot.toString('base64'));
  check(shown.w === W && shown.h === H, 'screenshot is 640x480');
  const shownPixel = (x, y) => [0, 1, 2].map((c) => shown.data[(y * W + x) * 4 + c]);
  if (ref) comparePoints(staticPoints, shownPixel, ref, 'on the page');
  else comparePoints(staticPoints, shownPixel, Buffer.from(px.length), 'on the page (no reference)');

  // Frames per second of the whole probe (more than 101,000 immediate-mode
  // vertices, two list spheres and the texture tiles each frame).
  const fps = await measureFps(page);
  console.log(`fps: ${fps.toFixed(1)} over ${fpsSeconds} s, whole probe (headless chromium, software WebGL)`);
  check(fps > 3, 'the probe keeps drawing', fps.toFixed(1) + ' fps');

  // Escape ends the show; the page offers another, which starts afresh.
  await page.keyboard.press('Escape');
  check((await waitState(page, ['ended', 'error'])) === 'ended', 'Escape ends the show');
  check(await page.isVisible('#panel'), 'end panel shown');
  check((await page.textContent('#start')).includes('Play again'), 'offers to play again');
  const stopped = await page.evaluate(() => window.isowebModule.probeFrames);
  await page.waitForTimeout(300);
  check(await page.evaluate((n) => window.isowebModule.probeFrames === n, stopped),
    'the main loop stops after Escape');
  await page.click('#start');
  await page.waitForFunction(() => window.isowebModule.probeFrames > 2, null, { timeout: 30000 });
  const again = Buffer.from(await page.evaluate(() => Array.from(window.isowebModule.probePixels)));
  check(again.equals(px), 'played again: the same first frame');
  check(errors.length === 0, 'no console errors, no GL use the layer does not cover', errors.join(' | '));
  await page.close();
}

async function measureFps(page) {
  const f0 = await page.evaluate(() => window.isowebModule.probeFrames);
  const t0 = Date.now();
  await page.waitForTimeout(fpsSeconds * 1000);
  const f1 = await page.evaluate(() => window.isowebModule.probeFrames);
  return (f1 - f0) / ((Date.now() - t0) / 1000);
}

// The same without the large batch: closer to a frame of the demo, whose
// loading picture is the only batch that size.
async function testLightFps(browser, base) {
  const page = await browser.newPage({ viewport: { width: W, height: H } });
  await page.goto(base + '?probe=light');
  await waitState(page, ['ready']);
  await page.uncheck('#fullscreen');
  await page.click('#start');
  await page.waitForFunction(() => window.isowebModule && window.isowebModule.probeFrames > 2);
  const fps = await measureFps(page);
  console.log(`fps: ${fps.toFixed(1)} over ${fpsSeconds} s, probe without the large batch`);
  check(fps > 3, 'the light probe keeps drawing', fps.toFixed(1) + ' fps');
  await page.close();
}

async function testLetterbox(browser, base) {
  for (const [w, h, cw, ch] of [[1000, 500, 2000 / 3, 500], [500, 800, 500, 375]]) {
    const page = await browser.newPage({ viewport: { width: w, height: h } });
    await page.goto(base);
    await waitState(page, ['ready']);
    await page.uncheck('#fullscreen');
    await page.click('#start');
    await page.waitForFunction(() => window.isowebModule && window.isowebModule.probeFrames > 2);
    const r = await page.evaluate(() => {
      const b = document.querySelector('#stage canvas').getBoundingClientRect();
      return { x: b.x, y: b.y, w: b.width, h: b.height, bg: getComputedStyle(document.getElementById('stage')).backgroundColor };
    });
    const near = (a, b) => Math.abs(a - b) < 1;
    check(near(r.w, cw) && near(r.h, ch) && near(r.x, (w - cw) / 2) && near(r.y, (h - ch) / 2),
      `${w}x${h} window: picture 4:3, centred`, `${r.w.toFixed(1)}x${r.h.toFixed(1)} at ${r.x.toFixed(1)},${r.y.toFixed(1)}`);
    check(r.bg === 'rgb(0, 0, 0)', `${w}x${h} window: black bars`, r.bg);
    await page.close();
  }
}

// Start with "full screen" ticked: the stage fills the screen, the picture
// keeps 4:3, and Escape both ends the show and leaves full screen.
async function testFullscreen(browser, base) {
  const page = await browser.newPage({ viewport: { width: 1000, height: 500 } });
  await page.goto(base);
  await waitState(page, ['ready']);
  check(await page.isChecked('#fullscreen'), 'full screen offered by default');
  await page.click('#start');
  await page.waitForFunction(() => window.isowebModule && window.isowebModule.probeFrames > 2);
  const r = await page.evaluate(() => {
    const b = document.querySelector('#stage canvas').getBoundingClientRect();
    const f = document.fullscreenElement;
    return { id: f ? f.id : null, ratio: b.width / b.height, fills: b.width >= innerWidth - 1 || b.height >= innerHeight - 1 };
  });
  check(r.id === 'stage', 'Start enters full screen', String(r.id));
  check(Math.abs(r.ratio - 4 / 3) < 0.01 && r.fills, 'full screen: picture 4:3, as large as fits', r.ratio.toFixed(3));
  await page.keyboard.press('Escape');
  check((await waitState(page, ['ended', 'error'])) === 'ended', 'Escape ends a full-screen show');
  await page.waitForFunction(() => !document.fullscreenElement, null, { timeout: 5000 }).catch(() => {});
  check(await page.evaluate(() => !document.fullscreenElement), 'full screen left after the show');
  await page.close();
}

async function expectMessage(browser, base, what, pattern, prepare) {
  const m = await messageShown(browser, base, { width: W, height: H }, prepare);
  check(pattern.test(m.text) && m.visible, what, m.text);
  check(!m.start, what + ': no Start button');
}

async function main() {
  const ref = referencePath ? readPpm(referencePath) : null;
  if (!ref) console.log('note: no --reference: the picture is not compared with the native one');
  const { server, base } = await serve(site);
  let browser = await launch([]);
  try {
    await testShow(browser, base, ref);
    await testLightFps(browser, base);
    await testLetterbox(browser, base);
    await testFullscreen(browser, base);
    await expectMessage(browser, base, 'a missing data file is named', /probe\.ppm.*404/,
      (p) => p.route('**/probe.ppm', (r) => r.fulfill({ status: 404, body: 'gone' })));
    await expectMessage(browser, base, 'an unreachable data file is named', /probe\.ppm/,
      (p) => p.route('**/probe.ppm', (r) => r.abort()));
    await expectMessage(browser, base, 'no WebAssembly: a message says so', /WebAssembly/,
      (p) => p.addInitScript(() => { delete window.WebAssembly; }));
    // The program itself finding its data unusable: it says so through the page.
    {
      const page = await browser.newPage({ viewport: { width: W, height: H } });
      await page.route('**/probe.ppm', (r) => r.fulfill({ status: 200, body: 'P3 2 2 255 0 0 0' }));
      await page.goto(base);
      await waitState(page, ['ready']);
      await page.uncheck('#fullscreen');
      await page.click('#start');
      check((await waitState(page, ['error'], 20000)) === 'error' &&
        /probe\.ppm/.test(await page.textContent('#message')) && (await page.isVisible('#message')),
      'the program\'s own failure is shown', await page.textContent('#message'));
      await page.close();
    }
    // The program itself missing shows once the show starts.
    const page = await browser.newPage({ viewport: { width: W, height: H } });
    await page.route('**/*.wasm', (r) => r.fulfill({ status: 404, body: 'gone' }));
    await page.goto(base);
    await waitState(page, ['ready']);
    await page.uncheck('#fullscreen');
    await page.click('#start');
    check((await waitState(page, ['error'], 20000)) === 'error', 'missing program: a message, not a blank page',
      await page.textContent('#message'));
    await page.close();
    await browser.close();
    browser = await launch(['--disable-webgl']);
    await expectMessage(browser, base, 'WebGL disabled: a message says so', /WebGL/);
  } finally {
    await browser.close();
    server.close();
  }
  console.log(failures ? `${failures} check(s) failed` : 'all checks passed');
  process.exit(failures ? 1 : 0);
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
