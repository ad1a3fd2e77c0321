// The game's stored settings: colour scheme, card backs, sound, full screen,
// balloons, speed and the player's name, with their presets and limits.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zarv::settings {

class SettingsStore;

// Colours are 0x00BBGGRR: red in the lowest byte.
constexpr uint32_t Rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

inline const char* const kSettingsKey = "Software\\Ombrel Card Games\\Zarv 1.2";
constexpr int kUserScheme = 5;
constexpr int kMaxNameLength = 15;
inline const std::array<const char*, 6> kSchemeNames = {"Abbadan", "Casino", "Soft Lights", "Sharp", "Shadow",
                                                        "UserDifiend!"};

// The language the window speaks; stored as the number it stands for.
enum class LanguageChoice : int32_t { English = 0, Farsi = 1 };

// How the computer players play; stored as the number it stands for.
// Standard and Expert were the first two; Beginner and Master came later.
enum class ComputerLevel : int32_t { Standard = 0, Expert = 1, Beginner = 2, Master = 3 };

struct Settings {
    int32_t Scheme = 0;  // stored as "Sheme"
    int32_t Deck = 0;
    // The colours, stored under their old keys: "DC1".."DC3" (the card back's
    // three), "Gc1"/"Gb1" (seats 2 and 4: plate and border), "Gc2"/"Gb2"
    // (seats 1 and 3) and "BackC" (the felt).
    uint32_t DeckColour1 = 0, DeckColour2 = 0, DeckColour3 = 0;
    uint32_t SeatColourB = 0, SeatColourA = 0;  // plate colour of seats 2 and 4, and of seats 1 and 3
    uint32_t SeatBorderB = 0, SeatBorderA = 0;  // their border colours
    uint32_t FeltColour = 0;
    bool SoundFX = true;
    bool FullScreen = false;
    bool Talk = true;
    bool DimCards = true;  // dim the cards the person may not play (stored as "DimCards")
    ComputerLevel Level = ComputerLevel::Standard;  // the computer players (stored as "Level": 0 to 3)
    // Stored as "Language" (0 or 1). Options saved before there was a choice
    // read as English; with no options saved at all it stays empty and the
    // program follows the system's language.
    std::optional<LanguageChoice> Language;
    int32_t Speed = 4;
    std::string PlayerName = "Unknown";  // UTF-8
    // A network Dealer gives a silent remote player this many seconds before
    // the computer plays for the seat (stored as "MoveLimit").
    int32_t MoveLimit = 60;
    std::string LastDealer;  // the Dealer joined last, as typed (stored as "LastDealer", UTF-8)
    std::string LastServer;  // the table server played on last, as typed (stored as "LastServer")
    // The main window's place and size, as the window system records them
    // (stored as "WindowPlace", base64); empty: never closed yet.
    std::string WindowPlace;
    // Ask before F2 or Exit throws away a game in progress (stored as "AskAbandon").
    bool AskBeforeAbandoning = true;
    // How the network dialog was used last: 0 hosting, 1 joining a Dealer,
    // 2 a table server (stored as "NetworkRole").
    int32_t NetworkRole = 0;

    Settings() { SetScheme(0); }
    // Loads the colours and card design of preset 0..4; any other index changes nothing.
    void SetScheme(int32_t index);
};

// Reads the settings key, creating it (empty) on first start.
Settings ReadSettings(SettingsStore& store);
// Writes everything but the player name; a preset stores only its index.
void SaveSettings(SettingsStore& store, const Settings& s);
void SavePlayerName(SettingsStore& store, const std::string& name);
void SaveLastDealer(SettingsStore& store, const std::string& address);
void SaveLastServer(SettingsStore& store, const std::string& address);
// The certificate fingerprint a player pinned for a table server ("" when none).
std::string ReadServerPin(SettingsStore& store, const std::string& server);
void SaveServerPin(SettingsStore& store, const std::string& server, const std::string& pin);
// The account a player signed in with on a table server, and the session's
// token that signs in again without the password.
struct ServerSession {
    std::string name;
    std::string token;
};
std::optional<ServerSession> ReadServerSession(SettingsStore& store, const std::string& server);
// Nothing: the session is forgotten (signed out, or no longer good).
void SaveServerSession(SettingsStore& store, const std::string& server, const std::optional<ServerSession>& session);
void SaveWindowPlace(SettingsStore& store, const std::string& place);
void SaveFullScreen(SettingsStore& store, bool full);
void SaveAskBeforeAbandoning(SettingsStore& store, bool ask);
void SaveNetworkRole(SettingsStore& store, int32_t role);
constexpr int32_t kMinMoveLimit = 10;
constexpr int32_t kMaxMoveLimit = 600;
// The name of the index-th player with a record (0-based), if there is one.
std::optional<std::string> EnumPlayer(SettingsStore& store, int index);
// Every player with a record, in the store's order (one pass, for long lists).
std::vector<std::string> EnumPlayers(SettingsStore& store);

// A name as the game keeps it: at most 15 characters, trimmed, "Unknown" when empty.
std::string NormalisePlayerName(const std::string& utf8);

// On and off values are stored as 65535 and 0.
constexpr uint32_t kOn = 65535;
constexpr uint32_t kOff = 0;

} // namespace zarv::settings
