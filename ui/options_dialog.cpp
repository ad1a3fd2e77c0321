#include "ui/options_dialog.h"

#include "ui/table_view.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QVBoxLayout>

#include "settings/settings.h"
#include "ui/card_pictures.h"
#include "ui/colour.h"
#include "ui/language.h"
#include "ui/table_window.h"

namespace zarv::ui {

namespace {


// The two groups' colours and the table, as small shapes.
class AreaPreview : public QWidget {
public:
    explicit AreaPreview(const QColor* colours, QWidget* parent) : QWidget(parent), colours_(colours) {
        setMinimumSize(120, 60);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(colours_[7]);
        p.setPen(Qt::black);
        p.drawRoundedRect(rect().adjusted(1, 1, -2, -2), 8, 8);
        const int w = (width() - 30) / 2;
        for (int g = 0; g < 2; ++g) {
            p.setBrush(colours_[3 + 2 * g]);          // Color 1 of the group
            p.setPen(QPen(colours_[4 + 2 * g], 2));  // its border
            p.drawRoundedRect(QRectF(10 + g * (w + 10), 12, w, height() - 24), 5, 5);
        }
    }

private:
    const QColor* colours_;
};

// The presets' names as the list shows them (the settings keep the index).
constexpr const char* kSchemeTitles[] = {
    QT_TRANSLATE_NOOP("zarv::ui::OptionsDialog", "Abbadan"),     QT_TRANSLATE_NOOP("zarv::ui::OptionsDialog", "Casino"),
    QT_TRANSLATE_NOOP("zarv::ui::OptionsDialog", "Soft Lights"), QT_TRANSLATE_NOOP("zarv::ui::OptionsDialog", "Sharp"),
    QT_TRANSLATE_NOOP("zarv::ui::OptionsDialog", "Shadow"),      QT_TRANSLATE_NOOP("zarv::ui::OptionsDialog", "UserDifiend!")};
static_assert(std::size(kSchemeTitles) == settings::kSchemeNames.size());

// The arrows point the way the buttons' row reads: mirrored right to left.
QString BackArrow() { return QGuiApplication::isRightToLeft() ? QStringLiteral("\u25B6") : QStringLiteral("\u25C0"); }
QString ForwardArrow() { return QGuiApplication::isRightToLeft() ? QStringLiteral("\u25C0") : QStringLiteral("\u25B6"); }

QPushButton* ColourButton(QWidget* parent) {
    auto* b = new QPushButton(QStringLiteral("..."), parent);
    b->setFixedSize(34, 22);
    return b;
}

} // namespace

OptionsDialog::OptionsDialog(TableWindow& table, QWidget* parent)
    : QDialog(parent), table_(table), preferences_(table.preferences()), original_(table.currentSettings()) {
    setWindowTitle(tr("Options"));
    picker_ = [](const QColor& initial, QWidget* owner) { return QColorDialog::getColor(initial, owner); };
    LayOut();
    ShowSettings();
    ConnectControls();
}

QGroupBox* OptionsDialog::BuildDeckFrame() {
    // "Deck": three colours, the preview and the design arrows.
    auto* deck = new QGroupBox(tr("Deck"), this);
    auto* deckGrid = new QGridLayout(deck);
    const QString deckLabels[3] = {tr("Color 1"), tr("Color 2"), tr("Color 3")};
    for (int i = 0; i < 3; ++i) {
        colourButtons[i] = ColourButton(deck);
        deckGrid->addWidget(new QLabel(deckLabels[i], deck), i, 0);
        deckGrid->addWidget(colourButtons[i], i, 1);
    }
    deckPreview = new QLabel(deck);
    deckPreview->setFixedSize(kCardW + 4, kCardH + 4);
    deckPreview->setAlignment(Qt::AlignCenter);
    deckGrid->addWidget(deckPreview, 0, 2, 3, 2, Qt::AlignCenter);
    previousDeckButton = new QPushButton(BackArrow(), deck);
    nextDeckButton = new QPushButton(ForwardArrow(), deck);
    deckGrid->addWidget(previousDeckButton, 3, 2);
    deckGrid->addWidget(nextDeckButton, 3, 3);

    return deck;
}

QGroupBox* OptionsDialog::BuildColourFrame(const QString& title, int first) {
    auto* box = new QGroupBox(title, this);
    auto* grid = new QGridLayout(box);
    const QString labels[2] = {tr("Color 1"), tr("Border")};
    for (int k = 0; k < 2; ++k) {
        colourButtons[first + k] = ColourButton(box);
        grid->addWidget(new QLabel(labels[k], box), k, 0);
        grid->addWidget(colourButtons[first + k], k, 1);
    }
    return box;
}

QGroupBox* OptionsDialog::BuildAreaFrame() {
    auto* area = new QGroupBox(tr("Area Color"), this);
    auto* areaGrid = new QGridLayout(area);
    colourButtons[7] = ColourButton(area);
    areaGrid->addWidget(new QLabel(tr("Background"), area), 0, 0);
    areaGrid->addWidget(colourButtons[7], 0, 1);
    shapes_ = new AreaPreview(colours_, area);
    areaGrid->addWidget(shapes_, 1, 0, 1, 2);

    return area;
}

QGroupBox* OptionsDialog::BuildSpeedFrame() {
    auto* speed = new QGroupBox(tr("Animation Speed"), this);
    auto* speedGrid = new QGridLayout(speed);
    // "Slow" over the first choice and "Fast" over the last; the choices sit
    // under them, and the frame's spare height stays below.
    speedGrid->addWidget(new QLabel(tr("Slow"), speed), 0, 0, Qt::AlignCenter);
    speedGrid->addWidget(new QLabel(tr("Fast"), speed), 0, 5, Qt::AlignCenter);
    speedGrid->setRowStretch(3, 1);
    speedGroup_ = new QButtonGroup(this);
    for (int i = 0; i <= 5; ++i) {
        speedChoices[i] = new QRadioButton(speed);
        speedGroup_->addButton(speedChoices[i], i);
        speedGrid->addWidget(speedChoices[i], 1, i, Qt::AlignCenter);
    }
    slowerButton = new QPushButton(BackArrow(), speed);
    fasterButton = new QPushButton(ForwardArrow(), speed);
    speedGrid->addWidget(slowerButton, 2, 0, 1, 3);
    speedGrid->addWidget(fasterButton, 2, 3, 1, 3);

    return speed;
}

QGroupBox* OptionsDialog::BuildCheckFrame(const QString& title, const QString& caption, QCheckBox*& box) {
    auto* frame = new QGroupBox(title, this);
    auto* l = new QVBoxLayout(frame);
    box = new QCheckBox(caption, frame);
    l->addWidget(box);
    return frame;
}

QGroupBox* OptionsDialog::BuildPlayersFrame() {
    auto* players = new QGroupBox(tr("Computer players"), this);
    auto* playersLayout = new QVBoxLayout(players);
    levelList = new QComboBox(players);
    // From the easiest to the strongest; each item keeps its stored level.
    levelList->addItem(tr("Beginner"), static_cast<int>(settings::ComputerLevel::Beginner));
    levelList->addItem(tr("Standard"), static_cast<int>(settings::ComputerLevel::Standard));
    levelList->addItem(tr("Expert"), static_cast<int>(settings::ComputerLevel::Expert));
    levelList->addItem(tr("Master"), static_cast<int>(settings::ComputerLevel::Master));
    playersLayout->addWidget(levelList);
    // How long a Dealer waits for a silent remote player before the computer plays.
    auto* limitRow = new QHBoxLayout;
    auto* limitLabel = new QLabel(tr("Network: wait for a silent player"), players);
    moveLimit = new QSpinBox(players);
    moveLimit->setRange(settings::kMinMoveLimit, settings::kMaxMoveLimit);
    moveLimit->setSuffix(tr(" s"));
    limitLabel->setBuddy(moveLimit);
    limitRow->addWidget(limitLabel);
    limitRow->addWidget(moveLimit);
    playersLayout->addLayout(limitRow);
    return players;
}

QGroupBox* OptionsDialog::BuildLanguageFrame() {
    auto* language = new QGroupBox(tr("Language"), this);
    auto* languageLayout = new QVBoxLayout(language);
    // Each language by its own name, so that a person who cannot read the
    // other one still finds his own.
    englishChoice = new QRadioButton(QStringLiteral("English"), language);
    farsiChoice = new QRadioButton(QStringLiteral("\u0641\u0627\u0631\u0633\u06CC"), language);
    languageLayout->addWidget(englishChoice);
    languageLayout->addWidget(farsiChoice);
    return language;
}

void OptionsDialog::LayOut() {
    schemeList = new QComboBox(this);
    for (const char* name : kSchemeTitles) schemeList->addItem(tr(name));
    auto* schemeRow = new QHBoxLayout;
    schemeRow->addWidget(new QLabel(tr("Scheme:"), this));
    schemeRow->addWidget(schemeList, 1);

    QGroupBox* deck = BuildDeckFrame();
    QGroupBox* group1 = BuildColourFrame(tr("Group 1"), 3);
    QGroupBox* group2 = BuildColourFrame(tr("Group 2"), 5);
    QGroupBox* area = BuildAreaFrame();
    QGroupBox* speed = BuildSpeedFrame();
    QGroupBox* sound = BuildCheckFrame(tr("Sound"), tr("FX Sounds"), soundBox);
    QGroupBox* talk = BuildCheckFrame(tr("Talking"), tr(" Messages And Talking"), talkBox);
    QGroupBox* view = BuildCheckFrame(tr("View"), tr("Full screen"), fullScreenBox);
    dimCardsBox = new QCheckBox(tr("Dim cards I may not play"), view);
    view->layout()->addWidget(dimCardsBox);
    QGroupBox* players = BuildPlayersFrame();
    QGroupBox* language = BuildLanguageFrame();

    okButton = new QPushButton(tr("&OK"), this);
    applyButton = new QPushButton(tr("&Apply"), this);
    cancelButton = new QPushButton(tr("&Cancel"), this);
    defaultButton = new QPushButton(tr("&Default"), this);
    okButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaultButton);
    buttons->addStretch();
    for (QPushButton* b : {okButton, cancelButton, applyButton}) buttons->addWidget(b);

