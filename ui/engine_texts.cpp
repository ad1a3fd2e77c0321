#include "ui/engine_texts.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <array>

namespace zarv::ui {

namespace {

// The words of this file, under one translation context.
struct EngineTexts {
    Q_DECLARE_TR_FUNCTIONS(EngineTexts)
};
QString Tr(const char* text) { return EngineTexts::tr(text); }

// Texts that stand alone, exactly as a Dealer or a table server sends them.
constexpr std::array kWholeTexts = {
    QT_TRANSLATE_NOOP("EngineTexts", "All Positions are ingaged, please try later."),
    QT_TRANSLATE_NOOP("EngineTexts", "You play as Partner of Dealer."),
    QT_TRANSLATE_NOOP("EngineTexts", "Partner of Dealer position is ingaged, you must play against of Dealer."),
    QT_TRANSLATE_NOOP("EngineTexts", "You play against of Dealer."),
    QT_TRANSLATE_NOOP("EngineTexts", "Against of Dealer position is ingaged, you'll play as Partner of Dealer."),
    QT_TRANSLATE_NOOP("EngineTexts", "The Dealer has closed the table."),
    QT_TRANSLATE_NOOP("EngineTexts", "The Dealer has no game in progress; join it again."),
    QT_TRANSLATE_NOOP("EngineTexts", "That seat is not yours to take back."),
    QT_TRANSLATE_NOOP("EngineTexts", "The table has closed"),
    QT_TRANSLATE_NOOP("EngineTexts", "The table is closing"),
    // A table server's answers in its lobby.
    QT_TRANSLATE_NOOP("EngineTexts", "You are not watching a table."),
    QT_TRANSLATE_NOOP("EngineTexts",
                      "Passwords travel only over an encrypted connection; connect to the server with TLS to use one."),
    QT_TRANSLATE_NOOP("EngineTexts", "A table needs a name (up to 40 characters, without ; or |) and valid settings."),
    QT_TRANSLATE_NOOP("EngineTexts", "The server has no room for another table now."),
    QT_TRANSLATE_NOOP("EngineTexts", "You have made as many tables as one connection may."),
    QT_TRANSLATE_NOOP("EngineTexts", "There is a table of that name already."),
    QT_TRANSLATE_NOOP("EngineTexts", "There is no such table."),
    QT_TRANSLATE_NOOP("EngineTexts", "The table's maker does not allow watching."),
    QT_TRANSLATE_NOOP("EngineTexts", "Wrong password."),
    QT_TRANSLATE_NOOP("EngineTexts", "Choose a table and seat 1, 2 or 4."),
    QT_TRANSLATE_NOOP("EngineTexts", "The table is playing; watch it or choose another."),
    QT_TRANSLATE_NOOP("EngineTexts", "That seat is taken."),
    QT_TRANSLATE_NOOP("EngineTexts", "Choose a table to watch."),
    QT_TRANSLATE_NOOP("EngineTexts", "Only the table's maker may start it."),
    QT_TRANSLATE_NOOP("EngineTexts", "The table is playing already."),
    QT_TRANSLATE_NOOP("EngineTexts", "The server is closing"),
    // What is wrong with an address a person typed.
    QT_TRANSLATE_NOOP("EngineTexts", "name the Dealer's computer"),
    // The sides a Dealer names when a player joins.
    QT_TRANSLATE_NOOP("EngineTexts", "Partner"),
    QT_TRANSLATE_NOOP("EngineTexts", "Against"),
};

// Texts around a player's name (or two): the pattern finds the names, the
// translation puts them back in its own order.
struct NamedText {
    const char* pattern;
    const char* text;
    bool secondIsSide = false;  // the second part is "Partner" or "Against", a word of the protocol
};
const std::array kNamedTexts = {
    NamedText{"^The name (.*) is already at a table of this server; choose another\\.$",
              QT_TRANSLATE_NOOP("EngineTexts", "The name %1 is already at a table of this server; choose another.")},
    NamedText{"^'(.*)' lacks its '\\]'$", QT_TRANSLATE_NOOP("EngineTexts", "'%1' lacks its ']'")},
    NamedText{"^'(.*)' is not \\[address\\]:port$", QT_TRANSLATE_NOOP("EngineTexts", "'%1' is not [address]:port")},
    NamedText{"^'(.*)' lacks the port after ':'$", QT_TRANSLATE_NOOP("EngineTexts", "'%1' lacks the port after ':'")},
    NamedText{"^the port must be a number from 1 to 65535, not '(.*)'$",
              QT_TRANSLATE_NOOP("EngineTexts", "the port must be a number from 1 to 65535, not '%1'")},
    NamedText{"^(.*) joined\\.  \\((.*)\\)$", QT_TRANSLATE_NOOP("EngineTexts", "%1 joined.  (%2)"), true},
};

constexpr qsizetype kLongestKnownText = 1000;

} // namespace

QString FromEngine(const QString& english) {
    // Every text of the table is a sentence around names of a few letters; a
    // longer one (a hostile Dealer's) is shown as it came, without being searched.
    if (english.size() > kLongestKnownText) return english;
    for (const char* whole : kWholeTexts)
        if (english == QLatin1String(whole)) return Tr(whole);
    static const auto patterns = [] {
        std::array<QRegularExpression, kNamedTexts.size()> compiled;
        for (size_t i = 0; i < kNamedTexts.size(); ++i)
            compiled[i] = QRegularExpression(QString::fromLatin1(kNamedTexts[i].pattern),
                                             QRegularExpression::DotMatchesEverythingOption);
        return compiled;
    }();
    for (size_t i = 0; i < kNamedTexts.size(); ++i) {
        const QRegularExpressionMatch m = patterns[i].match(english);
        if (!m.hasMatch()) continue;
        QString text = Tr(kNamedTexts[i].text);
        if (m.lastCapturedIndex() == 1) return text.arg(m.captured(1));
        const QString second = kNamedTexts[i].secondIsSide ? FromEngine(m.captured(2)) : m.captured(2);
        // One pass over both names, so a name that itself holds "%2" stays as typed.
        return text.arg(m.captured(1), second);
    }
    return english;
}

QString FromEngine(const std::string& english) { return FromEngine(QString::fromStdString(english)); }

} // namespace zarv::ui
