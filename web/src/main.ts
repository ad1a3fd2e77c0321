// The page: one WebSocket to the table server, the state built from its
// messages, and the screen drawn from the state. A lost connection comes back
// by itself, to the same seat when the page holds its return token.
import { el, clear } from './dom';
import { askPassword, renderLobby } from './lobby_screen';
import { PROTOCOL_VERSION, type Level, type ServerMessage, type View } from './protocol';
import { apply, initialState, type State } from './state';
import { TableScreen } from './table_screen';
import { cardName, currentLanguage, isRightToLeft, languageFrom, say, setLanguage, type Language, newsText, line } from './words';

const app = document.getElementById('app')!;
const announcer = document.getElementById('announcer')!;
const SEAT_KEY = 'zarv.seat';
const NAME_KEY = 'zarv.name';
const LANGUAGE_KEY = 'zarv.language';
// The account's session ({name, token}): the password is typed once, not at every visit.
const SESSION_KEY = 'zarv.session';
const secure = location.protocol === 'https:';

interface Session { name: string; token: string }
function savedSession(): Session | null {
  try {
    const s = JSON.parse(localStorage.getItem(SESSION_KEY) ?? 'null');
    return s && typeof s.name === 'string' && typeof s.token === 'string' ? s : null;
  } catch {
    return null;
  }
}
// A resume was asked: a refusal of it ends the kept session.
let resuming = false;

let state: State = initialState();
let socket: WebSocket | null = null;
let retry = 0;
// The server speaks at least every ten seconds; a connection silent for
// longer than this is dead (a phone that slept, a network that changed).
const SILENCE_MS = 25_000;
let heardAt = 0;
setInterval(() => {
  if (socket && socket.readyState === WebSocket.OPEN && Date.now() - heardAt > SILENCE_MS) abandon();
}, 2000);

// A connection that went quiet is left to die on its own (its closing
// handshake may never come back) and a new one begins at once.
function abandon(): void {
  const old = socket;
  socket = null;
  old?.close();
  if (state.screen === 'table') showConnectionLost();
  setTimeout(connect, Math.min(5000, 300 * 2 ** retry++));
}
let table: TableScreen | null = null;
let drawnScreen = '';
let wantedTable = new URLSearchParams(location.hash.slice(1)).get('table') ?? '';

function send(message: object): void {
  if (socket?.readyState === WebSocket.OPEN) socket.send(JSON.stringify(message));
}

function savedSeat(): string {
  return localStorage.getItem(SEAT_KEY) ?? '';
}

function connect(): void {
  const url = `${location.protocol === 'https:' ? 'wss' : 'ws'}://${location.host}/ws`;
  const ws = new WebSocket(url);
  socket = ws;
  ws.addEventListener('open', () => {
    retry = 0;
    heardAt = Date.now();
    const token = savedSeat();
    if (token) {
      send({ t: 'back', v: PROTOCOL_VERSION, token });
      return;
    }
    send({ t: 'hello', v: PROTOCOL_VERSION, name: state.name });
    const session = secure ? savedSession() : null;
    if (session) {
      resuming = true;
      send({ t: 'resume', name: session.name, token: session.token });
    }
  });
  ws.addEventListener('message', (e) => {
    heardAt = Date.now();
    let message: ServerMessage;
    try {
      message = JSON.parse(String(e.data));
    } catch {
      return;
    }
    receive(message);
  });
  ws.addEventListener('close', () => {
    if (socket !== ws) return;
    socket = null;
    if (state.screen === 'reload') return;
    if (!savedSeat() && !state.name) {
      // Nothing to come back to and no name yet: the person says who plays.
      state = { ...state, screen: 'name' };
      draw();
      return;
    }
    // Back to the seat (or the lobby) by itself; quickly at first, then every few seconds.
    const delay = Math.min(5000, 300 * 2 ** retry++);
    if (state.screen === 'table' && savedSeat()) showConnectionLost();
    setTimeout(connect, delay);
  });
}

function showConnectionLost(): void {
  const status = document.getElementById('status');
  if (status) status.textContent = say('reconnecting');
}

