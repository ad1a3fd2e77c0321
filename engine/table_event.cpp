#include "engine/table_event.h"

namespace zarv {

std::string EnglishText(const TableEvent& e) {
    using Kind = TableEvent::Kind;
    switch (e.kind) {
    case Kind::HakemNamed: return e.name + " is \"HAKEM\"... ";
    case Kind::NameYourTrump: return "You are \"HAKEM\", now choose \"ZARV\"... ";
    case Kind::ChoosingTrump: return "I'm choosing \"ZARV\"... ";
    case Kind::HandWon: {
        const std::string winners = e.name + " and " + e.partner + " are Winner.";
        if (e.points == 2) return "Koot!\r\n" + winners;
        if (e.points == 3) return (e.byFirstSide ? "PerKoot!!\r\n" : "PerKoot!\r\n") + winners;
        return winners;
    }
    case Kind::PlayerBack: return e.name + " is back.";
    case Kind::SeatReplaced: return e.name + " disconnected, A Computer Player Replaced by him/her.";
    case Kind::PlayerLeftGameOver: return e.name + " disconnected, Game is over.";
    case Kind::Reconnecting: return "Reconnecting to the Dealer...";
    case Kind::Disconnected: return " You are disconnected, game is over.";
    case Kind::TableNotFollowed: return "The Dealer's table could not be followed; the game is over.";
    case Kind::DealerUnfollowable: return "The Dealer sent a message this game cannot follow; the game is over.";
    case Kind::Words: return e.words;
    }
    return e.words;
}

} // namespace zarv
