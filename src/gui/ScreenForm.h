// A window that stays open while an operation shows its progress or result,
// as a grid of characters written by row and column in colour. Continue tells
// the operation that waits on the window that the user has read it; Close
// closes the window. While the session's ScreenLocked is set the window
// refuses to close.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "shell/Ui.h"

class QPushButton;

namespace cfg {
struct Session;
}

namespace cfg::gui {

class Translator;

// The character grid itself.
class ScreenGrid : public QWidget {
    Q_OBJECT
public:
    explicit ScreenGrid(QWidget* parent);
    void Resize(int rows, int cols);
    // Row and column are 1-based. A text that runs past the last column
    // widens the grid (up to kMaxColumns); beyond that it is cut.
    void Write(int row, int col, const QString& text, ScreenColor color);
    int Columns() const { return cols_; }
    static constexpr int kMaxColumns = 132;
    void Clear();
    // The text of one row (1-based), for tests and copying.
    QString RowText(int row) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void Widen(int cols);

    struct Cell {
        QChar ch = QLatin1Char(' ');
        ScreenColor color = ScreenColor::Default;
    };
    int rows_ = 0, cols_ = 0;
    std::vector<Cell> cells_;
};

class ScreenForm : public QWidget {
    Q_OBJECT
public:
    ScreenForm(Session&, Translator&, QWidget* parent);
    void Open(const std::string& title, int rows, int cols, QWidget* anchor);
    ScreenGrid* grid() const { return grid_; }
    QPushButton* auxButton() const { return aux_; }
    QPushButton* closeButton() const { return close_; }
    // Closes the window whatever the lock (the routine that owns it).
    void CloseByProgram();

protected:
    void closeEvent(QCloseEvent*) override;

private:
    Session& s_;
    Translator& tr_;
    ScreenGrid* grid_;
    QPushButton* aux_;
    QPushButton* close_;
    bool byProgram_ = false;
};

}  // namespace cfg::gui
