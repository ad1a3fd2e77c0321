// The window in Farsi: the translation file against the code, the stored
// choice, Persian digits, the engine's words, every dialog read right to
// left, and a switch to Farsi and back that leaves English as it was.
#include <gtest/gtest.h>

#include <map>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <set>

#include "settings/settings.h"
#include "settings/settings_store.h"
#include "ui/about_dialog.h"
#include "ui/card_pictures.h"
#include "ui/hand_fault_words.h"
#include "ui/notice_words.h"
#include "ui/table_words.h"
#include "ui/card_names.h"
#include "ui/language.h"
#include "ui/make_table_dialog.h"
#include "ui/network_dialog.h"
#include "ui/options_dialog.h"
#include "ui/player_name_dialog.h"
#include "ui/scores_dialog.h"
#include "ui/table_window.h"

namespace zarv::testing {
namespace {

// Words a translation might use for the trump besides «زرو» (a "higher
// suit", a "ruling suit"): the game has one word for it.
QStringList OtherWordsForTheTrump() { return {QStringLiteral("برتر"), QStringLiteral("حکم")}; }

using namespace zarv::ui;
using settings::LanguageChoice;

// --- The translation file ---

struct TsMessage {
    QString context, source, translation;
    bool finished = false;
};

std::vector<TsMessage> ReadTs(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    std::vector<TsMessage> messages;
    QXmlStreamReader xml(&file);
    QString context;
    while (xml.readNext() != QXmlStreamReader::EndDocument && !xml.hasError()) {
        if (!xml.isStartElement()) continue;
        if (xml.name() == QStringLiteral("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QStringLiteral("message")) {
            TsMessage m{context, {}, {}, false};
            while (xml.readNextStartElement()) {
                if (xml.name() == QStringLiteral("source")) {
                    m.source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                } else if (xml.name() == QStringLiteral("translation")) {
                    m.finished = xml.attributes().value(QStringLiteral("type")).isEmpty();
                    m.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                } else {
                    xml.skipCurrentElement();
                }
            }
            messages.push_back(m);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

// Where a right-to-left line would show a run in the wrong order: a number
// after a name, a placeholder or a Latin word across nothing but spaces and
// signs (it would join their left-to-right run), with no directional mark
// between. Runs already held between two left-to-right marks are kept as they
// are, as are the protocols' names that carry their own digits.
QString BidiFault(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\x{200E}[^\\x{200E}]*\\x{200E}")));
    text.remove(QStringLiteral("IPv6")).remove(QStringLiteral("SHA-256"));
    // Between them only what takes its direction from around it: spaces,
    // signs, and the Persian comma too.
    static const QRegularExpression runThenNumber(QStringLiteral(
        "(%\\d[^\\p{L}\\p{N}\\x{200E}\\x{200F}%]*|[A-Za-z][^\\p{L}\\p{N}\\x{200E}\\x{200F}%]+)(%L\\d|\\p{N})"));
    const auto m = runThenNumber.match(text);
    return m.hasMatch() ? text.mid(std::max<qsizetype>(0, m.capturedStart() - 10), m.capturedLength() + 20) : QString();
}

// The %1.. a text carries, with %L1 counted as %1.
QStringList Placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%L?(\\d)"));
    QStringList found;
    for (const auto& m : placeholder.globalMatch(text)) found << m.captured(1);
    found.sort();
    return found;
}

TEST(Translation, TheFileFollowsTheCodeAndEveryTextHasItsFarsi) {
    // What lupdate makes of the code now must be what is checked in.
    QTemporaryDir dir;
    const QString checkedIn = QStringLiteral(ZARV_TS_FILE);
    const QString fresh = dir.filePath(QStringLiteral("fresh.ts"));
    ASSERT_TRUE(QFile::copy(checkedIn, fresh));
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(ZARV_LUPDATE),
                  {QStringLiteral("-locations"), QStringLiteral("none"), QStringLiteral("-no-obsolete"), QStringLiteral("-I"),
                   QStringLiteral(ZARV_SOURCE_DIR), QStringLiteral(ZARV_SOURCE_DIR "/ui"), QStringLiteral(ZARV_SOURCE_DIR "/app"),
                   QStringLiteral(ZARV_SOURCE_DIR "/net/qt"),
                   QStringLiteral("-ts"), fresh});
    ASSERT_TRUE(lupdate.waitForFinished(120'000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAll().toStdString();
    const auto current = ReadTs(fresh);
    const auto kept = ReadTs(checkedIn);
    std::set<std::pair<QString, QString>> keptTexts;
    for (const TsMessage& m : kept) keptTexts.insert({m.context, m.source});
    for (const TsMessage& m : current)
        EXPECT_TRUE(keptTexts.count({m.context, m.source}))
            << "not in the translation file (build zarv_lupdate): " << m.context.toStdString() << ": "
            << m.source.toStdString();
    EXPECT_EQ(current.size(), kept.size()) << "the translation file holds texts the code no longer has";

    ASSERT_GT(kept.size(), 300u);
    for (const TsMessage& m : kept) {
        const std::string where = m.context.toStdString() + ": " + m.source.toStdString();
        EXPECT_TRUE(m.finished && !m.translation.isEmpty()) << "no finished Farsi for " << where;
        EXPECT_EQ(Placeholders(m.translation), Placeholders(m.source)) << where << " -> " << m.translation.toStdString();
        // The game's words keep their sound.
        if (m.source.contains(QStringLiteral("ZARV")) || m.source.contains(QStringLiteral("Zarv"))) {
            EXPECT_TRUE(m.translation.contains(QStringLiteral("زرو"))) << where;
        }
        if (m.source.contains(QStringLiteral("HAKEM"))) {
            EXPECT_TRUE(m.translation.contains(QStringLiteral("حاکم"))) << where;
        }
        // A number that opens the line, or that follows a name (which may be
        // Latin) across nothing but spaces and signs, is kept in place by a
        // right-to-left mark; else the line reads in the wrong order.
        static const QRegularExpression openingNumber(QStringLiteral("^[0-9\\x{06F0}-\\x{06F9}]"));
        EXPECT_FALSE(m.translation.contains(openingNumber)) << "no right-to-left mark before the number of " << where;
        EXPECT_EQ(BidiFault(m.translation), QString()) << "no directional mark between name and number in " << where;
        // A shortcut's underline draws its letter apart from the word: Persian
        // words in menus and buttons stay joined, without one.
        EXPECT_FALSE(m.translation.contains(QRegularExpression(QStringLiteral("&[\\x{0600}-\\x{06FF}\\x{200C}\\x{200F}]"))))
            << where << " -> " << m.translation.toStdString();
        // One written form of each: «به‌عنوان» joined, and «هٔ» for the ezafe.
        EXPECT_FALSE(m.translation.contains(QStringLiteral("به عنوان"))) << where;
        EXPECT_FALSE(m.translation.contains(QRegularExpression(QStringLiteral("\\x{0647}\\x{200C}\\x{06CC}(?=[\\s\\x{060C}.:)\\x{00BB}]|$)")))) << where;
        // The trump has one word: no other is used for it.
        for (const QString& other : OtherWordsForTheTrump())
            EXPECT_FALSE(m.translation.contains(other)) << where << " calls the trump " << other.toStdString();
        // A line that opens with a name or a number (which may be Latin) is
        // marked right to left, or the whole line would read left to right.
        const qsizetype firstLetter = m.translation.indexOf(QRegularExpression(QStringLiteral("[\\x{0600}-\\x{06FF}]")));
        const qsizetype firstPlaceholder = m.translation.indexOf(QRegularExpression(QStringLiteral("%L?\\d")));
        if (firstPlaceholder >= 0 && (firstLetter < 0 || firstPlaceholder < firstLetter)) {
            EXPECT_TRUE(m.translation.startsWith(QChar(0x200F))) << "no right-to-left mark before " << where;
        }
        // Numbers are Persian: written so, or put in as %L1.
        QString words = m.translation;
        words.remove(QRegularExpression(QStringLiteral("%L?\\d")));
        words.remove(QRegularExpression(QStringLiteral("\\bF\\d\\b")));
        // The names of the protocols keep their own digits.
        words.remove(QStringLiteral("IPv6")).remove(QStringLiteral("SHA-256"));
        EXPECT_FALSE(words.contains(QRegularExpression(QStringLiteral("[0-9]")))) << "Latin digits in " << where;
    }
}

// --- Choosing, digits and the engine's words ---

struct InFarsi : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(UseLanguage(LanguageChoice::Farsi)); }
    void TearDown() override { UseLanguage(LanguageChoice::English); }
};

TEST(Language, TheStoredChoiceOrTheSystemsLanguage) {
    QTemporaryDir dir;
    settings::SettingsStore store(dir.filePath(QStringLiteral("zarv.ini")));
    const QString key = QString::fromLatin1(settings::kSettingsKey);
    // Nothing stored: the system decides.
    EXPECT_FALSE(settings::ReadSettings(store).Language.has_value());
    EXPECT_EQ(StartLanguage(std::nullopt, QLocale(QStringLiteral("fa_IR"))), LanguageChoice::Farsi);
    EXPECT_EQ(StartLanguage(std::nullopt, QLocale(QStringLiteral("de_DE"))), LanguageChoice::English);
    // Options saved by a version without the choice: English, whatever the system.
    store.WriteDword(key, QStringLiteral("Sheme"), 0);
    EXPECT_EQ(settings::ReadSettings(store).Language, LanguageChoice::English);
    EXPECT_EQ(StartLanguage(settings::ReadSettings(store).Language, QLocale(QStringLiteral("fa_IR"))), LanguageChoice::English);
    settings::Settings s = settings::ReadSettings(store);
    s.Language = LanguageChoice::Farsi;
    settings::SaveSettings(store, s);
    EXPECT_EQ(*store.ReadDword(key, QStringLiteral("Language")), 1u);
    EXPECT_EQ(settings::ReadSettings(store).Language, LanguageChoice::Farsi);
    // A value no version wrote is no choice: English.
    store.WriteDword(key, QStringLiteral("Language"), 7);
    EXPECT_EQ(settings::ReadSettings(store).Language, LanguageChoice::English);
}

TEST_F(InFarsi, NumbersAreWrittenInPersianAndReadInEither) {
    EXPECT_EQ(Number(1001), QStringLiteral("۱۰۰۱"));  // no thousands separator inside a port
    EXPECT_EQ(Number(0.25, 2), QStringLiteral("۰٫۲۵"));
    EXPECT_EQ(LocalDigits(QStringLiteral("1.2.0")), QStringLiteral("۱.۲.۰"));
    EXPECT_EQ(LatinDigits(QStringLiteral("۱۲۷.۰.۰.۱:۱۰۰۱")), QStringLiteral("127.0.0.1:1001"));
    EXPECT_EQ(LatinDigits(QStringLiteral("١٠")), QStringLiteral("10"));  // Arabic-Indic too
    EXPECT_EQ(QObject::tr("%L1").arg(42), QStringLiteral("۴۲"));
    UseLanguage(LanguageChoice::English);
    EXPECT_EQ(Number(1001), QStringLiteral("1001"));
    EXPECT_EQ(LocalDigits(QStringLiteral("1.2.0")), QStringLiteral("1.2.0"));
}

// (A text that opens with a name starts with a right-to-left mark, so that a
// Latin name does not turn the line left to right.)
// Every event the table announces, with names and points of every kind.
std::vector<TableEvent> EveryTableEvent() {
    std::vector<TableEvent> events;
    for (int k = 0; k < TableEvent::kKinds; ++k) {
        const auto kind = static_cast<TableEvent::Kind>(k);
        if (kind == TableEvent::Kind::Words) continue;
        for (int points = 1; points <= (kind == TableEvent::Kind::HandWon ? 3 : 1); ++points)
            for (bool firstSide : {true, false}) {
                TableEvent e = TableEvent::About(kind, 2, "Ann");
                e.partner = "Bob";
                e.points = points;
                e.byFirstSide = firstSide;
                events.push_back(e);
            }
    }
    return events;
}

// A card's rank and sign, and a path, keep their order inside a Farsi line.
TEST_F(InFarsi, LeftToRightRunsAreMarkedOnlyInFarsi) {
    const QString ace = CardName(CardCode{'p', 14});
    EXPECT_EQ(ace, QStringLiteral("\u200EA\u2660\u200E"));
    EXPECT_EQ(CardName(CardCode{'h', 10}), QStringLiteral("\u200E\u06F1\u06F0\u2665\u200E"));
    UseLanguage(LanguageChoice::English);
    EXPECT_EQ(CardName(CardCode{'p', 14}), QStringLiteral("A\u2660"));
    EXPECT_EQ(LeftToRightRun(QStringLiteral("/home/a")), QStringLiteral("/home/a"));
}

TEST_F(InFarsi, TheTablesEventsAndTheDealersWordsAreShownInFarsiWithTheirNames) {
    EXPECT_EQ(TableWords(TableEvent::About(TableEvent::Kind::HakemNamed, 1, "مریم")), QStringLiteral("\u200fمریم «حاکم» است... "));
    // A name may hold " and ": the event keeps the two names apart.
    TableEvent won = TableEvent::About(TableEvent::Kind::HandWon, 1, "Ann and Bob");
    won.partner = "Cy";
    won.points = 3;
    won.byFirstSide = true;
    EXPECT_EQ(TableWords(won), QStringLiteral("پرکوت!!\r\nAnn and Bob و Cy بردند."));
    // Every event is in Farsi: no Latin letter but the names'.
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    for (const TableEvent& e : EveryTableEvent()) {
        QString words = TableWords(e);
        words.remove(QStringLiteral("Ann")).remove(QStringLiteral("Bob"));
        EXPECT_FALSE(words.contains(latin)) << EnglishText(e) << " -> " << TableWords(e).toStdString();
    }
    // A Dealer's and a table server's words: by their codes, or recognised
    // when they come as words alone.
    EXPECT_EQ(JoinedInWords(QStringLiteral("Ali%2"), "Partner"), QStringLiteral("\u200fAli%2 پیوست.  (یار)"));
    EXPECT_EQ(FromWire("All Positions are ingaged, please try later."),
              QStringLiteral("همهٔ جاها پر است، لطفاً بعداً امتحان کنید."));
    EXPECT_EQ(NoticeInWords(net::MakeNotice(net::Notice::PortNotANumber, "x")),
              QStringLiteral("درگاه باید عددی از ۱ تا ۶۵۵۳۵ باشد، نه «x»"));
    EXPECT_EQ(NoticeInWords(net::ParseNoticeDetail("12;The name مریم is already at a table of this server; choose another.")),
              NoticeInWords(net::RecognizeNotice("The name مریم is already at a table of this server; choose another.")));
    // Every notice a Dealer, a table server or the network layer can give is
    // in Farsi: no Latin letter but its name's.
    for (int code = 1; code <= net::kLastNotice; ++code) {
        const QString words = NoticeInWords(net::MakeNotice(static_cast<net::Notice>(code), "Ann"));
        EXPECT_FALSE(QString(words).remove(QStringLiteral("Ann")).contains(latin))
            << net::NoticeWords(static_cast<net::Notice>(code), "Ann") << " -> " << words.toStdString();
    }
    // What is wrong with a saved hand: every fault in Farsi, in English as the tools say it.
    std::vector<HandFault> faults;
    for (int kind = 1; kind <= static_cast<int>(HandFault::Kind::NoMaster); ++kind)
        for (const int line : {0, 7})
            faults.push_back(HandFault{static_cast<HandFault::Kind>(kind), "/tmp/x.zarv", kind % 2 ? "No such file" : "", 51 + kind % 3, line});
    static const QRegularExpression farsi(QStringLiteral("[\\x{0600}-\\x{06FF}]"));
    for (const HandFault& f : faults) EXPECT_TRUE(HandFaultInWords(f).contains(farsi)) << EnglishText(f);
    // A text no program of ours sends is shown as it came, a hostile one too.
    EXPECT_EQ(FromWire("Something new"), QStringLiteral("Something new"));
    EXPECT_EQ(TableWords(TableEvent::AsWords("Something new")), QStringLiteral("Something new"));
    std::string hostile;
    for (int i = 0; i < 20'000; ++i) hostile += "The name ";
    EXPECT_EQ(FromWire(hostile + "x is already at a table of this server; choose another."),
              QString::fromStdString(hostile + "x is already at a table of this server; choose another."));
    // In English the window says what the table says, in correct English
    // where the protocol's words are not (the wire keeps them as they are).
    UseLanguage(LanguageChoice::English);
    const std::map<TableEvent::Kind, std::string> corrected{
        {TableEvent::Kind::HandWon, " win"},
        {TableEvent::Kind::SeatReplaced, " left; a computer player takes the seat."},
        {TableEvent::Kind::PlayerLeftGameOver, " left; the game is over."},
        {TableEvent::Kind::Disconnected, "You are disconnected; the game is over."},
    };
    static const QRegularExpression wrong(QStringLiteral("Winner|him/her|ingaged|against of|of Dealer|Game is over"));
    for (const TableEvent& e : EveryTableEvent()) {
        const std::string words = TableWords(e).toStdString();
        EXPECT_FALSE(QString::fromStdString(words).contains(wrong)) << words;
        if (const auto it = corrected.find(e.kind); it != corrected.end()) {
            EXPECT_NE(words.find(it->second), std::string::npos) << words;
        } else {
            EXPECT_EQ(words, EnglishText(e));
        }
    }
    EXPECT_EQ(JoinedInWords(QStringLiteral("Bob"), "Against"), QStringLiteral("Bob joined.  (Against)"));
    for (int code = 1; code <= net::kLastNotice; ++code) {
        const auto notice = net::MakeNotice(static_cast<net::Notice>(code), "Ann");
        const QString words = NoticeInWords(notice);
        EXPECT_FALSE(words.contains(wrong)) << words.toStdString();
        // The Dealer's answers to joining are the protocol's own words; the rest are ours, said as they travel.
        if (code > static_cast<int>(net::Notice::AgainstTakenPlayPartner)) {
            EXPECT_EQ(words.toStdString(), notice.words);
        }
    }
    EXPECT_EQ(NoticeInWords(net::Notice::TableFull), QStringLiteral("Every seat is taken; please try again later."));
    for (const HandFault& f : faults) EXPECT_EQ(HandFaultInWords(f).toStdString(), EnglishText(f));
}

// --- What a person sees ---

// Every text a widget and its children show: titles, captions, list entries,
// headers, placeholders and tooltips, and the menus' items.
QStringList ShownTexts(QWidget* root) {
    QStringList texts{root->windowTitle()};
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        texts << w->toolTip();
        if (auto* l = qobject_cast<QLabel*>(w)) texts << l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) texts << b->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) texts << g->title();
        if (auto* e = qobject_cast<QLineEdit*>(w)) texts << e->placeholderText();
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) texts << c->itemText(i);
        if (auto* t = qobject_cast<QTableWidget*>(w))
            for (int i = 0; i < t->columnCount(); ++i) texts << (t->horizontalHeaderItem(i) ? t->horizontalHeaderItem(i)->text() : QString());
        if (auto* t = qobject_cast<QTreeWidget*>(w))
            for (int i = 0; i < t->columnCount(); ++i) texts << t->headerItem()->text(i);
        // The menus as the bar offers them (not its own overflow menu, which
        // repeats what does not fit).
        if (auto* bar = qobject_cast<QMenuBar*>(w)) {
            for (QAction* a : bar->actions()) {
                texts << a->text();
                if (a->menu())
                    for (QAction* item : a->menu()->actions()) texts << item->text() << item->toolTip();
            }
        }
    }
    texts.removeAll(QString());
    return texts;
}

QStringList Sorted(QStringList texts) {
    texts.sort();
    return texts;
}

// Latin letters or digits where Farsi should stand, leaving out what stays
// as it is in every language: the keys' names, the names of the languages
// and of the protocols, the players' names and what a person typed.
QStringList NotFarsi(const QStringList& texts, const QStringList& names) {
    static const QRegularExpression keys(QStringLiteral("\\b(F\\d{1,2}|Enter|English|IPv6|SHA-256|TLS)\\b"));
    QStringList wrong;
    for (const QString& text : texts) {
        QString t = text;
        t.remove(QLatin1Char('&'));
        t.remove(QRegularExpression(QStringLiteral("<[^>]*>")));  // rich text's markup
        t.remove(keys);
        for (const QString& name : names) t.remove(name);
        if (t.contains(QRegularExpression(QStringLiteral("[A-Za-z0-9]")))) wrong << text;
    }
    return wrong;
}

struct FarsiWindow : InFarsi {
    QTemporaryDir dir;
    std::unique_ptr<settings::SettingsStore> store;
    std::unique_ptr<TableWindow> window;
    const QStringList computerNames{QStringLiteral("Tib"), QStringLiteral("Vrel"), QStringLiteral("Dastrel")};

