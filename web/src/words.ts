// What the page says, in English and Farsi. The texts the window says too
// (the table's news, the notices, the statuses) come from the window's own
// translations at build time (SHARED_WORDS), keyed by the window's English.
import { SUIT_SIGNS, rankOf, suitOf } from './cards';

declare const SHARED_WORDS: Record<string, string>;
const shared: Record<string, string> = typeof SHARED_WORDS === 'undefined' ? {} : SHARED_WORDS;

export type Language = 'en' | 'fa';

let language: Language = 'en';
export function setLanguage(l: Language): void { language = l; }
export function currentLanguage(): Language { return language; }
export function isRightToLeft(): boolean { return language === 'fa'; }

// The browser's own choice when the person has made none.
export function languageFrom(preferred: readonly string[]): Language {
  for (const tag of preferred) {
    if (/^fa\b/i.test(tag)) return 'fa';
    if (/^en\b/i.test(tag)) return 'en';
  }
  return 'en';
}

const RLM = '\u200f';
const LRM = '\u200e';

// Points with two decimals, as the review shows them.
export function points(n: number): string {
  return new Intl.NumberFormat(language === 'fa' ? 'fa-IR' : 'en-US', { useGrouping: false, minimumFractionDigits: 2, maximumFractionDigits: 2 }).format(n);
}

export function number(n: number): string {
  return new Intl.NumberFormat(language === 'fa' ? 'fa-IR' : 'en-US', { useGrouping: false }).format(n);
}

function fill(text: string, args: (string | number)[]): string {
  return text.replace(/%(\d)/g, (_, k) => {
    const value = args[Number(k) - 1];
    return typeof value === 'number' ? number(value) : value ?? '';
  });
}

// One of the window's texts, in the page's language.
export function tr(source: string, ...args: (string | number)[]): string {
  const text = language === 'fa' ? shared[source] ?? source : source;
  return fill(text, args).replace(/\r\n/g, ' ').trim();
}

