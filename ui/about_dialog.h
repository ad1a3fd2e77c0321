// The about box: title, version, a picture and a few words, and a button
// that starts the system's information program where there is one.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zarv::ui {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    QLabel* lblVersion = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QPushButton* cmdClose = nullptr;

    // A program that shows the system's information, or "" when there is none.
    static QString SystemInformationProgram();
    void StartSysInfo();
};

} // namespace zarv::ui