function receive(m: ServerMessage): void {
  const before = state;
  if (m.t === 'token') localStorage.setItem(SEAT_KEY, m.token);
  if (m.t === 'no' && savedSeat() && !state.view) {
    // The seat cannot be taken back (the game ended meanwhile): the lobby, then.
    localStorage.removeItem(SEAT_KEY);
  }
  if (m.t === 'closing') localStorage.removeItem(SEAT_KEY);
  keepSession(m);
  if (m.t === 'made') send({ t: 'sit', table: m.table, seat: 1, password: pendingPassword });
  state = apply(state, m);
  if (m.t === 'view') announceChanges(before.view, m);
  if (m.t === 'news' && !m.old) announce(newsText(m.kind, m.name, m.partner, m.points, m.firstSide));
  draw();
}

let pendingPassword = '';

// The session the server gave, kept for the next visit; gone when it ends.
function keepSession(m: ServerMessage): void {
  if (m.t === 'signedIn') {
    localStorage.setItem(SESSION_KEY, JSON.stringify({ name: m.name, token: m.token }));
    localStorage.setItem(NAME_KEY, m.name);
  } else if (m.t === 'passwordChanged') {
    const session = savedSession();
    if (session) localStorage.setItem(SESSION_KEY, JSON.stringify({ ...session, token: m.token }));
    state = { ...state, notice: { words: say('passwordChanged') } };
  } else if (m.t === 'signedOut' || m.t === 'accountDeleted' || (m.t === 'no' && resuming)) {
    localStorage.removeItem(SESSION_KEY);
  }
  if (m.t === 'signedIn' || m.t === 'no') resuming = false;
}

const accountActions = {
  register: (name: string, password: string) => send({ t: 'register', name, password }),
  signIn: (name: string, password: string) => send({ t: 'signIn', name, password }),
  signOut: () => send({ t: 'signOut' }),
  changePassword: (oldPassword: string, newPassword: string) => send({ t: 'changePassword', old: oldPassword, new: newPassword }),
  deleteAccount: (password: string) => send({ t: 'deleteAccount', password }),
  // A guest's new name is said in a new hello, on a new connection.
  changeName: () => {
    const old = socket;
    socket = null;
    old?.close();
    state = { ...initialState(), screen: 'name' };
    draw();
  },
};

// What a screen reader hears: the cards played, whose turn it is.
function announceChanges(old: View | null, v: View): void {
  const before = new Set((old?.trick ?? []).map(([s, c]) => `${s}${c}`));
  const said: string[] = [];
  for (const [seat, card] of v.trick ?? []) if (!before.has(`${seat}${card}`)) said.push(say('played', v.names[seat - 1], cardName(card)));
  if (v.trump && old?.trump !== v.trump) said.push(say('trumpIs', cardName(`${v.trump}2`).split(' ').slice(-1)[0]));
  if (v.decide && !old?.decide) said.push(v.decide === 'trump' ? say('nameTrump') : say('yourTurn'));
  if (said.length) announce(said.join(' '));
}

function announce(text: string): void {
  announcer.textContent = line(text);
}

const lobbyActions = {
  playNow: () => send({ t: 'playNow', level: 'standard' }),
  make: (m: { name: string; password: string; level: Level; moveLimit: number; watchable: boolean; rated: boolean }) => {
    pendingPassword = m.password;
    send({ t: 'make', ...m });
  },
  sit: (tableId: number, seat: number, password: string) => send({ t: 'sit', table: tableId, seat, password }),
  watch: (tableId: number, password: string) => send({ t: 'watch', table: tableId, password }),
  askPassword,
  showAllTables: () => forgetLinkedTable(),
  account: accountActions,
  secure,
};

function forgetLinkedTable(): void {
  wantedTable = '';
  history.replaceState(null, '', location.pathname);
  draw();
}

