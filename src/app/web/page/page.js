// The page around the program: checks the browser can run it, fetches the
// data files, starts a show on a click (browsers start sound only after a
// gesture), ends it on Escape (or a tap on the picture, then End) and offers
// another. Each show gets a fresh canvas and a fresh instance of the program.
// During a show the page sizes the picture (see the drawing size below),
// keeps the screen on, and says so when the browser holds the sound back.
// With ?capture in the address it runs the capture instead (see capture()
// below), at its own size.
const panel = document.getElementById('panel');
const message = document.getElementById('message');
const controls = document.getElementById('controls');
const startButton = document.getElementById('start');
const fullscreenBox = document.getElementById('fullscreen');
const stage = document.getElementById('stage');
const originalBox = document.getElementById('original');
const endButton = document.getElementById('end');
const soundBar = document.getElementById('sound');
const soundMessage = document.getElementById('sound-message');

// index.html?capture&fps=F&seconds=S&size=WxH&keep=J1,J2: the capture's
// own clock and pass loop, no sound and no Start; the result is left in
// window.isoloopCapture = {log, audio, frames} (or {error}).
const query = new URLSearchParams(location.search);
const captureArguments = query.has('capture') ? ['capture'] : null;
if (captureArguments)
  for (const key of ['fps', 'seconds', 'size', 'keep'])
    if (query.has(key)) captureArguments.push(key, query.get(key));

let files = null; // [{name, bytes}]
let wasmModule = null; // the program's WebAssembly, compiled before Ready
let instance = null;
let playing = false;

// --- the drawing size ---------------------------------------------------------
// The show draws a 4:3 picture of 4k x 3k pixels: k as large as the stage
// shows at the screen's pixels (CSS size times devicePixelRatio), lowered a
// step when frames come slower than the display's rate (never below 320x240)
// and raised again when they keep up. 4k x 3k keeps the aspect exactly 4:3,
// so the program's projection never changes. "original 640x480" fixes k.
const MIN_K = 80; // 320x240
const ORIGINAL_K = 160; // 640x480
const STEP = 0.85; // a step down draws 0.72 of the pixels
// What the tests read: the size that fits, the size drawn, each change.
const drawing = (window.isowebDrawing = { fit: [0, 0], size: [0, 0], fixed: false, changes: [] });
let limitK = Infinity; // the adaptation's cap
let slowK = Infinity; // the last size that was too slow, and when
let slowAt = -Infinity;
let showCanvas = null; // the canvas of a show whose program follows its size

function fitK() {
  const ratio = window.devicePixelRatio || 1;
  const k = Math.floor(Math.min((stage.clientWidth * ratio) / 4, (stage.clientHeight * ratio) / 3));
  return Math.max(MIN_K, k);
}

function wantedK() {
  return drawing.fixed ? ORIGINAL_K : Math.max(MIN_K, Math.min(fitK(), limitK));
}

function applySize(why) {
  const fit = fitK();
  drawing.fit = [4 * fit, 3 * fit];
  if (!showCanvas) return;
  const k = wantedK();
  // emscripten pins a full-screen canvas's CSS size at start: the style sheet fits it instead.
  showCanvas.style.removeProperty('width');
  showCanvas.style.removeProperty('height');
  drawing.size = [4 * k, 3 * k];
  if (showCanvas.width === 4 * k && showCanvas.height === 3 * k) return;
  showCanvas.width = 4 * k;
  showCanvas.height = 3 * k;
  drawing.changes.push({ why, width: 4 * k, height: 3 * k, at: Math.round(performance.now()) });
}

function currentK() {
  return showCanvas ? showCanvas.width / 4 : 0;
}

