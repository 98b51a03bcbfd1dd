// The choice menu: one button per item, in a column; a click answers with the
// item's index. Escape or the window's close button leaves without a choice.
#pragma once

#include <QDialog>
#include <vector>

#include "shell/Ui.h"

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace cfg::gui {

class Translator;

class MenuForm : public QDialog {
    Q_OBJECT
public:
    MenuForm(Translator&, QWidget* parent);
    // Returns the 0-based index of the chosen item, or -1.
    int Ask(const ChoiceRequest&, QWidget* anchor);
    const std::vector<QPushButton*>& buttons() const { return buttons_; }

private:
    Translator& tr_;
    QVBoxLayout* prompts_;
    QVBoxLayout* items_;
    std::vector<QPushButton*> buttons_;
    int choice_ = -1;
};

}  // namespace cfg::gui
