// How often one address, and one name, may try a password: a few times a
// minute, so that nobody guesses a password by trying, and nobody keeps the
// server's cores busy hashing. The answer past the bound is the same
// whether the name has an account or not. Plain C++, on the socket thread.
#pragma once

#include <deque>
#include <map>
#include <string>

namespace zarv::server {

class SignInLimits {
public:
    static constexpr int kAttempts = 5;
    static constexpr double kWindow = 60;  // seconds

    // Whether one more attempt from the address for the name (its folded
    // key) is allowed now; an allowed attempt counts.
    bool Allow(const std::string& address, const std::string& nameKey, double now);
    size_t remembered() const { return byAddress_.size() + byName_.size(); }

private:
    using Times = std::deque<double>;
    static bool Full(Times& times, double now);
    // Forgets whoever has no attempt within the window, now and then.
    void Sweep(double now);

    std::map<std::string, Times> byAddress_, byName_;
    double sweptAt_ = 0;
};

} // namespace zarv::server
