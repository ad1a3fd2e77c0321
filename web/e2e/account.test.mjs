// Accounts in the browser, over https: a player registers, comes back signed
// in after a reload, keeps the name from a guest in any spelling, signs out;
// another page signs in with the password, changes it and deletes the account.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { DESKTOP, PHONE, SHOTS, enter, launch, openPlayer, startServer } from './harness.mjs';

function certificate() {
  const dir = mkdtempSync(join(tmpdir(), 'zarv-tls-'));
  const cert = join(dir, 'cert.pem');
  const key = join(dir, 'key.pem');
  execFileSync('openssl', ['req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-subj', '/CN=localhost', '-days', '2',
    '-keyout', key, '-out', cert], { stdio: 'ignore' });
  return ['--cert', cert, '--key', key];
}

const who = (page) => page.locator('.who-am-i');
const notice = (page) => page.locator('.notice');

async function fillAccountDialog(page, opener, fields) {
  await page.click(opener);
  for (const [selector, value] of Object.entries(fields)) await page.fill(selector, value);
  await page.click('dialog button[type=submit]');
}

test('a player registers, signs in again by itself, and the name is nobody else\'s', { timeout: 180_000 }, async () => {
  const server = await startServer(certificate());
  const browser = await launch();
  try {
    const secure = { ignoreHTTPSErrors: true };
    const ann = await openPlayer(browser, { ...PHONE, ...secure }, 'Ann');
    await enter(ann, server.url, 'Ann');
    await who(ann.page).filter({ hasText: 'Playing as Ann, a guest' }).waitFor();
    await fillAccountDialog(ann.page, '#register', { '#account-name': 'Ann', '#account-password': 'correct horse' });
    await who(ann.page).filter({ hasText: 'Signed in as Ann' }).waitFor();
    await ann.page.screenshot({ path: join(SHOTS, 'account-signed-in-phone.png') });
    // The session is kept: after a reload the page is signed in without a password.
    const sentBefore = ann.sent.length;
    await ann.page.reload();
    await who(ann.page).filter({ hasText: 'Signed in as Ann' }).waitFor();
    assert.ok(!ann.sent.slice(sentBefore).some((f) => f.includes('correct horse')), 'the password was sent again');

    // A guest may not play under her name, however spelled.
    const bob = await openPlayer(browser, { ...DESKTOP, ...secure }, 'Bob');
    await enter(bob, server.url, '\u0391NN');
    await bob.page.click('#play-now');
    await notice(bob.page).filter({ hasText: 'belongs to a registered player' }).waitFor();
    await bob.page.screenshot({ path: join(SHOTS, 'account-name-reserved-desktop.png') });
    // A guest's unrated table: its seat is marked, and so is the table, in every lobby.
    const cy = await openPlayer(browser, { ...PHONE, ...secure }, 'Cy');
    await enter(cy, server.url, 'Cy');
    await cy.page.click('#make-table');
    await cy.page.fill('#make-name', 'Practice');
    await cy.page.uncheck('#make-rated');
    await cy.page.click('dialog button[type=submit]');
    const practice = bob.page.locator('.lobby-table', { hasText: 'Practice' });
    await practice.locator('.who', { hasText: 'Cy (guest)' }).waitFor();
    await practice.locator('.facts', { hasText: 'unrated' }).waitFor();
    await bob.page.screenshot({ path: join(SHOTS, 'account-guest-unrated-desktop.png') });
    // A wrong password is refused; the right one signs in (under the name as registered).
    await fillAccountDialog(bob.page, '#sign-in', { '#account-name': 'ann', '#account-password': 'wrong password' });
    await notice(bob.page).filter({ hasText: 'Wrong name or password.' }).waitFor();
    await fillAccountDialog(bob.page, '#sign-in', { '#account-name': 'ann', '#account-password': 'correct horse' });
    await who(bob.page).filter({ hasText: 'Signed in as Ann' }).waitFor();
    // A new password ends the other sessions: Ann's phone, reloaded, is a guest again.
    await fillAccountDialog(bob.page, '#change-password', { '#old-password': 'correct horse', '#new-password': 'battery staple' });
    await notice(bob.page).filter({ hasText: 'other sign-ins have ended' }).waitFor();
    await ann.page.reload();
    await ann.page.locator('#name, .who-am-i').first().waitFor();
    assert.equal(await ann.page.locator('text=Signed in as Ann').count(), 0);
    // Deleted: the page is a guest, and the name may be registered anew.
    await fillAccountDialog(bob.page, '#delete-account', { '#delete-password': 'battery staple' });
    await who(bob.page).filter({ hasText: 'a guest' }).waitFor();
    await server.waitFor(/account deleted "Ann"/);
    for (const p of [ann, bob, cy]) assert.deepEqual(p.errors, [], p.label);
    for (const p of [ann, bob, cy]) await p.context.close();
  } finally {
    await browser.close();
    server.stop();
  }
});

test('on a plain http page the account panel says that accounts need https', { timeout: 60_000 }, async () => {
  const server = await startServer();
  const browser = await launch();
  try {
    const eve = await openPlayer(browser, PHONE, 'Eve');
    await enter(eve, server.url, 'Eve');
    await eve.page.locator('.account', { hasText: 'secure (https)' }).waitFor();
    assert.equal(await eve.page.locator('#sign-in, #register').count(), 0);
    await eve.context.close();
  } finally {
    await browser.close();
    server.stop();
  }
});
