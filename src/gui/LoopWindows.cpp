#include "LoopWindows.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "LoopPicture.h"
#include "ScreenForm.h"
#include "Translate.h"

namespace cfg::gui {

namespace {

constexpr Qt::WindowFlags kToolFlags =
    Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint;

// 0x00BBGGRR as the panel's colour values are written.
QColor FromBgr(uint32_t v) { return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF); }

}  // namespace

// --- the list window ----------------------------------------------------------------

LoopListWindow::LoopListWindow(Translator& tr, QWidget* parent) : QWidget(parent, kToolFlags), tr_(tr) {
    MarkForm(this, "FRMLoopList");
    list_ = new QListWidget(this);
    SetControlName(list_, "LSTLoop");
    list_->setFont(FixedFont(10));
    list_->setUniformItemSizes(true);
    list_->setMinimumWidth(QFontMetrics(list_->font()).horizontalAdvance(QString(66, QLatin1Char('M'))));
    list_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
    picture_ = new LoopPictureWidget(this);
    picture_->setMinimumSize(420, 420);
    toggle_ = new QCheckBox(QStringLiteral("Schema del loop"), this);
    SetControlName(toggle_, "CHKSchema");
    toggle_->setChecked(true);
    close_ = NewButton(this, "CMDChiudi", QStringLiteral("Chiudi"), true);
    reset_ = NewButton(this, "CMDReset", QStringLiteral("Azzera"));

    connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        input_.openedLine = list_->row(item);
        input_.activity = true;
    });
    connect(list_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { input_.activity = true; });
    connect(list_, &QListWidget::currentRowChanged, this, [this] { input_.activity = true; });
    picture_->onPointClicked = [this](int point) {
        input_.clickedPoint = point;
        input_.activity = true;
    };
    connect(toggle_, &QCheckBox::toggled, picture_, &QWidget::setVisible);
    connect(close_, &QPushButton::clicked, this, [this] { input_.closed = true; });
    connect(reset_, &QPushButton::clicked, this, [this] { input_.reset = true; });

    auto* body = new QHBoxLayout;
    body->addWidget(list_, 0);
    body->addWidget(picture_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(toggle_);
    buttons->addStretch(1);
    buttons->addWidget(reset_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    resize(1180, 620);
}

void LoopListWindow::Open(const LoopListSpec& spec, QWidget* anchor) {
    tr_.TranslateForm(this);
    input_ = {};
    setWindowTitle(Q(spec.title));
    if (!spec.closeCaption.empty()) close_->setText(Q(spec.closeCaption));
    reset_->setVisible(!spec.resetCaption.empty());
    if (!spec.resetCaption.empty()) reset_->setText(Q(spec.resetCaption));
    QPalette pal = list_->palette();
    pal.setColor(QPalette::Base, spec.background ? FromBgr(spec.background) : QColor(Qt::white));
    list_->setPalette(pal);
    list_->clear();
    if (!isVisible()) PlaceForm(this, anchor, 0, 0);
    show();
    raise();
    activateWindow();
}

void LoopListWindow::Show(const std::vector<std::string>& lines, const LoopPicture& pic, int top, int selected) {
    const QSignalBlocker block(list_);
    const QSignalBlocker blockBar(list_->verticalScrollBar());
    if (list_->count() == static_cast<int>(lines.size())) {
        // Same length: change only the lines that differ, so the list does
        // not flicker on the refresh.
        for (int i = 0; i < list_->count(); ++i) {
            const QString t = Q(lines[static_cast<std::size_t>(i)]);
            if (list_->item(i)->text() != t) list_->item(i)->setText(t);
        }
    } else {
        list_->clear();
        for (const auto& l : lines) list_->addItem(Q(l));
    }
    if (selected >= 0 && selected < list_->count()) list_->setCurrentRow(selected);
    else list_->setCurrentRow(-1);
    if (top >= 0 && top < list_->count()) list_->verticalScrollBar()->setValue(top);
    picture_->SetPicture(pic);
}

int LoopListWindow::TopIndex() const { return list_->verticalScrollBar()->value(); }
int LoopListWindow::SelectedIndex() const { return list_->currentRow(); }

LoopListInput LoopListWindow::Take() {
    LoopListInput in = input_;
    input_ = {};
    return in;
}

void LoopListWindow::CloseByProgram() {
    byProgram_ = true;
    close();
    byProgram_ = false;
}

void LoopListWindow::closeEvent(QCloseEvent* e) {
    if (!byProgram_) input_.closed = true;
    e->accept();
}

bool LoopListWindow::eventFilter(QObject* o, QEvent* e) {
    if ((o == list_ || o == list_->viewport()) &&
        (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::KeyPress || e->type() == QEvent::Wheel))
        input_.activity = true;
    return QWidget::eventFilter(o, e);
}

// --- grid windows ------------------------------------------------------------------------

LoopGridWindow::LoopGridWindow(Kind kind, Translator& tr, QWidget* parent) : QWidget(parent, kToolFlags) {
    MarkForm(this, kind == Kind::Detail ? "FRMSensor" : "FRMLoopDiag");
    grid_ = new ScreenGrid(this);
    if (kind == Kind::Detail) history_ = new PointHistoryWidget(this);
    close_ = NewButton(this, "CMDChiudi", QStringLiteral("Chiudi"), true);
    reset_ = NewButton(this, "CMDReset", QStringLiteral("Azzera"));
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    connect(reset_, &QPushButton::clicked, this, [this] { reset_requested_ = true; });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(reset_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    if (history_) layout->addWidget(history_, 1);
    layout->addLayout(buttons);
    tr.TranslateForm(this);
}

void LoopGridWindow::Open(const std::string& title, int rows, int cols, bool withReset, QWidget* anchor) {
    setWindowTitle(Q(title));
    grid_->Resize(rows, cols);
    if (history_) history_->Clear();
    reset_->setVisible(withReset);
    reset_requested_ = false;
    adjustSize();
    PlaceForm(this, anchor, 0, 0);
    show();
    raise();
    activateWindow();
}

bool LoopGridWindow::TakeReset() {
    const bool r = reset_requested_;
    reset_requested_ = false;
    return r;
}

void LoopGridWindow::CloseByProgram() { close(); }

}  // namespace cfg::gui
