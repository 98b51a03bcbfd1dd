// The list of backup sets, newest first, with installation, panel, date, why
// it was kept and its files. Enter or a double click opens the set in focus;
// Escape closes the list without opening anything.
#pragma once

#include <QDialog>

#include "shell/Ui.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace cfg::gui {

class Translator;

class BackupsForm : public QDialog {
    Q_OBJECT
public:
    BackupsForm(Translator&, QWidget* parent);
    // The 0-based row opened, or -1.
    int Ask(const BackupListView&);
    QTreeWidget* list() const { return list_; }
    QPushButton* openButton() const { return open_; }

private:
    QLabel* folder_;
    QTreeWidget* list_;
    QPushButton* open_;
    QPushButton* close_;
};

}  // namespace cfg::gui
