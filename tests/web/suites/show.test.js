// The show on any screen, in chromium (headless, SwiftShader's WebGL): the
// drawing size follows the window and devicePixelRatio at 4:3 (a phone in
// portrait and turned, a 4K window at ratio 2), steps down when frames come
// slowly and keeps the original 640x480 when asked; the screen's wake lock is
// taken and let go; Start and the end work from a touch; and a page whose
// sound is held back says so and starts it on a click; in Firefox (when
// among the engines), whose sound may not start here, the sentence shows
// exactly when the device does not pull.
//   node --test suites/show.test.js [--site DIR] [--engines ...]
'use strict';
const assert = require('node:assert/strict');
const { after, before, describe, test } = require('node:test');
const { options, serve, sleep, launch, openEngine, waitState, message, startShow } = require('../browser');

let server, base, browser;
before(async () => {
  ({ server, base } = await serve(options.site));
  browser = await launch();
});
after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
});

// In the page before it loads: a wake lock that records what the page asks
// of it (headless chromium grants none), and the size held where the page
// first fits it when asked (window.isowebHoldSize).
function stubWakeLock() {
  const log = (window.isowebWakeLog = []);
  Object.defineProperty(navigator, 'wakeLock', {
    configurable: true,
    value: {
      request: async (type) => {
        log.push('request ' + type);
        const listeners = [];
        return {
          released: false,
          addEventListener: (name, f) => name === 'release' && listeners.push(f),
          async release() {
            if (this.released) return;
            this.released = true;
            log.push('release');
            listeners.forEach((f) => f());
          },
        };
      },
    },
  });
}

// A page whose AudioContexts stay suspended until window.isowebLetSoundRun
// is set: resume() is counted and refused till then, as a browser without a
// device or under a strict autoplay policy does.
function holdSound() {
  window.isowebResumeAsked = 0;
  const Real = window.AudioContext;
  class Held extends Real {
    constructor(...a) {
      super(...a);
      super.suspend();
    }
    resume() {
      window.isowebResumeAsked++;
      return window.isowebLetSoundRun ? super.resume() : Promise.resolve();
    }
  }
  window.AudioContext = Held;
  window.webkitAudioContext = Held;
}

async function openPage({ width, height, ratio = 1, mobile = false, hold = false, init = [] }) {
  const page = await browser.newPage({ viewport: { width, height } });
  const raw = page.raw;
  await raw.addInitScript(stubWakeLock);
  if (hold) await raw.addInitScript(() => (window.isowebHoldSize = true));
  for (const f of init) await raw.addInitScript(f);
  const cdp = await raw.context().newCDPSession(raw);
  await metrics(cdp, { width, height, ratio, mobile });
  await page.goto(base);
  assert.equal(await waitState(page, ['ready', 'error'], 60000), 'ready', await message(page));
  await page.uncheck('#fullscreen');
  return { page, raw, cdp };
}

const metrics = (cdp, { width, height, ratio, mobile }) =>
  cdp.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: ratio, mobile });

// A finger's tap at the middle of the element (chromium turns it into the
// pointer events and the click a phone gives).
async function tap(raw, cdp, selector) {
  const b = await raw.evaluate((s) => {
    const r = document.querySelector(s).getBoundingClientRect();
    return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
  }, selector);
  await cdp.send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 1 });
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x: b.x, y: b.y }] });
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
}

const playingShow = () =>
  window.isowebState === 'playing' && window.isowebModule && window.isowebModule._isoweb_frames() > 0;

// The canvas's drawing buffer, the program's drawing size, the page's fit,
// and where the picture is on the screen.
function looks(page) {
  return page.evaluate(() => {
    const c = document.getElementById('canvas');
    const r = c.getBoundingClientRect();
    const m = window.isowebModule;
    return {
      buffer: [c.width, c.height],
      drawn: [m._isoweb_draw_width(), m._isoweb_draw_height()],
      fit: window.isowebDrawing.fit,
      rect: { x: r.x, y: r.y, w: r.width, h: r.height },
      window: [innerWidth, innerHeight],
      changes: window.isowebDrawing.changes,
    };
  });
}