// Watches the frames' pace once a second: the median time between frames
// against the display's (the shortest median seen, taken as at most 20 ms:
// displays run at 50 Hz or more). The second after a change is not judged.
function watchFrames(show) {
  let times = [];
  let judge = false;
  let period = Infinity;
  let fastSeconds = 0;
  const tick = (t) => {
    if (!playing || show !== showCanvas) return;
    requestAnimationFrame(tick);
    let frames = 0;
    try {
      frames = instance ? instance._isoweb_frames() : 0;
    } catch {
      /* not yet */
    }
    if (document.hidden || !frames || drawing.fixed || window.isowebHoldSize) {
      times = [];
      return;
    }
    times.push(t);
    if (t - times[0] < 1000) return;
    const gaps = times
      .slice(1)
      .map((x, i) => x - times[i])
      .sort((a, b) => a - b);
    const median = gaps[gaps.length >> 1];
    times = [t];
    if (!judge) {
      judge = true;
      return;
    }
    period = Math.min(period, median);
    const display = Math.min(period, 20);
    const k = currentK();
    // Slower than 1.2 periods: under 50 frames a second on a 60 Hz display.
    if (median > display * 1.2 && k > MIN_K) {
      slowK = k;
      slowAt = t;
      limitK = Math.max(MIN_K, Math.floor(k * STEP));
      fastSeconds = 0;
      judge = false;
      applySize('slow');
    } else if (median <= display * 1.1 && k < fitK()) {
      if (++fastSeconds < 3) return;
      fastSeconds = 0;
      const up = Math.min(fitK(), Math.ceil(k / STEP));
      // Not straight back to a size that was too slow a moment ago.
      if (up >= slowK && t - slowAt < 15000) return;
      limitK = up;
      judge = false;
      applySize('room');
    } else fastSeconds = 0;
  };
  requestAnimationFrame(tick);
}

// --- the screen kept on ------------------------------------------------------------
let wakeLock = null;
let wakeLockWanted = false;

async function holdScreen() {
  if (!navigator.wakeLock || wakeLock || !playing || document.hidden) return;
  wakeLockWanted = true;
  try {
    const lock = await navigator.wakeLock.request('screen');
    if (!playing || !wakeLockWanted) return void lock.release().catch(() => {});
    wakeLock = lock;
    // The browser lets it go by itself when the tab hides.
    if (lock.addEventListener) lock.addEventListener('release', () => { if (wakeLock === lock) wakeLock = null; });
  } catch (e) { /* no lock: the screen may dim */ }
}

function releaseScreen() {
  wakeLockWanted = false;
  const lock = wakeLock;
  wakeLock = null;
  if (lock) lock.release().catch(() => {});
}

// --- sound that starts, or a sentence ---------------------------------------------
// The show moves with the sound device's pulls: a device the browser holds
// back (no output device, an autoplay policy) would leave it standing still.
// Twice a second: held when the device is open but its context is not
// running, or it has not pulled for 1.5 s.
let soundTimer = null;

function watchSound() {
  clearInterval(soundTimer);
  let lastPulls = -1;
  let lastMoved = performance.now();
  window.isowebSound = 'waiting';
  soundTimer = setInterval(() => {
    if (!playing) return clearInterval(soundTimer);
    const now = performance.now();
    let running, pulls;
    try {
      running = instance._isoweb_sound_running();
      pulls = instance._isoweb_callbacks();
    } catch {
      return;
    }
    if (document.hidden || running < 0) {
      lastMoved = now;
      return;
    }
    if (pulls !== lastPulls) {
      lastPulls = pulls;
      if (running === 1) lastMoved = now;
    }
    const held = running === 0 || now - lastMoved > 1500;
    if (held && window.isowebSound !== 'held') {
      soundMessage.textContent =
        'The browser is holding the sound back (no sound device, or its settings ask for a click first), ' +
        'so the show stands still: it moves with its music.';
      soundBar.hidden = false;
      window.isowebSound = 'held';
    } else if (!held && window.isowebSound !== 'running') {
      soundBar.hidden = true;
      window.isowebSound = 'running';
    }
  }, 500);
}

function startSound() {
  try {
    if (instance) instance._isoweb_resume_sound();
  } catch {
    /* the program is gone */
  }
}

function showEndButton() {
  endButton.hidden = false;
  clearTimeout(showEndButton.timer);
  showEndButton.timer = setTimeout(() => { endButton.hidden = true; }, 4000);
}

function stopShowExtras() {
  releaseScreen();
  clearInterval(soundTimer);
  soundBar.hidden = true;
  endButton.hidden = true;
  showCanvas = null;
}

function say(text, isError) {
  message.textContent = text;
  message.className = isError ? 'error' : '';
  panel.hidden = false;
  if (isError) controls.hidden = true;
}

function fail(text) {
  if (captureArguments && !window.isoloopCapture) window.isoloopCapture = { error: text };
  playing = false;
  stopShowExtras();
  leaveFullscreen();
  say(text, true);
  window.isowebState = 'error';
}