const own: Record<string, [string, string]> = {
  appTitle: ['Zarv', 'زرو'],
  yourName: ['Your name', 'نام شما'],
  enter: ['Enter', 'ورود'],
  nameHelp: ['Up to 40 letters; it shows at your seat.', 'حداکثر ۴۰ حرف؛ کنار جای شما دیده می‌شود.'],
  lobby: ['Tables', 'میزها'],
  noTables: ['No tables yet. Make one, or play now against the computer.', 'هنوز میزی نیست. میزی بسازید، یا همین حالا با رایانه بازی کنید.'],
  playNow: ['Play now', 'همین حالا بازی کن'],
  playNowHelp: ['You and three computer players, at once.', 'شما و سه بازیکن رایانه‌ای، بی‌درنگ.'],
  makeTable: ['Make table', 'ساختن میز'],
  tableName: ['Table name', 'نام میز'],
  password: ['Password (empty: public)', 'گذرواژه (خالی: همگانی)'],
  level: ['Computer players', 'بازیکنان رایانه‌ای'],
  beginner: ['Beginner', 'مبتدی'],
  standard: ['Standard', 'معمولی'],
  expert: ['Expert', 'ماهر'],
  master: ['Master', 'استاد'],
  moveLimit: ['Seconds to decide', 'ثانیه برای تصمیم'],
  watchable: ['Others may watch', 'دیگران می‌توانند تماشا کنند'],
  make: ['Make', 'بساز'],
  cancel: ['Cancel', 'انصراف'],
  sit: ['Sit', 'بنشین'],
  watch: ['Watch', 'تماشا'],
  free: ['free', 'خالی'],
  computer: ['computer', 'رایانه'],
  waiting: ['waiting', 'در انتظار'],
  playing: ['playing', 'در حال بازی'],
  watchers: ['%1 watching', '%1 تماشاگر'],
  privateTable: ['private', 'خصوصی'],
  secondsShort: ['%1 s', '%1 ثانیه'],
  noLimit: ['no limit', 'بی‌محدودیت'],
  best: ['Best rated players', 'بهترین بازیکنان به ترتیب درجه'],
  ratingLine: ['rating %1 ± %2 · %3 games, %4 won', 'درجهٔ %1 ± %2 · %3 بازی، %4 برد'],
  withRating: ['%1 (%2)', '\u200f%1 (%2)'],
  withGuest: ['%1 (guest)', '\u200f%1 (مهمان)'],
  unrated: ['unrated', 'بی‌درجه'],
  rated: ['Games count in the ratings', 'بازی‌ها در درجه‌بندی حساب می‌شوند'],
  passwordFor: ['Password for %1', 'گذرواژهٔ %1'],
  allTables: ['All tables', 'همهٔ میزها'],
  noSuchTable: ['No table called “%1” is open now.', 'میزی به نام «%1» اکنون باز نیست.'],
  linkedPrivate: ['A private table: choose a seat, then give its password.', 'میز خصوصی: جایی برگزینید، سپس گذرواژه‌اش را بدهید.'],
  ok: ['OK', 'تأیید'],
  start: ['Start the game', 'شروع بازی'],
  waitingForPlayers: ['Waiting for players; the computer takes the seats nobody takes.', 'در انتظار بازیکنان؛ رایانه جاهای خالی را می‌گیرد.'],
  leave: ['Leave', 'ترک میز'],
  playAgain: ['Play again', 'بازی دوباره'],
  lastTrick: ['Last trick', 'دست قبل'],
  hint: ['Hint', 'راهنما'],
  review: ['Review last hand', 'مرور دور گذشته'],
  reviewTitle: ['Review of the last hand', 'مرور دور گذشته'],
  reviewWeighing: ['The Master is weighing your cards\u2026', 'استاد کارت‌های شما را می‌سنجد\u2026'],
  reviewTrick: ['Trick %1 of %2', 'دست %1 از %2'],
  reviewTrickWon: ['Trick %1 of %2, won by %3', 'دست %1 از %2، برنده: %3'],
  reviewTrickLabel: ['Trick', 'دست'],
  reviewPrevious: ['\u25c0 Previous', '\u25b6 قبلی'],
  reviewNext: ['Next \u25b6', 'بعدی \u25c0'],
  reviewLed: ['led', 'شروع کرد'],
  reviewClose: ['Close', 'بستن'],
  reviewBest: ['%1 was the best card', '%1 بهترین کارت بود'],
  reviewCost: ['%1 cost %2 points; %3 was best', '%1 به اندازهٔ %2 امتیاز هزینه داشت؛ %3 بهترین بود'],
  reviewExpected: ['The Master expected (points for your side): %1', 'انتظار استاد (امتیاز برای تیم شما): %1'],
  reviewNoChoice: ['You had no choice to make in this trick.', 'در این دست انتخابی نداشتید.'],
  reviewNoChoices: ['You had no choice to make in this hand.', 'در این دور انتخابی نداشتید.'],
  reviewCostliest: ['Your decisions, the costliest first', 'تصمیم‌های شما، پرهزینه‌ترین‌ها اول'],
  reviewLine: ['Trick %1: %2', 'دست %1: %2'],
  listSeparator: [', ', '، '],
  refusedReview: ['There is no hand to review yet.', 'هنوز دوری برای مرور نیست.'],
  refusedReviewBusy: ['The server is busy with other reviews: ask again in a moment.', 'سرور سرگرم مرورهای دیگر است: کمی بعد دوباره بخواهید.'],
  chat: ['Chat', 'گفتگو'],
  send: ['Send', 'بفرست'],
  chatPlaceholder: ['Say something to the table', 'چیزی به میز بگویید'],
  watchingOnly: ['Watchers read the chat; only players write.', 'تماشاگران گفتگو را می‌خوانند؛ فقط بازیکنان می‌نویسند.'],
  yourTurn: ['Your turn', 'نوبت شما'],
  yourTurnLeft: ['Your turn \u2014 %1 s left, then the computer plays', 'نوبت شما \u2014 %1 ثانیه مانده، سپس رایانه بازی می‌کند'],
  nameTrump: ['You are HAKEM: tap a card to name its suit the ZARV', 'شما «حاکم» هستید: کارتی را بزنید تا خالش «زرو» شود'],
  toPlay: ['%1 to play.', 'نوبت %1.'],
  choosing: ['%1 is choosing the ZARV.', '%1 «زرو» را انتخاب می‌کند.'],
  we: ['Us', 'ما'],
  they: ['Them', 'آن‌ها'],
  sideA: ['%1 and %2', '%1 و %2'],
  points: ['Points', 'امتیاز'],
  tricks: ['Tricks', 'دست'],
  trump: ['ZARV', 'زرو'],
  hakem: ['HAKEM', 'حاکم'],
  noTrumpYet: ['not named yet', 'هنوز تعیین نشده'],
  youWon: ['You won the game %1 to %2!', 'شما بازی را %1 به %2 بردید!'],
  youLost: ['You lost the game %1 to %2.', 'شما بازی را %1 به %2 باختید.'],
  gameOverWatch: ['Game over: %1 to %2.', 'پایان بازی: %1 به %2.'],
  nextGameSoon: ['The next game begins in a few seconds.', 'بازی بعد چند ثانیه دیگر شروع می‌شود.'],
  refusedFollow: ['You must follow %1', 'باید %1 بازی کنید'],
  refusedTurn: ['It is not your turn.', 'نوبت شما نیست.'],
  refusedTrumpFirst: ['The ZARV is not named yet.', '«زرو» هنوز تعیین نشده است.'],
  refusedCard: ['That card is not in your hand.', 'این کارت در دست شما نیست.'],
  refusedHint: ['No hint now.', 'اکنون راهنمایی نیست.'],
  hintIs: ['The computer would play %1.', 'رایانه %1 را بازی می‌کرد.'],
  played: ['%1 plays %2.', '%1 %2 را بازی کرد.'],
  trumpIs: ['The ZARV is %1.', '«زرو» %1 است.'],
  connecting: ['Connecting\u2026', 'در حال اتصال\u2026'],
  reconnecting: ['Connection lost \u2014 coming back to your seat\u2026', 'اتصال قطع شد \u2014 بازگشت به جای شما\u2026'],
  reload: ['A new version of Zarv is here: reload the page.', 'نسخهٔ تازه‌ای از زرو آمده است: صفحه را دوباره بارگذاری کنید.'],
  reloadButton: ['Reload', 'بارگذاری دوباره'],
  language: ['فارسی', 'English'],
  you: ['you', 'شما'],
  card: ['card', 'کارت'],
  cards: ['%1 cards', '%1 کارت'],
  oneCard: ['1 card', '۱ کارت'],
  hand: ['Your hand', 'دست شما'],
  table: ['Table', 'میز'],
  chatLength: ['%1 of %2', '%1 از %2'],
  closed: ['The table has closed.', 'میز بسته شد.'],
  backToLobby: ['Back to the tables', 'بازگشت به میزها'],
  seatNames: ['Seat %1', 'جای %1'],
  signIn: ['Sign in', 'ورود به حساب'],
  register: ['Register', 'ثبت‌نام'],
  signOut: ['Sign out', 'خروج از حساب'],
  changeName: ['Another name', 'نامی دیگر'],
  signedInAs: ['Signed in as %1', 'واردشده با نام %1'],
  guestAs: ['Playing as %1, a guest', 'بازی با نام %1، به‌عنوان مهمان'],
  accountHelp: ['Register your name to keep it: nobody else can play under it.', 'نام خود را ثبت کنید تا از آن شما بماند: کسی دیگر با آن بازی نمی‌کند.'],
  accountsNeedHttps: ['Accounts need a secure (https) connection to this server.', 'حساب‌ها به اتصال امن و رمزنگاری‌شده با این سرور نیاز دارند.'],
  accountName: ['Name', 'نام'],
  accountPassword: ['Password', 'گذرواژه'],
  passwordRules: ['8 to 64 characters, without ; or |', '\u200f۸ تا ۶۴ نویسه، بدون ; یا |'],
  changePassword: ['Change password', 'تغییر گذرواژه'],
  currentPassword: ['Current password', 'گذرواژهٔ کنونی'],
  newPassword: ['New password', 'گذرواژهٔ تازه'],
  deleteAccount: ['Delete account', 'حذف حساب'],
  deleteWarning: ['Your account and its sign-ins go; your games stay, under “deleted player”.', 'حساب و ورودهایش پاک می‌شوند؛ بازی‌های شما با نام «بازیکن حذف‌شده» می‌مانند.'],
  passwordChanged: ['Your password is changed; your other sign-ins have ended.', 'گذرواژه تغییر کرد؛ ورودهای دیگر شما پایان یافتند.'],
};

