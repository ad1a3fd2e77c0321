// The client's own logic, without a browser: the state built from the
// server's messages, the words and numbers in both languages, the layout.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { apply, initialState, screenPlace, LOG_KEPT } from './built/state.js';
import { cardName, languageFrom, newsText, noticeText, number, points, say, setLanguage, tr } from './built/words.js';
import { handCardPlace, tableLayout, MIN_TARGET } from './built/layout.js';
import { sheetCell, sortHand } from './built/cards.js';
import { passwordAllowed } from './built/account_panel.js';
import { statusText } from './built/table_status.js';

const view = (extra = {}) => ({ t: 'view', seat: 1, phase: 'playing', names: ['Eve', 'Vrel', 'Zarv', 'Dastrel'],
  kinds: ['person', 'computer', 'computer', 'computer'], counts: [13, 13, 13, 13], points: [0, 0], watchers: 0,
  level: 'standard', playNow: true, ...extra });

test('the state follows the server: lobby lines, seat, views, refusals', () => {
  let s = apply(initialState(), { t: 'welcome', v: 1, name: 'Eve' });
  assert.equal(s.screen, 'lobby');
  const line = { id: 7, name: 'Friday', playing: false, private: false, watchable: true, watchers: 0, level: 'standard', moveLimit: 60,
    seats: [{ name: '', fill: 'free' }, { name: '', fill: 'free' }, { name: 'Zarv', fill: 'computer' }, { name: '', fill: 'free' }] };
  s = apply(s, { t: 'lobbyTable', table: line });
  s = apply(s, { t: 'lobbyTable', table: { ...line, watchers: 2 } });
  assert.equal(s.tables.size, 1);
  assert.equal(s.tables.get(7).watchers, 2);
  s = apply(s, { t: 'lobbyGone', id: 7 });
  assert.equal(s.tables.size, 0);
  s = apply(s, { t: 'sitting', table: 7, seat: 1 });
  assert.equal(s.screen, 'table');
  s = apply(s, view({ decide: 'card', legal: ['h2'] }));
  s = apply(s, { t: 'refused', reason: 'follow', suit: 'h' });
  assert.deepEqual(s.refusal, { reason: 'follow', suit: 'h' });
  // The refusal holds while the decision does, and ends with it.
  s = apply(s, view({ decide: 'card', legal: ['h2'] }));
  assert.ok(s.refusal);
  s = apply(s, view());
  assert.equal(s.refusal, null);
  s = apply(s, { t: 'closing', notice: 10, words: 'The table is closing' });
  assert.ok(s.closed);
  assert.equal(s.token, '');
});

test('the chat log keeps its latest lines', () => {
  let s = initialState();
  for (let i = 0; i < LOG_KEPT + 20; i++) s = apply(s, { t: 'chat', seat: 1, text: `line ${i}` });
  assert.equal(s.log.length, LOG_KEPT);
  assert.equal(s.log.at(-1).text, `line ${LOG_KEPT + 19}`);
});

test('a refusal at the table is a line of its log; in the lobby it is the notice', () => {
  let s = apply(initialState(), { t: 'sitting', table: 3, seat: 1 });
  s = apply(s, { t: 'no', notice: 34, words: 'Slow down: at most 5 chat lines in 10 seconds.' });
  assert.equal(s.log.at(-1).kind, 'notice');
  assert.equal(s.notice, null);
  setLanguage('fa');
  assert.match(noticeText(s.log.at(-1).words), /^آهسته/);
  setLanguage('en');
  s = apply(s, { t: 'left' });
  s = apply(s, { t: 'no', notice: 24, words: 'That seat is taken.' });
  assert.equal(s.notice.words, 'That seat is taken.');
});

test('each seat sits where the player sees it: self at the bottom, then clockwise', () => {
  assert.deepEqual([1, 2, 3, 4].map((k) => screenPlace(k, 1)), ['bottom', 'left', 'top', 'right']);
  assert.deepEqual([1, 2, 3, 4].map((k) => screenPlace(k, 2)), ['right', 'bottom', 'left', 'top']);
  assert.equal(screenPlace(3, 0), 'top');  // a watcher sees seat 1 at the bottom
});

