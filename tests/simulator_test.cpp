// The zarv-sim command line.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "tests/test_table.h"
#include "engine/saved_hand.h"
#include "tools/simulator.h"

namespace zarv::testing {
namespace {

struct Result {
    int status;
    std::string out, err;
};

Result Sim(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = sim::Run(args, out, err);
    return {status, out.str(), err.str()};
}

std::string StandardDeal() {
    std::string deal;
    for (CardCode c : StandardPack()) deal += c.text() + " ";
    return deal;
}

TEST(ZarvSim, BadUseGetsAMessageAndStatusTwo) {
    const std::string deal = StandardDeal();
    struct Case {
        std::vector<std::string> args;
        std::string mentions;
    } cases[] = {
        {{}, "hand or games"},
        {{"poker"}, "poker"},
        {{"hand", "--deal", deal, "--master", "2", "--colour", "red"}, "--colour"},
        {{"hand", "--master", "2"}, "--deal"},
        {{"hand", "--deal", deal}, "--master"},
        {{"hand", "--deal", deal, "--master", "5"}, "'5'"},
        {{"hand", "--deal", deal, "--master", "0"}, "'0'"},
        {{"hand", "--deal", deal, "--master", "1", "--first-master", "7"}, "'7'"},
        {{"hand", "--deal", deal, "--master", "1", "--sorted", "1,9"}, "'9'"},
        {{"hand", "--deal", deal, "--master", "1", "--trump", "k"}, "'k'"},
        {{"hand", "--deal", deal, "--master", "1", "--trump", "hx"}, "'hx'"},
        {{"hand", "--deal", "g2 g3 g4", "--master", "1"}, "52"},
        {{"hand", "--deal", deal + "g2", "--master", "1"}, "g2"},
        {{"hand", "--deal", "q7 " + deal, "--master", "1"}, "q7"},
        {{"hand", "--master", "1", "--deal"}, "needs a value"},
        {{"games"}, "number of games"},
        {{"games", "ten"}, "'ten'"},
        {{"games", "0"}, "at least 1"},
        {{"games", "3", "--seed", "-4"}, "'-4'"},
        {{"games", "3", "--fast", "1"}, "--fast"},
    };
    for (const Case& c : cases) {
        const Result r = Sim(c.args);
        EXPECT_EQ(r.status, 2) << c.mentions;
        EXPECT_NE(r.err.find(c.mentions), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    // A repeated card is named.
    std::string twice = StandardDeal();
    twice.replace(twice.find("g3 "), 3, "g2 ");
    const Result r = Sim({"hand", "--deal", twice, "--master", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("g2 appears twice"), std::string::npos) << r.err;
}

TEST(ZarvSim, AHandPrintsTrumpTricksAndResult) {
    // A mixed deal: every seventh card of the standard pack, round and round.
    const auto pack = StandardPack();
    std::string valid;
    for (int i = 0; i < 52; ++i) valid += pack[(i * 7) % 52].text() + " ";
    const Result r = Sim({"hand", "--deal", valid, "--master", "2", "--trump", "h"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "trump h");
    const std::regex trick(R"(trick (\d+) ([1-4]):([gphx]\d+) ([1-4]):([gphx]\d+) ([1-4]):([gphx]\d+) ([1-4]):([gphx]\d+) winner ([1-4]))");
    const std::regex result(R"(result team ([AB]) tricks (\d+)-(\d+) points ([123]) next-master ([1-4]))");
    int tricks = 0, leader = 2, a = 0, b = 0;
    std::smatch m;
    while (std::getline(lines, line)) {
        if (std::regex_match(line, m, trick)) {
            EXPECT_EQ(std::stoi(m[1]), ++tricks);
            EXPECT_EQ(std::stoi(m[2]), leader);  // the master leads first, then each winner
            leader = std::stoi(m[10]);
            ++(IsTeamA(leader) ? a : b);
            continue;
        }
        ASSERT_TRUE(std::regex_match(line, m, result)) << line;
        EXPECT_EQ(std::stoi(m[2]), a);
        EXPECT_EQ(std::stoi(m[3]), b);
        EXPECT_EQ(std::max(a, b), 7);
        EXPECT_EQ(m[1], a == 7 ? "A" : "B");
        // The master (seat 2) passes the role on exactly when its side lost.
        EXPECT_EQ(std::stoi(m[5]), a == 7 ? 3 : 2);
        EXPECT_FALSE(std::getline(lines, line));
    }
    EXPECT_GE(tricks, 7);
    // The same deal gives the same hand every time.
    EXPECT_EQ(Sim({"hand", "--deal", valid, "--master", "2", "--trump", "h"}).out, r.out);
}

TEST(ZarvSim, GamesAreReproducibleFromTheSeed) {
    const Result one = Sim({"games", "5", "--seed", "11"});
    const Result two = Sim({"games", "5", "--seed", "11"});
    ASSERT_EQ(one.status, 0);
    auto counts = [](const std::string& s) { return s.substr(0, s.find(" seconds")); };
    EXPECT_EQ(counts(one.out), counts(two.out));
    EXPECT_TRUE(std::regex_search(one.out, std::regex(R"(^games 5 hands \d+ tricks \d+ team-A-wins \d team-B-wins \d koot \d+ perkoot \d+ seconds [0-9.]+ games-per-second [0-9.]+\n$)")))
        << one.out;
}

}  // namespace
}  // namespace zarv::testing

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zarv::testing {
namespace {

struct TempDir {
    std::string path;
    TempDir() {
        char templ[] = "/tmp/zarv-test-XXXXXX";
        path = mkdtemp(templ);
    }
    ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string Write(const std::string& name, const std::string& text) const {
        const std::string file = path + "/" + name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
};

TEST(SavedHandFiles, OnlySmallRegularFilesAreReadAndNeverBlock) {
    TempDir dir;
    const std::string fifo = dir.path + "/pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string path, says;
    } cases[] = {
        {"/dev/zero", "is not a regular file"},  // endless
        {fifo, "is not a regular file"},         // would block for ever
        {dir.path, "is a directory"},
        {dir.Write("big.zarv", std::string(kMaxSavedHandBytes + 1, '#')), "is too large"},
        {dir.path + "/missing.zarv", "cannot read"},
    };
    for (const Case& c : cases) {
        const Result r = Sim({"hand", "--file", c.path});
        EXPECT_EQ(r.status, 2) << c.path;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
}

TEST(SavedHandFiles, AByteOrderMarkAndTrailingCommentsAreFineAndControlBytesAreEscaped) {
    TempDir dir;
    const std::string good = "\xEF\xBB\xBF# Zarv hand\ndeal " + StandardDeal() + " # every card\nmaster 2  # HAKEM\n";
    const Result r = Sim({"hand", "--file", dir.Write("good.zarv", good)});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("trump ", 0), 0u);

    const Result bad = Sim({"hand", "--file", dir.Write("bad.zarv", "deal \x1b[31mred\nmaster 2\n")});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err.find('\x1b'), std::string::npos) << "a raw escape reached the terminal";
    EXPECT_NE(bad.err.find("\\x1B[31mred"), std::string::npos) << bad.err;
}

TEST(ZarvSim, CountsAndSeedsHaveTheirLimits) {
    EXPECT_EQ(Sim({"games", "10000001"}).status, 2);
    EXPECT_NE(Sim({"games", "999999999999999999"}).err.find("at most 10000000"), std::string::npos);
    const Result big = Sim({"games", "1", "--seed", "18446744073709551615"});
    EXPECT_EQ(big.status, 0) << big.err;
    EXPECT_EQ(Sim({"games", "1", "--seed", "18446744073709551616"}).status, 2);
    EXPECT_EQ(Sim({"games", "1", "--seed", "-1"}).status, 2);
    // A seed below 10^18 plays as before.
    EXPECT_EQ(Sim({"games", "2", "--seed", "123456789012345678"}).out.substr(0, 40),
              Sim({"games", "2", "--seed", "123456789012345678"}).out.substr(0, 40));
}

} // namespace
} // namespace zarv::testing
