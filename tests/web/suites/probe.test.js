// The GL layer's probe in chromium (headless, SwiftShader's WebGL): its
// first frame against the native one (Mesa) at sampled points and as a whole,
// the page around it (4:3 with bars, full screen, Start, Escape, play again),
// and the clear messages when WebGL, WebAssembly or a file is missing. Prints
// the probe's frame rate.
//   node --test suites/probe.test.js [--probe-site DIR] [--reference native.ppm] [--fps-seconds N]
'use strict';
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { after, before, describe, test } = require('node:test');
const { options, serve, launch, openEngine, waitState, message, messageShown } = require('../browser');

const fpsSeconds = Number(
  process.argv.includes('--fps-seconds') ? process.argv[process.argv.indexOf('--fps-seconds') + 1] : 5,
);
const W = 640,
  H = 480;

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
  ['list: per-vertex colours', 43, 65, 10],
  ['list: one colour for a quad', 117, 52, 6],
  ['list: colour of its last vertex stays current', 43, 128, 6],
  ['list: colour outside a batch stays current', 117, 128, 6],
  ['inherited colour, red call', 203, 43, 6],
  ['inherited colour, blue call', 295, 43, 6],
  ['list inherits the calling colour before its glColor', 203, 135, 6],
  ['list colour set halfway', 277, 135, 6],
  ['colour within a batch', 203, 94, 6],
  ['colour stays current after glEnd', 277, 94, 6],
  ['texgen off after list (tile 2)', 446, 126, 8],
  ['texgen off after list, far texel', 474, 154, 8],
  ['texgen off after list (tile 3)', 606, 126, 8],
  ['BGRA as 3: red', 45, 195, 6],
  ['BGRA as 3: green', 115, 195, 6],
  ['BGRA as 3: blue', 45, 265, 6],
  ['BGRA as 3: yellow', 115, 265, 6],
  ['BGRA as 4: opaque red', 205, 195, 6],
  ['BGRA as 4: blended blue', 205, 265, 8],
  ['BGRA as 4: blended over the bar', 205, 245, 8],
  ['BGRA as 4: blended yellow', 275, 265, 8],
  ['RGBA as 4: red', 345, 180, 6],
  ['RGBA as 4: green', 449, 198, 6],
  ['RGBA as 4: blue, half alpha', 345, 217, 8],
  ['RGBA as 4: yellow, half alpha', 449, 235, 8],
  ['RGB 2x2 (row padding): texel 0', 365, 261, 6],
  ['RGB 2x2: texel 1', 435, 261, 6],
  ['RGB 2x2: texel 2', 365, 293, 6],
  ['RGB 2x2: texel 3', 435, 293, 6],
  ['fog, nearest', 505, 240, 8],
  ['fog 2', 532, 240, 8],
  ['fog 3', 560, 240, 8],
  ['fog 4', 588, 240, 8],
  ['fog, farthest', 616, 240, 8],
  ['blend SRC_ALPHA, 1-SRC_ALPHA', 560, 360, 8],
  ['blend 1-SRC_ALPHA, ONE', 560, 440, 8],
  ['blend background', 490, 400, 6],
];
const movingPoints = [
  ['sphere map, flat: centre', 400, 80, 20],
  ['sphere map, flat: upper left', 380, 55, 20],
  ['sphere map, flat: lower right', 425, 105, 20],
  ['sphere map, smooth: centre', 560, 80, 16],
  ['sphere map, smooth: upper left', 535, 55, 16],
  ['sphere map, smooth: lower right', 585, 105, 16],
];
for (const i of [8, 50, 100, 150, 200, 240])
  for (const j of [5, 30, 60]) {
    const x = Math.floor(((i + 0.5) * 480) / 256),
      y = 320 + Math.floor(((66 - j - 0.5) * 160) / 66);
    movingPoints.push([`large batch cell ${i},${j}`, x, y, 8]);
  }
// The first triangle of the second and third piece the layer streams the
// batch in (49,152 vertices each): cells (0,32) and (0,64).
movingPoints.push(
  ['large batch: first triangle of piece 2', 0, 401, 8],
  ['large batch: first triangle of piece 3', 0, 324, 8],
);

// Every point within its tolerance; a failure lists each point that is not.
function assertPoints(points, get, ref, label) {
  const off = [];
  for (const [name, x, y, tol] of points) {
    const a = get(x, y),
      b = refPixel(ref, x, y);
    const d = Math.max(...a.map((v, c) => Math.abs(v - b[c])));
    if (d > tol) off.push(`${label}: ${name} (${x},${y}) got ${a} want ${b}`);
  }
  assert.deepEqual(off, [], `${off.length} of ${points.length} points beyond their tolerance`);
}

