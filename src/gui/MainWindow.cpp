#include "MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "QtUi.h"
#include "ToolbarIcons.h"
#include "Translate.h"
#include "WorkForm.h"
#include "report/Compare.h"
#include "shell/Language.h"
#include "shell/MainLoop.h"
#include "shell/Session.h"

namespace cfg::gui {

namespace {

// Toolbar1: button index, key. Positions 4 and 15 are gaps between the
// groups (file commands, sections, closing and printing).
struct ButtonDef {
    int index;
    const char* key;
};
constexpr ButtonDef kToolbar1[] = {
    {1, "crea"},     {2, "trasferisce"}, {3, "apre"},    {5, "vimom"},     {6, "zone"},
    {7, "tempi"},    {8, "opzioni"},     {9, "opsup"},   {10, "logiche"},  {11, "orologio"},
    {12, "display"}, {13, "parcom"},     {14, "moduli"}, {16, "chiude"},   {17, "stampa"},
};
constexpr int kToolbar1Buttons = 17;

// Popup buttons: the key and the number of its menu.
int PopupOfKey(const QString& key) {
    static const std::map<QString, int> popups = {
        {QStringLiteral("crea"), 1},  {QStringLiteral("trasferisce"), 2}, {QStringLiteral("apre"), 3},
        {QStringLiteral("vimom"), 5}, {QStringLiteral("orologio"), 11},   {QStringLiteral("stampa"), 17},
    };
    auto it = popups.find(key);
    return it == popups.end() ? 0 : it->second;
}

// Toolbar2: index, key, DiagnosticCommand.
struct Button2Def {
    int index;
    const char* key;
    int code;
};
constexpr Button2Def kToolbar2[] = {
    {2, "endvimom", 7}, {3, "autocf", 4}, {4, "visloop", 1}, {5, "minmax", 2},
    {6, "soglie", 3},   {7, "errloop", 5}, {8, "iloop", 6},  {9, "walktest", 8},
};

// The entries of each popup menu: index, caption until the language file
// gives one; a null caption is a separator. The main loop code and the
// mapping of the entry's index to CommandOption follow.
struct EntryDef {
    int index;
    const char* caption;
    int sectionCommand = 0;  // an entry with a code of its own (0: the popup's)
};
struct PopupDef {
    int button;
    const char* array;
    int sectionCommand;
    std::vector<EntryDef> entries;
    std::map<int, int> options;  // entry index -> CommandOption
};

const std::vector<PopupDef>& Popups() {
    static const std::vector<PopupDef> popups = {
        {1, "menub1", 53, {{0, "Copia configurazione..."}, {1, nullptr}, {2, "Nuova configurazione da DEFAULT..."}},
         {{0, 1}, {2, 2}}},
        {2, "menub2", 52, {{0, "Invia configurazione alla centrale..."}, {1, nullptr},
                           {2, "Ricevi configurazione dalla centrale..."}},
         {{0, 1}, {2, 2}}},
        {3, "menub3", 51, {{0, "Apri configurazione da file..."}, {1, nullptr}, {2, "Apri configurazione dalla centrale"},
                           {3, nullptr}, {4, "Da una copia di sicurezza..."}, {5, "Confronta due configurazioni..."}},
         {{0, 1}, {2, 2}, {4, 3}, {5, 4}}},
        {5, "menub5", 1, {{0, "Modulo analogico 1"}, {1, nullptr}, {2, "Modulo analogico 2"}, {3, ""}, {4, ""}},
         {{0, 1}, {2, 2}, {4, 3}}},
        {11, "menub11", 6, {{0, "Programmi orari"}, {1, "Festività"}, {2, "Periodi festivi"},
                            {3, "Leggi orologio centrale"}, {4, "Imposta orologio centrale"}, {5, "Riepilogo programmi"}},
         {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}}},
        {17, "menub17", 11, {{0, "Stampa su stampante..."}, {1, "Stampa su file di testo..."}, {2, nullptr},
                             {3, "Confronta con...", kCompareCode}},
         {{0, 1}, {1, 2}, {3, 1}}},
    };
    return popups;
}

const PopupDef* PopupOf(int button) {
    for (const auto& p : Popups())
        if (p.button == button) return &p;
    return nullptr;
}

}  // namespace

