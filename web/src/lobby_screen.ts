// The lobby: the tables as they stand, Play now, Make table, and the best players.
import { accountPanel, type AccountActions } from './account_panel';
import { el, clear } from './dom';
import { LEVELS, type Level, type LobbyTable } from './protocol';
import type { State } from './state';
import { say, number, noticeText, line } from './words';

export interface LobbyActions {
  playNow(): void;
  make(settings: { name: string; password: string; level: Level; moveLimit: number; watchable: boolean; rated: boolean }): void;
  sit(table: number, seat: number, password: string): void;
  watch(table: number, password: string): void;
  askPassword(title: string, then: (password: string) => void): void;
  showAllTables(): void;
  account: AccountActions;
  secure: boolean;  // the page came over https: passwords may travel
}

function seatCell(t: LobbyTable, seat: number, actions: LobbyActions): HTMLElement {
  const s = t.seats[seat - 1];
  const person = s.rating !== undefined ? say('withRating', s.name, s.rating) : s.guest ? say('withGuest', s.name) : s.name;
  const who = s.fill === 'free' ? say('free') : s.fill === 'computer' ? `${s.name} (${say('computer')})` : person;
  const canSit = s.fill === 'free' && !t.playing && seat !== 3;
  const sit = () => (t.private ? actions.askPassword(say('passwordFor', t.name), (pw) => actions.sit(t.id, seat, pw)) : actions.sit(t.id, seat, ''));
  return el('li', { class: `seat-line ${s.fill}` }, el('span', { class: 'who' }, who),
    canSit ? el('button', { class: 'small', onclick: sit, 'aria-label': `${say('sit')}: ${t.name}, ${say('seatNames', seat)}` }, say('sit')) : null);
}

function tableCard(t: LobbyTable, actions: LobbyActions, highlighted: boolean): HTMLElement {
  const facts = [t.playing ? say('playing') : say('waiting'), say(LEVELS.includes(t.level) ? t.level : 'standard'),
    t.moveLimit ? say('secondsShort', t.moveLimit) : say('noLimit')];
  if (t.watchers) facts.push(say('watchers', t.watchers));
  if (t.rated === false) facts.push(say('unrated'));
  const watch = () => (t.private ? actions.askPassword(say('passwordFor', t.name), (pw) => actions.watch(t.id, pw)) : actions.watch(t.id, ''));
  return el('article', { class: `lobby-table${highlighted ? ' highlighted' : ''}`, 'data-table': t.id, 'aria-label': t.name },
    el('h3', {}, t.private ? `\u{1F512} ${t.name}` : t.name),
    el('p', { class: 'facts' }, facts.join(' \u00b7 ')),
    el('ul', { class: 'seats' }, ...[1, 2, 3, 4].map((seat) => seatCell(t, seat, actions))),
    t.watchable ? el('button', { class: 'secondary', onclick: watch }, say('watch')) : null);
}

// The lobby, or only the table a link names (`#table=Friday`): its seats
// to take at once, and a way back to all the tables.
export function renderLobby(root: HTMLElement, s: State, actions: LobbyActions, wanted: string): void {
  clear(root);
  const tables = [...s.tables.values()].sort((a, b) => a.id - b.id);
  const named = (t: LobbyTable) => wanted !== '' && t.name.toLowerCase() === wanted.toLowerCase();
  const linked = tables.find(named);
  const notice = s.notice ? el('p', { class: 'notice', role: 'alert' }, line(noticeText(s.notice.words, s.notice.name))) : null;
  if (linked) {
    root.append(el('section', { class: 'linked-table', 'aria-label': linked.name },
      notice,
      linked.private ? el('p', { class: 'help' }, say('linkedPrivate')) : null,
      tableCard(linked, actions, true),
      el('button', { class: 'secondary', id: 'all-tables', onclick: () => actions.showAllTables() }, say('allTables'))));
    return;
  }
  const missing = wanted !== '' && s.listed ? el('p', { class: 'notice', role: 'status' }, say('noSuchTable', wanted)) : null;
  const parts: (HTMLElement | null)[] = [
    accountPanel(s, actions.account, actions.secure),
    el('section', { class: 'lobby-actions' },
      el('button', { class: 'primary', id: 'play-now', onclick: () => actions.playNow() }, say('playNow')),
      el('p', { class: 'help' }, say('playNowHelp')),
      el('button', { class: 'secondary', id: 'make-table', onclick: () => openMakeDialog(actions) }, say('makeTable'))),
    notice, missing,
    el('h2', {}, say('lobby')),
    tables.length ? el('div', { class: 'tables' }, ...tables.map((t) => tableCard(t, actions, false))) : el('p', {}, say('noTables')),
    s.top.length ? el('section', { class: 'best' }, el('h2', {}, say('best')),
      el('ol', {}, ...s.top.map((p) => el('li', {}, line(`${p.name} \u2014 ${say('ratingLine', p.rating, p.deviation, p.games, p.wins)}`))))) : null];
  for (const part of parts) if (part) root.append(part);
}

