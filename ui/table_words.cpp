#include "ui/table_words.h"

#include <QCoreApplication>

#include "ui/notice_words.h"

namespace zarv::ui {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(TableWords)
};

QString Name(const std::string& name) { return QString::fromStdString(name); }

QString HandWonWords(const TableEvent& e) {
    // One pass over both names, so a name that itself holds "%2" stays as typed.
    const QString name = Name(e.name), partner = Name(e.partner);
    if (e.points == 2) return Words::tr("Koot!\r\n%1 and %2 win.").arg(name, partner);
    if (e.points == 3)
        return (e.byFirstSide ? Words::tr("PerKoot!!\r\n%1 and %2 win.") : Words::tr("PerKoot!\r\n%1 and %2 win."))
            .arg(name, partner);
    return Words::tr("%1 and %2 win the hand.").arg(name, partner);
}

} // namespace

QString TableWords(const TableEvent& e) {
    using Kind = TableEvent::Kind;
    switch (e.kind) {
    case Kind::HakemNamed: return Words::tr("%1 is \"HAKEM\"... ").arg(Name(e.name));
    case Kind::NameYourTrump: return Words::tr("You are \"HAKEM\", now choose \"ZARV\"... ");
    case Kind::ChoosingTrump: return Words::tr("I'm choosing \"ZARV\"... ");
    case Kind::HandWon: return HandWonWords(e);
    case Kind::PlayerBack: return Words::tr("%1 is back.").arg(Name(e.name));
    case Kind::SeatReplaced: return Words::tr("%1 left; a computer player takes the seat.").arg(Name(e.name));
    case Kind::PlayerLeftGameOver: return Words::tr("%1 left; the game is over.").arg(Name(e.name));
    case Kind::Reconnecting: return Words::tr("Reconnecting to the Dealer...");
    case Kind::Disconnected: return Words::tr("You are disconnected; the game is over.");
    case Kind::TableNotFollowed: return Words::tr("The Dealer's table could not be followed; the game is over.");
    case Kind::DealerUnfollowable: return Words::tr("The Dealer sent a message this game cannot follow; the game is over.");
    case Kind::Words: return FromWire(e.words);
    }
    return FromWire(e.words);
}

} // namespace zarv::ui
