// The review of the last hand: trick by trick (arrows, a slider or the keys),
// each seat's cards before the trick as far as this seat saw them (the
// others' cards never played stay backs), and this seat's decisions with
// what the Master expected of them, the costliest first.
import { el, clear } from './dom';
import { sortHand } from './cards';
import { cardFace } from './card_face';
import type { Review, ReviewDecision } from './protocol';
import { cardName, line, number, points, say } from './words';

// Each seat's cards before trick k (1-based), as this seat may know them:
// its own as dealt, the others' as they were played in trick k and later;
// and how many of theirs were never shown.
export function cardsBefore(r: Review, k: number): { shown: string[][]; hidden: number[] } {
  const shown: string[][] = [[], [], [], []], hidden = [0, 0, 0, 0];
  const playedBefore = new Set<string>();
  r.tricks.slice(0, k - 1).forEach((t) => t.cards.forEach((c) => c && playedBefore.add(c)));
  for (let seat = 1; seat <= 4; ++seat) {
    if (seat === r.seat) {
      shown[seat - 1] = r.hand.filter((c) => !playedBefore.has(c));
      continue;
    }
    const later = r.tricks.slice(k - 1).map((t) => t.cards[seat - 1]).filter((c) => c);
    const playedAll = r.tricks.filter((t) => t.cards[seat - 1]).length;
    shown[seat - 1] = later;
    hidden[seat - 1] = 13 - playedAll;
  }
  return { shown, hidden };
}

// The decisions' order in the list: the costliest first, the order played among equals.
export function costliestFirst(decisions: ReviewDecision[]): ReviewDecision[] {
  return decisions.map((d, i) => ({ d, i })).sort((a, b) => b.d.cost - a.d.cost || a.i - b.i).map((x) => x.d);
}

export function decisionText(d: ReviewDecision): string {
  return d.cost < 0.005 ? say('reviewBest', cardName(d.played)) : say('reviewCost', cardName(d.played), points(d.cost), cardName(d.best));
}

export class ReviewPanel {
  private trick = 1;
  private root = el('section', { class: 'review', id: 'review-panel', role: 'dialog', 'aria-label': say('reviewTitle') });
  // What the table waits for from this seat while the review is open (hidden when nothing).
  private waiting = el('p', { class: 'review-waiting', id: 'review-waiting', role: 'status', hidden: true });

  // On the document: a step redraws the panel, and the focused button with it.
  private keys = (e: KeyboardEvent) => {
    const ahead = document.documentElement.dir === 'rtl' ? -1 : 1;
    if (e.key === 'ArrowRight') this.show(this.trick + ahead);
    else if (e.key === 'ArrowLeft') this.show(this.trick - ahead);
    else if (e.key === 'Escape') this.close();
    else return;
    e.preventDefault();
  };

  constructor(parent: HTMLElement, private r: Review, private names: string[], private close: () => void) {
    parent.append(this.root);
    document.addEventListener('keydown', this.keys);
    this.show(1);
  }

  dispose(): void {
    document.removeEventListener('keydown', this.keys);
    this.root.remove();
  }

  shown(): number { return this.trick; }

  tableWaits(text: string | null): void {
    this.waiting.textContent = text ?? '';
    this.waiting.hidden = text === null;
  }

  show(k: number): void {
    const count = this.r.tricks.length;
    this.trick = Math.max(1, Math.min(count, k));
    const focused = document.activeElement?.id || 'review-next';
    clear(this.root);
    const t = this.r.tricks[this.trick - 1];
    const caption = t && t.winner
      ? say('reviewTrickWon', number(this.trick), number(count), this.names[t.winner - 1] ?? '')
      : say('reviewTrick', number(this.trick), number(count));
    const slider = el('input', { type: 'range', id: 'review-slider', min: 1, max: Math.max(1, count), value: this.trick, 'aria-label': say('reviewTrickLabel') });
    slider.addEventListener('input', () => this.show(Number(slider.value)));
    const steps = el('div', { class: 'review-steps' },
      el('button', { class: 'secondary', id: 'review-previous', disabled: this.trick <= 1, onclick: () => this.show(this.trick - 1) }, say('reviewPrevious')),
      slider,
      el('button', { class: 'secondary', id: 'review-next', disabled: this.trick >= count, onclick: () => this.show(this.trick + 1) }, say('reviewNext')));
    this.root.append(this.waiting, el('h2', {}, say('reviewTitle')), el('p', { class: 'review-caption', id: 'review-caption' }, line(caption)), steps,
      this.rows(), this.detail(), this.list(),
      el('button', { class: 'primary', id: 'review-close', onclick: () => this.close() }, say('reviewClose')));
    const again = this.root.querySelector(`#${focused}`) as HTMLElement | null;
    (again && !(again as HTMLButtonElement).disabled ? again : this.root.querySelector('#review-close') as HTMLElement | null)?.focus();
  }

  private rows(): HTMLElement {
    const { shown, hidden } = cardsBefore(this.r, this.trick);
    const t = this.r.tricks[this.trick - 1];
    const rows = el('div', { class: 'review-rows' });
    for (let k = 0, seat = this.r.seat; k < 4; ++k, seat = seat % 4 + 1) {
      const hand = el('div', { class: 'review-hand' });
      for (const c of sortHand(shown[seat - 1], this.r.trump)) hand.append(cardFace(c, 34));
      for (let n = 0; n < hidden[seat - 1]; ++n) hand.append(cardFace(null, 34));
      const played = t?.cards[seat - 1];
      const mark = el('div', { class: `review-played${t && seat === t.winner ? ' won' : ''}` }, played ? cardFace(played, 44) : '');
      rows.append(el('div', { class: 'review-row', 'data-seat': seat },
        el('span', { class: 'review-name' }, el('bdi', {}, this.names[seat - 1] ?? ''), t && seat === t.leader ? ` \u00b7 ${say('reviewLed')}` : ''),
        hand, mark));
    }
    return rows;
  }

  private detail(): HTMLElement {
    const d = this.r.decisions.find((x) => x.trick === this.trick);
    if (!d) return el('p', { class: 'review-detail', id: 'review-detail' }, line(say('reviewNoChoice')));
    const values = d.values.map(([c, v]) => `${cardName(c)} ${points(v)}`).join(say('listSeparator'));
    return el('p', { class: 'review-detail', id: 'review-detail' }, line(decisionText(d)), el('br'), line(say('reviewExpected', values)));
  }

  private list(): HTMLElement {
    const list = el('ol', { class: 'review-list', id: 'review-list', 'aria-label': say('reviewCostliest') });
    for (const d of costliestFirst(this.r.decisions))
      list.append(el('li', {}, el('button', { class: 'link', onclick: () => this.show(d.trick) },
        line(say('reviewLine', number(d.trick), decisionText(d))))));
    if (!this.r.decisions.length) list.append(el('li', {}, line(say('reviewNoChoices'))));
    return el('div', {}, el('h3', {}, say('reviewCostliest')), list);
  }
}
