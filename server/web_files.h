// The web client's files, read into memory once at start: each with its type,
// its gzip form when the build made one, and whether its name carries a hash
// of its content (then it never changes and browsers may keep it for a year).
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace zarv::server {

struct WebFile {
    std::string body;
    std::string gzipped;  // empty: none
    std::string type;
    bool immutable = false;
};

class WebFiles {
public:
    // Reads the folder (at most kMaxTotal bytes in all); false when it has no index.html.
    bool Load(const std::filesystem::path& folder, std::string* why);
    const WebFile* Find(const std::string& relative) const;
    size_t count() const { return files_.size(); }
    static constexpr size_t kMaxTotal = 64 * 1024 * 1024;

private:
    std::map<std::string, WebFile> files_;
};

// "text/html; charset=utf-8" for "index.html", and so on.
std::string ContentTypeOf(const std::string& name);
// Names like "app-3f9a2c1b.js": a hash of eight or more hex digits before the extension.
bool HasContentHash(const std::string& name);
// The folder the web client is served from when none is given: beside the
// program when it runs from its build folder, else the installed one.
std::optional<std::filesystem::path> DefaultWebFolder(const std::filesystem::path& program);

} // namespace zarv::server
