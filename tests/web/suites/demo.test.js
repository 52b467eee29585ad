// The demo's site in each engine (chromium, Firefox ESR, WebKitGTK): a show
// from Start to Escape (loading picture, frames, the sound device's pull
// rate, no stale ring audio), a hidden tab, and the capture page against the
// native isoloop-tool capture (log, soundtrack, pictures); in chromium also
// the clear messages for a missing or short pack and for no WebGL, and that
// the stale-audio check catches a device queue deeper than the ring's lead.
// Where an engine plays no sound here, the sound checks say so and skip.
//   node --test suites/demo.test.js [--site DIR] [--build DIR] [--engines chromium,firefox,webkit]
//     [--show-seconds N]
// ISOLOOP_TRACE=1 prints the show's counters once a second.
'use strict';
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { after, before, describe, test } = require('node:test');
const {
  options,
  serve,
  sleep,
  launch,
  openEngine,
  waitState,
  message,
  messageShown,
  startShow,
} = require('../browser');

const W = 640,
  H = 480;
// SDL's browser device pulls 2048 frames per call at 44100 frames a second.
const PULLS_PER_SECOND = 44100 / 2048;
const showSeconds = options.showSeconds;

// The native captures' folders, served beside the site under native/.
const natives = fs.mkdtempSync(path.join(os.tmpdir(), 'isoloop-native-'));
let server, base;
before(async () => {
  ({ server, base } = await serve(options.site, { '/native/': natives }));
});
after(() => {
  if (server) server.close();
  fs.rmSync(natives, { recursive: true, force: true });
});

// The program's counters (exported hooks); zeros before it is instantiated.
function probe(page) {
  return page.evaluate(() => {
    const m = window.isowebModule;
    // The exports exist before the program is instantiated but fail till then.
    let has = false;
    try {
      has = !!m && m._isoweb_frames() >= 0;
    } catch {
      /* not yet */
    }
    return {
      now: performance.now(),
      state: window.isowebState,
      frames: has ? m._isoweb_frames() : 0,
      callbacks: has ? m._isoweb_callbacks() : 0,
      readPos: has ? m._isoweb_read_pos() : 0,
      writePos: has ? m._isoweb_write_pos() : 0,
      maxLead: has ? m._isoweb_max_lead() : null,
      maxLeadAt: has ? m._isoweb_max_lead_at() : 0,
      stalePulls: has ? m._isoweb_stale_pulls() : 0,
      unexplainedStale: has ? m._isoweb_unexplained_stale() : 0,
      longestGapMs: has ? m._isoweb_longest_gap_ms() : 0,
      showTime: has ? m._isoweb_show_time() : 0,
    };
  });
}

const playing = () =>
  window.isowebState !== 'starting' &&
  window.isowebModule &&
  window.isowebModule.calledRun &&
  window.isowebModule._isoweb_frames() > 0;

// Samples the counters once a second for the given time.
async function sample(page, seconds) {
  const out = [await probe(page)];
  const end = out[0].now + seconds * 1000;
  while (out[out.length - 1].now < end) {
    await sleep(1000);
    out.push(await probe(page));
  }
  return out;
}

const rate = (a, b, key) => (b[key] - a[key]) / ((b.now - a.now) / 1000);

// Why an engine plays no sound here, or null when its device pulls at
// half its rate or more over 3 s. Where it does not, the browser's own audio
// clock tells why: a fresh AudioContext whose time stands still has no output.
async function noSound(page, engine) {
  const a = await probe(page);
  await sleep(3000);
  const b = await probe(page);
  const pulls = rate(a, b, 'callbacks');
  if (pulls >= PULLS_PER_SECOND / 2) return null;
  const clock = await page.evaluate(async () => {
    const ac = new AudioContext();
    const t0 = ac.currentTime;
    await new Promise((r) => setTimeout(r, 500));
    const out = { state: ac.state, advanced: ac.currentTime - t0 };
    await ac.close();
    return out;
  });
  return (
    `${engine} plays no sound here: its device pulled ${pulls.toFixed(1)} buffers/s ` +
    `(${PULLS_PER_SECOND.toFixed(1)} wanted), and a fresh AudioContext is ${clock.state} with its clock ` +
    `${clock.advanced > 0 ? 'running' : 'standing still'} (no sound server under Xvfb)`
  );
}

