// The browser build played in headless Chromium over the DevTools protocol,
// from a local server: the splash and title frames equal the golden frames
// pixel for pixel, a key press starts a game, a shot fired with a gamepad
// scores 10 on the panel, sound reaches Web Audio as 8000 Hz blocks,
// Escape goes back to the splash; the touch controls stay hidden.
// Then a phone, landscape and portrait (phone_test.mjs): touch controls,
// tap to start, pause when hidden, the manifest and the offline copy.
// The passes per second over 10 s of play are printed, never judged.
// Usage: node browser_test.mjs BUILD_WEB_DIR SOURCE_DIR
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';
import { phoneTests } from './phone_test.mjs';
import { settingsTests } from './settings_test.mjs';

const [buildDir = 'build-web', sourceDir = '.'] = process.argv.slice(2);
const W = 2500;
const SCORE = { x: 2436, y: 40, w: 48, h: 8 };  // six 8 x 8 digits of the panel
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures += 1;
  return ok;
}

// A golden frame's RGB bytes (binary PPM, gzip'd).
function golden(name) {
  const data = zlib.gunzipSync(fs.readFileSync(path.join(sourceDir, 'tests/golden', `${name}.ppm.gz`)));
  let at = 0;
  for (let lines = 0; lines < 3; at++) if (data[at] === 10) lines++;
  return data.subarray(at);
}
// FNV-1a over R, G, B of every pixel; the page computes the same over its canvas.
function hashRgb(rgb) {
  let h = 0x811c9dc5;
  for (let i = 0; i < rgb.length; i++) h = Math.imul(h ^ rgb[i], 16777619);
  return h >>> 0;
}
function region(rgb, x, y, w, h) {
  const out = [];
  for (let r = y; r < y + h; r++) out.push(...rgb.subarray(3 * (r * W + x), 3 * (r * W + x + w)));
  return out.join(',');
}
// The panel's score as digit cells cut from a golden frame's score.
function digits(rgb, cells) {
  const rows = [];
  for (let r = 0; r < SCORE.h; r++) {
    for (const c of cells) rows.push(region(rgb, SCORE.x + 8 * c, SCORE.y + r, 8, 1));
  }
  return rows.join(',');
}

