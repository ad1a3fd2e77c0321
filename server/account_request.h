// What the lobby asks of the accounts and hears back. Plain C++: the lobby
// and its tests use it without a database.
#pragma once

#include <string>

namespace zarv::server {

enum class AccountOutcome { Ok, NameTaken, WrongSignIn, Expired, Unavailable, Busy };

struct AccountRequest {
    enum class Kind { Register, SignIn, Resume, SignOut, Password, Delete };
    Kind kind = Kind::SignIn;
    int connection = 0;
    std::string name;
    std::string secret;     // the password, or the session's token for Resume and SignOut
    std::string newSecret;  // the new password
};

struct AccountAnswer {
    AccountRequest::Kind kind = AccountRequest::Kind::SignIn;
    int connection = 0;
    AccountOutcome outcome = AccountOutcome::Unavailable;
    std::string name;   // as registered
    std::string token;  // a session's token
};

} // namespace zarv::server
