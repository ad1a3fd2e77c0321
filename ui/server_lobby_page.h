// The lobby of a table server, as a page of the network dialog: the tables
// (name, players by seat, waiting or playing, watchers, a lock on private
// ones), the buttons that make a table and sit down, and the server's best
// players of the last thirty days. The maker starts its table from the
// waiting page, once seated.
#pragma once

#include <QFrame>
#include <map>
#include <vector>

#include "net/lobby_wire.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

class QHBoxLayout;

namespace zarv::ui {

class ServerLobbyPage : public QFrame {
    Q_OBJECT
public:
    explicit ServerLobbyPage(QWidget* parent = nullptr);

    QLabel* statusLabel = nullptr;
    QTreeWidget* tableList = nullptr;
    QPushButton* makeButton = nullptr;
    QComboBox* seatChoice = nullptr;
    QPushButton* sitButton = nullptr;
    QPushButton* watchButton = nullptr;
    QPushButton* leaveButton = nullptr;
    QTreeWidget* bestList = nullptr;
    QLabel* accountLabel = nullptr;
    QPushButton* signInButton = nullptr;
    QPushButton* registerButton = nullptr;
    QPushButton* signOutButton = nullptr;

    // The tables as the server last told them; the selection stays on its table.
    void ShowTables(const std::map<int, net::TableLine>& tables);
    // byRating: the registered players by rating (a server that shows ratings).
    void ShowBest(const std::vector<net::TopLine>& best, bool byRating = false);
    int selectedTable() const;
    void SelectTable(int id);
    // The seat chosen in the seat box (1, 2 or 4), 0 when none is free.
    int chosenSeat() const;
    bool selectedIsPrivate() const;
    QString tableName(int id) const;
    void SetStatus(const QString& text);
    // Who this connection plays as: an account's name, or the guest's; the
    // buttons that sign in need an encrypted connection.
    void ShowAccount(const QString& name, bool signedIn, bool encrypted);

signals:
    void makeClicked();
    void sitClicked(int table, int seat);
    void watchClicked(int table);
    void leaveClicked();
    void signInClicked(bool registering);
    void signOutClicked();

private:
    // The row of Make, the seat and Sit, Watch and Leave.
    QHBoxLayout* BuildActions();
    QHBoxLayout* BuildAccountRow();
    void ConnectButtons();
    void SelectionChanged();
    std::map<int, net::TableLine> tables_;
    QLabel* bestLabel_ = nullptr;
};

} // namespace zarv::ui
