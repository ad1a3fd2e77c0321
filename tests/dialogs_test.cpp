// The options, player name, scores and about dialogs, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QMenuBar>
#include <QRadioButton>
#include <QTextBrowser>
#include <QScreen>
#include <QTimer>

#include "settings/player_records.h"
#include "settings/settings_store.h"
#include "tests/test_table.h"
#include "ui/about_dialog.h"
#include "ui/help_viewer.h"
#include "ui/program_files.h"
#include "ui/balloon.h"
#include "ui/table_view.h"
#include "ui/options_dialog.h"
#include "ui/player_name_dialog.h"
#include "ui/scores_dialog.h"
#include "ui/table_window.h"

namespace zarv::testing {
namespace {

using namespace zarv::ui;
const QString kKey = QString::fromLatin1(settings::kSettingsKey);

struct Dialogs : ::testing::Test {
    QTemporaryDir dir;
    settings::SettingsStore store{dir.filePath("zarv.ini")};
    TableWindow window{store};

    std::unique_ptr<OptionsDialog> Options() {
        auto d = std::make_unique<OptionsDialog>(window, &window);
        d->show();  // changes count only once the dialog is visible
        return d;
    }
    bool Stored(const char* name) { return store.ReadDword(kKey, name).has_value(); }
};

TEST_F(Dialogs, OkAtOnceWritesNothing) {
    auto d = Options();
    EXPECT_FALSE(d->applyButton->isEnabled());
    QTest::mouseClick(d->okButton, Qt::LeftButton);
    for (const char* name : {"Sheme", "Speed", "SoundFX", "Talk", "FullScreen"}) EXPECT_FALSE(Stored(name)) << name;
}

TEST_F(Dialogs, APresetStoresOnlyItsNumberAndTheTableTakesItsDesign) {
    auto d = Options();
    d->schemeList->setCurrentIndex(1);
    emit d->schemeList->activated(1);  // "Casino"
    EXPECT_TRUE(d->applyButton->isEnabled());
    EXPECT_EQ(d->schemeList->currentText(), "Casino");
    EXPECT_EQ(d->previewDesign(), 3);
    QTest::mouseClick(d->applyButton, Qt::LeftButton);
    EXPECT_EQ(*store.ReadDword(kKey, "Sheme"), 1u);
    for (const char* name : {"Speed", "SoundFX", "Talk", "FullScreen"}) EXPECT_TRUE(Stored(name)) << name;
    for (const char* name : {"Deck", "DC1", "BackC", "Gc1"}) EXPECT_FALSE(Stored(name)) << name;
    EXPECT_EQ(window.currentSettings().Deck, 3);
    EXPECT_EQ(window.currentSettings().FeltColour, settings::Rgb(15, 102, 7));
    EXPECT_FALSE(d->applyButton->isEnabled());
}

TEST_F(Dialogs, OneOwnColourMakesTheUsersSchemeAndStoresAllColours) {
    auto d = Options();
    d->SetColourPicker([](const QColor&, QWidget*) { return QColor(1, 2, 3); });
    QTest::mouseClick(d->colourButtons[7], Qt::LeftButton);  // the table's colour
    EXPECT_EQ(d->schemeList->currentText(), "UserDifiend!");
    EXPECT_TRUE(d->applyButton->isEnabled());
    QTest::mouseClick(d->okButton, Qt::LeftButton);  // OK keeps it, as Apply would
    EXPECT_EQ(*store.ReadDword(kKey, "Sheme"), 5u);
    EXPECT_EQ(*store.ReadDword(kKey, "BackC"), settings::Rgb(1, 2, 3));
    for (const char* name : {"Deck", "DC1", "DC2", "DC3", "Gc1", "Gc2", "Gb1", "Gb2"}) EXPECT_TRUE(Stored(name)) << name;
    EXPECT_EQ(*store.ReadDword(kKey, "GC1"), settings::Rgb(15, 67, 130));  // the others as they were shown

    // A cancelled colour picker changes nothing.
    auto again = Options();
    again->SetColourPicker([](const QColor&, QWidget*) { return QColor(); });
    QTest::mouseClick(again->colourButtons[0], Qt::LeftButton);
    EXPECT_FALSE(again->applyButton->isEnabled());
}

TEST_F(Dialogs, DesignArrowsStopAtTheEndsAndCancelForgetsEverything) {
    auto d = Options();
    for (int i = 0; i < 6; ++i) QTest::mouseClick(d->nextDeckButton, Qt::LeftButton);
    EXPECT_EQ(d->previewDesign(), 4);
    for (int i = 0; i < 6; ++i) QTest::mouseClick(d->previousDeckButton, Qt::LeftButton);
    EXPECT_EQ(d->previewDesign(), 0);
    for (int i = 0; i < 8; ++i) QTest::mouseClick(d->fasterButton, Qt::LeftButton);
    EXPECT_EQ(d->recordedSpeed(), 5);
    d->schemeList->setCurrentIndex(2);
    emit d->schemeList->activated(2);
    QTest::mouseClick(d->cancelButton, Qt::LeftButton);
    EXPECT_FALSE(Stored("Sheme"));
    EXPECT_EQ(window.currentSettings().Scheme, 0);
    EXPECT_EQ(window.currentSettings().FeltColour, settings::Rgb(52, 97, 54));
}

TEST_F(Dialogs, PlayerNameRules) {
    settings::Preferences& preferences = window.preferences();
    const settings::Settings& s = preferences.current();
    settings::AddPlayerResult(store, "Ann", true, 0.5);
    settings::AddPlayerResult(store, "Bob", true, 0.5);
    preferences.unsaved().PlayerName = "Bob";
    PlayerNameDialog d(preferences);
    EXPECT_EQ(d.nameList->itemText(0), "Bob");  // the current name first
    EXPECT_EQ(d.nameList->currentText(), "Bob");
    for (const QString& bad : {QString(), QStringLiteral("ABCDEFGHIJKLMNOP"), QStringLiteral("a|b"), QStringLiteral("a;b")})
        EXPECT_FALSE(PlayerNameDialog::Refusal(bad).isEmpty()) << bad.toStdString();
    EXPECT_EQ(PlayerNameDialog::Refusal(QString()), "Choose or type a name of 1 to 15 characters");
    EXPECT_TRUE(PlayerNameDialog::Refusal(QStringLiteral("ABCDEFGHIJKLMNO")).isEmpty());

    // The field takes no more than a name's fifteen characters; an emoji is one.
    d.nameList->lineEdit()->clear();
    QTest::keyClicks(d.nameList->lineEdit(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    EXPECT_EQ(d.nameList->currentText(), "ABCDEFGHIJKLMNO");
    d.nameList->lineEdit()->clear();
    const QString emoji = QString::fromUtf8("\U0001F600");
    for (int i = 0; i < 16; ++i) d.nameList->lineEdit()->insert(emoji);  // as typed, through the validator
    EXPECT_EQ(d.nameList->currentText().toUcs4().size(), 15);

    d.nameList->setEditText(QStringLiteral("  Zoe "));
    QTest::mouseClick(d.okButton, Qt::LeftButton);
    EXPECT_EQ(s.PlayerName, "  Zoe ");  // taken as typed
    EXPECT_EQ(settings::ReadSettings(store).PlayerName, "Zoe");

    // With no records the field shows "Unknown".
    QTemporaryDir other;
    settings::SettingsStore empty(other.filePath("z.ini"));
    settings::Preferences fresh(empty);
    PlayerNameDialog first(fresh);
    EXPECT_EQ(first.nameList->currentText(), "Unknown");
}

TEST_F(Dialogs, ScoresShowRatesAndResetEmptiesTheGrid) {
    for (int i = 0; i < 3; ++i) settings::AddPlayerResult(store, "Ann", true, 0.2);
    settings::AddPlayerResult(store, "Ann", false, 0.7);
    settings::AddPlayerResult(store, "Bob", true, 0.4);
    settings::AddPlayerResult(store, "Bob", false, 0.4);
    settings::AddPlayerResult(store, "Bob", false, 0.9, true);  // a game in which Bob took moves back
    settings::AddPlayerResult(store, "Cheat", true, 0.3);
    store.WriteDword(kKey + "\\Cheat", "Win", 99);  // edited by hand: left out
    ScoresDialog d(store);
    ASSERT_EQ(d.scoresTable->rowCount(), 2);
    auto cell = [&](int r, int c) { return d.scoresTable->item(r, c)->text(); };
    EXPECT_EQ(cell(0, 0), "Ann");
    EXPECT_EQ(cell(0, 1), "4");
    EXPECT_EQ(cell(0, 2), "3");
    EXPECT_EQ(cell(0, 3), "1");
    EXPECT_EQ(cell(0, 4), "75%");
    EXPECT_EQ(cell(1, 4), "33%");
    EXPECT_EQ(d.scoresTable->horizontalHeaderItem(4)->text(), "Win Rate");
    EXPECT_EQ(d.scoresTable->horizontalHeaderItem(5)->text(), "With Undo");
    EXPECT_EQ(cell(0, 5), "0");
    EXPECT_EQ(cell(1, 5), "1");
    d.Reset(false);
    EXPECT_EQ(d.scoresTable->rowCount(), 2);
    d.Reset(true);
    EXPECT_EQ(d.scoresTable->rowCount(), 0);
    EXPECT_EQ(d.scoresTable->columnCount(), 6);  // the header row stays
}

TEST_F(Dialogs, AboutShowsTitleAndVersion) {
    QCoreApplication::setApplicationName("Zarv");
    QCoreApplication::setApplicationVersion("1.2.0");
    AboutDialog d(nullptr, QStringLiteral("/home/ann/.config/zarv.ini"));
    EXPECT_EQ(d.windowTitle(), "About Zarv");
    EXPECT_EQ(d.versionLabel->text(), "Version 1.2.0");
    // System Info: what a bug report needs, shown and copied.
    const QString info = d.SystemInformation();
    for (const QString& part : {QStringLiteral("Zarv 1.2.0"), QStringLiteral("Qt ") + QString::fromLatin1(qVersion()),
                                QStringLiteral("Platform: "), QStringLiteral("Screen: "), QStringLiteral("scale "),
                                QStringLiteral("Settings: /home/ann/.config/zarv.ini")})
        EXPECT_TRUE(info.contains(part)) << part.toStdString() << " in " << info.toStdString();
    QTimer::singleShot(0, &d, [&] {
        ASSERT_NE(d.systemInfoDialog(), nullptr);
        for (QPushButton* b : d.systemInfoDialog()->findChildren<QPushButton*>())
            if (b->text() == "&Copy") b->click();
        d.systemInfoDialog()->accept();
    });
    d.systemInfoButton->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), info);
}

TEST(ProgramFiles, TheHelpPageAndSoundLieBesideTheProgram) {
    // In the build folder the program's files are next to it.
    EXPECT_TRUE(QFile::exists(QStringLiteral(ZARV_APP_DIR "/Help/Help.htm")));
    EXPECT_TRUE(QFile::exists(QStringLiteral(ZARV_APP_DIR "/Pass.wav")));
    // Installed, they are in share/zarv next to bin/.
    QTemporaryDir prefix;
    QDir(prefix.path()).mkpath("bin");
    QDir(prefix.path()).mkpath("share/zarv");
    QFile(prefix.filePath("share/zarv/Pass.wav")).open(QIODevice::WriteOnly);
    EXPECT_EQ(ProgramFolderFor(prefix.filePath("bin")), QDir(prefix.filePath("share/zarv")).canonicalPath());
    EXPECT_EQ(ProgramFolderFor(QStringLiteral(ZARV_APP_DIR)), QStringLiteral(ZARV_APP_DIR));
}

}  // namespace
}  // namespace zarv::testing

