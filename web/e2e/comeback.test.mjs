// A phone that loses its network mid-hand, and a page reloaded mid-hand: both
// come back to their seats by themselves and finish the game with the
// server's result.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { DESKTOP, PHONE, enter, launch, openPlayer, playToTheEnd, serverResults, startBot, startServer } from './harness.mjs';

async function playSome(player, cards) {
  const { page } = player;
  for (let played = 0; played < cards;) {
    const card = page.locator('.hand .card:not([aria-disabled])').first();
    await card.waitFor({ timeout: 60_000 });
    const code = await card.getAttribute('data-card').catch(() => null);
    if (!code) continue;
    const before = await page.locator('.hand .card').count();
    await card.click({ timeout: 5000, position: { x: 8, y: 8 } }).catch(() => {});
    let after = before;
    for (const until = Date.now() + 30_000; Date.now() < until && after === before;) {
      await page.waitForTimeout(20);
      after = await page.locator('.hand .card').count();
    }
    // Naming the ZARV fills the hand: that is no card played.
    if (after < before) played++;
  }
}

test('a browser that goes offline and one that reloads come back to their seats', { timeout: 300_000 }, async () => {
  const server = await startServer(['--no-pauses', '--next-game', '3600']);
  const browser = await launch();
  try {
    const ann = await openPlayer(browser, PHONE, 'Ann');
    const bob = await openPlayer(browser, DESKTOP, 'Bob');
    await enter(ann, server.url, 'Ann');
    await enter(bob, server.url, 'Bob');
    await ann.page.click('#make-table');
    await ann.page.fill('#make-name', 'Comeback');
    await ann.page.click('dialog button[type=submit]');
    await ann.page.locator('#start').waitFor();
    await bob.page.locator('article[aria-label="Comeback"] button[aria-label$="Seat 2"]').click();
    const bot = startBot(server, 'Comeback', 4, 'Bot4');
    await server.waitFor(/seated 4 "Bot4"/);
    // One card each: the first trick, mid-hand.
    await Promise.all([playSome(ann, 1), playSome(bob, 1)]);

    // Ann's phone loses its network; the server lets her seat go to the computer.
    await ann.context.setOffline(true);
    await server.waitFor(/dropped 1 "Ann"/);
    await ann.context.setOffline(false);
    await server.waitFor(/returned 1 "Ann"/);
    // Bob reloads his page.
    await bob.page.reload();
    await server.waitFor(/returned 2 "Bob"/);
    await bob.page.locator('.log li.news', { hasText: 'Ann is back.' }).waitFor({ timeout: 30_000 });

    const [a, b] = await Promise.all([playToTheEnd(ann), playToTheEnd(bob)]);
    const logged = serverResults(server).at(-1);
    assert.deepEqual(a.points, logged);
    assert.deepEqual(b.points, logged);
    assert.deepEqual(a.names, ['Ann', 'Bob', 'Zarv', 'Bot4']);
    for (const p of [ann, bob]) assert.deepEqual(p.errors, [], p.label);
    bot.stop();
  } finally {
    await browser.close();
    server.stop();
  }
});
