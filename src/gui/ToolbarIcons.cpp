#include "ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <functional>
#include <map>

namespace cfg::gui {

namespace {

// Every symbol is drawn on a 32 x 32 grid; the painter is scaled for larger
// sizes.
using Drawer = std::function<void(QPainter&)>;

const QColor kInk(40, 48, 60);
const QColor kRed(200, 40, 40);
const QColor kBlue(30, 100, 190);
const QColor kGreen(30, 140, 70);
const QColor kAmber(225, 150, 20);
const QColor kPaper(250, 250, 245);

QPen Pen(const QColor& c, double w = 2.0) {
    QPen p(c, w);
    p.setJoinStyle(Qt::RoundJoin);
    p.setCapStyle(Qt::RoundCap);
    return p;
}

void Document(QPainter& p, double x, double y, double w, double h) {
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + w - 6, y);
    path.lineTo(x + w, y + 6);
    path.lineTo(x + w, y + h);
    path.lineTo(x, y + h);
    path.closeSubpath();
    p.setPen(Pen(kInk, 1.6));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(x + w - 6, y), QPointF(x + w - 6, y + 6));
    p.drawLine(QPointF(x + w - 6, y + 6), QPointF(x + w, y + 6));
}

void PanelBox(QPainter& p, double x, double y, double w, double h) {
    p.setPen(Pen(kInk, 1.6));
    p.setBrush(QColor(215, 60, 50));
    p.drawRoundedRect(QRectF(x, y, w, h), 2, 2);
    p.setBrush(QColor(200, 235, 200));
    p.drawRect(QRectF(x + 3, y + 3, w - 6, h / 3));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c) {
    p.setPen(Pen(c, 2.6));
    p.drawLine(from, to);
    double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    QPointF l(to.x() - 6 * std::cos(a - 0.6), to.y() - 6 * std::sin(a - 0.6));
    QPointF r(to.x() - 6 * std::cos(a + 0.6), to.y() - 6 * std::sin(a + 0.6));
    p.setBrush(c);
    p.drawPolygon(QPolygonF({to, l, r}));
}

void ClockFace(QPainter& p, QPointF c, double r, double hourDeg, double minDeg) {
    p.setPen(Pen(kInk, 1.8));
    p.setBrush(kPaper);
    p.drawEllipse(c, r, r);
    for (int i = 0; i < 12; ++i) {
        double a = i * M_PI / 6;
        p.drawLine(QPointF(c.x() + (r - 2.5) * std::sin(a), c.y() - (r - 2.5) * std::cos(a)),
                   QPointF(c.x() + (r - 1) * std::sin(a), c.y() - (r - 1) * std::cos(a)));
    }
    auto hand = [&](double deg, double len, const QColor& col, double w) {
        double a = deg * M_PI / 180;
        p.setPen(Pen(col, w));
        p.drawLine(c, QPointF(c.x() + len * std::sin(a), c.y() - len * std::cos(a)));
    };
    hand(hourDeg, r * 0.5, kInk, 2.4);
    hand(minDeg, r * 0.8, kBlue, 1.8);
}

void Checklist(QPainter& p, bool superior) {
    for (int i = 0; i < 3; ++i) {
        double y = 5 + i * 8.5;
        p.setPen(Pen(kInk, 1.4));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4, y, 6.5, 6.5));
        if (i != 1) {
            p.setPen(Pen(kGreen, 2.0));
            p.drawLine(QPointF(5, y + 3.5), QPointF(7, y + 5.5));
            p.drawLine(QPointF(7, y + 5.5), QPointF(10.5, y + 0.5));
        }
        p.setPen(Pen(kInk, 2.0));
        p.drawLine(QPointF(14, y + 3.3), QPointF(superior ? 20 : 28, y + 3.3));
    }
    if (superior) {
        // A key: these options are for the panel's owner.
        p.setPen(Pen(kAmber.darker(130), 1.6));
        p.setBrush(kAmber);
        p.drawEllipse(QPointF(24, 11), 4.5, 4.5);
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(24, 11), 1.5, 1.5);
        p.setPen(Pen(kAmber.darker(130), 2.4));
        p.drawLine(QPointF(24, 15.5), QPointF(24, 28));
        p.drawLine(QPointF(24, 24), QPointF(27.5, 24));
        p.drawLine(QPointF(24, 27.5), QPointF(27, 27.5));
    }
}

