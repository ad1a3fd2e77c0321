// The about box: title, version, a picture and a few words, and a button
// that shows what a bug report needs to say about this copy and this machine.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zarv::ui {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr, const QString& settingsFile = QString());

    QLabel* versionLabel = nullptr;
    QPushButton* systemInfoButton = nullptr;
    QPushButton* closeButton = nullptr;

    // The program's and Qt's versions, the platform, the screen's size and
    // scale, and the settings file: the lines a bug report needs.
    QString SystemInformation() const;
    // Shows them, with a button that copies them.
    void StartSysInfo();
    // The open system-information window (tests).
    QDialog* systemInfoDialog() const { return sysInfo_; }

private:
    QString settingsFile_;
    QDialog* sysInfo_ = nullptr;
};

} // namespace zarv::ui