function hasWebGL() {
  try {
    const c = document.createElement('canvas');
    return !!(window.WebGLRenderingContext && (c.getContext('webgl') || c.getContext('experimental-webgl')));
  } catch (e) {
    return false;
  }
}

async function fetchBytes(name) {
  let response;
  try {
    response = await fetch(name);
  } catch (e) {
    throw new Error('Could not load ' + name + ' (network error).');
  }
  if (!response.ok) throw new Error('Could not load ' + name + ' (HTTP ' + response.status + ').');
  return new Uint8Array(await response.arrayBuffer());
}

// A file the manifest lists, whole: present and of the size the site was
// built with (the pack's is the size the tools accept).
async function fetchListed(entry) {
  const bytes = await fetchBytes(entry.name);
  if (bytes.length !== entry.size)
    throw new Error(entry.name + ' has ' + bytes.length + ' bytes where the site was built with ' + entry.size +
      ', so it is damaged or from another build: reload the page, or rebuild the site.');
  return bytes;
}

function readManifest(bytes) {
  let manifest = null;
  try {
    manifest = JSON.parse(new TextDecoder().decode(bytes));
  } catch (e) { /* said below */ }
  const listed = (f) => !!f && typeof f.name === 'string' && Number.isInteger(f.size) && f.size >= 0;
  if (!manifest || !listed(manifest.program) || !listed(manifest.module) || !Array.isArray(manifest.files) ||
      !manifest.files.every(listed))
    throw new Error('manifest.json is damaged (it is not the list of files this page needs): reload the page, or rebuild the site.');
  return manifest;
}

function loadScript(name, bytes) {
  return new Promise((resolve, reject) => {
    const s = document.createElement('script');
    s.src = URL.createObjectURL(new Blob([bytes], { type: 'text/javascript' }));
    s.onload = resolve;
    s.onerror = () => reject(new Error('Could not load ' + name + '.'));
    document.head.appendChild(s);
  });
}

// What the program says when it aborts is for its developers (the console),
// not for the viewer.
function stopped(what) {
  console.warn('isoloop stopped:', what);
  return 'The program stopped unexpectedly. Reload the page to try again.';
}

function leaveFullscreen() {
  if (document.fullscreenElement && document.exitFullscreen) document.exitFullscreen().catch(() => {});
}

function describe(e) {
  return e && e.message ? e.message : e;
}

// The one set-up of a program instance, for a show and for a capture alike:
// a fresh canvas on the stage, the data files in its file system, its console
// on the page's. `extra` adds what the caller's kind of run needs.
function createProgram(width, height, extra) {
  stage.textContent = '';
  const canvas = document.createElement('canvas');
  canvas.id = 'canvas';
  canvas.width = width;
  canvas.height = height;
  stage.appendChild(canvas);
  const mod = Object.assign({
    canvas: canvas,
    print: (t) => console.log(t),
    printErr: (t) => console.warn(t),
    preRun: [(m) => { for (const f of files) m.FS.writeFile('/' + f.name, f.bytes); }],
    locateFile: (name) => name,
    // The module compiled before Ready: instantiated, not fetched again.
    instantiateWasm: (imports, done) => {
      WebAssembly.instantiate(wasmModule, imports).then((i) => done(i, wasmModule), (e) => fail(stopped(e)));
      return {};
    },
  }, extra);
  return { canvas: canvas, mod: mod, ready: window.createIsoloop(mod) };
}

function endShow() {
  if (!playing) return;
  playing = false;
  if (instance && instance._isoweb_end_show) instance._isoweb_end_show();
  stopShowExtras();
  leaveFullscreen();
  startButton.textContent = 'Play again';
  say('The show has ended.', false);
  controls.hidden = false;
  startButton.focus();
  window.isowebState = 'ended';
}

