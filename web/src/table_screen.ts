// The table: the four seats (the lit one decides), the trick, the hand, the
// HAKEM and the ZARV, tricks and points, the countdown, the chat and news.
import { el, clear } from './dom';
import { sortHand, SUIT_SIGNS, suitOf } from './cards';
import { handCardPlace, tableLayout, trickCardWidth } from './layout';
import type { View } from './protocol';
import { type State, screenPlace, sameSide } from './state';
import { cardFace } from './card_face';
import { ReviewPanel } from './review_panel';
import { statusText } from './table_status';
import { cardName, line, newsText, noticeText, number, say, suitWithSign } from './words';

export interface TableActions {
  play(card: string): void;
  trump(suit: string): void;
  chat(text: string): void;
  hint(): void;
  review(): void;
  closeReview(): void;
  again(): void;
  start(): void;
  leave(): void;
}

const CHAT_LIMIT = 200;

export class TableScreen {
  private root: HTMLElement;
  private seats = el('div', { class: 'seats-layer' });
  private felt: HTMLElement;
  private trick = el('div', { class: 'trick', 'aria-label': say('table') });
  private status = el('p', { class: 'status', id: 'status', role: 'status' });
  private board = el('div', { class: 'board' });
  private hand = el('div', { class: 'hand', role: 'group', 'aria-label': say('hand') });
  private controls = el('div', { class: 'controls' });
  private log = el('ol', { class: 'log', 'aria-label': say('chat') });
  private chatInput = el('input', { id: 'chat-input', maxlength: CHAT_LIMIT, autocomplete: 'off', dir: 'auto', placeholder: say('chatPlaceholder') });
  private counter = el('span', { class: 'counter', 'aria-live': 'off' });
  private lastShown = false;
  private lifted: string | null = null;
  private drawnLog: State['log'] | null = null;
  // The move limit counts down here between two views: the server sends the
  // seconds left when the decision begins.
  private deadline = 0;
  private ticker = 0;
  private lastState: State | null = null;
  private reviewPanel: ReviewPanel | null = null;
  private reviewShown: State['review'] = null;

  constructor(parent: HTMLElement, private actions: TableActions, watching: boolean) {
    this.root = parent;
    clear(parent);
    const felt = el('section', { class: 'felt' }, this.board, this.seats, this.trick, this.status);
    this.felt = felt;
    const form = el('form', { class: 'chat-form' }, this.chatInput, this.counter, el('button', { type: 'submit', class: 'small' }, say('send')));
    form.addEventListener('submit', (e) => {
      e.preventDefault();
      const text = this.chatInput.value.trim();
      if (text) actions.chat(text);
      this.chatInput.value = '';
      this.updateCounter();
    });
    this.chatInput.addEventListener('input', () => this.updateCounter());
    this.updateCounter();
    const side = el('aside', { class: 'side' }, el('h2', { class: 'visually-hidden' }, say('chat')), this.log,
      watching ? el('p', { class: 'help' }, say('watchingOnly')) : form);
    parent.append(el('div', { class: 'table-screen' }, felt, this.hand, this.controls, side));
  }

  private updateCounter(): void {
    this.counter.textContent = say('chatLength', [...this.chatInput.value].length, CHAT_LIMIT);
  }

  toggleLastTrick(): void {
    this.lastShown = !this.lastShown;
  }

  dispose(): void {
    clearInterval(this.ticker);
    this.reviewPanel?.dispose();
  }

  // The review stays as the person leaves it while the table goes on.
  private drawReview(s: State, names: string[]): void {
    if (s.review === this.reviewShown) return;
    this.reviewPanel?.dispose();
    this.reviewPanel = null;
    this.reviewShown = s.review;
    if (s.review) this.reviewPanel = new ReviewPanel(this.root, s.review, names, () => this.actions.closeReview());
  }

  update(s: State): void {
    this.lastState = s;
    const v = s.view;
    if (!v) {
      this.status.textContent = say('connecting');
      return;
    }
    // The felt's column: on a wide screen the chat takes a column beside it.
    const width = this.felt.clientWidth || this.root.clientWidth || window.innerWidth;
    const layout = tableLayout(width, window.innerHeight, v.hand?.length ?? 13);
    layout.trickCard = trickCardWidth(this.felt.clientWidth || width, this.felt.clientHeight || 300, layout.cardWidth);
    this.root.style.setProperty('--card-w', `${layout.cardWidth}px`);
    this.root.style.setProperty('--trick-w', `${layout.trickCard}px`);
    this.drawBoard(v);
    this.drawSeats(v);
    this.drawTrick(v, layout.trickCard);
    this.drawHand(v, s, layout);
    this.countDown(v);
    this.drawControls(v, s);
    this.drawLog(s);
    this.drawReview(s, v.names);
    this.drawStatus(v, s);  // after the review, so that an open review shows the status too
  }

