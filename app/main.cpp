#include <QApplication>

#include "ui/table_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zarv"));
    QApplication::setApplicationVersion(QStringLiteral(ZARV_VERSION));
    zarv::ui::TableWindow window;
    window.show();
    return app.exec();
}