function wholeDifference(px, ref) {
  let sum = 0,
    bad = 0;
  for (let y = 0; y < H; y++)
    for (let x = 0; x < W; x++) {
      const a = glPixel(px, x, y),
        b = refPixel(ref, x, y);
      const d = a.map((v, c) => Math.abs(v - b[c]));
      sum += d[0] + d[1] + d[2];
      if (Math.max(...d) > 40) bad++;
    }
  return { mean: sum / (W * H * 3), badShare: bad / (W * H) };
}

// The first frame against the native one, in any engine: at every sampled
// point, then as a whole. `start` starts the probe and resolves to its first
// frame; the frame and the reference are left on the returned object for the
// tests that follow.
function firstFrameTests(engine, start) {
  const first = { ref: fs.existsSync(options.reference) ? readPpm(options.reference) : null, px: null };

  test('the first frame matches the native one at every sampled point', async () => {
    first.px = await start();
    assert.equal(first.px.length, W * H * 4, 'probe read back 640x480');
    if (!first.ref) return assert.fail('no native reference picture at ' + options.reference);
    assertPoints(staticPoints.concat(movingPoints), (x, y) => glPixel(first.px, x, y), first.ref, 'frame 0');
  });

  test('the first frame as a whole is near the native one', { skip: !first.ref && 'no native reference' }, () => {
    const { mean, badShare } = wholeDifference(first.px, first.ref);
    console.log(
      `${engine} whole picture: mean ${mean.toFixed(3)} per channel, ${(100 * badShare).toFixed(3)}% off by more than 40`,
    );
    assert.ok(mean < 1.5, 'whole picture: mean difference per channel ' + mean.toFixed(3));
    assert.ok(
      badShare < 0.01,
      'whole picture: share of pixels off by more than 40 ' + (100 * badShare).toFixed(3) + '%',
    );
  });
  return first;
}

// The probe's first frame as the program read it back, through any driver.
async function probePixels(page) {
  await page.waitFor(() => !!(window.isowebModule && window.isowebModule.probePixels), null, 30000);
  const b64 = await page.evaluate(() => {
    const p = Uint8Array.from(window.isowebModule.probePixels);
    let s = '';
    for (let i = 0; i < p.length; i += 0x8000) s += String.fromCharCode.apply(null, p.subarray(i, i + 0x8000));
    return btoa(s);
  });
  return Buffer.from(b64, 'base64');
}

const probeFrames = (page) => page.evaluate(() => (window.isowebModule && window.isowebModule.probeFrames) || 0);

async function startProbe(page, url) {
  await page.goto(url);
  assert.equal(await waitState(page, ['ready', 'error']), 'ready', await message(page));
  await page.uncheck('#fullscreen');
  await page.click('#start');
  await page.waitFor(() => window.isowebModule && window.isowebModule.probeFrames > 2, null, 30000);
}

async function measureFps(page) {
  const f0 = await probeFrames(page);
  const t0 = Date.now();
  await new Promise((r) => setTimeout(r, fpsSeconds * 1000));
  return ((await probeFrames(page)) - f0) / ((Date.now() - t0) / 1000);
}

let server, base, browser;
before(async () => {
  ({ server, base } = await serve(options.probeSite));
  browser = await launch();
});
after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
});

describe('start', () => {
  let page;
  before(async () => {
    page = await browser.newPage({ viewport: { width: W, height: H } });
  });
  after(() => page.close());

  test('the page is ready with software WebGL and offers Start', async () => {
    await page.goto(base);
    assert.equal(await waitState(page, ['ready', 'error']), 'ready', await message(page));
    assert.ok(await page.raw.isVisible('#start'), 'Start button shown');
  });

  const first = firstFrameTests('chromium', async () => {
    await page.uncheck('#fullscreen');
    await page.click('#start');
    return probePixels(page);
  });

  // What the page shows: the canvas at 1:1 in a 640x480 window. Only the
  // parts that do not move, as the probe animates on.
  test('the page shows the picture at 1:1', async () => {
    await page.waitFor(() => window.isowebModule.probeFrames > 2);
    const shot = await page.raw.screenshot({ type: 'png' });
    const shown = await page.evaluate(async (b64) => {
      const img = await createImageBitmap(await (await fetch('data:image/png;base64,' + b64)).blob());
      const c = new OffscreenCanvas(img.width, img.height);
      const g = c.getContext('2d');
      g.drawImage(img, 0, 0);
      return { w: img.width, h: img.height, data: Array.from(g.getImageData(0, 0, img.width, img.height).data) };
    }, shot.toString('base64'));
    assert.ok(shown.w === W && shown.h === H, `screenshot is 640x480, got ${shown.w}x${shown.h}`);
    const shownPixel = (x, y) => [0, 1, 2].map((c) => shown.data[(y * W + x) * 4 + c]);
    assertPoints(staticPoints, shownPixel, first.ref || Buffer.from(first.px.length), 'on the page');
  });

  // Frames per second of the whole probe (more than 101,000 immediate-mode
  // vertices, two list spheres and the texture tiles each frame).
  test('the probe keeps drawing', async () => {
    const fps = await measureFps(page);
    console.log(`fps: ${fps.toFixed(1)} over ${fpsSeconds} s, whole probe (headless chromium, software WebGL)`);
    assert.ok(fps > 3, fps.toFixed(1) + ' fps');
  });
});