export function say(key: keyof typeof own, ...args: (string | number)[]): string {
  const [en, fa] = own[key];
  return fill(language === 'fa' ? fa : en, args);
}

const RANKS_EN = ['', '', 'two', 'three', 'four', 'five', 'six', 'seven', 'eight', 'nine', 'ten', 'jack', 'queen', 'king', 'ace'];
const RANKS_FA = ['', '', 'دو', 'سه', 'چهار', 'پنج', 'شش', 'هفت', 'هشت', 'نه', 'ده', 'سرباز', 'بی‌بی', 'شاه', 'آس'];
const SUITS_EN: Record<string, string> = { g: 'clubs', p: 'spades', h: 'hearts', x: 'diamonds' };
// The game's own names of the suits.
const SUITS_FA: Record<string, string> = { g: 'گشنیز', p: 'پیک', h: 'دل', x: 'خشت' };

export function suitName(suit: string): string { return (language === 'fa' ? SUITS_FA : SUITS_EN)[suit] ?? ''; }

// "ten of hearts", «ده دل»: as a person says the card.
export function cardName(card: string): string {
  const rank = rankOf(card), suit = suitOf(card);
  return language === 'fa' ? `${RANKS_FA[rank]} ${SUITS_FA[suit]}` : `${RANKS_EN[rank]} of ${SUITS_EN[suit]}`;
}

