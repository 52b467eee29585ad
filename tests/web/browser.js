// What the browser suites and the frame-rate benchmark share: their options,
// a static server on 127.0.0.1, the three engines (chromium through
// playwright-core, Firefox ESR through puppeteer-core over WebDriver BiDi,
// WebKitGTK through its WebDriver and selenium-webdriver), each in a fresh
// profile, behind one small page interface, and the start of a show.
'use strict';
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const net = require('node:net');
const os = require('node:os');
const path = require('node:path');

const root = path.join(__dirname, '..', '..');

// --name value on the command line, else ISOLOOP_NAME in the environment
// (what `npm test` passes on), else the fallback.
function option(name, fallback) {
  const i = process.argv.indexOf('--' + name);
  if (i >= 0 && i + 1 < process.argv.length) return process.argv[i + 1];
  const env = process.env['ISOLOOP_' + name.toUpperCase().replace(/-/g, '_')];
  return env !== undefined && env !== '' ? env : fallback;
}

const webOut = path.resolve(root, option('web', 'build-web'));
const options = {
  site: path.resolve(root, option('site', path.join(webOut, 'site'))),
  probeSite: path.resolve(root, option('probe-site', path.join(webOut, 'probe-site'))),
  reference: path.resolve(root, option('reference', path.join(webOut, 'native', 'native.ppm'))),
  build: path.resolve(root, option('build', 'build')),
  engines: option('engines', 'chromium,firefox,webkit').split(','),
  showSeconds: Number(option('show-seconds', '30')),
};

const types = {
  '.html': 'text/html',
  '.js': 'text/javascript',
  '.css': 'text/css',
  '.wasm': 'application/wasm',
  '.json': 'application/json',
  '.png': 'image/png',
};

// Serves root, and each extra folder under its prefix (mounts: {'/native/':
// dir}); resolves to {server, base} with base the site's URL.
function serve(siteRoot, mounts = {}) {
  const roots = [...Object.entries(mounts), ['/', siteRoot]].map(([p, d]) => [p, path.resolve(d)]);
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const [prefix, dir] = roots.find(([p]) => name.startsWith(p));
    const rest = name.slice(prefix.length);
    const file = path.join(dir, rest === '' ? 'index.html' : rest);
    if (!file.startsWith(dir) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      res.writeHead(404);
      return res.end('not found');
    }
    res.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve) =>
    server.listen(0, '127.0.0.1', () => resolve({ server, base: `http://127.0.0.1:${server.address().port}/` })),
  );
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// --- one page interface over the three drivers -----------------------------------
// goto, evaluate(fn, arg) (fn runs in the page; may return a promise),
// waitFor(fn, arg, timeout), click(selector), uncheck(selector),
// press(key), close(), errors() (console errors, uncaught exceptions and the
// GL layer's word about GL it does not cover). raw: the driver's own page.
function pollUntil(evaluate) {
  return async (fn, arg, timeout = 30000) => {
    const end = Date.now() + timeout;
    for (;;) {
      const v = await evaluate(fn, arg);
      if (v) return v;
      if (Date.now() > end) throw new Error('timed out after ' + timeout + ' ms waiting for ' + fn);
      await sleep(100);
    }
  };
}

function consoleErrors(page) {
  const errors = [];
  page.on('console', (m) => {
    if (m.type() === 'error' || m.text().includes('GL layer')) errors.push(m.text());
  });
  page.on('pageerror', (e) => errors.push(String(e)));
  return errors;
}

// chromium and Firefox: playwright's and puppeteer's pages share these names.
function wrapPage(page) {
  const evaluate = (fn, arg) => page.evaluate(fn, arg);
  const errors = consoleErrors(page);
  return {
    raw: page,
    errors: async () => errors,
    goto: (url) => page.goto(url),
    evaluate,
    waitFor: pollUntil(evaluate),
    click: (selector) => page.click(selector),
    async uncheck(selector) {
      if (await evaluate((s) => document.querySelector(s).checked, selector)) await page.click(selector);
    },
    press: (key) => page.keyboard.press(key),
    close: () => page.close(),
  };
}