const staleDetail = (p) =>
  `largest (read + pull) − written: ${p.maxLead} frames, at read position ${p.maxLeadAt}; ` +
  `${p.stalePulls} pull(s) past it; longest time between frames ${p.longestGapMs.toFixed(0)} ms`;

// --- a show from Start to Escape ---------------------------------------------
// Run in the page before Start: after each animation frame until the first
// show frame, the share of lit pixels in the canvas's middle band (the
// loading picture's place) and in its corners, read while the drawing buffer
// still holds what start-up drew.
function lookAtStartup() {
  const state = (window.isowebLoading = { seen: false, done: false, passes: 0, band: 0, corners: 0 });
  const raf = window.requestAnimationFrame.bind(window);
  const look = () => {
    const m = window.isowebModule,
      canvas = document.getElementById('canvas');
    if (state.seen || state.done || !m || !m.calledRun || !canvas) return;
    if (m._isoweb_frames() > 0) {
      state.done = true;
      return;
    }
    state.passes++;
    const w = canvas.width,
      h = canvas.height;
    const c = document.createElement('canvas');
    c.width = w;
    c.height = h;
    const g = c.getContext('2d');
    g.drawImage(canvas, 0, 0);
    const d = g.getImageData(0, 0, w, h).data;
    const lit = (x0, y0, x1, y1) => {
      let n = 0,
        all = 0;
      for (let y = y0; y < y1; y++)
        for (let x = x0; x < x1; x++, all++) {
          const i = (y * w + x) * 4;
          if (d[i] + d[i + 1] + d[i + 2] > 24) n++;
        }
      return n / all;
    };
    const band = lit(Math.round(w * 0.3), Math.round(h * 0.47), Math.round(w * 0.7), Math.round(h * 0.53));
    if (band > state.band) {
      state.band = band;
      state.corners = (lit(0, 0, 40, 40) + lit(w - 40, h - 40, w, h)) / 2;
    }
    if (band > 0.2) state.seen = true;
  };
  window.requestAnimationFrame = (f) =>
    raf((t) => {
      f(t);
      look();
    });
}

