// The review of the last hand in the browser: offered once a hand has ended,
// stepped through trick by trick, with the Master's numbers for the person's
// cards; every frame is checked for cards the seat never saw.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { DESKTOP, PHONE, SHOTS, enter, handShown, launch, openPlayer, startServer } from './harness.mjs';

const LIMIT_MS = 60_000;

// Plays the first card the page allows until the review is offered.
async function playOneHand(player) {
  const { page } = player;
  const deadline = Date.now() + 4 * LIMIT_MS;
  const enabled = page.locator('.hand .card:not([aria-disabled])');
  while (Date.now() < deadline) {
    await page.locator('#review, .hand .card:not([aria-disabled])').first().waitFor({ timeout: LIMIT_MS }).catch(async (e) => {
      throw new Error(`${player.label}: nothing to do for a minute; hand ${await handShown(page)}; ${e.message}`);
    });
    if (await page.locator('#review').count()) return;
    const card = await enabled.first().getAttribute('data-card').catch(() => null);
    if (!card) continue;
    await page.locator(`.hand .card[data-card="${card}"]`).click({ timeout: 5000, position: { x: 8, y: 8 } }).catch(() => {});
    await page.locator(`.hand .card[data-card="${card}"]`).waitFor({ state: 'detached', timeout: 10_000 }).catch(() => {});
  }
  throw new Error(`${player.label}: no hand ended in time`);
}

// The phone reads Farsi: its steps run right to left, and the keys with them.
const WORDS = {
  en: { trick: (n) => new RegExp(`Trick ${n} of \\d+`), cost: /cost \d+\.\d\d points/, next: 'ArrowRight', back: 'ArrowLeft', waits: /Your turn|HAKEM/ },
  fa: { trick: (n) => new RegExp(`دست ${'۰۱۲۳۴۵۶۷۸۹'[n]} از`), cost: /به اندازهٔ [۰-۹]+٫[۰-۹]{2} امتیاز هزینه داشت/, next: 'ArrowLeft', back: 'ArrowRight', waits: /نوبت شما|حاکم/ },
};

for (const [size, options, language] of [['desktop', DESKTOP, 'en'], ['phone', PHONE, 'fa']]) {
  test(`after a hand the browser reviews it trick by trick (${size}, ${language})`, { timeout: 300_000 }, async () => {
    const words = WORDS[language];
    const server = await startServer(['--no-pauses', '--level', 'standard']);
    const browser = await launch();
    try {
      const ann = await openPlayer(browser, options, `Ann-${size}`);
      await enter(ann, server.url, 'Ann');
      if (language === 'fa') await ann.page.click('#language');
      await ann.page.click('#play-now');
      await playOneHand(ann);
      await ann.page.click('#review');
      const panel = ann.page.locator('#review-panel');
      await panel.waitFor({ timeout: LIMIT_MS });
      const review = ann.frames.map((f) => JSON.parse(String(f))).find((m) => m.t === 'review');
      assert.ok(review, 'a review arrived');
      assert.equal(review.hand.length, 13);
      const ended = review.tricks.filter((t) => t.winner > 0);
      assert.ok(ended.length >= 7);
      // The seat's own decisions, each with its choices and a cost that is the best's points less the card's.
      for (const d of review.decisions) {
        const values = new Map(d.values);
        assert.ok(values.has(d.played) && values.has(d.best), JSON.stringify(d));
        assert.ok(Math.abs(values.get(d.best) - values.get(d.played) - d.cost) < 1e-9, JSON.stringify(d));
        assert.equal(review.tricks[d.trick - 1].cards[review.seat - 1], d.played);
      }
      assert.match(await ann.page.textContent('#review-caption'), words.trick(1));
      // The list: the costliest first.
      const costs = review.decisions.map((d) => d.cost).sort((a, b) => b - a);
      const lines = await ann.page.locator('#review-list li').allTextContents();
      assert.equal(lines.length, Math.max(1, review.decisions.length));
      if (costs.length && costs[0] >= 0.005) assert.match(lines[0], words.cost);
      await ann.page.screenshot({ path: join(SHOTS, `review-${size}.png`) });
      // The keys and the buttons step through the tricks.
      await ann.page.locator('#review-next').click();
      assert.match(await ann.page.textContent('#review-caption'), words.trick(2));
      await ann.page.keyboard.press(words.next);
      assert.match(await ann.page.textContent('#review-caption'), words.trick(3));
      await ann.page.keyboard.press(words.back);
      assert.match(await ann.page.textContent('#review-caption'), words.trick(2));
      await ann.page.screenshot({ path: join(SHOTS, `review-${size}-trick2.png`) });
      // The table deals on: once it waits for this seat, the review says so, with the table's own words.
      const waiting = ann.page.locator('#review-waiting');
      await waiting.waitFor({ timeout: LIMIT_MS });
      assert.equal((await waiting.textContent()).trim(), (await ann.page.textContent('#status')).trim());
      assert.match(await waiting.textContent(), words.waits);
      await ann.page.screenshot({ path: join(SHOTS, `review-${size}-waiting.png`) });
      await ann.page.locator('#review-close').click();
      await panel.waitFor({ state: 'detached' });
      assert.deepEqual(ann.errors, []);
      assert.match(server.out(), /review 1\n/);
    } finally {
      await browser.close();
      server.stop();
    }
  });
}
