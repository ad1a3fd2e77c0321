#include "ai/hand_review.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "engine/headless.h"

namespace zarv::ai {

namespace {

// Plays a hand's recorded cards through the engine, as the table played
// them, and asks the Master for its values at each of the reviewed seat's
// choices.
class Replay : public ComputerPlayer, public GameObserver {
public:
    Replay(Game& game, const SavedHand& hand, int seat, const ExpertOptions* options)
        : game_(game), hand_(hand), seat_(seat), options_(options), remaining_(DealtHands(hand)) {
        review.seat = seat;
        review.master = hand.master;
        review.trump = hand.trump;
    }

    CardChoice SelectCard(int seat, int) override {
        if (next_ >= hand_.plays.size() || fault.kind != ReviewFault::Kind::None) {
            game_.EndHere();
            return {};
        }
        const CardCode card = hand_.plays[next_];
        if (!game_.IsLegalCard(seat, card)) {
            fault = {ReviewFault::Kind::BadPlay, static_cast<int>(next_) + 1, card};
            game_.EndHere();
            return {};
        }
        if (seat == seat_ && game_.LegalCards(seat).size() > 1) Judge(card);
        ++next_;
        return {card, {}};
    }
    Suit ChooseTrump(int, int) override { return hand_.trump; }

    void CardPlayed(int seat, CardCode card) override {
        if (TrickOpen() == nullptr) {
            ReviewedTrick trick;
            trick.leader = seat;
            trick.held = remaining_;
            review.tricks.push_back(trick);
        }
        review.tricks.back().cards[static_cast<size_t>(seat)] = card;
        auto& held = remaining_[static_cast<size_t>(seat)];
        held.erase(std::remove(held.begin(), held.end(), card), held.end());
    }
    void TrickSettled(const TrickRecord& trick) override {
        if (!review.tricks.empty()) review.tricks.back().winner = trick.Winner;
    }
    // Nothing past the hand: the next one is not dealt.
    void HandScored(int, int) override { game_.EndHere(); }

    HandReview review;
    ReviewFault fault;

private:
    ReviewedTrick* TrickOpen() {
        if (review.tricks.empty()) return nullptr;
        ReviewedTrick& last = review.tricks.back();
        for (int s = 1; s <= 4; ++s)
            if (last.cards[static_cast<size_t>(s)].empty()) return &last;
        return nullptr;
    }

    void Judge(CardCode played) {
        ReviewedDecision d;
        d.trick = static_cast<int>(review.tricks.size()) + (TrickOpen() ? 0 : 1);
        d.played = played;
        if (!options_) {
            d.best = played;
            review.decisions.push_back(std::move(d));
            return;
        }
        ExpertPlayer master(game_.state(), *options_);
        d.values = master.ValuesOfCards(seat_);
        // In hundredths of a point, as they are shown: a cost is then what
        // the shown values differ by, never a hidden rest of rounding.
        for (CardValue& v : d.values) v.value = std::nearbyint(v.value * 100) / 100;
        // Best first; among equals, in the order the seat held them.
        std::stable_sort(d.values.begin(), d.values.end(),
                         [](const CardValue& a, const CardValue& b) { return a.value > b.value; });
        d.best = d.values.front().card;
        for (const CardValue& v : d.values)
            if (v.card == played) d.cost = d.values.front().value - v.value;
        // A card as good as the best was the best.
        if (d.cost <= 1e-9) {
            d.cost = 0;
            d.best = played;
        }
        review.decisions.push_back(std::move(d));
    }

    Game& game_;
    const SavedHand& hand_;
    int seat_;
    const ExpertOptions* options_;  // none: no numbers
    std::array<std::vector<CardCode>, 5> remaining_;
    size_t next_ = 0;
};

} // namespace

std::vector<size_t> HandReview::CostliestFirst() const {
    std::vector<size_t> order(decisions.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return decisions[a].cost > decisions[b].cost; });
    return order;
}

ExpertOptions ReviewOptions(int threads) {
    ExpertOptions options;
    options.samples = kDefaultWorlds;
    options.millis = 0;
    options.seed = 0x5EE;
    options.pointsOnly = true;
    options = MasterOptions(options);
    options.threads = std::max(1, threads);
    return options;
}

std::array<std::vector<CardCode>, 5> DealtHands(const SavedHand& hand) {
    std::array<std::vector<CardCode>, 5> hands;
    if (hand.master < 1 || hand.master > 4 || hand.deal.size() != 52) return hands;
    for (int k = 0, seat = hand.master; k < 4; ++k, seat = NextSeat(seat))
        hands[static_cast<size_t>(seat)].assign(hand.deal.begin() + 13 * k, hand.deal.begin() + 13 * (k + 1));
    return hands;
}

std::string EnglishText(const ReviewFault& fault) {
    switch (fault.kind) {
    case ReviewFault::Kind::None: return {};
    case ReviewFault::Kind::BadSeat: return "the seat to review must be from 1 to 4";
    case ReviewFault::Kind::NoTrump: return "no ZARV was named in this hand";
    case ReviewFault::Kind::NoPlays: return "no card of this hand was played";
    case ReviewFault::Kind::BadPlay:
        return "card " + std::to_string(fault.play) + " of the plays (" + fault.card.text() +
               ") could not have been played then";
    }
    return {};
}

namespace {

std::optional<HandReview> Review(const SavedHand& hand, int seat, const ExpertOptions* options, ReviewFault* fault) {
    auto refuse = [&](ReviewFault why) -> std::optional<HandReview> {
        if (fault) *fault = why;
        return std::nullopt;
    };
    if (seat < 1 || seat > 4 || hand.master < 1 || hand.master > 4 || hand.deal.size() != 52)
        return refuse({ReviewFault::Kind::BadSeat, 0, {}});
    if (hand.trump == kNoSuit) return refuse({ReviewFault::Kind::NoTrump, 0, {}});
    if (hand.plays.empty()) return refuse({ReviewFault::Kind::NoPlays, 0, {}});

    std::optional<ExpertOptions> reading;
    if (options) {
        reading = *options;
        SeatModels people{};
        people.fill(SeatModel::Person);
        reading->models = people;
    }

    HeadlessGame table(1);
    table.AllComputerSeats();
    Replay replay(table.game, hand, seat, reading ? &*reading : nullptr);
    table.game.SetComputerPlayer(&replay);
    table.game.SetObserver(&replay);
    // Every hand kept in the order dealt, as the reasoning imagines hands.
    table.game.SetSortedSeats(std::array<bool, 5>{});
    table.game.DealGivenHand(hand.deal, hand.master, hand.firstMaster ? hand.firstMaster : hand.master);
    table.game.TurnLoop();
    if (replay.fault.kind != ReviewFault::Kind::None) return refuse(replay.fault);
    return std::move(replay.review);
}

} // namespace

std::optional<HandReview> ReviewHand(const SavedHand& hand, int seat, const ExpertOptions& options,
                                     ReviewFault* fault) {
    return Review(hand, seat, &options, fault);
}

std::optional<HandReview> ReplayHand(const SavedHand& hand, int seat, ReviewFault* fault) {
    return Review(hand, seat, nullptr, fault);
}

} // namespace zarv::ai