function showSuite(engine, getBrowser) {
  let page, samples, silent;

  describe('start', () => {
    before(async () => {
      page = await getBrowser().newPage();
    });

    test('the page is ready and offers Start', async () => {
      await page.goto(base);
      assert.equal(await waitState(page, ['ready', 'error'], 60000), 'ready', await message(page));
      assert.ok(await page.evaluate(() => !document.getElementById('controls').hidden), 'Start button shown');
    });

    test('the loading picture is shown after Start, before the first show frame', async () => {
      await page.evaluate(lookAtStartup);
      await page.uncheck('#fullscreen');
      await page.click('#start');
      await page
        .waitFor(
          () =>
            window.isowebLoading &&
            (window.isowebLoading.seen || window.isowebLoading.done || window.isowebState === 'error'),
          null,
          60000,
        )
        .catch(() => {});
      const loading = await page.evaluate(() => window.isowebLoading);
      assert.ok(
        loading && loading.seen,
        loading
          ? `band ${(100 * loading.band).toFixed(1)}% lit, corners ${(100 * loading.corners).toFixed(1)}%, ` +
              `${loading.passes} start-up frames looked at`
          : 'no start-up frame seen',
      );
      assert.ok(loading.corners < 0.05, 'black around it: ' + (100 * loading.corners).toFixed(1) + '%');
    });

    test('the show is playing', async () => {
      await page.waitFor(playing, null, 60000);
      assert.equal(await page.evaluate(() => window.isowebState), 'playing');
      silent = await noSound(page, engine);
      samples = await sample(page, showSeconds);
      if (process.env.ISOLOOP_TRACE) for (const x of samples) console.log(JSON.stringify(x));
    });
  });

  describe('scenes', () => {
    test('frames advance over the show, every second', () => {
      const first = samples[0],
        last = samples[samples.length - 1];
      const fps = rate(first, last, 'frames');
      console.log(`${engine}: ${fps.toFixed(1)} frames/s over ${((last.now - first.now) / 1000).toFixed(1)} s`);
      assert.ok(fps > 2, `${fps.toFixed(1)} frames/s`);
      let stalls = 0;
      for (let i = 1; i < samples.length; i++) if (samples[i].frames === samples[i - 1].frames) stalls++;
      assert.equal(stalls, 0, `${stalls} still second(s)`);
    });

    test('demo time runs with the clock', () => {
      const first = samples[0],
        last = samples[samples.length - 1];
      assert.ok(
        last.showTime > first.showTime + showSeconds * 0.9,
        `${first.showTime.toFixed(2)} → ${last.showTime.toFixed(2)} s`,
      );
    });
  });

  describe('sound', () => {
    test('the audio callback runs at 44100/2048 per second (±5%)', (t) => {
      if (silent) return t.skip(silent);
      const last = samples[samples.length - 1];
      // The pull rate over the steady part: from a second after the first pull.
      const startAt = samples.find((x) => x.callbacks > 0);
      const steady = startAt && samples.find((x) => x.now >= startAt.now + 1000);
      const span = steady ? (last.now - steady.now) / 1000 : 0;
      assert.ok(span >= 20, 'the pull rate is measured over at least 20 s: ' + span.toFixed(1) + ' s');
      const r = rate(steady, last, 'callbacks');
      console.log(`${engine}: frames delivered ${rate(steady, last, 'readPos').toFixed(0)}/s`);
      assert.ok(Math.abs(r / PULLS_PER_SECOND - 1) <= 0.05, `${r.toFixed(3)}/s, want ${PULLS_PER_SECOND.toFixed(3)}/s`);
    });

    // End of each pull against the frames written: never past them, unless a
    // slow frame explains it (an underrun, as natively on a machine too slow
    // for the ring's lead).
    test('no stale ring audio: every pull ends at or before the last written frame', (t) => {
      if (silent) return t.skip(silent);
      const last = samples[samples.length - 1];
      assert.equal(last.unexplainedStale, 0, staleDetail(last));
    });

    test('the frame driver stays at most a ring ahead', () => {
      const last = samples[samples.length - 1];
      assert.ok(last.writePos - last.readPos <= 8000 + 2048, `written − read ${last.writePos - last.readPos}`);
    });
  });

  describe('Escape', () => {
    let a, b;
    test('Escape ends the show and the page offers to play again', async () => {
      await page.press('Escape');
      assert.equal(await waitState(page, ['ended', 'error']), 'ended', await message(page));
      const offer = await page.evaluate(() => ({
        panel: !document.getElementById('panel').hidden,
        start: document.getElementById('start').textContent,
      }));
      assert.ok(offer.panel && offer.start.includes('Play again'), JSON.stringify(offer));
      a = await probe(page);
      await sleep(1000);
      b = await probe(page);
    });
    test('frames stop after Escape', () => assert.equal(b.frames, a.frames, `${a.frames} → ${b.frames}`));
    test('the sound stops after Escape', (t) => {
      if (silent) return t.skip(silent);
      assert.equal(b.callbacks, a.callbacks, `${a.callbacks} → ${b.callbacks} pulls`);
    });
    test('no console errors, no page errors', async () => {
      const errors = await page.errors();
      await page.close();
      assert.deepEqual(errors, []);
    });
  });

  describe('hidden tab', () => hiddenTab(engine, getBrowser));
}

// --- a hidden tab ---------------------------------------------------------------
async function setHidden(page, hidden) {
  await page.evaluate((h) => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => h });
    Object.defineProperty(document, 'visibilityState', {
      configurable: true,
      get: () => (h ? 'hidden' : 'visible'),
    });
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
}

