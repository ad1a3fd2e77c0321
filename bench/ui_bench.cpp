// How fast the table is drawn: a whole repaint of a dealt table, one step of
// a card movement, and the memory the program holds after a deal.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "ai/card_selection.h"
#include "engine/game.h"
#include "engine/headless.h"
#include "settings/settings_store.h"
#include "ui/card_pictures.h"
#include "ui/sprite_sheet.h"
#include "ui/table_view.h"
#include "ui/table_window.h"

namespace {

using namespace zarv;

struct Dealt : HeadlessGame {
    ai::ComputerSeatPlayer computer{game.positionForTests()};
    QImage sprite = ui::sprite::BuildSpriteSheet();
    ui::TableView table{game.positionForTests(), sprite};

    Dealt() : HeadlessGame(3) {
        game.SetComputerPlayer(&computer);
        AllComputerSeats();
        game.MakeCardFaces();
        game.PlaceSeats();
        game.Shuffle(300);
        game.positionForTests().SavedDeck = game.positionForTests().Deck;
        game.positionForTests().MasterPlayer = 2;
        game.NewHand(true);
        std::vector<QImage> pictures(53);
        pictures[0] = ui::DrawDeck(sprite, 3, 0x0000FF, 0xFF0000, 0x00FF00);
        for (int k = 1; k <= 52; ++k)
            pictures[static_cast<size_t>(game.positionForTests().Deck[k].Face)] = ui::PaintCardFace(sprite, game.positionForTests().Deck[k].Card);
        table.SetCardPictures(std::move(pictures));
        table.gameStarted = true;
    }
};

void BM_RefreshPage(benchmark::State& st) {
    Dealt d;
    for (auto _ : st) d.table.RefreshPage();
}
BENCHMARK(BM_RefreshPage)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// The same repaint for a table filling a 1920 x 1080 screen: the cards
// painted at that resolution, the whole table redrawn.
void BM_RefreshPageFullHd(benchmark::State& st) {
    Dealt d;
    const double scale = 1080.0 / kTableHeight;
    d.sprite = ui::sprite::BuildSpriteSheet(scale);
    std::vector<QImage> pictures(53);
    pictures[0] = ui::DrawDeck(d.sprite, 3, 0x0000FF, 0xFF0000, 0x00FF00);
    for (int k = 1; k <= 52; ++k)
        pictures[static_cast<size_t>(d.game.positionForTests().Deck[k].Face)] = ui::PaintCardFace(d.sprite, d.game.positionForTests().Deck[k].Card);
    d.table.SetCardPictures(std::move(pictures));
    d.table.SetPixelScale(scale);
    for (auto _ : st) d.table.RefreshPage();
}
BENCHMARK(BM_RefreshPageFullHd)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_MovementStep(benchmark::State& st) {
    Dealt d;
    constexpr int kSteps = 26;
    GameState& s = d.game.positionForTests();
    int card = s.DrawOrder[52];
    for (auto _ : st) {
        // One card across the table and back, 26 steps each way, nothing waited for.
        const CardMove there{card, 384, 286, s.Deck[card].Owner, s.Deck[card].X, s.Deck[card].Y};
        const CardMove back{card, s.Deck[card].X, s.Deck[card].Y, s.Deck[card].Owner, 384, 286};
        d.table.AnimateMoves({&there, 1}, kSteps, d.pump, [] { return false; });
        d.table.AnimateMoves({&back, 1}, kSteps, d.pump, [] { return false; });
    }
    st.SetItemsProcessed(st.iterations() * 2 * kSteps);
}
BENCHMARK(BM_MovementStep)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 20, '\n');
    }
    return 0;
}

void BM_MemoryAfterADeal(benchmark::State& st) {
    QTemporaryDir dir;
    settings::SettingsStore store(dir.filePath("zarv.ini"));
    ui::TableWindow window(store);
    Dealt d;
    for (auto _ : st) d.table.RefreshPage();
    st.counters["resident_MB"] = ResidentKilobytes() / 1024.0;
}
BENCHMARK(BM_MemoryAfterADeal)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
