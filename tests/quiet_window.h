// A table window of a test's own: its own settings file and player name,
// quick and quiet, with the Network dialog it opens. Several of them can be
// driven by one test, as the machines of a network game.
#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "settings/settings_store.h"
#include "ui/network_dialog.h"
#include "ui/table_window.h"

namespace zarv::testing {

struct QuietWindow {
    QTemporaryDir dir;
    settings::SettingsStore store;
    ui::TableWindow window{store};
    std::unique_ptr<ui::NetworkDialog> dialog;

    // iniFile: the settings of an earlier run of the same machine; none: a first start.
    explicit QuietWindow(const std::string& name, const QString& iniFile = QString())
        : store(iniFile.isEmpty() ? dir.filePath("zarv.ini") : iniFile) {
        auto& s = window.preferences().unsaved();
        s.Talk = false;
        s.SoundFX = false;
        s.Speed = 5;
        s.PlayerName = name;
        window.LoadSettings();
    }
    ~QuietWindow() { window.network().SetDialog(nullptr); }
    // The dialog, shown without its own event loop.
    ui::NetworkDialog& OpenDialog() {
        dialog = std::make_unique<ui::NetworkDialog>(window.network(), &window);
        window.network().SetDialog(dialog.get());
        dialog->show();
        return *dialog;
    }
};

} // namespace zarv::testing
