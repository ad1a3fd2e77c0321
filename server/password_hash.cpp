#include "server/password_hash.h"

#include <sodium.h>

#include <array>
#include <cstdlib>
#include <mutex>

namespace zarv::server {

namespace {

void Init() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Fails only without a random source, where nothing here is safe.
        if (sodium_init() < 0) std::abort();
    });
}

std::string Hex(const unsigned char* bytes, size_t size) {
    std::string out(size * 2 + 1, '\0');
    sodium_bin2hex(out.data(), out.size(), bytes, size);
    out.pop_back();
    return out;
}

// The hash a password is checked against when there is no real one.
const std::string& Decoy() {
    static const std::string decoy = HashPassword("no account has this password");
    return decoy;
}

} // namespace

std::string HashPassword(std::string_view password) {
    Init();
    std::array<char, crypto_pwhash_STRBYTES> out{};
    if (crypto_pwhash_str(out.data(), password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        return {};
    return out.data();
}

bool PasswordMatches(std::string_view password, const std::string& stored) {
    Init();
    const bool real = stored.rfind("$argon2id$", 0) == 0 && stored.size() < crypto_pwhash_STRBYTES;
    const std::string& against = real ? stored : Decoy();
    const bool matches = crypto_pwhash_str_verify(against.c_str(), password.data(), password.size()) == 0;
    return real && matches;
}

std::string NewSessionToken() {
    Init();
    std::array<unsigned char, 32> bytes{};
    randombytes_buf(bytes.data(), bytes.size());
    return Hex(bytes.data(), bytes.size());
}

std::string TokenHash(std::string_view token) {
    Init();
    std::array<unsigned char, 32> hash{};
    crypto_generichash(hash.data(), hash.size(), reinterpret_cast<const unsigned char*>(token.data()), token.size(),
                       nullptr, 0);
    return Hex(hash.data(), hash.size());
}

} // namespace zarv::server
