#include "net/framing.h"

namespace zarv::net {

Piece SplitPiece(std::string_view piece) {
    Piece p;
    const size_t semi = piece.find(';');
    if (semi == std::string_view::npos) return p;
    p.wellFormed = true;
    p.command = std::string(piece.substr(0, semi));
    p.detail = std::string(piece.substr(semi + 1));
    return p;
}

std::vector<Piece> Framer::Feed(std::string_view bytes) {
    std::vector<Piece> pieces;
    if (overflowed_) return pieces;
    if (!started_ && !bytes.empty()) {
        started_ = true;
        // Every message of the protocol begins with a command word; 0x16 is
        // the first byte of a TLS handshake.
        if (bytes.front() == '\x16') {
            tlsGreeting_ = overflowed_ = true;
            return pieces;
        }
    }
    while (!bytes.empty()) {
        const size_t end = bytes.find('|');
        const std::string_view part = bytes.substr(0, end);
        if (pending_.size() + part.size() > kMaxPending) {
            // Never held in memory: the sender is not speaking this protocol.
            overflowed_ = true;
            pending_.clear();
            pending_.shrink_to_fit();
            break;
        }
        pending_.append(part);
        if (end == std::string_view::npos) break;
        pieces.push_back(SplitPiece(pending_));
        pending_.clear();
        bytes.remove_prefix(end + 1);
    }
    return pieces;
}

} // namespace zarv::net
