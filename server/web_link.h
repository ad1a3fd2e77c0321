// One browser's connection, on the socket thread: it turns the browser's JSON
// messages into the lobby's texts (so that the lobby stays the one judge of
// who may make, sit at and watch which table) and the lobby's answers into
// JSON. What the table sends a browser is JSON already and passes through.
// Plain C++: tests and the fuzzer drive it without sockets.
//
// Every message is one JSON object with a "t" (type); the README lists them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace zarv::server {

// The browser protocol's version: a browser of another version is told to reload.
constexpr int kWebVersion = 1;
// A browser's message is at most this long (the longest, a chat line of 200
// characters in four-byte letters, is well within it).
constexpr size_t kMaxWebMessage = 4096;
constexpr size_t kMaxChatLetters = 200;

class WebLink {
public:
    struct Out {
        std::string toLobby;                 // the lobby's texts, "Command;Detail|" each
        std::vector<std::string> toBrowser;  // JSON messages, one frame each
        bool close = false;                  // close the connection once they are sent
    };

    // A frame from the browser.
    Out FromBrowser(std::string_view frame);
    // Texts the lobby sends the connection.
    Out FromLobby(std::string_view text);
    // What the table sends: JSON messages, one a line.
    static std::vector<std::string> FromTable(std::string_view lines);

    bool atTable() const { return stage_ == Stage::Table; }

private:
    enum class Stage { New, Lobby, Table, Watching };
    void Hello(const nlohmann::json& m, Out& out);
    void LobbyRequest(const std::string& type, const nlohmann::json& m, Out& out);
    void TableRequest(const std::string& type, const nlohmann::json& m, Out& out);
    // Registering, signing in and out: true when it was one of those.
    bool AccountRequest(const std::string& type, const nlohmann::json& m, Out& out);
    void LobbyAnswer(const std::string& command, const std::string& detail, Out& out);
    void Ok(const std::string& detail, Out& out);

    Stage stage_ = Stage::New;
    std::string name_;       // the name it sits under: the guest's, or the account's once signed in
    std::string guestName_;  // the name it said hello with
    nlohmann::json top_ = nlohmann::json::array();
    std::string pending_;  // the lobby's bytes after the last "|"
};

// A message as it travels. Text that is not valid UTF-8 (a name or chat line
// of an older program) is sent with U+FFFD in place of the bad bytes, never
// refused: one odd byte must not silence a table.
std::string Dumped(const nlohmann::json& message);
// The browser's refusal of its own message: {"t":"bad","why":...}.
std::string BadMessage(const std::string& why);
// A name a person may play under: 1 to 40 bytes of UTF-8 letters, without the
// protocol's separators or control characters, not only spaces.
bool IsPlayerName(std::string_view name);
// The number of letters (code points) of valid UTF-8; nothing for invalid bytes.
std::optional<size_t> Utf8Letters(std::string_view text);

} // namespace zarv::server
