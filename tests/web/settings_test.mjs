// The settings the browser build keeps in the page's local storage, run by
// browser_test.mjs in a context of its own (an empty storage at first): the
// volume turned down to 0 on the options screen is stored, Escape closes the
// screen and goes nowhere else, and after a reload the game's sound reaches
// Web Audio silent; a stored text applies (keys, sharp picture), its bad
// lines are reported on the console and skipped, the mute key saves at once
// keeping every other byte (another tab's line too); a text over 1 MiB or a
// storage that refuses never stops the game.
const KEY = 'zuba-trilo.settings';

export async function settingsTests({ browser, URL, instrument, reader, waitFor, check, sleep, golden }) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 1280, height: 720 });
  await instrument(page);
  const lines = [];
  page.on('console', (m) => lines.push(m.text()));
  const said = (words) => lines.some((l) => l.includes(words));
  const { frameHash, score, started } = reader(page);
  const stored = () => page.evaluate((k) => localStorage.getItem(k), KEY);
  const optionsOpen = () => page.evaluate(() => document.body.classList.contains('options-open'));
  const sound = () => page.evaluate(() => [zubaSound.blocks, zubaSound.loud]);
  async function tap(...keys) {
    for (const key of keys) {
      await page.keyboard.down(key);
      await sleep(80);
      await page.keyboard.up(key);
    }
  }
  async function visit(reload = true) {
    if (reload) await page.reload();
    await started();
    await waitFor('the title shows', 10, async () => [golden.titlePrompt, golden.titleBlank].includes(await frameHash()));
    await sleep(600);  // the title reads the button only after its first half second
  }

  await page.goto(URL);
  await visit(false);
  await tap('o');
  await waitFor('o opens the options screen on the title', 5, optionsOpen);
  await tap(...Array(5).fill('ArrowDown'), ...Array(11).fill('ArrowLeft'));
  await waitFor('Left on VOLUME steps it down to 0 and stores only that line', 5, async () => (await stored()) === 'volume = 0\n');
  await tap('Escape');
  await waitFor('Escape closes it', 5, async () => !(await optionsOpen()));
  await sleep(300);
  check((await frameHash()) !== golden.splash, '... and does not go back to the splash card');
  await visit();
  await tap('z');
  await waitFor('after a reload a game starts', 5, async () => (await score()) === golden.score0);
  await sleep(3000);
  const [blocks, loud] = await sound();
  check(blocks >= 8 && loud === 0, `... and the stored volume 0 holds: its sound reaches Web Audio silent (${loud} of ${blocks} blocks not)`);

  const text = '# mine\r\nnonsense\nkey.fire = k\nfilter = sharp\nmute = yes\n';
  await page.evaluate((k, t) => localStorage.setItem(k, t), KEY, text);
  await visit();
  check(said(`${KEY}:2: expected 'name = value'`), 'a bad stored line is reported on the console with its line number');
  check(await page.evaluate(() => document.getElementById('screen').style.imageRendering === 'pixelated'),
    'a stored filter = sharp draws the canvas pixelated');
  await page.evaluate(() => Module._web_press(2, 1));
  await sleep(80);
  await page.evaluate(() => Module._web_press(2, 0));
  await waitFor('with key.fire = k stored, the Fire button (it presses k now) starts a game', 5,
    async () => (await score()) === golden.score0);
  // Another tab of the game stores a line meanwhile: the save keeps it.
  await page.evaluate((k) => localStorage.setItem(k, `${localStorage.getItem(k)}volume = 3\n`), KEY);
  await tap('m');
  await waitFor('the mute key saves mute = no at once, every other byte of the text kept', 5,
    async () => (await stored()) === `${text.replace('mute = yes', 'mute = no')}volume = 3\n`);

  await page.evaluate((k) => localStorage.setItem(k, 'x'.repeat((1 << 20) + 1)), KEY);
  await visit();
  check(said('too many for settings'), 'a stored text over 1 MiB is not read');
  await tap('m');
  await waitFor('... and the next save starts a new text in its place', 5, async () => (await stored()) === 'mute = yes\n');
  await page.evaluateOnNewDocument(() => {
    Storage.prototype.getItem = Storage.prototype.setItem = () => { throw new Error('storage is off'); };
  });
  await visit();
  await tap('m');
  await waitFor('a page whose storage refuses plays and says settings are not kept', 5, async () =>
    said('cannot be used') && said('refused'));
  await context.close();
}
