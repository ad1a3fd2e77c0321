#include "settings/settings.h"

#include <QString>
#include <algorithm>
#include <cctype>

#include "settings/settings_store.h"

namespace zarv::settings {

namespace {

struct SchemeColours {
    uint32_t FeltColour, SeatColourB, SeatColourA, SeatBorderB, SeatBorderA;
    int32_t Deck;
    uint32_t DeckColour1, DeckColour2, DeckColour3;
};

constexpr SchemeColours kSchemes[5] = {
    {Rgb(52, 97, 54), Rgb(15, 67, 130), Rgb(150, 32, 29), Rgb(137, 181, 245), Rgb(222, 80, 80), 0,
     Rgb(255, 255, 255), Rgb(0, 0, 255), Rgb(0, 0, 0)},
    {Rgb(15, 102, 7), Rgb(31, 31, 31), Rgb(244, 13, 9), Rgb(245, 245, 245), Rgb(242, 242, 242), 3,
     Rgb(242, 198, 21), Rgb(15, 15, 15), Rgb(0, 103, 206)},
    {Rgb(208, 153, 168), Rgb(239, 219, 175), Rgb(227, 197, 243), Rgb(172, 185, 98), Rgb(171, 124, 197), 4,
     Rgb(231, 105, 137), Rgb(225, 74, 97), Rgb(211, 52, 56)},
    {Rgb(0, 149, 0), Rgb(38, 204, 204), Rgb(222, 97, 100), Rgb(135, 239, 239), Rgb(223, 172, 172), 2,
     Rgb(0, 0, 0), Rgb(128, 128, 192), Rgb(193, 0, 0)},
    {Rgb(54, 78, 103), Rgb(85, 87, 49), Rgb(82, 67, 71), Rgb(122, 121, 73), Rgb(141, 61, 67), 1,
     Rgb(0, 128, 64), Rgb(255, 255, 255), Rgb(0, 64, 128)},
};

const QString kKey = QString::fromLatin1(kSettingsKey);

int32_t AsSigned(uint32_t v) { return static_cast<int32_t>(v); }

} // namespace

void Settings::SetScheme(int32_t index) {
    if (index < 0 || index > 4) return;
    const SchemeColours& s = kSchemes[index];
    FeltColour = s.FeltColour;
    SeatColourB = s.SeatColourB;
    SeatColourA = s.SeatColourA;
    SeatBorderB = s.SeatBorderB;
    SeatBorderA = s.SeatBorderA;
    Deck = s.Deck;
    DeckColour1 = s.DeckColour1;
    DeckColour2 = s.DeckColour2;
    DeckColour3 = s.DeckColour3;
}

std::string NormalisePlayerName(const std::string& utf8) {
    QString name = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const qsizetype zero = name.indexOf(QChar(0));
    if (zero >= 0) name.truncate(zero);
    // Characters, not bytes or UTF-16 units: a name in any script keeps its
    // 15 letters whole, and no character is cut in half.
    const QList<uint> points = name.toUcs4();
    if (points.size() > kMaxNameLength) name = QString::fromUcs4(reinterpret_cast<const char32_t*>(points.data()), kMaxNameLength);
    name = name.trimmed();
    return name.isEmpty() ? std::string("Unknown") : name.toUtf8().toStdString();
}

// An address as a person types it: short, printable; anything else is left unread.
static std::string TypedAddress(const std::string& stored) {
    const QString text = QString::fromUtf8(stored).trimmed();
    const bool printable = std::none_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
    return text.size() <= 255 && printable ? text.toUtf8().toStdString() : std::string();
}

Settings ReadSettings(SettingsStore& store) {
    Settings s;  // scheme 0 and the defaults of a first start
    bool created = false;
    if (!store.CreateOrOpen(kKey, &created) || created) return s;  // nothing is written until options are applied

    auto dword = [&](const char* name) { return store.ReadDword(kKey, QString::fromLatin1(name)); };
    // A value that is missing or of the wrong type keeps its default.
    if (auto v = dword("Sheme")) s.Scheme = std::min(AsSigned(*v), kUserScheme);
    bool backColourRead = true;
    if (s.Scheme == kUserScheme) {
        if (auto v = dword("Deck")) s.Deck = std::max(AsSigned(*v), 0);
        uint32_t* colours[] = {&s.DeckColour1, &s.DeckColour2, &s.DeckColour3, &s.SeatColourB, &s.SeatColourA, &s.SeatBorderB, &s.SeatBorderA};
        const char* names[] = {"DC1", "DC2", "DC3", "GC1", "GC2", "GB1", "GB2"};
        for (int i = 0; i < 7; ++i)
            if (auto v = dword(names[i])) *colours[i] = *v & 0xFFFFFF;
        if (auto v = dword("BackC"))
            s.FeltColour = *v & 0xFFFFFF;
        else
            backColourRead = false;
    } else {
        s.SetScheme(s.Scheme);
    }
    if (auto v = dword("SoundFX")) s.SoundFX = AsSigned(*v) > 0;
    if (auto v = dword("FullScreen")) s.FullScreen = AsSigned(*v) > 0;
    if (auto v = dword("Talk")) s.Talk = AsSigned(*v) > 0;
    if (auto v = dword("DimCards")) s.DimCards = AsSigned(*v) > 0;
    if (auto v = dword("AskAbandon")) s.AskBeforeAbandoning = AsSigned(*v) > 0;
    if (auto v = dword("NetworkRole")) s.NetworkRole = std::clamp(AsSigned(*v), 0, 2);
    if (auto v = dword("Level")) {
        const int32_t level = AsSigned(*v);
        s.Level = level >= 0 && level <= 3 ? static_cast<ComputerLevel>(level) : ComputerLevel::Standard;
    }
    if (auto v = dword("Language"))
        s.Language = *v == 1 ? LanguageChoice::Farsi : LanguageChoice::English;  // anything else is no choice of ours
    else if (dword("Sheme"))
        s.Language = LanguageChoice::English;
    if (auto name = store.ReadString(kKey, QStringLiteral("PlayerName"))) s.PlayerName = NormalisePlayerName(*name);
    if (auto v = dword("Speed")) s.Speed = std::clamp(AsSigned(*v), 0, 5);
    if (auto v = dword("MoveLimit")) s.MoveLimit = std::clamp(AsSigned(*v), kMinMoveLimit, kMaxMoveLimit);
    // An address is short: anything longer (or with control bytes) was not typed by a person.
    if (auto address = store.ReadString(kKey, QStringLiteral("LastDealer"))) s.LastDealer = TypedAddress(*address);
    if (auto address = store.ReadString(kKey, QStringLiteral("LastServer"))) s.LastServer = TypedAddress(*address);
    // The window's place is a small base64 record; anything else is left unread
    // and the window opens at its first size.
    if (auto place = store.ReadString(kKey, QStringLiteral("WindowPlace"))) {
        const bool base64 = std::all_of(place->begin(), place->end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/' || c == '=';
        });
        if (place->size() <= 1024 && base64) s.WindowPlace = *place;
    }