// Headless chromium with SwiftShader's WebGL, as a viewer's would be.
const chromiumFlags = [
  '--headless',
  '--no-sandbox',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
  '--disable-quic',
  '--use-gl=angle',
  '--use-angle=swiftshader',
  '--enable-unsafe-swiftshader',
];

// Or headed on the current DISPLAY, its WebGL through ANGLE on the system's
// GL (Mesa's llvmpipe under Xvfb): a machine whose GPU is weak but usable.
const systemGlFlags = [
  ...chromiumFlags.filter((f) => f !== '--headless' && !/swiftshader/.test(f)),
  '--use-angle=gl',
  '--ignore-gpu-blocklist',
];

// A fresh profile per launch, removed on close. newPage() gives the page
// interface; its raw page is playwright's, for the checks only chromium runs.
async function launch(extra = [], { systemGl = false } = {}) {
  const { chromium } = require('playwright-core');
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'isoloop-chromium-'));
  const context = await chromium.launchPersistentContext(dir, {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: !systemGl,
    args: [...(systemGl ? systemGlFlags : chromiumFlags), ...extra],
  });
  return {
    engine: 'chromium',
    context,
    async newPage({ viewport } = { viewport: { width: 640, height: 480 } }) {
      const page = await context.newPage();
      await page.setViewportSize(viewport);
      return wrapPage(page);
    },
    async close() {
      await context.close().catch(() => {});
      fs.rmSync(dir, { recursive: true, force: true });
    },
  };
}

// Firefox ESR headed (its headless mode offers no WebGL here), under the
// display the suites run in (Xvfb in run.sh), Mesa's llvmpipe for WebGL. Sound
// may start without a gesture's blessing being checked twice: the pages
// start it from a real click anyway.
async function launchFirefox() {
  const puppeteer = require('puppeteer-core');
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
    headless: false,
    defaultViewport: { width: 640, height: 480 },
    extraPrefsFirefox: { 'media.autoplay.default': 0, 'media.autoplay.block-webaudio': false },
  });
  return {
    engine: 'firefox',
    async newPage() {
      return wrapPage(await browser.newPage());
    },
    close: () => browser.close().catch(() => {}),
  };
}

function freePort() {
  return new Promise((resolve, reject) => {
    const s = net.createServer();
    s.on('error', reject);
    s.listen(0, '127.0.0.1', () => {
      const { port } = s.address();
      s.close(() => resolve(port));
    });
  });
}

function miniBrowser() {
  const lib = '/usr/lib/' + (os.arch() === 'arm64' ? 'aarch64' : 'x86_64') + '-linux-gnu';
  for (const v of ['webkit2gtk-4.1', 'webkit2gtk-4.0', 'webkitgtk-6.0']) {
    const f = path.join(lib, v, 'MiniBrowser');
    if (fs.existsSync(f)) return f;
  }
  throw new Error('no WebKitGTK MiniBrowser in ' + lib);
}

// In the page: console errors, uncaught exceptions and the GL layer's words
// collected in window.isowebErrors, from the moment it runs.
function keepErrors() {
  const errors = (window.isowebErrors = []);
  const error = console.error.bind(console);
  const log = console.log.bind(console);
  console.error = (...a) => {
    errors.push(a.join(' '));
    error(...a);
  };
  console.log = (...a) => {
    if (a.join(' ').includes('GL layer')) errors.push(a.join(' '));
    log(...a);
  };
  window.addEventListener('error', (e) => errors.push(String(e.message)));
  window.addEventListener('unhandledrejection', (e) => errors.push(String(e.reason)));
}