// A show hidden for 4 s and shown again; queued: SDL's device queue forced
// to that many buffers (the entry's own choice when not given).
async function hideAndShow(browser, engine, queued) {
  const page = await browser.newPage();
  const r = {};
  try {
    const { state, message: text } = await startShow(page, base);
    assert.equal(state, 'ready', text);
    if (queued)
      await page.evaluate((n) => {
        // The entry sets the queue's depth on its Module before it opens
        // the device: this one keeps n whatever it is told.
        Object.defineProperty(window.isowebModule, 'SDL_numSimultaneouslyQueuedBuffers', {
          get: () => n,
          set: () => {},
        });
      }, queued);
    await page.waitFor(playing, null, 60000);
    r.silent = await noSound(page, engine);
    await sleep(3000);
    // The rate the machine draws at before hiding: its best second of three,
    // as on a busy machine other work takes some seconds away.
    const before = await sample(page, 3);
    r.fpsBefore = Math.max(...before.slice(1).map((x, i) => rate(before[i], x, 'frames')));

    await setHidden(page, true);
    r.h0 = await probe(page);
    await sleep(4000);
    r.h1 = await probe(page);

    await setHidden(page, false);
    r.v0 = await probe(page);
    await sleep(1000);
    r.v1 = await probe(page);
    await sleep(5000);
    r.v2 = await probe(page);
    r.errors = await page.errors();
  } finally {
    await page.close();
  }
  return r;
}

function hiddenTab(engine, getBrowser) {
  let r;
  const sound = (t) => {
    if (r.silent) t.skip(r.silent);
    return !!r.silent;
  };
  test('hidden: no frames drawn, demo time stands still', async () => {
    r = await hideAndShow(getBrowser(), engine);
    const { h0, h1 } = r;
    assert.ok(h1.frames - h0.frames <= 1, `${h1.frames - h0.frames} frames in 4 s`);
    assert.ok(
      Math.abs(h1.showTime - h0.showTime) < 0.1,
      `demo time ${h0.showTime.toFixed(2)} → ${h1.showTime.toFixed(2)} s`,
    );
  });
  test('hidden: no sound pulled, the device paused', (t) => {
    if (sound(t)) return;
    const { h0, h1 } = r;
    assert.equal(h1.readPos, h0.readPos, `${h1.readPos - h0.readPos} frames pulled from the ring`);
    assert.ok(h1.callbacks - h0.callbacks <= 1, `${h1.callbacks - h0.callbacks} pulls`);
  });
  test('shown again: no burst of frames, demo time goes on from where it stopped', () => {
    const { h1, v0, v1, v2, fpsBefore } = r;
    const fpsAfter = rate(v0, v1, 'frames');
    assert.ok(
      fpsAfter <= fpsBefore * 1.25 + 2,
      `${fpsAfter.toFixed(1)} frames/s in the first second, ${fpsBefore.toFixed(1)} before hiding`,
    );
    assert.ok(
      v1.showTime - v0.showTime < 1.5 && v0.showTime - h1.showTime < 0.5,
      `${h1.showTime.toFixed(2)} → ${v0.showTime.toFixed(2)} → ${v1.showTime.toFixed(2)} s`,
    );
    assert.ok(v2.frames > v1.frames, `${v2.frames - v1.frames} frames in 5 s`);
  });
  test('shown again: the sound resumes at its rate (±10%)', (t) => {
    if (sound(t)) return;
    const rr = rate(r.v1, r.v2, 'callbacks');
    assert.ok(Math.abs(rr / PULLS_PER_SECOND - 1) <= 0.1, `${rr.toFixed(2)} pulls/s`);
  });
  test('shown again: no stale ring audio', (t) => {
    if (sound(t)) return;
    const { h0, v2 } = r;
    assert.equal(
      v2.unexplainedStale,
      h0.unexplainedStale,
      `${staleDetail(v2)} (hidden at ${h0.readPos}; before hiding ${h0.maxLead}; ` +
        `${v2.stalePulls - h0.stalePulls} pull(s) past it since)`,
    );
  });
  test('hidden tab: no console errors', () => assert.deepEqual(r.errors, []));
}

// --- the capture page against the native capture ----------------------------------
// The tool makes the frames folder itself: it refuses one that exists.
function nativeCapture(dir, fps, seconds) {
  execFileSync(
    path.join(options.build, 'isoloop-tool'),
    [
      'capture',
      '--frames',
      path.join(dir, 'frames'),
      '--fps',
      fps,
      ...(seconds ? ['--seconds', String(seconds)] : []),
      '--size',
      '320x240',
      '--log',
      path.join(dir, 'capture.log'),
      '--quiet',
    ],
    { stdio: ['ignore', 'inherit', 'inherit'] },
  );
}

