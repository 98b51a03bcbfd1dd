#include "FormUtil.h"

#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "Translate.h"

namespace cfg::gui {

void SetUpDialog(QDialog* dialog, const char* formName) {
    MarkForm(dialog, formName);
    dialog->setWindowTitle(QStringLiteral("CFG-Veltrano"));
    dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    dialog->setModal(true);
}

QLabel* NewPromptLabel(QWidget* dialog) {
    auto* prompt = new QLabel(dialog);
    SetControlName(prompt, "LBLPrompt");
    prompt->setWordWrap(true);
    prompt->setMinimumWidth(320);
    prompt->setTextFormat(Qt::PlainText);
    return prompt;
}

void ShowTitleAndPrompt(QWidget* dialog, QLabel* prompt, const std::string& title, const std::string& text) {
    if (!title.empty()) dialog->setWindowTitle(Q(title));
    prompt->setText(DisplayText(text));
    FitPromptWidth(prompt, 320);
    prompt->setVisible(!text.empty());
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, bool isDefault) {
    auto* b = new QPushButton(caption, parent);
    SetControlName(b, name);
    if (isDefault) b->setDefault(true);
    else b->setAutoDefault(false);
    return b;
}

void SetHeadingFont(QWidget* w, int grow) {
    QFont f = w->font();
    f.setPointSize(f.pointSize() + grow);
    f.setBold(true);
    w->setFont(f);
}

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