    if (!backColourRead) {
        // The user's own colours cannot be trusted without their table colour.
        s.Scheme = 0;
        s.SetScheme(0);
    }
    return s;
}

void SaveSettings(SettingsStore& store, const Settings& s) {
    auto put = [&](const char* name, uint32_t v) { store.WriteDword(kKey, QString::fromLatin1(name), v); };
    put("Sheme", static_cast<uint32_t>(s.Scheme));
    if (s.Scheme == kUserScheme) {
        put("Deck", static_cast<uint32_t>(s.Deck));
        put("DC1", s.DeckColour1);
        put("DC2", s.DeckColour2);
        put("DC3", s.DeckColour3);
        put("Gc1", s.SeatColourB);
        put("Gc2", s.SeatColourA);
        put("Gb1", s.SeatBorderB);
        put("Gb2", s.SeatBorderA);
        put("BackC", s.FeltColour);
    }
    put("SoundFX", s.SoundFX ? kOn : kOff);
    put("FullScreen", s.FullScreen ? kOn : kOff);
    put("Talk", s.Talk ? kOn : kOff);
    put("DimCards", s.DimCards ? kOn : kOff);
    put("Level", static_cast<uint32_t>(s.Level));
    if (s.Language) put("Language", static_cast<uint32_t>(*s.Language));
    put("Speed", static_cast<uint32_t>(s.Speed));
    put("MoveLimit", static_cast<uint32_t>(std::clamp(s.MoveLimit, kMinMoveLimit, kMaxMoveLimit)));
}