// Passes to compare: the first, one more of the loading picture, each
// scene's first pass, and a few spread through every scene the run reaches.
function keptPasses(log) {
  const rows = log
    .trim()
    .split('\n')
    .slice(1)
    .map((l) => l.split('\t'));
  const byScene = new Map();
  for (const r of rows) {
    if (!byScene.has(r[3])) byScene.set(r[3], []);
    byScene.get(r[3]).push(Number(r[0]));
  }
  const keep = new Set([0]);
  for (const [, passes] of byScene) {
    const n = passes.length;
    for (const f of [0, 0.5, 1]) keep.add(passes[Math.min(n - 1, Math.floor(f * (n - 1)))]);
    if (n > 8) for (const f of [0.25, 0.75]) keep.add(passes[Math.floor(f * (n - 1))]);
  }
  return { keep: [...keep].sort((a, b) => a - b), scenes: [...byScene.keys()] };
}

function firstDifference(a, b) {
  const x = a.split('\n'),
    y = b.split('\n');
  for (let i = 0; i < Math.max(x.length, y.length); i++)
    if (x[i] !== y[i]) return `; first difference at line ${i + 1}: "${x[i]}" vs native "${y[i]}"`;
  return '';
}

// In the page: the soundtrack against the native audio.wav's samples.
async function compareSoundtrack(url) {
  const native = new Int16Array((await (await fetch(url)).arrayBuffer()).slice(44));
  const mine = new Int16Array(window.isoloopCapture.audio);
  let first = -1,
    differ = 0,
    largest = 0;
  const n = Math.min(mine.length, native.length);
  for (let i = 0; i < n; i++)
    if (mine[i] !== native[i]) {
      if (first < 0) first = i;
      differ++;
      largest = Math.max(largest, Math.abs(mine[i] - native[i]));
    }
  return { bytes: mine.length * 2, nativeBytes: native.length * 2, first, differ, largest };
}

// In the page: a kept picture against the native one.
async function comparePicture({ pass, url }) {
  const mine = window.isoloopCapture.frames[pass];
  if (!mine) return { error: 'the page kept no picture' };
  const pixels = async (src) => {
    const img = await createImageBitmap(await (await fetch(src)).blob());
    const c = document.createElement('canvas');
    c.width = img.width;
    c.height = img.height;
    const g = c.getContext('2d');
    g.drawImage(img, 0, 0);
    return { w: img.width, h: img.height, d: g.getImageData(0, 0, img.width, img.height).data };
  };
  const a = await pixels(mine);
  let b;
  try {
    b = await pixels(url);
  } catch {
    return { error: 'no native picture' };
  }
  if (a.w !== b.w || a.h !== b.h) return { error: `size ${a.w}x${a.h}, native ${b.w}x${b.h}` };
  let sum = 0,
    near = 0,
    lit = 0;
  const n = a.w * a.h;
  for (let i = 0; i < n; i++) {
    let worst = 0;
    for (let c = 0; c < 3; c++) {
      const diff = Math.abs(a.d[i * 4 + c] - b.d[i * 4 + c]);
      sum += diff;
      if (diff > worst) worst = diff;
    }
    if (worst <= 8) near++;
    if (b.d[i * 4] + b.d[i * 4 + 1] + b.d[i * 4 + 2] > 24) lit++;
  }
  return { mean: sum / (3 * n), near: near / n, lit: lit / n };
}

