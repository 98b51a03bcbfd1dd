// The point dialog of the zones section: one button sets the zone, one the
// type, OK both; Cancel, or closing the window, changes nothing.
#pragma once

#include <QDialog>

#include "shell/Ui.h"

class QLabel;
class QPushButton;

namespace cfg::gui {

class Translator;

class SensorInputForm : public QDialog {
    Q_OBJECT
public:
    SensorInputForm(Translator&, QWidget* parent);
    // Shows the dialog and returns the result word (kSensorInput...).
    int Ask(const SensorInputRequest&, QWidget* anchor);

    QPushButton* groupButton() const { return group_; }
    QPushButton* typeButton() const { return type_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    QLabel* prompt_;
    QPushButton* group_;
    QPushButton* type_;
    QPushButton* ok_;
    QPushButton* cancel_;
    int result_ = kSensorInputCancelled;
};

}  // namespace cfg::gui
