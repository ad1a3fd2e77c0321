import { launch, openPlayer, enter, playToTheEnd, PHONE, DESKTOP } from './e2e/harness.mjs';
const browser = await launch();
const p = await openPlayer(browser, 'phone' === 'phone' ? PHONE : DESKTOP, 'Eve');
if ('en' === 'fa') {
  await p.page.goto('http://127.0.0.1:24536/');
  await p.page.click('#language');
}
await enter(p, 'http://127.0.0.1:24536/', 'Eve');
await p.page.click('#make-table');
await p.page.fill('#make-name', 'Open');
await p.page.click('dialog button[type=submit]');
await p.page.locator('#start').waitFor();
await p.page.locator('.seat.lit').waitFor({ timeout: 120000 });
await p.page.screenshot({ path: '/tmp/look3/a/browser-start.png' });
const over = await playToTheEnd(p, { touch: 'phone' === 'phone', shotMidTrick: 'browser-mid.png' });
await p.page.screenshot({ path: '/tmp/look3/a/browser-over.png' });
console.log('OVER', JSON.stringify(over.points), JSON.stringify(over.names));
await browser.close();
