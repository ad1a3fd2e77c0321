// The table's sizes from the screen's: the cards as large as the room allows,
// the hand in one row, or in two on a narrow screen so that each card keeps
// a target a thumb can hit.
export interface TableLayout {
  cardWidth: number;
  cardHeight: number;
  rows: number;       // the hand's rows: 1 or 2
  perRow: number;     // cards in the first row
  handStep: number;   // from one card of a row to the next
  handWidth: number;
  handHeight: number;
  trickCard: number;  // width of a card on the table
}

export const CARD_RATIO = 104 / 74;
// A touch target is at least this wide where it can be.
export const MIN_TARGET = 44;

// The step that puts `steps` steps after the first card within the room.
function stepFor(room: number, cardWidth: number, steps: number): number {
  return steps > 0 ? Math.min(cardWidth + 4, (room - cardWidth) / steps) : 0;
}

// The cards of the trick lie in a cross between the seats: as large as the
// felt's room between the top and bottom seats and the left and right ones allows.
export function trickCardWidth(feltWidth: number, feltHeight: number, cardWidth: number): number {
  // The cross is centred a little below the felt's middle, so its top half
  // meets the top seat first: twice the room above it (the score line, two
  // rows when narrow, and the top seat's three lines) is kept free.
  const seatRoom = feltWidth <= 600 ? 240 : 200;
  const sideRoom = 200;  // the left and right seats' labels
  const byHeight = (feltHeight - seatRoom) / (CARD_RATIO * 1.75);
  const byWidth = (feltWidth - sideRoom) / 2.2;
  return Math.round(Math.max(36, Math.min(cardWidth, byHeight, byWidth)));
}

export function tableLayout(width: number, height: number, handSize: number): TableLayout {
  const cards = Math.max(handSize, 1);
  const cardWidth = Math.round(Math.max(48, Math.min(width / 4.6, height / 5.2 / CARD_RATIO, 120)));
  const cardHeight = Math.round(cardWidth * CARD_RATIO);
  const room = Math.min(width - 16, 1100);
  let rows = 1;
  let perRow = cards;
  let steps = cards - 1;
  let handStep = stepFor(room, cardWidth, steps);
  if (cards > 1 && handStep < MIN_TARGET) {
    rows = 2;
    perRow = Math.ceil(cards / 2);
    // The second row sits half a step to the right: as long as the first, it reaches half a step further.
    steps = perRow - 1 + (cards - perRow === perRow ? 0.5 : 0);
    handStep = stepFor(room, cardWidth, steps);
  }
  const handWidth = Math.round(cardWidth + handStep * steps);
  const handHeight = rows === 1 ? cardHeight : Math.round(cardHeight * 1.45);
  const trickCard = Math.round(Math.min(cardWidth, width / 5.5));
  return { cardWidth, cardHeight, rows, perRow, handStep, handWidth, handHeight, trickCard };
}

// The place of the hand's k-th card (0-based), from the hand's top-left corner.
export function handCardPlace(l: TableLayout, k: number): { x: number; y: number } {
  const row = k < l.perRow ? 0 : 1;
  const inRow = row === 0 ? k : k - l.perRow;
  return { x: Math.round(inRow * l.handStep + (row === 1 ? l.handStep / 2 : 0)), y: row === 0 ? 0 : Math.round(l.cardHeight * 0.45) };
}
