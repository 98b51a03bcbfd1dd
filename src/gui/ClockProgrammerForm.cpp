#include "ClockProgrammerForm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QRadialGradient>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "Translate.h"

namespace cfg::gui {

namespace {

// LED colours: the lit centre and the rim of each state.
struct LedColours {
    QColor centre, rim;
};
LedColours ColoursOf(ChannelState state) {
    switch (state) {
    case ChannelState::Off: return {QColor(255, 120, 110), QColor(170, 20, 20)};
    case ChannelState::On: return {QColor(150, 255, 140), QColor(20, 140, 30)};
    case ChannelState::Unchanged: break;
    }
    return {QColor(120, 120, 120), QColor(55, 55, 55)};
}

QPushButton* DataButton(QWidget* parent, const char* name, int index) {
    auto* b = new QPushButton(parent);
    SetControlName(b, name, index);
    KeepCaption(b);  // its text comes with the view
    b->setAutoDefault(false);
    return b;
}

QLabel* DataLabel(QWidget* parent, const char* name, int index = -1) {
    auto* l = new QLabel(parent);
    SetControlName(l, name, index);
    KeepCaption(l);
    return l;
}

// A control hidden for an empty program keeps its place, so that the rows
// do not move when programs come and go.
void KeepPlace(QWidget* w) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
}

}  // namespace

// --- ChannelLed ------------------------------------------------------------------

