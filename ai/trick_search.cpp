#include "ai/trick_search.h"

#include <algorithm>
#include <bit>

namespace zarv::ai {

namespace {

constexpr int kInfinity = 100;
constexpr CardBits kLane = 0x1FFF;  // ranks 2..14 of one suit
constexpr size_t kTableSize = size_t{1} << 16;

constexpr Suit kSuits[4] = {'g', 'p', 'h', 'x'};

CardBits Bit(int bit) { return CardBits{1} << bit; }

// Whether card c, played after w, takes the trick from it.
bool Beats(int c, int w, int trump) {
    return ((c >> 4) == (w >> 4) && c > w) || ((c >> 4) == trump && (w >> 4) != trump);
}

} // namespace

int BitOf(CardCode card) { return SuitIndex(card.suit) * 16 + card.rank - 2; }
CardCode CardOfBit(int bit) { return CardCode{kSuits[bit >> 4], static_cast<uint8_t>((bit & 15) + 2)}; }

SearchPosition PositionOf(const GameState& s) {
    SearchPosition p;
    for (int i = 1; i <= 52; ++i) {
        const int owner = s.Deck[i].Owner;
        if (owner >= 1 && owner <= 4 && !s.Deck[i].Card.empty()) p.hands[static_cast<size_t>(owner - 1)] |= Bit(BitOf(s.Deck[i].Card));
    }
    const TrickRecord& t = s.CurrentTrick();
    if (t.Leader >= 1 && t.Leader <= 4) {
        p.leader = t.Leader - 1;
        for (int k = 0; k < 4; ++k) {
            const CardCode c = t.Cards[static_cast<size_t>((t.Leader - 1 + k) % 4 + 1)];
            if (c.empty()) break;
            p.trick[static_cast<size_t>(p.played++)] = static_cast<uint8_t>(BitOf(c));
        }
    } else {
        p.leader = std::clamp(s.Turn, 1, 4) - 1;
    }
    for (size_t i = 1; i < s.Tricks.size(); ++i) {
        const int w = s.Tricks[i].Winner;
        if (w >= 1 && w <= 4) ++(IsTeamA(w) ? p.tricksA : p.tricksB);
    }
    p.trump = SuitIndex(s.Trump);
    // Seven to none is worth three when the losers hold the first master.
    p.sweepA = (s.Seats[2].FirstMaster || s.Seats[4].FirstMaster) ? 3 : 2;
    p.sweepB = (s.Seats[1].FirstMaster || s.Seats[3].FirstMaster) ? 3 : 2;
    return p;
}

TrickSearch::TrickSearch(long nodeBudget) : budget_(nodeBudget) {}

void TrickSearch::Begin(const SearchPosition& position) {
    p_ = position;
    nodes_ = 0;
    exhausted_ = false;
    if (table_.empty()) table_.resize(kTableSize);
    if (++generation_ == 0) {
        std::fill(table_.begin(), table_.end(), Entry{});
        generation_ = 1;
    }
}

TrickSearch::Entry& TrickSearch::Slot() {
    uint64_t h = static_cast<uint64_t>(p_.leader) << 8 | static_cast<uint64_t>(p_.tricksA);
    for (const CardBits hand : p_.hands) {
        h = (h ^ hand) * 0x9E3779B97F4A7C15ULL;
        h ^= h >> 29;
    }
    return table_[h & (kTableSize - 1)];
}

// The cards the seat may play, one of each run (cards with no other held or
// tabled card between them win and lose alike), the likeliest best first.
CardBits TrickSearch::Legal(int seat) const {
    const CardBits hand = p_.hands[static_cast<size_t>(seat)];
    if (p_.played == 0) return hand;
    const CardBits follow = hand & (kLane << ((p_.trick[0] >> 4) * 16));
    return follow ? follow : hand;
}

// Cards still held or on the table: those between two cards decide whether
// the two are of one run.
CardBits TrickSearch::Present() const {
    CardBits present = p_.hands[0] | p_.hands[1] | p_.hands[2] | p_.hands[3];
    for (int k = 0; k < p_.played; ++k) present |= Bit(p_.trick[static_cast<size_t>(k)]);
    return present;
}

int TrickSearch::Moves(int seat, std::array<int, 13>& out) const {
    const CardBits legal = Legal(seat), present = Present();
    int winBit = -1, winSeat = -1;
    for (int k = 0; k < p_.played; ++k) {
        const int c = p_.trick[static_cast<size_t>(k)];
        if (winBit < 0 || Beats(c, winBit, p_.trump)) {
            winBit = c;
            winSeat = (p_.leader + k) & 3;
        }
    }
    std::array<int, 13> score{};
    int n = 0;
    for (int lane = 0; lane < 4; ++lane) {
        if (!((legal >> (lane * 16)) & kLane)) continue;
        bool previousMine = false;
        int top = -1;
        for (int r = 12; r >= 0; --r)
            if (present & Bit(lane * 16 + r)) {
                top = lane * 16 + r;
                break;
            }
        for (int r = 0; r < 13; ++r) {
            const int c = lane * 16 + r;
            if (!(present & Bit(c))) continue;
            const bool mine = legal & Bit(c);
            if (mine && !previousMine) {
                int s;
                if (winBit < 0) {
                    s = c == top ? 60 + r : 20 - r;
                } else {
                    const bool beats = Beats(c, winBit, p_.trump);
                    const bool partnerWins = ((winSeat ^ seat) & 1) == 0;
                    s = partnerWins ? (beats ? 10 - r : 40 - r) : (beats ? 60 - r : 30 - r);
                }
                // Insertion in order of score.
                int i = n++;
                for (; i > 0 && score[static_cast<size_t>(i - 1)] < s; --i) {
                    out[static_cast<size_t>(i)] = out[static_cast<size_t>(i - 1)];
                    score[static_cast<size_t>(i)] = score[static_cast<size_t>(i - 1)];
                }
                out[static_cast<size_t>(i)] = c;
                score[static_cast<size_t>(i)] = s;
            }
            previousMine = mine;
        }
    }
    return n;
}

int TrickSearch::Play(int bit, int alpha, int beta) {
    const int seat = (p_.leader + p_.played) & 3;
    p_.hands[static_cast<size_t>(seat)] &= ~Bit(bit);
    p_.trick[static_cast<size_t>(p_.played++)] = static_cast<uint8_t>(bit);
    int value;
    if (p_.played == 4) {
        int best = 0;
        for (int k = 1; k < 4; ++k) {
            if (Beats(p_.trick[static_cast<size_t>(k)], p_.trick[static_cast<size_t>(best)], p_.trump)) best = k;
        }
        const int winner = (p_.leader + best) & 3;
        const bool sideA = (winner & 1) == 0;
        const std::array<uint8_t, 4> trick = p_.trick;
        const int leader = p_.leader;
        ++(sideA ? p_.tricksA : p_.tricksB);
        p_.leader = winner;
        p_.played = 0;
        if (p_.tricksA == 7) value = p_.tricksB == 0 ? p_.sweepA : 1;
        else if (p_.tricksB == 7) value = p_.tricksA == 0 ? -p_.sweepB : -1;
        else value = Search(alpha, beta);
        --(sideA ? p_.tricksA : p_.tricksB);
        p_.leader = leader;
        p_.trick = trick;
        p_.played = 4;
    } else {
        value = Search(alpha, beta);
    }
    --p_.played;
    p_.hands[static_cast<size_t>(seat)] |= Bit(bit);
    return value;
}

int TrickSearch::Search(int alpha, int beta) {
    if (exhausted_ || ++nodes_ > budget_) {
        exhausted_ = true;
        return 0;
    }
    const bool boundary = p_.played == 0;
    if (boundary) {
        const Entry& e = Slot();
        if (e.generation == generation_ && e.hands == p_.hands && e.leader == p_.leader && e.tricksA == p_.tricksA) {
            if (e.lower == e.upper || e.lower >= beta) return e.lower;
            if (e.upper <= alpha) return e.upper;
        }
    }
    const int seat = (p_.leader + p_.played) & 3;
    const bool maximising = (seat & 1) == 0;  // seats 1 and 3
    std::array<int, 13> moves{};
    const int n = Moves(seat, moves);
    int best = maximising ? -kInfinity : kInfinity;
    int a = alpha, b = beta;
    for (int i = 0; i < n && a < b; ++i) {
        const int v = Play(moves[static_cast<size_t>(i)], a, b);
        if (exhausted_) return 0;
        if (maximising) {
            best = std::max(best, v);
            a = std::max(a, best);
        } else {
            best = std::min(best, v);
            b = std::min(b, best);
        }
    }
    if (boundary) {
        Entry& e = Slot();
        if (!(e.generation == generation_ && e.hands == p_.hands && e.leader == p_.leader && e.tricksA == p_.tricksA)) {
            e = Entry{};
            e.generation = generation_;
            e.hands = p_.hands;
            e.leader = static_cast<int8_t>(p_.leader);
            e.tricksA = static_cast<int8_t>(p_.tricksA);
        }
        // What the window proved: a bound when it failed low or high.
        if (best <= alpha) e.upper = static_cast<int8_t>(std::min<int>(e.upper, best));
        else if (best >= beta) e.lower = static_cast<int8_t>(std::max<int>(e.lower, best));
        else e.lower = e.upper = static_cast<int8_t>(best);
    }
    return best;
}

// The value by tests with a null window: who takes seven first (the value is
// never 0), and then, while the losers have no trick yet, whether it is seven
// to none.
template <typename Probe> int TrickSearch::Exact(Probe probe) {
    if (probe(0, 1) >= 1) return p_.tricksB == 0 && probe(1, 2) >= 2 ? p_.sweepA : 1;
    return p_.tricksA == 0 && probe(-2, -1) <= -2 ? -p_.sweepB : -1;
}

std::optional<int> TrickSearch::Value(const SearchPosition& position) {
    Begin(position);
    if (p_.tricksA >= 7) return p_.tricksB == 0 ? p_.sweepA : 1;
    if (p_.tricksB >= 7) return p_.tricksA == 0 ? -p_.sweepB : -1;
    const int v = Exact([this](int a, int b) { return Search(a, b); });
    if (exhausted_) return std::nullopt;
    return v;
}

std::optional<std::vector<std::pair<CardCode, int>>> TrickSearch::ValuesOfMoves(const SearchPosition& position) {
    Begin(position);
    const CardBits legal = Legal((p_.leader + p_.played) & 3), present = Present();
    std::vector<std::pair<CardCode, int>> values;
    for (int lane = 0; lane < 4; ++lane) {
        bool previousMine = false;
        int runValue = 0;
        for (int r = 0; r < 13; ++r) {
            const int c = lane * 16 + r;
            if (!(present & Bit(c))) continue;
            const bool mine = legal & Bit(c);
            if (mine) {
                // A card of the same run as the one below it is worth the same.
                if (!previousMine) {
                    runValue = Exact([this, c](int a, int b) { return Play(c, a, b); });
                    if (exhausted_) return std::nullopt;
                }
                values.emplace_back(CardOfBit(c), runValue);
            }
            previousMine = mine;
        }
    }
    return values;
}

} // namespace zarv::ai