function openMakeDialog(actions: LobbyActions): void {
  const name = el('input', { id: 'make-name', maxlength: 40, required: true, autocomplete: 'off' });
  const password = el('input', { id: 'make-password', maxlength: 64, type: 'password', autocomplete: 'off' });
  const level = el('select', { id: 'make-level' },
    ...LEVELS.map((l) => el('option', { value: l, selected: l === 'standard' ? true : undefined }, say(l))));
  const limit = el('input', { id: 'make-limit', type: 'number', min: 10, max: 600, value: 60, inputmode: 'numeric' });
  const watchable = el('input', { id: 'make-watchable', type: 'checkbox', checked: true });
  const rated = el('input', { id: 'make-rated', type: 'checkbox', checked: true });
  const dialog = el('dialog', { class: 'make-dialog', 'aria-labelledby': 'make-title' });
  const form = el('form', { method: 'dialog' },
    el('h2', { id: 'make-title' }, say('makeTable')),
    el('label', { for: 'make-name' }, say('tableName')), name,
    el('label', { for: 'make-password' }, say('password')), password,
    el('label', { for: 'make-level' }, say('level')), level,
    el('label', { for: 'make-limit' }, say('moveLimit')), limit,
    el('label', { class: 'check' }, watchable, say('watchable')),
    el('label', { class: 'check' }, rated, say('rated')),
    el('div', { class: 'buttons' },
      el('button', { type: 'button', class: 'secondary', onclick: () => dialog.close() }, say('cancel')),
      el('button', { type: 'submit', class: 'primary' }, say('make'))));
  form.addEventListener('submit', (e) => {
    e.preventDefault();
    if (!name.value.trim()) return name.focus();
    actions.make({ name: name.value.trim(), password: password.value, level: level.value as Level,
      moveLimit: Math.max(10, Math.min(600, Number(limit.value) || 60)), watchable: watchable.checked, rated: rated.checked });
    dialog.close();
  });
  dialog.append(form);
  dialog.addEventListener('close', () => dialog.remove());
  document.body.append(dialog);
  dialog.showModal();
  name.focus();
}

export function askPassword(title: string, then: (password: string) => void): void {
  const input = el('input', { id: 'ask-password', type: 'password', maxlength: 64, autocomplete: 'off' });
  const dialog = el('dialog', { class: 'password-dialog', 'aria-labelledby': 'ask-title' });
  const form = el('form', { method: 'dialog' }, el('h2', { id: 'ask-title' }, title), input,
    el('div', { class: 'buttons' },
      el('button', { type: 'button', class: 'secondary', onclick: () => dialog.close() }, say('cancel')),
      el('button', { type: 'submit', class: 'primary' }, say('ok'))));
  form.addEventListener('submit', (e) => {
    e.preventDefault();
    dialog.close();
    then(input.value);
  });
  dialog.append(form);
  dialog.addEventListener('close', () => dialog.remove());
  document.body.append(dialog);
  dialog.showModal();
  input.focus();
}

export { number };
