// The settings store opening any file: whatever it reads, the settings and
// records come out in range, a result can be added, and the file it leaves
// behind is clean (opening it again finds no damage).
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "fuzz/fuzz_target.h"
#include "settings/player_records.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

ZARV_FUZZ_TARGET {
    using namespace zarv::settings;
    // Thousands of throw-away files: in memory when the system offers a
    // memory file system, and each written once when its store closes (what
    // is fuzzed is the reading and the repair, not how a write is kept).
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/zarv-fuzz-XXXXXX")
                                                                      : QDir::tempPath() + QStringLiteral("/zarv-fuzz-XXXXXX"));
    constexpr auto kDeferred = SettingsStore::Durability::Deferred;
    const QString path = dir.filePath(QStringLiteral("zarv.ini"));
    for (const QString& f : QDir(dir.path()).entryList(QDir::Files)) QFile::remove(dir.filePath(f));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    {
        SettingsStore store(path, kDeferred);
        const Settings s = ReadSettings(store);
        ZARV_FUZZ_CHECK(s.Speed >= 0 && s.Speed <= 5 && s.Scheme >= 0 && s.Scheme <= kUserScheme);
        ZARV_FUZZ_CHECK(!s.PlayerName.empty());
        for (const std::string& name : EnumPlayers(store)) {
            int64_t win = 0, lost = 0;
            CheckPlayerRecord(store, name, win, lost);
        }
        AddPlayerResult(store, "Fuzz", true, 0.5);
    }
    SettingsStore again(path, kDeferred);
    ZARV_FUZZ_CHECK(again.damagedCopy().isEmpty());
    int64_t win = 0, lost = 0;
    CheckPlayerRecord(again, "Fuzz", win, lost);
    return 0;
}
