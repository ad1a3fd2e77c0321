// The chat of a network game: the whole conversation of this game (every
// line, the writer's own included, and what the table announced), the line
// being typed with a counter of what is left, and a word when a character
// cannot be sent.
#pragma once

#include <QFrame>
#include <QString>
#include <QTimer>

class QLabel;
class QLineEdit;
class QListWidget;

namespace zarv::ui {

class ChatPanel : public QFrame {
    Q_OBJECT
public:
    // A line is at most this long; the protocol has no limit, a balloon has.
    static constexpr int kMaxLength = 200;

    explicit ChatPanel(QWidget* parent = nullptr);

    void AddLine(const QString& writer, const QString& text);
    // What the table said (a player lost or back, a refused join).
    void AddNotice(const QString& text);
    void Clear();
    QStringList history() const;
    QLineEdit* input() const { return input_; }
    // A watcher reads the players' chat but does not write.
    void SetWritable(bool writable);
    QString counterText() const;
    // As wide as about thirty characters a line.
    QSize sizeHint() const override;

signals:
    // Enter with a line that is not empty.
    void lineEntered(const QString& text);

protected:
    void changeEvent(QEvent* event) override;

private:
    QLabel* label_ = nullptr;
    void Edited(const QString& text);
    void ShowCounter();

    QListWidget* history_ = nullptr;
    QLineEdit* input_ = nullptr;
    QLabel* counter_ = nullptr;
    QString refusal_;  // why the last character typed is not there
    QTimer refusalTimer_;
};

} // namespace zarv::ui
