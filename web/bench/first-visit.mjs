// The web client's first visit, measured: the bytes a browser downloads
// (compressed, as sent), with and without the card pictures, and the time
// from navigation to a playable lobby in Chromium with its processor slowed
// four times, on loopback. Prints one line.
//   ZARV_SERVER=build/server/zarv-server node web/bench/first-visit.mjs [runs]
import { launch, startServer } from '../e2e/harness.mjs';

const runs = Number(process.argv[2] ?? 5);
const server = await startServer([]);
const browser = await launch();
const times = [];
let bytes = 0, art = 0;
try {
  for (let i = 0; i < runs; i++) {
    const context = await browser.newContext({ viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true });
    const page = await context.newPage();
    const cdp = await context.newCDPSession(page);
    await cdp.send('Network.enable');
    await cdp.send('Emulation.setCPUThrottlingRate', { rate: 4 });
    const sizes = new Map();
    cdp.on('Network.responseReceived', (e) => sizes.set(e.requestId, e.response.url));
    let total = 0, pictures = 0;
    cdp.on('Network.loadingFinished', (e) => {
      const url = sizes.get(e.requestId) ?? '';
      if (url.startsWith('ws')) return;
      total += e.encodedDataLength;
      if (/cards-.*\.png$/.test(url)) pictures += e.encodedDataLength;
    });
    const start = Date.now();
    await page.goto(server.url);
    await page.locator('#name').waitFor();
    const named = Date.now();
    await page.fill('#name', 'Timer');
    await page.click('form.name-form button[type=submit]');
    await page.locator('#play-now').waitFor();
    // To the name form (the page is up), and from the name to the lobby's tables.
    times.push((named - start) + (Date.now() - named));
    await page.waitForLoadState('networkidle');
    // The card pictures come with the first table: fetched here as the table's style sheet asks.
    const picture = await page.evaluate(() => [...document.styleSheets].flatMap((s) => [...s.cssRules])
      .map((r) => r.cssText.match(/url\("?([^")]*cards-[^")]*)"?\)/)?.[1]).find(Boolean));
    const response = await page.request.get(new URL(picture, server.url).href);
    pictures = Number(response.headers()['content-length'] ?? (await response.body()).length);
    bytes = total + pictures;
    art = pictures;
    await context.close();
  }
} finally {
  await browser.close();
  server.stop();
}
times.sort((a, b) => a - b);
const median = times[Math.floor(times.length / 2)];
console.log(`first-visit bytes ${bytes} without-art ${bytes - art} art ${art} lobby-ms-median ${median} lobby-ms-worst ${times.at(-1)} cpu-slowdown 4 runs ${runs}`);