    void SetUp() override {
        InFarsi::SetUp();
        store = std::make_unique<settings::SettingsStore>(dir.filePath(QStringLiteral("zarv.ini")));
        window = std::make_unique<TableWindow>(*store);
        window->preferences().unsaved().PlayerName = "مریم";
        window->game().positionForTests().PlayerName = "مریم";
    }
    void TearDown() override {
        window.reset();
        InFarsi::TearDown();
    }
    void ExpectFarsi(QWidget* w, const char* what) {
        EXPECT_EQ(w->layoutDirection(), Qt::RightToLeft) << what;
        const QStringList wrong = NotFarsi(ShownTexts(w), computerNames);
        EXPECT_TRUE(wrong.isEmpty()) << what << " shows: " << wrong.join(QStringLiteral(" | ")).toStdString();
    }
};

TEST_F(FarsiWindow, EveryDialogMenuAndTheStatusAreFarsiRightToLeft) {
    window->show();
    ExpectFarsi(window.get(), "the main window");
    {
        OptionsDialog options(*window, window.get());
        ExpectFarsi(&options, "Options");
        EXPECT_TRUE(options.farsiChoice->isChecked());
        // A number typed in either digit set is read.
        for (const QString& typed : {QStringLiteral("۹۰"), QStringLiteral("75")}) {
            options.moveLimit->selectAll();
            for (QChar c : typed) {  // as a keyboard of either layout sends it
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QCoreApplication::sendEvent(options.moveLimit, &press);
            }
            options.moveLimit->interpretText();
            EXPECT_EQ(options.moveLimit->value(), LatinDigits(typed).toInt()) << typed.toStdString();
        }
    }
    {
        PlayerNameDialog name(window->preferences(), window.get());
        ExpectFarsi(&name, "Player Name");
    }
    {
        ScoresDialog scores(*store, window.get());
        ExpectFarsi(&scores, "Scores");
    }
    {
        QCoreApplication::setApplicationVersion(QStringLiteral("1.2.0"));
        AboutDialog about(window.get(), QString());
        ExpectFarsi(&about, "About");
        EXPECT_TRUE(about.versionLabel->text().contains(QStringLiteral("۱")));
    }
    {
        NetworkDialog network(window->network(), window.get());
        ExpectFarsi(&network, "Network");
    }
    {
        MakeTableDialog make(false, QStringLiteral("میز مریم"), window.get());
        ExpectFarsi(&make, "Make Table");
    }
    // The help page is the Farsi one, and it reads right to left.
    EXPECT_TRUE(HelpViewer::Page().endsWith(QStringLiteral("/Help/Help_fa.htm")));
    QFile help(QStringLiteral(ZARV_APP_DIR "/Help/Help_fa.htm"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(help.readAll());
    EXPECT_TRUE(page.contains(QStringLiteral("dir=\"rtl\"")));
    for (const QString& other : OtherWordsForTheTrump())
        EXPECT_FALSE(page.contains(other)) << "the help calls the trump " << other.toStdString();
    EXPECT_FALSE(page.contains(QStringLiteral("به عنوان")));
    // Every left-to-right run (a name, an address, a key) stays in its order
    // inside the right-to-left lines; the file format's example is a block of its own.
    QString shown = page;
    shown.remove(QRegularExpression(QStringLiteral("<pre.*?</pre>"), QRegularExpression::DotMatchesEverythingOption));
    for (const QString& line : QTextDocumentFragment::fromHtml(shown).toPlainText().split(QLatin1Char('\n')))
        EXPECT_EQ(BidiFault(line), QString()) << "in the help: " << line.toStdString();
    EXPECT_FALSE(page.contains(QRegularExpression(QStringLiteral("\\x{0647}\\x{200C}\\x{06CC}(?=[\\s\\x{060C}.:)\\x{00BB}<])"))));
    // A game under way: the status counts in Persian digits.
    auto& s = window->preferences().unsaved();
    s.Talk = false;
    s.Speed = 5;
    window->LoadSettings();
    bool checked = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!window->game().positionForTests().GameStarted || window->game().positionForTests().Animating) return;
        probe.stop();
        const QStringList status = ShownTexts(window->statusBar());
        EXPECT_TRUE(status.join(QString()).contains(QStringLiteral("۰"))) << status.join(QStringLiteral(" | ")).toStdString();
        ExpectFarsi(window.get(), "the main window in a game");
        checked = true;
        window->game().Stop();
    });
    probe.start(1);
    QTimer::singleShot(60'000, window.get(), [&] { window->game().Stop(); });  // whatever happens
    window->game().StartClick();
    EXPECT_TRUE(checked);
}

// The language chosen in the Options dialog that the Game menu opened: the
// menu is still on the stack while everything turns, and must survive it.
TEST_F(FarsiWindow, ChoosingEnglishFromTheGameMenusOptionsTurnsTheMenusInPlace) {
    window->show();
    QAction* options = window->action(MenuItem::Options);
    QMenu* gameMenu = nullptr;
    for (QObject* o : options->associatedObjects())
        if (auto* m = qobject_cast<QMenu*>(o)) gameMenu = m;
    ASSERT_NE(gameMenu, nullptr);
    bool applied = false, closed = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<OptionsDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        if (!applied) {
            dialog->englishChoice->click();
            QTest::mouseClick(dialog->applyButton, Qt::LeftButton);
            applied = true;
        } else if (dialog->okButton->text() == QStringLiteral("&OK")) {  // rebuilt in English
            dialog->okButton->click();
            closed = true;
            driver.stop();
        }
    });
    driver.start(5);
    QTimer::singleShot(30'000, &driver, [&] {  // whatever happens
        if (auto* dialog = QApplication::activeModalWidget()) dialog->close();
    });
    gameMenu->popup(QPoint(0, 0));
    gameMenu->setActiveAction(options);
    QTest::keyClick(gameMenu, Qt::Key_Return);
    EXPECT_TRUE(closed);
    EXPECT_EQ(CurrentLanguage(), LanguageChoice::English);
    // The same menu and actions, in English now.
    EXPECT_EQ(options->text(), QStringLiteral("&Options..."));
    EXPECT_EQ(gameMenu->title(), QStringLiteral("&Game"));
    EXPECT_EQ(window->menuBar()->actions().size(), 3);
}

