// The line under the table: what it waits for, or what just went wrong.
import { SUIT_SIGNS } from './cards';
import type { View } from './protocol';
import type { State } from './state';
import { cardName, noticeText, say, tr } from './words';

// secondsLeft: the person's countdown, when the table gives one.
export function statusText(v: View, s: State, secondsLeft: number | null): string {
  if (s.closed && s.notice) return noticeText(s.notice.words, s.notice.name);
  if (s.refusal) return refusalText(s.refusal);
  if (s.hint) return say('hintIs', cardName(s.hint));
  if (v.phase === 'seating') return say('waitingForPlayers');
  if (v.phase === 'over') return gameOverText(v);
  if (v.decide === 'trump') return say('nameTrump');
  if (v.decide === 'card') return secondsLeft !== null ? say('yourTurnLeft', secondsLeft) : say('yourTurn');
  // Seven tricks end the hand: nobody is to play until the next deal.
  if (v.phase === 'playing' && Math.max(...(v.tricks ?? [0, 0])) >= 7) return tr('The hand is over');
  if (v.turn) return v.phase === 'trump' ? say('choosing', v.names[v.turn - 1]) : say('toPlay', v.names[v.turn - 1]);
  return '';
}

export function refusalText(r: { reason: string; suit?: string }): string {
  switch (r.reason) {
    case 'follow': return say('refusedFollow', `${SUIT_SIGNS[r.suit ?? ''] ?? ''}`);
    case 'trumpFirst': return say('refusedTrumpFirst');
    case 'notInHand': return say('refusedCard');
    case 'noHint': return say('refusedHint');
    case 'noReview': return say('refusedReview');
    case 'reviewBusy': return say('refusedReviewBusy');
    default: return say('refusedTurn');
  }
}

export function gameOverText(v: View): string {
  const [a, b] = v.points;
  if (v.seat === 0) return say('gameOverWatch', a, b);
  const ours = v.seat % 2 === 1 ? a : b, theirs = v.seat % 2 === 1 ? b : a;
  return `${ours > theirs ? say('youWon', ours, theirs) : say('youLost', ours, theirs)} ${say('nextGameSoon')}`;
}
