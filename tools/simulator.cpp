#include "tools/simulator.h"

#include <chrono>
#include <fstream>
#include <cstdio>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>

#include "ai/card_selection.h"
#include "ai/level_player.h"
#include "engine/game.h"
#include "engine/headless.h"
#include "engine/saved_hand.h"
#include "tools/duel.h"
#include "cmdline/options.h"
#include "tools/report.h"

namespace zarv::sim {

using namespace cmdline;

namespace {

constexpr int kUsageError = 2;
constexpr long long kMaxGames = 10'000'000;

const char* const kUsage =
    "usage: zarv-sim hand --deal \"<52 card codes>\" --master <seat> [--trump <g|p|h|x>]\n"
    "                     [--first-master <seat>] [--sorted <seats, e.g. 3 or 1,2,3,4>]\n"
    "       zarv-sim hand --file <saved hand> [the options above, which take precedence]\n"
    "       zarv-sim games <N> [--seed <S>] [--level beginner|standard|expert|master] [--samples <K>]\n"
    "       zarv-sim duel <N> [--seed <S>] [--team-a LEVEL] [--team-b LEVEL]\n"
    "                     [--samples <K>] [--games] [--jobs <J>]\n"
    "       zarv-sim serve [--port <P>] [--clients <K>] [--games <N>] [--seed <S>] [--lobby]\n"
    "                      [--move-limit <seconds>]\n"
    "       zarv-sim join <host>[:<port>] [--name <name>] [--side partner|against]\n"
    "                     [--drop-at-trick <N> [--return-after <seconds>]] [--freeze-at-trick <N>]\n"
    "       zarv-sim join <host>[:<port>] --table <name> [--create] [--seat 1|2|4] [--watch]\n"
    "                     [--password <pw>] [--tls] [--pin <SHA-256 fingerprint>] [--games <N>]\n"
    "                     [--token-file <file>]   (a table server's lobby; --pin implies --tls)\n"
    "                     [--user <name> --password-file <file> [--register]]   (an account; TLS only)\n"
    "       zarv-sim load <host>[:<port>] --tables <N> [--games <G>] [--seed <S>]\n"
    "                     [--level beginner|standard|expert|master] [--think-ms <M>] [--no-pauses]\n"
    "                     [--web [--arrivals <per second>]]   (browsers at the web port)\n"
    "                     [--flood chat|junk|acks]   (a hostile seat at the first table)\n";

std::vector<CardCode> ParseDealOption(const std::string& text) {
    HandFault why;
    const auto deal = ParseDeal(text, &why);
    if (!deal) throw UsageError{EnglishText(why)};
    return *deal;
}

std::string ReadFile(const std::string& path) {
    HandFault why;
    auto text = ReadSavedHandFile(path, &why);
    if (!text) throw UsageError{EnglishText(why)};
    return *text;
}

// A computer player whose trump may be fixed from outside.
class SimPlayer : public ComputerPlayer {
public:
    explicit SimPlayer(const GameState& state) : inner_(state, ai::ExpertOptions{}) {}
    CardChoice SelectCard(int seat, int position) override { return inner_.SelectCard(seat, position); }
    Suit ChooseTrump(int first, int count) override {
        return forcedTrump ? *forcedTrump : inner_.ChooseTrump(first, count);
    }
    std::optional<Suit> forcedTrump;
    ai::LevelPlayer& level() { return inner_; }

private:
    ai::LevelPlayer inner_;
};

// --level and --samples: every computer seat at that level (the Expert
// reproducible with a fixed number of worlds a decision; 128 unless given).
void ApplyLevel(SimPlayer& player, const std::map<std::string, std::string>& options, uint64_t seed) {
    if (!options.count("--level")) return;
    const auto level = ai::LevelFromText(options.at("--level"));
    if (!level) throw UsageError{"--level must be " + ai::LevelChoices() + ", not '" + options.at("--level") + "'"};
    player.level().SetLevel(*level);
    ai::ExpertOptions o;
    o.seed = seed;
    o.samples = options.count("--samples") ? static_cast<int>(ParseWhole(options.at("--samples"), "--samples", 1, 100'000)) : ai::kDefaultWorlds;
    o.millis = 0;  // no clock: the same seed plays the same game on any machine
    player.level().SetExpertOptions(o);
}

// Four computer seats on a dealer machine, no display, no pauses.
struct Table : HeadlessGame {
    SimPlayer player{game.state()};

    explicit Table(uint64_t seed) : HeadlessGame(seed) {
        game.SetComputerPlayer(&player);
        AllComputerSeats();
    }
};

int RunHand(const std::vector<std::string>& args, std::ostream& out) {
    const auto options =
        ParseOptions(args, 1, {"--deal", "--master", "--trump", "--first-master", "--sorted", "--file", "--level", "--samples"});
    // A saved hand gives the deal, the master, the first master and the trump;
    // options given as well take precedence.
    std::optional<SavedHand> saved;
    if (options.count("--file")) {
        HandFault why;
        saved = ReadSavedHand(ReadFile(options.at("--file")), &why);
        if (!saved) throw UsageError{Printable(options.at("--file")) + ": " + EnglishText(why)};
    }
    if (!options.count("--deal") && !saved) throw UsageError{"hand needs --deal or --file"};
    if (!options.count("--master") && !saved) throw UsageError{"hand needs --master or --file"};
    const std::vector<CardCode> deal = options.count("--deal") ? ParseDealOption(options.at("--deal")) : saved->deal;
    const int master = options.count("--master") ? ParseSeat(options.at("--master"), "--master") : saved->master;
    const int firstMaster = options.count("--first-master") ? ParseSeat(options.at("--first-master"), "--first-master")
                            : (saved && !options.count("--master")) ? saved->firstMaster
                                                                    : master;
    std::optional<Suit> trump;
    if (saved && saved->trump != kNoSuit && !options.count("--master")) trump = saved->trump;
    if (options.count("--trump")) {
        const std::string& t = options.at("--trump");
        if (t.size() != 1 || !IsSuitLetter(t[0])) throw UsageError{"--trump must be g, p, h or x, not '" + t + "'"};
        trump = t[0];
    }
    std::array<bool, 5> sorted{};
    if (options.count("--sorted")) {
        std::stringstream list(options.at("--sorted"));
        std::string item;
        while (std::getline(list, item, ',')) sorted[ParseSeat(item, "--sorted")] = true;
    }

    Table table(1);
    Game& game = table.game;
    const GameState& s = game.state();
    table.player.forcedTrump = trump;
    ApplyLevel(table.player, options, 1);
    game.SetSortedSeats(sorted);
    HandReporter reporter(game, out);
    reporter.oneHand = true;
    game.SetObserver(&reporter);
    game.DealGivenHand(deal, master, firstMaster);
    out << "trump " << (s.Trump ? std::string(1, s.Trump) : std::string()) << '\n';
    game.TurnLoop();
    return 0;
}

class GameCounter : public GameObserver {
public:
    void TrickSettled(const TrickRecord&) override { ++tricks; }
    void HandScored(int, int points) override {
        ++hands;
        if (points == 2) ++koot;
        if (points == 3) ++perkoot;
    }
    long tricks = 0, hands = 0, koot = 0, perkoot = 0;
};

int RunGames(const std::vector<std::string>& args, std::ostream& out) {
    if (args.size() < 2) throw UsageError{"games needs the number of games"};
    // Ten million games take a few hours; more is a typing mistake.
    const long long n = ParseWhole(args[1], "the number of games", 1, kMaxGames);
    const auto options = ParseOptions(args, 2, {"--seed", "--level", "--samples"});
    const uint64_t seed = options.count("--seed")
                              ? ParseSeed(options.at("--seed"), "--seed")
                              : static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());

    Table table(seed);
    ApplyLevel(table.player, options, seed);
    GameCounter counter;
    table.game.SetObserver(&counter);
    long winsA = 0, winsB = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long long i = 0; i < n; ++i) {
        table.game.StartClick();
        const GameState& s = table.game.state();
        if (s.PointsA >= 7) ++winsA;
        if (s.PointsB >= 7) ++winsB;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char timing[96];
    std::snprintf(timing, sizeof timing, "seconds %.3f games-per-second %.1f", seconds,
                  seconds > 0 ? n / seconds : 0.0);
    out << "games " << n << " hands " << counter.hands << " tricks " << counter.tricks << " team-A-wins " << winsA
        << " team-B-wins " << winsB << " koot " << counter.koot << " perkoot " << counter.perkoot << ' ' << timing
        << '\n';
    return 0;
}

} // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (args.empty()) throw UsageError{"say what to play: hand or games"};
        if (args[0] == "hand") return RunHand(args, out);
        if (args[0] == "games") return RunGames(args, out);
        if (args[0] == "duel") return RunDuel(args, out, err);
        if (args[0] == "--help" || args[0] == "-h") {
            out << kUsage;
            return 0;
        }
        throw UsageError{"unknown command '" + args[0] + "'"};
    } catch (const UsageError& e) {
        err << "zarv-sim: " << e.message << '\n' << kUsage;
        return kUsageError;
    }
}

} // namespace zarv::sim
