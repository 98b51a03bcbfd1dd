// The dialog that asks for one display text (captions under [FRMInpMsg] in
// the language files). One text box limited to the display's width; where
// the request allows it, a button switches to range entry: the first and
// last entry to write, and a check box that counts up a number ending the
// text from entry to entry. The text box stays: its text goes to every
// entry of the range.
#pragma once

#include <QDialog>

#include "shell/Ui.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace cfg {
struct Session;
}

namespace cfg::gui {

class Translator;

class MessageInputForm : public QDialog {
    Q_OBJECT
public:
    MessageInputForm(Session&, Translator&, QWidget* parent);
    MessageAnswer Ask(const MessageRequest&, QWidget* anchor);
    QLineEdit* textBox() const { return text_; }
    QPushButton* rangeButton() const { return range_; }
    QLineEdit* firstBox() const { return from_; }
    QLineEdit* lastBox() const { return to_; }
    QCheckBox* countUpBox() const { return countUp_; }

private:
    void SwitchToRange();

    Session& s_;
    QLabel* prompt_;
    QLabel* ruler_;
    QLineEdit* text_;
    QPushButton* range_;
    QGroupBox* rangeFrame_;
    QLineEdit* from_;
    QLineEdit* to_;
    QCheckBox* countUp_;
    bool rangeMode_ = false;
};

}  // namespace cfg::gui
