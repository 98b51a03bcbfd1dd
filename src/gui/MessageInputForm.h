// FRMInpMsg: the message-input dialog of the display texts. One text box
// (TXTStringa) limited to the display's width; CMDImpGrup switches to the
// range entry (frame FRADaa with TXTDa and TXTA) where the request allows it.
#pragma once

#include <QDialog>

#include "shell/Ui.h"

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
    bool rangeMode_ = false;
};

}  // namespace cfg::gui
