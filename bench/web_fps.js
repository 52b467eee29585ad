// The demo's site in headless chromium (software WebGL, SwiftShader): one
// loop of the show with frame times per scene (scene from the drum-hit
// counter after each frame; count, frames per second, median, 99th
// percentile and worst frame time), page load to ready, Start to the loading
// picture and to the first show frame, the site's download size per file
// (raw and gzip -9), and the synthesizer's real-time factor as WebAssembly
// under node (tests/web/node/run.sh).
//   node bench/web_fps.js   (after `npm ci` in tests/web) [--site DIR] [--pack FILE]
//     [--seconds N]   (default: one loop, about 163 s, ended by the counter's wrap)
//     [--no-synth]    skip the node real-time factor (it builds two drivers)
//     [--original]    the page's fixed 640x480 instead of the size it chooses
//     [--window WxH@R] the window in CSS pixels and its devicePixelRatio (default 640x480@1)
//     [--system-gl]   chromium headed on $DISPLAY, WebGL through ANGLE on the system's GL
//                     (Mesa's llvmpipe under Xvfb) instead of headless SwiftShader
//     [--finish]      read one pixel back after every frame and time it: the frame's
//                     render time (the program's work plus the GPU's) rather than
//                     the display's pacing; it serializes the pipeline, so the frame
//                     rate it gives is lower than the plain run's
// Per scene it also prints the drawing size the page chose (the median of the
// canvas's width over the scene's frames, and the smallest) and the program's
// own work per frame: the animation-frame callbacks (WebAssembly, the GL
// layer's WebGL calls and the page's script), median and 99th percentile.
'use strict';
const { execFileSync, spawnSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const { serve, launch, waitState } = require('../tests/web/browser');

const args = process.argv.slice(2);
function arg(name, fallback) {
  const i = args.indexOf('--' + name);
  return i >= 0 ? args[i + 1] : fallback;
}
const root = path.join(__dirname, '..');
const site = path.resolve(arg('site', path.join(root, 'build-web', 'site')));
const pack = path.resolve(root, arg('pack', path.join(process.env.ISOLOOP_BUILD || 'build', 'julia.3ds')));
const maxSeconds = Number(arg('seconds', '240'));
const oneLoop = !args.includes('--seconds');
const windowArg = arg('window', '640x480@1').match(/^(\d+)x(\d+)(?:@([\d.]+))?$/);
if (!windowArg) throw new Error('--window WxH@R, say 1920x1080@2');
const viewport = { width: Number(windowArg[1]), height: Number(windowArg[2]) };
const ratio = Number(windowArg[3] || 1);

// Scene of a drum-hit count, as the demo's scene table has it.
function sceneOf(n) {
  if (n <= 11) return 'scene1';
  if (n <= 17) return 'credits';
  if (n <= 27) return 'scene0';
  if (n <= 37) return 'scene3';
  if (n <= 47) return 'scene4';
  if (n <= 57) return 'scene5';
  return 'none';
}

// In the page before its scripts: after each animation frame, the time,
// the frames drawn and the counter; and when start-up first shows the
// loading picture (lit pixels across the middle of the canvas).
function recorder(finish) {
  const rec = (window.isowebBench = {
    frames: [],
    loadingAt: null,
    firstFrameAt: null,
    clickAt: null,
  });
  let work = 0;
  document.addEventListener(
    'click',
    () => {
      if (rec.clickAt === null) rec.clickAt = performance.now();
    },
    true,
  );
  const raf = window.requestAnimationFrame.bind(window);
  let last = 0;
  const after = () => {
    const m = window.isowebModule,
      canvas = document.getElementById('canvas');
    if (!m || !m.calledRun || !canvas) return;
    const now = performance.now();
    const drawn = m._isoweb_frames();
    if (drawn === 0 && rec.loadingAt === null) {
      const g = document.createElement('canvas').getContext('2d');
      g.canvas.width = canvas.width;
      g.canvas.height = canvas.height;
      g.drawImage(canvas, 0, 0);
      const row = g.getImageData(0, canvas.height >> 1, canvas.width, 1).data;
      let lit = 0;
      for (let i = 0; i < row.length; i += 4) if (row[i] + row[i + 1] + row[i + 2] > 24) lit++;
      if (lit > canvas.width * 0.2) rec.loadingAt = now;
    }
    if (drawn > last) {
      let render = 0;
      if (finish) {
        const gl = canvas.getContext('webgl');
        gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, new Uint8Array(4));
        render = performance.now() - now + work;
      }
      if (rec.firstFrameAt === null) rec.firstFrameAt = now;
      rec.frames.push(now, m._isoweb_incs(), canvas.width, work, render);
      last = drawn;
      work = 0;
    }
  };
  window.requestAnimationFrame = (f) =>
    raf((t) => {
      const t0 = performance.now();
      f(t);
      work += performance.now() - t0;
      after();
    });
}
const STRIDE = 5; // per frame: time, counter, width, work ms, render ms

