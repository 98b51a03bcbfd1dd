// Pictures of a loop module, drawn with QPainter:
// - the overview: one cell per point (20 columns by 10 rows), the point's
//   window drawn as a band from Lo to Up with a tick at Mid and Hi, its live
//   reading as a bar coloured by its state (green normal, amber pre-alarm,
//   red alarm or fault), an empty point as a faint dashed cell, a point that
//   does not answer crossed out; devices left at address 0 in a cell of
//   their own before point 1;
// - the ranges: the same cells with the recorded minimum..maximum drawn
//   against the window, red where it left the window;
// - the walk test: the overview with every tested point ticked and every
//   untested configured point outlined;
// - the history of one point in the detail window: its readings over time
//   with the Lo, Mid, Hi and Up lines.
#pragma once

#include <QWidget>
#include <deque>
#include <functional>

#include "shell/LoopUi.h"

class QPainter;

namespace cfg::gui {

inline constexpr int kPictureColumns = 20;
inline constexpr int kPictureRows = 10;

// Paints the picture into `area`. The address-0 cell takes the first column
// of an extra top row.
void PaintLoopPicture(QPainter&, const QRect& area, const LoopPicture&);
// The shown point under `pos` in a picture painted into `area`; 0 for none.
int PointAtPosition(const QRect& area, const LoopPicture&, const QPoint& pos);

class LoopPictureWidget : public QWidget {
    Q_OBJECT
public:
    explicit LoopPictureWidget(QWidget* parent);
    void SetPicture(const LoopPicture&);
    const LoopPicture& picture() const { return picture_; }
    std::function<void(int point)> onPointClicked;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    LoopPicture picture_;
};

// The detail window's history: readings with the time they were taken.
class PointHistoryWidget : public QWidget {
    Q_OBJECT
public:
    explicit PointHistoryWidget(QWidget* parent);
    void Add(double seconds, const LoopMark&);
    void Clear();
    int Samples() const { return static_cast<int>(samples_.size()); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    struct Sample {
        double seconds;
        LoopMark mark;
    };
    std::deque<Sample> samples_;
};

}  // namespace cfg::gui