namespace zarv::testing {
namespace {

using namespace zarv::ui;

using FirstUse = Dialogs;

TEST_F(FirstUse, ChoosingASpeedAndDefaultCountAsChanges) {
    {
        auto d = Options();
        d->speedChoices[1]->click();
        EXPECT_TRUE(d->applyButton->isEnabled());
        QTest::mouseClick(d->okButton, Qt::LeftButton);
        EXPECT_EQ(*store.ReadDword(kKey, "Speed"), 1u);  // OK stored the speed
    }
    {
        // A preset other than 0, applied; then Default shows scheme 0 and OK keeps it.
        auto d = Options();
        d->schemeList->setCurrentIndex(2);
        emit d->schemeList->activated(2);
        QTest::mouseClick(d->applyButton, Qt::LeftButton);
        QTest::mouseClick(d->defaultButton, Qt::LeftButton);
        EXPECT_EQ(d->schemeList->currentIndex(), 0);
        EXPECT_EQ(d->previewDesign(), settings::Settings().Deck);
        EXPECT_TRUE(d->applyButton->isEnabled());
        QTest::mouseClick(d->okButton, Qt::LeftButton);
        EXPECT_EQ(*store.ReadDword(kKey, "Sheme"), 0u);
    }
}

TEST_F(FirstUse, ColourButtonsShowTheirColourExactly) {
    auto d = Options();
    d->schemeList->setCurrentIndex(settings::kUserScheme);
    d->SetColourPicker([](const QColor&, QWidget*) { return QColor(0, 0, 255); });
    QTest::mouseClick(d->colourButtons[7], Qt::LeftButton);
    QApplication::processEvents();
    const QImage shot = d->colourButtons[7]->grab().toImage();
    const QColor middle = shot.pixelColor(shot.width() / 2, shot.height() - 4);
    EXPECT_EQ(middle, QColor(0, 0, 255)) << middle.name().toStdString();
}

TEST_F(FirstUse, TheWindowFitsTheScreenScalesTheTableAndSaysHowToBegin) {
    window.show();
    // The first size takes most of the screen's free area, never more.
    const QRect area = window.screen()->availableGeometry();
    EXPECT_LE(window.frameGeometry().width(), area.width());
    EXPECT_LE(window.frameGeometry().height(), area.height());
    EXPECT_GE(window.width(), area.width() * 6 / 10);
    // A larger window gives a larger table.
    const double before = window.table().viewScale();
    window.resize(window.size() + QSize(200, 150));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.table().viewScale() > before; }, 2000));
    // Before the first game: the felt, and the line that says how to begin.
    EXPECT_NE(window.table().ColourAt({100, 100}), window.table().ColourAt({1, 1}));  // felt inside the rounded edge
    EXPECT_EQ(window.words().turnText(), "Press F2 or choose Game > Start to deal");
}

