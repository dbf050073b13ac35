// Walks the web page in a real browser (Debian's Chromium, headless) as a user would, and
// checks it against the desktop build: the faces on the canvas are compared pixel for pixel
// with what the desktop renderer draws, and the download byte for byte with the BMP file it
// writes.
//
//   node tests/web/walk.mjs SITE RENDERER
//
// SITE is the folder scripts/package-web makes (dist/web), RENDERER the desktop build's
// snoetjesmal-render. Exits non-zero when any check fails.

import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const [site, renderer] = process.argv.slice(2);
if (!site || !renderer) {
  console.error('usage: node walk.mjs SITE RENDERER');
  process.exit(2);
}
const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const scratch = mkdtempSync(join(tmpdir(), 'snoetjesmal-web-'));

let failed = 0;
function check(ok, what, detail = '') {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}${!ok && detail ? `: ${detail}` : ''}`);
  if (!ok) failed++;
  return ok;
}

// A face as the desktop draws it; eyesLast when the eyes were chosen after the mouth, and
// the renderer's options (--transparent: as copied to other programs).
function rendered(eyes, mouth, format, eyesLast = false, options = []) {
  const file = join(scratch, `face-${eyes}-${mouth}-${eyesLast}-${options.length}.${format}`);
  execFileSync(renderer, ['--eyes', String(eyes), '--mouth', String(mouth), '-o', file,
    ...(eyesLast ? ['--eyes-last'] : []), ...options],
  { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } });
  return readFileSync(file);
}

// The page's window is placed by the program; the controls are found from the face, at the
// distances the window lays them out in twips (15 to a pixel).
const faceInWindow = { x: 58, y: 74 };
const px = (twips) => twips / 15;
const controls = {
  eyesRight: { x: px(2040 + 1935) - 6, y: px(875 + 127) },
  mouthRight: { x: px(2040 + 1935) - 6, y: px(1475 + 127) },
  random: { x: px(2160 + 487), y: px(2520 + 187) },
  save: { x: px(3120 + 487), y: px(2520 + 187) },
  link: { x: px(120) + 20, y: px(2640 + 127) },
};

// Where the face of a PNG stands on the page, each of its pixels a block of scale device
// pixels, or null. Both pictures are decoded by the browser itself.
async function findFace(page, png, scale) {
  const shot = await page.screenshot({ type: 'png', scale: 'device' });
  return page.evaluate(async ({ shot, face, scale }) => {
    const pixels = async (base64) => {
      const image = new Image();
      image.src = `data:image/png;base64,${base64}`;
      await image.decode();
      const canvas = new OffscreenCanvas(image.width, image.height);
      const context = canvas.getContext('2d', { colorSpace: 'srgb' });
      context.drawImage(image, 0, 0);
      return context.getImageData(0, 0, image.width, image.height);
    };
    const s = await pixels(shot);
    const f = await pixels(face);
    const at = (img, x, y) => ((img.data[(y * img.width + x) * 4] << 16) |
      (img.data[(y * img.width + x) * 4 + 1] << 8) | img.data[(y * img.width + x) * 4 + 2]);
    const side = f.width * scale;
    for (let y = 0; y + side <= s.height; y++) {
      for (let x = 0; x + side <= s.width; x++) {
        let same = true;
        for (let j = 0; same && j < side; j++) {
          for (let i = 0; same && i < side; i++) {
            same = at(s, x + i, y + j) === at(f, Math.floor(i / scale), Math.floor(j / scale));
          }
        }
        if (same) return { x: x / scale, y: y / scale };
      }
    }
    return null;
  }, { shot: shot.toString('base64'), face: png.toString('base64'), scale });
}

// The top left 8 x 8 pixels of a screenshot, as text to compare.
async function corner(page, shot) {
  return page.evaluate(async (base64) => {
    const image = new Image();
    image.src = `data:image/png;base64,${base64}`;
    await image.decode();
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    return Array.from(context.getImageData(0, 0, 8, 8).data).join(',');
  }, shot.toString('base64'));
}

// Waits until the face shows, as the program may draw a frame or two later.
async function waitForFace(page, png, scale = 1, timeout = 5000) {
  const end = Date.now() + timeout;
  for (;;) {
    const found = await findFace(page, png, scale);
    if (found || Date.now() > end) return found;
    await page.waitForTimeout(100);
  }
}

async function open(browser, url, scale, prepare = null) {
  const context = await browser.newContext({
    viewport: { width: 800, height: 600 }, deviceScaleFactor: scale, acceptDownloads: true,
    locale: 'nl-NL',
  });
  const page = await context.newPage();
  const problems = [];
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(message.text());
  });
  page.on('pageerror', (error) => problems.push(String(error)));
  // The link's new tab is noted, not opened: this machine has no way out.
  await page.addInitScript(() => {
    window.snoetjesmalOpened = [];
    window.open = (url, target) => { window.snoetjesmalOpened.push([String(url), target]); return null; };
  });
  if (prepare) await page.addInitScript(prepare);
  await page.goto(url);
  await page.waitForFunction(() => document.body.dataset.status !== 'loading', null,
    { timeout: 60000 });
  return { context, page, problems };
}

// In the save dialog: types name in the name box (or pastes it from the browser's clipboard),
// and goes back to "Opslaan".
async function saveAs(page, name, { paste = false } = {}) {
  await page.keyboard.press('Tab');
  await page.keyboard.press('Tab');
  if (name !== null) {
    await page.keyboard.press('Control+A');
    if (paste) {
      await page.evaluate((text) => navigator.clipboard.writeText(text), name);
      await page.keyboard.press('Control+V');
    } else {
      await page.keyboard.type(name);
    }
  }
  await page.keyboard.press('Shift+Tab');
  await page.keyboard.press('Shift+Tab');
}

async function main() {
  const server = spawn('python3', [join(root, 'tools', 'serve-web.py'), site, '0'],
    { stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await new Promise((resolve, reject) => {
    server.stdout.once('data', (data) => resolve(String(data).trim()));
    server.once('exit', () => reject(new Error('the web server did not start')));
  });
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--no-first-run', '--disable-quic'],
  });
  try {
    await walk(browser, url);
  } finally {
    await browser.close();
    server.kill();
    rmSync(scratch, { recursive: true, force: true });
  }
}

async function walk(browser, url) {
  // At twice the pixels (a high-density screen) the face is drawn in whole blocks of 2.
  {
    const { context, page, problems } = await open(browser, url, 2);
    check(await page.evaluate(() => document.body.dataset.status) === 'running', 'the page starts');
    check(await waitForFace(page, rendered(0, 0, 'png'), 2) !== null,
      'at a device pixel ratio of 2 the blank face shows in blocks of 2');
    check(problems.length === 0, 'no console errors at 2x', problems.join(' | '));
    await context.close();
  }

  // A browser that lets a page put no image on the clipboard: Ctrl+C says so in a box.
  {
    const { context, page } = await open(browser, url, 1, () => { delete window.ClipboardItem; });
    await waitForFace(page, rendered(0, 0, 'png'));
    const before = await page.screenshot();
    await page.keyboard.press('Control+C');
    await page.waitForTimeout(500);
    check(!(await page.screenshot()).equals(before),
      'without an image clipboard, Ctrl+C shows a box that says so');
    // A box at its own size, not over the whole page: the page's corner stays as it was.
    check(await corner(page, before) === await corner(page, await page.screenshot()),
      'the box is not spread over the page');
    await context.close();
  }

  const { context, page, problems } = await open(browser, url, 1);
  check(await page.title() === 'Snoetjesmal', 'the page is titled Snoetjesmal');
  check(await page.evaluate(() => document.documentElement.lang) === 'nl', 'the page is in Dutch');

  const face = await waitForFace(page, rendered(0, 0, 'png'));
  if (!check(face !== null, 'the blank face shows exactly')) return;
  const origin = { x: face.x - faceInWindow.x, y: face.y - faceInWindow.y };
  const viewport = page.viewportSize();
  // Centred with its frame, whose border is a few pixels wide.
  check(Math.abs(origin.x + px(4215) / 2 - viewport.width / 2) <= 5,
    'the window is centred across the page', JSON.stringify(origin));
  const click = (control) => page.mouse.click(origin.x + control.x, origin.y + control.y);

  await click(controls.eyesRight);
  check(await waitForFace(page, rendered(1, 0, 'png', true)) !== null,
    "the eye bar's arrow draws the next eyes");
  await click(controls.mouthRight);
  await click(controls.mouthRight);
  check(await waitForFace(page, rendered(1, 2, 'png')) !== null,
    "the mouth bar's arrow draws the next mouths");
  // The bar that was clicked has the focus; the arrow keys move it as on the desktop.
  await page.keyboard.press('ArrowLeft');
  check(await waitForFace(page, rendered(1, 1, 'png')) !== null,
    'the left arrow key takes the mouth back one');

  // Ctrl+C puts the face on the browser's clipboard as PNG, as other programs take it.
  await page.context().grantPermissions(['clipboard-read', 'clipboard-write']);
  await page.keyboard.press('Control+C');
  await page.waitForTimeout(500);
  const copied = await page.evaluate(async (expected) => {
    const pixels = async (blob) => {
      const bitmap = await createImageBitmap(blob);
      const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
      const context = canvas.getContext('2d');
      context.drawImage(bitmap, 0, 0);
      return Array.from(context.getImageData(0, 0, bitmap.width, bitmap.height).data);
    };
    try {
      const [item] = await navigator.clipboard.read();
      if (!item.types.includes('image/png')) return `types ${item.types}`;
      const got = await pixels(await item.getType('image/png'));
      const want = await pixels(await (await fetch(`data:image/png;base64,${expected}`)).blob());
      return got.length === want.length && got.every((v, i) => v === want[i]) ? 'same' : 'differs';
    } catch (error) {
      return String(error);
    }
  }, rendered(1, 1, 'png', false, ['--transparent']).toString('base64'));
  check(copied === 'same', 'Ctrl+C copies the face as PNG', copied);

  // Saving is a download of the same bytes the desktop writes.
  await click(controls.save);
  await page.waitForTimeout(500);
  await saveAs(page, 'webgezicht');
  let [download] = await Promise.all([
    page.waitForEvent('download', { timeout: 5000 }).catch(() => null),
    page.keyboard.press('Space'),
  ]);
  if (check(download !== null, '"Opslaan" gives a download')) {
    check(download.suggestedFilename() === 'webgezicht.bmp', 'named as typed, with .bmp',
      download.suggestedFilename());
    const bytes = readFileSync(await download.path());
    check(bytes.equals(rendered(1, 1, 'bmp')), 'its bytes are those the desktop writes');
  }

  // A name Windows cannot keep is refused as on the desktop: no download, a box to answer.
  await click(controls.save);
  await page.waitForTimeout(500);
  const before = await page.screenshot();
  await saveAs(page, 'con');
  [download] = await Promise.all([
    page.waitForEvent('download', { timeout: 1500 }).catch(() => null),
    page.keyboard.press('Space'),
  ]);
  check(download === null, 'a device name gives no download');
  await page.waitForTimeout(300);
  check(!(await page.screenshot()).equals(before), 'a box says why');
  await page.keyboard.press('Enter');
  await page.waitForTimeout(300);
  // The dialog stays open for another name, here pasted from the browser's clipboard.
  await saveAs(page, 'webgezicht', { paste: true });
  [download] = await Promise.all([
    page.waitForEvent('download', { timeout: 5000 }).catch(() => null),
    page.keyboard.press('Space'),
  ]);
  check(download?.suggestedFilename() === 'webgezicht.bmp',
    'after a refusal a name pasted into the box downloads',
    download?.suggestedFilename());

  // Random draws another face.
  let changed = false;
  for (let i = 0; i < 5 && !changed; i++) {
    await click(controls.random);
    changed = (await waitForFace(page, rendered(1, 1, 'png'), 1, 300)) === null;
  }
  check(changed, 'Random changes the face');

  // The link asks the browser for the home page in a new tab.
  await click(controls.link);
  await page.waitForTimeout(300);
  const opened = await page.evaluate(() => window.snoetjesmalOpened);
  check(opened.length === 1 && opened[0][0] === 'https://www.quorvelin.nl/',
    'the link opens the home page', JSON.stringify(opened));

  check(problems.length === 0, 'no console errors', problems.join(' | '));

  // The name is remembered across a visit: a new visit downloads under it at once.
  await page.reload();
  await page.waitForFunction(() => document.body.dataset.status === 'running');
  const again = await waitForFace(page, rendered(0, 0, 'png'));
  if (check(again !== null, 'a reload starts afresh with the blank face')) {
    await page.mouse.click(again.x - faceInWindow.x + controls.save.x,
      again.y - faceInWindow.y + controls.save.y);
    await page.waitForTimeout(500);
    [download] = await Promise.all([
      page.waitForEvent('download', { timeout: 5000 }).catch(() => null),
      page.keyboard.press('Space'),
    ]);
    check(download?.suggestedFilename() === 'webgezicht.bmp',
      'the last name is remembered across visits', download?.suggestedFilename());
  }
  await context.close();
}

main().then(() => {
  console.log(failed === 0 ? 'all checks passed' : `${failed} check(s) failed`);
  process.exit(failed === 0 ? 0 : 1);
}, (error) => {
  console.error(error);
  process.exit(1);
});