    auto* grid = new QGridLayout;
    grid->addWidget(deck, 0, 0, 2, 1);
    grid->addWidget(group1, 0, 1);
    grid->addWidget(group2, 1, 1);
    grid->addWidget(area, 0, 2, 2, 1);
    grid->addWidget(speed, 2, 0);
    auto* checks = new QGridLayout;
    checks->addWidget(sound, 0, 0);
    checks->addWidget(talk, 0, 1);
    checks->addWidget(view, 1, 0);
    checks->addWidget(language, 1, 1);
    checks->addWidget(players, 2, 0, 1, 2);
    grid->addLayout(checks, 2, 1, 1, 2);
    auto* main = new QVBoxLayout(this);
    main->addLayout(schemeRow);
    main->addLayout(grid);
    main->addLayout(buttons);

}

void OptionsDialog::ShowSettings() {
    // The controls show the settings; nothing counts as a change yet.
    filling_ = true;
    const settings::Settings& s = preferences_.current();
    schemeList->setCurrentIndex(std::clamp(s.Scheme, 0, settings::kUserScheme));
    Fill();
    speed_ = std::clamp(s.Speed, 0, 5);
    speedChoices[speed_]->setChecked(true);
    soundBox->setChecked(s.SoundFX);
    fullScreenBox->setChecked(s.FullScreen);
    talkBox->setChecked(s.Talk);
    dimCardsBox->setChecked(s.DimCards);
    levelList->setCurrentIndex(std::max(0, levelList->findData(static_cast<int>(s.Level))));
    moveLimit->setValue(std::clamp(s.MoveLimit, settings::kMinMoveLimit, settings::kMaxMoveLimit));
    (CurrentLanguage() == settings::LanguageChoice::Farsi ? farsiChoice : englishChoice)->setChecked(true);
    applyButton->setEnabled(false);
    filling_ = false;

}

