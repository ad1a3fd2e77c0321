// The options: colour scheme and colours, card-back design, speed, sound,
// full screen, balloons and the language. Changes take effect through Apply or OK.
#pragma once

#include <QDialog>
#include <functional>

#include "settings/preferences.h"
#include "settings/settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace zarv::ui {

class TableWindow;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Asks for a colour starting from the given one; an invalid colour means Cancel.
    using ColourPicker = std::function<QColor(const QColor&, QWidget*)>;

    OptionsDialog(TableWindow& table, QWidget* parent = nullptr);
    void SetColourPicker(ColourPicker picker) { picker_ = std::move(picker); }

    // The controls, by the names the options are known by.
    QComboBox* schemeList = nullptr;
    QPushButton* colourButtons[8] = {};
    QPushButton* okButton = nullptr;
    QPushButton* applyButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* defaultButton = nullptr;
    QPushButton* previousDeckButton = nullptr;
    QPushButton* nextDeckButton = nullptr;
    QPushButton* slowerButton = nullptr;
    QPushButton* fasterButton = nullptr;
    QRadioButton* speedChoices[6] = {};
    QCheckBox* soundBox = nullptr;
    QCheckBox* talkBox = nullptr;
    QCheckBox* fullScreenBox = nullptr;
    QCheckBox* dimCardsBox = nullptr;
    QComboBox* levelList = nullptr;  // "Computer players": Beginner, Standard, Expert or Master
    QSpinBox* moveLimit = nullptr;  // seconds a network Dealer waits for a silent player
    QLabel* deckPreview = nullptr;
    QRadioButton* englishChoice = nullptr;
    QRadioButton* farsiChoice = nullptr;

    bool changed() const { return changed_; }
    int previewDesign() const { return previewDesign_; }
    int recordedSpeed() const { return speed_; }

    void Apply();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void reject() override;

private:
    // The dialog's frames, built and laid out once.
    void LayOut();
    QGroupBox* BuildDeckFrame();
    QGroupBox* BuildColourFrame(const QString& title, int first);
    QGroupBox* BuildAreaFrame();
    QGroupBox* BuildSpeedFrame();
    QGroupBox* BuildCheckFrame(const QString& title, const QString& caption, QCheckBox*& box);
    QGroupBox* BuildPlayersFrame();
    QGroupBox* BuildLanguageFrame();
    // The controls show the settings; nothing counts as a change yet.
    void ShowSettings();
    void ConnectControls();
    // Built anew in the language just chosen, showing what was just applied.
    void Retranslate();
    void Fill();
    void DrawPreview();
    void SetButtonColour(int i, const QColor& c);
    void MarkChanged();
    void SelectUserScheme();
    void PickColour(int i);
    void Navigate(bool deck, int step);

    TableWindow& table_;
    settings::Preferences& preferences_;
    settings::Settings original_;  // what Cancel puts back in memory
    ColourPicker picker_;
    QButtonGroup* speedGroup_ = nullptr;
    QColor colours_[8];
    QWidget* shapes_ = nullptr;
    int previewDesign_ = 0;
    bool retranslating_ = false;
    int speed_ = 0;
    bool changed_ = false;
    bool filling_ = false;
};

} // namespace zarv::ui
