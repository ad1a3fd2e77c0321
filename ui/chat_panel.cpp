#include "ui/chat_panel.h"

#include "ui/language.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QVBoxLayout>

namespace zarv::ui {

ChatPanel::ChatPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setMinimumWidth(std::min(sizeHint().width(), 220));
    setMaximumWidth(sizeHint().width() + 120);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(3);
    history_ = new QListWidget(this);
    history_->setFocusPolicy(Qt::NoFocus);
    history_->setWordWrap(true);
    history_->setSelectionMode(QAbstractItemView::NoSelection);
    // A column beside the table: the conversation takes its height, the
    // line being typed sits at the bottom with its counter below it.
    history_->setMinimumHeight(history_->fontMetrics().lineSpacing() * 4 + 8);
    history_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column->addWidget(history_, 1);
    label_ = new QLabel(tr("Chat:"), this);
    input_ = new QLineEdit(this);
    input_->setMaxLength(kMaxLength);
    label_->setBuddy(input_);
    counter_ = new QLabel(this);
    counter_->setTextFormat(Qt::PlainText);
    counter_->setWordWrap(true);
    column->addWidget(label_);
    column->addWidget(input_);
    column->addWidget(counter_);
    connect(input_, &QLineEdit::textEdited, this, &ChatPanel::Edited);
    connect(input_, &QLineEdit::textChanged, this, [this] { ShowCounter(); });
    refusalTimer_.setSingleShot(true);
    refusalTimer_.setInterval(4000);
    connect(&refusalTimer_, &QTimer::timeout, this, [this] {
        refusal_.clear();
        ShowCounter();
    });
    connect(input_, &QLineEdit::returnPressed, this, [this] {
        const QString line = input_->text();
        if (line.trimmed().isEmpty()) return;
        emit lineEntered(line);
        input_->clear();
    });
    ShowCounter();
}

void ChatPanel::Edited(const QString& text) {
    // "|" ends a message on every machine: it cannot be part of a line.
    if (!text.contains(QLatin1Char('|'))) return;
    const int cursor = input_->cursorPosition() - static_cast<int>(text.left(input_->cursorPosition()).count(QLatin1Char('|')));
    QString kept = text;
    kept.remove(QLatin1Char('|'));
    refusal_ = tr("\"|\" cannot be sent");
    input_->setText(kept);
    input_->setCursorPosition(cursor);
    ShowCounter();
    // The word stays a few seconds, long enough to be read while typing on.
    refusalTimer_.start();
}

void ChatPanel::ShowCounter() {
    const QString count = QStringLiteral("%1/%2").arg(Number(input_->text().size()), Number(kMaxLength));
    counter_->setText(refusal_.isEmpty() ? count : refusal_ + QStringLiteral("  ") + count);
}

QString ChatPanel::counterText() const { return counter_->text(); }

void ChatPanel::AddLine(const QString& writer, const QString& text) {
    auto* item = new QListWidgetItem(writer.trimmed() + QStringLiteral(": ") + text, history_);
    item->setToolTip(item->text());
    history_->scrollToBottom();
}

void ChatPanel::AddNotice(const QString& text) {
    auto* item = new QListWidgetItem(QStringLiteral("\u2014 ") + text.trimmed(), history_);
    // Set apart by colour, not slant: the fonts at hand have no slanted Persian.
    item->setForeground(QColor(0x34, 0x61, 0x3a));
    history_->scrollToBottom();
}

QSize ChatPanel::sizeHint() const {
    // Wide enough to read, narrow beside the table.
    return {fontMetrics().averageCharWidth() * 34 + 12, QFrame::sizeHint().height()};
}

void ChatPanel::SetWritable(bool writable) { input_->setEnabled(writable); }

void ChatPanel::Clear() {
    history_->clear();
    input_->clear();
    refusal_.clear();
    ShowCounter();
}

QStringList ChatPanel::history() const {
    QStringList lines;
    for (int i = 0; i < history_->count(); ++i) lines << history_->item(i)->text();
    return lines;
}

void ChatPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        label_->setText(tr("Chat:"));
        ShowCounter();
    }
}

} // namespace zarv::ui
