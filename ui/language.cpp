#include "ui/language.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

namespace zarv::ui {

namespace {

LanguageChoice current = LanguageChoice::English;
// The locale the program started with, given back when English returns.
std::optional<QLocale> systemLocale;

QTranslator& OurTranslator() {
    static QTranslator* translator = new QTranslator(qApp);
    return *translator;
}

QTranslator& QtTranslator() {
    static QTranslator* translator = new QTranslator(qApp);
    return *translator;
}

// The game's own words, for whoever translates: every text of a translation
// uses them the same way. They are never shown as they stand here; the
// context sorts first, so the glossary heads the translation file.
[[maybe_unused]] constexpr const char* kGlossary[] = {
    //: The game's name and its trump are the same word: Farsi «زرو». No other word for either.
    QT_TRANSLATE_NOOP("A_Glossary", "Zarv, ZARV: the game, and the trump suit"),
    //: The player who names the trump: Farsi «حاکم».
    QT_TRANSLATE_NOOP("A_Glossary", "HAKEM: the master of a hand"),
    //: Farsi: ♠ پیک, ♥ دل, ♦ خشت, ♣ گشنیز; a suit is «خال».
    QT_TRANSLATE_NOOP("A_Glossary", "Suits: spades, hearts, diamonds, clubs"),
    //: Farsi: a trick is «دست», a hand (thirteen tricks) is «دور», a game is «بازی», a point is «امتیاز».
    QT_TRANSLATE_NOOP("A_Glossary", "Trick, hand, game, point"),
    //: Farsi: «کوت» and «پرکوت», as players say them.
    QT_TRANSLATE_NOOP("A_Glossary", "Koot, PerKoot: a hand won seven to nothing"),
    //: Farsi: the Dealer (the machine the others join) is «میزبان»; its partner «یار», its opponents «حریف».
    QT_TRANSLATE_NOOP("A_Glossary", "Dealer, Partner, Against"),
    //: Farsi: a deal of the cards is «پخش»; a seat «صندلی»; a table «میز»; the computer «رایانه».
    QT_TRANSLATE_NOOP("A_Glossary", "Deal, seat, table, computer"),
};

QLocale FarsiLocale() {
    QLocale farsi(QLocale::Persian, QLocale::Iran);
    // A port or a year is one word: no thousands separator inside it.
    farsi.setNumberOptions(QLocale::OmitGroupSeparator);
    return farsi;
}

} // namespace

LanguageChoice StartLanguage(const std::optional<LanguageChoice>& stored, const QLocale& system) {
    if (stored) return *stored;
    return system.language() == QLocale::Persian ? LanguageChoice::Farsi : LanguageChoice::English;
}

QLocale EnglishLocale(const QLocale& system) {
    // The system's own ways (dates, separators), unless its digits are not
    // the Latin ones an English window shows (a Persian or Arabic system).
    if (system.zeroDigit() == QLatin1String("0")) return system;
    return QLocale(QLocale::English, system.territory());
}

bool UseLanguage(LanguageChoice language) {
    if (!systemLocale) systemLocale = QLocale();
    QCoreApplication::removeTranslator(&OurTranslator());
    QCoreApplication::removeTranslator(&QtTranslator());
    bool loaded = true;
    if (language == LanguageChoice::Farsi) {
        loaded = OurTranslator().load(QStringLiteral(":/i18n/zarv_fa.qm"));
        if (loaded) {
            // Qt's own words (standard buttons, the colour and file dialogs);
            // without them the program's own Farsi still stands.
            if (QtTranslator().load(QStringLiteral("qt_fa"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                QCoreApplication::installTranslator(&QtTranslator());
            QCoreApplication::installTranslator(&OurTranslator());
        }
    }
    current = loaded ? language : LanguageChoice::English;
    QLocale::setDefault(current == LanguageChoice::Farsi ? FarsiLocale() : EnglishLocale(*systemLocale));
    QGuiApplication::setLayoutDirection(current == LanguageChoice::Farsi ? Qt::RightToLeft : Qt::LeftToRight);
    // Windows already open keep the locale they were made with; their number
    // fields (a spin box's digits) follow the new one.
    for (QWidget* w : QApplication::topLevelWidgets()) w->setLocale(QLocale());
    return loaded;
}

LanguageChoice CurrentLanguage() { return current; }

QString Number(qlonglong n) {
    return current == LanguageChoice::Farsi ? FarsiLocale().toString(n) : QString::number(n);
}

QString Number(double x, int decimals) {
    return current == LanguageChoice::Farsi ? FarsiLocale().toString(x, 'f', decimals) : QString::number(x, 'f', decimals);
}

QString LocalDigits(QString text) {
    if (current != LanguageChoice::Farsi) return text;
    for (QChar& c : text)
        if (c >= u'0' && c <= u'9') c = QChar(char16_t(0x06F0 + (c.unicode() - u'0')));
    return text;
}

QString LatinDigits(QString typed) {
    for (QChar& c : typed) {
        const char16_t u = c.unicode();
        if (u >= 0x06F0 && u <= 0x06F9) c = QChar(u'0' + (u - 0x06F0));       // Persian
        else if (u >= 0x0660 && u <= 0x0669) c = QChar(u'0' + (u - 0x0660));  // Arabic-Indic
    }
    return typed;
}

QString LeftToRightRun(const QString& run) {
    if (CurrentLanguage() != LanguageChoice::Farsi || run.isEmpty()) return run;
    const QChar mark(0x200E);
    return mark + run + mark;
}

} // namespace zarv::ui
