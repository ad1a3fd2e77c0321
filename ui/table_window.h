// The main window: the card table with the game's menus.
#pragma once

#include <QMainWindow>

namespace zarv::ui {

class TableWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TableWindow(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildMenus();
};

} // namespace zarv::ui
