// The demo's site in Debian's chromium (headless, software WebGL): a show
// from Start to Escape (loading picture, frames, the sound device's pull
// rate, no stale ring audio), a hidden tab, the capture page against the
// native isoloop-tool capture (log, soundtrack, pictures), and the clear
// messages for a missing or short pack and for no WebGL.
//   node demo_test.js --site DIR [--build DIR] [--show-seconds N] [--only show,hidden,capture,bad]
// --build names the native build with isoloop-tool (default $ISOLOOP_BUILD or build).
// DEMO_TEST_TRACE=1 prints the show's counters once a second.
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { serve, launch, watch, waitState, messageShown } = require('./browser');

const args = process.argv.slice(2);
function arg(name, fallback) {
  const i = args.indexOf('--' + name);
  return i >= 0 ? args[i + 1] : fallback;
}
const root = path.join(__dirname, '..', '..');
const site = path.resolve(arg('site', path.join(root, 'build-web', 'site')));
const build = path.resolve(root, arg('build', process.env.ISOLOOP_BUILD || 'build'));
const showSeconds = Number(arg('show-seconds', '30'));
const only = arg('only', 'show,hidden,capture,bad').split(',');
const W = 640, H = 480;
// SDL's browser device pulls 2048 frames per call at 44100 frames a second.
const PULLS_PER_SECOND = 44100 / 2048;

let failures = 0;
function check(ok, what, detail) {
  console.log((ok ? 'ok   ' : 'FAIL ') + what + (detail !== undefined && detail !== '' ? ' — ' + detail : ''));
  if (!ok) failures++;
}

// The program's counters (exported hooks); zeros before it is instantiated.
function probe(page) {
  return page.evaluate(() => {
    const m = window.isowebModule;
    // The exports exist before the program is instantiated but fail till then.
    let has = false;
    try { has = !!m && m._isoweb_frames() >= 0; } catch (e) { /* not yet */ }
    return {
      now: performance.now(),
      state: window.isowebState,
      frames: has ? m._isoweb_frames() : 0,
      callbacks: has ? m._isoweb_callbacks() : 0,
      readPos: has ? m._isoweb_read_pos() : 0,
      writePos: has ? m._isoweb_write_pos() : 0,
      maxLead: has ? m._isoweb_max_lead() : -Infinity,
      maxLeadAt: has ? m._isoweb_max_lead_at() : 0,
      stalePulls: has ? m._isoweb_stale_pulls() : 0,
      unexplainedStale: has ? m._isoweb_unexplained_stale() : 0,
      longestGapMs: has ? m._isoweb_longest_gap_ms() : 0,
      showTime: has ? m._isoweb_show_time() : 0,
    };
  });
}

async function startShow(page, base) {
  await page.goto(base);
  check((await waitState(page, ['ready', 'error'])) === 'ready', 'page ready', await page.textContent('#message'));
  check(await page.isVisible('#start'), 'Start button shown');
  await page.uncheck('#fullscreen');
  await page.click('#start');
}

// Samples the counters once a second for the given time.
async function sample(page, seconds) {
  const out = [await probe(page)];
  const end = out[0].now + seconds * 1000;
  while (out[out.length - 1].now < end) {
    await page.waitForTimeout(1000);
    out.push(await probe(page));
  }
  return out;
}

const rate = (a, b, key) => (b[key] - a[key]) / ((b.now - a.now) / 1000);

