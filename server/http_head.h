// The head of an HTTP/1.1 request, as the web port reads it before it either
// answers with a file or hands the connection to the WebSocket: bounded in
// size, strict about what it takes. Plain C++, for the tests and the fuzzer.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace zarv::server {

// A request head longer than this is refused (431), as is one with more lines.
constexpr size_t kMaxHttpHead = 8192;
constexpr int kMaxHttpHeaders = 64;

struct HttpHead {
    std::string method;
    std::string path;   // the target without its query
    std::string version;
    std::map<std::string, std::string> headers;  // names in lower case; a repeated one joined by ", "
    size_t length = 0;  // bytes of the head, with its empty line

    std::string Header(const std::string& name) const {
        const auto it = headers.find(name);
        return it == headers.end() ? std::string() : it->second;
    }
    bool AsksForWebSocket() const;
};

enum class HeadState { Incomplete, Complete, Malformed, TooLarge };
// Reads the head at the start of bytes.
HeadState ReadHead(std::string_view bytes, HttpHead* head);

// The file a request's path names, relative to the web folder ("index.html"
// for "/"), or nothing for a path that could reach outside it or is no plain
// file name (dot segments, backslashes, encoded separators, control bytes).
std::optional<std::string> WebFileOf(std::string_view path);

// A WebSocket's Origin is the page's own: the same scheme and host (with its
// port) as the Host the browser asked for. A missing Origin is refused: every
// browser sends one.
bool SameOrigin(const HttpHead& head, bool tls);

} // namespace zarv::server
