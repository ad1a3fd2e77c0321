// The browser protocol's messages, as the table server sends them. The
// server decides what is legal and what this seat may see; the page shows it.
export const PROTOCOL_VERSION = 1;

export type Fill = 'person' | 'computer' | 'free';
// A registered person has a rating; a guest is marked as one.
export interface LobbySeat { name: string; fill: Fill; rating?: number; guest?: boolean }
export interface LobbyTable {
  id: number; name: string; playing: boolean; private: boolean; watchable: boolean;
  watchers: number; level: Level; moveLimit: number; rated: boolean; seats: LobbySeat[];
}
// The computer players' levels, from the easiest.
export const LEVELS = ['beginner', 'standard', 'expert', 'master'] as const;
export type Level = typeof LEVELS[number];
// The registered players by rating.
export interface TopLine { rank: number; name: string; games: number; wins: number; rating: number; deviation: number }
export type Phase = 'seating' | 'drawing' | 'trump' | 'playing' | 'over';
export interface View {
  t: 'view'; seat: number; phase: Phase; names: string[]; kinds: ('person' | 'computer')[]; counts: number[];
  points: [number, number]; watchers: number; level: Level; playNow: boolean;
  hakem?: number; trump?: string | null; tricks?: [number, number]; turn?: number;
  trick?: [number, string][]; last?: { cards: [number, string][]; winner: number };
  hand?: string[]; decide?: 'trump' | 'card'; legal?: string[]; secondsLeft?: number;
  reviewable?: boolean;
}
// The review of the last hand for this seat: only what it saw, and the
// Master's points for its decisions (cards "" while unplayed, by seat 1..4).
export interface ReviewTrick { leader: number; winner: number; cards: string[] }
export interface ReviewDecision { trick: number; played: string; best: string; cost: number; values: [string, number][] }
export interface Review {
  t: 'review'; seat: number; hakem: number; trump: string; hand: string[]; tricks: ReviewTrick[]; decisions: ReviewDecision[];
}
export interface News { t: 'news'; kind: string; seat: number; name: string; partner?: string; points?: number; firstSide?: boolean; words?: string; old?: boolean }
export interface Chat { t: 'chat'; seat: number; text: string; old?: boolean }
export type ServerMessage =
  | { t: 'welcome'; v: number; name: string }
  | { t: 'reload'; v: number }
  | { t: 'lobbyTable'; table: LobbyTable }
  | { t: 'lobbyGone'; id: number }
  | { t: 'listed' }
  | { t: 'top'; list: TopLine[] }
  | { t: 'made'; table: number }
  | { t: 'sitting'; table: number; seat: number }
  | { t: 'watching'; table: number }
  | { t: 'left' }
  | { t: 'started'; table: number }
  | { t: 'no'; notice: number; name?: string; words: string }
  | { t: 'closing'; notice: number; name?: string; words: string }
  | { t: 'token'; token: string; seat: number }
  | View | News | Chat
  | { t: 'refused'; reason: string; suit?: string }
  | { t: 'hint'; card: string }
  | Review
  | { t: 'bad'; why: string }
  | { t: 'signedIn'; name: string; token: string }
  | { t: 'passwordChanged'; token: string }
  | { t: 'signedOut'; name: string }
  | { t: 'accountDeleted'; name: string };
