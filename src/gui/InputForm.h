// The dialog that asks for one value: a number, a text or an entry of a list.
// Enter or OK confirms, Cancel or Escape leaves without an answer. A number
// outside the allowed range is not accepted: the dialog stays open with the
// range shown. The same form has a date-and-time layout for setting the panel
// clock.
#pragma once

#include <QDialog>
#include <array>

#include "shell/Ui.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace cfg::gui {

class Translator;

class InputForm : public QDialog {
    Q_OBJECT
public:
    InputForm(Translator&, QWidget* parent);

    // Shows the dialog for `req` at its offsets from `anchor` and waits for
    // the answer.
    ValueAnswer Ask(const ValueRequest& req, QWidget* anchor);
    // The date-and-time layout: six fields prefilled from `fields`; on
    // confirmation they hold the texts as typed. focusField (0..5) is
    // selected and focused first; -1 for none.
    bool AskDateTime(const std::string& title, DateTimeFields& fields, int focusField, QWidget* anchor);

    // Whether `text` is a number that the request accepts (kind 1).
    static bool AcceptsNumber(const ValueRequest& req, const QString& text, double& value);

    QLineEdit* numberBox() const { return number_; }
    QLineEdit* textBox() const { return text_; }
    QComboBox* listBox() const { return list_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* abortButton() const { return abort_; }
    QLineEdit* dateField(int i) const { return dateFields_[static_cast<std::size_t>(i)]; }

private:
    void Confirm();
    void ShowLayout(bool dateTime);

    Translator& tr_;
    QLabel* prompt_;
    QLabel* range_;
    QLineEdit* number_;
    QLineEdit* text_;
    QComboBox* list_;
    QWidget* dateBox_;
    std::array<QLineEdit*, 6> dateFields_{};
    QPushButton* ok_;
    QPushButton* abort_;
    ValueRequest req_;
    bool dateMode_ = false;
};

}  // namespace cfg::gui