// The program draws at the buffer's size once a frame has passed since it changed.
async function settled(page) {
  await page.waitFor(() => {
    const c = document.getElementById('canvas');
    const m = window.isowebModule;
    return m._isoweb_draw_width() === c.width && m._isoweb_draw_height() === c.height;
  });
  return looks(page);
}

function assertWhole(l, what) {
  const [w, h] = l.window;
  assert.ok(l.rect.x >= -0.5 && l.rect.y >= -0.5, `${what}: picture starts on screen ${JSON.stringify(l.rect)}`);
  assert.ok(l.rect.x + l.rect.w <= w + 0.5 && l.rect.y + l.rect.h <= h + 0.5, `${what}: picture ends on screen`);
  assert.ok(Math.abs(l.rect.x * 2 + l.rect.w - w) <= 1, `${what}: centred across ${JSON.stringify(l)}`);
  assert.ok(Math.abs(l.rect.y * 2 + l.rect.h - h) <= 1, `${what}: centred down ${JSON.stringify(l)}`);
  assert.ok(Math.abs(l.rect.w * 3 - l.rect.h * 4) <= 4, `${what}: shown at 4:3 ${JSON.stringify(l.rect)}`);
  assert.ok(
    Math.abs(l.rect.w - w) <= 0.5 || Math.abs(l.rect.h - h) <= 0.5,
    `${what}: as large as fits ${JSON.stringify(l)}`,
  );
}