describe('Escape', () => {
  test('Escape ends the show, the main loop stops, Play again starts afresh', async () => {
    const page = await browser.newPage({ viewport: { width: W, height: H } });
    try {
      await startProbe(page, base);
      const px = await probePixels(page);
      await page.press('Escape');
      assert.equal(await waitState(page, ['ended', 'error']), 'ended', 'Escape ends the show');
      assert.ok(await page.raw.isVisible('#panel'), 'end panel shown');
      assert.match(await page.raw.textContent('#start'), /Play again/, 'offers to play again');
      const stopped = await probeFrames(page);
      await new Promise((r) => setTimeout(r, 300));
      assert.equal(await probeFrames(page), stopped, 'the main loop stops after Escape');
      await page.click('#start');
      await page.waitFor(() => window.isowebModule.probeFrames > 2, null, 30000);
      const again = await probePixels(page);
      assert.ok(again.equals(px), 'played again: the same first frame');
      assert.deepEqual(await page.errors(), [], 'no console errors, no GL use the layer does not cover');
    } finally {
      await page.close();
    }
  });
});

describe('scenes', () => {
  // The same without the large batch: closer to a frame of the demo, whose
  // loading picture is the only batch that size.
  test('the light probe keeps drawing', async () => {
    const page = await browser.newPage({ viewport: { width: W, height: H } });
    try {
      await startProbe(page, base + '?probe=light');
      const fps = await measureFps(page);
      console.log(`fps: ${fps.toFixed(1)} over ${fpsSeconds} s, probe without the large batch`);
      assert.ok(fps > 3, fps.toFixed(1) + ' fps');
    } finally {
      await page.close();
    }
  });

  for (const [w, h, cw, ch] of [
    [1000, 500, 2000 / 3, 500],
    [500, 800, 500, 375],
  ])
    test(`${w}x${h} window: picture 4:3, centred, black bars`, async () => {
      const page = await browser.newPage({ viewport: { width: w, height: h } });
      try {
        await startProbe(page, base);
        const r = await page.evaluate(() => {
          const b = document.querySelector('#stage canvas').getBoundingClientRect();
          return {
            x: b.x,
            y: b.y,
            w: b.width,
            h: b.height,
            bg: getComputedStyle(document.getElementById('stage')).backgroundColor,
          };
        });
        const near = (a, b) => Math.abs(a - b) < 1;
        assert.ok(
          near(r.w, cw) && near(r.h, ch) && near(r.x, (w - cw) / 2) && near(r.y, (h - ch) / 2),
          `${r.w.toFixed(1)}x${r.h.toFixed(1)} at ${r.x.toFixed(1)},${r.y.toFixed(1)}`,
        );
        assert.equal(r.bg, 'rgb(0, 0, 0)', 'black bars');
      } finally {
        await page.close();
      }
    });

  // Start with "full screen" ticked: the stage fills the screen, the picture
  // keeps 4:3, and Escape both ends the show and leaves full screen.
  test('full screen: 4:3 as large as fits; Escape ends it and leaves full screen', async () => {
    const page = await browser.newPage({ viewport: { width: 1000, height: 500 } });
    try {
      await page.goto(base);
      await waitState(page, ['ready']);
      assert.ok(await page.raw.isChecked('#fullscreen'), 'full screen offered by default');
      await page.click('#start');
      await page.waitFor(() => window.isowebModule && window.isowebModule.probeFrames > 2);
      const r = await page.evaluate(() => {
        const b = document.querySelector('#stage canvas').getBoundingClientRect();
        const f = document.fullscreenElement;
        return {
          id: f ? f.id : null,
          ratio: b.width / b.height,
          fills: b.width >= innerWidth - 1 || b.height >= innerHeight - 1,
        };
      });
      assert.equal(r.id, 'stage', 'Start enters full screen');
      assert.ok(
        Math.abs(r.ratio - 4 / 3) < 0.01 && r.fills,
        'full screen: picture 4:3, as large as fits ' + r.ratio.toFixed(3),
      );
      await page.press('Escape');
      assert.equal(await waitState(page, ['ended', 'error']), 'ended', 'Escape ends a full-screen show');
      await page.waitFor(() => !document.fullscreenElement, null, 5000).catch(() => {});
      assert.ok(await page.evaluate(() => !document.fullscreenElement), 'full screen left after the show');
    } finally {
      await page.close();
    }
  });
});

