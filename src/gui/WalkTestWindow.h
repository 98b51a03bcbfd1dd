// The walk-test window: the loop picture with every tested point ticked and
// every untested configured point outlined, the count per module, the events
// newest first, and the buttons Start, Continue, Stop, Save report and Close.
// It only records what the user did.
//
// Keyboard: Tab moves between the buttons and the event list, Ctrl+S saves
// the report, Escape closes.
#pragma once

#include <QWidget>

#include "shell/WalkTestUi.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace cfg::gui {

class LoopPictureWidget;
class Translator;

class WalkTestWindow : public QWidget {
    Q_OBJECT
public:
    WalkTestWindow(Translator&, QWidget* parent);
    void Open(const WalkTestSpec&, QWidget* anchor);
    void Show(const WalkTestViewData&);
    WalkTestInput Take();
    void CloseByProgram();

    LoopPictureWidget* pictureWidget() const { return picture_; }
    QListWidget* events() const { return events_; }
    QLabel* summary() const { return summary_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* continueButton() const { return continue_; }
    QPushButton* stopButton() const { return stop_; }
    QPushButton* reportButton() const { return report_; }
    QPushButton* closeButton() const { return close_; }

protected:
    void closeEvent(QCloseEvent*) override;

private:
    Translator& tr_;
    LoopPictureWidget* picture_;
    QLabel* summary_;
    QLabel* status_;
    QListWidget* events_;
    QPushButton* start_;
    QPushButton* continue_;
    QPushButton* stop_;
    QPushButton* report_;
    QPushButton* close_;
    WalkTestInput input_;
    bool byProgram_ = false;
};

}  // namespace cfg::gui
