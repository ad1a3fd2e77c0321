// The table for a screen reader and the keyboard: every card a button named
// as a person says it, the controls named, the turn and each card played
// told through the live region, and a whole game played with keys alone.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { DESKTOP, enter, launch, lastView, openPlayer, startServer } from './harness.mjs';

// Tab from wherever the focus is until a card of the hand has it (bounded).
async function tabIntoHand(page) {
  for (let i = 0; i < 40; i++) {
    if (await page.locator('.hand .card:focus').count()) return;
    await page.keyboard.press('Tab');
  }
  throw new Error('Tab never reached the hand');
}

// Arrows along the hand to the first card the rules allow, then Enter.
async function playByKeys(page) {
  await tabIntoHand(page);
  for (let i = 0; i < 30; i++) {
    if (await page.locator('.hand .card:focus:not([aria-disabled])').count()) {
      await page.keyboard.press('Enter');
      return;
    }
    await page.keyboard.press('ArrowRight');
    if (i === 14) await page.keyboard.press('Home');
  }
  throw new Error('no card to play by keys');
}

test('the table names every card and control, and a game is played by keyboard alone', { timeout: 240_000 }, async () => {
  const server = await startServer(['--no-pauses', '--next-game', '3600']);
  const browser = await launch();
  try {
    const p = await openPlayer(browser, DESKTOP, 'Eve');
    const { page } = p;
    await enter(p, server.url, 'Eve');
    await page.keyboard.press('Tab');
    await page.locator('#play-now').focus();
    await page.keyboard.press('Enter');
    await page.locator('.hand .card').first().waitFor();
    await page.locator('.hand .card').nth(4).waitFor();
    const snapshot = await page.locator('.table-screen').ariaSnapshot();
    for (const card of (lastView(p).hand ?? [])) {
      const name = await page.locator(`.hand .card[data-card="${card}"]`).getAttribute('aria-label');
      assert.match(name, /^(two|three|four|five|six|seven|eight|nine|ten|jack|queen|king|ace) of (clubs|spades|hearts|diamonds)$/);
      assert.ok(snapshot.includes(`button "${name}"`), `${name} not in\n${snapshot}`);
    }
    assert.match(snapshot, /button "Leave"/);
    assert.match(snapshot, /textbox/);

    // H asks for a hint at a Play now table; L shows the last trick.
    let hinted = false, lastShown = false;
    for (let moves = 0; moves < 400 && !(await page.locator('#play-again').count()); moves++) {
      await page.locator('#play-again, .hand .card:not([aria-disabled])').first().waitFor({ timeout: 60_000 });
      if (await page.locator('#play-again').count()) break;
      if (!hinted && lastView(p)?.decide === 'card') {
        await page.keyboard.press('h');
        await page.locator('#status', { hasText: 'The computer would play' }).waitFor({ timeout: 10_000 });
        hinted = true;
      }
      if (!lastShown && lastView(p)?.last) {
        await page.keyboard.press('l');
        await page.locator('.trick.last .last-label').waitFor({ timeout: 10_000 });
        await page.keyboard.press('l');
        lastShown = true;
      }
      const count = await page.locator('.hand .card').count();
      await playByKeys(page);
      await Promise.race([
        page.locator('.hand .card').nth(count - 1).waitFor({ state: 'detached', timeout: 30_000 }),
        page.locator('.hand .card').nth(count).waitFor({ state: 'attached', timeout: 30_000 }),
        page.locator('#play-again').waitFor({ timeout: 30_000 }),
      ]).catch(() => {});
    }
    assert.ok(await page.locator('#play-again').count(), 'the game ended');
    assert.ok(hinted && lastShown);
    // The live region told the last card played.
    assert.match(await page.locator('#announcer').textContent(), /\w/);
    assert.deepEqual(p.errors, []);
  } finally {
    await browser.close();
    server.stop();
  }
});
