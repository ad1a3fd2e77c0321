// Cuts the bytes of one connection into messages at each "|". What follows
// the last "|" of a read is kept and completed by the next read, so a message
// that arrives in two pieces is read whole.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zarv::net {

// One received message: the text before its first ";" and the text after it.
struct Piece {
    bool wellFormed = false;  // it had a ";"
    std::string command;
    std::string detail;
};

class Framer {
public:
    // More than this without a "|" is no message of this protocol.
    static constexpr size_t kMaxPending = 64 * 1024;

    // Adds bytes; returns the messages they complete, in order. After an
    // overflow it returns nothing more (the connection is to be closed).
    std::vector<Piece> Feed(std::string_view bytes);
    bool overflowed() const { return overflowed_; }
    // The stream began as a TLS connection begins (a handshake record): the
    // peer wants encryption this port does not speak. Nothing more is read,
    // as after an overflow, so that the peer hears at once by the close.
    bool tlsGreeting() const { return tlsGreeting_; }
    size_t pending() const { return pending_.size(); }

private:
    std::string pending_;
    bool overflowed_ = false;
    bool tlsGreeting_ = false;
    bool started_ = false;
};

Piece SplitPiece(std::string_view piece);

} // namespace zarv::net
