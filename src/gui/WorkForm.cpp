#include "WorkForm.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "FormUtil.h"
#include "MainWindow.h"
#include "QtUi.h"
#include "Translate.h"
#include "platform/PortTransport.h"
#include "platform/SerialTransport.h"
#include "shell/Folders.h"
#include "shell/FileNames.h"
#include "shell/Language.h"
#include "shell/LinkSettings.h"
#include "shell/Session.h"
#include "shell/Settings.h"
#include "transfer/Backups.h"

namespace cfg::gui {

namespace {

bool SameText(const QString& a, const std::string& b) {
    return a.compare(Q(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

WorkForm::WorkForm(QtUi& ui, QWidget* parent) : QWidget(parent), ui_(ui) {
    MarkForm(this, "FRMCfgvimo");

    title_ = new QLabel(this);
    SetControlName(title_, "LBLTitolo");
    KeepCaption(title_);
    SetHeadingFont(title_, 4);
    title_->setStyleSheet(QStringLiteral("color: #8a1c1c;"));
    title_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    // Home screen: the program's picture.
    logo_ = new QLabel(this);
    SetControlName(logo_, "PCTLogo");
    logo_->setAlignment(Qt::AlignCenter);
    std::string logoPath = ResolveExisting(JoinPath(DataFolderOf(ui_.session().settings), "LOGO_SYS.GIF"));
    QPixmap logo;
    if (!logoPath.empty() && logo.load(Q(logoPath))) logo_->setPixmap(logo);

    // Configuration view: what is open.
    identFrame_ = new QFrame(this);
    SetControlName(identFrame_, "FRAIdent");
    identFrame_->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    identFrame_->setStyleSheet(QStringLiteral("#FRAIdent { background: #f3f6fa; border: 1px solid #b8c4d2; }"));
    ident_ = new QLabel(identFrame_);
    SetControlName(ident_, "LBLIdent");
    KeepCaption(ident_);
    ident_->setFont(FixedFont(10));
    ident_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    identFrame_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* il = new QHBoxLayout(identFrame_);
    il->setContentsMargins(8, 4, 8, 4);
    il->addWidget(ident_, 1);

    // Editing screen.
    editArea_ = new QWidget(this);
    list_ = new QListWidget(editArea_);
    SetControlName(list_, "LSTConfig");
    list_->setFont(FixedFont(10));
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setMinimumWidth(ListWidthFor80Columns());
    list_->setStyleSheet(QStringLiteral(
        "QListWidget::item:selected { background: #1f5fa8; color: white; }"));
    list_->installEventFilter(this);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { ui_.session().events.UserEvent = true; });

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), editArea_);
        SetControlName(b, name);
        b->setMinimumWidth(110);
        b->setMinimumHeight(30);
        b->setAutoDefault(false);
        return b;
    };
    ok_ = button("CMDOk", "OK");
    cancel_ = button("CMDCancel", "Annulla");
    fwd_ = button("CMDFow", "Avanti");
    rev_ = button("CMDRev", "Indietro");
    reset_ = button("CMDReset", "Reset");
    Session& s = ui_.session();
    connect(ok_, &QPushButton::clicked, this, [&s] { s.events.UserEvent = true; });
    connect(cancel_, &QPushButton::clicked, this, [&s] { s.events.ExitRequested = true; });
    connect(fwd_, &QPushButton::clicked, this, [&s] { s.events.ForwardEvent = true; });
    connect(rev_, &QPushButton::clicked, this, [&s] { s.events.ReverseRequested = true; });
    connect(reset_, &QPushButton::clicked, this, [&s] { s.events.ResetRequested = true; });
    reset_->hide();
    export_ = button("CMDEsporta", "Esporta testi...");
    import_ = button("CMDImporta", "Importa testi...");
    connect(export_, &QPushButton::clicked, this, [&s] { s.events.BulkTextCommand = BulkText::Export; });
    connect(import_, &QPushButton::clicked, this, [&s] { s.events.BulkTextCommand = BulkText::Import; });
    export_->hide();
    import_->hide();

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addSpacing(18);
    buttons->addWidget(fwd_);
    buttons->addWidget(rev_);
    buttons->addWidget(reset_);
    buttons->addSpacing(18);
    buttons->addWidget(export_);
    buttons->addWidget(import_);
    buttons->addStretch(1);
    auto* el = new QHBoxLayout(editArea_);
    el->setContentsMargins(0, 0, 0, 0);
    el->addWidget(list_, 1);
    el->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->addWidget(title_);
    layout->addWidget(identFrame_);
    layout->addWidget(editArea_, 1);
    layout->addWidget(logo_, 1);

