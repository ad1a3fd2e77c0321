import { launch, openPlayer, enter } from './e2e/harness.mjs';
const browser = await launch();
const p = await openPlayer(browser, { viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true }, 'Eve');
await enter(p, 'http://127.0.0.1:23606/', 'Eve');
await p.page.click('#make-table');
await p.page.fill('#make-name', 'Open');
await p.page.click('dialog button[type=submit]');
await p.page.locator('#start').waitFor();
await p.page.waitForTimeout(25000);
await p.page.screenshot({ path: '/tmp/look2/browser1.png' });
// Play the browser's first decisions.
for (let i = 0; i < 3; i++) {
  const c = p.page.locator('.hand .card:not([aria-disabled])').first();
  await c.waitFor({ timeout: 60000 }).catch(() => {});
  await c.tap({ position: { x: 8, y: 8 } }).catch(() => {});
  await c.tap({ position: { x: 8, y: 8 } }).catch(() => {});
  await p.page.waitForTimeout(1500);
}
await p.page.screenshot({ path: '/tmp/look2/browser2.png' });
await browser.close();
