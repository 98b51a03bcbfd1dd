// The function-block window. It shows one block (its AND and OR conditions,
// settings, the block read as a sentence and its exact words) and reports the
// button pressed; while the block's settings or a new condition are asked
// for, the panel that asks takes the place of the buttons.
#pragma once

#include <QDialog>
#include <array>

#include "shell/LogicBlockUi.h"

class QButtonGroup;
class QComboBox;
class QEventLoop;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace cfg::gui {

class Translator;

class LogicBlockForm : public QDialog {
    Q_OBJECT
public:
    LogicBlockForm(Translator&, QWidget* parent);

    void ShowView(const LogicBlockView&);
    // Waits for one of the block buttons; closing the window counts as Close.
    LogicCommand WaitCommand();
    LogicSettingsAnswer AskSettings(const LogicSettingsRequest&);
    LogicConditionAnswer AskCondition(const LogicConditionRequest&);

    QListWidget* andList() const { return and_; }
    QListWidget* orList() const { return or_; }
    QPushButton* commandButton(int index) const { return commands_[static_cast<std::size_t>(index)]; }

protected:
    void closeEvent(QCloseEvent*) override;
    void reject() override;

private:
    // Runs a local loop until `word` is set by a button (0 = still waiting).
    int Wait();
    void Finish(int word);
    void ShowFrame(QWidget* frame);

    Translator& tr_;
    QLabel* name_;
    QLabel* state_;
    QListWidget* and_;
    QListWidget* or_;
    QLabel* threshold_;
    QLabel* output_;
    QLabel* activation_;
    QLabel* deactivation_;
    QLabel* sentence_;
    QLabel* fields_;
    QGroupBox* commandFrame_;
    std::array<QPushButton*, 8> commands_{};

    QGroupBox* conditionFrame_;
    QListWidget* categories_;
    QLabel* conditionPrompt_;
    std::array<QRadioButton*, 3> conditionOptions_{};

    QGroupBox* settingsFrame_;
    QComboBox* outputs_;
    QComboBox* activations_;
    QComboBox* durations_;
    QComboBox* thresholds_;
    QLabel* thresholdLabel_;
    QLabel* durationLabel_;
    std::array<QRadioButton*, 3> deactivationOptions_{};
    std::array<QRadioButton*, 2> typeOptions_{};

    QEventLoop* loop_ = nullptr;
    int word_ = 0;
    int listCode_ = 0;
};

}  // namespace cfg::gui