describe('errors', () => {
  async function expectMessage(what, pattern, prepare, b = browser) {
    const m = await messageShown(b, base, { width: W, height: H }, prepare);
    assert.ok(pattern.test(m.text) && m.visible, `${what}: ${m.text}`);
    assert.ok(!m.start, what + ': no Start button');
  }
  test('a missing data file is named', () =>
    expectMessage('404', /probe\.ppm.*404/, (p) =>
      p.route('**/probe.ppm', (r) => r.fulfill({ status: 404, body: 'gone' })),
    ));
  test('an unreachable data file is named', () =>
    expectMessage('unreachable', /probe\.ppm/, (p) => p.route('**/probe.ppm', (r) => r.abort())));
  test('no WebAssembly: a message says so', () =>
    expectMessage('no WebAssembly', /WebAssembly/, (p) =>
      p.addInitScript(() => {
        delete window.WebAssembly;
      }),
    ));
  // The program itself finding its data unusable: it says so through the page.
  test("the program's own failure is shown", async () => {
    const page = await browser.newPage({ viewport: { width: W, height: H } });
    try {
      // Of the size the manifest lists, so the page passes it on.
      const size = fs.statSync(path.join(options.probeSite, 'probe.ppm')).size;
      const body = Buffer.alloc(size, 0x20);
      body.write('P3 2 2 255 0 0 0');
      await page.raw.route('**/probe.ppm', (r) => r.fulfill({ status: 200, body }));
      await page.goto(base);
      assert.equal(await waitState(page, ['ready', 'error']), 'ready', await message(page));
      await page.uncheck('#fullscreen');
      await page.click('#start');
      assert.equal(await waitState(page, ['error'], 20000), 'error');
      assert.match(await message(page), /probe\.ppm/);
      assert.ok(await page.raw.isVisible('#message'), 'the message is visible');
    } finally {
      await page.close();
    }
  });
  // The program itself missing shows once the show starts.
  test('missing program: a message, not a blank page', async () => {
    const page = await browser.newPage({ viewport: { width: W, height: H } });
    try {
      await page.raw.route('**/*.wasm', (r) => r.fulfill({ status: 404, body: 'gone' }));
      await page.goto(base);
      await waitState(page, ['ready', 'error']);
      if ((await page.evaluate(() => window.isowebState)) === 'ready') {
        await page.uncheck('#fullscreen');
        await page.click('#start');
      }
      assert.equal(await waitState(page, ['error'], 20000), 'error', await message(page));
    } finally {
      await page.close();
    }
  });
  test('WebGL disabled: a message says so', async () => {
    const noGL = await launch(['--disable-webgl']);
    try {
      await expectMessage('no WebGL', /WebGL/, null, noGL);
    } finally {
      await noGL.close();
    }
  });
});

// The layer over the other engines' WebGL (Mesa's llvmpipe under Xvfb): the
// same first frame against the native one, the same Start, Escape and Play
// again.
for (const engine of options.engines.filter((e) => e !== 'chromium'))
  describe(engine, () => {
    let other, page;
    before(async () => {
      other = await openEngine(engine);
      page = await other.newPage();
    });
    after(async () => {
      if (page) await page.close();
      if (other) await other.close();
    });

    const first = firstFrameTests(engine, async () => {
      await startProbe(page, base);
      return probePixels(page);
    });

    test('Escape ends the show, the main loop stops, Play again starts afresh', async () => {
      await page.press('Escape');
      assert.equal(await waitState(page, ['ended', 'error']), 'ended', 'Escape ends the show');
      const stopped = await probeFrames(page);
      await new Promise((r) => setTimeout(r, 300));
      assert.equal(await probeFrames(page), stopped, 'the main loop stops after Escape');
      await page.click('#start');
      await page.waitFor(() => window.isowebModule.probeFrames > 2, null, 30000);
      assert.ok((await probePixels(page)).equals(first.px), 'played again: the same first frame');
    });

    test('no console errors, no GL use the layer does not cover', async () =>
      assert.deepEqual(await page.errors(), []));
  });