// --- a show from Start to Escape ---------------------------------------------
// Runs in the page before its scripts: after each animation frame until the
// first show frame, the share of lit pixels in the canvas's middle band (the
// loading picture's place) and in its corners.
function lookAtStartup() {
  const state = window.isowebLoading = { seen: false, done: false, passes: 0, band: 0, corners: 0 };
  const raf = window.requestAnimationFrame.bind(window);
  const look = () => {
    const m = window.isowebModule, canvas = document.getElementById('canvas');
    if (state.seen || state.done || !m || !m.calledRun || !canvas) return;
    if (m._isoweb_frames() > 0) { state.done = true; return; }
    state.passes++;
    const w = canvas.width, h = canvas.height;
    const c = document.createElement('canvas');
    c.width = w;
    c.height = h;
    const g = c.getContext('2d');
    g.drawImage(canvas, 0, 0);
    const d = g.getImageData(0, 0, w, h).data;
    const lit = (x0, y0, x1, y1) => {
      let n = 0, all = 0;
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
  window.requestAnimationFrame = (f) => raf((t) => { f(t); look(); });
}

async function testShow(browser, base) {
  const page = await browser.newPage({ viewport: { width: W, height: H } });
  const errors = watch(page);
  await page.addInitScript(lookAtStartup);
  await startShow(page, base);

  // The loading picture: drawn by start-up, before any show frame. Read
  // from the canvas right after each animation frame of start-up, while the
  // drawing buffer still holds what was drawn.
  await page.waitForFunction(() => window.isowebLoading && (window.isowebLoading.seen ||
    window.isowebLoading.done || window.isowebState === 'error'), null, { timeout: 60000 }).catch(() => {});
  const loading = await page.evaluate(() => window.isowebLoading);
  check(loading && loading.seen, 'the loading picture is shown after Start, before the first show frame',
    loading ? `band ${(100 * loading.band).toFixed(1)}% lit, corners ${(100 * loading.corners).toFixed(1)}%, ` +
      `${loading.passes} start-up frames looked at` : 'no start-up frame seen');
  if (loading && loading.seen)
    check(loading.corners < 0.05, 'the loading picture: black around it', (100 * loading.corners).toFixed(1) + '%');

  await page.waitForFunction(() => window.isowebState !== 'starting' && window.isowebModule &&
    window.isowebModule.calledRun && window.isowebModule._isoweb_frames() > 0, null, { timeout: 60000 });
  check(await page.evaluate(() => window.isowebState) === 'playing', 'the show is playing');

  const s = await sample(page, showSeconds);
  const first = s[0], last = s[s.length - 1];
  const fps = rate(first, last, 'frames');
  check(fps > 2, 'frames advance over the show', `${fps.toFixed(1)} frames/s over ${((last.now - first.now) / 1000).toFixed(1)} s`);
  let stalls = 0;
  for (let i = 1; i < s.length; i++) if (s[i].frames === s[i - 1].frames) stalls++;
  check(stalls === 0, 'frames advance every second', `${stalls} still second(s)`);
  check(last.showTime > first.showTime + showSeconds * 0.9, 'demo time runs with the clock',
    `${first.showTime.toFixed(2)} → ${last.showTime.toFixed(2)} s`);

  // The pull rate over the steady part: from a second after the first pull.
  const startAt = s.find((x) => x.callbacks > 0);
  const steady = startAt && s.find((x) => x.now >= startAt.now + 1000);
  const span = steady ? (last.now - steady.now) / 1000 : 0;
  check(span >= 20, 'the pull rate is measured over at least 20 s', span.toFixed(1) + ' s');
  if (steady) {
    const r = rate(steady, last, 'callbacks');
    check(Math.abs(r / PULLS_PER_SECOND - 1) <= 0.05, 'the audio callback runs at 44100/2048 per second (±5%)',
      `${r.toFixed(3)}/s, want ${PULLS_PER_SECOND.toFixed(3)}/s`);
    const fr = rate(steady, last, 'readPos');
    console.log(`     frames delivered: ${fr.toFixed(0)}/s; drawn: ${fps.toFixed(1)}/s`);
  }
  // End of each pull against the frames written: never past them, unless a
  // frame took longer than two device buffers (an underrun, as natively on a
  // machine too slow for the ring's lead).
  check(last.unexplainedStale === 0, 'no stale ring audio: every pull ends at or before the last written frame',
    `largest (read + pull) − written: ${last.maxLead} frames, at read position ${last.maxLeadAt}; ` +
    `${last.stalePulls} pull(s) past it; longest time between frames ${last.longestGapMs.toFixed(0)} ms`);
  if (process.env.DEMO_TEST_TRACE) for (const x of s) console.log(JSON.stringify(x));
  check(last.writePos - last.readPos <= 8000 + 2048, 'the frame driver stays at most a ring ahead',
    `written − read ${last.writePos - last.readPos}`);

  await page.keyboard.press('Escape');
  check((await waitState(page, ['ended', 'error'])) === 'ended', 'Escape ends the show');
  check(await page.isVisible('#panel') && (await page.textContent('#start')).includes('Play again'),
    'the page offers to play again');
  const a = await probe(page);
  await page.waitForTimeout(1000);
  const b = await probe(page);
  check(b.frames === a.frames, 'frames stop after Escape', `${a.frames} → ${b.frames}`);
  check(b.callbacks === a.callbacks, 'the sound stops after Escape', `${a.callbacks} → ${b.callbacks} pulls`);
  check(errors.length === 0, 'no console errors, no page errors', errors.join(' | '));
  await page.close();
}

// --- a hidden tab ---------------------------------------------------------------
async function setHidden(page, hidden) {
  await page.evaluate((h) => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => h });
    Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => (h ? 'hidden' : 'visible') });
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
}

