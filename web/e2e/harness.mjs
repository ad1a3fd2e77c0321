// The browser tests' tools: a real zarv-server on a free loopback port,
// zarv-sim bots, Debian's Chromium driven by playwright-core, every
// WebSocket frame each page receives, and the check that none of them names
// a card its seat could not see yet. Every wait is bounded.
import { spawn } from 'node:child_process';
import { mkdirSync } from 'node:fs';
import { join } from 'node:path';
import { chromium } from 'playwright-core';
import assert from 'node:assert/strict';

export const SERVER = process.env.ZARV_SERVER;
export const SIM = process.env.ZARV_SIM;
export const SHOTS = process.env.ZARV_SHOTS ?? '/tmp/zarv-shots';
export const WEB_ROOT = process.env.ZARV_WEB_ROOT;
export const CHROMIUM = process.env.ZARV_CHROMIUM ?? '/usr/bin/chromium';
mkdirSync(SHOTS, { recursive: true });

const LIMIT_MS = 60_000;
const RETRY_MS = 10_000;

// A process whose output is read as it comes; waitFor(pattern) resolves with the match.
function watched(program, args) {
  const child = spawn(program, args, { stdio: ['ignore', 'pipe', 'pipe'] });
  let out = '';
  let err = '';
  const waiters = [];
  const check = () => {
    for (const w of [...waiters]) {
      const m = w.pattern.exec(out);
      if (m) {
        waiters.splice(waiters.indexOf(w), 1);
        clearTimeout(w.timer);
        w.resolve(m);
      }
    }
  };
  child.stdout.on('data', (d) => { out += d; check(); });
  child.stderr.on('data', (d) => { err += d; });
  return {
    child,
    out: () => out,
    err: () => err,
    waitFor(pattern, ms = LIMIT_MS) {
      return new Promise((resolve, reject) => {
        const w = { pattern, resolve, timer: setTimeout(() => reject(new Error(`no ${pattern} in ${ms} ms:\n${out.slice(-3000)}\n${err}`)), ms) };
        waiters.push(w);
        check();
      });
    },
    stop() {
      if (child.exitCode === null) child.kill('SIGTERM');
    },
  };
}

export async function startServer(extra = []) {
  const args = ['--port', '0', '--web-port', '0', '--db', join(SHOTS, `results-${process.pid}-${Date.now()}.sqlite`), ...extra];
  if (WEB_ROOT) args.push('--web-root', WEB_ROOT);
  const server = watched(SERVER, args);
  const port = Number((await server.waitFor(/^listening (\d+)\n/m))[1]);
  const webPort = Number((await server.waitFor(/^listening web (\d+)\n/m))[1]);
  const scheme = extra.includes('--cert') ? 'https' : 'http';
  return { ...server, port, webPort, url: `${scheme}://127.0.0.1:${webPort}/` };
}

export function startBot(server, table, seat, name, extra = []) {
  return watched(SIM, ['join', `127.0.0.1:${server.port}`, '--table', table, '--seat', String(seat), '--name', name, ...extra]);
}

export async function launch() {
  return chromium.launch({
    executablePath: CHROMIUM,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage'],
  });
}

