#include "server/http_head.h"

#include <algorithm>
#include <cctype>

namespace zarv::server {

namespace {

std::string Lower(std::string_view text) {
    std::string s(text);
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool IsToken(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isalnum(c) || std::string_view("!#$%&'*+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
    });
}

bool HasTokenIn(const std::string& list, std::string_view token) {
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(',', start), list.size());
        if (Lower(Trimmed(std::string_view(list).substr(start, end - start))) == token) return true;
        start = end + 1;
    }
    return false;
}

bool ReadRequestLine(std::string_view line, HttpHead* head) {
    const size_t a = line.find(' ');
    const size_t b = a == std::string_view::npos ? a : line.find(' ', a + 1);
    if (b == std::string_view::npos || line.find(' ', b + 1) != std::string_view::npos) return false;
    head->method = std::string(line.substr(0, a));
    const std::string_view target = line.substr(a + 1, b - a - 1);
    head->version = std::string(line.substr(b + 1));
    if (!IsToken(head->method) || target.empty() || target[0] != '/') return false;
    if (head->version != "HTTP/1.1" && head->version != "HTTP/1.0") return false;
    head->path = std::string(target.substr(0, target.find('?')));
    return true;
}

} // namespace

bool HttpHead::AsksForWebSocket() const {
    return HasTokenIn(Header("connection"), "upgrade") && Lower(Header("upgrade")) == "websocket";
}

HeadState ReadHead(std::string_view bytes, HttpHead* head) {
    const size_t end = bytes.find("\r\n\r\n");
    if (end == std::string_view::npos) return bytes.size() >= kMaxHttpHead ? HeadState::TooLarge : HeadState::Incomplete;
    if (end + 4 > kMaxHttpHead) return HeadState::TooLarge;
    *head = HttpHead{};
    head->length = end + 4;
    const std::string_view text = bytes.substr(0, end);
    size_t start = 0;
    int lines = 0;
    while (start <= text.size()) {
        const size_t stop = std::min(text.find("\r\n", start), text.size());
        const std::string_view line = text.substr(start, stop - start);
        start = stop + 2;
        if (std::any_of(line.begin(), line.end(), [](unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7f; }))
            return HeadState::Malformed;
        if (lines++ == 0) {
            if (!ReadRequestLine(line, head)) return HeadState::Malformed;
            continue;
        }
        if (lines > kMaxHttpHeaders + 1) return HeadState::TooLarge;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || !IsToken(line.substr(0, colon))) return HeadState::Malformed;
        std::string& value = head->headers[Lower(line.substr(0, colon))];
        value += (value.empty() ? "" : ", ") + std::string(Trimmed(line.substr(colon + 1)));
    }
    return HeadState::Complete;
}

std::optional<std::string> WebFileOf(std::string_view path) {
    if (path.empty() || path[0] != '/') return std::nullopt;
    if (path == "/") return std::string("index.html");
    const std::string_view rest = path.substr(1);
    // Plain names only: no percent-encoding, no dot segments, no folders that
    // begin with a dot, nothing a file system could read as a separator.
    if (rest.size() > 200) return std::nullopt;
    if (!std::all_of(rest.begin(), rest.end(), [](unsigned char c) { return std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '/'; }))
        return std::nullopt;
    size_t start = 0;
    while (start <= rest.size()) {
        const size_t end = std::min(rest.find('/', start), rest.size());
        const std::string_view segment = rest.substr(start, end - start);
        if (segment.empty() || segment[0] == '.') return std::nullopt;
        start = end + 1;
    }
    return std::string(rest);
}

bool SameOrigin(const HttpHead& head, bool tls) {
    const std::string origin = Lower(head.Header("origin"));
    const std::string host = Lower(head.Header("host"));
    if (origin.empty() || host.empty()) return false;
    const std::string scheme = tls ? "https://" : "http://";
    // Behind a proxy that speaks TLS to the browser, the page is https and the
    // proxy's own connection to this port plain: the host decides then.
    if (origin == scheme + host) return true;
    return !tls && origin == "https://" + host && !head.Header("x-forwarded-proto").empty();
}

} // namespace zarv::server
