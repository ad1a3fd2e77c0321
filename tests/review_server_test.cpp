// The review as the server hands it to a browser: nothing of the others'
// cards but what they played, and never more reviews at once than allowed.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <future>
#include <regex>
#include <set>

#include "ai/card_selection.h"
#include "engine/headless.h"
#include "server/review_message.h"
#include "server/review_worker.h"

namespace zarv::server {
namespace {

// A hand four standard players played to its end.
SavedHand OneHandPlayed(uint64_t seed) {
    HeadlessGame h(seed);
    h.AllComputerSeats();
    ai::ComputerSeatPlayer standard(h.game.state());
    h.game.SetComputerPlayer(&standard);
    StopAfterHand stop(h.game);
    h.game.SetObserver(&stop);
    h.game.StartClick();
    EXPECT_TRUE(h.game.LastPlayedHand());
    return h.game.LastPlayedHand().value_or(SavedHand{});
}

TEST(ReviewMessage, NamesOnlyTheSeatsOwnCardsAndTheCardsPlayed) {
    ai::ExpertOptions quick = ai::ReviewOptions(1);
    quick.samples = 8;
    int checked = 0;
    for (uint64_t seed = 1; seed <= 12 && checked < 2; ++seed) {
        const SavedHand hand = OneHandPlayed(seed);
        ASSERT_EQ(hand.deal.size(), 52u);
        // A hand that ended before its last trick: some cards were never played.
        if (hand.plays.size() >= 48) continue;
        ++checked;
        for (int seat = 1; seat <= 4; ++seat) {
            const auto review = ai::ReviewHand(hand, seat, quick);
            ASSERT_TRUE(review);
            const nlohmann::json message = ReviewMessage(*review, hand);
            std::set<std::string> known;
            const auto dealt = ai::DealtHands(hand);
            for (CardCode c : dealt[static_cast<size_t>(seat)]) known.insert(c.text());
            for (CardCode c : hand.plays) known.insert(c.text());
            const std::string text = message.dump();
            const std::regex card("\"([gphx](1[0-4]|[2-9]))\"");
            int named = 0;
            for (auto it = std::sregex_iterator(text.begin(), text.end(), card); it != std::sregex_iterator(); ++it, ++named)
                EXPECT_TRUE(known.count((*it)[1].str())) << "seat " << seat << " was told of " << (*it)[1].str();
            EXPECT_GT(named, 13);
            EXPECT_EQ(message["hand"].size(), 13u);
            EXPECT_EQ(message["tricks"].size(), review->tricks.size());
            for (const auto& d : message["decisions"]) {
                const double cost = d["cost"];
                EXPECT_NEAR(cost * 100, std::nearbyint(cost * 100), 1e-9);  // hundredths
            }
        }
    }
    EXPECT_EQ(checked, 2);
}

TEST(ReviewWorker, ATableMakesOneReviewAtATimeAndTheServerOnlyAFew) {
    const SavedHand hand = OneHandPlayed(3);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<bool> made;
    // Room for three, so that the table's own limit is what refuses its second.
    ReviewWorker::SetAtOnce(3);
    {
        ReviewWorker table;
        ASSERT_TRUE(table.Start(hand, 1, [&, released](std::optional<ai::HandReview> review) {
            released.wait();  // held until the test has asked again
            made.set_value(review.has_value());
        }));
        EXPECT_FALSE(table.Start(hand, 2, [](std::optional<ai::HandReview>) { ADD_FAILURE() << "a second review ran"; }));
        EXPECT_EQ(ReviewWorker::Running(), 1);
        // Other tables, up to the server's limit, and none past it.
        std::vector<std::unique_ptr<ReviewWorker>> others;
        for (int k = 1; k < ReviewWorker::AtOnce(); ++k) {
            others.push_back(std::make_unique<ReviewWorker>());
            ASSERT_TRUE(others.back()->Start(hand, 3, [released](std::optional<ai::HandReview>) { released.wait(); }));
        }
        ReviewWorker late;
        EXPECT_FALSE(late.Start(hand, 4, [](std::optional<ai::HandReview>) { ADD_FAILURE() << "a review past the limit ran"; }));
        release.set_value();
        EXPECT_TRUE(made.get_future().get());
    }  // the other tables' reviews are stopped as their workers go
    EXPECT_EQ(ReviewWorker::Running(), 0);
    ReviewWorker::SetAtOnce(0);
}

// A table closing while its review is being made: the review stops looking
// at worlds (a whole review takes the Master seconds), and nothing is
// reported from it.
TEST(ReviewWorker, ATableTakenDownStopsItsReviewAndReportsNothing) {
    const SavedHand hand = OneHandPlayed(3);
    std::atomic<bool> reported{false};
    {
        ReviewWorker table;
        ASSERT_TRUE(table.Start(hand, 1, [&](std::optional<ai::HandReview>) { reported = true; }));
        EXPECT_EQ(ReviewWorker::Running(), 1);
    }
    EXPECT_FALSE(reported);
    EXPECT_EQ(ReviewWorker::Running(), 0);
}

} // namespace
} // namespace zarv::server
