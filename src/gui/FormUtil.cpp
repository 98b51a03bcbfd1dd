#include "FormUtil.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace cfg::gui {

void PlaceForm(QWidget* dialog, QWidget* anchor, int topTwips, int leftTwips) {
    dialog->adjustSize();
    QSize size = dialog->size();
    QPoint pos;
    if (anchor && (topTwips > 0 || leftTwips > 0)) {
        pos = anchor->mapToGlobal(QPoint(TwipsToPixels(leftTwips), TwipsToPixels(topTwips)));
    } else if (anchor) {
        QRect r(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
        pos = r.center() - QPoint(size.width() / 2, size.height() / 2);
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        pos = screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2);
    }
    QScreen* screen = anchor ? anchor->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect avail = screen->availableGeometry();
        pos.setX(std::max(avail.left(), std::min(pos.x(), avail.right() - size.width())));
        pos.setY(std::max(avail.top(), std::min(pos.y(), avail.bottom() - size.height())));
    }
    dialog->move(pos);
}

QFont FixedFont(int pointSize) {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setPointSize(pointSize);
    return f;
}

QString DisplayText(const std::string& text) {
    QString t = QString::fromStdString(text);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

void FitPromptWidth(QLabel* label, int minimum, int maximum) {
    const QFontMetrics fm(label->font());
    int widest = 0;
    for (const QString& line : label->text().split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    label->setMinimumWidth(std::clamp(widest + 8, minimum, maximum));
}

}  // namespace cfg::gui