MainWindow::MainWindow(QtUi& ui) : QMainWindow(nullptr), ui_(ui) {
    MarkForm(this, "MDIMainForm");
    setWindowTitle(QString::fromLatin1(kProgramName));
    setWindowIcon(ToolbarIcon(QStringLiteral("vimom")));
    // No maximise box and no sizing border: the window keeps one size.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    work_ = new WorkForm(ui_, this);
    BuildToolbars();
    BuildPopupMenus();

    menuBar()->addMenu(work_->settingsMenu());
    menuBar()->addMenu(work_->languageMenu());
    menuBar()->addMenu(work_->helpMenu());
    // The guide's F1 works while the menu bar is closed too.
    addAction(work_->guideAction());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildTitleArea());
    layout->addWidget(work_, 1);
    layout->addWidget(BuildStatusArea());
    setCentralWidget(central);
    setFixedSize(FixedSize());
}

QSize MainWindow::FixedSize() const {
    // The 80-column list, its buttons and margins; never less than a
    // comfortable 980 x 660, which fits a 1366 x 768 screen with its task
    // bar. A smaller (or strongly scaled) screen gets what it can show; the
    // list then scrolls.
    QSize size(std::max(980, work_->ListWidthFor80Columns() + 170), 660);
    if (const QScreen* s = screen()) {
        const QRect avail = s->availableGeometry();
        size = size.boundedTo(QSize(avail.width() - 16, avail.height() - 40)).expandedTo(QSize(640, 480));
    }
    return size;
}

void MainWindow::BuildToolbars() {
    auto toolbar = [this](const char* name, int iconSize) {
        auto* t = new QToolBar(this);
        t->setObjectName(QString::fromLatin1(name));
        t->setMovable(false);
        t->setFloatable(false);
        t->setIconSize(QSize(iconSize, iconSize));
        t->setToolButtonStyle(Qt::ToolButtonIconOnly);
        t->setContextMenuPolicy(Qt::PreventContextMenu);
        addToolBar(Qt::TopToolBarArea, t);
        return t;
    };
    // A button knows its key and its index; the click handlers read them.
    auto button = [](QToolBar* t, const char* keyName, int index) {
        const QString key = QString::fromLatin1(keyName);
        QAction* a = t->addAction(ToolbarIcon(key), key);
        a->setProperty("key", key);
        a->setProperty("buttonIndex", index);
        return a;
    };

    toolbar1_ = toolbar("Toolbar1", 32);
    int next = 1;
    for (const auto& def : kToolbar1) {
        for (; next < def.index; ++next) toolbar1_->addSeparator();
        buttons1_[def.index] = button(toolbar1_, def.key, def.index);
        next = def.index + 1;
    }
    connect(toolbar1_, &QToolBar::actionTriggered, this, &MainWindow::Toolbar1Clicked);

    addToolBarBreak(Qt::TopToolBarArea);
    toolbar2_ = toolbar("Toolbar2", 28);
    for (const auto& def : kToolbar2) {
        QAction* a = button(toolbar2_, def.key, def.index);
        a->setProperty("code", def.code);
        buttons2_[def.index] = a;
        // Leaving the loop views stands apart from the views themselves.
        if (def.index == 2) toolbar2_->addSeparator();
    }
    connect(toolbar2_, &QToolBar::actionTriggered, this, &MainWindow::Toolbar2Clicked);
    toolbar2_->hide();
}

void MainWindow::BuildPopupMenus() {
    for (const auto& def : Popups()) {
        auto* menu = new QMenu(this);
        SetControlName(menu, ("MenuButton" + std::to_string(def.button)).c_str());
        for (const auto& e : def.entries) {
            QAction* a = nullptr;
            if (!e.caption) {
                a = menu->addSeparator();
            } else {
                a = menu->addAction(QString::fromUtf8(e.caption));
                const int button = def.button, index = e.index;
                connect(a, &QAction::triggered, this, [this, button, index] { PopupClicked(button, index); });
            }
            SetControlName(a, def.array, e.index);
            entries_[{def.button, e.index}] = a;
        }
        popups_[def.button] = menu;
    }
    // The loop-module popup's last two entries are never offered.
    PopupEntry(5, 3)->setVisible(false);
    PopupEntry(5, 4)->setVisible(false);
}

