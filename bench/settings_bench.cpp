// The settings store with many player records: what the name dialog, the
// scores dialog and Reset do with 10,000 players.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "settings/player_records.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace {

using namespace zarv::settings;

// Records as the program writes them (with their check codes), written in
// one go rather than one file write per result.
QString ManyPlayers(const QTemporaryDir& dir, int players) {
    const QString path = dir.filePath("zarv.ini");
    QFile::remove(path);
    QSettings ini(path, QSettings::IniFormat);
    const QString key = SettingsStore::GroupOf(QString::fromLatin1(kSettingsKey));
    ini.setValue(key + "/.key", 1);
    for (int i = 0; i < players; ++i) {
        const QString player = key + QStringLiteral("/Player%1/").arg(i);
        const CheckCode code = MakeCheckCode(3, 1, 500);
        ini.setValue(player + ".key", 1);
        ini.setValue(player + "Win", "dword:00000003");
        ini.setValue(player + "Lost", "dword:00000001");
        ini.setValue(player + "Score", QByteArray(reinterpret_cast<const char*>(code.data()), 15));
    }
    ini.sync();
    return path;
}

void BM_NameDialogList(benchmark::State& st) {
    QTemporaryDir dir;
    const QString path = ManyPlayers(dir, static_cast<int>(st.range(0)));
    for (auto _ : st) {
        SettingsStore store(path);
        benchmark::DoNotOptimize(EnumPlayers(store));
    }
}
BENCHMARK(BM_NameDialogList)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ScoresTable(benchmark::State& st) {
    QTemporaryDir dir;
    const QString path = ManyPlayers(dir, static_cast<int>(st.range(0)));
    SettingsStore store(path);
    for (auto _ : st) {
        int64_t total = 0;
        for (const auto& name : EnumPlayers(store)) {
            int64_t w = 0, l = 0;
            CheckPlayerRecord(store, name, w, l);
            total += w + l;
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ScoresTable)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_Reset(benchmark::State& st) {
    QTemporaryDir dir;
    for (auto _ : st) {
        st.PauseTiming();
        const QString path = ManyPlayers(dir, static_cast<int>(st.range(0)));
        SettingsStore store(path);
        st.ResumeTiming();
        ResetAllRecords(store);
    }
}
BENCHMARK(BM_Reset)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
