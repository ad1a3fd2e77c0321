#include "tests/test_table.h"

#include <sstream>

#include "ai/card_selection.h"

namespace zarv::testing {

std::vector<CardCode> StandardPack() {
    std::vector<CardCode> pack;
    for (Suit s : {'g', 'p', 'h', 'x'})
        for (int r = 2; r <= 14; ++r) pack.push_back(CardCode{s, static_cast<uint8_t>(r)});
    return pack;
}

std::vector<CardCode> ParsePack(const std::string& codes) {
    std::istringstream in(codes);
    std::vector<CardCode> pack;
    std::string w;
    while (in >> w) pack.push_back(*CardCode::Parse(w));
    return pack;
}

void LoadPack(GameState& s, const std::vector<CardCode>& pack) {
    for (int i = 1; i <= 52; ++i) {
        s.Deck[i] = CardRecord{};
        s.Deck[i].Card = pack[i - 1];
        s.Deck[i].Face = i;
    }
}

void ReadyToDeal(Game& game) { game.LayOutPack(StandardPack()); }

void SetHeld(GameState& s, int seat, std::initializer_list<const char*> cards) {
    int k = 0;
    for (const char* c : cards) s.Hands[seat][++k] = TrickRecord::Held(seat, C(c));
    while (k < 13) s.Hands[seat][++k] = TrickRecord::Cleared();
}

namespace {
void Mirror(GameState& s, const TrickRecord& t) {
    for (int seat = 1; seat <= 4; ++seat)
        for (int k = 1; k <= 13; ++k)
            if (!t.Cards[seat].empty() && s.Hands[seat][k].Cards[seat] == t.Cards[seat]) s.Hands[seat][k] = t;
}
} // namespace

void AddCompletedTrick(GameState& s, int leader, std::initializer_list<const char*> cards, int winner) {
    TrickRecord& t = s.Tricks.back();
    t = TrickRecord{};
    int seat = leader;
    for (const char* c : cards) {
        t.Cards[seat] = C(c);
        seat = NextSeat(seat);
    }
    t.Leader = leader;
    t.Winner = winner;
    t.Number = static_cast<int>(s.Tricks.size()) - 1;
    Mirror(s, t);
    s.Tricks.push_back(TrickRecord{});
}

void StartTrick(GameState& s, int leader, std::initializer_list<const char*> cards) {
    TrickRecord& t = s.Tricks.back();
    t = TrickRecord{};
    t.Leader = leader;
    t.Number = static_cast<int>(s.Tricks.size()) - 1;
    int seat = leader;
    for (const char* c : cards) {
        t.Cards[seat] = C(c);
        seat = NextSeat(seat);
    }
    Mirror(s, t);
    s.Turn = seat;
    s.TrickPosition = static_cast<int>(cards.size()) + 1;
}

namespace {
// Keeps a copy of the table at the n-th decision of the standard player.
class Snapshot : public ComputerPlayer {
public:
    Snapshot(const GameState& s, int at) : s_(s), at_(at), inner_(s) {}
    CardChoice SelectCard(int seat, int position) override {
        if (++decisions_ == at_) {
            taken = s_;
            seatToMove = seat;
        }
        return inner_.SelectCard(seat, position);
    }
    Suit ChooseTrump(int first, int count) override { return inner_.ChooseTrump(first, count); }
    GameState taken;
    int seatToMove = 0;

private:
    const GameState& s_;
    int at_, decisions_ = 0;
    ai::ComputerSeatPlayer inner_;
};

} // namespace

GameState MidHand(uint64_t seed, int decision, int& seat) {
    HeadlessGame h(seed);
    h.AllComputerSeats();
    Snapshot snap(h.game.positionForTests(), decision);
    h.game.SetComputerPlayer(&snap);
    h.game.StartClick();
    seat = snap.seatToMove;
    return snap.taken;
}

} // namespace zarv::testing