  private drawBoard(v: View): void {
    clear(this.board);
    const own = v.seat >= 1 ? v.seat : 1;
    const ours = sameSide(own, 1) ? 0 : 1;
    const pts = v.points, tricks = v.tricks ?? [0, 0];
    const side = (k: number, label: string) => el('div', { class: `side-score ${k === 0 ? 'a' : 'b'}` },
      el('span', { class: 'label' }, label),
      el('span', { class: 'value', 'aria-label': `${label}: ${say('points')} ${number(pts[k])}, ${say('tricks')} ${number(tricks[k])}` },
        `${say('points')} ${number(pts[k])} \u00b7 ${say('tricks')} ${number(tricks[k])}`));
    // A watcher sides with nobody: the sides go by their players' names.
    const sideName = (k: number) => say('sideA', v.names[k], v.names[k + 2]);
    this.board.append(side(ours, v.seat ? say('we') : sideName(0)), side(1 - ours, v.seat ? say('they') : sideName(1)));
    const trump = v.trump ? `${SUIT_SIGNS[v.trump]} ${suitWithSign(v.trump).trim().split(' ').slice(1).join(' ')}` : say('noTrumpYet');
    this.board.append(el('div', { class: `trump-sign${v.trump === 'h' || v.trump === 'x' ? ' red' : ''}`, id: 'trump-sign' },
      `${say('trump')}: ${trump}`));
  }

  private drawSeats(v: View): void {
    clear(this.seats);
    for (let seat = 1; seat <= 4; seat++) {
      const place = screenPlace(seat, v.seat);
      const lit = v.turn === seat && v.phase !== 'over';
      const name = v.names[seat - 1] || say('seatNames', seat);
      const who = seat === v.seat ? `${name} (${say('you')})` : name;
      const marks = [seat === v.hakem ? say('hakem') : '', v.kinds[seat - 1] === 'computer' ? say('computer') : ''].filter(Boolean);
      this.seats.append(el('div', { class: `seat ${place}${lit ? ' lit' : ''} ${seat % 2 ? 'team-a' : 'team-b'}`, 'data-seat': seat,
        'aria-current': lit ? 'true' : undefined },
        el('span', { class: 'seat-name' }, who),
        marks.length ? el('span', { class: 'seat-marks' }, marks.join(' \u00b7 ')) : null,
        place !== 'bottom' && v.counts[seat - 1]
          ? el('span', { class: 'seat-count' }, v.counts[seat - 1] === 1 ? say('oneCard') : say('cards', v.counts[seat - 1])) : null));
    }
  }

  private drawTrick(v: View, width: number): void {
    clear(this.trick);
    const showLast = this.lastShown && v.last;
    const cards = showLast ? v.last!.cards : v.trick ?? [];
    this.trick.classList.toggle('last', !!showLast);
    for (const [seat, card] of cards) {
      const place = screenPlace(seat, v.seat);
      const name = cardName(card);
      this.trick.append(el('div', { class: `played ${place}`, role: 'img', 'aria-label': `${v.names[seat - 1]}: ${name}`, 'data-card': card },
        cardFace(card, width)));
    }
    if (showLast) this.trick.append(el('p', { class: 'last-label' }, say('lastTrick')));
  }

  private drawHand(v: View, s: State, layout: ReturnType<typeof tableLayout>): void {
    const focused = (document.activeElement as HTMLElement | null)?.dataset?.card;
    clear(this.hand);
    if (v.seat === 0) return;
    const cards = sortHand(v.hand ?? [], v.trump);
    const legal = new Set(v.legal ?? []);
    const choosingTrump = v.decide === 'trump';
    this.hand.style.width = `${layout.handWidth}px`;
    this.hand.style.height = `${layout.handHeight}px`;
    cards.forEach((card, k) => {
      const playable = choosingTrump || (v.decide === 'card' && legal.has(card));
      const dimmed = v.decide === 'card' && !legal.has(card);
      const at = handCardPlace(layout, k);
      const button = el('button', { class: `card${dimmed ? ' dimmed' : ''}${this.lifted === card ? ' lifted' : ''}${s.hint === card ? ' hinted' : ''}`,
        'data-card': card, 'aria-label': cardName(card), 'aria-disabled': playable ? undefined : 'true' }, cardFace(card, layout.cardWidth));
      button.style.left = `${at.x}px`;
      button.style.top = `${at.y}px`;
      button.addEventListener('click', (e) => this.choose(card, v, (e as PointerEvent).pointerType === 'touch'));
      button.addEventListener('keydown', (e) => this.moveFocus(e, k));
      this.hand.append(button);
    });
    if (focused) (this.hand.querySelector(`[data-card="${focused}"]`) as HTMLElement | null)?.focus();
  }