    // Menus: the main window shows them in its menu bar.
    settings_ = new QMenu(QStringLiteral("Impostazioni"), this);
    SetControlName(settings_, "MNUImpostazioni");
    settings_->setToolTipsVisible(true);
    connect(settings_, &QMenu::aboutToShow, this, &WorkForm::SettingsMenuOpening);
    ports_ = settings_->addMenu(QStringLiteral("Porta seriale"));
    SetControlName(ports_, "MNUPorta");
    ports_->setToolTipsVisible(true);
    bauds_ = settings_->addMenu(QStringLiteral("Velocità"));
    SetControlName(bauds_, "MNUBaud");
    settings_->addSeparator();
    plantCode_ = settings_->addAction(QStringLiteral("Codice impianto..."));
    SetControlName(plantCode_, "Codiceimpianto");
    connect(plantCode_, &QAction::triggered, this, [this] {
        ui_.CallCore([](Session& s) { ChoosePlantCode(s); });
    });
    // Any port by name; kept by the form because the port list is rebuilt
    // each time the menu opens.
    otherPort_ = new QAction(QStringLiteral("Altra porta..."), this);
    SetControlName(otherPort_, "MNUAltraPorta");
    connect(otherPort_, &QAction::triggered, this, [this] {
        ui_.CallCore([](Session& s) { ChooseOtherPort(s, ProbePort); });
        MarkSettings();
    });
    settings_->addSeparator();
    trace_ = settings_->addAction(QStringLiteral("Traccia della linea seriale"));
    SetControlName(trace_, "MNUTraccia");
    trace_->setCheckable(true);
    connect(trace_, &QAction::triggered, this, [this](bool wanted) {
        const bool on = ui_.CallCore([wanted](Session& s) { return SwitchTrace(s, wanted); });
        ShowTraceState(on);
    });
    // Backups: where they are kept, and whether a send starts with one.
    settings_->addSeparator();
    backupFolder_ = settings_->addAction(QStringLiteral("Cartella delle copie di sicurezza..."));
    SetControlName(backupFolder_, "MNUCartellaBackup");
    connect(backupFolder_, &QAction::triggered, this, [this] {
        ui_.CallCore([](Session& s) { ChooseBackupFolder(s); });
    });
    backupBeforeSend_ = settings_->addAction(QStringLiteral("Copia di sicurezza prima di ogni invio"));
    SetControlName(backupBeforeSend_, "MNUBackupInvio");
    backupBeforeSend_->setCheckable(true);
    connect(backupBeforeSend_, &QAction::triggered, this, [this](bool on) {
        ui_.CallCore([on](Session& s) { SetBackupBeforeSend(s, on); });
    });
    languages_ = new QMenu(QStringLiteral("Lingua"), this);
    SetControlName(languages_, "mnuLanguages");
    help_ = new QMenu(QStringLiteral("&?"), this);
    SetControlName(help_, "MNUAiuto");
    guide_ = help_->addAction(QStringLiteral("Guida"));
    SetControlName(guide_, "MNUGuida");
    // F1 opens the guide from anywhere in the program, even while a section
    // runs (the guide never enters the core).
    guide_->setShortcut(QKeySequence(Qt::Key_F1));
    guide_->setShortcutContext(Qt::ApplicationShortcut);
    connect(guide_, &QAction::triggered, this, [this] { ui_.ShowHelp(); });
    help_->addSeparator();
    info_ = help_->addAction(QStringLiteral("Info"));
    SetControlName(info_, "MNUInfo");
    connect(info_, &QAction::triggered, this, [this] { ui_.ShowAbout(false); });

