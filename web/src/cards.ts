// Cards as the protocol writes them: a suit letter (g clubs, p spades,
// h hearts, x diamonds) and the rank 2..14 ("h14" is the ace of hearts).
export const SUITS = ['g', 'p', 'h', 'x'] as const;
export type SuitLetter = (typeof SUITS)[number];
export const SUIT_SIGNS: Record<string, string> = { g: '\u2663', p: '\u2660', h: '\u2665', x: '\u2666' };

export function suitOf(card: string): string { return card[0]; }
export function rankOf(card: string): number { return Number(card.slice(1)); }

// Where a card's face lies in the picture sheet: 13 columns of ranks 2..14,
// rows clubs, spades, hearts, diamonds; the back is the first cell of row 5.
export function sheetCell(card: string | null): { column: number; row: number } {
  if (!card) return { column: 0, row: 4 };
  return { column: rankOf(card) - 2, row: SUITS.indexOf(suitOf(card) as SuitLetter) };
}

// A hand in the window's order: by suit (the ZARV first once named), high cards first.
export function sortHand(cards: string[], trump: string | null | undefined): string[] {
  const order = (s: string) => (s === trump ? -1 : SUITS.indexOf(s as SuitLetter));
  return [...cards].sort((a, b) => order(suitOf(a)) - order(suitOf(b)) || rankOf(b) - rankOf(a));
}
