#include "server/name_key.h"

#include <unicode/ucasemap.h>
#include <unicode/unorm2.h>
#include <unicode/uspoof.h>
#include <unicode/ustring.h>

#include <memory>
#include <vector>

namespace zarv::server {

namespace {

// The same letters and spacing, whatever spaces there were around and between words.
std::string Spaced(std::string_view name) {
    std::string out;
    bool space = false;
    for (const char c : name) {
        if (c == ' ' || c == '\t') {
            space = !out.empty();
            continue;
        }
        if (space) out += ' ';
        space = false;
        out += c;
    }
    return out;
}

// Calls an ICU function that writes UTF-8 into a buffer, growing it once if short.
template <typename Write>
std::string Written(std::string_view in, Write write) {
    std::vector<char> out(in.size() * 3 + 16);
    for (int attempt = 0; attempt < 2; ++attempt) {
        UErrorCode error = U_ZERO_ERROR;
        const int32_t length = write(out.data(), static_cast<int32_t>(out.size()), &error);
        if (error == U_BUFFER_OVERFLOW_ERROR) {
            out.resize(static_cast<size_t>(length) + 1);
            continue;
        }
        if (U_FAILURE(error)) return std::string(in);
        return std::string(out.data(), static_cast<size_t>(length));
    }
    return std::string(in);
}

std::string Folded(std::string_view text) {
    struct Close {
        void operator()(UCaseMap* m) const { ucasemap_close(m); }
    };
    UErrorCode error = U_ZERO_ERROR;
    const std::unique_ptr<UCaseMap, Close> map(ucasemap_open("", 0, &error));
    if (U_FAILURE(error)) return std::string(text);
    return Written(text, [&](char* out, int32_t room, UErrorCode* e) {
        return ucasemap_utf8FoldCase(map.get(), out, room, text.data(), static_cast<int32_t>(text.size()), e);
    });
}

// Compatibility forms (full-width letters, ligatures) as their plain
// letters; with fold, also in one letter case.
std::string Normalised(std::string_view text, bool fold) {
    UErrorCode error = U_ZERO_ERROR;
    const UNormalizer2* form = fold ? unorm2_getNFKCCasefoldInstance(&error) : unorm2_getNFKCInstance(&error);
    if (U_FAILURE(error)) return std::string(text);
    std::u16string wide(text.size() + 1, u'\0');
    int32_t length = 0;
    u_strFromUTF8(wide.data(), static_cast<int32_t>(wide.size()), &length, text.data(), static_cast<int32_t>(text.size()), &error);
    if (U_FAILURE(error)) return std::string(text);
    wide.resize(static_cast<size_t>(length));
    std::u16string normal(wide.size() * 4 + 16, u'\0');
    length = unorm2_normalize(form, wide.data(), static_cast<int32_t>(wide.size()), normal.data(),
                              static_cast<int32_t>(normal.size()), &error);
    if (U_FAILURE(error)) return std::string(text);
    normal.resize(static_cast<size_t>(length));
    std::string out(normal.size() * 3 + 1, '\0');
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, normal.data(), static_cast<int32_t>(normal.size()), &error);
    if (U_FAILURE(error)) return std::string(text);
    out.resize(static_cast<size_t>(length));
    return out;
}

std::string Skeleton(std::string_view text) {
    struct Close {
        void operator()(USpoofChecker* c) const { uspoof_close(c); }
    };
    // The checker is made once per thread: it is not to be shared while used.
    thread_local const std::unique_ptr<USpoofChecker, Close> checker([] {
        UErrorCode error = U_ZERO_ERROR;
        USpoofChecker* c = uspoof_open(&error);
        return U_SUCCESS(error) ? c : nullptr;
    }());
    if (!checker) return std::string(text);
    return Written(text, [&](char* out, int32_t room, UErrorCode* e) {
        return uspoof_getSkeletonUTF8(checker.get(), 0, text.data(), static_cast<int32_t>(text.size()), out, room, e);
    });
}

} // namespace

NameKeys KeysOf(std::string_view name) {
    const std::string spaced = Spaced(name);
    return {Folded(Skeleton(Normalised(spaced, true))), Folded(Skeleton(Normalised(spaced, false)))};
}

} // namespace zarv::server