test('Farsi: Persian digits, the game words, cards named as people say them', () => {
  setLanguage('fa');
  assert.equal(number(1234), '۱۲۳۴');
  assert.equal(say('yourTurnLeft', 28), 'نوبت شما — ۲۸ ثانیه مانده، سپس رایانه بازی می‌کند');
  assert.equal(cardName('h10'), 'ده دل');
  assert.equal(cardName('g14'), 'آس گشنیز');
  assert.equal(cardName('x12'), 'بی‌بی خشت');
  assert.equal(cardName('p11'), 'سرباز پیک');
  // The window's own words, from its translation.
  assert.match(tr('%1 is back.', 'مریم'), /مریم برگشت/);
  assert.equal(tr('The hand is over'), 'این دور تمام شد');
  assert.match(newsText('hakem', 'Eve'), /حاکم/);
  assert.doesNotMatch(newsText('handWon', 'Eve', 'Zarv', 3), /PerKoot|[0-9]/);
  // A notice with a name in it is found by its template.
  assert.notEqual(noticeText('That seat is taken', ''), undefined);
  setLanguage('en');
  assert.equal(cardName('h10'), 'ten of hearts');
  assert.equal(say('yourTurnLeft', 28), 'Your turn — 28 s left, then the computer plays');
  assert.equal(newsText('handWon', 'Eve', 'Zarv', 2), 'Koot! Eve and Zarv win.');
  assert.equal(languageFrom(['fa-IR', 'en']), 'fa');
  assert.equal(languageFrom(['de-DE', 'en-GB']), 'en');
  assert.equal(languageFrom([]), 'en');
});

test('the status line: whose turn it is, and nobody\'s once seven tricks end the hand', () => {
  const s = initialState();
  assert.equal(statusText(view({ turn: 2, tricks: [3, 6] }), s, null), 'Vrel to play.');
  assert.equal(statusText(view({ decide: 'card', legal: ['h2'], turn: 1 }), s, null), 'Your turn');
  assert.equal(statusText(view({ decide: 'card', legal: ['h2'], turn: 1 }), s, 28), 'Your turn — 28 s left, then the computer plays');
  // The last trick taken, the table still shows its winner's turn until the next deal.
  assert.equal(statusText(view({ turn: 3, tricks: [7, 4] }), s, null), 'The hand is over');
  assert.equal(statusText(view({ turn: 2, tricks: [2, 7] }), s, null), 'The hand is over');
  assert.equal(statusText(view({ phase: 'trump', turn: 2, tricks: [0, 0] }), s, null), 'Vrel is choosing the ZARV.');
});

test('every hand fits across the screen with a thumb-wide target per card', () => {
  for (const [w, h] of [[360, 640], [390, 844], [844, 390], [768, 1024], [1366, 768], [1920, 1080]]) {
    for (let cards = 1; cards <= 13; cards++) {
      const l = tableLayout(w, h, cards);
      const at = `${w}x${h}, ${cards} cards`;
      assert.ok(l.handWidth <= w - 8, `${at}: hand ${l.handWidth} wide`);
      assert.ok(l.handStep >= MIN_TARGET || l.handStep >= l.cardWidth || cards === 1, `${at}: step ${l.handStep}`);
      // Every card, of either row, inside the hand's width: none cut at the screen's edge.
      for (let k = 0; k < cards; k++) assert.ok(handCardPlace(l, k).x + l.cardWidth <= l.handWidth, `${at}: card ${k}`);
      assert.ok(l.cardHeight >= MIN_TARGET, at);
    }
  }
  // Five cards (the HAKEM's) in one row.
  assert.equal(tableLayout(360, 640, 5).rows, 1);
});