TEST_F(FirstUse, SaveSuggestSaysFirstThatThereIsNoHand) {
    QAction* saveSuggest = nullptr;
    for (QAction* a : window.menuBar()->actions().at(2)->menu()->actions())
        if (a->text().startsWith("Save Suggest")) saveSuggest = a;
    ASSERT_NE(saveSuggest, nullptr);
    QString said;
    bool messageBox = false;
    // Whatever opens modally is closed again, so that the test goes on either way.
    QTimer::singleShot(0, &window, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            messageBox = true;
            said = box->text();
            box->accept();
        } else if (modal) {
            modal->close();
        }
    });
    saveSuggest->trigger();
    EXPECT_TRUE(messageBox) << "no message first (a file dialog?)";
    EXPECT_TRUE(said.contains("no hand to save")) << said.toStdString();
}

TEST_F(FirstUse, TheHelpOpensInTheBrowserOrTheProgramShowsItItself) {
    QList<QUrl> opened;
    window.help().SetUrlOpener([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    window.HelpClick();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.front(), QUrl::fromLocalFile(HelpViewer::Page()));
    EXPECT_EQ(window.help().window(), nullptr);

    // No browser: the program's own window shows the page (the program's, as built).
    HelpViewer own(&window, QStringLiteral(ZARV_APP_DIR));
    own.SetUrlOpener([](const QUrl&) { return false; });
    own.Show();
    auto* browser = qobject_cast<QTextBrowser*>(own.window());
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_TRUE(browser->toPlainText().contains("HAKEM")) << browser->toPlainText().left(200).toStdString();
}

// The program's own help window lays table columns out left to right: for a
// right-to-left page each row comes reversed, a spanning cell included.
TEST(HelpPage, ARightToLeftPagesTablesAreGivenMirrored) {
    const QString page = QStringLiteral("<p>x</p><table>\n<tr><th>Menu</th><th>Item</th><th>What</th></tr>\n"
                                        "<tr><td rowspan=\"2\">Game</td><td>Start</td><td>deals</td></tr>\n"
                                        "<tr><td>Exit</td><td>closes</td></tr></table>");
    const QString mirrored = HelpViewer::RightToLeftTables(page);
    EXPECT_TRUE(mirrored.contains("<tr><th>What</th><th>Item</th><th>Menu</th></tr>")) << mirrored.toStdString();
    EXPECT_TRUE(mirrored.contains("<tr><td>deals</td><td>Start</td><td rowspan=\"2\">Game</td></tr>")) << mirrored.toStdString();
    EXPECT_TRUE(mirrored.contains("<tr><td>closes</td><td>Exit</td></tr>"));
    EXPECT_TRUE(mirrored.startsWith("<p>x</p><table align=\"right\">"));
}

TEST_F(FirstUse, TheNameDialogAndTheHelpOpenCentredOverTheWindow) {
    // Off the screen's centre, and well inside the screen.
    const QRect room = window.screen()->availableGeometry();
    window.resize(room.width() * 3 / 4, room.height() * 3 / 4);
    window.move(room.topLeft() + QPoint(room.width() / 5, room.height() / 6));
    window.show();
    const QPoint centre = window.frameGeometry().center();
    auto near = [&](const QWidget* w) { return (w->frameGeometry().center() - centre).manhattanLength() <= 4; };
    bool centred = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<PlayerNameDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        probe.stop();
        centred = near(dialog);
        EXPECT_TRUE(centred) << dialog->frameGeometry().center().x() << "," << dialog->frameGeometry().center().y();
        dialog->reject();
    });
    probe.start(10);
    window.PlayerNameClick();
    EXPECT_TRUE(centred);

    HelpViewer own(&window, QStringLiteral(ZARV_APP_DIR));
    own.SetUrlOpener([](const QUrl&) { return false; });
    own.Show();
    ASSERT_NE(own.window(), nullptr);
    EXPECT_TRUE(near(own.window())) << own.window()->frameGeometry().center().x();
}