// WebKitGTK's MiniBrowser, headed under the same display, through
// WebKitWebDriver (classic WebDriver). The driver reports no console messages.
async function launchWebKit() {
  const { Builder, By, Key } = require('selenium-webdriver');
  const port = await freePort();
  const server = spawn(process.env.WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver', ['--port=' + port], {
    stdio: 'ignore',
  });
  const url = `http://127.0.0.1:${port}`;
  let driver;
  for (let tries = 0; ; tries++) {
    try {
      driver = await new Builder()
        .usingServer(url)
        .withCapabilities({
          browserName: 'MiniBrowser',
          'webkitgtk:browserOptions': { binary: miniBrowser(), args: ['--automation'] },
        })
        .build();
      break;
    } catch (e) {
      if (tries > 50) {
        server.kill();
        throw e;
      }
      await sleep(200);
    }
  }
  await driver.manage().window().setRect({ width: 640, height: 480 });
  await driver.manage().setTimeouts({ script: 600000 });
  // The function's source and its argument go as text; a promise it
  // returns is awaited in the page.
  const evaluate = (fn, arg) =>
    driver.executeAsyncScript(
      'const done = arguments[arguments.length - 1];' +
        `Promise.resolve().then(() => (${fn})(arguments[0]))` +
        '.then((v) => done(v === undefined ? null : v), (e) => done({ thrown: String(e) }));',
      arg === undefined ? null : arg,
    );
  let open = true;
  return {
    engine: 'webkit',
    async newPage() {
      return {
        raw: driver,
        // WebKitWebDriver passes on no console messages: the page keeps them.
        errors: () => evaluate(() => window.isowebErrors || []),
        async goto(u) {
          await driver.get(u);
          await evaluate(keepErrors);
        },
        evaluate,
        waitFor: pollUntil(evaluate),
        click: async (selector) => (await driver.findElement(By.css(selector))).click(),
        async uncheck(selector) {
          const e = await driver.findElement(By.css(selector));
          if (await e.isSelected()) await e.click();
        },
        press: (key) =>
          driver
            .actions()
            .sendKeys(key === 'Escape' ? Key.ESCAPE : key)
            .perform(),
        close: () => driver.get('about:blank'),
      };
    },
    async close() {
      if (!open) return;
      open = false;
      await driver.quit().catch(() => {});
      server.kill();
    },
  };
}

// An engine by name: 'chromium', 'firefox' or 'webkit'.
function openEngine(name) {
  if (name === 'chromium') return launch();
  if (name === 'firefox') return launchFirefox();
  if (name === 'webkit') return launchWebKit();
  throw new Error('unknown engine ' + name);
}

// --- the page -------------------------------------------------------------------
async function waitState(page, states, timeout = 30000) {
  await page.waitFor((s) => s.includes(window.isowebState), states, timeout);
  return page.evaluate(() => window.isowebState);
}

const message = (page) => page.evaluate(() => document.getElementById('message').textContent);

// A page that should end in a sentence instead of a show: its message, and
// whether the message and the Start button are visible (chromium).
async function messageShown(browser, base, viewport, prepare) {
  const page = await browser.newPage({ viewport });
  if (prepare) await prepare(page.raw);
  await page.goto(base);
  await waitState(page, ['error'], 20000).catch(() => {});
  const shown = {
    text: await message(page),
    visible: await page.raw.isVisible('#message'),
    start: await page.raw.isVisible('#start'),
  };
  await page.close();
  return shown;
}

// The viewer's way in: open the page, wait for "Ready", untick full screen
// and click Start. Resolves to the state the page reached before the click
// and its message.
async function startShow(page, base) {
  await page.goto(base);
  const state = await waitState(page, ['ready', 'error'], 60000);
  const text = await message(page);
  if (state === 'ready') {
    await page.uncheck('#fullscreen');
    await page.click('#start');
  }
  return { state, message: text };
}

module.exports = {
  options,
  serve,
  sleep,
  launch,
  openEngine,
  waitState,
  message,
  messageShown,
  startShow,
};