ChannelLed::ChannelLed(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void ChannelLed::SetState(ChannelState state) {
    if (state_ == state) return;
    state_ = state;
    update();
}

QSize ChannelLed::sizeHint() const { return {26, 26}; }

void ChannelLed::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(4, 4, -4, -4);
    const qreal d = std::min(box.width(), box.height());
    const QRectF led(box.center().x() - d / 2, box.center().y() - d / 2, d, d);
    const LedColours c = ColoursOf(state_);
    // A dark bezel, then the lens lit from its upper left.
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(led.adjusted(-1.5, -1.5, 1.5, 1.5));
    QRadialGradient glow(led.center() - QPointF(d / 6, d / 6), d / 1.6);
    glow.setColorAt(0, state_ == ChannelState::Unchanged ? c.centre.darker(110) : c.centre.lighter(130));
    glow.setColorAt(0.6, c.centre);
    glow.setColorAt(1, c.rim);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(led);
    p.setBrush(QColor(255, 255, 255, state_ == ChannelState::Unchanged ? 50 : 150));
    p.drawEllipse(QRectF(led.x() + d * 0.22, led.y() + d * 0.15, d * 0.3, d * 0.22));
    if (hasFocus()) {
        p.setPen(QPen(palette().highlight().color(), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
}

void ChannelLed::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(e);
}

// --- DayButton -------------------------------------------------------------------

DayButton::DayButton(QWidget* parent) : QPushButton(parent) {
    setCheckable(true);
    setAutoDefault(false);
    // The day shown stands out from the strip.
    setStyleSheet(QStringLiteral(
        "QPushButton { padding: 4px 6px 14px 6px; border: 1px solid #a8a8a8; border-radius: 4px;"
        " background: #f6f6f6; }"
        "QPushButton:hover { background: #ffffff; }"
        "QPushButton:checked { background: #dbe8fa; border: 2px solid #2a62b8; font-weight: bold; }"
        "QPushButton:focus { border-color: #2a62b8; }"));
}

void DayButton::SetCount(int count) {
    if (count_ == count) return;
    count_ = count;
    update();
}

QSize DayButton::sizeHint() const {
    QSize s = QPushButton::sizeHint();
    return {std::max(s.width(), 96), s.height() + 16};
}

void DayButton::paintEvent(QPaintEvent* e) {
    QPushButton::paintEvent(e);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // Eight dots under the name: one lit for each program of the day.
    const qreal dot = 6, gap = 3;
    const qreal width = kProgramsPerDay * dot + (kProgramsPerDay - 1) * gap;
    qreal x = (this->width() - width) / 2;
    const qreal y = height() - dot - 7;
    for (int i = 0; i < kProgramsPerDay; ++i, x += dot + gap) {
        const bool lit = i < count_;
        p.setPen(lit ? QColor(20, 110, 30) : QColor(160, 160, 160));
        p.setBrush(lit ? QColor(60, 190, 70) : Qt::transparent);
        p.drawEllipse(QRectF(x, y, dot, dot));
    }
}

// --- the window -------------------------------------------------------------------

ClockProgrammerForm::ClockProgrammerForm(Translator& tr, QWidget* parent) : QDialog(parent), tr_(tr) {
    SetUpDialog(this, "FRMProgra");
    setModal(false);
    auto* layout = new QVBoxLayout(this);

    // The week at a glance.
    auto* week = new QHBoxLayout;
    week->setSpacing(4);
    for (int d = 0; d < kClockDays; ++d) {
        auto* b = new DayButton(this);
        SetControlName(b, "CMDC", d);
        b->setText(QStringLiteral("-"));
        connect(b, &QPushButton::clicked, this, [this, d] {
            // The check mark follows the view, not the click.
            days_[static_cast<std::size_t>(d)]->setChecked(d == view_.day);
            ClockEvent e;
            e.action = ClockAction::SelectDay;
            e.day = d;
            Record(e);
        });
        week->addWidget(b);
        days_[static_cast<std::size_t>(d)] = b;
    }
    layout->addLayout(week);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("TABPagine"));
    auto* programs = new QWidget;
    auto* holidays = new QWidget;
    auto* periods = new QWidget;
    BuildProgramsPage(programs);
    BuildHolidaysPage(holidays);
    BuildPeriodsPage(periods);
    pages_->addTab(programs, QString());
    pages_->addTab(holidays, QString());
    pages_->addTab(periods, QString());
    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        if (!shown_ || page == static_cast<int>(view_.page)) return;
        ClockEvent e;
        e.action = ClockAction::ShowPage;
        e.page = static_cast<ClockPage>(page);
        e.day = view_.day;
        Record(e);
    });
    layout->addWidget(pages_, 1);

    auto* bottom = new QHBoxLayout;
    notice_ = DataLabel(this, "LBLAvviso");
    notice_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    notice_->setWordWrap(true);
    bottom->addWidget(notice_, 1);
    bottom->addStretch(0);
    auto* fine = NewButton(this, "CMDFine", QStringLiteral("&Fine"));
    connect(fine, &QPushButton::clicked, this, [this] { Record(ClockAction::Close); });
    fine->setMinimumWidth(120);
    bottom->addWidget(fine, 0, Qt::AlignRight);
    layout->addLayout(bottom);

    // Keyboard: the day before / after, a day by its number, a program
    // cleared from its row.
    auto day = [this](int d) {
        ClockEvent e;
        e.action = ClockAction::SelectDay;
        e.day = (d + kClockDays) % kClockDays;
        Record(e);
    };
    for (auto key : {QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::CTRL | Qt::Key_PageUp)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, [this, day] { day(view_.day - 1); });
    for (auto key : {QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::CTRL | Qt::Key_PageDown)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, [this, day] { day(view_.day + 1); });
    for (int d = 0; d < kClockDays; ++d)
        connect(new QShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + d)), this),
                &QShortcut::activated, this, [day, d] { day(d); });
    connect(new QShortcut(QKeySequence(Qt::Key_Delete), this), &QShortcut::activated, this, [this] {
        if (pages_->currentIndex() == static_cast<int>(ClockPage::Holidays)) {
            if (holidays_->currentRow() >= 0) Record(ClockAction::RemoveHoliday, holidays_->currentRow());
            return;
        }
        if (pages_->currentIndex() == static_cast<int>(ClockPage::Programs)) {
            const int row = FocusedRow();
            if (row >= 0 && !view_.rows[static_cast<std::size_t>(row)].empty) Record(ClockAction::ClearProgram, row);
        }
    });
    connect(new QShortcut(QKeySequence(Qt::Key_Insert), this), &QShortcut::activated, this, [this] {
        if (pages_->currentIndex() == static_cast<int>(ClockPage::Holidays)) Record(ClockAction::AddHoliday);
    });
    tr_.TranslateForm(this);
}