describe('the drawing size', () => {
  test('a phone in portrait: a whole 4:3 picture at 3 device pixels a pixel, started and ended by touch', async () => {
    const { page, raw, cdp } = await openPage({ width: 390, height: 844, ratio: 3, mobile: true, hold: true });
    try {
      await tap(raw, cdp, '#start');
      await page.waitFor(playingShow, null, 60000);
      let l = await settled(page);
      // 390 CSS pixels across at ratio 3: 1170 device pixels, 4:3 in whole steps of 4x3.
      assert.deepEqual(l.fit, [1168, 876]);
      assert.deepEqual(l.buffer, [1168, 876]);
      assert.deepEqual(l.drawn, [1168, 876]);
      assertWhole(l, 'portrait');

      // Turned: the picture refits, now bound by the height.
      await metrics(cdp, { width: 844, height: 390, ratio: 3, mobile: true });
      await page.waitFor(() => document.getElementById('canvas').width === 1560, null, 10000);
      l = await settled(page);
      assert.deepEqual(l.buffer, [1560, 1170]);
      assertWhole(l, 'landscape');

      // No Escape on a phone: a tap on the picture offers End, a tap on End ends.
      assert.match(await raw.textContent('.hint'), /tap the picture/);
      await tap(raw, cdp, '#stage');
      await page.waitFor(() => !document.getElementById('end').hidden, null, 5000);
      await tap(raw, cdp, '#end');
      assert.equal(await waitState(page, ['ended'], 10000), 'ended');
      const frames = await page.evaluate(() => window.isowebModule._isoweb_frames());
      await sleep(500);
      assert.equal(await page.evaluate(() => window.isowebModule._isoweb_frames()), frames, 'frames stop');
      assert.deepEqual(await page.evaluate(() => window.isowebWakeLog), ['request screen', 'release']);
      assert.deepEqual(await page.errors(), []);
    } finally {
      await page.close();
    }
  });

  test('a 4K window at ratio 2: 2880x2160 device pixels, bars at the sides', async () => {
    const { page } = await openPage({ width: 1920, height: 1080, ratio: 2, hold: true });
    try {
      await page.click('#start');
      await page.waitFor(playingShow, null, 60000);
      const l = await settled(page);
      assert.deepEqual(l.buffer, [2880, 2160]);
      assert.deepEqual(l.drawn, [2880, 2160]);
      assertWhole(l, '4K');
      assert.ok(Math.abs(l.rect.w - 1440) <= 0.5, `1440 CSS pixels across: ${l.rect.w}`);
    } finally {
      await page.close();
    }
  });

  test('slow frames lower the size step by step, never below 320x240; room raises it again', async () => {
    // Each animation frame made 60 ms long while window.isowebSlow is set.
    const slow = () => {
      const raf = window.requestAnimationFrame.bind(window);
      const spin = () => {
        if (window.isowebSlow) {
          const end = performance.now() + 60;
          while (performance.now() < end);
        }
        raf(spin);
      };
      raf(spin);
    };
    const { page } = await openPage({ width: 640, height: 480, ratio: 1, init: [slow] });
    try {
      await page.click('#start');
      await page.waitFor(playingShow, null, 60000);
      await page.evaluate(() => (window.isowebSlow = true));
      await page.waitFor(() => document.getElementById('canvas').width <= 320, null, 40000);
      await sleep(3000);
      let l = await settled(page);
      const down = l.changes.filter((c) => c.why === 'slow');
      assert.ok(down.length >= 3, `stepped down in steps: ${JSON.stringify(l.changes)}`);
      for (let i = 1; i < down.length; i++) assert.ok(down[i].width < down[i - 1].width, 'each step smaller');
      for (const c of l.changes) assert.equal(c.width * 3, c.height * 4, `4:3: ${JSON.stringify(c)}`);
      assert.deepEqual(l.buffer, [320, 240], 'held at 320x240');
      assertWhole(l, 'smallest');

      await page.evaluate(() => (window.isowebSlow = false));
      await page.waitFor(() => document.getElementById('canvas').width > 320, null, 60000);
      l = await looks(page);
      assert.ok(
        l.changes.some((c) => c.why === 'room'),
        JSON.stringify(l.changes),
      );
    } finally {
      await page.close();
    }
  });

  test('original 640x480: fixed at any ratio, slow or not, remembered for the session', async () => {
    const slow = () => {
      const raf = window.requestAnimationFrame.bind(window);
      const spin = () => {
        const end = performance.now() + 60;
        while (performance.now() < end);
        raf(spin);
      };
      raf(spin);
    };
    const { page, raw } = await openPage({ width: 1280, height: 960, ratio: 2, init: [slow] });
    try {
      await raw.check('#original');
      await page.click('#start');
      await page.waitFor(playingShow, null, 60000);
      await sleep(5000);
      const l = await settled(page);
      assert.deepEqual(l.buffer, [640, 480]);
      assert.deepEqual(l.drawn, [640, 480]);
      assert.deepEqual(l.changes, [], 'never resized');
      await page.press('Escape');
      await waitState(page, ['ended'], 10000);
      await page.goto(base);
      await waitState(page, ['ready'], 60000);
      assert.equal(await raw.isChecked('#original'), true, 'remembered on reload');
    } finally {
      await page.close();
    }
  });
});

describe('the screen kept on', () => {
  test('the wake lock is taken with the show, let go when the tab hides, taken again, let go at the end', async () => {
    const { page } = await openPage({ width: 640, height: 480 });
    const setHidden = (h) =>
      page.evaluate((hidden) => {
        Object.defineProperty(document, 'hidden', { configurable: true, get: () => hidden });
        Object.defineProperty(document, 'visibilityState', {
          configurable: true,
          get: () => (hidden ? 'hidden' : 'visible'),
        });
        document.dispatchEvent(new Event('visibilitychange'));
      }, h);
    const log = () => page.evaluate(() => window.isowebWakeLog);
    try {
      assert.deepEqual(await log(), [], 'nothing before Start');
      await page.click('#start');
      await page.waitFor(playingShow, null, 60000);
      assert.deepEqual(await log(), ['request screen']);
      await setHidden(true);
      await sleep(300);
      assert.deepEqual(await log(), ['request screen', 'release']);
      await setHidden(false);
      await sleep(300);
      assert.deepEqual(await log(), ['request screen', 'release', 'request screen']);
      await page.press('Escape');
      await waitState(page, ['ended'], 10000);
      await sleep(300);
      assert.deepEqual(await log(), ['request screen', 'release', 'request screen', 'release']);
    } finally {
      await page.close();
    }
  });
});