async function testHidden(browser, base) {
  const page = await browser.newPage({ viewport: { width: W, height: H } });
  const errors = watch(page);
  await startShow(page, base);
  await page.waitForFunction(() => window.isowebModule && window.isowebModule.calledRun &&
    window.isowebModule._isoweb_frames() > 0, null, { timeout: 60000 });
  await page.waitForTimeout(3000);
  const p0 = await probe(page);
  await page.waitForTimeout(3000);
  const p1 = await probe(page);
  const fpsBefore = rate(p0, p1, 'frames');

  await setHidden(page, true);
  const h0 = await probe(page);
  await page.waitForTimeout(4000);
  const h1 = await probe(page);
  check(h1.frames - h0.frames <= 1, 'hidden: no frames drawn', `${h1.frames - h0.frames} frames in 4 s`);
  check(h1.readPos === h0.readPos, 'hidden: no sound pulled from the ring', `${h1.readPos - h0.readPos} frames`);
  check(h1.callbacks - h0.callbacks <= 1, 'hidden: the device is paused', `${h1.callbacks - h0.callbacks} pulls`);
  check(Math.abs(h1.showTime - h0.showTime) < 0.1, 'hidden: demo time stands still',
    `${h0.showTime.toFixed(2)} → ${h1.showTime.toFixed(2)} s`);

  await setHidden(page, false);
  const v0 = await probe(page);
  await page.waitForTimeout(1000);
  const v1 = await probe(page);
  await page.waitForTimeout(5000);
  const v2 = await probe(page);
  const fpsAfter = rate(v0, v1, 'frames');
  check(fpsAfter <= fpsBefore * 1.25 + 2, 'shown again: no burst of frames',
    `${fpsAfter.toFixed(1)} frames/s in the first second, ${fpsBefore.toFixed(1)} before hiding`);
  check(v1.showTime - v0.showTime < 1.5 && v0.showTime - h1.showTime < 0.5,
    'shown again: demo time goes on from where it stopped',
    `${h1.showTime.toFixed(2)} → ${v0.showTime.toFixed(2)} → ${v1.showTime.toFixed(2)} s`);
  check(v2.frames > v1.frames, 'shown again: frames advance', `${v2.frames - v1.frames} in 5 s`);
  const r = rate(v1, v2, 'callbacks');
  check(Math.abs(r / PULLS_PER_SECOND - 1) <= 0.1, 'shown again: the sound resumes at its rate (±10%)', `${r.toFixed(2)} pulls/s`);
  check(v2.unexplainedStale === h0.unexplainedStale, 'shown again: no stale ring audio',
    `largest (read + pull) − written ${v2.maxLead} frames at read position ${v2.maxLeadAt} (hidden at ${h0.readPos}); ` +
    `before hiding ${h0.maxLead}; ${v2.stalePulls - h0.stalePulls} pull(s) past it since`);
  check(errors.length === 0, 'hidden tab: no console errors', errors.join(' | '));
  await page.close();
}

// --- the capture page against the native capture ----------------------------------
// The tool makes the frames folder itself: it refuses one that exists.
function nativeCapture(dir, fps, seconds) {
  execFileSync(path.join(build, 'isoloop-tool'), ['capture', '--frames', path.join(dir, 'frames'), '--fps', fps,
    ...(seconds ? ['--seconds', String(seconds)] : []), '--size', '320x240', '--log', path.join(dir, 'capture.log'),
    '--quiet'],
  { stdio: ['ignore', 'inherit', 'inherit'] });
}