void ClockProgrammerForm::BuildProgramsPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    programsFrame_ = new QGroupBox(page);
    SetControlName(programsFrame_, "FRAProgrammazioni");
    KeepCaption(programsFrame_);  // names the day shown
    auto* grid = new QGridLayout(programsFrame_);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    for (int c = 0; c < 3; ++c) {
        headings_[static_cast<std::size_t>(c)] = DataLabel(programsFrame_, "LBLTitoli", c);
        headings_[static_cast<std::size_t>(c)]->setStyleSheet(QStringLiteral("font-weight: bold;"));
    }
    grid->addWidget(headings_[0], 0, 0);
    grid->addWidget(headings_[1], 0, 1);
    grid->addWidget(headings_[2], 0, 2, 1, kChannels, Qt::AlignHCenter);
    for (int k = 0; k < kChannels; ++k) {
        auto* n = DataLabel(programsFrame_, "LBLCanale", k);
        n->setText(QString::number(k + 1));
        n->setAlignment(Qt::AlignCenter);
        n->setStyleSheet(QStringLiteral("color: #606060;"));
        grid->addWidget(n, 1, 2 + k);
    }
    for (int j = 0; j < kProgramsPerDay; ++j) {
        const auto J = static_cast<std::size_t>(j);
        const int row = 2 + j;
        numbers_[J] = DataLabel(programsFrame_, "LBLNumProg", j);
        numbers_[J]->setText(QString::number(j + 1));
        numbers_[J]->setAlignment(Qt::AlignCenter);
        grid->addWidget(numbers_[J], row, 0);
        times_[J] = DataButton(programsFrame_, "LBLOrario", j);
        times_[J]->setFont(FixedFont(11));
        times_[J]->setMinimumWidth(80);
        times_[J]->setProperty("row", j);
        connect(times_[J], &QPushButton::clicked, this, [this, j] { Record(ClockAction::EditProgram, j); });
        grid->addWidget(times_[J], row, 1);
        for (int k = 0; k < kChannels; ++k) {
            auto* led = new ChannelLed(programsFrame_);
            SetControlName(led, "PCTImpCan", j * kChannels + k);
            KeepPlace(led);
            led->setProperty("row", j);
            connect(led, &QAbstractButton::clicked, this,
                    [this, j, k] { Record(ClockAction::CycleChannel, j, k + 1); });
            grid->addWidget(led, row, 2 + k, Qt::AlignCenter);
            leds_[J][static_cast<std::size_t>(k)] = led;
        }
        modify_[J] = DataButton(programsFrame_, "CMDmodif", j);
        modify_[J]->setProperty("row", j);
        connect(modify_[J], &QPushButton::clicked, this, [this, j] { Record(ClockAction::EditProgram, j); });
        grid->addWidget(modify_[J], row, 2 + kChannels);
        clear_[J] = DataButton(programsFrame_, "CMDElimina", j);
        clear_[J]->setText(QStringLiteral("\u2715"));
        clear_[J]->setFixedWidth(32);
        KeepPlace(clear_[J]);
        clear_[J]->setProperty("row", j);
        connect(clear_[J], &QPushButton::clicked, this, [this, j] { Record(ClockAction::ClearProgram, j); });
        grid->addWidget(clear_[J], row, 3 + kChannels);
    }
    noPrograms_ = new QLabel(programsFrame_);
    SetControlName(noPrograms_, "LBLNoProg");
    noPrograms_->setAlignment(Qt::AlignCenter);
    noPrograms_->setStyleSheet(QStringLiteral("color: #606060; font-style: italic; padding: 4px;"));
    grid->addWidget(noPrograms_, 2 + kProgramsPerDay, 0, 1, 4 + kChannels);
    layout->addWidget(programsFrame_);

    copyFrame_ = new QGroupBox(page);
    SetControlName(copyFrame_, "FRASelez");
    auto* copy = new QHBoxLayout(copyFrame_);
    for (int d = 0; d < kClockDays; ++d) {
        auto* b = new QPushButton(QStringLiteral("-"), copyFrame_);
        SetControlName(b, "CMDGiorni", d);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, d] { Record(ClockAction::CopyDay, 0, 0, d); });
        copy->addWidget(b);
        copy_[static_cast<std::size_t>(d)] = b;
    }
    layout->addWidget(copyFrame_);
    legend_ = DataLabel(page, "LBLLegenda");
    legend_->setStyleSheet(QStringLiteral("color: #404040;"));
    layout->addWidget(legend_);
    layout->addStretch(1);
}

