// Three people at one table from three browsers (desktop and phone sizes) and
// a fourth who watches: they chat, play the game out, and every page ends
// with the points the server logged. No page ever hears of a card its seat
// could not see; the watcher never of any card in a hand.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { DESKTOP, PHONE, SHOTS, enter, handShown, launch, lastView, openPlayer, playToTheEnd, serverResults, startServer } from './harness.mjs';

async function sitAt(player, table, seat) {
  await player.page.locator(`article[aria-label="${table}"] button[aria-label$="Seat ${seat}"]`).click();
  await player.page.locator('.felt').waitFor();
}

test('four browsers at one table: three players and a watcher', { timeout: 300_000 }, async () => {
  const server = await startServer(['--no-pauses', '--next-game', '3600']);
  const browser = await launch();
  let ann, bob, cy;
  try {
    ann = await openPlayer(browser, DESKTOP, 'Ann');
    bob = await openPlayer(browser, PHONE, 'Bob');
    cy = await openPlayer(browser, DESKTOP, 'Cy');
    const dee = await openPlayer(browser, PHONE, 'Dee (watching)');
    for (const [p, name] of [[ann, 'Ann'], [bob, 'Bob'], [dee, 'Dee']]) await enter(p, server.url, name);
    // Cy comes by the table's link before the table is made: the lobby says there is none yet.
    await enter(cy, `${server.url}#table=friday`, 'Cy');
    await cy.page.locator('.notice', { hasText: 'No table called “friday” is open now.' }).waitFor();
    await ann.page.click('#make-table');
    await ann.page.fill('#make-name', 'Friday');
    // The computer in seat 3 plays as a learner does.
    await ann.page.selectOption('#make-level', 'beginner');
    await ann.page.click('dialog button[type=submit]');
    await ann.page.locator('#start').waitFor();
    // The others see the table appear in their lobby, live.
    await bob.page.locator('article[aria-label="Friday"]', { hasText: 'Beginner' }).waitFor();
    assert.match(server.out(), /table 1 made "Friday" level beginner public/);
    await bob.page.screenshot({ path: join(SHOTS, 'lobby-phone.png') });
    await dee.page.locator('article[aria-label="Friday"] button:has-text("Watch")').click();
    await dee.page.locator('.felt').waitFor();
    // Once it is, the link shows that table's seats alone, and a way back to all tables.
    await cy.page.locator('.linked-table article[aria-label="Friday"]').waitFor();
    assert.equal(await cy.page.locator('#play-now').count(), 0);
    await cy.page.screenshot({ path: join(SHOTS, 'table-link.png') });
    await sitAt(bob, 'Friday', 2);
    await sitAt(cy, 'Friday', 4);
    // The game has begun: someone's seat is lit (the HAKEM may be one of them, naming the ZARV).
    await ann.page.locator('.seat.lit').waitFor();

    // Chat, in Farsi and emoji, reaches the players and the watcher.
    const line = 'سلام 😀 بازی خوبی باشد';
    await ann.page.fill('#chat-input', line);
    await ann.page.press('#chat-input', 'Enter');
    for (const p of [ann, bob, cy, dee]) await p.page.locator('.log li.chat', { hasText: line }).waitFor({ timeout: 20_000 });
    assert.equal(await dee.page.locator('#chat-input').count(), 0, 'a watcher writes no chat');
    // Five lines in ten seconds pass; more are refused, and only their writer hears why.
    const slowDown = bob.page.locator('.log li.news', { hasText: 'Slow down' });
    let sent = 0;
    while (sent < 20 && (sent < 6 || (await slowDown.count()) === 0)) {
      await bob.page.fill('#chat-input', `line ${++sent}`);
      await bob.page.press('#chat-input', 'Enter');
    }
    await slowDown.first().waitFor({ timeout: 20_000 });
    await bob.page.screenshot({ path: join(SHOTS, 'slow-down-phone.png') });
    await ann.page.locator('.log li.chat', { hasText: 'line 5' }).waitFor({ timeout: 20_000 });
    const shown = await ann.page.locator('.log li.chat', { hasText: /^Bob: line \d+$/ }).count();
    assert.ok(shown >= 5 && shown < sent, `${shown} of Bob's ${sent} lines reached Ann`);
    assert.equal(await ann.page.locator('.log li.news', { hasText: 'Slow down' }).count(), 0);

    const [a, b, c] = await Promise.all([
      playToTheEnd(ann), playToTheEnd(bob, { touch: true, shotMidTrick: 'table-mid-trick-phone.png' }), playToTheEnd(cy)]);
    const logged = serverResults(server).at(-1);
    for (const v of [a, b, c]) assert.deepEqual(v.points, logged);
    // The watcher's page shows the same result once it has it.
    await dee.page.locator('#status', { hasText: 'Game over' }).waitFor({ timeout: 20_000 });
    assert.deepEqual(lastView(dee).points, logged);
    assert.equal(lastView(dee).seat, 0);
    for (const p of [ann, bob, cy, dee]) assert.deepEqual(p.errors, [], p.label);
    await dee.page.screenshot({ path: join(SHOTS, 'watching-phone.png') });
  } catch (e) {
    e.message += `\n-- server log --\n${server.out().slice(-4000)}`;
    for (const p of [ann, bob, cy]) {
      e.message += `\n-- ${p.label} --\n${p.frames.filter((f) => !String(f).includes('"beat"')).slice(-4).join('\n')}`;
      e.message += `\nsent: ${p.sent.slice(-4).join(' ')}\nstatus: ${await p.page.textContent('#status').catch(() => '?')}`;
      e.message += `\nhand: ${await handShown(p.page)}; page errors: ${p.errors.join(' | ') || 'none'}`;
      await p.page.screenshot({ path: join(SHOTS, `four-failed-${p.label}.png`) }).catch(() => {});
    }
    throw e;
  } finally {
    await browser.close();
    server.stop();
  }
});