// Passes to compare: the first, one more of the loading picture, each
// scene's first pass, and a few spread through every scene the run reaches.
function keptPasses(log) {
  const rows = log.trim().split('\n').slice(1).map((l) => l.split('\t'));
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

// nearShare: the share of pixels within 8 levels. Scene 0's jitter overlay, a
// full-screen noise texture sampled nearest, meets the two rasterizers'
// texel rounding at every pixel: there up to 1.1% of pixels differ by more.
async function testCapture(browser, base, fps, seconds, nearShare = 0.99) {
  const label = `capture fps=${fps} ` + (seconds ? `seconds=${seconds}` : 'whole loop');
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'isoloop-native-'));
  try {
    nativeCapture(dir, fps, seconds);
    const nativeLog = fs.readFileSync(path.join(dir, 'capture.log'), 'utf8');
    const nativeAudio = fs.readFileSync(path.join(dir, 'frames', 'audio.wav')).subarray(44);
    const { keep, scenes } = keptPasses(nativeLog);

    const page = await browser.newPage({ viewport: { width: W, height: H } });
    const errors = watch(page);
    // The native pictures, served beside the site under native/.
    await page.route('**/native/*.png', (r) => {
      const file = path.join(dir, 'frames', path.basename(new URL(r.request().url()).pathname));
      if (fs.existsSync(file)) r.fulfill({ status: 200, contentType: 'image/png', body: fs.readFileSync(file) });
      else r.fulfill({ status: 404, body: 'none' });
    });
    const t0 = Date.now();
    await page.goto(`${base}?capture&fps=${encodeURIComponent(fps)}` + (seconds ? `&seconds=${seconds}` : '') +
      `&size=320x240&keep=${keep.join(',')}`);
    await page.waitForFunction(() => window.isoloopCapture, null, { timeout: 600000, polling: 500 });
    const ms = Date.now() - t0;
    const result = await page.evaluate(() => {
      const c = window.isoloopCapture;
      if (c.error) return { error: c.error };
      const bytes = new Uint8Array(c.audio);
      let bin = '';
      for (let i = 0; i < bytes.length; i += 0x8000) bin += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      return { log: c.log, audio: btoa(bin), kept: Object.keys(c.frames).map(Number) };
    });
    check(!result.error, `${label}: the page's capture finishes`, result.error || `${(ms / 1000).toFixed(1)} s`);
    if (result.error) return page.close();

    const nRows = nativeLog.trim().split('\n').length - 1;
    check(result.log === nativeLog, `${label}: log byte-identical to the native one`,
      `${nRows} passes, scenes ${scenes.join(', ')}` + (result.log === nativeLog ? '' : firstDifference(result.log, nativeLog)));
    const audio = Buffer.from(result.audio, 'base64');
    // The two C libraries' float cosines part after 13.59 s of music: up to
    // 13 s the soundtrack is bit-identical, after it within a few steps (the
    // resonators carry the one-ulp differences on: at most 3 over the first
    // minute, 5 over a whole loop, as measured).
    const exactBytes = Math.min(audio.length, 13 * 44100 * 4);
    check(audio.length === nativeAudio.length && audio.subarray(0, exactBytes).equals(nativeAudio.subarray(0, exactBytes)),
      `${label}: soundtrack bit-identical to the native audio.wav (its first 13 s)`,
      `${audio.length} bytes, native ${nativeAudio.length}`);
    if (audio.length > exactBytes && audio.length === nativeAudio.length) {
      let largest = 0, differ = 0;
      for (let i = exactBytes; i < audio.length; i += 2) {
        const d = Math.abs(audio.readInt16LE(i) - nativeAudio.readInt16LE(i));
        if (d) differ++;
        if (d > largest) largest = d;
      }
      check(largest <= 8, `${label}: soundtrack after 13 s within 8 steps of the native one`,
        `${differ} of ${(audio.length - exactBytes) / 2} samples differ, by at most ${largest}`);
    }

    for (const pass of keep) {
      const name = String(pass).padStart(6, '0') + '.png';
      const d = await page.evaluate(async ({ pass, name }) => {
        const url = window.isoloopCapture.frames[pass];
        if (!url) return { error: 'the page kept no picture' };
        const pixels = async (src) => {
          const img = await createImageBitmap(await (await fetch(src)).blob());
          const c = new OffscreenCanvas(img.width, img.height);
          const g = c.getContext('2d');
          g.drawImage(img, 0, 0);
          return { w: img.width, h: img.height, d: g.getImageData(0, 0, img.width, img.height).data };
        };
        const a = await pixels(url);
        let b;
        try { b = await pixels('native/' + name); } catch (e) { return { error: 'no native picture' }; }
        if (a.w !== b.w || a.h !== b.h) return { error: `size ${a.w}x${a.h}, native ${b.w}x${b.h}` };
        let sum = 0, near = 0, lit = 0;
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
      }, { pass, name });
      if (d.error) {
        check(false, `${label}: pass ${pass} picture`, d.error);
        continue;
      }
      check(d.mean <= 1 && d.near >= nearShare, `${label}: pass ${pass} picture near the native one`,
        `mean ${d.mean.toFixed(3)} levels, ${(100 * d.near).toFixed(2)}% within 8, ${(100 * d.lit).toFixed(1)}% lit`);
    }
    check(errors.length === 0, `${label}: no console errors`, errors.join(' | '));
    await page.close();
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

function firstDifference(a, b) {
  const x = a.split('\n'), y = b.split('\n');
  for (let i = 0; i < Math.max(x.length, y.length); i++)
    if (x[i] !== y[i]) return `; first difference at line ${i + 1}: "${x[i]}" vs native "${y[i]}"`;
  return '';
}

// --- bad paths -----------------------------------------------------------------
async function expectMessage(browser, base, what, pattern, prepare) {
  const m = await messageShown(browser, base, { width: W, height: H }, prepare);
  check(pattern.test(m.text) && m.visible, what, m.text);
  check(!m.start, what + ': no Start button');
}

// A site without its pack, served from a copy as a server without the file would.
function siteWithout(file) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'isoloop-site-'));
  for (const f of fs.readdirSync(site)) if (f !== file) fs.copyFileSync(path.join(site, f), path.join(dir, f));
  return dir;
}