QWidget* MainWindow::BuildTitleArea() {
    titleArea_ = new QFrame(this);
    SetControlName(titleArea_, "PCTTitoli");
    titleArea_->setStyleSheet(QStringLiteral(
        "#PCTTitoli { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #8a1c1c, stop:1 #c0392b); }"
        "#PCTTitoli QLabel { color: white; }"));
    titleLabel_ = new QLabel(QString::fromLatin1(kProgramName), titleArea_);
    SetControlName(titleLabel_, "LBLTitoli");
    KeepCaption(titleLabel_);  // the program's name
    SetHeadingFont(titleLabel_, 5);
    heading_ = new QLabel(titleArea_);
    SetControlName(heading_, "LBLIntestaz");
    KeepCaption(heading_);
    heading_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    loopCaption_ = new QLabel(titleArea_);
    SetControlName(loopCaption_, "TXTVimoM");
    KeepCaption(loopCaption_);
    loopCaption_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    loopCaption_->setContentsMargins(8, 2, 8, 2);
    loopCaption_->hide();
    clockLabel_ = new QLabel(titleArea_);
    SetControlName(clockLabel_, "MLBLOra");
    KeepCaption(clockLabel_);
    clockLabel_->hide();
    for (QWidget* w : {static_cast<QWidget*>(titleArea_), static_cast<QWidget*>(titleLabel_),
                       static_cast<QWidget*>(heading_)}) {
        w->installEventFilter(this);
        w->setCursor(Qt::PointingHandCursor);
    }
    auto* l = new QHBoxLayout(titleArea_);
    l->setContentsMargins(12, 6, 12, 6);
    l->addWidget(titleLabel_);
    l->addWidget(loopCaption_, 1);
    l->addWidget(clockLabel_);
    l->addStretch(1);
    l->addWidget(heading_);
    return titleArea_;
}

QWidget* MainWindow::BuildStatusArea() {
    auto* area = new QFrame(this);
    SetControlName(area, "PCTStatus");
    area->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto panel = [area](QLabel* l) {
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setMinimumHeight(24);
        l->setContentsMargins(4, 0, 4, 0);
        return l;
    };
    settings_ = panel(new QLabel(area));
    SetControlName(settings_, "LBLImpostaz");
    KeepCaption(settings_);
    settings_->setMinimumWidth(190);
    // Shown while the serial trace is on, so that nobody forgets it running.
    trace_ = panel(new QLabel(QStringLiteral("TRACCIA"), area));
    SetControlName(trace_, "LBLTraccia");
    trace_->setAlignment(Qt::AlignCenter);
    trace_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    trace_->setStyleSheet(QStringLiteral("QLabel { color: white; background: #b35a00; font-weight: bold; }"));
    trace_->hide();
    status_ = panel(new QLabel(area));
    SetControlName(status_, "LBLStatus");
    KeepCaption(status_);
    rtx_ = panel(new QLabel(area));
    SetControlName(rtx_, "LBLRtx");
    KeepCaption(rtx_);
    rtx_->setFixedWidth(44);
    rtx_->setAlignment(Qt::AlignCenter);
    // Framed only while it names a direction: an empty box reads as a
    // missing text.
    rtx_->setFrameStyle(QFrame::NoFrame);
    QFont bold = rtx_->font();
    bold.setBold(true);
    rtx_->setFont(bold);
    progress_ = new QProgressBar(area);
    SetControlName(progress_, "PRGBar1");
    progress_->setFixedWidth(220);
    progress_->setTextVisible(false);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    abort_ = new QPushButton(QStringLiteral("Interrompi"), area);
    SetControlName(abort_, "CMDAbrtx");
    abort_->setStyleSheet(QStringLiteral("QPushButton { color: #a00000; font-weight: bold; }"));
    abort_->hide();
    connect(abort_, &QPushButton::clicked, this, [this] {
        ui_.session().events.AbortRequested = true;
        abort_->hide();
        abortTimer_->stop();
    });

    statusTimer_ = new QTimer(this);
    statusTimer_->setObjectName(QStringLiteral("TMRStatus"));
    statusTimer_->setSingleShot(true);
    connect(statusTimer_, &QTimer::timeout, this, &MainWindow::StatusTimerFired);
    abortTimer_ = new QTimer(this);
    abortTimer_->setObjectName(QStringLiteral("TMRAbort"));
    abortTimer_->setSingleShot(true);
    abortTimer_->setInterval(2000);
    connect(abortTimer_, &QTimer::timeout, this, &MainWindow::AbortTimerFired);

    auto* l = new QHBoxLayout(area);
    l->setContentsMargins(6, 4, 6, 4);
    l->addWidget(settings_);
    l->addWidget(trace_);
    l->addWidget(status_, 1);
    // Takes the room while the status text is hidden, so that the trace box
    // stays beside the port settings.
    l->addStretch(0);
    l->addWidget(rtx_);
    l->addWidget(progress_);
    l->addWidget(abort_);
    SetStatusShown(false);
    return area;
}