// Without the cards' small movements, a click need not wait for a card to settle.
export const PHONE = { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true, reducedMotion: 'reduce' };
export const SMALL_PHONE = { viewport: { width: 360, height: 640 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true, reducedMotion: 'reduce' };
export const DESKTOP = { viewport: { width: 1366, height: 768 }, reducedMotion: 'reduce' };

// Every card a frame names must be one the seat may know: in its own hand or
// played to the table; no card held here may be played by another seat.
export class SightCheck {
  constructor(label) {
    this.label = label;
    this.held = new Set();
    this.deal = -1;
    // Every card this seat was shown in this deal and the one before: a
    // review (of the hand before) may name nothing else.
    this.seen = new Set();
    this.seenBefore = new Set();
    this.frames = 0;
  }
  look(text) {
    this.frames++;
    const m = JSON.parse(text);
    const visible = new Set();
    if (m.t === 'view') {
      if (m.deal !== this.deal) {
        this.held.clear();
        this.seenBefore = this.seen;
        this.seen = new Set();
      }
      this.deal = m.deal;
      for (const c of m.hand ?? []) { visible.add(c); this.held.add(c); }
      if (m.hand) assert.equal(m.hand.length, m.counts[m.seat - 1], `${this.label}: hand and count differ`);
      if (m.seat === 0) assert.equal(m.hand, undefined, `${this.label}: a watcher was sent a hand`);
      for (const [seat, card] of m.trick ?? []) {
        visible.add(card);
        if (seat !== m.seat) assert.ok(!this.held.has(card), `${this.label}: seat ${seat} played ${card}, held here`);
      }
      for (const [, card] of m.last?.cards ?? []) visible.add(card);
    }
    if (m.t === 'hint') visible.add(m.card);
    if (m.t === 'review') for (const c of [...this.seen, ...this.seenBefore]) visible.add(c);
    for (const c of visible) this.seen.add(c);
    for (const card of text.match(/"[gphx](?:1[0-4]|[2-9])"/g) ?? []) {
      assert.ok(visible.has(card.slice(1, -1)), `${this.label}: ${card} named in ${text}`);
    }
  }
}

// A page whose every WebSocket frame is recorded and checked as it arrives.
export async function openPlayer(browser, options, label) {
  const context = await browser.newContext(options);
  const page = await context.newPage();
  const sight = new SightCheck(label);
  const frames = [];
  const sent = [];
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('websocket', (ws) => ws.on('framesent', (f) => sent.push(String(f.payload))));
  page.on('websocket', (ws) => ws.on('framereceived', (f) => {
    frames.push(f.payload);
    try {
      sight.look(String(f.payload));
    } catch (e) {
      errors.push(e.message);
    }
  }));
  return { context, page, sight, frames, sent, errors, label };
}

export async function enter(player, url, name) {
  await player.page.goto(url);
  await player.page.fill('#name', name);
  await player.page.click('form.name-form button[type=submit]');
  await player.page.waitForSelector('#play-now', { timeout: LIMIT_MS });
}

export function lastView(player) {
  for (let i = player.frames.length - 1; i >= 0; i--) {
    const m = JSON.parse(String(player.frames[i]));
    if (m.t === 'view') return m;
  }
  return null;
}

// The hand as the page shows it, for a failure's message: each card, * when
// it may be chosen, ^ when lifted by a first touch.
export async function handShown(page) {
  const cards = [];
  for (const c of await page.locator('.hand .card').all().catch(() => [])) {
    const [card, off, cls] = await Promise.all(['data-card', 'aria-disabled', 'class'].map((a) => c.getAttribute(a).catch(() => '?')));
    cards.push(`${card}${off ? '' : '*'}${cls?.includes('lifted') ? '^' : ''}`);
  }
  return cards.join(' ') || 'empty';
}

// Plays every decision with the first card the page lets it play, until the
// game is over. touch: two taps (lift, then play); keyboard: focus and Enter.
export async function playToTheEnd(player, { touch = false, keyboard = false, shotMidTrick = '' } = {}) {
  const { page } = player;
  const deadline = Date.now() + 4 * LIMIT_MS;
  let shot = !shotMidTrick;
  const enabled = page.locator('.hand .card:not([aria-disabled])');
  const over = page.locator('#play-again');
  while (Date.now() < deadline) {
    // (Locators, not page functions: the page's policy allows no evaluated script.)
    await page.locator('#play-again, .hand .card:not([aria-disabled])').first().waitFor({ timeout: LIMIT_MS }).catch(async (e) => {
      await page.screenshot({ path: join(SHOTS, `stuck-${player.label.replace(/\W/g, '')}.png`) });
      throw new Error(`${player.label}: nothing to play for a minute; hand ${await handShown(page)}; page errors ${player.errors.join(' | ') || 'none'}; last frames:\n${player.frames.slice(-6).join('\n')}\n${e.message}`);
    });
    if (await over.count()) return lastView(player);
    const card = await enabled.first().getAttribute('data-card').catch(() => null);
    if (!card) continue;
    if (!shot && (await page.locator('.trick .played').count()) >= 2) {
      await page.screenshot({ path: join(SHOTS, shotMidTrick) });
      shot = true;
    }
    const count = await page.locator('.hand .card').count();
    const target = page.locator(`.hand .card[data-card="${card}"]`);
    try {
      // Near the corner that shows where the hand's cards overlap.
      const corner = { x: 8, y: 8 };
      if (touch) {
        await target.tap({ timeout: 5000, position: corner });
        await target.tap({ timeout: 5000, position: corner });
      } else if (keyboard) {
        await target.focus({ timeout: 5000 });
        await page.keyboard.press('Enter');
      } else {
        await target.click({ timeout: 5000, position: corner });
      }
    } catch (e) {
      // The hand changed under the click: look again (but not for ever).
      if ((player.missed = (player.missed ?? 0) + 1) > 50) throw new Error(`${player.label}: cannot play ${card}: ${e.message}`);
      continue;
    }
    // The card leaves the hand (or, once the ZARV is named, the hand fills).
    // A choice the page did not take (the same card dealt again may hide its
    // leaving) is looked at again after a while, not after the whole limit.
    await Promise.race([
      target.waitFor({ state: 'detached', timeout: RETRY_MS }),
      page.locator('.hand .card').nth(count).waitFor({ state: 'attached', timeout: RETRY_MS }),
      over.waitFor({ state: 'attached', timeout: RETRY_MS }),
    ]).catch(() => {});
  }
  throw new Error(`${player.label}: no game over in time`);
}

// The game-over lines of the server's log: [[a, b], ...].
export function serverResults(server) {
  return [...server.out().matchAll(/game over points (\d+)-(\d+)/g)].map((m) => [Number(m[1]), Number(m[2])]);
}
