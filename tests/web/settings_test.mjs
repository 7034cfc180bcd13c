// The settings the browser build keeps in the page's local storage, run by
// browser_test.mjs in a context of its own (an empty storage at first):
// the volume turned down to 0 on the options screen is stored, Escape
// closes the screen (and goes nowhere else), and after a reload the game's
// sound reaches Web Audio silent;
// a stored text applies at the next visit (keys, mute, the sharp picture),
// its bad lines are reported on the console and skipped, the mute key saves
// mute at once keeping every other byte of the text (another tab's line
// too), and a storage that refuses or holds junk never stops the game.
const KEY = 'zuba-trilo.settings';

export async function settingsTests({ browser, URL, instrument, reader, waitFor, check, sleep, golden }) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 1280, height: 720 });
  await instrument(page);
  const consoleLines = [];
  page.on('console', (m) => consoleLines.push(m.text()));
  const { frameHash, score, started } = reader(page);
  const stored = () => page.evaluate((k) => localStorage.getItem(k), KEY);
  async function tap(key) {
    await page.keyboard.down(key);
    await sleep(80);
    await page.keyboard.up(key);
  }
  async function title() {
    const seen = new Set();
    await waitFor('the title shows', 10, async () => {
      seen.add(await frameHash());
      return seen.has(golden.titlePrompt) || seen.has(golden.titleBlank);
    });
    await sleep(600);  // the title reads the button only after its first half second
  }

  const optionsOpen = () => page.evaluate(() => document.body.classList.contains('options-open'));
  const sound = () => page.evaluate(() => [zubaSound.blocks, zubaSound.loud]);

  // The options screen: volume down to 0, kept over a reload, and heard.
  await page.goto(URL);
  await started();
  await title();
  await tap('o');
  await waitFor('o opens the options screen on the title', 5, optionsOpen);
  for (const key of ['ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowDown']) await tap(key);
  for (let i = 0; i < 11; i++) await tap('ArrowLeft');
  await waitFor('Left on VOLUME steps it down to 0 and stores only that line', 5,
    async () => (await stored()) === 'volume = 0\n');
  await tap('Escape');
  await waitFor('Escape closes it', 5, async () => !(await optionsOpen()));
  await sleep(300);
  check((await frameHash()) !== golden.splash, '... and does not go back to the splash card');
  await page.reload();
  await started();
  await title();
  await tap('z');
  await waitFor('after a reload a game starts', 5, async () => (await score()) === golden.score0);
  const [blocks, loud] = await sound();
  await sleep(3000);
  const [blocksAfter, loudAfter] = await sound();
  check(blocksAfter >= blocks + 8 && loud === 0 && loudAfter === 0,
    `... and the stored volume 0 holds: the game's sound reaches Web Audio silent (${blocksAfter} blocks, ${loudAfter} not silent)`);

  const text = '# mine\r\nnonsense\nkey.fire = k\nfilter = sharp\nmute = yes\n';
  await page.evaluate((k, t) => localStorage.setItem(k, t), KEY, text);
  await page.reload();
  await started();
  check(consoleLines.some((l) => l.includes(`${KEY}:2: expected 'name = value'`)),
    'a bad stored line is reported on the console with its line number');
  check(await page.evaluate(() => document.getElementById('screen').style.imageRendering === 'pixelated'),
    'a stored filter = sharp draws the canvas pixelated');
  await title();
  await tap('z');
  await sleep(2500);
  check((await score()) !== golden.score0, 'with key.fire = k stored, z no longer starts a game');
  await tap('k');
  await waitFor('... and k does', 5, async () => (await score()) === golden.score0);
  // Another tab of the game stores a line meanwhile: the save keeps it.
  await page.evaluate((k) => localStorage.setItem(k, localStorage.getItem(k) + 'volume = 3\n'), KEY);
  await tap('m');
  await waitFor('the mute key saves mute = no at once, every other byte of the text kept', 5,
    async () => (await stored()) === `${text.replace('mute = yes', 'mute = no')}volume = 3\n`);

  // Storage that refuses, then a text far too long for settings: the game
  // plays with its defaults and says why.
  const off = await context.newPage();
  await instrument(off);
  const offLines = [];
  off.on('console', (m) => offLines.push(m.text()));
  await off.evaluateOnNewDocument(() => {
    Storage.prototype.getItem = () => { throw new Error('storage is off'); };
    Storage.prototype.setItem = () => { throw new Error('storage is off'); };
  });
  await off.goto(URL);
  await reader(off).started();
  await off.keyboard.press('m');
  await waitFor('a page whose storage refuses plays and says settings are not kept', 5, async () =>
    offLines.some((l) => l.includes('cannot be used')) && offLines.some((l) => l.includes('refused')));
  await off.close();

  await page.evaluate((k) => localStorage.setItem(k, 'x'.repeat((1 << 20) + 1)), KEY);
  await page.reload();
  await started();
  await waitFor('a stored text over 1 MiB is not read', 5, async () => consoleLines.some((l) => l.includes('too many')));
  await tap('m');
  await waitFor('... and the next save starts a new text in its place', 5, async () => (await stored()) === 'mute = yes\n');
  await context.close();
}