TEST_F(FarsiWindow, SwitchingToEnglishAndBackChangesEverythingAndEnglishIsAsBefore) {
    UseLanguage(LanguageChoice::English);
    window = std::make_unique<TableWindow>(*store);
    window->show();
    OptionsDialog options(*window, window.get());
    options.show();
    const QStringList englishWindow = ShownTexts(window.get());
    const QStringList englishOptions = ShownTexts(&options);
    ASSERT_TRUE(englishWindow.contains(QStringLiteral("&Game")));
    ASSERT_TRUE(englishOptions.contains(QStringLiteral("Animation Speed")));

    // Farsi through the dialog, as a person does it: every text turns, this dialog's too.
    options.farsiChoice->click();
    QTest::mouseClick(options.applyButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return options.okButton->text() != QStringLiteral("&OK"); }, 30000));
    EXPECT_EQ(CurrentLanguage(), LanguageChoice::Farsi);
    EXPECT_EQ(*store->ReadDword(QString::fromLatin1(settings::kSettingsKey), QStringLiteral("Language")), 1u);
    ExpectFarsi(window.get(), "the main window after the switch");
    ExpectFarsi(&options, "Options after the switch");
    EXPECT_TRUE(options.farsiChoice->isChecked());
    EXPECT_EQ(options.moveLimit->text(), QStringLiteral("۶۰ ثانیه"));
    // The menus work as before: the same keys, the same states.
    EXPECT_EQ(window->menus().start()->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_FALSE(window->menus().leave()->isEnabled());

    options.englishChoice->click();
    QTest::mouseClick(options.applyButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return options.okButton->text() == QStringLiteral("&OK"); }, 30000));
    EXPECT_EQ(window->layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(options.moveLimit->text(), QStringLiteral("60 s")) << "no Persian digits left behind";
    // The same texts (the rebuilt menus come later among the window's children).
    EXPECT_EQ(Sorted(ShownTexts(window.get())).join(u'\n').toStdString(), Sorted(englishWindow).join(u'\n').toStdString());
    EXPECT_EQ(Sorted(ShownTexts(&options)).join(u'\n').toStdString(), Sorted(englishOptions).join(u'\n').toStdString());
    EXPECT_EQ(window->menuBar()->actions().size(), 3);  // the old menus are gone, not hidden
}