const std::map<QString, Drawer>& Drawers() {
    static const std::map<QString, Drawer> drawers = {
        {"crea", [](QPainter& p) {
             Document(p, 6, 3, 18, 25);
             p.setPen(Pen(kGreen, 3.2));
             p.drawLine(QPointF(24, 17), QPointF(24, 29));
             p.drawLine(QPointF(18, 23), QPointF(30, 23));
         }},
        {"trasferisce", [](QPainter& p) {
             // A computer and a panel with data going both ways.
             p.setPen(Pen(kInk, 1.6));
             p.setBrush(QColor(190, 215, 240));
             p.drawRect(QRectF(2, 6, 11, 9));
             p.drawLine(QPointF(7.5, 15), QPointF(7.5, 18));
             p.drawLine(QPointF(4, 18.5), QPointF(11, 18.5));
             PanelBox(p, 19, 14, 11, 15);
             Arrow(p, QPointF(9, 23), QPointF(17, 23), kBlue);
             Arrow(p, QPointF(21, 9), QPointF(14, 9), kGreen);
         }},
        {"apre", [](QPainter& p) {
             p.setPen(Pen(kInk, 1.6));
             p.setBrush(QColor(240, 200, 90));
             QPainterPath back;
             back.moveTo(3, 8); back.lineTo(11, 8); back.lineTo(13, 11); back.lineTo(27, 11);
             back.lineTo(27, 26); back.lineTo(3, 26); back.closeSubpath();
             p.drawPath(back);
             p.setBrush(QColor(250, 220, 120));
             QPainterPath front;
             front.moveTo(3, 26); front.lineTo(8, 15); front.lineTo(31, 15); front.lineTo(27, 26);
             front.closeSubpath();
             p.drawPath(front);
         }},
        {"vimom", [](QPainter& p) {
             // A loop with its addressable points.
             p.setPen(Pen(kBlue, 2.2));
             p.setBrush(Qt::NoBrush);
             p.drawRoundedRect(QRectF(5, 6, 22, 20), 8, 8);
             p.setPen(Pen(kInk, 1.2));
             p.setBrush(kRed);
             for (QPointF c : {QPointF(16, 6), QPointF(27, 16), QPointF(16, 26), QPointF(5, 16)})
                 p.drawEllipse(c, 3, 3);
         }},
        {"zone", [](QPainter& p) {
             const QColor colors[4] = {QColor(230, 80, 70), QColor(80, 160, 230), QColor(90, 190, 110),
                                       QColor(240, 190, 60)};
             p.setPen(Pen(kInk, 1.4));
             for (int i = 0; i < 4; ++i) {
                 p.setBrush(colors[i]);
                 p.drawRect(QRectF(4 + (i % 2) * 12.5, 4 + (i / 2) * 12.5, 11, 11));
             }
         }},
        {"tempi", [](QPainter& p) {
             // An hourglass.
             p.setPen(Pen(kInk, 1.8));
             p.drawLine(QPointF(8, 4), QPointF(24, 4));
             p.drawLine(QPointF(8, 28), QPointF(24, 28));
             p.setBrush(kPaper);
             QPainterPath glass;
             glass.moveTo(10, 4); glass.lineTo(22, 4); glass.lineTo(16, 16); glass.lineTo(22, 28);
             glass.lineTo(10, 28); glass.lineTo(16, 16); glass.closeSubpath();
             p.drawPath(glass);
             p.setPen(Qt::NoPen);
             p.setBrush(kAmber);
             p.drawPolygon(QPolygonF({QPointF(12.5, 8), QPointF(19.5, 8), QPointF(16, 14)}));
             p.drawPolygon(QPolygonF({QPointF(16, 21), QPointF(20.5, 27), QPointF(11.5, 27)}));
         }},
        {"opzioni", [](QPainter& p) { Checklist(p, false); }},
        {"opsup", [](QPainter& p) { Checklist(p, true); }},
        {"logiche", [](QPainter& p) {
             // An AND gate.
             p.setPen(Pen(kInk, 1.8));
             p.drawLine(QPointF(2, 11), QPointF(9, 11));
             p.drawLine(QPointF(2, 21), QPointF(9, 21));
             p.drawLine(QPointF(24, 16), QPointF(30, 16));
             p.setBrush(QColor(190, 215, 240));
             QPainterPath gate;
             gate.moveTo(9, 6); gate.lineTo(15, 6);
             gate.arcTo(QRectF(5, 6, 20, 20), 90, -180);
             gate.lineTo(9, 26); gate.closeSubpath();
             p.drawPath(gate);
         }},
        {"orologio", [](QPainter& p) { ClockFace(p, QPointF(16, 16), 13, 300, 60); }},
        {"display", [](QPainter& p) {
             p.setPen(Pen(kInk, 1.6));
             p.setBrush(QColor(70, 80, 90));
             p.drawRoundedRect(QRectF(2, 7, 28, 18), 2, 2);
             p.setBrush(QColor(170, 220, 120));
             p.drawRect(QRectF(5, 10, 22, 12));
             p.setPen(Pen(QColor(30, 60, 20), 1.6));
             p.drawLine(QPointF(7, 14), QPointF(22, 14));
             p.drawLine(QPointF(7, 18.5), QPointF(18, 18.5));
         }},
        {"parcom", [](QPainter& p) {
             // An identity card with a link plug.
             p.setPen(Pen(kInk, 1.6));
             p.setBrush(kPaper);
             p.drawRoundedRect(QRectF(2, 6, 22, 17), 2, 2);
             p.setBrush(QColor(190, 215, 240));
             p.drawEllipse(QPointF(8.5, 12.5), 3, 3);
             p.drawLine(QPointF(14, 11), QPointF(21, 11));
             p.drawLine(QPointF(14, 15), QPointF(21, 15));
             p.drawLine(QPointF(5, 19), QPointF(21, 19));
             p.setBrush(kBlue);
             p.drawRect(QRectF(21, 20, 9, 7));
             p.setPen(Pen(kBlue, 1.8));
             p.drawLine(QPointF(23.5, 27), QPointF(23.5, 30));
             p.drawLine(QPointF(27.5, 27), QPointF(27.5, 30));
         }},
        {"moduli", [](QPainter& p) {
             // Modules on a rail.
             p.setPen(Pen(kInk, 1.6));
             p.drawLine(QPointF(2, 27), QPointF(30, 27));
             for (int i = 0; i < 3; ++i) {
                 p.setBrush(i == 1 ? QColor(90, 190, 110) : QColor(190, 215, 240));
                 p.drawRect(QRectF(3 + i * 9.5, 7, 7.5, 18));
                 p.drawLine(QPointF(5 + i * 9.5, 11), QPointF(8.5 + i * 9.5, 11));
             }
         }},
        {"chiude", [](QPainter& p) {
             // A door with an arrow leaving through it.
             p.setPen(Pen(kInk, 1.6));
             p.setBrush(QColor(200, 160, 110));
             p.drawRect(QRectF(4, 3, 15, 26));
             p.setBrush(kInk);
             p.drawEllipse(QPointF(16, 17), 1.3, 1.3);
             Arrow(p, QPointF(14, 16), QPointF(30, 16), kRed);
         }},
        {"stampa", [](QPainter& p) {
             p.setPen(Pen(kInk, 1.6));
             p.setBrush(kPaper);
             p.drawRect(QRectF(9, 3, 14, 10));
             p.setBrush(QColor(150, 160, 170));
             p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
             p.setBrush(kPaper);
             p.drawRect(QRectF(9, 19, 14, 10));
             p.drawLine(QPointF(11, 23), QPointF(21, 23));
             p.drawLine(QPointF(11, 26), QPointF(19, 26));
             p.setBrush(kGreen);
             p.drawEllipse(QPointF(25, 15.5), 1.3, 1.3);
         }},
        // Toolbar2: the loop module views.
        {"visloop", [](QPainter& p) {
             Document(p, 4, 3, 20, 26);
             p.setPen(Pen(kBlue, 1.8));
             for (int i = 0; i < 5; ++i) p.drawLine(QPointF(8, 10 + i * 3.8), QPointF(20, 10 + i * 3.8));
         }},
        {"minmax", [](QPainter& p) {
             p.setPen(Pen(kInk, 1.4));
             p.setBrush(QColor(190, 215, 240));
             p.drawRect(QRectF(5, 14, 6, 14));
             p.drawRect(QRectF(13, 6, 6, 22));
             p.drawRect(QRectF(21, 18, 6, 10));
             Arrow(p, QPointF(29, 14), QPointF(29, 3), kRed);
         }},
        {"soglie", [](QPainter& p) {
             p.setPen(Pen(kRed, 2.0));
             p.drawLine(QPointF(3, 8), QPointF(29, 8));
             p.setPen(Pen(kAmber, 2.0));
             p.drawLine(QPointF(3, 15), QPointF(29, 15));
             p.setPen(Pen(kBlue, 2.2));
             p.drawPolyline(QPolygonF({QPointF(3, 26), QPointF(9, 22), QPointF(14, 24), QPointF(19, 17),
                                       QPointF(24, 20), QPointF(29, 12)}));
         }},
        {"autocf", [](QPainter& p) {
             // The loop learns its sensors by itself: a loop with a star.
             p.setPen(Pen(kBlue, 2.0));
             p.setBrush(Qt::NoBrush);
             p.drawRoundedRect(QRectF(3, 9, 18, 18), 6, 6);
             p.setPen(Pen(kAmber.darker(120), 1.2));
             p.setBrush(kAmber);
             QPolygonF star;
             for (int i = 0; i < 10; ++i) {
                 double r = (i % 2) ? 3.2 : 7.5, a = i * M_PI / 5 - M_PI / 2;
                 star << QPointF(23 + r * std::cos(a), 9 + r * std::sin(a));
             }
             p.drawPolygon(star);
         }},
        {"errloop", [](QPainter& p) {
             p.setPen(Pen(kInk, 1.6));
             p.setBrush(QColor(250, 200, 40));
             p.drawPolygon(QPolygonF({QPointF(16, 3), QPointF(30, 28), QPointF(2, 28)}));
             p.setPen(Pen(kInk, 3.0));
             p.drawLine(QPointF(16, 11), QPointF(16, 19));
             p.drawPoint(QPointF(16, 24));
         }},
        {"iloop", [](QPainter& p) {
             // A current meter.
             p.setPen(Pen(kInk, 1.6));
             p.setBrush(kPaper);
             p.drawRoundedRect(QRectF(3, 4, 26, 24), 3, 3);
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(7, 9, 18, 18), 30 * 16, 120 * 16);
             p.setPen(Pen(kRed, 2.0));
             p.drawLine(QPointF(16, 18), QPointF(22, 11));
             p.setPen(Pen(kInk, 1.0));
             QFont f;
             f.setPixelSize(7);
             f.setBold(true);
             p.setFont(f);
             p.drawText(QRectF(3, 19, 26, 8), Qt::AlignCenter, QStringLiteral("mA"));
         }},
        {"walktest", [](QPainter& p) {
             // Someone walking past a detector, and a tick: the walk test.
             p.setPen(Pen(kInk, 1.4));
             p.setBrush(kPaper);
             p.drawEllipse(QRectF(18, 2, 12, 6));
             p.setBrush(kRed);
             p.drawEllipse(QPointF(24, 7), 1.6, 1.6);
             p.setBrush(kInk);
             p.drawEllipse(QPointF(9, 7), 2.6, 2.6);
             p.setPen(Pen(kInk, 2.4));
             p.drawLine(QPointF(9, 10), QPointF(8, 19));
             p.drawLine(QPointF(8, 19), QPointF(4, 29));
             p.drawLine(QPointF(8, 19), QPointF(13, 28));
             p.drawLine(QPointF(9, 12), QPointF(4, 17));
             p.drawLine(QPointF(9, 12), QPointF(14, 15));
             p.setPen(Pen(kGreen, 3.0));
             p.drawPolyline(QPolygonF({QPointF(16, 21), QPointF(20, 26), QPointF(29, 14)}));
         }},
        {"endvimom", [](QPainter& p) {
             p.setPen(Pen(kInk, 1.6));
             p.setBrush(kPaper);
             p.drawRect(QRectF(3, 4, 14, 24));
             Arrow(p, QPointF(12, 16), QPointF(30, 16), kRed);
         }},
    };
    return drawers;
}

QPixmap Render(const QString& key, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    auto it = Drawers().find(key);
    if (it != Drawers().end()) {
        it->second(p);
    } else {
        p.setPen(Pen(kInk, 1.6));
        p.setBrush(kPaper);
        p.drawRect(QRectF(6, 6, 20, 20));
    }
    return pm;
}

}  // namespace

QIcon ToolbarIcon(const QString& key) {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(Render(key, size));
    return icon;
}

}  // namespace cfg::gui
