// What the browser tests and the frame-rate benchmark share: a static server
// on 127.0.0.1, Debian's chromium headless with software WebGL in a fresh
// profile, and a page's console errors.
'use strict';
const { chromium } = require('playwright-core');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');

const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.json': 'application/json', '.png': 'image/png' };

// Serves root; resolves to {server, base} with base the site's URL.
function serve(root) {
  root = path.resolve(root);
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.join(root, name === '/' ? 'index.html' : name);
    if (!file.startsWith(root) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      res.writeHead(404);
      return res.end('not found');
    }
    res.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () =>
    resolve({ server, base: `http://127.0.0.1:${server.address().port}/` })));
}

const baseFlags = ['--headless', '--no-sandbox', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--disable-quic'];
const softwareGL = ['--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'];

// A fresh profile per launch, removed on close.
async function launch(extra = []) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'isoloop-chromium-'));
  const context = await chromium.launchPersistentContext(dir, {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: [...baseFlags, ...softwareGL, ...extra],
  });
  return {
    context,
    async newPage({ viewport }) {
      const page = await context.newPage();
      await page.setViewportSize(viewport);
      return page;
    },
    async close() {
      await context.close().catch(() => {});
      fs.rmSync(dir, { recursive: true, force: true });
    },
  };
}

// Console errors and uncaught exceptions a page produced; the GL layer names,
// once, any GL use it does not draw as GL would, which counts as one too.
function watch(page) {
  const errors = [];
  page.on('console', (m) => {
    if (m.type() === 'error' || m.text().includes('GL layer')) errors.push(m.text());
  });
  page.on('pageerror', (e) => errors.push(String(e)));
  return errors;
}

async function waitState(page, states, timeout = 30000) {
  await page.waitForFunction((s) => s.includes(window.isowebState), states, { timeout });
  return page.evaluate(() => window.isowebState);
}

// A page that should end in a sentence instead of a show: its message, and
// whether the message and the Start button are visible.
async function messageShown(browser, base, viewport, prepare) {
  const page = await browser.newPage({ viewport });
  if (prepare) await prepare(page);
  await page.goto(base);
  await waitState(page, ['error'], 20000).catch(() => {});
  const shown = {
    text: (await page.textContent('#message')) || '',
    visible: await page.isVisible('#message'),
    start: await page.isVisible('#start'),
  };
  await page.close();
  return shown;
}

module.exports = { serve, launch, watch, waitState, messageShown };