// A suit with its sign, for short places: "♥ hearts".
export function suitWithSign(suit: string): string { return `${SUIT_SIGNS[suit] ?? ''} ${suitName(suit)}`; }

// A line that opens with a name or number stays right to left in Farsi.
export function line(text: string): string { return language === 'fa' ? RLM + text : text; }
export function leftToRight(text: string): string { return language === 'fa' ? LRM + text + LRM : text; }

// A notice of the server (a refusal, the reason a table closes), worded from
// the window's own words for it; a name in it is put back in its place.
export function noticeText(words: string, name?: string): string {
  if (language !== 'fa') return words;
  if (shared[words]) return shared[words];
  if (name && words.includes(name)) {
    const template = shared[words.replace(name, '%1')];
    if (template) return template.replace('%1', name);
  }
  return words;
}

// The table's news, as the window says it (TableWords).
export function newsText(kind: string, name: string, partner = '', points = 0, firstSide = false): string {
  switch (kind) {
    case 'hakem': return tr('%1 is "HAKEM"... ', name);
    case 'choosingTrump': return say('choosing', name);
    case 'handWon':
      if (points === 2) return tr('Koot!\r\n%1 and %2 win.', name, partner);
      // A PerKoot of seats 1 and 3 has always been announced with two exclamation marks.
      if (points === 3) return tr(firstSide ? 'PerKoot!!\r\n%1 and %2 win.' : 'PerKoot!\r\n%1 and %2 win.', name, partner);
      return tr('%1 and %2 win the hand.', name, partner);
    case 'back': return tr('%1 is back.', name);
    case 'replaced': return tr('%1 left; a computer player takes the seat.', name);
    case 'leftGameOver': return tr('%1 left; the game is over.', name);
    default: return name;
  }
}