void SaveLastDealer(SettingsStore& store, const std::string& address) {
    store.WriteString(kKey, QStringLiteral("LastDealer"), address);
}

void SaveLastServer(SettingsStore& store, const std::string& address) {
    store.WriteString(kKey, QStringLiteral("LastServer"), address);
}

namespace {
// One value a server, named by the address's bytes in hex: an address holds
// ':' and '[' that a value's name may not.
QString PinName(const std::string& server) {
    return QStringLiteral("Pin") + QString::fromLatin1(QByteArray::fromStdString(server).toHex());
}
} // namespace

std::string ReadServerPin(SettingsStore& store, const std::string& server) {
    const auto pin = store.ReadString(kKey, PinName(server));
    // A fingerprint is 95 characters at most ("AB:CD:..."); anything else was not saved here.
    if (!pin || pin->size() > 128 ||
        !std::all_of(pin->begin(), pin->end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) || c == ':'; }))
        return {};
    return *pin;
}

void SaveServerPin(SettingsStore& store, const std::string& server, const std::string& pin) {
    store.WriteString(kKey, PinName(server), pin);
}

namespace {
QString SessionName(const std::string& server) {
    return QStringLiteral("Session") + QString::fromLatin1(QByteArray::fromStdString(server).toHex());
}
constexpr size_t kTokenLength = 64;
} // namespace

std::optional<ServerSession> ReadServerSession(SettingsStore& store, const std::string& server) {
    // "<64 hex digits> <name>": anything else was not saved here, and is no session.
    const auto value = store.ReadString(kKey, SessionName(server));
    if (!value || value->size() < kTokenLength + 2 || value->size() > kTokenLength + 1 + 160 || (*value)[kTokenLength] != ' ')
        return std::nullopt;
    ServerSession session{value->substr(kTokenLength + 1), value->substr(0, kTokenLength)};
    const bool hex = std::all_of(session.token.begin(), session.token.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    });
    if (!hex || session.name.find_first_of(";|") != std::string::npos) return std::nullopt;
    return session;
}

void SaveServerSession(SettingsStore& store, const std::string& server, const std::optional<ServerSession>& session) {
    store.WriteString(kKey, SessionName(server), session ? session->token + " " + session->name : std::string());
}

void SaveFullScreen(SettingsStore& store, bool full) {
    store.WriteDword(kKey, QStringLiteral("FullScreen"), full ? kOn : kOff);
}

void SaveAskBeforeAbandoning(SettingsStore& store, bool ask) {
    store.WriteDword(kKey, QStringLiteral("AskAbandon"), ask ? kOn : kOff);
}

void SaveNetworkRole(SettingsStore& store, int32_t role) {
    store.WriteDword(kKey, QStringLiteral("NetworkRole"), static_cast<uint32_t>(std::clamp(role, 0, 2)));
}

void SaveWindowPlace(SettingsStore& store, const std::string& place) {
    store.WriteString(kKey, QStringLiteral("WindowPlace"), place);
}

void SavePlayerName(SettingsStore& store, const std::string& name) {
    store.WriteString(kKey, QStringLiteral("PlayerName"), name);
}

std::vector<std::string> EnumPlayers(SettingsStore& store) {
    std::vector<std::string> names;
    if (!store.Exists(kKey)) return names;
    for (const QString& name : store.Subkeys(kKey)) names.push_back(name.toUtf8().toStdString());
    return names;
}

std::optional<std::string> EnumPlayer(SettingsStore& store, int index) {
    const auto name = store.SubkeyAt(kKey, index);
    if (!name) return std::nullopt;
    return name->toUtf8().toStdString();
}

} // namespace zarv::settings
