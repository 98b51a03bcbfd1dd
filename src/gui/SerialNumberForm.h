// The serial number and production date of the connected panel (captions
// under [FRMSerlz] in the language files). The last number and date given
// are shown read-only; the proposal can be changed. OK accepts; Cancel, or
// closing the window, leaves both as they are.
#pragma once

#include <QDialog>

#include "shell/Ui.h"

class QLineEdit;
class QPushButton;

namespace cfg::gui {

class Translator;

class SerialNumberForm : public QDialog {
    Q_OBJECT
public:
    SerialNumberForm(Translator&, QWidget* parent);
    // Shows the fields; on OK copies the new number and date back and
    // returns true. focusField selects the entry rejected last time.
    bool Ask(SerialNumberFields&, int focusField, QWidget* anchor);

    QLineEdit* newNumberBox() const { return newNumber_; }
    QLineEdit* newDateBox() const { return newDate_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* abortButton() const { return abort_; }

private:
    QLineEdit* lastNumber_;
    QLineEdit* lastDate_;
    QLineEdit* newNumber_;
    QLineEdit* newDate_;
    QPushButton* ok_;
    QPushButton* abort_;
};

}  // namespace cfg::gui