TEST_F(FirstUse, TheSeatCarriesTheNameResultsAreRecordedUnder) {
    GameState& s = window.game().positionForTests();
    s.PlayerName = "Ann";
    s.Seats[3].Name = "Ann";
    s.Seats[3].Kind = SeatKind::Human;
    // Renamed between games: the next game's seat shows the new name.
    s.PlayerName = "Bea";
    window.preferences().unsaved().PlayerName = "Bea";
    window.game().SetLocalAutoplay(true);
    window.preferences().unsaved().Talk = false;
    window.preferences().unsaved().Speed = 5;
    window.LoadSettings();
    QTimer stop;
    QObject::connect(&stop, &QTimer::timeout, &window, [&] {
        if (s.Turn >= 1) window.close();
    });
    stop.start(20);
    window.game().StartClick();
    EXPECT_EQ(s.Seats[3].Name, "Bea");
    // After Reset the name dialog offers the name in use, not "Unknown".
    settings::ResetAllRecords(store);
    PlayerNameDialog names(window.preferences(), &window);
    EXPECT_EQ(names.nameList->currentText(), "Bea");
}

TEST(SplashAndPlates, TheAcesStayInsideAndNamesAreReadable) {
    const QImage splash = Balloon::SplashPicture();
    // The right margin is felt, not card.
    for (int y = 0; y < splash.height(); ++y) {
        const QColor c = splash.pixelColor(splash.width() - 2, y);
        EXPECT_LT(c.red() + c.green() + c.blue(), 3 * 200) << "a card at the right edge, row " << y;
    }
    // Every preset's plates get a text colour that stands out from them.
    for (int scheme = 0; scheme < 5; ++scheme) {
        settings::Settings s;
        s.SetScheme(scheme);
        for (uint32_t plate : {s.SeatColourB, s.SeatColourA}) {
            const QColor back(plate & 0xFF, (plate >> 8) & 0xFF, (plate >> 16) & 0xFF);
            const QColor text = TableView::TextOn(back);
            // The ratio asked of normal text for good reading.
            EXPECT_GE(TableView::Contrast(text, back), 4.5) << scheme << " " << back.name().toStdString();
        }
    }
}

} // namespace
} // namespace zarv::testing

