#include "ui/hand_fault_words.h"

#include <QCoreApplication>

#include "ui/card_names.h"

namespace zarv::ui {

namespace {

struct HandFaultWords {
    Q_DECLARE_TR_FUNCTIONS(HandFaultWords)
};

QString Words(const HandFault& f) {
    using Kind = HandFault::Kind;
    const QString subject = QString::fromStdString(f.subject);
    switch (f.kind) {
    case Kind::None: return {};
    case Kind::CannotRead:
        // The system's own reason stays in the system's words.
        return f.reason.empty() ? HandFaultWords::tr("cannot read %1").arg(subject)
                                : HandFaultWords::tr("cannot read %1: %2").arg(subject, QString::fromStdString(f.reason));
    case Kind::IsDirectory: return HandFaultWords::tr("%1 is a directory").arg(subject);
    case Kind::NotAFile: return HandFaultWords::tr("%1 is not a regular file").arg(subject);
    case Kind::TooLarge:
        return subject.isEmpty() ? HandFaultWords::tr("the file is too large to be a saved hand")
                                 : HandFaultWords::tr("%1 is too large to be a saved hand").arg(subject);
    case Kind::NotACard:
        return HandFaultWords::tr("'%1' is not a card code (g, p, h or x followed by 2 to 14)").arg(subject);
    case Kind::CardTwice: return HandFaultWords::tr("card %1 appears twice in the deal").arg(subject);
    case Kind::PlayedTwice: return HandFaultWords::tr("card %1 is played twice").arg(subject);
    case Kind::DealSize:
        return f.count > 52 ? HandFaultWords::tr("a deal needs 52 card codes, not %L1 or more").arg(53)
                            : HandFaultWords::tr("a deal needs 52 card codes, not %L1").arg(f.count);
    case Kind::BadSeat: return HandFaultWords::tr("%1 must be a seat from 1 to 4").arg(subject);
    case Kind::BadTrump: return HandFaultWords::tr("trump must be g, p, h, x or -");
    case Kind::UnknownEntry: return HandFaultWords::tr("unknown entry '%1'").arg(subject);
    case Kind::NoDeal: return HandFaultWords::tr("the file has no deal line");
    case Kind::NoMaster: return HandFaultWords::tr("the file has no master line");
    }
    return {};
}

} // namespace

QString ReviewFaultInWords(const ai::ReviewFault& fault) {
    using Kind = ai::ReviewFault::Kind;
    switch (fault.kind) {
    case Kind::None: return {};
    case Kind::BadSeat: return HandFaultWords::tr("you have no seat in this hand");
    case Kind::NoTrump: return HandFaultWords::tr("no ZARV was named in this hand");
    case Kind::NoPlays: return HandFaultWords::tr("no card of this hand was played");
    case Kind::BadPlay:
        return HandFaultWords::tr("card %L1 of the plays (%2) could not have been played then").arg(fault.play).arg(CardName(fault.card));
    }
    return {};
}

QString HandFaultInWords(const HandFault& fault) {
    const QString words = Words(fault);
    return fault.line > 0 ? HandFaultWords::tr("line %L1: %2").arg(fault.line).arg(words) : words;
}

} // namespace zarv::ui
