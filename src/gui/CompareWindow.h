// The differences between two configurations, grouped by section in a tree
// (each group with its number of differences, open). The arrow keys move
// through the lines, Left and Right fold and unfold a group, Ctrl+S saves the
// comparison as text, Escape closes the window.
#pragma once

#include <QDialog>

#include "shell/Ui.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace cfg::gui {

class Translator;

class CompareWindow : public QDialog {
    Q_OBJECT
public:
    CompareWindow(Translator&, QWidget* parent);
    // Shows the comparison until the window is closed.
    void Show(const ComparisonView&);
    // Fills the window without waiting (Show, tests).
    void Fill(const ComparisonView&);
    QTreeWidget* tree() const { return tree_; }
    QPushButton* saveButton() const { return save_; }
    // Writes the text report; false when the file cannot be written.
    bool SaveReport(const QString& path) const;

private:
    void SaveAs();

    QLabel* sides_;
    QLabel* summary_;
    QTreeWidget* tree_;
    QPushButton* save_;
    QPushButton* close_;
    ComparisonView view_;
};

}  // namespace cfg::gui
