// Passwords and session tokens as a server keeps them: a password only as a
// slow salted hash (Argon2id), a token only as a fast hash (it is long and
// random, so nothing can be guessed from it).
#pragma once

#include <string>
#include <string_view>

namespace zarv::server {

// The stored form of a password ("$argon2id$..."), or empty when memory for
// hashing could not be had.
std::string HashPassword(std::string_view password);
// Whether the password is the one stored. Takes as long for a stored form
// that is empty or damaged, so that a name without an account is not told
// apart by the time the answer takes.
bool PasswordMatches(std::string_view password, const std::string& stored);

// A new session token: 64 hex digits from the system's random source.
std::string NewSessionToken();
// What is stored of a token: its BLAKE2b hash, in hex.
std::string TokenHash(std::string_view token);

} // namespace zarv::server
