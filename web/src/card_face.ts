// A card's face (or, for null, its back) cut from the picture sheet, at a width.
import { el } from './dom';
import { sheetCell } from './cards';

export function cardFace(card: string | null, width: number): HTMLElement {
  const { column, row } = sheetCell(card);
  const face = el('span', { class: 'face', 'aria-hidden': 'true' });
  face.style.width = `${width}px`;
  face.style.height = `${Math.round((width * 104) / 74)}px`;
  face.style.backgroundPosition = `${(column * 100) / 12}% ${(row * 100) / 4}%`;
  return face;
}