const splash = hashRgb(golden('splash'));
const titlePrompt = hashRgb(golden('title_prompt'));
const titleBlank = hashRgb(golden('title_blank'));
const gameOver = golden('game_over');  // score 001230: cells 0 and 5 are '0', cell 2 is '1'
const score0 = region(golden('game_begin'), SCORE.x, SCORE.y, SCORE.w, SCORE.h);
const score10 = digits(gameOver, [0, 0, 0, 0, 2, 5]);
if (digits(gameOver, [0, 0, 0, 0, 0, 0]) !== score0) throw new Error('the golden panels disagree on the digit cells');

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json', '.png': 'image/png' };
// serving.newBuild stands for a rebuilt game: another build hash in sw.js
// and a mark in the page that the test can see.
const serving = { newBuild: false, requests: 0 };
const server = http.createServer((req, res) => {
  const name = req.url === '/' ? 'index.html' : path.basename(req.url.split('?')[0]);
  const file = path.join(buildDir, name);
  if (!TYPES[path.extname(name)] || !fs.existsSync(file)) return res.writeHead(404).end();
  serving.requests += 1;
  res.writeHead(200, { 'Content-Type': TYPES[path.extname(name)], 'Cache-Control': 'no-cache' });
  if (serving.newBuild && (name === 'sw.js' || name === 'index.html')) {
    const text = fs.readFileSync(file, 'utf8');
    return res.end(name === 'sw.js' ? text.replace(/zuba-trilo-[0-9a-f]+/, 'zuba-trilo-0000000000000new')
      : text.replace('<head>', '<head><meta name="zuba-test-build" content="new">'));
  }
  fs.createReadStream(file).pipe(res);
});
await new Promise((r) => server.listen(0, '127.0.0.1', r));

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--mute-audio'],
});
// Before the page's own scripts: watch what reaches Web Audio, count the
// animation frames, and read back the canvas.
async function instrument(page) {
  page.on('pageerror', (e) => check(false, `page error: ${e.message}`));
  await page.evaluateOnNewDocument(() => {
    const sound = (window.zubaSound = { blocks: 0, rates: [], lengths: [], loud: 0 });
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...args) {
      const b = this.buffer;
      sound.blocks += 1;
      if (!sound.rates.includes(b.sampleRate)) sound.rates.push(b.sampleRate);
      if (!sound.lengths.includes(b.length)) sound.lengths.push(b.length);
      if (b.getChannelData(0).some((v) => v !== 0)) sound.loud += 1;
      return start.apply(this, args);
    };
    // A gamepad that the browser offers only once the test connects it, as a
    // real one shows up only after its first button press.
    const pad = (window.zubaPad = { id: 'test pad', index: 0, connected: false, mapping: 'standard',
      timestamp: 1, axes: [0, 0, 0, 0], buttons: Array.from({ length: 16 }, () => ({ pressed: false, value: 0 })) });
    Object.defineProperty(navigator, 'getGamepads', { value: () => (pad.connected ? [pad] : []) });
    window.zubaAnimationFrames = 0;
    const count = () => { window.zubaAnimationFrames += 1; requestAnimationFrame(count); };
    requestAnimationFrame(count);
    const pixels = (x, y, w, h) => document.getElementById('screen').getContext('2d').getImageData(x, y, w, h).data;
    window.zubaFrame = () => {
      const d = pixels(0, 0, 2500, 1300);
      let h = 0x811c9dc5;
      for (let i = 0; i < d.length; i += 4) {
        h = Math.imul(h ^ d[i], 16777619);
        h = Math.imul(h ^ d[i + 1], 16777619);
        h = Math.imul(h ^ d[i + 2], 16777619);
      }
      return h >>> 0;
    };
    window.zubaRegion = (x, y, w, h) => Array.from(pixels(x, y, w, h)).filter((_, i) => i % 4 !== 3).join(',');
    // The cannon's left edge: the longest lit run on its bottom row (a bomb
    // crossing that row is narrower), or -1 while it blinks off.
    window.zubaCannonX = (y) => {
      const d = pixels(0, y, 2500, 1);
      let best = -1, bestLength = 0;
      for (let x = 0, run = 0; x <= 2500; x++) {
        const lit = x < 2500 && (d[4 * x] | d[4 * x + 1] | d[4 * x + 2]) !== 0;
        if (lit) { run += 1; continue; }
        if (run > bestLength) { bestLength = run; best = x - run; }
        run = 0;
      }
      return bestLength >= 8 ? best : -1;
    };
    // Every Web Audio context the page makes, to see whether sound runs.
    const Context = window.AudioContext;
    window.zubaAudio = [];
    window.AudioContext = function (...args) {
      const c = new Context(...args);
      window.zubaAudio.push(c);
      return c;
    };
  });
}

// What a test reads from a page, and a wait that checks a rule.
async function waitFor(what, seconds, test) {
  for (const end = Date.now() + seconds * 1000; Date.now() < end; await sleep(50)) if (await test()) return check(true, what);
  return check(false, `${what} (not within ${seconds} s)`);
}
function reader(page) {
  return {
    passes: () => page.evaluate(() => Module._web_pass_count()),
    frameHash: () => page.evaluate(() => zubaFrame()),
    score: () => page.evaluate((s) => zubaRegion(s.x, s.y, s.w, s.h), SCORE),
    started: () => page.waitForFunction(() => typeof Module !== 'undefined' && Module._web_pass_count &&
      Module._web_pass_count() > 0, { timeout: 20000 }),
  };
}

