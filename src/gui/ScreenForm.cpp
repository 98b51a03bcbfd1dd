#include "ScreenForm.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "Translate.h"
#include "shell/Session.h"

namespace cfg::gui {

namespace {

const QColor kBackground(16, 32, 48);

QColor ColorOf(ScreenColor c) {
    switch (c) {
    case ScreenColor::Black: return QColor(96, 108, 120);
    case ScreenColor::Red: return QColor(255, 96, 96);
    case ScreenColor::Green: return QColor(96, 230, 120);
    case ScreenColor::Yellow: return QColor(255, 230, 90);
    case ScreenColor::Blue: return QColor(120, 170, 255);
    case ScreenColor::Magenta: return QColor(240, 120, 240);
    case ScreenColor::Cyan: return QColor(100, 230, 240);
    case ScreenColor::White: return QColor(255, 255, 255);
    case ScreenColor::Gray: return QColor(160, 170, 180);
    case ScreenColor::Default: break;
    }
    return QColor(225, 230, 235);
}

}  // namespace

ScreenGrid::ScreenGrid(QWidget* parent) : QWidget(parent) {
    setFont(FixedFont(11));
    setAutoFillBackground(false);
}

void ScreenGrid::Resize(int rows, int cols) {
    rows_ = std::max(1, std::min(rows, 60));
    cols_ = std::max(1, std::min(cols, kMaxColumns));
    cells_.assign(static_cast<std::size_t>(rows_ * cols_), Cell{});
    updateGeometry();
    update();
}

void ScreenGrid::Write(int row, int col, const QString& text, ScreenColor color) {
    if (row < 1 || row > rows_ || col < 1) return;
    // A text longer than the window (a translation can be) widens the
    // window rather than being cut, up to the widest grid.
    const int needed = std::min<int>(col + static_cast<int>(text.size()) - 1, kMaxColumns);
    if (needed > cols_) Widen(needed);
    int c = col;
    for (QChar ch : text) {
        if (c > cols_) break;
        auto& cell = cells_[static_cast<std::size_t>((row - 1) * cols_ + (c - 1))];
        cell.ch = ch;
        cell.color = color;
        ++c;
    }
    update();
}

void ScreenGrid::Widen(int cols) {
    std::vector<Cell> wider(static_cast<std::size_t>(rows_ * cols), Cell{});
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c)
            wider[static_cast<std::size_t>(r * cols + c)] = cells_[static_cast<std::size_t>(r * cols_ + c)];
    cells_.swap(wider);
    cols_ = cols;
    updateGeometry();
}

void ScreenGrid::Clear() {
    std::fill(cells_.begin(), cells_.end(), Cell{});
    update();
}

QString ScreenGrid::RowText(int row) const {
    QString t;
    if (row < 1 || row > rows_) return t;
    for (int c = 0; c < cols_; ++c) t += cells_[static_cast<std::size_t>((row - 1) * cols_ + c)].ch;
    return t;
}

QSize ScreenGrid::sizeHint() const {
    QFontMetrics fm(font());
    return {cols_ * fm.horizontalAdvance(QLatin1Char('M')) + 16, rows_ * fm.height() + 16};
}

void ScreenGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kBackground);
    QFontMetrics fm(font());
    const int w = fm.horizontalAdvance(QLatin1Char('M')), h = fm.height();
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c) {
            const Cell& cell = cells_[static_cast<std::size_t>(r * cols_ + c)];
            if (cell.ch == QLatin1Char(' ')) continue;
            p.setPen(ColorOf(cell.color));
            p.drawText(QRect(8 + c * w, 8 + r * h, w, h), Qt::AlignCenter, QString(cell.ch));
        }
}

ScreenForm::ScreenForm(Session& s, Translator& tr, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint),
      s_(s), tr_(tr) {
    MarkForm(this, "FRMScreen");
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(QStringLiteral("CFG-Veltrano"));
    grid_ = new ScreenGrid(this);
    aux_ = new QPushButton(QStringLiteral("Continua"), this);
    SetControlName(aux_, "CMDAux");
    close_ = new QPushButton(QStringLiteral("Chiudi"), this);
    SetControlName(close_, "CMDScreen");
    connect(aux_, &QPushButton::clicked, this, [this] {
        s_.events.PauseBreak = true;
        s_.events.ScreenDismissed = true;
    });
    connect(close_, &QPushButton::clicked, this, [this] {
        s_.events.PauseBreak = true;
        s_.screen.ScreenLocked = false;
        close();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(aux_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    tr_.TranslateForm(this);
}

void ScreenForm::Open(const std::string& title, int rows, int cols, QWidget* anchor) {
    if (!title.empty()) setWindowTitle(Q(title));
    grid_->Resize(rows, cols);
    PlaceForm(this, anchor, 0, 0);
    show();
    raise();
}

void ScreenForm::CloseByProgram() {
    s_.screen.ScreenLocked = false;
    byProgram_ = true;
    close();
    byProgram_ = false;
}

void ScreenForm::closeEvent(QCloseEvent* e) {
    if (s_.screen.ScreenLocked) {
        e->ignore();
        return;
    }
    // Closed by the user: whoever waits on the window stops waiting.
    if (!byProgram_) {
        s_.events.PauseBreak = true;
        s_.events.ScreenDismissed = true;
    }
    e->accept();
}

}  // namespace cfg::gui
