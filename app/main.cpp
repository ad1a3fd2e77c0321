#include <QApplication>
#include <QTimer>
#include <QIcon>
#include <QLocale>
#include <cstdio>
#include <cstring>

#include "settings/settings_store.h"
#include "ui/balloon.h"
#include "ui/language.h"
#include "ui/player_name_dialog.h"
#include "ui/table_window.h"

int main(int argc, char** argv) {
    // Answered before any window system is needed (packaging checks, scripts).
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zarv %s\n", ZARV_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("Usage: zarv [--version] [--help]\n"
                        "Zarv, a trick-taking card game for four: play against the computer, or over the\n"
                        "network (Game > Network...).\n");
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zarv"));
    QApplication::setApplicationVersion(QStringLiteral(ZARV_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Ombrel Card Games"));
    QApplication::setDesktopFileName(QStringLiteral("org.ombrel.Zarv"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/org.ombrel.Zarv.svg")));

    zarv::settings::SettingsStore store(zarv::settings::SettingsStore::DefaultLocation());
    // The language before the first word is shown: the stored choice, else the system's.
    zarv::ui::UseLanguage(zarv::ui::StartLanguage(zarv::settings::ReadSettings(store).Language, QLocale::system()));
    zarv::QtEventPump pump;
    zarv::ui::Balloon::Splash(pump);  // while the table is made ready
    zarv::ui::TableWindow window(store);
    window.show();
    window.TellAboutDamagedSettings();
    // A first start: the player says who he is before anything is recorded.
    if (window.currentSettings().PlayerName == "Unknown") window.PlayerNameClick();
    // Once the window runs: a seat left in a network game is offered back.
    QTimer::singleShot(0, &window, [&window] { window.OfferKeptSeat(); });
    return app.exec();
}
