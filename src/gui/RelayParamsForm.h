// In relay (file link) mode the serial settings come from the relay program;
// this box shows its baud rate and plant code, read-only.
#pragma once

#include <QDialog>
#include <string>

class QLabel;

namespace cfg::gui {

class Translator;

class RelayParamsForm : public QDialog {
    Q_OBJECT
public:
    RelayParamsForm(Translator&, const std::string& baud, const std::string& plantCode, QWidget* parent);
    QLabel* baudLabel() const { return baud_; }
    QLabel* plantCodeLabel() const { return plant_; }

private:
    QLabel* baud_;
    QLabel* plant_;
};

}  // namespace cfg::gui