namespace zarv::testing {
namespace {

TEST_F(Dialogs, TheComputerPlayersLevelIsChosenAndStored) {
    EXPECT_EQ(window.computerPlayer().level(), ai::Level::Standard);  // an older store: Standard
    // Offered from the easiest to the strongest, each kept as its own number
    // (Standard 0 and Expert 1 as before).
    const std::pair<ai::Level, uint32_t> levels[] = {
        {ai::Level::Beginner, 2}, {ai::Level::Standard, 0}, {ai::Level::Expert, 1}, {ai::Level::Master, 3}};
    for (int index : {3, 0, 2, 1}) {
        auto d = Options();
        ASSERT_EQ(d->levelList->count(), 4);
        d->levelList->setCurrentIndex(index);
        emit d->levelList->activated(index);
        QTest::mouseClick(d->okButton, Qt::LeftButton);
        const auto [level, stored] = levels[index];
        EXPECT_EQ(*store.ReadDword(kKey, "Level"), stored);
        EXPECT_EQ(window.computerPlayer().level(), level);
        settings::SettingsStore again(store.fileName());
        EXPECT_EQ(static_cast<uint32_t>(settings::ReadSettings(again).Level), stored);
        // Shown again as chosen.
        EXPECT_EQ(Options()->levelList->currentIndex(), index);
    }
}

} // namespace
} // namespace zarv::testing
