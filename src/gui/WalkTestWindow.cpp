#include "WalkTestWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "LoopPicture.h"
#include "Translate.h"

namespace cfg::gui {

namespace {

constexpr Qt::WindowFlags kToolFlags =
    Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint;

}  // namespace

WalkTestWindow::WalkTestWindow(Translator& tr, QWidget* parent) : QWidget(parent, kToolFlags), tr_(tr) {
    MarkForm(this, "FRMWalkTest");
    picture_ = new LoopPictureWidget(this);
    picture_->setMinimumSize(440, 420);
    // The picture shows; the buttons and the list take the keyboard.
    picture_->setFocusPolicy(Qt::NoFocus);
    summary_ = new QLabel(this);
    SetControlName(summary_, "LBLTested");
    QFont big = summary_->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    summary_->setFont(big);
    status_ = new QLabel(this);
    SetControlName(status_, "LBLStatus");
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    events_ = new QListWidget(this);
    SetControlName(events_, "LSTEvents");
    events_->setFont(FixedFont(10));
    events_->setUniformItemSizes(true);
    events_->setMinimumWidth(QFontMetrics(events_->font()).horizontalAdvance(QString(64, QLatin1Char('M'))));
    start_ = NewButton(this, "CMDStart", QStringLiteral("Nuova prova"));
    continue_ = NewButton(this, "CMDContinua", QStringLiteral("Continua"));
    stop_ = NewButton(this, "CMDStop", QStringLiteral("Ferma"));
    report_ = NewButton(this, "CMDReport", QStringLiteral("Salva rapporto..."));
    close_ = NewButton(this, "CMDChiudi", QStringLiteral("Chiudi"));

    connect(start_, &QPushButton::clicked, this, [this] { input_.start = true; });
    connect(continue_, &QPushButton::clicked, this, [this] { input_.continueLast = true; });
    connect(stop_, &QPushButton::clicked, this, [this] { input_.stop = true; });
    connect(report_, &QPushButton::clicked, this, [this] { input_.report = true; });
    connect(close_, &QPushButton::clicked, this, [this] { input_.closed = true; });
    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this, [this] {
        if (report_->isEnabled()) input_.report = true;
    });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { input_.closed = true; });

    auto* right = new QVBoxLayout;
    right->addWidget(summary_);
    right->addWidget(status_);
    right->addWidget(events_, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(picture_, 1);
    body->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(continue_);
    buttons->addWidget(stop_);
    buttons->addStretch(1);
    buttons->addWidget(report_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    setTabOrder(start_, continue_);
    setTabOrder(continue_, stop_);
    setTabOrder(stop_, report_);
    setTabOrder(report_, close_);
    setTabOrder(close_, events_);
    resize(1180, 620);
}

void WalkTestWindow::Open(const WalkTestSpec& spec, QWidget* anchor) {
    tr_.TranslateForm(this);
    input_ = {};
    setWindowTitle(Q(spec.title));
    auto caption = [](QPushButton* b, const std::string& text) {
        if (!text.empty()) b->setText(Q(text));
    };
    caption(start_, spec.startCaption);
    caption(continue_, spec.continueCaption);
    caption(stop_, spec.stopCaption);
    caption(report_, spec.reportCaption);
    caption(close_, spec.closeCaption);
    events_->clear();
    if (!isVisible()) PlaceForm(this, anchor, 0, 0);
    show();
    raise();
    activateWindow();
    start_->setFocus();
}

void WalkTestWindow::Show(const WalkTestViewData& d) {
    picture_->SetPicture(d.picture);
    QStringList summary;
    for (const auto& l : d.summary) summary << Q(l);
    summary_->setText(summary.join(QLatin1Char('\n')));
    status_->setText(Q(d.status));
    const QSignalBlocker block(events_);
    const int row = events_->currentRow();
    if (events_->count() != static_cast<int>(d.events.size()) ||
        (events_->count() > 0 && events_->item(0)->text() != Q(d.events.front()))) {
        events_->clear();
        for (const auto& e : d.events) events_->addItem(Q(e));
        if (row >= 0 && row < events_->count()) events_->setCurrentRow(row);
    }
    // The button that had the focus may be disabled now: the focus goes on
    // to the one that carries the test forward.
    QWidget* focused = focusWidget();
    start_->setEnabled(!d.running);
    continue_->setEnabled(!d.running && d.canContinue);
    stop_->setEnabled(d.running);
    report_->setEnabled(d.hasRecord);
    if (focused && !focused->isEnabled()) (d.running ? stop_ : start_)->setFocus();
}

WalkTestInput WalkTestWindow::Take() {
    WalkTestInput in = input_;
    input_ = {};
    return in;
}

void WalkTestWindow::CloseByProgram() {
    byProgram_ = true;
    close();
    byProgram_ = false;
}

void WalkTestWindow::closeEvent(QCloseEvent* e) {
    if (!byProgram_) input_.closed = true;
    e->accept();
}

}  // namespace cfg::gui
