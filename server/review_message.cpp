#include "server/review_message.h"

#include <cmath>

namespace zarv::server {

using nlohmann::json;

namespace {

double Hundredths(double points) { return std::nearbyint(points * 100) / 100; }

json CardList(const std::vector<CardCode>& cards) {
    json list = json::array();
    for (CardCode c : cards) list.push_back(c.text());
    return list;
}

} // namespace

json ReviewMessage(const ai::HandReview& review, const SavedHand& hand) {
    json tricks = json::array();
    for (const ai::ReviewedTrick& t : review.tricks) {
        json cards = json::array();
        for (int seat = 1; seat <= 4; ++seat) cards.push_back(t.cards[static_cast<size_t>(seat)].empty() ? std::string() : t.cards[static_cast<size_t>(seat)].text());
        tricks.push_back({{"leader", t.leader}, {"winner", t.winner}, {"cards", cards}});
    }
    json decisions = json::array();
    for (const ai::ReviewedDecision& d : review.decisions) {
        json values = json::array();
        for (const ai::CardValue& v : d.values) values.push_back({v.card.text(), Hundredths(v.value)});
        decisions.push_back({{"trick", d.trick}, {"played", d.played.text()}, {"best", d.best.text()},
                             {"cost", Hundredths(d.cost)}, {"values", values}});
    }
    const auto dealt = ai::DealtHands(hand);
    const bool seated = review.seat >= 1 && review.seat <= 4;
    return {{"t", "review"},
            {"seat", review.seat},
            {"hakem", review.master},
            {"trump", review.trump == kNoSuit ? std::string() : std::string(1, review.trump)},
            {"hand", seated ? CardList(dealt[static_cast<size_t>(review.seat)]) : json::array()},
            {"tricks", tricks},
            {"decisions", decisions}};
}

} // namespace zarv::server