void MainWindow::SetTraceShown(bool shown, const QString& path) {
    trace_->setToolTip(path);
    trace_->setVisible(shown);
}

QAction* MainWindow::ToolbarButton(int index) const {
    auto it = buttons1_.find(index);
    return it == buttons1_.end() ? nullptr : it->second;
}

QToolButton* MainWindow::ToolbarButtonWidget(int index) const {
    QAction* a = ToolbarButton(index);
    return a ? qobject_cast<QToolButton*>(toolbar1_->widgetForAction(a)) : nullptr;
}

QAction* MainWindow::ToolbarButtonByKey(const QString& key) const {
    for (const auto& [i, a] : buttons1_)
        if (a->property("key").toString() == key) return a;
    for (const auto& [i, a] : buttons2_)
        if (a->property("key").toString() == key) return a;
    return nullptr;
}

QAction* MainWindow::Toolbar2Button(int index) const {
    auto it = buttons2_.find(index);
    return it == buttons2_.end() ? nullptr : it->second;
}

QMenu* MainWindow::PopupMenu(int button) const {
    auto it = popups_.find(button);
    return it == popups_.end() ? nullptr : it->second;
}

QAction* MainWindow::PopupEntry(int button, int index) const {
    auto it = entries_.find({button, index});
    return it == entries_.end() ? nullptr : it->second;
}

void MainWindow::SetToolbarTips() {
    Session& s = ui_.session();
    for (int i = 1; i <= kToolbar1Buttons; ++i)
        if (QAction* a = ToolbarButton(i)) a->setToolTip(Q(GetText(s, 1499 + i)));
    for (int i = 1; i <= 8; ++i)
        if (QAction* a = Toolbar2Button(i)) a->setToolTip(Q(GetText(s, 1518 + i)));
    if (QAction* a = Toolbar2Button(9)) a->setToolTip(Q(GetText(s, 1782)));
}

void MainWindow::SetLoopToolbarVisible(bool v) { toolbar2_->setVisible(v); }

void MainWindow::ShowLoopToolbar(bool v) {
    toolbar1_->setVisible(!v);
    toolbar2_->setVisible(v);
}

void MainWindow::SetLoopCaption(const QString& text, uint32_t background) {
    if (text.isEmpty()) {
        loopCaption_->clear();
        loopCaption_->hide();
        return;
    }
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    loopCaption_->setText(shown);
    const QColor c(background & 0xFF, (background >> 8) & 0xFF, (background >> 16) & 0xFF);
    // The title area's white text would not read on the light box.
    loopCaption_->setStyleSheet(QStringLiteral("#TXTVimoM { background: %1; color: black; font-weight: bold; }")
                                    .arg(c.name()));
    loopCaption_->show();
}

void MainWindow::SetLoopButtonPressed(int position) {
    for (const auto& [i, a] : buttons2_) {
        a->setCheckable(true);
        a->setChecked(i == position);
    }
}

void MainWindow::Toolbar1Clicked(QAction* a) {
    Session& s = ui_.session();
    s.main.PostCommand({.toolbarButton = static_cast<int16_t>(a->property("buttonIndex").toInt())});
    const QString key = a->property("key").toString();
    if (int popup = PopupOfKey(key)) {
        OpenPopup(popup, a);
        return;
    }
    // The other buttons send the code of their section (from the section
    // table) or close the configuration.
    if (int16_t code = SectionCodeOfKey(s.sections, key.toStdString())) s.main.PostCommand({.section = code});
}

void MainWindow::OpenPopup(int button, QAction* at) {
    if (button == 5) PrepareLoopModuleMenu();
    QMenu* menu = PopupMenu(button);
    QWidget* w = toolbar1_->widgetForAction(at);
    QPoint pos = w ? w->mapToGlobal(QPoint(0, w->height())) : mapToGlobal(QPoint(0, 0));
    menu->popup(pos);
}