// nearShare: the share of pixels within 8 levels. Scene 0's jitter overlay, a
// full-screen noise texture sampled nearest, meets the two rasterizers'
// texel rounding at every pixel: there up to 1.1% of pixels differ by more.
function captureSuite(engine, getBrowser, fps, seconds, nearShare = 0.99) {
  const label = `capture fps=${fps} ` + (seconds ? `seconds=${seconds}` : 'whole loop');
  const id = `${fps.replace('/', '_')}-${seconds}`;
  const dir = path.join(natives, id);
  let page, nativeLog, keep, scenes, result;
  describe(label, () => {
    before(async () => {
      assert.ok(fs.existsSync(path.join(options.build, 'isoloop-tool')), 'no isoloop-tool in ' + options.build);
      // Made once, for every engine.
      if (!fs.existsSync(path.join(dir, 'capture.log'))) {
        fs.mkdirSync(dir, { recursive: true });
        nativeCapture(dir, fps, seconds);
      }
      nativeLog = fs.readFileSync(path.join(dir, 'capture.log'), 'utf8');
      ({ keep, scenes } = keptPasses(nativeLog));
      page = await getBrowser().newPage();
    });
    after(async () => {
      if (page) await page.close();
    });

    test("the page's capture finishes", async () => {
      const t0 = Date.now();
      await page.goto(
        `${base}?capture&fps=${encodeURIComponent(fps)}` +
          (seconds ? `&seconds=${seconds}` : '') +
          `&size=320x240&keep=${keep.join(',')}`,
      );
      await page.waitFor(() => !!window.isoloopCapture, null, 900000);
      result = await page.evaluate(() => {
        const c = window.isoloopCapture;
        return c.error ? { error: c.error } : { log: c.log, kept: Object.keys(c.frames).map(Number) };
      });
      console.log(`${engine}: ${label} took ${((Date.now() - t0) / 1000).toFixed(1)} s in the page`);
      assert.equal(result.error, undefined);
    });

    test('the log is byte-identical to the native one', () => {
      const rows = nativeLog.trim().split('\n').length - 1;
      assert.ok(
        result.log === nativeLog,
        `${rows} passes, scenes ${scenes.join(', ')}` + firstDifference(result.log || '', nativeLog),
      );
    });

    // The same code and the same correctly rounded cosines: every sample.
    test('the soundtrack is bit-identical to the native audio.wav', async () => {
      const s = await page.evaluate(compareSoundtrack, `native/${id}/frames/audio.wav`);
      assert.equal(s.bytes, s.nativeBytes, `${s.bytes} bytes, native ${s.nativeBytes}`);
      assert.equal(
        s.differ,
        0,
        `${s.differ} of ${s.bytes / 2} samples differ, the first at sample ${s.first} ` +
          `(${(s.first / 2 / 44100).toFixed(3)} s), by at most ${s.largest}`,
      );
    });

    test('each kept picture is near the native one', async () => {
      const off = [];
      for (const pass of keep) {
        const name = String(pass).padStart(6, '0') + '.png';
        const d = await page.evaluate(comparePicture, { pass, url: `native/${id}/frames/${name}` });
        if (d.error) off.push(`pass ${pass}: ${d.error}`);
        else if (!(d.mean <= 1 && d.near >= nearShare))
          off.push(
            `pass ${pass}: mean ${d.mean.toFixed(3)} levels, ${(100 * d.near).toFixed(2)}% within 8, ` +
              `${(100 * d.lit).toFixed(1)}% lit`,
          );
      }
      assert.deepEqual(off, [], `${off.length} of ${keep.length} kept pictures off`);
    });

    test('no console errors', async () => assert.deepEqual(await page.errors(), []));
  });
}

// --- bad paths (chromium) ---------------------------------------------------------
// A site without its pack, served from a copy as a server without the file would.
function siteWithout(file) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'isoloop-site-'));
  for (const f of fs.readdirSync(options.site))
    if (f !== file) fs.copyFileSync(path.join(options.site, f), path.join(dir, f));
  return dir;
}

