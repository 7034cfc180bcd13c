// The browser build on an emulated phone (touch, 844 x 390 landscape, then
// 390 x 844 portrait), run by browser_test.mjs after the desktop checks:
// the Left, Right and Fire buttons are shown and inside the display (under
// the screen when it stands tall), the first tap unlocks sound and counts as
// nothing else, the Options button opens the options screen whose items Up,
// Down and the pad change by touch (and store), Fire starts a game, Right
// moves the cannon, two thumbs move
// and fire at once, one thumb sliding from Left to Right turns the cannon,
// a hidden page pauses and Fire resumes, the manifest holds what a home
// screen needs, the offline copy plays with the network off, and a new
// build's offline copy takes over from the old one.
// ZUBA_SCREENSHOTS=DIR writes the phone layout in both orientations there.
import path from 'node:path';

const CANNON_ROW = 1282;  // the cannon's bottom row (its top is at 1275)
const LABELS = ['Left', 'Right', 'Fire', 'Options'];
const ALL_LABELS = [...LABELS, 'Up', 'Down'];

export async function phoneTests({ browser, URL, serving, instrument, reader, waitFor, check, sleep, golden }) {
  const shots = process.env.ZUBA_SCREENSHOTS;
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 844, height: 390, isMobile: true, hasTouch: true, deviceScaleFactor: 2 });
  await instrument(page);
  const { frameHash, score, started } = reader(page);
  const cannonX = () => page.evaluate((y) => zubaCannonX(y), CANNON_ROW);
  // Fingers down (or moved) at the centres of the named buttons; none lifts them all.
  const centres = () => page.evaluate((labels) => Object.fromEntries(labels.map((l) => {
    const r = document.querySelector(`button[aria-label="${l}"]`).getBoundingClientRect();
    return [l, { x: r.x + r.width / 2, y: r.y + r.height / 2 }];
  })), ALL_LABELS);
  // One puppeteer touch handle per finger, by the button it is on.
  const fingers = {};
  async function put(label) {
    const at = (await centres())[label];
    fingers[label] = await page.touchscreen.touchStart(at.x, at.y);
  }
  async function slide(from, to) {
    const at = (await centres())[to];
    await fingers[from].move(at.x, at.y);
    fingers[to] = fingers[from];
    delete fingers[from];
  }
  async function lift(label) {
    await fingers[label].end();
    delete fingers[label];
  }
  async function tapFire() {
    await put('Fire');
    await sleep(100);
    await lift('Fire');
  }
  // Where the buttons are, against the display and the screen.
  const layout = (labels = LABELS) => page.evaluate((labels) => {
    const canvas = document.getElementById('screen').getBoundingClientRect();
    const buttons = labels.map((l) => document.querySelector(`button[aria-label="${l}"]`).getBoundingClientRect());
    const inside = buttons.every((b) => b.width > 0 && b.height > 0 && b.left >= 0 && b.top >= 0 &&
      b.right <= innerWidth && b.bottom <= innerHeight);
    // object-fit keeps the picture's shape inside the canvas box
    const shown = Math.min(canvas.width / 2500, canvas.height / 1300) * 1300;
    const pictureBottom = canvas.top + (canvas.height + shown) / 2;
    return { inside, under: buttons.every((b) => b.top >= pictureBottom - 0.5) };
  }, labels);

  await page.goto(URL);
  await started();
  check((await layout()).inside, 'a phone held wide shows Left, Right, Fire and Options inside the display');

  // The first tap unlocks the sound and nothing else, even on Fire.
  await page.evaluate(() => {
    const press = Module._web_press;
    window.zubaPresses = 0;
    Module._web_press = (...args) => { window.zubaPresses += 1; return press(...args); };
  });
  await tapFire();
  await waitFor('a tap on the page unlocks sound (the audio context runs)', 5, () =>
    page.evaluate(() => zubaAudio.length === 1 && zubaAudio[0].state === 'running'));
  check(await page.evaluate(() => zubaPresses === 0), 'the first tap, on Fire, presses nothing');
  const seen = new Set();
  await waitFor('the title comes after the splash as before', 10, async () => {
    seen.add(await frameHash());
    return seen.has(golden.titlePrompt) || seen.has(golden.titleBlank);
  });
  await sleep(600);  // the title reads the button only after its first half second

  // The options by touch: Options opens them and shows Up and Down; Down four
  // times and Right turn the sound off, Up and Left switch vsync (stored).
  const optionsOpen = () => page.evaluate(() => document.body.classList.contains('options-open'));
  const storedIs = (text) => () => page.evaluate((t) => localStorage.getItem('zuba-trilo.settings') === t, text);
  async function tapButtons(...labels) {
    for (const label of labels) {
      await put(label);
      await sleep(100);
      await lift(label);
      await sleep(100);
    }
  }
  await tapButtons('Options');
  await waitFor('the Options button opens the options screen', 5, optionsOpen);
  check((await layout(['Up', 'Down'])).inside, '... and shows Up and Down inside the display');
  await tapButtons('Down', 'Down', 'Down', 'Down', 'Right');
  await waitFor('Down to SOUND and Right turn the sound off by touch, and it is stored', 5, storedIs('mute = yes\n'));
  await tapButtons('Up', 'Left');
  await waitFor('Up to VSYNC and Left switch it', 5, storedIs('mute = yes\nvsync = yes\n'));
  await tapButtons('Options');
  await waitFor('the Options button closes it again', 5, async () => !(await optionsOpen()));
  await tapFire();
  await waitFor('tapping Fire at the title starts a game (score 000000 on the panel)', 5,
    async () => (await score()) === golden.score0);
  // The cannon blinks in at the start of a game; once it stays, it is ready.
  let ready = 0;
  await waitFor('the cannon shows up', 5, async () => (ready = (await cannonX()) >= 0 ? ready + 1 : 0) >= 5);
  if (shots) await page.screenshot({ path: path.join(shots, 'web-phone-landscape.png') });

  const x0 = await cannonX();
  await put('Right');
  await sleep(1000);
  await lift('Right');
  const x1 = await cannonX();
  check(x0 >= 0 && x1 > x0 + 10, `holding Right moves the cannon right (x ${x0} to ${x1})`);
  // One finger on Left, then sliding across to Right without a lift.
  await put('Left');
  await sleep(500);
  const x2 = await cannonX();
  await slide('Left', 'Right');
  await sleep(500);
  const x3 = await cannonX();
  await lift('Right');
  check(x2 < x1 - 10 && x3 > x2 + 10, `one finger sliding from Left to Right turns the cannon (x ${x1}, ${x2}, ${x3})`);

  // Two thumbs: one holds Right, the other taps Fire (each shot wants a fresh
  // press); a shot through a gap in the shields scores.
  const start = await score();
  const x4 = await cannonX();
  await put('Right');
  await waitFor('Right held and Fire tapped with two fingers fire while moving (the score changes)', 30, async () => {
    await tapFire();
    await sleep(250);
    return (await score()) !== start;
  });
  const x5 = await cannonX();
  await lift('Right');
  check(x5 > x4, `... and the cannon moved right meanwhile (x ${x4} to ${x5})`);

  // A hidden page pauses: the picture stops changing, the finger still on
  // Right counts for nothing any more; Fire resumes.
  await put('Right');
  await sleep(200);
  await page.evaluate(() => {
    Object.defineProperty(document, 'visibilityState', { value: 'hidden', configurable: true });
    document.dispatchEvent(new Event('visibilitychange'));
    delete document.visibilityState;
  });
  await sleep(300);
  const paused = await frameHash();
  await sleep(1000);
  check((await frameHash()) === paused, 'a hidden page pauses the game (the picture stops changing)');
  await tapFire();
  await waitFor('a tap on Fire resumes it', 5, async () => (await frameHash()) !== paused);
  const x6 = await cannonX();
  await sleep(500);
  const x7 = await cannonX();
  await lift('Right');
  check(x6 === x7, `a control held when the page was hidden is let go (x ${x6} then ${x7})`);

  // The manifest a home screen reads.
  const manifest = await page.evaluate(async () => {
    const m = await (await fetch(document.querySelector('link[rel=manifest]').href)).json();
    const sizes = await Promise.all(m.icons.map((i) => new Promise((ok) => {
      const img = new Image();
      img.onload = () => ok(`${img.naturalWidth}x${img.naturalHeight}`);
      img.onerror = () => ok('missing');
      img.src = i.src;
    })));
    return { ...m, loaded: sizes };
  });
  check(manifest.name === 'ZUBA-TRILO' && manifest.short_name && ['fullscreen', 'standalone'].includes(manifest.display) &&
    manifest.orientation === 'landscape' && manifest.background_color === '#000000' &&
    manifest.theme_color === '#000000' && manifest.loaded.join() === '192x192,512x512' &&
    manifest.icons.map((i) => i.sizes).join() === '192x192,512x512',
    `the manifest names the game, its icons at 192 and 512 (${manifest.loaded}), ${manifest.display}, ` +
    `${manifest.orientation}, black background and theme`);

  // The offline copy: active, and a reload with the network off still plays.
  const worker = await page.evaluate(async () => (await navigator.serviceWorker.ready).active.state);
  check(worker === 'activated', `the offline copy (service worker) is active (${worker})`);
  const cacheNames = () => page.evaluate(() => caches.keys());
  const before = await cacheNames();
  await page.setOfflineMode(true);
  const asked = serving.requests;
  await page.reload();
  await started();
  await waitFor('with the network off a reload still plays (the splash card shows)', 10,
    async () => (await frameHash()) === golden.splash);
  check(serving.requests === asked, `... and nothing reached the server (${serving.requests - asked} requests)`);
  await page.setOfflineMode(false);

  // A new build: its offline copy takes over at the next visit, the old one goes.
  serving.newBuild = true;
  await page.reload();
  await waitFor(`a new build's offline copy replaces the old cache (${before} before)`, 15, async () => {
    const names = await cacheNames();
    return names.length === 1 && names[0] === 'zuba-trilo-0000000000000new';
  });
  await page.reload();
  check(await page.evaluate(() => !!document.querySelector('meta[name=zuba-test-build]')),
    'the visit after that plays the new build');
  serving.newBuild = false;

  // Portrait: the controls go under the screen.
  await page.setViewport({ width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 2 });
  await page.reload();
  await started();
  const tall = await layout();
  check(tall.inside && tall.under, `a phone held tall shows Left, Right, Fire and Options inside the display, under the screen`);
  if (shots) {
    await page.touchscreen.tap(195, 422);
    await sleep(3500);
    await tapFire();
    await sleep(2500);
    await page.screenshot({ path: path.join(shots, 'web-phone-portrait.png') });
  }
  await context.close();
}