void MainWindow::PopupClicked(int button, int index) {
    const PopupDef* def = PopupOf(button);
    if (!def) return;
    Session& s = ui_.session();
    PostedCommand post{.section = static_cast<int16_t>(def->sectionCommand)};
    for (const auto& e : def->entries)
        if (e.index == index && e.sectionCommand != 0) post.section = static_cast<int16_t>(e.sectionCommand);
    auto it = def->options.find(index);
    if (it != def->options.end()) post.option = static_cast<int16_t>(it->second);
    s.main.PostCommand(post);
}

void MainWindow::PrepareLoopModuleMenu() {
    Session& s = ui_.session();
    std::array<bool, 2> present{true, true};
    if (ui_.readLoopModules) present = ui_.CallCore(ui_.readLoopModules);
    const int entryIndex[2] = {0, 2}, moduleText[2] = {210, 212}, missingText[2] = {209, 211};
    for (int m = 0; m < 2; ++m) {
        QAction* a = PopupEntry(5, entryIndex[m]);
        std::string caption = GetText(s, moduleText[m]) + "  ";
        caption += present[static_cast<std::size_t>(m)] ? std::string(20, ' ') : GetText(s, missingText[m]);
        // A blank caption would leave an empty line: keep the design one.
        if (!GetText(s, moduleText[m]).empty()) a->setText(Q(caption).trimmed());
        a->setEnabled(present[static_cast<std::size_t>(m)]);
    }
    PopupEntry(5, 3)->setVisible(false);
    PopupEntry(5, 4)->setVisible(false);
}

void MainWindow::Toolbar2Clicked(QAction* a) {
    Session& s = ui_.session();
    PostedCommand post{.toolbarButton = static_cast<int16_t>(a->property("buttonIndex").toInt())};
    bool ok = false;
    int code = a->property("code").toInt(&ok);
    if (ok && code > 0) post.diagnostic = static_cast<int16_t>(code);
    s.main.PostCommand(post);
}

void MainWindow::SetIdentification(const QString& text) {
    QString oneLine = text;
    oneLine.replace(QLatin1Char('\n'), QStringLiteral("   "));
    heading_->setText(oneLine.trimmed());
}

void MainWindow::SetStatusShown(bool v) {
    statusShown_ = v;
    status_->setVisible(v);
    progress_->setVisible(v);
}

void MainWindow::SetTxRx(const QString& t) {
    rtx_->setText(t.trimmed());
    rtx_->setFrameStyle(t.trimmed().isEmpty() ? QFrame::NoFrame : QFrame::Panel | QFrame::Sunken);
    if (t.trimmed().isEmpty()) rtx_->setStyleSheet(QString());
    else if (t.contains(QLatin1String("Tx"), Qt::CaseInsensitive))
        rtx_->setStyleSheet(QStringLiteral("background: #f5b041; color: black;"));
    else
        rtx_->setStyleSheet(QStringLiteral("background: #58d68d; color: black;"));
}

void MainWindow::HideSectionControls() {
    toolbar2_->hide();
    toolbar1_->show();
    loopCaption_->clear();
    loopCaption_->hide();
    clockLabel_->hide();
}

void MainWindow::StatusTimerFired() {
    status_->clear();
    progress_->setValue(progress_->minimum());
    statusTimer_->stop();
    abortTimer_->stop();
    abort_->hide();
}

void MainWindow::AbortTimerFired() {
    if (statusShown_) abort_->show();
    abortTimer_->stop();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // The program ends from its main loop, which releases the panel first.
    e->ignore();
    if (ui_.session().link.CloseBlocked) return;
    ui_.RequestQuit();
}

void MainWindow::changeEvent(QEvent* e) {
    if (e->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized))
        QTimer::singleShot(0, this, [this] { setWindowState(windowState() & ~Qt::WindowMaximized); });
    QMainWindow::changeEvent(e);
}

bool MainWindow::eventFilter(QObject* o, QEvent* e) {
    // A click on the title area asks for the panel's serial numbering.
    if (e->type() == QEvent::MouseButtonPress && (o == titleArea_ || o == titleLabel_ || o == heading_)) {
        ui_.session().main.PostCommand({.section = 255});
        return true;
    }
    return QMainWindow::eventFilter(o, e);
}

}  // namespace cfg::gui
