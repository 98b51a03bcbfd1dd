// The windows of the loop-module views:
// - LoopListWindow: the list of a view (sensors or min/max)
//   beside its picture, which a check box hides or shows; a close button and,
//   for min/max, a reset button. It only records what the user did.
// - LoopGridWindow: a character grid written by row and column. As the
//   sensor detail window it carries the point's history under the grid; as
//   the window of the errors, current and auto-configuration views it may
//   carry a reset button.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "shell/LoopUi.h"

class QCheckBox;
class QListWidget;
class QPushButton;

namespace cfg::gui {

class LoopPictureWidget;
class PointHistoryWidget;
class ScreenGrid;
class Translator;

class LoopListWindow : public QWidget {
    Q_OBJECT
public:
    LoopListWindow(Translator&, QWidget* parent);
    void Open(const LoopListSpec&, QWidget* anchor);
    void Show(const std::vector<std::string>& lines, const LoopPicture&, int top, int selected);
    int TopIndex() const;
    int SelectedIndex() const;
    LoopListInput Take();
    void CloseByProgram();

    QListWidget* list() const { return list_; }
    LoopPictureWidget* pictureWidget() const { return picture_; }
    QCheckBox* pictureToggle() const { return toggle_; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* resetButton() const { return reset_; }

protected:
    void closeEvent(QCloseEvent*) override;
    bool eventFilter(QObject*, QEvent*) override;

private:
    Translator& tr_;
    QListWidget* list_;
    LoopPictureWidget* picture_;
    QCheckBox* toggle_;
    QPushButton* close_;
    QPushButton* reset_;
    LoopListInput input_;
    bool byProgram_ = false;
};

class LoopGridWindow : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Detail, Diagnostic };
    LoopGridWindow(Kind, Translator&, QWidget* parent);
    void Open(const std::string& title, int rows, int cols, bool withReset, QWidget* anchor);
    ScreenGrid* grid() const { return grid_; }
    PointHistoryWidget* history() const { return history_; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* resetButton() const { return reset_; }
    bool TakeReset();
    void CloseByProgram();

private:
    ScreenGrid* grid_;
    PointHistoryWidget* history_ = nullptr;
    QPushButton* close_;
    QPushButton* reset_;
    bool reset_requested_ = false;
};

}  // namespace cfg::gui