void ClockProgrammerForm::BuildHolidaysPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    holidaysFrame_ = new QGroupBox(page);
    SetControlName(holidaysFrame_, "FRAFesFer");
    KeepCaption(holidaysFrame_);
    auto* row = new QHBoxLayout(holidaysFrame_);
    auto* left = new QVBoxLayout;
    holidays_ = new QListWidget(holidaysFrame_);
    holidays_->setObjectName(QStringLiteral("LSTFeste"));
    holidays_->setFont(FixedFont(11));
    holidays_->setFlow(QListView::LeftToRight);
    holidays_->setWrapping(true);
    holidays_->setGridSize(QSize(90, 34));
    holidays_->setMinimumHeight(120);
    connect(holidays_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { Record(ClockAction::EditHoliday, holidays_->row(item)); });
    left->addWidget(holidays_);
    noHolidays_ = new QLabel(holidaysFrame_);
    SetControlName(noHolidays_, "LBLNoFesFer");
    noHolidays_->setStyleSheet(QStringLiteral("color: #606060; font-style: italic;"));
    left->addWidget(noHolidays_);
    row->addLayout(left, 1);
    auto* buttons = new QVBoxLayout;
    addHoliday_ = DataButton(holidaysFrame_, "CMDAggFes", -1);
    editHoliday_ = DataButton(holidaysFrame_, "CMDSelf", -1);
    removeHoliday_ = DataButton(holidaysFrame_, "CMDEliFes", -1);
    connect(addHoliday_, &QPushButton::clicked, this, [this] { Record(ClockAction::AddHoliday); });
    connect(editHoliday_, &QPushButton::clicked, this, [this] {
        if (holidays_->currentRow() >= 0) Record(ClockAction::EditHoliday, holidays_->currentRow());
    });
    connect(removeHoliday_, &QPushButton::clicked, this, [this] {
        if (holidays_->currentRow() >= 0) Record(ClockAction::RemoveHoliday, holidays_->currentRow());
    });
    for (auto* b : {addHoliday_, editHoliday_, removeHoliday_}) buttons->addWidget(b);
    buttons->addStretch(1);
    row->addLayout(buttons);
    layout->addWidget(holidaysFrame_);
    layout->addStretch(1);
}

void ClockProgrammerForm::BuildPeriodsPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    periodsFrame_ = new QGroupBox(page);
    SetControlName(periodsFrame_, "FRAImpostazione");
    KeepCaption(periodsFrame_);
    auto* grid = new QGridLayout(periodsFrame_);
    for (int p = 0; p < kPeriods; ++p) {
        const auto P = static_cast<std::size_t>(p);
        periodName_[P] = DataLabel(periodsFrame_, "LBLNomeFes", p);
        periodName_[P]->setStyleSheet(QStringLiteral("font-weight: bold;"));
        periodText_[P] = DataLabel(periodsFrame_, p == 0 ? "LBLFes1" : "LBLFes2");
        periodText_[P]->setFont(FixedFont(11));
        periodText_[P]->setMinimumWidth(260);
        periodEdit_[P] = DataButton(periodsFrame_, "CMDModFes", p);
        periodClear_[P] = DataButton(periodsFrame_, "CMDCanFes", p);
        periodClear_[P]->setText(QStringLiteral("\u2715"));
        periodClear_[P]->setFixedWidth(32);
        connect(periodEdit_[P], &QPushButton::clicked, this, [this, p] { Record(ClockAction::EditPeriod, p); });
        connect(periodClear_[P], &QPushButton::clicked, this, [this, p] { Record(ClockAction::ClearPeriod, p); });
        grid->addWidget(periodName_[P], p, 0);
        grid->addWidget(periodText_[P], p, 1);
        grid->addWidget(periodEdit_[P], p, 2);
        grid->addWidget(periodClear_[P], p, 3);
    }
    grid->setColumnStretch(1, 1);
    layout->addWidget(periodsFrame_);
    layout->addStretch(1);
}

ChannelLed* ClockProgrammerForm::led(int row, int channel) const {
    return leds_[static_cast<std::size_t>(row)][static_cast<std::size_t>(channel - 1)];
}

int ClockProgrammerForm::FocusedRow() const {
    for (QWidget* w = focusWidget(); w && w != this; w = w->parentWidget()) {
        const QVariant row = w->property("row");
        if (row.isValid()) return row.toInt();
    }
    return -1;
}

