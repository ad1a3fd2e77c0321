// The whole state of a game, as the table keeps it. Arrays are indexed from 1
// for seats, pack positions, hand slots and tricks; index 0 is left empty or
// serves as an empty template.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

#include "engine/card.h"

namespace zarv {

// Who plays a seat. On the wire and in messages the kinds are the texts
// "Human" and "Computer" (SeatKindText, SeatKindFromText).
enum class SeatKind : uint8_t { Computer, Human };
const std::string& SeatKindText(SeatKind kind);
std::optional<SeatKind> SeatKindFromText(std::string_view text);


struct SeatRecord {
    std::string Name;
    bool FirstMaster = false;  // drew the first ace of this game
    int32_t X = 0;             // top-left corner of the seat's hand, pixels
    int32_t Y = 0;
    SeatKind Kind = SeatKind::Computer;
    int Socket = 0;            // host only: connection of the remote person, 0 when none
};

// Where a card lies (CardRecord::Owner).
enum OwnerCode : uint8_t {
    kInPack = 0,  // 1..4: in that seat's hand; 5..8: on the table, played by Owner - 4
    kPileA = 9,   // in a trick taken by seats 1 and 3
    kPileB = 10,       // in a trick taken by seats 2 and 4
};

// The give-up flag beside the local player's hand.
enum class GiveUpFlag : uint8_t { Hidden, Shown, PointedAt };

// The seat given for what the table itself announces: its balloon points at no seat.
constexpr int kFromTheTable = 0;

struct CardRecord {
    CardCode Card;
    uint8_t Owner = kInPack;
    int32_t X = 0;  // top-left corner on the table, pixels; a card is 74 x 104
    int32_t Y = 0;
    int Face = 0;   // picture id of the face; Deck(0).Face is the back
    bool FaceDown = false;
};

struct TrickRecord {
    std::array<CardCode, 5> Cards{};  // Cards[1..4]: the card of each seat, empty while unplayed
    int Winner = 0;                   // 0 while open; -1 in a Hands slot whose card is still held
    int Leader = 0;                   // -1 in a held Hands slot
    int Number = 0;                   // the trick's own index in Tricks

    static TrickRecord Held(int seat, CardCode card) {
        TrickRecord r;
        r.Cards[seat] = card;
        r.Winner = -1;
        r.Leader = -1;
        return r;
    }
    static TrickRecord Cleared() {
        TrickRecord r;
        r.Winner = -1;
        r.Leader = -1;
        return r;
    }
};

constexpr int kCardWidth = 74;
constexpr int kCardHeight = 104;
constexpr int kDesignLayoutUnit = 13;
constexpr int kTableWidth = 842;   // drawing area in window mode, pixels
constexpr int kTableHeight = 676;

struct GameState {
    std::array<SeatRecord, 5> Seats{};
    std::array<CardRecord, 53> Deck{};
    std::array<CardRecord, 53> SavedDeck{};
    std::array<uint8_t, 53> DrawOrder{};  // Deck indexes in painting order; the last lies on top
    std::vector<TrickRecord> Tricks;      // index 0 unused; the last entry is the trick in progress
    std::array<std::array<TrickRecord, 14>, 5> Hands{};
    // The board: hands scored so far in this game, and the points each team
    // won in hand 1..14 (0 for a hand it lost or that is not played yet).
    int HandsPlayed = 0;
    std::array<int, 15> ResultsA{};
    std::array<int, 15> ResultsB{};
    int PointsA = 0;
    int PointsB = 0;
    int MasterPlayer = 0;
    Suit Trump = kNoSuit;
    int Turn = 0;
    int TrickPosition = 0;
    bool IsDealer = true;
    bool Tracing = false;  // trace mode: every hand open, the computer moves on Space
    bool StopRequested = false;
    bool HumanMayPlay = false;
    bool ComputerMoving = false;
    bool Animating = false;
    double TurnDelay = 0.003;
    double WaitStart = 0;  // 0 means "no pause running" (Space sets it to end a pause)
    int StepCount = 6;
    // The remote seat whose decision the Dealer waits for, and until when (on
    // the engine's clock; 0: no limit), so that the table can count down.
    int WaitingForSeat = 0;
    double WaitingDeadline = 0;
    int LocalSeat = 3;
    double LayoutUnit = kDesignLayoutUnit;

    // Shared values of the table that the engine reads.
    bool GameStarted = false;
    std::string PlayerName = "Unknown";
    int ScaleWidth = kTableWidth;   // drawing area, pixels
    int ScaleHeight = kTableHeight;
    GiveUpFlag GiveUp = GiveUpFlag::Hidden;

    GameState() { Tricks.resize(2); }

    const TrickRecord& CurrentTrick() const { return Tricks.back(); }
    // The suit led in the trick in progress, or no suit before the lead.
    Suit LedSuit() const {
        const TrickRecord& t = Tricks.back();
        if (TrickPosition < 2) return kNoSuit;
        return (t.Leader >= 1 && t.Leader <= 4) ? SuitOf(t.Cards[t.Leader]) : kNoSuit;
    }
    // The HAKEM is still to name the ZARV: no card of the hand is played yet.
    bool TrumpBeingNamed() const { return Trump == kNoSuit && TrickPosition < 2; }
    int FindCard(CardCode code) const {
        for (int i = 1; i <= 52; ++i)
            if (Deck[i].Card == code) return i;
        return 0;
    }
};

// Pause of the turn loop and number of movement steps, from the Speed setting.
double TurnDelayForSpeed(int speed);
int StepCountForSpeed(int speed);

// Completed tricks of the hand won by the seat's side, and by the other side.
// The tricks of this hand that the seat's side has taken, and that the other
// side has: a trick counts once it has a winner (the one in progress does not).
int TeamTricks(const GameState& g, int seat);
int OpponentTricks(const GameState& g, int seat);

// The computer player's name at a seat, as every table shows it ("Zarv" at
// the Dealer's own seat 3, where a person usually sits).
const char* ComputerName(int seat);

} // namespace zarv