async function testBadPaths(base) {
  let browser = await launch();
  const copy = siteWithout('julia.3ds');
  const served = await serve(copy);
  try {
    await expectMessage(browser, served.base, 'missing pack: the page names it', /julia\.3ds.*404/);

    // A short pack: the demo reads what there is and leaves the rest black, as
    // the native one does, so the page starts the show as for a whole one.
    const page = await browser.newPage({ viewport: { width: W, height: H } });
    const errors = watch(page);
    const whole = fs.readFileSync(path.join(site, 'julia.3ds'));
    await page.route('**/julia.3ds', (r) => r.fulfill({ status: 200, body: whole.subarray(0, whole.length >> 3) }));
    await startShow(page, base);
    await page.waitForFunction(() => ['error', 'ended'].includes(window.isowebState) || (window.isowebModule &&
      window.isowebModule.calledRun && window.isowebModule._isoweb_frames() > 30), null, { timeout: 60000 })
      .catch(() => {});
    const st = await probe(page);
    check(st.state === 'playing' && st.frames > 30, 'short pack: the show plays what the pack holds',
      `state ${st.state}, ${st.frames} frames; message "${await page.textContent('#message')}"`);
    check(errors.length === 0, 'short pack: no console errors', errors.join(' | '));
    await page.close();
  } finally {
    await browser.close();
    served.server.close();
    fs.rmSync(copy, { recursive: true, force: true });
  }
  browser = await launch(['--disable-webgl']);
  try {
    await expectMessage(browser, base, 'WebGL disabled: a message says so', /WebGL/);
  } finally {
    await browser.close();
  }
}

async function main() {
  const { server, base } = await serve(site);
  try {
    if (only.includes('show') || only.includes('hidden')) {
      const browser = await launch();
      try {
        if (only.includes('show')) await testShow(browser, base);
        if (only.includes('hidden')) await testHidden(browser, base);
      } finally {
        await browser.close();
      }
    }
    if (only.includes('capture')) {
      if (!fs.existsSync(path.join(build, 'isoloop-tool'))) {
        check(false, 'capture: the native isoloop-tool', 'none in ' + build);
      } else {
        const browser = await launch();
        try {
          await testCapture(browser, base, '30', 12);
          await testCapture(browser, base, '60000/1001', 12);
          // Every scene: one whole loop at 10 passes a second.
          await testCapture(browser, base, '10', 0, 0.985);
        } finally {
          await browser.close();
        }
      }
    }
    if (only.includes('bad')) await testBadPaths(base);
  } finally {
    server.close();
  }
  console.log(failures ? `${failures} check(s) failed` : 'all checks passed');
  process.exit(failures ? 1 : 0);
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