void ClockProgrammerForm::Show(const ClockProgrammerView& v) {
    const bool dayChanged = !shown_ || v.day != view_.day;
    view_ = v;
    action_.reset();
    for (int d = 0; d < kClockDays; ++d) {
        DayButton* b = days_[static_cast<std::size_t>(d)];
        b->SetCount(v.programCount[static_cast<std::size_t>(d)]);
        b->setChecked(d == v.day);
        b->setToolTip(QString::number(v.programCount[static_cast<std::size_t>(d)]) + QStringLiteral(" / 8"));
        copy_[static_cast<std::size_t>(d)]->setEnabled(d != v.day);
    }
    for (int p = 0; p < 3; ++p) pages_->setTabText(p, Q(v.pageTitle[static_cast<std::size_t>(p)]));
    programsFrame_->setTitle(Q(v.dayCaption));
    headings_[0]->setText(Q(v.programHeading));
    headings_[1]->setText(Q(v.timeHeading));
    headings_[2]->setText(Q(v.channelsHeading));
    bool any = false;
    for (int j = 0; j < kProgramsPerDay; ++j) {
        const auto J = static_cast<std::size_t>(j);
        const ClockProgramRow& row = v.rows[J];
        any = any || !row.empty;
        times_[J]->setText(row.empty ? QStringLiteral("--:--") : Q(row.time));
        times_[J]->setStyleSheet(row.empty ? QStringLiteral("color: #909090;") : QString());
        modify_[J]->setText(Q(v.modifyText));
        clear_[J]->setToolTip(Q(v.clearText));
        clear_[J]->setVisible(!row.empty);
        for (int k = 0; k < kChannels; ++k) {
            ChannelLed* l = leds_[J][static_cast<std::size_t>(k)];
            l->SetState(row.channels[static_cast<std::size_t>(k)]);
            l->setVisible(!row.empty);
            l->setToolTip(Q(v.channelText) + QStringLiteral(" ") + QString::number(k + 1) + QStringLiteral(": ") +
                          Q(v.channelStateText[static_cast<std::size_t>(row.channels[static_cast<std::size_t>(k)])]));
        }
    }
    noPrograms_->setVisible(!any);
    legend_->setText(Q(v.legend));
    notice_->setText(Q(v.notice));
    notice_->setVisible(!v.notice.empty());

    holidaysFrame_->setTitle(Q(v.holidayHeading));
    const int current = holidays_->currentRow();
    holidays_->clear();
    for (const auto& h : v.holidays) holidays_->addItem(Q(h));
    if (!v.holidays.empty())
        holidays_->setCurrentRow(std::clamp(current, 0, static_cast<int>(v.holidays.size()) - 1));
    holidays_->setVisible(!v.holidays.empty());
    noHolidays_->setVisible(v.holidays.empty());
    addHoliday_->setText(Q(v.addHolidayText));
    addHoliday_->setEnabled(static_cast<int>(v.holidays.size()) < kHolidays);
    editHoliday_->setText(Q(v.modifyText));
    removeHoliday_->setText(Q(v.removeHolidayText));
    editHoliday_->setEnabled(!v.holidays.empty());
    removeHoliday_->setEnabled(!v.holidays.empty());

    periodsFrame_->setTitle(Q(v.periodsHeading));
    for (int p = 0; p < kPeriods; ++p) {
        const auto P = static_cast<std::size_t>(p);
        periodName_[P]->setText(Q(v.periodName[P]));
        periodText_[P]->setText(Q(v.periodText[P]));
        periodText_[P]->setStyleSheet(v.periodSet[P] ? QString() : QStringLiteral("color: #909090;"));
        periodEdit_[P]->setText(Q(v.modifyText));
        periodClear_[P]->setEnabled(v.periodSet[P]);
    }

    copyFrame_->setToolTip(Q(v.copyText) + QStringLiteral("\n") + Q(v.copyHint));
    pages_->setCurrentIndex(static_cast<int>(v.page));
    if (!shown_) {
        shown_ = true;
        show();
        raise();
        activateWindow();
        times_[0]->setFocus();
    } else if (dayChanged && !focusWidget()) {
        times_[0]->setFocus();
    }
}

std::optional<ClockEvent> ClockProgrammerForm::TakeAction() {
    auto a = action_;
    action_.reset();
    return a;
}

void ClockProgrammerForm::Record(ClockEvent e) {
    if (action_) return;  // the first action counts until the core has taken it
    action_ = e;
}

void ClockProgrammerForm::Record(ClockAction a, int row, int channel, int target) {
    ClockEvent e;
    e.action = a;
    e.page = view_.page;
    e.day = view_.day;
    e.row = row;
    e.channel = channel;
    e.target = target;
    Record(e);
}

void ClockProgrammerForm::reject() { Record(ClockAction::Close); }

}  // namespace cfg::gui