  private moveFocus(e: KeyboardEvent, k: number): void {
    const buttons = [...this.hand.querySelectorAll<HTMLButtonElement>('button.card')];
    const forward = document.dir === 'rtl' ? 'ArrowLeft' : 'ArrowRight';
    const back = document.dir === 'rtl' ? 'ArrowRight' : 'ArrowLeft';
    const to = e.key === forward ? k + 1 : e.key === back ? k - 1 : e.key === 'Home' ? 0 : e.key === 'End' ? buttons.length - 1 : -2;
    if (to === -2) return;
    e.preventDefault();
    buttons[Math.max(0, Math.min(buttons.length - 1, to))]?.focus();
  }

  // A touch lifts a card first and plays it on the second touch; a click or a key plays at once.
  private choose(card: string, v: View, touch: boolean): void {
    if (touch && this.lifted !== card) {
      this.lifted = card;
      for (const b of this.hand.querySelectorAll('button.card')) b.classList.toggle('lifted', (b as HTMLElement).dataset.card === card);
      return;
    }
    this.lifted = null;
    if (v.decide === 'trump') this.actions.trump(suitOf(card));
    else this.actions.play(card);
  }

  private countDown(v: View): void {
    const counting = v.decide !== undefined && v.secondsLeft !== undefined;
    if (!counting) {
      this.deadline = 0;
      clearInterval(this.ticker);
      this.ticker = 0;
      return;
    }
    if (this.deadline === 0 || Math.abs(this.secondsLeft() - (v.secondsLeft ?? 0)) > 1)
      this.deadline = Date.now() + (v.secondsLeft ?? 0) * 1000;
    if (!this.ticker) {
      this.ticker = window.setInterval(() => {
        if (this.lastState?.view) this.drawStatus(this.lastState.view, this.lastState);
      }, 1000);
    }
  }

  private secondsLeft(): number {
    return Math.max(0, Math.ceil((this.deadline - Date.now()) / 1000));
  }

  private drawStatus(v: View, s: State): void {
    const text = line(statusText(v, s, this.deadline ? this.secondsLeft() : null));
    this.status.textContent = text;
    this.status.classList.toggle('refusal', !!s.refusal);
    // The review covers the table: it tells the person the table waits for them, and how long.
    this.reviewPanel?.tableWaits(v.decide !== undefined ? text : null);
  }

  private drawControls(v: View, s: State): void {
    clear(this.controls);
    const add = (id: string, label: string, act: () => void, key?: string) =>
      this.controls.append(el('button', { class: 'secondary', id, onclick: act, 'aria-keyshortcuts': key }, label));
    if (v.phase === 'seating' && v.seat > 0) add('start', say('start'), () => this.actions.start());
    if (v.last) add('last-trick', say('lastTrick'), () => { this.toggleLastTrick(); this.drawTrick(v, parseInt(this.root.style.getPropertyValue('--trick-w')) || 60); }, 'L');
    if (v.playNow && v.decide === 'card') add('hint', say('hint'), () => this.actions.hint(), 'H');
    if (v.reviewable && v.seat > 0) {
      add('review', s.reviewAsked ? say('reviewWeighing') : say('review'), () => this.actions.review());
      (this.controls.lastElementChild as HTMLButtonElement).disabled = s.reviewAsked;
    }
    if (v.phase === 'over' && v.seat > 0) add('play-again', say('playAgain'), () => this.actions.again());
    add('leave', s.closed ? say('backToLobby') : say('leave'), () => this.actions.leave());
  }

  private drawLog(s: State): void {
    // Each new line makes a new log (a full one drops its oldest line as it grows).
    if (s.log === this.drawnLog) return;
    clear(this.log);
    const names = s.view?.names ?? [];
    // Lines in the page's direction; a person's name and words keep their own
    // (a Farsi line that starts with a Latin name would otherwise run left to right).
    for (const entry of s.log) {
      this.log.append(entry.t === 'chat'
        ? el('li', { class: 'chat' }, el('bdi', {}, names[entry.seat - 1] || say('seatNames', entry.seat)), ': ', el('bdi', {}, entry.text))
        : el('li', { class: 'news' }, line(entry.kind === 'notice' ? noticeText(entry.words ?? '', entry.name)
          : newsText(entry.kind, entry.name, entry.partner, entry.points, entry.firstSide))));
    }
    this.drawnLog = s.log;
    this.log.scrollTop = this.log.scrollHeight;
  }
}
