// The page around the program: checks the browser can run it, fetches the
// data files, starts a show on a click (browsers start sound only after a
// gesture), ends it on Escape and offers another. Each show gets a fresh
// canvas and a fresh instance of the program. With ?capture in the address
// it runs the capture instead (see capture() below).
const panel = document.getElementById('panel');
const message = document.getElementById('message');
const controls = document.getElementById('controls');
const startButton = document.getElementById('start');
const fullscreenBox = document.getElementById('fullscreen');
const stage = document.getElementById('stage');

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

function say(text, isError) {
  message.textContent = text;
  message.className = isError ? 'error' : '';
  panel.hidden = false;
  if (isError) controls.hidden = true;
}

function fail(text) {
  if (captureArguments && !window.isoloopCapture) window.isoloopCapture = { error: text };
  playing = false;
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
  if (fullscreenBox.checked && stage.requestFullscreen) {
    try {
      await stage.requestFullscreen();
      // Lets Escape reach the page instead of only leaving full screen.
      if (navigator.keyboard && navigator.keyboard.lock) navigator.keyboard.lock(['Escape']).catch(() => {});
    } catch (e) { /* a window will do */ }
  }
  try {
    const program = createProgram(640, 480, {
      onAbort: (what) => fail(stopped(what)),
      isowebEnded: endShow,
      isowebFailed: (sentence) => fail(sentence),
    });
    program.canvas.addEventListener('webglcontextlost', (e) => { e.preventDefault(); fail('The graphics context was lost. Reload the page to play again.'); });
    // The program's Module: the tests read what the program leaves on it.
    window.isowebModule = program.mod;
    instance = await program.ready;
    if (playing) window.isowebState = 'playing';
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

startButton.addEventListener('click', start);
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
  if (!document.fullscreenElement && playing && window.isowebState === 'playing') endShow();
});
window.addEventListener('error', (e) => { if (playing) fail(stopped(e.message)); });
window.addEventListener('unhandledrejection', (e) => {
  if (playing) fail(stopped(describe(e.reason)));
});
prepare();