    FillSettingsMenu();
    UpdateVisibility();
}

int WorkForm::ListWidthFor80Columns() const {
    QFontMetrics fm(list_->font());
    return fm.horizontalAdvance(QString(80, QLatin1Char('M'))) + list_->verticalScrollBar()->sizeHint().width() +
           2 * list_->frameWidth() + 12;
}

bool WorkForm::eventFilter(QObject* o, QEvent* e) {
    if (o == list_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            ui_.session().events.UserEvent = true;
            return true;
        }
        if (k->key() == Qt::Key_Escape) {
            ui_.session().events.ExitRequested = true;
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

void WorkForm::UpdateVisibility() {
    identFrame_->setVisible(configShown_);
    editArea_->setVisible(editShown_);
    // The picture fills the form whenever no section shows its list.
    logo_->setVisible(!editShown_);
}

void WorkForm::SetTitle(const QString& t) {
    homeTitle_ = t;
    if (!editShown_) title_->setText(t);
}

void WorkForm::SetConfigViewVisible(bool v) {
    configShown_ = v;
    if (!v) {
        editShown_ = false;
        ident_->clear();
    }
    UpdateVisibility();
}

void WorkForm::SetIdentification(const QString& t) { ident_->setText(t); }

void WorkForm::ShowEditScreen(const QString& title, const QString& ok, const QString& cancel) {
    title_->setText(title);
    // No OK caption: the list is only to be read.
    ok_->setVisible(!ok.isEmpty());
    if (!ok.isEmpty()) ok_->setText(ok);
    if (!cancel.isEmpty()) cancel_->setText(cancel);
    editShown_ = true;
    UpdateVisibility();
    list_->setFocus();
}

void WorkForm::HideEditScreen() {
    editShown_ = false;
    list_->clear();
    title_->setText(homeTitle_);
    UpdateVisibility();
}

void WorkForm::SetListLines(const std::vector<std::string>& lines, int top, int selected) {
    list_->setUpdatesEnabled(false);
    list_->clear();
    QStringList items;
    items.reserve(static_cast<int>(lines.size()));
    for (const auto& l : lines) items << Q(l);
    list_->addItems(items);
    SetListSelectedIndex(selected);
    if (top >= 0 && top < list_->count()) list_->verticalScrollBar()->setValue(top);
    list_->setUpdatesEnabled(true);
}

int WorkForm::ListTopIndex() const {
    return list_->count() == 0 ? 0 : std::max(0, list_->verticalScrollBar()->value());
}

int WorkForm::ListSelectedIndex() const {
    int row = list_->currentRow();
    if (row < 0 || row >= list_->count() || !list_->item(row)->isSelected()) return -1;
    return row;
}

void WorkForm::SetListSelectedIndex(int i) {
    if (i >= 0 && i < list_->count()) {
        list_->setCurrentRow(i);
        list_->scrollToItem(list_->item(i), QAbstractItemView::EnsureVisible);
    } else {
        list_->clearSelection();
        list_->setCurrentRow(-1);
    }
}

void WorkForm::SetEditButtons(bool forward, bool reverse, bool reset) {
    fwd_->setVisible(forward);
    rev_->setVisible(reverse);
    reset_->setVisible(reset);
}

void WorkForm::SetBulkTextButtons(bool visible) {
    export_->setVisible(visible);
    import_->setVisible(visible);
}

void WorkForm::SetMenusEnabled(bool e) {
    settings_->menuAction()->setEnabled(e);
    languages_->menuAction()->setEnabled(e);
}

void WorkForm::FillSettingsMenu() {
    Session& s = ui_.session();
    ports_->clear();
    bauds_->clear();

    // Ports the system has now, plus the one in the settings file. A USB
    // adapter shows what it reports of itself (description, maker, serial
    // number), so that two adapters of one kind can be told apart.
    struct Entry {
        QString name, description, location;
    };
    std::vector<Entry> ports;
    const std::string serialLabel = GetText(s, 1973);
    for (const SerialPortEntry& p : ListSerialPorts()) {
        const QString location = p.location != p.name ? Q(p.location) : QString();
        ports.push_back({Q(p.name), Q(DescribePort(p, serialLabel)), location});
    }
    if (std::none_of(ports.begin(), ports.end(), [&](const Entry& p) { return SameText(p.name, s.settings.CommPortName); }))
        ports.insert(ports.begin(), Entry{Q(s.settings.CommPortName), QString(), QString()});

    int index = 0;
    for (const Entry& p : ports) {
        const QString name = p.name;
        QAction* a = ports_->addAction(p.description.isEmpty() ? name : name + QStringLiteral("  \u2013  ") + p.description);
        a->setData(name);
        SetControlName(a, "ComSel", index++);
        KeepCaption(a);
        a->setCheckable(true);
        a->setChecked(SameText(name, s.settings.CommPortName));
        if (!p.location.isEmpty()) a->setToolTip(p.location);
        connect(a, &QAction::triggered, this, [this, name] {
            ui_.CallCore([&name](Session& s) { ChoosePort(s, S(name)); });
            MarkSettings();
        });
    }
    ports_->addSeparator();
    ports_->addAction(otherPort_);
    std::vector<std::string> rates(kPanelBaudRates.begin(), kPanelBaudRates.end());
    if (std::find(rates.begin(), rates.end(), s.settings.BaudRate) == rates.end()) rates.push_back(s.settings.BaudRate);
    index = 0;
    for (const auto& rate : rates) {
        QAction* a = bauds_->addAction(Q(rate));
        SetControlName(a, "BaudSel", index++);
        KeepCaption(a);
        a->setCheckable(true);
        a->setChecked(SameText(Q(rate), s.settings.BaudRate));
        connect(a, &QAction::triggered, this, [this, rate] {
            ui_.CallCore([&rate](Session& s) { ChooseBaud(s, rate); });
            MarkSettings();
        });
    }
}

void WorkForm::MarkSettings() {
    const Session& s = ui_.session();
    for (QAction* a : ports_->actions() + bauds_->actions()) {
        if (a->objectName() == QLatin1String("ComSel")) a->setChecked(SameText(a->data().toString(), s.settings.CommPortName));
        else if (a->objectName() == QLatin1String("BaudSel")) a->setChecked(SameText(a->text(), s.settings.BaudRate));
    }
}

void WorkForm::ShowTraceState(bool on) {
    trace_->setChecked(on);
    const QString path = Q(on ? ui_.session().link.TraceFile : TraceFilePath(ui_.session()));
    trace_->setToolTip(path);
    if (MainWindow* w = ui_.mainWindow()) w->SetTraceShown(on, path);
}

void WorkForm::SettingsMenuOpening() {
    Session& s = ui_.session();
    FillSettingsMenu();
    ShowTraceState(TraceOn(s.link));
    const bool relay = s.settings.FileLinkMode;
    for (QAction* a : {ports_->menuAction(), bauds_->menuAction(), plantCode_}) a->setEnabled(!relay);
    backupFolder_->setToolTip(Q(BackupFolder(s)));
    backupBeforeSend_->setChecked(RememberedBackupBeforeSend(s).value_or(false));
    // In relay mode the relay program's values are shown instead.
    if (relay) QTimer::singleShot(0, this, [this] {
            settings_->hide();
            ui_.ShowRelayParams();
        });
}

void WorkForm::FillLanguageMenu(const std::vector<std::string>& names, const std::string& current) {
    languages_->clear();
    int index = 0;
    for (const auto& name : names) {
        QAction* a = languages_->addAction(Q(name));
        SetControlName(a, "MNULanguage", index++);
        KeepCaption(a);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, name] {
            ui_.CallCore([&name](Session& s) { SwitchLanguage(s, name); });
            MarkLanguage(name);
        });
    }
    MarkLanguage(current);
}

void WorkForm::MarkLanguage(const std::string& current) {
    for (QAction* a : languages_->actions()) a->setChecked(a->text() == Q(current));
}

}  // namespace cfg::gui