// The fewest frames a second over any 10 s within a stretch of frame times
// (ms); a stretch shorter than 10 s counts whole.
function lowest10s(at) {
  const span = at[at.length - 1] - at[0];
  if (span < 10000) return ((at.length - 1) * 1000) / Math.max(span, 1);
  let low = Infinity;
  for (let i = 0, j = 0; at[i] + 10000 <= at[at.length - 1]; i++) {
    while (at[j] <= at[i] + 10000) j++;
    low = Math.min(low, (j - 1 - i) / 10);
  }
  return low;
}

function stats(times) {
  const s = [...times].sort((a, b) => a - b);
  const q = (p) => s[Math.min(s.length - 1, Math.floor(p * (s.length - 1) + 0.5))];
  return { n: s.length, median: q(0.5), p99: q(0.99), worst: s[s.length - 1] };
}

async function showLoop() {
  const { server, base } = await serve(site);
  const browser = await launch([], { systemGl: args.includes('--system-gl') });
  try {
    const page = await browser.newPage({ viewport });
    await page.raw.addInitScript(recorder, args.includes('--finish'));
    if (ratio !== 1) {
      const cdp = await page.raw.context().newCDPSession(page.raw);
      await cdp.send('Emulation.setDeviceMetricsOverride', {
        ...viewport,
        deviceScaleFactor: ratio,
        mobile: false,
      });
    }
    await page.goto(base);
    await waitState(page, ['ready'], 60000);
    const ready = await page.evaluate(() => performance.now());
    await page.uncheck('#fullscreen');
    if (args.includes('--original')) await page.raw.check('#original');
    else if (await page.raw.isChecked('#original')) await page.raw.uncheck('#original');
    await page.click('#start');
    await page.waitFor(() => window.isowebBench.firstFrameAt !== null, null, 60000);
    // One loop: the counter climbs through the scenes and wraps to 0.
    const started = Date.now();
    let peak = 0;
    for (;;) {
      await page.raw.waitForTimeout(1000);
      const n = await page.evaluate(() => window.isowebModule._isoweb_incs());
      peak = Math.max(peak, n);
      const elapsed = (Date.now() - started) / 1000;
      if ((oneLoop && peak >= 48 && n < peak) || elapsed >= maxSeconds) break;
    }
    const rec = await page.evaluate(() => window.isowebBench);
    rec.renderer = await page.evaluate(() => {
      const gl = document.getElementById('canvas').getContext('webgl');
      const info = gl && gl.getExtension('WEBGL_debug_renderer_info');
      return info ? gl.getParameter(info.UNMASKED_RENDERER_WEBGL) : 'unknown';
    });
    const lead = await page.evaluate(() => ({
      maxLead: window.isowebModule._isoweb_max_lead(),
      stalePulls: window.isowebModule._isoweb_stale_pulls(),
      callbacks: window.isowebModule._isoweb_callbacks(),
      readPos: window.isowebModule._isoweb_read_pos(),
    }));
    await page.press('Escape');
    return { ready, rec, lead };
  } finally {
    await browser.close();
    server.close();
  }
}

function siteSizes() {
  const rows = [];
  let raw = 0,
    gz = 0;
  for (const f of fs.readdirSync(site).sort()) {
    const file = path.join(site, f);
    if (!fs.statSync(file).isFile()) continue;
    const r = fs.statSync(file).size;
    const g = execFileSync('gzip', ['-9', '-c', file]).length;
    rows.push([f, r, g]);
    raw += r;
    gz += g;
  }
  rows.push(['total', raw, gz]);
  return rows;
}

function synthFactor() {
  const r = spawnSync('sh', [path.join(root, 'tests/web/node/run.sh'), pack], {
    encoding: 'utf8',
    cwd: root,
  });
  const text = (r.stdout || '') + (r.stderr || '');
  return (
    text
      .split('\n')
      .filter((l) => /^(native|wasm):$|x real time/.test(l))
      .join('\n') || `(no real-time factor line; exit ${r.status})\n` + text.split('\n').slice(-5).join('\n')
  );
}

