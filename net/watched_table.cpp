#include "net/watched_table.h"

#include <algorithm>

#include "net/wire.h"

namespace zarv::net {

namespace {
bool IsSeat(int seat) { return seat >= 1 && seat <= 4; }
} // namespace

int WatchedTable::CardsHeld(int seat) const {
    if (!IsSeat(seat) || hand == 0) return 0;
    const int played = tricksA + tricksB + (trickWinner == 0 && !trick[static_cast<size_t>(seat)].empty() ? 1 : 0);
    return std::max(0, 13 - played);
}

void WatchedTable::PlayCard(int seat, CardCode card) {
    // The settled trick stays in sight until the next one begins.
    if (trickWinner != 0) {
        trick = {};
        trickWinner = 0;
    }
    trick[static_cast<size_t>(seat)] = card;
    const bool full = std::none_of(trick.begin() + 1, trick.end(), [](CardCode c) { return c.empty(); });
    turn = full ? 0 : NextSeat(seat);
}

void WatchedTable::SettleTrick(int winner) {
    trickWinner = winner;
    ++(IsTeamA(winner) ? tricksA : tricksB);
    // The winner leads the next trick, while the hand lasts.
    turn = tricksA < 7 && tricksB < 7 && tricksA + tricksB < 13 ? winner : 0;
}

bool WatchedTable::Apply(const SeenEvent& seen) {
    const auto f = Fields(seen.detail, ';');
    auto number = [&](size_t k) { return k < f.size() ? ParseCount(f[k]).value_or(-1) : -1; };
    const std::string& what = seen.what;
    if (what == "Seats") {
        if (f.size() != 8) return false;
        for (int seat = 1; seat <= 4; ++seat) {
            names[static_cast<size_t>(seat)] = std::string(f[static_cast<size_t>(2 * seat - 2)]);
            person[static_cast<size_t>(seat)] = f[static_cast<size_t>(2 * seat - 1)] == "H";
        }
    } else if (what == "Points") {
        if (number(0) < 0 || number(1) < 0 || number(0) > 99 || number(1) > 99) return false;
        pointsA = number(0);
        pointsB = number(1);
        gameOver = false;
    } else if (what == "Hand") {
        if (number(0) < 0 || !IsSeat(number(1))) return false;
        hand = std::max(1, number(0));
        hakem = number(1);
        trump = kNoSuit;
        tricksA = tricksB = 0;
        trick = {};
        trickWinner = 0;
        gameOver = false;
        turn = hakem;  // who names the ZARV, and then leads
    } else if (what == "Trump") {
        trump = seen.detail.size() == 1 && IsSuitLetter(seen.detail[0]) ? seen.detail[0] : kNoSuit;
    } else if (what == "Tricks") {
        if (number(0) < 0 || number(1) < 0 || number(0) + number(1) > 13) return false;
        tricksA = number(0);
        tricksB = number(1);
    } else if (what == "Card") {
        const auto card = f.size() == 2 ? CardCode::Parse(f[1]) : std::nullopt;
        if (!IsSeat(number(0)) || !card) return false;
        PlayCard(number(0), *card);
    } else if (what == "Trick") {
        if (!IsSeat(number(0)) || tricksA + tricksB >= 13) return false;
        SettleTrick(number(0));
    } else if (what == "Result") {
        if (!IsSeat(number(0)) || number(1) < 1 || number(1) > 3) return false;
        int& side = IsTeamA(number(0)) ? pointsA : pointsB;
        side = std::min(99, side + number(1));
        turn = 0;
    } else if (what == "GameOver") {
        if (number(0) < 0 || number(1) < 0 || number(0) > 99 || number(1) > 99) return false;
        pointsA = number(0);
        pointsB = number(1);
        gameOver = true;
        turn = 0;
    } else if (what == "Closed") {
        closed = seen.detail.empty() ? "The table has closed" : seen.detail;
        turn = 0;
    } else if (what != "Chat") {
        return false;
    }
    return true;
}

} // namespace zarv::net