const { port } = server.address();
const URL = `http://127.0.0.1:${port}/`;
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 720 });
  await instrument(page);
  await page.goto(URL);
  const { passes, frameHash, score, started } = reader(page);
  await started();
  const shown = await page.evaluate(() => ['Left', 'Right', 'Fire'].filter((l) =>
    document.querySelector(`button[aria-label="${l}"]`).getClientRects().length > 0));
  check(shown.length === 0, `a desktop page shows no touch controls (shown: ${shown.join(', ') || 'none'})`);
  async function tap(key) {
    await page.keyboard.down(key);
    await sleep(80);
    await page.keyboard.up(key);
  }
  const pad = (fire, stick) => page.evaluate((f, x) => {
    zubaPad.buttons[1].pressed = f;
    zubaPad.axes[0] = x;
    zubaPad.timestamp += 1;
  }, fire, stick);

  await waitFor('the splash card equals the golden splash frame', 5, async () => (await frameHash()) === splash);
  const seen = new Set();
  await waitFor('the title equals both golden title frames, prompt shown and blanked', 10, async () => {
    seen.add(await frameHash());
    return seen.has(titlePrompt) && seen.has(titleBlank);
  });
  await tap('z');
  await waitFor('a key press starts a game (score 000000 on the panel)', 5, async () => (await score()) === score0);
  const sound = await page.evaluate(() => zubaSound);
  check(sound.rates.join() === '8000' && sound.lengths.join() === '2000' && sound.loud > 0,
    `sound reaches Web Audio as 2000-sample blocks at 8000 Hz (rates ${sound.rates}, lengths ${sound.lengths}, ${sound.loud} of ${sound.blocks} blocks not silent)`);
  await page.evaluate(() => { zubaPad.connected = true; });
  await sleep(200);
  let last = 0;
  // Sweeping right with the stick while firing finds a gap in the shields.
  await waitFor("a shot fired with the gamepad's stick and button 1 scores 10 on the panel", 40, async () => {
    if (Date.now() - last > 500) {
      last = Date.now();
      await pad(true, 1);
      await sleep(80);
      await pad(false, 1);
    }
    return (await score()) === score10;
  });

  await pad(false, 0);
  const before = await page.evaluate(() => [Module._web_pass_count(), zubaAnimationFrames, zubaSound.blocks, performance.now()]);
  await page.keyboard.down('ArrowRight');
  await sleep(10000);
  await page.keyboard.up('ArrowRight');
  const after = await page.evaluate(() => [Module._web_pass_count(), zubaAnimationFrames, zubaSound.blocks, performance.now()]);
  const seconds = (after[3] - before[3]) / 1000;
  console.log(`over ${seconds.toFixed(1)} s of play: ${((after[0] - before[0]) / seconds).toFixed(1)} game passes (frames) per second, ` +
    `${((after[1] - before[1]) / seconds).toFixed(1)} animation frames per second, ` +
    `${((after[2] - before[2]) / seconds).toFixed(2)} sound blocks per second (4 = 8000 samples a second)`);

  // ZUBA_SCREENSHOTS=DIR keeps the desktop page in play there, as the README shows it.
  if (process.env.ZUBA_SCREENSHOTS) await page.screenshot({ path: path.join(process.env.ZUBA_SCREENSHOTS, 'web.png') });

  await tap('Escape');
  await waitFor('Escape goes back to the splash card', 5, async () => (await frameHash()) === splash);
  console.log(`passes run: ${await passes()}`);
  await page.close();

  await settingsTests({ browser, URL, instrument, reader, waitFor, check, sleep, golden: { splash, titlePrompt, titleBlank, score0 } });
  await phoneTests({ browser, URL, serving, instrument, reader, waitFor, check, sleep, golden: { splash, titlePrompt,
    titleBlank, score0 }, SCORE, sourceDir });
} finally {
  await browser.close();
  server.close();
}
console.log(failures === 0 ? 'browser test passed' : `browser test: ${failures} check(s) failed`);
process.exit(failures === 0 ? 0 : 1);
