#include "LoopPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace cfg::gui {

namespace {

constexpr int kScale = 255;  // table bytes run 0..255
constexpr std::size_t kHistoryLimit = 600;

const QColor kNormal(46, 160, 67);
const QColor kPreAlarm(230, 150, 20);
const QColor kAlarm(210, 40, 40);
const QColor kSilent(120, 120, 120);
const QColor kBand(200, 220, 240);
const QColor kEmpty(225, 225, 225);
const QColor kTestedWash(46, 160, 67, 60);
const QColor kTestedTick(20, 110, 40);
const QColor kUntested(30, 100, 190);

QColor StateColour(int state) {
    switch (state) {
    case 1: return kNormal;
    case 2: return kPreAlarm;
    case 0:
    case 3: return kAlarm;
    default: return kSilent;
    }
}

// The rows of the picture: one more at the top when there is an address-0
// device to show.
bool HasAddressZero(const LoopPicture& p) { return p.addressZero[0] != 0 || p.addressZero[1] != 0; }

QRectF CellRect(const QRect& area, int column, int row, int rows) {
    const double w = area.width() / static_cast<double>(kPictureColumns);
    const double h = area.height() / static_cast<double>(rows);
    return QRectF(area.left() + column * w, area.top() + row * h, w, h).adjusted(1.5, 1.5, -1.5, -1.5);
}

// The top of a cell's scale: its window and values with a third to spare,
// so that a reading near its limits reads at a glance whatever the type.
int CellScale(const LoopMark& m) {
    int top = std::max({m.hi, m.up, m.reading, m.maximum == 255 ? 0 : m.maximum, 1});
    return std::min(kScale, top + top / 3 + 1);
}

// y of a table value inside a cell: 0 at the bottom, the cell's scale at the top.
double ValueY(const QRectF& cell, int value, int scale) {
    const double v = std::clamp(value, 0, scale) / static_cast<double>(scale);
    return cell.bottom() - v * cell.height();
}

void PaintMark(QPainter& p, const QRectF& cell, const LoopMark& m, LoopPicture::Kind kind) {
    if (!m.configured) {
        p.setPen(QPen(kEmpty, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(cell);
        return;
    }
    p.setPen(QPen(QColor(150, 160, 170), 1));
    p.setBrush(Qt::white);
    p.drawRect(cell);
    // The window: a band from Lo to Up, ticks at Mid and Hi.
    const int scale = CellScale(m);
    auto ValueY = [scale](const QRectF& c, int v) { return gui::ValueY(c, v, scale); };
    const double x0 = cell.left() + 1, x1 = cell.right() - 1;
    const double yLo = ValueY(cell, m.lo), yUp = ValueY(cell, m.up);
    p.fillRect(QRectF(x0, std::min(yLo, yUp), x1 - x0, std::abs(yLo - yUp)), kBand);
    p.setPen(QPen(kPreAlarm, 1));
    p.drawLine(QPointF(x0, ValueY(cell, m.mid)), QPointF(x1, ValueY(cell, m.mid)));
    p.setPen(QPen(kAlarm, 1));
    p.drawLine(QPointF(x0, ValueY(cell, m.hi)), QPointF(x1, ValueY(cell, m.hi)));

    const double barW = std::max(3.0, cell.width() / 3);
    const double bx = cell.center().x() - barW / 2;
    if (kind == LoopPicture::Kind::Ranges) {
        if (m.minimum == 255 && m.maximum == 255) return;
        const int lo = m.minimum == 255 ? m.maximum : m.minimum;
        const int hi = m.maximum == 255 ? m.minimum : m.maximum;
        const bool outside = (m.minimum != 255 && m.minimum <= m.lo) || (m.maximum != 255 && m.maximum >= m.up);
        const double yTop = ValueY(cell, hi), yBottom = ValueY(cell, lo);
        p.fillRect(QRectF(bx, yTop, barW, std::max(2.0, yBottom - yTop)), outside ? kAlarm : kNormal);
        return;
    }
    if (!m.answering) {
        p.setPen(QPen(kAlarm, 1.5));
        p.drawLine(cell.topLeft() + QPointF(2, 2), cell.bottomRight() - QPointF(2, 2));
        p.drawLine(cell.topRight() + QPointF(-2, 2), cell.bottomLeft() + QPointF(2, -2));
        return;
    }
    if (m.reading < 0) {
        // A file set has no live part: the window alone.
        p.fillRect(QRectF(bx, cell.bottom() - 3, barW, 2), QColor(90, 110, 140));
        return;
    }
    const double y = ValueY(cell, m.reading);
    p.fillRect(QRectF(bx, y, barW, std::max(2.0, cell.bottom() - y)), StateColour(m.state));
}

// The walk test over a mark: a tested point ticked on a green wash, an
// untested configured point outlined, a point that answered in alarm without
// being configured framed in red with a question mark.
void PaintWalk(QPainter& p, const QRectF& cell, const LoopMark& m) {
    // Straight lines without antialiasing: the view repaints 400 cells on
    // every read of the loop.
    p.setBrush(Qt::NoBrush);
    if (m.walk == 2) {
        p.fillRect(cell, kTestedWash);
        // The tick as three one-pixel strokes side by side: cosmetic lines
        // are drawn far faster than a wide pen.
        p.setPen(QPen(kTestedTick, 0));
        const double side = std::min(cell.width(), cell.height()) * 0.8;
        const QPointF corner(cell.center().x() - side / 2, cell.center().y() - side / 2);
        for (int d = -1; d <= 1; ++d) {
            const QPointF tick[3] = {corner + QPointF(0.15 * side, 0.55 * side + d),
                                     corner + QPointF(0.40 * side, 0.80 * side + d),
                                     corner + QPointF(0.88 * side, 0.18 * side + d)};
            p.drawPolyline(tick, 3);
        }
    } else if (m.walk == 1) {
        p.setPen(QPen(kUntested, 2));
        p.drawRect(cell.adjusted(1, 1, -1, -1));
    } else if (m.walk == 3) {
        p.setPen(QPen(kAlarm, 2, Qt::DashLine));
        p.drawRect(cell.adjusted(1, 1, -1, -1));
        p.setPen(kAlarm);
        p.drawText(cell, Qt::AlignCenter, QStringLiteral("?"));
    }
}

}  // namespace

void PaintLoopPicture(QPainter& p, const QRect& area, const LoopPicture& pic) {
    p.fillRect(area, QColor(246, 248, 250));
    const bool zero = HasAddressZero(pic);
    const int rows = kPictureRows + (zero ? 1 : 0);
    const int firstRow = zero ? 1 : 0;
    p.setRenderHint(QPainter::Antialiasing, false);
    for (std::size_t i = 0; i < pic.marks.size() && i < static_cast<std::size_t>(kPictureColumns * kPictureRows); ++i) {
        const int column = static_cast<int>(i) % kPictureColumns;
        const int row = firstRow + static_cast<int>(i) / kPictureColumns;
        const QRectF cell = CellRect(area, column, row, rows);
        PaintMark(p, cell, pic.marks[i], pic.kind);
        if (pic.kind == LoopPicture::Kind::Walk) PaintWalk(p, cell, pic.marks[i]);
    }
    if (zero) {
        const QRectF cell = CellRect(area, 0, 0, rows);
        p.setPen(QPen(kAlarm, 1.5));
        p.setBrush(QColor(255, 235, 200));
        p.drawEllipse(cell.adjusted(2, 2, -2, -2));
        p.setPen(Qt::black);
        p.drawText(cell, Qt::AlignCenter, QStringLiteral("0"));
    }
    // Every tenth point is numbered along the left edge.
    p.setPen(QColor(90, 90, 90));
    QFont f = p.font();
    f.setPointSizeF(7);
    p.setFont(f);
    for (int row = 0; row < kPictureRows && !pic.marks.empty(); ++row) {
        const QRectF cell = CellRect(area, 0, firstRow + row, rows);
        const int first = pic.marks.front().point + row * kPictureColumns;
        p.drawText(cell.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(first));
    }
}

int PointAtPosition(const QRect& area, const LoopPicture& pic, const QPoint& pos) {
    if (!area.contains(pos) || pic.marks.empty()) return 0;
    const bool zero = HasAddressZero(pic);
    const int rows = kPictureRows + (zero ? 1 : 0);
    const int column = (pos.x() - area.left()) * kPictureColumns / std::max(1, area.width());
    int row = (pos.y() - area.top()) * rows / std::max(1, area.height());
    if (zero) --row;
    if (row < 0 || row >= kPictureRows || column < 0 || column >= kPictureColumns) return 0;
    const std::size_t i = static_cast<std::size_t>(row * kPictureColumns + column);
    return i < pic.marks.size() ? pic.marks[i].point : 0;
}

// --- the widget ---------------------------------------------------------------------

LoopPictureWidget::LoopPictureWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PICLoop"));
    setMinimumSize(360, 220);
    setCursor(Qt::PointingHandCursor);
}

void LoopPictureWidget::SetPicture(const LoopPicture& p) {
    picture_ = p;
    update();
}

QSize LoopPictureWidget::sizeHint() const { return QSize(440, 300); }

void LoopPictureWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintLoopPicture(p, rect(), picture_);
}