TEST_F(FarsiWindow, AProgramStartedInFarsiTurnsWhollyEnglish) {
    // Started in Farsi, with a flag of surrender on the table: English
    // leaves no Persian digit or word behind.
    window->show();
    window->game().positionForTests().GiveUp = GiveUpFlag::Shown;
    window->ShowGiveUp(GiveUpFlag::Shown);
    OptionsDialog options(*window, window.get());
    options.show();
    ASSERT_EQ(options.moveLimit->text(), QStringLiteral("۶۰ ثانیه"));
    const QImage farsiFlag = window->table().giveUpPicture();
    options.englishChoice->click();
    QTest::mouseClick(options.applyButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return options.okButton->text() == QStringLiteral("&OK"); }, 30000));
    EXPECT_EQ(options.moveLimit->text(), QStringLiteral("60 s"));
    EXPECT_NE(window->table().giveUpPicture(), farsiFlag) << "the flag still says «تسلیم»";
    EXPECT_EQ(window->table().giveUpPicture(), GiveUpPicture(window->table().pixelScale()));
    // On a system that writes Persian digits, English still writes Latin ones.
    EXPECT_EQ(EnglishLocale(QLocale(QLocale::Persian, QLocale::Iran)).toString(60), QStringLiteral("60"));
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    EXPECT_EQ(EnglishLocale(british), british);
}

} // namespace
} // namespace zarv::testing