void OptionsDialog::ConnectControls() {
    connect(schemeList, &QComboBox::activated, this, [this](int index) {
        preferences_.unsaved().SetScheme(index);  // a preset's colours are loaded at once
        Fill();
        MarkChanged();
    });
    for (int i = 0; i < 8; ++i) connect(colourButtons[i], &QPushButton::clicked, this, [this, i] { PickColour(i); });
    connect(levelList, &QComboBox::activated, this, [this] { MarkChanged(); });
    connect(moveLimit, &QSpinBox::valueChanged, this, [this] {
        if (!filling_) MarkChanged();
    });
    for (QCheckBox* box : {soundBox, talkBox, fullScreenBox, dimCardsBox}) connect(box, &QCheckBox::toggled, this, [this] { MarkChanged(); });
    connect(farsiChoice, &QRadioButton::toggled, this, [this] { MarkChanged(); });
    connect(speedGroup_, &QButtonGroup::idClicked, this, [this](int i) {
        speed_ = i;
        MarkChanged();
    });
    connect(previousDeckButton, &QPushButton::clicked, this, [this] { Navigate(true, -1); });
    connect(nextDeckButton, &QPushButton::clicked, this, [this] { Navigate(true, +1); });
    connect(slowerButton, &QPushButton::clicked, this, [this] { Navigate(false, -1); });
    connect(fasterButton, &QPushButton::clicked, this, [this] { Navigate(false, +1); });
    connect(applyButton, &QPushButton::clicked, this, &OptionsDialog::Apply);
    connect(okButton, &QPushButton::clicked, this, [this] {
        if (changed_) Apply();
        accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, &OptionsDialog::reject);
    connect(defaultButton, &QPushButton::clicked, this, [this] {
        // Scheme 0's colours and design, shown here; Apply or OK keeps them.
        preferences_.unsaved().SetScheme(0);
        schemeList->setCurrentIndex(0);
        Fill();
        MarkChanged();
    });
}

void OptionsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    changed_ = false;  // what the controls were given while loading is no change
}

void OptionsDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange || retranslating_) return;
    // Not while Apply's own click is still on the stack: the buttons go with it.
    retranslating_ = true;
    QTimer::singleShot(0, this, [this] {
        retranslating_ = false;
        Retranslate();
    });
}

void OptionsDialog::Retranslate() {
    setWindowTitle(tr("Options"));
    delete layout();
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) delete child;
    delete speedGroup_;
    speedGroup_ = nullptr;
    shapes_ = nullptr;
    LayOut();
    ShowSettings();
    ConnectControls();
    okButton->setFocus();
}

void OptionsDialog::reject() {
    // Nothing is written, and the settings in memory are as they were.
    preferences_.PutBack(original_);
    QDialog::reject();
}

void OptionsDialog::Fill() {
    const settings::Settings& s = preferences_.current();
    const uint32_t values[8] = {s.DeckColour1, s.DeckColour2, s.DeckColour3, s.SeatColourB, s.SeatBorderB, s.SeatColourA, s.SeatBorderA, s.FeltColour};
    for (int i = 0; i < 8; ++i) SetButtonColour(i, ToQColor(values[i]));
    previewDesign_ = std::clamp(s.Deck, 0, 4);
    DrawPreview();
}

void OptionsDialog::SetButtonColour(int i, const QColor& c) {
    colours_[i] = c;
    // With a border of its own the button is painted flat in exactly this colour
    // (the style's gradient would wash it out).
    colourButtons[i]->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; border: 1px solid #505050; border-radius: 3px; "
                       "color: %2; min-height: 18px; }")
            .arg(c.name(), TableView::TextOn(c).name()));
    if (shapes_) shapes_->update();
}

void OptionsDialog::DrawPreview() {
    const QImage back = DrawDeck(table_.sprite(), previewDesign_, FromQColor(colours_[0]), FromQColor(colours_[1]),
                                 FromQColor(colours_[2]));
    deckPreview->setPixmap(QPixmap::fromImage(back));
}

void OptionsDialog::MarkChanged() {
    if (filling_) return;
    changed_ = isVisible();
    applyButton->setEnabled(changed_);
}

void OptionsDialog::SelectUserScheme() {
    // The list shows "UserDifiend!" without refilling the controls from the settings.
    schemeList->setCurrentIndex(settings::kUserScheme);
}

void OptionsDialog::PickColour(int i) {
    const QColor chosen = picker_(colours_[i], this);
    if (!chosen.isValid()) return;  // Cancel changes nothing
    SetButtonColour(i, chosen);
    if (i < 3) DrawPreview();
    SelectUserScheme();
    // Counts as a change, so that OK keeps it as Apply would.
    changed_ = true;
    applyButton->setEnabled(true);
}

void OptionsDialog::Navigate(bool deck, int step) {
    if (deck) {
        const int next = previewDesign_ + step;
        if (next >= 0 && next <= 4) previewDesign_ = next;
        DrawPreview();
    } else {
        const int next = speed_ + step;
        if (next >= 0 && next <= 5) {
            speed_ = next;
            speedChoices[speed_]->setChecked(true);
        }
    }
    MarkChanged();
    SelectUserScheme();
}

void OptionsDialog::Apply() {
    settings::Settings& s = preferences_.unsaved();
    s.Scheme = schemeList->currentIndex();
    if (s.Scheme == settings::kUserScheme) {
        uint32_t* fields[8] = {&s.DeckColour1, &s.DeckColour2, &s.DeckColour3, &s.SeatColourB, &s.SeatBorderB, &s.SeatColourA, &s.SeatBorderA, &s.FeltColour};
        for (int i = 0; i < 8; ++i) *fields[i] = FromQColor(colours_[i]);
        s.Deck = previewDesign_;
    } else {
        s.SetScheme(s.Scheme);
    }
    s.Speed = speed_;
    s.SoundFX = soundBox->isChecked();
    table_.SetFullScreen(fullScreenBox->isChecked());
    s.Talk = talkBox->isChecked();
    s.DimCards = dimCardsBox->isChecked();
    s.Level = static_cast<settings::ComputerLevel>(levelList->currentData().toInt());
    s.MoveLimit = moveLimit->value();
    s.Language = farsiChoice->isChecked() ? settings::LanguageChoice::Farsi : settings::LanguageChoice::English;
    table_.LoadSettings();
    table_.RedrawBack();
    preferences_.SaveAll();
    original_ = s;
    changed_ = false;
    applyButton->setEnabled(false);
    table_.RefreshPage();
    // Last: everything on screen, this dialog included, turns to the new language.
    if (*s.Language != CurrentLanguage()) UseLanguage(*s.Language);
}

} // namespace zarv::ui
