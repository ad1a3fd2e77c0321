#include "settings/player_records.h"

#include <QString>
#include <algorithm>
#include <cmath>

#include "settings/settings.h"
#include "settings/settings_store.h"

namespace zarv::settings {

namespace {
QString PlayerKey(const std::string& name) {
    return QString::fromLatin1(kSettingsKey) + QLatin1Char('\\') + QString::fromUtf8(name.c_str());
}
int64_t ReadCount(SettingsStore& store, const QString& key, const char* name) {
    const auto v = store.ReadDword(key, QString::fromLatin1(name));
    return v ? static_cast<int32_t>(*v) : 0;
}
} // namespace

std::string SignedNumberText(double value) {
    const double magnitude = std::fabs(value);
    const double whole = std::floor(magnitude);
    std::string text = value < 0 ? "-" : " ";
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.0f", whole);
    text += digits;
    if (magnitude != whole) text += ".5";  // (win - lost) x 2.5 x n is always a multiple of 0.5
    return text;
}

CheckCode MakeCheckCode(int64_t win, int64_t lost, int n) {
    CheckCode c{};
    c[12] = static_cast<uint8_t>(n / 100 % 10);
    c[13] = static_cast<uint8_t>(n / 10 % 10);
    c[14] = static_cast<uint8_t>(n % 10);
    const std::string t = SignedNumberText(static_cast<double>(win - lost) * 2.5 * n);
    const int length = static_cast<int>(t.size());
    // Right-aligned so that the last character lands on position 12; a blank,
    // "-" or "." keeps 0, and positions before the first are dropped.
    for (int i = 1; i <= length; ++i) {
        const int position = 13 - i;
        if (position < 1) break;
        const char ch = t[length - i];
        if (ch >= '0' && ch <= '9') c[position - 1] = static_cast<uint8_t>(ch - '0');
    }
    for (int i = 0; i < 15; ++i) c[i] = static_cast<uint8_t>(c[i] + kRecordKey[i]);
    return c;
}

int64_t UndoneGames(SettingsStore& store, const std::string& name) {
    const QString key = PlayerKey(name);
    return store.Exists(key) ? std::max<int64_t>(0, ReadCount(store, key, "Undone")) : 0;
}

bool AddPlayerResult(SettingsStore& store, const std::string& name, bool won, double rnd, bool undone) {
    if (name.empty() || name.find('\\') != std::string::npos) return false;
    const QString key = PlayerKey(name);
    bool created = false;
    if (!store.CreateOrOpen(key, &created)) return false;
    int64_t win = 0, lost = 0;
    if (!created) {
        win = ReadCount(store, key, "Win");
        lost = ReadCount(store, key, "Lost");
    }
    bool written = false;
    if (won) {
        ++win;
        written = store.WriteDword(key, QStringLiteral("Win"), static_cast<uint32_t>(win));
    } else {
        ++lost;
        written = store.WriteDword(key, QStringLiteral("Lost"), static_cast<uint32_t>(lost));
    }
    if (undone)
        written = store.WriteDword(key, QStringLiteral("Undone"),
                                   static_cast<uint32_t>(std::max<int64_t>(0, ReadCount(store, key, "Undone")) + 1)) && written;
    const int n = static_cast<int>(std::nearbyint(rnd * 800 + 100));
    const CheckCode code = MakeCheckCode(win, lost, n);
    return store.WriteString(key, QStringLiteral("Score"), std::string(code.begin(), code.end())) && written;
}

bool CheckPlayerRecord(SettingsStore& store, const std::string& name, int64_t& win, int64_t& lost) {
    const QString key = PlayerKey(name);
    win = lost = 0;
    if (!store.Exists(key)) return false;
    win = ReadCount(store, key, "Win");
    lost = ReadCount(store, key, "Lost");
    std::string score = store.ReadString(key, QStringLiteral("Score")).value_or(std::string());
    score.resize(15, '\0');

    // The salt is kept in the last three positions.
    int n = 0;
    for (int i = 12; i < 15; ++i) {
        const int digit = static_cast<uint8_t>(score[i]) - static_cast<uint8_t>(kRecordKey[i]);
        if (digit < 0 || digit > 9) break;  // the text stops being a number here
        n = n * 10 + digit;
    }
    const CheckCode expected = MakeCheckCode(win, lost, n);
    for (int i = 0; i < 15; ++i) {
        if (static_cast<uint8_t>(score[i]) != expected[i]) {
            store.WriteDword(key, QStringLiteral("Lost"), 0);
            store.WriteDword(key, QStringLiteral("Win"), 0);
            return false;
        }
    }
    return true;
}

void ResetAllRecords(SettingsStore& store) {
    const QString key = QString::fromLatin1(kSettingsKey);
    if (store.Exists(key)) store.DeleteAllSubkeys(key);
}

} // namespace zarv::settings
