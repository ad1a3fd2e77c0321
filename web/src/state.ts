// The page's state, built only from the server's messages (and the person's
// own choices of screen): nothing here knows the rules.
import type { Chat, LobbyTable, News, Review, ServerMessage, TopLine, View } from './protocol';

export type Screen = 'name' | 'lobby' | 'table' | 'reload';

export interface Notice { words: string; name?: string }
export interface State {
  screen: Screen;
  name: string;
  tables: Map<number, LobbyTable>;
  listed: boolean;       // the lobby's whole list has arrived
  top: TopLine[];
  tableId: number;       // the table sat at or watched (0: none)
  watching: boolean;
  view: View | null;
  log: (Chat | News)[];  // chat lines and news, oldest first
  refusal: { reason: string; suit?: string } | null;
  hint: string | null;
  review: Review | null;   // the last hand's review, while it is open
  reviewAsked: boolean;    // asked for, not answered yet
  notice: Notice | null; // the last refusal of the lobby, or why the table closed
  closed: boolean;
  token: string;
  account: string;       // the name signed in with ('': a guest)
}

export const LOG_KEPT = 100;

export function initialState(): State {
  return { screen: 'name', name: '', tables: new Map(), listed: false, top: [], tableId: 0, watching: false, view: null, log: [],
    refusal: null, hint: null, review: null, reviewAsked: false, notice: null, closed: false, token: '', account: '' };
}

function withLog(s: State, entry: Chat | News): State {
  const log = [...s.log, entry];
  return { ...s, log: log.length > LOG_KEPT ? log.slice(log.length - LOG_KEPT) : log };
}

export function apply(s: State, m: ServerMessage): State {
  switch (m.t) {
    case 'welcome': return { ...s, screen: s.tableId ? s.screen : 'lobby', name: m.name };
    case 'reload': return { ...s, screen: 'reload' };
    case 'lobbyTable': {
      const tables = new Map(s.tables);
      tables.set(m.table.id, m.table);
      return { ...s, tables };
    }
    case 'lobbyGone': {
      const tables = new Map(s.tables);
      tables.delete(m.id);
      return { ...s, tables };
    }
    case 'listed': return { ...s, listed: true };
    case 'top': return { ...s, top: m.list };
    case 'sitting': return { ...s, screen: 'table', tableId: m.table, watching: false, view: null, log: [], closed: false, notice: null, review: null, reviewAsked: false };
    case 'watching': return { ...s, screen: 'table', tableId: m.table, watching: true, view: null, log: [], closed: false, notice: null, review: null, reviewAsked: false };
    case 'left': return { ...s, screen: 'lobby', tableId: 0, watching: false, view: null, review: null, reviewAsked: false };
    case 'no':
      // At the table (asked to slow down, say) it is a line of the table's log.
      if (s.screen === 'table' && !s.closed) return withLog(s, { t: 'news', kind: 'notice', seat: 0, name: m.name ?? '', words: m.words });
      return { ...s, notice: { words: m.words, name: m.name } };
    case 'closing': return { ...s, closed: true, notice: { words: m.words, name: m.name }, token: '' };
    case 'token': return { ...s, token: m.token, screen: 'table' };
    case 'view': {
      // A decision answered (or taken over) ends its refusal and hint.
      const decided = !m.decide;
      return { ...s, view: m, screen: 'table', refusal: decided ? null : s.refusal, hint: decided ? null : s.hint };
    }
    case 'news': return withLog(s, m);
    case 'chat': return withLog(s, m);
    case 'refused': {
      const aboutReview = m.reason === 'noReview' || m.reason === 'reviewBusy';
      return { ...s, refusal: { reason: m.reason, suit: m.suit }, reviewAsked: aboutReview ? false : s.reviewAsked };
    }
    case 'hint': return { ...s, hint: m.card };
    case 'review': return { ...s, review: m, reviewAsked: false };
    case 'signedIn': return { ...s, account: m.name, name: m.name, notice: null };
    case 'signedOut':
    case 'accountDeleted': return { ...s, account: '', name: m.name, notice: null };
    default: return s;
  }
}

// The side of a seat as this seat sees it: seats 1 and 3 against 2 and 4.
export function sameSide(a: number, b: number): boolean { return a % 2 === b % 2; }

// The seat at the bottom of the screen is this seat (a watcher sees seat 1 there);
// the others follow clockwise: left, top, right.
export function screenPlace(seat: number, own: number): 'bottom' | 'left' | 'top' | 'right' {
  const base = own >= 1 ? own : 1;
  const places = ['bottom', 'left', 'top', 'right'] as const;
  return places[(seat - base + 4) % 4];
}

export function gameOver(v: View | null): boolean { return !!v && v.phase === 'over'; }