async function main() {
  console.log('site download, bytes (raw / gzip -9):');
  for (const [f, r, g] of siteSizes())
    console.log(`  ${f.padEnd(14)} ${String(r).padStart(9)} ${String(g).padStart(9)}`);

  const { ready, rec, lead } = await showLoop();
  console.log(`page load: navigation to ready ${ready.toFixed(0)} ms`);
  if (rec.clickAt !== null) {
    console.log(
      `Start to the loading picture: ${rec.loadingAt === null ? 'not seen' : (rec.loadingAt - rec.clickAt).toFixed(0) + ' ms'}` +
        `; to the first show frame: ${(rec.firstFrameAt - rec.clickAt).toFixed(0)} ms`,
    );
    console.log(
      `navigation to the loading picture: ${rec.loadingAt === null ? '-' : rec.loadingAt.toFixed(0)} ms` +
        ` (includes the harness's click at ${rec.clickAt.toFixed(0)} ms); to the first show frame: ${rec.firstFrameAt.toFixed(0)} ms`,
    );
  }
  const per = new Map();
  const order = [];
  let prevScene = null;
  for (let i = STRIDE; i < rec.frames.length; i += STRIDE) {
    const dt = rec.frames[i] - rec.frames[i - STRIDE];
    const scene = sceneOf(rec.frames[i + 1]);
    if (!per.has(scene)) {
      per.set(scene, { dt: [], at: [], width: [], work: [], render: [] });
      order.push(scene);
    }
    const p = per.get(scene);
    p.dt.push(dt);
    // A scene met again later in the loop starts a stretch of its own.
    if (scene !== prevScene) p.at.push([]);
    p.at[p.at.length - 1].push(rec.frames[i]);
    prevScene = scene;
    p.width.push(rec.frames[i + 2]);
    p.work.push(rec.frames[i + 3]);
    p.render.push(rec.frames[i + 4]);
  }
  const finish = args.includes('--finish');
  const all = [];
  console.log(`WebGL renderer: ${rec.renderer}`);
  const engine = args.includes('--system-gl')
    ? 'headed chromium, WebGL on the system GL'
    : 'headless chromium, SwiftShader WebGL';
  console.log(
    `frame times per scene (ms; ${engine}; window ${viewport.width}x${viewport.height}` +
      ` at ratio ${ratio}${args.includes('--original') ? ', original 640x480' : ''}${finish ? ', read back every frame' : ''}):`,
  );
  console.log(
    '  scene      frames   fps(mean, 10 s low)  median    p99   worst  over136ms  size(median, least)  work(median, p99)' +
      (finish ? '  render(median, p99)' : ''),
  );
  for (const scene of order) {
    const p = per.get(scene);
    const t = p.dt;
    all.push(...t);
    const s = stats(t);
    const mean = t.reduce((a, b) => a + b, 0) / t.length;
    const over = t.filter((x) => x > 136).length;
    const w = [...p.width].sort((a, b) => a - b);
    const size = (x) => `${x}x${(x * 3) / 4}`;
    const work = stats(p.work);
    const render = stats(p.render);
    console.log(
      `  ${scene.padEnd(9)} ${String(s.n).padStart(7)} ${(1000 / mean).toFixed(1).padStart(10)}, ` +
        `${Math.min(...p.at.filter((a) => a.length > 1).map(lowest10s))
          .toFixed(1)
          .padStart(8)} ` +
        `${s.median.toFixed(1).padStart(7)} ${s.p99.toFixed(1).padStart(6)} ${s.worst.toFixed(0).padStart(7)} ${String(over).padStart(10)}` +
        `  ${size(w[w.length >> 1])}, ${size(w[0])}`.padEnd(22) +
        `  ${work.median.toFixed(2)}, ${work.p99.toFixed(2)}` +
        (finish ? `  ${render.median.toFixed(1)}, ${render.p99.toFixed(1)}` : ''),
    );
  }
  const s = stats(all);
  const span = (rec.frames[rec.frames.length - STRIDE] - rec.frames[0]) / 1000;
  console.log(
    `  all       ${String(s.n).padStart(7)} ${(s.n / span).toFixed(1).padStart(10)} ${s.median.toFixed(1).padStart(7)} ` +
      `${s.p99.toFixed(1).padStart(6)} ${s.worst.toFixed(0).padStart(7)}   over ${span.toFixed(1)} s`,
  );
  console.log(
    `sound: ${lead.callbacks} pulls, ${(lead.readPos / 44100).toFixed(1)} s delivered; ` +
      `pulls past the written ring: ${lead.stalePulls}, largest by ${lead.maxLead} frames`,
  );

  if (!args.includes('--no-synth')) {
    console.log('synthesizer as WebAssembly under node (tests/web/node/run.sh):');
    console.log(
      synthFactor()
        .split('\n')
        .map((l) => '  ' + l)
        .join('\n'),
    );
  }
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