async function start() {
  panel.hidden = true;
  playing = true;
  window.isowebState = 'starting';
  drawing.fixed = originalBox.checked;
  try {
    sessionStorage.setItem('isoloop.original', drawing.fixed ? '1' : '');
  } catch (e) { /* no storage: not remembered */ }
  limitK = Infinity;
  slowK = Infinity;
  holdScreen();
  if (fullscreenBox.checked && stage.requestFullscreen) {
    try {
      await stage.requestFullscreen();
      // Lets Escape reach the page instead of only leaving full screen.
      if (navigator.keyboard && navigator.keyboard.lock) navigator.keyboard.lock(['Escape']).catch(() => {});
    } catch (e) { /* a window will do */ }
  }
  try {
    const k = wantedK();
    const program = createProgram(4 * k, 3 * k, {
      onAbort: (what) => fail(stopped(what)),
      isowebEnded: endShow,
      isowebFailed: (sentence) => fail(sentence),
    });
    program.canvas.addEventListener('webglcontextlost', (e) => { e.preventDefault(); fail('The graphics context was lost. Reload the page to play again.'); });
    // The program's Module: the tests read what the program leaves on it.
    window.isowebModule = program.mod;
    instance = await program.ready;
    if (!playing) return;
    // A program that draws at its canvas's size (the demo; the GL probe draws at its own).
    if (typeof instance._isoweb_draw_width === 'function') {
      showCanvas = program.canvas;
      applySize('start');
      watchFrames(showCanvas);
    }
    if (typeof instance._isoweb_sound_running === 'function') watchSound();
    window.isowebState = 'playing';
  } catch (e) {
    fail(stopped(describe(e)));
  }
}

async function capture() {
  say('Capturing…', false);
  const size = (query.get('size') || '640x480').split('x').map(Number);
  try {
    await createProgram(size[0] || 640, size[1] || 480, {
      arguments: captureArguments,
      onAbort: (what) => { window.isoloopCapture = { error: 'the program stopped: ' + what }; },
    }).ready;
  } catch (e) {
    window.isoloopCapture = { error: 'the program could not start: ' + describe(e) };
  }
  if (!window.isoloopCapture) window.isoloopCapture = { error: 'the capture did not finish' };
  say(window.isoloopCapture.error ? 'The capture failed: ' + window.isoloopCapture.error : 'Capture done.', !!window.isoloopCapture.error);
}

async function prepare() {
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function')
    return fail('This browser has no WebAssembly, which isoloop needs. Try a current Firefox, Chrome or Safari.');
  if (!hasWebGL())
    return fail('This browser cannot give isoloop WebGL (it is turned off or not supported), so there is nothing to draw with. Check that hardware acceleration is enabled, or try another browser.');
  try {
    const manifest = readManifest(await fetchBytes('manifest.json'));
    files = [];
    for (const f of manifest.files) files.push({ name: f.name, bytes: await fetchListed(f) });
    const program = await fetchListed(manifest.program);
    const module = await fetchListed(manifest.module);
    try {
      wasmModule = await WebAssembly.compile(module);
    } catch (e) {
      throw new Error(manifest.module.name + ' could not be compiled: ' + describe(e) + '.');
    }
    await loadScript(manifest.program.name, program);
    if (typeof window.createIsoloop !== 'function') throw new Error('Could not load ' + manifest.program.name + '.');
  } catch (e) {
    return fail(e.message);
  }
  if (captureArguments) return capture();
  say('Ready. Sound starts with the show.', false);
  controls.hidden = false;
  startButton.focus();
  window.isowebState = 'ready';
}

try {
  originalBox.checked = sessionStorage.getItem('isoloop.original') === '1';
} catch (e) { /* no storage */ }
startButton.addEventListener('click', start);
endButton.addEventListener('click', endShow);
soundBar.addEventListener('click', startSound);
// A touch screen has no Escape: a tap on the picture offers End for a while.
stage.addEventListener('pointerup', () => { if (playing) showEndButton(); });
for (const e of ['resize', 'orientationchange']) window.addEventListener(e, () => applySize('fit'));
document.addEventListener('visibilitychange', () => {
  if (document.hidden) releaseScreen();
  else if (playing) holdScreen();
});
window.addEventListener('keydown', (e) => {
  if (e.key === 'Escape' && playing) {
    e.preventDefault();
    e.stopPropagation();
    endShow();
  }
}, true);
// In full screen the browser may keep Escape for itself: leaving full
// screen during a show is taken as the same wish.
document.addEventListener('fullscreenchange', () => {
  applySize('fit');
  if (!document.fullscreenElement && playing && window.isowebState === 'playing') endShow();
});
window.addEventListener('error', (e) => { if (playing) fail(stopped(e.message)); });
window.addEventListener('unhandledrejection', (e) => {
  if (playing) fail(stopped(describe(e.reason)));
});
prepare();
