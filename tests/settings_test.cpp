// The settings store, the stored settings and the player records.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "settings/player_records.h"
#include "settings/return_ticket.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace zarv::settings {
namespace {

const QString kKey = QString::fromLatin1(kSettingsKey);

struct Store : ::testing::Test {
    QTemporaryDir dir;
    QString file() const { return dir.filePath("zarv.ini"); }
    SettingsStore store{file()};
    void Write(const char* name, uint32_t v) { store.WriteDword(kKey, QString::fromLatin1(name), v); }
    // Text written straight into the file, as a hand editor or a crash might leave it.
    void WriteFile(const QByteArray& text) {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
};

TEST_F(Store, FirstStartGivesDefaultsAndAnEmptyKey) {
    const Settings s = ReadSettings(store);
    EXPECT_EQ(s.Scheme, 0);
    EXPECT_EQ(s.FeltColour, Rgb(52, 97, 54));
    EXPECT_EQ(s.SeatColourB, Rgb(15, 67, 130));
    EXPECT_EQ(s.DeckColour2, Rgb(0, 0, 255));
    EXPECT_TRUE(s.SoundFX);
    EXPECT_TRUE(s.Talk);
    EXPECT_FALSE(s.FullScreen);
    EXPECT_EQ(s.Speed, 4);
    EXPECT_EQ(s.PlayerName, "Unknown");
    SettingsStore again(file());
    EXPECT_TRUE(again.Exists(kKey));
    for (const char* name : {"Sheme", "Speed", "SoundFX", "BackC"}) EXPECT_FALSE(again.ReadDword(kKey, name)) << name;
    EXPECT_FALSE(again.ReadString(kKey, "PlayerName"));
    EXPECT_FALSE(again.SubkeyAt(kKey, 0));
}

TEST_F(Store, ValueNamesIgnoreCase) {
    store.CreateOrOpen(kKey);
    Write("Gc1", 0x123456);
    EXPECT_EQ(*store.ReadDword(kKey, "GC1"), 0x123456u);
    EXPECT_EQ(*store.ReadDword(kKey, "gc1"), 0x123456u);
    Write("GC1", 7);  // the same value, not a second one
    SettingsStore again(file());
    EXPECT_EQ(*again.ReadDword(kKey, "Gc1"), 7u);
}

TEST_F(Store, ValuesAreLimitedOnReading) {
    store.CreateOrOpen(kKey);
    Write("Sheme", 7);
    Write("Deck", static_cast<uint32_t>(-2));
    Write("BackC", Rgb(1, 2, 3));
    Write("Speed", 9);
    Settings s = ReadSettings(store);
    EXPECT_EQ(s.Scheme, 5);  // the user's own scheme
    EXPECT_EQ(s.Deck, 0);
    EXPECT_EQ(s.FeltColour, Rgb(1, 2, 3));
    EXPECT_EQ(s.Speed, 5);
    Write("Speed", static_cast<uint32_t>(-3));
    EXPECT_EQ(ReadSettings(store).Speed, 0);
    Write("SoundFX", 0);
    Write("Talk", 65535);
    Write("FullScreen", 1);
    s = ReadSettings(store);
    EXPECT_FALSE(s.SoundFX);
    EXPECT_TRUE(s.Talk);
    EXPECT_TRUE(s.FullScreen);
    // The computer level: the four levels as stored, anything else Standard.
    for (uint32_t level : {0u, 1u, 2u, 3u}) {
        Write("Level", level);
        EXPECT_EQ(static_cast<uint32_t>(ReadSettings(store).Level), level);
    }
    for (uint32_t junk : {4u, 99u, static_cast<uint32_t>(-1)}) {
        Write("Level", junk);
        EXPECT_EQ(ReadSettings(store).Level, ComputerLevel::Standard) << junk;
    }
}

TEST_F(Store, PlayerNameRules) {
    store.CreateOrOpen(kKey);
    SavePlayerName(store, "   ");
    EXPECT_EQ(ReadSettings(store).PlayerName, "Unknown");
    SavePlayerName(store, "  Ann  ");
    EXPECT_EQ(ReadSettings(store).PlayerName, "Ann");
    SavePlayerName(store, "ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(ReadSettings(store).PlayerName, "ABCDEFGHIJKLMNO");
    // A name in another script keeps its letters whole.
    const std::string persian = "\xd8\xb2\xd8\xa7\xd8\xb1\xd9\x88";  // four letters
    SavePlayerName(store, persian);
    EXPECT_EQ(ReadSettings(store).PlayerName, persian);
    EXPECT_EQ(ReadSettings(*std::make_unique<SettingsStore>(file())).PlayerName, persian);
}

TEST_F(Store, APresetAfterAUserSchemeWritesNoColours) {
    Settings s;
    s.Scheme = 5;
    s.Deck = 2;
    s.FeltColour = Rgb(9, 9, 9);
    s.DeckColour1 = Rgb(1, 1, 1);
    SaveSettings(store, s);
    EXPECT_EQ(*store.ReadDword(kKey, "BackC"), Rgb(9, 9, 9));
    EXPECT_EQ(*store.ReadDword(kKey, "SoundFX"), 65535u);

    Settings preset;
    preset.Scheme = 1;
    preset.SetScheme(1);
    preset.Speed = 2;
    preset.SoundFX = false;
    SaveSettings(store, preset);
    EXPECT_EQ(*store.ReadDword(kKey, "Sheme"), 1u);
    EXPECT_EQ(*store.ReadDword(kKey, "SoundFX"), 0u);
    EXPECT_EQ(*store.ReadDword(kKey, "BackC"), Rgb(9, 9, 9));  // the old colours stay, unread
    EXPECT_EQ(*store.ReadDword(kKey, "Deck"), 2u);
    const Settings read = ReadSettings(store);
    EXPECT_EQ(read.FeltColour, Rgb(15, 102, 7));  // the preset's own
    EXPECT_EQ(read.Deck, 3);
    EXPECT_EQ(read.Speed, 2);
}

TEST_F(Store, AUserSchemeWithoutItsTableColourFallsBackToSchemeZero) {
    store.CreateOrOpen(kKey);
    Write("Sheme", 5);
    Write("DC1", Rgb(7, 7, 7));
    Write("Speed", 1);
    const Settings s = ReadSettings(store);
    EXPECT_EQ(s.Scheme, 0);
    EXPECT_EQ(s.FeltColour, Rgb(52, 97, 54));
    EXPECT_EQ(s.DeckColour1, Rgb(255, 255, 255));
    EXPECT_EQ(s.Speed, 1);  // values read before stay in force
}

TEST_F(Store, DamagedFilesFallBackWithoutLosingTheRest) {
    WriteFile("[Software/Ombrel%20Card%20Games/Zarv%201.2]\n"
              ".key=1\nSheme=banana\nSpeed=dword:00000002\nTalk=@ByteArray(xyz)\nSoundFX=dword:0000\n"
              "PlayerName=@ByteArray(Bob)\nFullScreen=dword:fffffffff\n");
    SettingsStore damaged(file());
    const Settings s = ReadSettings(damaged);
    EXPECT_EQ(s.Scheme, 0);
    EXPECT_EQ(s.Speed, 2);
    EXPECT_TRUE(s.Talk);       // a string where a number belongs: default
    EXPECT_FALSE(s.SoundFX);
    EXPECT_FALSE(s.FullScreen);  // out of range: default
    EXPECT_EQ(s.PlayerName, "Bob");

    for (const QByteArray& junk : {QByteArray("\x00\x01\xff[[[=\n", 8), QByteArray("[Software"), QByteArray()}) {
        WriteFile(junk);
        SettingsStore broken(file());
        const Settings d = ReadSettings(broken);
        EXPECT_EQ(d.Scheme, 0);
        EXPECT_EQ(d.Speed, 4);
        EXPECT_EQ(d.PlayerName, "Unknown");
    }
}

TEST_F(Store, WritingLeavesNoTemporaryFilesBehind) {
    Settings s;
    for (int i = 0; i < 20; ++i) {
        s.Speed = i % 6;
        SaveSettings(store, s);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"zarv.ini"});
    EXPECT_EQ(ReadSettings(*std::make_unique<SettingsStore>(file())).Speed, 19 % 6);
}

TEST(CheckCode, SignPositionAndHalves) {
    EXPECT_EQ(SignedNumberText(0), " 0");
    EXPECT_EQ(SignedNumberText(-7.5), "-7.5");
    EXPECT_EQ(SignedNumberText(250), " 250");

    // Win = Lost: positions 1 to 12 hold the bare letters (position 12 plus 0), then the salt.
    CheckCode c = MakeCheckCode(3, 3, 457);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(c[i], kRecordKey[i]) << i;
    EXPECT_EQ(c[12], kRecordKey[12] + 4);
    EXPECT_EQ(c[13], kRecordKey[13] + 5);
    EXPECT_EQ(c[14], kRecordKey[14] + 7);

    // An odd difference with an odd salt: 1 x 2.5 x 101 = 252.5, " 252.5" ends on position 12.
    c = MakeCheckCode(1, 0, 101);
    const int expected[12] = {0, 0, 0, 0, 0, 0, 0, 2, 5, 2, 0, 5};  // the "." keeps 0
    for (int i = 0; i < 12; ++i) EXPECT_EQ(c[i], kRecordKey[i] + expected[i]) << i;

    // Lost above Win: "-500" - the sign keeps 0.
    c = MakeCheckCode(0, 2, 100);
    const int negative[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(c[i], kRecordKey[i] + negative[i]) << i;
}

// Games in which moves were taken back are counted apart, and the record's
// check still holds; an older record has none.
TEST_F(Store, GamesWithUndoAreCountedApart) {
    AddPlayerResult(store, "Ann", true, 0.3);
    EXPECT_EQ(UndoneGames(store, "Ann"), 0);
    AddPlayerResult(store, "Ann", false, 0.4, true);
    AddPlayerResult(store, "Ann", true, 0.6, true);
    EXPECT_EQ(UndoneGames(store, "Ann"), 2);
    int64_t win = 0, lost = 0;
    EXPECT_TRUE(CheckPlayerRecord(store, "Ann", win, lost));
    EXPECT_EQ(win, 2);
    EXPECT_EQ(lost, 1);
    EXPECT_EQ(UndoneGames(store, "Nobody"), 0);
    store.WriteDword(kKey + "\\Ann", "Undone", static_cast<uint32_t>(-5));  // edited by hand
    EXPECT_EQ(UndoneGames(store, "Ann"), 0);
}

TEST_F(Store, RecordsAddUpAndAHandRaisedWinFailsUntilTheNextResult) {
    AddPlayerResult(store, "Ann", true, 0.3);
    AddPlayerResult(store, "Ann", true, 0.9);
    AddPlayerResult(store, "Ann", false, 0.0);
    int64_t win = 0, lost = 0;
    EXPECT_TRUE(CheckPlayerRecord(store, "Ann", win, lost));
    EXPECT_EQ(win, 2);
    EXPECT_EQ(lost, 1);

    store.WriteDword(kKey + "\\Ann", "Win", 40);
    EXPECT_FALSE(CheckPlayerRecord(store, "Ann", win, lost));
    EXPECT_EQ(win, 40);  // what was read
    EXPECT_EQ(*store.ReadDword(kKey + "\\Ann", "Win"), 0u);
    EXPECT_EQ(*store.ReadDword(kKey + "\\Ann", "Lost"), 0u);
    EXPECT_FALSE(CheckPlayerRecord(store, "Ann", win, lost));  // the old code no longer fits zeros

    AddPlayerResult(store, "Ann", false, 0.5);
    EXPECT_TRUE(CheckPlayerRecord(store, "Ann", win, lost));
    EXPECT_EQ(win, 0);
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(CheckPlayerRecord(store, "Nobody", win, lost));
}

TEST_F(Store, PlayersAreListedAndResetLeavesTheSettings) {
    Settings s;
    s.Speed = 1;
    SaveSettings(store, s);
    SavePlayerName(store, "Ann");
    for (const char* name : {"Ann", "Bob/Two", "Zoë"}) AddPlayerResult(store, name, true, 0.1);
    std::vector<std::string> names;
    for (int i = 0; auto n = EnumPlayer(store, i); ++i) names.push_back(*n);
    EXPECT_EQ(names, (std::vector<std::string>{"Ann", "Bob/Two", "Zoë"}));
    int64_t win = 0, lost = 0;
    EXPECT_TRUE(CheckPlayerRecord(store, "Bob/Two", win, lost));

    ResetAllRecords(store);
    EXPECT_FALSE(EnumPlayer(store, 0));
    EXPECT_EQ(ReadSettings(store).Speed, 1);
    EXPECT_EQ(ReadSettings(store).PlayerName, "Ann");
    ResetAllRecords(store);  // nothing to reset
}

}  // namespace
}  // namespace zarv::settings

namespace zarv::settings {
namespace {

// A file with settings and three players, as the program writes it.
QByteArray WrittenFile(const QString& path) {
    {
        SettingsStore s(path);
        Settings settings;
        settings.Speed = 2;
        SaveSettings(s, settings);
        SavePlayerName(s, "Cy");
        for (const char* name : {"Ann", "Bob", "Cy"}) AddPlayerResult(s, name, true, 0.3);
        AddPlayerResult(s, "Bob", false, 0.6);
    }
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

struct Damage : ::testing::Test {
    QTemporaryDir dir;
    QString file() const { return dir.filePath("zarv.ini"); }
    void Put(const QByteArray& text) {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QStringList Copies() const { return QDir(dir.path()).entryList({"zarv.ini.damaged-*"}); }
    // Everything the file held is there: the settings and every player's record.
    void ExpectEverythingRead(SettingsStore& s) {
        const Settings settings = ReadSettings(s);
        EXPECT_EQ(settings.PlayerName, "Cy");
        EXPECT_EQ(settings.Speed, 2);
        EXPECT_EQ(EnumPlayers(s), (std::vector<std::string>{"Ann", "Bob", "Cy"}));
        int64_t win = 0, lost = 0;
        EXPECT_TRUE(CheckPlayerRecord(s, "Bob", win, lost));
        EXPECT_EQ(win, 1);
        EXPECT_EQ(lost, 1);
    }
};

TEST_F(Damage, AStrayLineOrSectionHidesNothingAndACopyIsKept) {
    const QByteArray good = WrittenFile(file());
    // Insert each kind of damage right after the section header, before every setting.
    const qsizetype afterHeader = good.indexOf('\n') + 1;
    // A name with a raw control character, and a CR inside a line (the INI
    // reader ends a line there too), came from the fuzzer: each made the store
    // write a file it then found damaged, and lost a result added meanwhile.
    for (const QByteArray& junk : {QByteArray("[]\n"), QByteArray("[oops\n"), QByteArray("no equals sign here\n"),
                                   QByteArray("\xff\n"), QByteArray("[Elsewhere]\n"), QByteArray("\0\0\0\r=1\n", 8),
                                   QByteArray("a\x01name=1\n"), QByteArray("no \r=1\n")}) {
        QByteArray damaged = good;
        damaged.insert(afterHeader, junk);
        Put(damaged);
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        Put(damaged);
        SettingsStore s(file());
        ASSERT_FALSE(s.damagedCopy().isEmpty()) << junk.toStdString();
        EXPECT_EQ(Copies().size(), 1);
        QFile copy(s.damagedCopy());
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), damaged);  // the copy is the file as it was
        ExpectEverythingRead(s);
        // Writing works again: a new player's first result is kept.
        EXPECT_TRUE(AddPlayerResult(s, "Dan", false, 0.5));
        SettingsStore again(file());
        EXPECT_TRUE(again.damagedCopy().isEmpty()) << "the file was left damaged";
        int64_t win = 0, lost = 0;
        EXPECT_TRUE(CheckPlayerRecord(again, "Dan", win, lost));
        EXPECT_EQ(lost, 1);
    }
}

TEST_F(Damage, AnUndamagedFileIsLeftAsItIs) {
    const QByteArray good = WrittenFile(file());
    SettingsStore s(file());
    EXPECT_TRUE(s.damagedCopy().isEmpty());
    EXPECT_TRUE(Copies().isEmpty());
    ExpectEverythingRead(s);
}

TEST_F(Damage, KeysWithoutTheirMarkersAreReadOnTheFirstStart) {
    QByteArray text = WrittenFile(file());
    // Every marker gone: the settings key and the players' keys.
    QList<QByteArray> kept;
    for (const QByteArray& line : text.split('\n'))
        if (!line.contains(".key=")) kept << line;
    Put(kept.join('\n'));
    SettingsStore s(file());
    ExpectEverythingRead(s);
}

// A deferred store writes nothing until it closes, and then everything; an
// atomic one has each write in the file at once.
TEST(Durability, AtomicWritesAtOnceDeferredWhenTheStoreCloses) {
    QTemporaryDir dir;
    const QString atomicFile = dir.filePath("atomic.ini"), deferredFile = dir.filePath("deferred.ini");
    auto onDisk = [](const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    {
        SettingsStore atomic(atomicFile);
        ASSERT_TRUE(AddPlayerResult(atomic, "Ann", true, 0.5));
        EXPECT_TRUE(onDisk(atomicFile).contains("Ann"));
        SettingsStore deferred(deferredFile, SettingsStore::Durability::Deferred);
        ASSERT_TRUE(AddPlayerResult(deferred, "Ann", true, 0.5));
        EXPECT_FALSE(onDisk(deferredFile).contains("Ann"));
    }
    EXPECT_TRUE(onDisk(deferredFile).contains("Ann"));
    SettingsStore again(deferredFile);
    int64_t win = 0, lost = 0;
    EXPECT_TRUE(CheckPlayerRecord(again, "Ann", win, lost));
    EXPECT_EQ(win, 1);
}

// Key parts are escaped for the INI file as percent-encoding does it, with a
// space kept as it is; plain parts are used unchanged.
TEST(Keys, PartsAreEscapedLikePercentEncoding) {
    EXPECT_EQ(SettingsStore::GroupOf("Software\\Ombrel Card Games\\Zarv 1.2"), "Software/Ombrel Card Games/Zarv 1.2");
    EXPECT_EQ(SettingsStore::GroupOf("a-b_c.d~e"), "a-b_c.d~e");
    EXPECT_EQ(SettingsStore::GroupOf(QString::fromUtf8("Zo\xc3\xab/x%y")), "Zo%C3%AB%2Fx%25y");
    EXPECT_EQ(SettingsStore::GroupOf(QString::fromUtf8("\xd8\xad\xd8\xa7\xda\xa9\xd9\x85")), "%D8%AD%D8%A7%DA%A9%D9%85");
}

TEST(PlayerNames, ABackslashIsNeverFiledUnderAnotherKey) {
    QTemporaryDir dir;
    SettingsStore s(dir.filePath("zarv.ini"));
    ASSERT_TRUE(AddPlayerResult(s, "Ann", true, 0.5));
    for (const char* bad : {"Ann\\", "Dan\\Eve", "\\", ""}) EXPECT_FALSE(AddPlayerResult(s, bad, true, 0.5)) << bad;
    EXPECT_EQ(EnumPlayers(s), std::vector<std::string>{"Ann"});
    int64_t win = 0, lost = 0;
    EXPECT_TRUE(CheckPlayerRecord(s, "Ann", win, lost));
    EXPECT_EQ(win, 1);
    EXPECT_EQ(ReadSettings(s).PlayerName, "Unknown");  // the settings key kept its values
}

TEST(PlayerNames, FifteenCharactersNotUtf16Units) {
    const std::string emoji = "\xF0\x9F\x83\x8F";  // one character, two UTF-16 units
    std::string eight, sixteen;
    for (int i = 0; i < 8; ++i) eight += emoji;
    for (int i = 0; i < 16; ++i) sixteen += emoji;
    EXPECT_EQ(NormalisePlayerName(eight), eight);
    std::string fifteen;
    for (int i = 0; i < 15; ++i) fifteen += emoji;
    EXPECT_EQ(NormalisePlayerName(sixteen), fifteen);  // never half a character
}

TEST(ManyPlayers, AllAreListedCheckedAndResetAtOnce) {
    QTemporaryDir dir;
    const QString path = dir.filePath("zarv.ini");
    {
        // Written straight into the file: 3,000 players.
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Software]\n.key=1\nOmbrel%20Card%20Games\\.key=1\nOmbrel%20Card%20Games\\Zarv%201.2\\.key=1\n");
        for (int i = 0; i < 3000; ++i) f.write(QStringLiteral("Ombrel%20Card%20Games\\Zarv%201.2\\P%1\\Win=dword:00000001\n").arg(i, 4, 10, QLatin1Char('0')).toLatin1());
    }
    SettingsStore s(path);
    const auto names = EnumPlayers(s);
    ASSERT_EQ(names.size(), 3000u);
    EXPECT_EQ(names.front(), "P0000");
    EXPECT_EQ(names.back(), "P2999");
    ResetAllRecords(s);
    EXPECT_TRUE(EnumPlayers(s).empty());
    SettingsStore again(path);
    EXPECT_TRUE(EnumPlayers(again).empty());
}

} // namespace
} // namespace zarv::settings

namespace zarv::settings {
namespace {

TEST_F(Store, AReturnTicketOutlivesTheProgramUntilItIsForgottenOrTooOld) {
    const int64_t now = 1'800'000'000;
    EXPECT_FALSE(ReadReturnTicket(store, now));
    ReturnTicket t;
    t.server = true;
    t.encrypted = true;
    t.address = "zarv.example.org;1";  // the typed address may hold what separates the fields
    t.host = "zarv.example.org";
    t.port = 11002;
    t.token = "0a1b2c3d4e5f60718293a4b5c6d7e8f9";
    t.seat = 2;
    t.savedAt = now - 60;
    SaveReturnTicket(store, t);
    // Read by the next run of the program, from the file.
    SettingsStore again{file()};
    const auto back = ReadReturnTicket(again, now);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->server && back->encrypted);
    EXPECT_EQ(back->address, t.address);
    EXPECT_EQ(back->host, t.host);
    EXPECT_EQ(back->port, 11002);
    EXPECT_EQ(back->token, t.token);
    EXPECT_EQ(back->seat, 2);
    // A game lasts an evening: the next day nothing is offered.
    EXPECT_FALSE(ReadReturnTicket(again, now + ReturnTicket::kKeepSeconds));
    EXPECT_FALSE(ReadReturnTicket(again, now - 3600));  // saved "in the future": the clock was wrong
    ForgetReturnTicket(again);
    EXPECT_FALSE(ReadReturnTicket(again, now));
    // The ticket is a value of the settings key, never a player's record.
    EXPECT_TRUE(EnumPlayers(again).empty());
}

TEST_F(Store, ADamagedReturnTicketReadsAsNone) {
    const int64_t now = 1'800'000'000;
    for (const char* stored : {"dealer;0;3;11001;1799999999;abc123;host", "dealer;0;5;11001;1799999999;abc123;host;h",
                               "dealer;0;3;0;1799999999;abc123;host;h", "dealer;0;3;11001;1799999999;xyz;host;h",
                               "dealer;0;3;11001;1799999999;;host;h", "table;0;3;11001;1799999999;abc123;host;h",
                               "dealer;2;3;11001;1799999999;abc123;host;h", "dealer;0;3;11001;soon;abc123;host;h",
                               "dealer;0;3;11001;1799999999;abc123;ho\x01st;h", ""}) {
        store.WriteString(kKey, QStringLiteral("ReturnTicket"), stored);
        EXPECT_FALSE(ReadReturnTicket(store, now)) << stored;
    }
    store.WriteString(kKey, QStringLiteral("ReturnTicket"), "dealer;0;3;11001;1799999999;abc123;host;h");
    EXPECT_TRUE(ReadReturnTicket(store, now));
}

} // namespace
} // namespace zarv::settings
