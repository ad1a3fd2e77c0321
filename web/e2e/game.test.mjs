// A whole game in the browser, at a table with two zarv-sim bots, to its
// game-over result; every frame the page receives is checked for cards its
// seat could not see.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { DESKTOP, SHOTS, enter, launch, openPlayer, playToTheEnd, serverResults, startBot, startServer } from './harness.mjs';

test('a browser plays a whole game against two bots and the server computer', { timeout: 240_000 }, async () => {
  const server = await startServer(['--no-pauses', '--next-game', '3600']);
  const browser = await launch();
  try {
    const eve = await openPlayer(browser, DESKTOP, 'Eve');
    await enter(eve, server.url, 'Eve');
    await eve.page.screenshot({ path: join(SHOTS, 'lobby-empty.png') });
    // Installable: the manifest names home-screen pictures the server has, of the sizes it says.
    const manifest = await (await fetch(new URL('manifest.webmanifest', server.url))).json();
    const pictures = manifest.icons.filter((i) => i.type === 'image/png');
    assert.deepEqual(pictures.map((i) => `${i.sizes} ${i.purpose}`), ['192x192 any', '512x512 any', '512x512 maskable']);
    for (const icon of pictures) {
      const answer = await fetch(new URL(icon.src, server.url));
      assert.equal(answer.headers.get('content-type'), 'image/png', icon.src);
      const png = Buffer.from(await answer.arrayBuffer());
      assert.equal(`${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`, icon.sizes, icon.src);
    }
    await eve.page.click('#make-table');
    await eve.page.fill('#make-name', 'Friday');
    await eve.page.click('dialog button[type=submit]');
    await eve.page.waitForSelector('#start');
    const bots = [startBot(server, 'Friday', 2, 'Bot2'), startBot(server, 'Friday', 4, 'Bot4')];
    await server.waitFor(/seated 4 "Bot4"/);
    await server.waitFor(/seated 2 "Bot2"/);
    // Three people seated: the table starts by itself.
    const over = await playToTheEnd(eve, { shotMidTrick: 'table-mid-trick-desktop.png' });
    await eve.page.screenshot({ path: join(SHOTS, 'game-over-desktop.png') });
    assert.equal(over.phase, 'over');
    assert.deepEqual(serverResults(server).at(-1), over.points);
    assert.ok(Math.max(...over.points) >= 7);
    assert.deepEqual(over.names, ['Eve', 'Bot2', 'Zarv', 'Bot4']);
    const status = await eve.page.textContent('#status');
    assert.match(status, /You (won|lost) the game/);
    assert.deepEqual(eve.errors, []);
    assert.ok(eve.sight.frames > 100);
    // "Play again" starts the next game at once.
    await eve.page.click('#play-again');
    await eve.page.locator('#play-again').waitFor({ state: 'detached', timeout: 30_000 });
    await Promise.all(bots.map((b) => b.stop()));
  } finally {
    await browser.close();
    server.stop();
  }
});