describe('sound that starts, or a sentence', () => {
  test('sound held back: the page says so, and a click starts it', async () => {
    const { page, raw } = await openPage({ width: 640, height: 480, init: [holdSound] });
    try {
      await page.click('#start');
      await page.waitFor(playingShow, null, 60000);
      await page.waitFor(() => window.isowebSound === 'held', null, 10000);
      assert.ok(await raw.isVisible('#sound'), 'the sentence is shown');
      assert.match(await raw.textContent('#sound-message'), /holding the sound back/);
      const frozen = await page.evaluate(() => window.isowebModule._isoweb_callbacks());

      // A click the browser refuses changes nothing; one it lets through starts the show's sound.
      await page.click('#sound');
      await sleep(1000);
      assert.ok((await page.evaluate(() => window.isowebResumeAsked)) >= 1, 'the click asks for the sound');
      assert.equal(await page.evaluate(() => window.isowebSound), 'held');
      await page.evaluate(() => (window.isowebLetSoundRun = true));
      await page.click('#sound');
      await page.waitFor(() => window.isowebSound === 'running', null, 10000);
      assert.ok(!(await raw.isVisible('#sound')), 'the sentence goes');
      assert.ok((await page.evaluate(() => window.isowebModule._isoweb_callbacks())) > frozen, 'the device pulls');
    } finally {
      await page.close();
    }
  });

  test('sound running: no sentence', async () => {
    const { page, raw } = await openPage({ width: 640, height: 480 });
    try {
      await page.click('#start');
      await page.waitFor(playingShow, null, 60000);
      await sleep(3000);
      assert.equal(await page.evaluate(() => window.isowebSound), 'running');
      assert.ok(!(await raw.isVisible('#sound')));
    } finally {
      await page.close();
    }
  });
});

describe('sound in Firefox', () => {
  test('the sentence shows exactly when the sound device does not run', async (t) => {
    if (!options.engines.includes('firefox')) return t.skip('Firefox is not among the engines');
    if (!process.env.DISPLAY) return t.skip('Firefox runs headed: no display');
    const firefox = await openEngine('firefox');
    try {
      const page = await firefox.newPage();
      const { state, message: text } = await startShow(page, base);
      assert.equal(state, 'ready', text);
      await page.waitFor(playingShow, null, 60000);
      const a = await page.evaluate(() => window.isowebModule._isoweb_callbacks());
      await sleep(4000);
      const r = await page.evaluate(() => ({
        sound: window.isowebSound,
        running: window.isowebModule._isoweb_sound_running(),
        pulls: window.isowebModule._isoweb_callbacks(),
        bar: !document.getElementById('sound').hidden,
        text: document.getElementById('sound-message').textContent,
      }));
      const pulling = r.running === 1 && r.pulls - a >= 20; // 21.5 pulls a second when it runs
      t.diagnostic(`Firefox's sound here: ${pulling ? 'running' : 'held back'} (${r.pulls - a} pulls in 4 s)`);
      assert.equal(r.sound, pulling ? 'running' : 'held', JSON.stringify(r));
      assert.equal(r.bar, !pulling, 'the sentence shown when held, only then');
      if (!pulling) assert.match(r.text, /holding the sound back/);
      await page.press('Escape');
      assert.equal(await waitState(page, ['ended'], 10000), 'ended');
    } finally {
      await firefox.close();
    }
  });
});
