#include <QApplication>

#include "settings/settings_store.h"
#include "ui/balloon.h"
#include "ui/table_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zarv"));
    QApplication::setApplicationVersion(QStringLiteral(ZARV_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Ombrel Card Games"));

    zarv::settings::SettingsStore store(zarv::settings::SettingsStore::DefaultLocation());
    zarv::ui::QtEventPump pump;
    zarv::ui::Balloon::Splash(pump);  // while the table is made ready
    zarv::ui::TableWindow window(store);
    window.show();
    return app.exec();
}