test('cards: the picture sheet and the window order of a hand', () => {
  assert.deepEqual(sheetCell('g2'), { column: 0, row: 0 });
  assert.deepEqual(sheetCell('x14'), { column: 12, row: 3 });
  assert.deepEqual(sheetCell(null), { column: 0, row: 4 });
  assert.deepEqual(sortHand(['g2', 'h14', 'h3', 'p12', 'g13'], 'h'), ['h14', 'h3', 'g13', 'g2', 'p12']);
});

test('signed in, the page plays under the account; signed out, under the guest name it had', () => {
  let s = apply(initialState(), { t: 'welcome', v: 1, name: 'Guest 7' });
  s = apply(s, { t: 'no', notice: 37, name: 'Guest 7', words: 'The name Guest 7 belongs to a registered player.' });
  assert.ok(s.notice);
  s = apply(s, { t: 'signedIn', name: 'Ann', token: 'f'.repeat(64) });
  assert.equal(s.account, 'Ann');
  assert.equal(s.name, 'Ann');
  assert.equal(s.notice, null);
  s = apply(s, { t: 'signedOut', name: 'Guest 7' });
  assert.equal(s.account, '');
  assert.equal(s.name, 'Guest 7');
});

test('a password is what the lobby takes: 8 to 64 characters without its separators', () => {
  assert.ok(passwordAllowed('correct horse'));
  assert.ok(passwordAllowed('x'.repeat(64)));
  for (const bad of ['short', 'x'.repeat(65), 'semi;colon!', 'pipe|pipe!']) assert.ok(!passwordAllowed(bad), bad);
});

test('a review shows the seat its own cards and only the others\' cards it saw played', async () => {
  const { cardsBefore, costliestFirst, decisionText } = await import('./built/review_panel.js');
  setLanguage('en');
  const own = ['g2', 'g3', 'g4', 'g5', 'g6', 'g7', 'g8', 'g9', 'g10', 'g11', 'g12', 'g13', 'g14'];
  const review = { t: 'review', seat: 1, hakem: 1, trump: 'h', hand: own,
    tricks: [{ leader: 1, winner: 2, cards: ['g2', 'h10', 'p2', 'x2'] }, { leader: 2, winner: 0, cards: ['', 'h2', 'p3', ''] }],
    decisions: [{ trick: 1, played: 'g2', best: 'g14', cost: 0.4, values: [['g14', 1], ['g2', 0.6]] },
      { trick: 2, played: 'g3', best: 'g3', cost: 0, values: [['g3', 1]] },
      { trick: 3, played: 'g4', best: 'g9', cost: 0.4, values: [] }] };
  const first = cardsBefore(review, 1);
  assert.deepEqual(first.shown[0], own);
  assert.deepEqual(first.shown[1], ['h10', 'h2']);
  assert.equal(first.hidden[1], 11);  // thirteen less the two it played
  assert.deepEqual(first.shown[3], ['x2']);
  assert.equal(first.hidden[3], 12);
  const second = cardsBefore(review, 2);
  assert.deepEqual(second.shown[0], own.slice(1));
  assert.deepEqual(second.shown[1], ['h2']);
  assert.equal(second.hidden[1], 11);
  // The costliest first; equals in the order played.
  assert.deepEqual(costliestFirst(review.decisions).map((d) => d.trick), [1, 3, 2]);
  assert.equal(decisionText(review.decisions[0]), 'two of clubs cost 0.40 points; ace of clubs was best');
  assert.equal(decisionText(review.decisions[1]), 'three of clubs was the best card');
  // Points with two decimals in the language's digits.
  setLanguage('fa');
  assert.equal(points(0.4), '۰٫۴۰');
  setLanguage('en');
  assert.equal(points(2), '2.00');

  // The state keeps the review until it is closed; a refusal ends the asking.
  let s = apply(initialState(), { t: 'sitting', table: 3, seat: 1 });
  s = { ...s, reviewAsked: true };
  s = apply(s, { t: 'refused', reason: 'reviewBusy' });
  assert.equal(s.reviewAsked, false);
  s = apply({ ...s, reviewAsked: true }, review);
  assert.equal(s.review, review);
  assert.equal(s.reviewAsked, false);
  s = apply(s, { t: 'left' });
  assert.equal(s.review, null);
});