function errorsSuite(getBrowser) {
  async function expectMessage(b, url, what, pattern, prepare) {
    const m = await messageShown(b, url, { width: W, height: H }, prepare);
    assert.ok(pattern.test(m.text) && m.visible, `${what}: "${m.text}"`);
    assert.ok(!m.start, what + ': no Start button');
  }

  test('missing pack: the page names it', async () => {
    const copy = siteWithout('julia.3ds');
    const served = await serve(copy);
    try {
      await expectMessage(getBrowser(), served.base, 'missing pack', /julia\.3ds.*404/);
    } finally {
      served.server.close();
      fs.rmSync(copy, { recursive: true, force: true });
    }
  });

  // Each file the manifest lists is checked before Ready: a viewer meets a
  // sentence naming the file, never a show drawn from a broken one, nor the
  // WebAssembly tool chain's own words.
  const site = (name) => fs.readFileSync(path.join(options.site, name));
  const internals = /ASSERTIONS|emscripten|abort\(|Module\./i;
  const damaged = [
    ['missing module: named before Ready', 'isoloop.wasm', { status: 404, body: 'gone' }, /isoloop\.wasm.*404/],
    [
      'short module: named with its size',
      'isoloop.wasm',
      () => ({ status: 200, body: site('isoloop.wasm').subarray(0, 4096) }),
      /isoloop\.wasm has 4096 bytes/,
    ],
    [
      'module of its size that does not compile: named with the reason',
      'isoloop.wasm',
      () => ({ status: 200, body: Buffer.alloc(site('isoloop.wasm').length, 0x2a) }),
      /isoloop\.wasm could not be compiled: .+\.$/,
    ],
    [
      'short program script: named with its size',
      'isoloop.js',
      () => ({ status: 200, body: site('isoloop.js').subarray(0, 100) }),
      /isoloop\.js has 100 bytes/,
    ],
    [
      'pack of the wrong size: named before Ready',
      'julia.3ds',
      () => ({ status: 200, body: site('julia.3ds').subarray(0, site('julia.3ds').length >> 3) }),
      new RegExp(`julia\\.3ds has ${site('julia.3ds').length >> 3} bytes where the site was built with 1575936`),
    ],
    ['broken manifest: named', 'manifest.json', { status: 200, body: '{"program": ' }, /manifest\.json is damaged/],
    [
      'manifest of another shape: named',
      'manifest.json',
      { status: 200, body: '{"program": "isoloop.js", "files": ["julia.3ds"]}' },
      /manifest\.json is damaged/,
    ],
  ];
  for (const [what, file, reply, pattern] of damaged)
    test(what, async () => {
      const m = await messageShown(getBrowser(), base, { width: W, height: H }, (p) =>
        p.route('**/' + file, (r) => r.fulfill(typeof reply === 'function' ? reply() : reply)),
      );
      assert.match(m.text, pattern);
      assert.ok(m.visible, 'the message is shown');
      assert.ok(!m.start, 'no Start button');
      assert.doesNotMatch(m.text, internals, 'no emscripten internals');
    });

  // The program stopping on its own (its runtime's abort, with the words it
  // uses) says so in plain words; what it said goes to the console.
  test('a program that stops: a plain sentence, no internals', async () => {
    const page = await getBrowser().newPage();
    try {
      const { state, message: text } = await startShow(page, base);
      assert.equal(state, 'ready', text);
      await page.evaluate(() =>
        window.isowebModule.onAbort('abort(forced). Build with -s ASSERTIONS=1 for more info.'),
      );
      assert.equal(await waitState(page, ['error'], 20000), 'error');
      const said = await message(page);
      assert.match(said, /stopped/);
      assert.doesNotMatch(said, internals);
    } finally {
      await page.close();
    }
  });

  test('WebGL disabled: a message says so', async () => {
    const noGL = await launch(['--disable-webgl']);
    try {
      await expectMessage(noGL, base, 'no WebGL', /WebGL/);
    } finally {
      await noGL.close();
    }
  });
}

function leadFaultSuite(getBrowser) {
  // The check is no formality: a device queue deeper than the ring's lead
  // (four 2048-frame buffers, 8,192 frames, past the 6,001 the ring holds
  // after a refill) reads unwritten slots when the sound reopens, with no
  // slow frame to explain it.
  test('the stale-audio check catches a device queue deeper than the ring', async (t) => {
    const r = await hideAndShow(getBrowser(), 'chromium', 4);
    if (r.silent) return t.skip(r.silent);
    assert.ok(
      r.v2.unexplainedStale > r.h0.unexplainedStale,
      `with 4 queued buffers: ${staleDetail(r.v2)}; before hiding ${r.h0.unexplainedStale} unexplained`,
    );
  });
}

// --- each engine ------------------------------------------------------------------
for (const engine of options.engines)
  describe(engine, () => {
    let browser;
    before(async () => {
      browser = await openEngine(engine);
    });
    after(async () => {
      if (browser) await browser.close();
    });
    const getBrowser = () => browser;
    showSuite(engine, getBrowser);
    describe('capture', () => {
      captureSuite(engine, getBrowser, '30', 12);
      captureSuite(engine, getBrowser, '60000/1001', 12);
      // Every scene: one whole loop at 10 passes a second.
      captureSuite(engine, getBrowser, '10', 0, 0.985);
    });
    if (engine === 'chromium') {
      describe('sound under a lead fault', () => leadFaultSuite(getBrowser));
      describe('errors', () => errorsSuite(getBrowser));
    }
  });