void LoopPictureWidget::mousePressEvent(QMouseEvent* e) {
    const int point = PointAtPosition(rect(), picture_, e->position().toPoint());
    if (point > 0 && onPointClicked) onPointClicked(point);
}

// --- the history ----------------------------------------------------------------------

PointHistoryWidget::PointHistoryWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PICHistory"));
    setMinimumSize(360, 140);
}

void PointHistoryWidget::Add(double seconds, const LoopMark& m) {
    samples_.push_back({seconds, m});
    while (samples_.size() > kHistoryLimit) samples_.pop_front();
    update();
}

void PointHistoryWidget::Clear() {
    samples_.clear();
    update();
}

QSize PointHistoryWidget::sizeHint() const { return QSize(480, 160); }

void PointHistoryWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF area = QRectF(rect()).adjusted(36, 8, -8, -18);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(180, 180, 180));
    p.drawRect(area);
    if (samples_.empty()) return;
    const LoopMark& last = samples_.back().mark;
    // The vertical range takes in the window and every reading, with a margin.
    int top = std::max(last.hi, last.up), bottom = last.lo;
    for (const auto& s : samples_) {
        top = std::max(top, s.mark.reading);
        bottom = std::min(bottom, s.mark.reading);
    }
    top = std::min(kScale, top + 4);
    bottom = std::max(0, bottom - 4);
    const double span = std::max(1, top - bottom);
    auto y = [&](int v) { return area.bottom() - (v - bottom) / span * area.height(); };
    const double t0 = samples_.front().seconds, t1 = std::max(samples_.back().seconds, t0 + 10);
    auto x = [&](double t) { return area.left() + (t - t0) / (t1 - t0) * area.width(); };

    p.setRenderHint(QPainter::Antialiasing, true);
    struct Line {
        int value;
        QColor colour;
        const char* label;
    };
    for (const Line& l : {Line{last.lo, kAlarm, "Lo"}, Line{last.mid, kPreAlarm, "Mid"}, Line{last.hi, kAlarm, "Hi"},
                          Line{last.up, QColor(60, 100, 200), "Up"}}) {
        p.setPen(QPen(l.colour, 1, Qt::DashLine));
        p.drawLine(QPointF(area.left(), y(l.value)), QPointF(area.right(), y(l.value)));
        p.setPen(l.colour);
        p.drawText(QRectF(0, y(l.value) - 7, 34, 14), Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromLatin1(l.label));
    }
    QPainterPath path;
    for (std::size_t i = 0; i < samples_.size(); ++i) {
        const QPointF pt(x(samples_[i].seconds), y(samples_[i].mark.reading));
        if (i == 0) path.moveTo(pt);
        else path.lineTo(pt);
    }
    p.setPen(QPen(QColor(30, 30, 30), 1.5));
    p.drawPath(path);
    for (const auto& s : samples_) {
        p.setPen(Qt::NoPen);
        p.setBrush(StateColour(s.mark.state));
        p.drawEllipse(QPointF(x(s.seconds), y(s.mark.reading)), 2.5, 2.5);
    }
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRectF(area.left(), area.bottom() + 2, area.width(), 14), Qt::AlignRight,
               QStringLiteral("%1 s").arg(static_cast<int>(t1 - t0)));
}

}  // namespace cfg::gui
