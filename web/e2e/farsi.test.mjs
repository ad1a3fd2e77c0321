// The pages in Farsi on phones and a desktop: right to left, Persian digits, no English but
// the players' names and the language switch, and a table whose seats, hand
// and controls never overlap and never scroll sideways (from element boxes).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { DESKTOP, SHOTS, SMALL_PHONE, PHONE, launch, openPlayer } from './harness.mjs';
import { startServer } from './harness.mjs';

const NAMES = ['Tib', 'Vrel', 'Zarv', 'Dastrel'];

function overlaps(a, b) {
  return a && b && a.x < b.x + b.width - 1 && b.x < a.x + a.width - 1 && a.y < b.y + b.height - 1 && b.y < a.y + a.height - 1;
}

async function checkFarsiPage(page, where) {
  assert.equal(await page.getAttribute('html', 'dir'), 'rtl', where);
  assert.equal(await page.getAttribute('html', 'lang'), 'fa', where);
  let text = await page.locator('body').innerText();
  for (const name of [...NAMES, 'English']) text = text.replaceAll(name, '');
  assert.doesNotMatch(text, /[A-Za-z]/, `${where}: English in ${text}`);
  assert.doesNotMatch(text, /[0-9]/, `${where}: Latin digits in ${text}`);
  const wide = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
  assert.ok(wide <= 0, `${where}: scrolls sideways by ${wide} px`);
}

async function checkTableBoxes(page, where) {
  const boxes = async (selector) => Promise.all((await page.locator(selector).all()).map((l) => l.boundingBox()));
  const seats = await boxes('.seat');
  const hand = await page.locator('.hand').boundingBox();
  const controls = await boxes('.controls button');
  const played = await boxes('.trick .played');
  const viewport = page.viewportSize();
  for (const [i, s] of seats.entries()) {
    assert.ok(s.x >= 0 && s.x + s.width <= viewport.width + 1, `${where}: seat ${i} off the screen`);
    for (const [j, t] of seats.entries()) if (i < j) assert.ok(!overlaps(s, t), `${where}: seats ${i} and ${j} overlap`);
    assert.ok(!overlaps(s, hand), `${where}: seat ${i} covers the hand`);
    for (const c of controls) assert.ok(!overlaps(s, c), `${where}: seat ${i} covers a control`);
    for (const c of played) assert.ok(!overlaps(s, c), `${where}: seat ${i} and a card of the trick overlap`);
  }
  for (const c of controls) {
    assert.ok(!overlaps(c, hand), `${where}: a control covers the hand`);
    assert.ok(c.width >= 44 && c.height >= 44, `${where}: a control is smaller than a thumb`);
  }
  assert.ok(hand.x >= 0 && hand.x + hand.width <= viewport.width + 1, `${where}: the hand is wider than the screen`);
  // The chat's field, counter and button inside their column.
  const column = await page.locator('.side').boundingBox();
  for (const part of await boxes('.chat-form > *'))
    assert.ok(part.x >= column.x - 1 && part.x + part.width <= column.x + column.width + 1, `${where}: the chat runs out of its column`);
  const squeezed = await page.locator('.chat-form button').evaluate((b) => b.scrollWidth - b.clientWidth);
  assert.ok(squeezed <= 0, `${where}: the chat's button is ${squeezed} px narrower than its word`);
  // A side seat's plate keeps beside the trick's cross whatever its words (the
  // HAKEM's mark in English is wider than a phone leaves there): they wrap.
  // Measured in the same turn of the page as the words are put in, so no new view replaces them first.
  const { trick, sides } = await page.evaluate(() => {
    const box = (e) => { const r = e.getBoundingClientRect(); return { x: r.x, y: r.y, width: r.width, height: r.height }; };
    const sides = [...document.querySelectorAll('.seat.left, .seat.right')];
    for (const s of sides) {
      s.querySelector('.seat-name').textContent = 'Bartholomewsson';
      s.querySelector('.seat-marks')?.remove();
      s.querySelector('.seat-name').after(Object.assign(document.createElement('span'), { className: 'seat-marks', textContent: 'HAKEM · computer · away' }));
    }
    return { trick: box(document.querySelector('.trick')), sides: sides.map(box) };
  });
  assert.equal(sides.length, 2, `${where}: two side seats`);
  for (const [i, s] of sides.entries()) assert.ok(!overlaps(s, trick), `${where}: side seat ${i} reaches into the trick`);
  // Beside the chat column (a wide screen), never under it.
  const side = await page.locator('.side').boundingBox();
  if (side && side.y < hand.y + hand.height && hand.y < side.y + side.height) assert.ok(!overlaps(side, hand), `${where}: the hand runs under the chat`);
}

for (const [size, shot] of [[SMALL_PHONE, 'farsi-table-360x640.png'], [PHONE, 'farsi-table-390x844.png'],
  [DESKTOP, 'farsi-table-1366x768.png']]) {
  test(`Farsi on a ${size.viewport.width}x${size.viewport.height} screen`, { timeout: 120_000 }, async () => {
    const server = await startServer(['--next-game', '3600']);
    const browser = await launch();
    try {
      const p = await openPlayer(browser, { ...size, locale: 'fa-IR' }, 'مریم');
      await p.page.goto(server.url);
      await p.page.fill('#name', 'مریم');
      await checkFarsiPage(p.page, 'name page');
      await p.page.click('form.name-form button[type=submit]');
      await p.page.locator('#play-now').waitFor();
      await checkFarsiPage(p.page, 'lobby');
      await p.page.click('#play-now');
      // Until the hand is dealt whole (the HAKEM may be this seat, naming the ZARV first).
      await p.page.locator('.hand .card').nth(12).or(p.page.locator('.hand .card:not([aria-disabled])').first()).first().waitFor();
      if ((await p.page.locator('.hand .card').count()) < 13) {
        // Naming the ZARV: a tap lifts and a second plays; a mouse click plays at once.
        const first = p.page.locator('.hand .card').first();
        if (size.hasTouch) {
          await first.tap({ position: { x: 8, y: 8 } });
          await first.tap({ position: { x: 8, y: 8 } });
        } else {
          await first.click({ position: { x: 8, y: 8 } });
        }
        await p.page.locator('.hand .card').nth(12).waitFor();
      }
      // The picture first, to look at when the boxes disagree.
      await p.page.screenshot({ path: join(SHOTS, shot) });
      await checkFarsiPage(p.page, 'table');
      await checkTableBoxes(p.page, 'table');
      assert.deepEqual(p.errors, []);
    } finally {
      await browser.close();
      server.stop();
    }
  });
}
