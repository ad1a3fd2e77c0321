#include "server/web_files.h"

#include <fstream>
#include <sstream>

namespace zarv::server {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> ReadWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

std::string ContentTypeOf(const std::string& name) {
    static const std::pair<const char*, const char*> kTypes[] = {
        {".html", "text/html; charset=utf-8"}, {".js", "text/javascript; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},   {".json", "application/json"},
        {".webmanifest", "application/manifest+json"}, {".png", "image/png"},
        {".svg", "image/svg+xml"},             {".ico", "image/x-icon"},
        {".webp", "image/webp"},               {".txt", "text/plain; charset=utf-8"},
        {".woff2", "font/woff2"}};
    for (const auto& [extension, type] : kTypes)
        if (EndsWith(name, extension)) return type;
    return "application/octet-stream";
}

bool HasContentHash(const std::string& name) {
    const size_t dot = name.rfind('.');
    const size_t dash = name.rfind('-', dot);
    if (dot == std::string::npos || dash == std::string::npos || dot - dash - 1 < 8) return false;
    for (size_t i = dash + 1; i < dot; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

bool WebFiles::Load(const fs::path& folder, std::string* why) {
    std::error_code error;
    size_t total = 0;
    files_.clear();
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file()) continue;
        const std::string relative = fs::relative(it->path(), folder).generic_string();
        if (EndsWith(relative, ".gz")) continue;
        const auto body = ReadWhole(it->path());
        if (!body) continue;
        WebFile file;
        file.body = *body;
        file.type = ContentTypeOf(relative);
        file.immutable = HasContentHash(fs::path(relative).filename().string());
        if (const auto gz = ReadWhole(it->path().string() + ".gz")) file.gzipped = *gz;
        total += file.body.size() + file.gzipped.size();
        if (total > kMaxTotal) {
            if (why) *why = "the web folder holds more than 64 MB";
            return false;
        }
        files_[relative] = std::move(file);
    }
    if (error || !files_.count("index.html")) {
        if (why) *why = "no index.html in " + folder.string();
        files_.clear();
        return false;
    }
    return true;
}

const WebFile* WebFiles::Find(const std::string& relative) const {
    const auto it = files_.find(relative);
    return it == files_.end() ? nullptr : &it->second;
}

std::optional<fs::path> DefaultWebFolder(const fs::path& program) {
#ifdef ZARV_WEB_BUILD_FOLDER
    // Run from its build folder: the web client built beside it.
    if (program.parent_path() == fs::path(ZARV_PROGRAM_BUILD_FOLDER) && fs::exists(fs::path(ZARV_WEB_BUILD_FOLDER) / "index.html"))
        return fs::path(ZARV_WEB_BUILD_FOLDER);
#endif
    const fs::path installed = program.parent_path().parent_path() / "share" / "zarv" / "web";
    if (fs::exists(installed / "index.html")) return installed;
    return std::nullopt;
}

} // namespace zarv::server
