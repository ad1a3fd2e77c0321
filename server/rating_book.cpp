#include "server/rating_book.h"

#include "server/name_key.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace zarv::server {

namespace {

// One player in any letter case or look-alike spelling, as accounts are.
std::string Key(const std::string& name) { return KeysOf(name).folded; }

// The opposing pair as one opponent, seen from a player with that partner:
// the pair's mean rating, moved by half the difference between the player
// and the partner, so that the player's expected score is the expected
// score of pair against pair (the means of their ratings); its deviation is
// that of the three ratings it is made of.
RatedResult AgainstPair(const Rating& self, const Rating& partner, const Rating& a, const Rating& b, double score) {
    const double rating = (a.rating + b.rating) / 2 + (self.rating - partner.rating) / 2;
    const double deviation =
        std::sqrt(a.deviation * a.deviation + b.deviation * b.deviation + partner.deviation * partner.deviation) / 2;
    return {rating, deviation, score};
}

} // namespace

Rating RatingBook::SeatRating(const GameRecord& game, int seat) const {
    const SeatResult& s = game.seats[static_cast<size_t>(seat)];
    if (!s.person) {
        Rating computer;
        computer.rating = ComputerRating(game.level);
        computer.deviation = kComputerDeviation;
        return computer;
    }
    const RatedPlayer* known = Find(s.name);
    return known ? known->rating : Rating{};
}

double RatingBook::ComputerRating(ai::Level level) {
    switch (level) {
    case ai::Level::Beginner: return kBeginnerComputer;
    case ai::Level::Expert: return kExpertComputer;
    case ai::Level::Master: return kMasterComputer;
    case ai::Level::Standard: break;
    }
    return kStandardComputer;
}

void RatingBook::Add(const GameRecord& game) {
    if (!game.rated) return;
    // A game stopped before its end counts only against those who left it.
    const bool someoneLeft = std::any_of(game.seats.begin() + 1, game.seats.end(),
                                         [](const SeatResult& s) { return s.person && s.left; });
    if (!game.finished && !someoneLeft) return;
    const bool firstSideWon = game.pointsA > game.pointsB;
    // Every person's new rating comes from the ratings before this game.
    std::array<Rating, 5> before;
    for (int seat = 1; seat <= 4; ++seat) before[static_cast<size_t>(seat)] = SeatRating(game, seat);
    for (int seat = 1; seat <= 4; ++seat) {
        const SeatResult& s = game.seats[static_cast<size_t>(seat)];
        if (!s.person || s.name.empty() || (!game.finished && !s.left)) continue;
        const bool firstSide = seat % 2 == 1;
        const size_t self = static_cast<size_t>(seat), partner = static_cast<size_t>((seat + 1) % 4 + 1);
        const size_t left = static_cast<size_t>(seat % 4 + 1), right = static_cast<size_t>((seat + 2) % 4 + 1);
        // Whoever left loses, whatever the others made of the game.
        const double score = !s.left && game.finished && firstSide == firstSideWon ? 1 : 0;
        RatedPlayer& p = players_[Key(s.name)];
        p.name = s.name;
        p.rating = Updated(before[self], {AgainstPair(before[self], before[partner], before[left], before[right], score)});
        ++p.games;
        p.wins += score > 0 ? 1 : 0;
    }
}

std::vector<RatedPlayer> RatingBook::Top(int limit) const {
    std::vector<RatedPlayer> all;
    for (const auto& [key, p] : players_) all.push_back(p);
    std::stable_sort(all.begin(), all.end(), [](const RatedPlayer& a, const RatedPlayer& b) {
        if (a.rating.rating != b.rating.rating) return a.rating.rating > b.rating.rating;
        return a.games > b.games;
    });
    if (limit >= 0 && all.size() > static_cast<size_t>(limit)) all.resize(static_cast<size_t>(limit));
    return all;
}

const RatedPlayer* RatingBook::Find(const std::string& name) const {
    const auto it = players_.find(Key(name));
    return it == players_.end() ? nullptr : &it->second;
}

} // namespace zarv::server