const tableActions = {
  play: (card: string) => send({ t: 'play', card }),
  trump: (suit: string) => send({ t: 'trump', suit }),
  chat: (text: string) => send({ t: 'chat', text }),
  hint: () => send({ t: 'hint' }),
  review: () => {
    state = { ...state, reviewAsked: true };
    send({ t: 'review' });
    draw();
  },
  closeReview: () => {
    state = { ...state, review: null };
    draw();
  },
  again: () => send({ t: 'again' }),
  start: () => send({ t: 'start', table: state.tableId }),
  leave: () => {
    localStorage.removeItem(SEAT_KEY);
    state = { ...initialState(), name: state.name, screen: 'lobby' };
    wantedTable = '';
    history.replaceState(null, '', location.pathname);
    // A new connection: the lobby of a person at no table.
    const old = socket;
    socket = null;
    old?.close();
    connect();
    draw();
  },
};

function header(): HTMLElement {
  const other: Language = currentLanguage() === 'fa' ? 'en' : 'fa';
  return el('header', { class: 'top-bar' }, el('h1', {}, say('appTitle')),
    el('button', { class: 'small language', id: 'language', lang: other, onclick: () => chooseLanguage(other) }, say('language')));
}

function chooseLanguage(l: Language): void {
  localStorage.setItem(LANGUAGE_KEY, l);
  setLanguage(l);
  document.documentElement.lang = l;
  document.documentElement.dir = isRightToLeft() ? 'rtl' : 'ltr';
  drawnScreen = '';
  draw();
}

function drawName(): void {
  const input = el('input', { id: 'name', maxlength: 40, required: true, autocomplete: 'nickname', value: localStorage.getItem(NAME_KEY) ?? '' });
  const form = el('form', { class: 'name-form' }, el('label', { for: 'name' }, say('yourName')), input,
    el('p', { class: 'help' }, say('nameHelp')), el('button', { type: 'submit', class: 'primary' }, say('enter')));
  form.addEventListener('submit', (e) => {
    e.preventDefault();
    const name = input.value.trim().replace(/[;|]/g, ' ');
    if (!name) return input.focus();
    localStorage.setItem(NAME_KEY, name);
    state = { ...state, name };
    connect();
  });
  app.append(form);
  input.focus();
}

function draw(): void {
  const key = `${state.screen}:${state.tableId}:${state.watching}:${currentLanguage()}`;
  if (key !== drawnScreen || state.screen !== 'table') {
    clear(app);
    table?.dispose();
    table = null;
    app.append(header());
    const body = el('div', { class: 'screen' });
    app.append(body);
    drawnScreen = key;
    if (state.screen === 'name') return drawName();
    if (state.screen === 'reload') {
      body.append(el('p', { role: 'alert' }, say('reload')), el('button', { class: 'primary', onclick: () => location.reload() }, say('reloadButton')));
      return;
    }
    if (state.screen === 'lobby') return renderLobby(body, state, lobbyActions, wantedTable);
    table = new TableScreen(body, tableActions, state.watching);
  }
  table?.update(state);
}

document.addEventListener('keydown', (e) => {
  if (state.screen !== 'table' || (e.target as HTMLElement).tagName === 'INPUT') return;
  if (e.key === 'l' || e.key === 'L') document.getElementById('last-trick')?.click();
  if (e.key === 'h' || e.key === 'H') document.getElementById('hint')?.click();
});
window.addEventListener('resize', () => table?.update(state));
// A table's link pasted into a page already open.
window.addEventListener('hashchange', () => {
  wantedTable = new URLSearchParams(location.hash.slice(1)).get('table') ?? '';
  if (state.screen === 'lobby') draw();
});
// A phone that wakes: a socket that died while it slept is noticed at once.
document.addEventListener('visibilitychange', () => {
  if (document.visibilityState !== 'visible') return;
  if (!socket) connect();
  else if (Date.now() - heardAt > 12_000) abandon();  // it slept through the beats: start again
});
window.addEventListener('online', () => {
  if (socket && Date.now() - heardAt > 12_000) abandon();
});

chooseLanguage((localStorage.getItem(LANGUAGE_KEY) as Language | null) ?? languageFrom(navigator.languages));
if (savedSeat()) {
  // Back at the seat this page held before a reload.
  state = { ...state, name: localStorage.getItem(NAME_KEY) ?? '', screen: 'table' };
  connect();
} else if (secure && savedSession()) {
  // A signed-in player comes straight to the lobby, under the account's name.
  state = { ...state, name: savedSession()!.name, screen: 'lobby' };
  connect();
}
draw();
