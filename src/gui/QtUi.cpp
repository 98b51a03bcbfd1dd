#include "QtUi.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProgressBar>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

#include "AboutForm.h"
#include "HelpWindow.h"
#include "ClockProgrammerForm.h"
#include "CopyFileForm.h"
#include "FormUtil.h"
#include "InputForm.h"
#include "LogicBlockForm.h"
#include "LoopPicture.h"
#include "LoopWindows.h"
#include "WalkTestWindow.h"
#include "MainWindow.h"
#include "MenuForm.h"
#include "MessageInputForm.h"
#include "SensorInputForm.h"
#include "SerialNumberForm.h"
#include "RelayParamsForm.h"
#include "ScreenForm.h"
#include "WorkForm.h"
#include "gui/pages/ReportPages.h"
#include "shell/Folders.h"
#include "shell/Language.h"
#include "shell/Session.h"
#include "shell/Settings.h"
#include "shell/FileNames.h"

namespace cfg::gui {

QtUi::QtUi() = default;

QtUi::~QtUi() {
    delete main_;
}

void QtUi::Attach(Session& s) {
    s_ = &s;
    translator_ = std::make_unique<Translator>(s);
    main_ = new MainWindow(*this);
    RegisterForm(main_);
    RegisterForm(main_->workForm());
}

WorkForm* QtUi::workForm() const { return main_ ? main_->workForm() : nullptr; }
ScreenForm* QtUi::screenForm() const { return screen_.data(); }

void QtUi::RequestQuit() { quitRequested_ = true; }

void QtUi::RegisterForm(QWidget* w) {
    forms_.erase(std::remove_if(forms_.begin(), forms_.end(), [](const QPointer<QWidget>& p) { return p.isNull(); }),
                 forms_.end());
    forms_.emplace_back(w);
}

std::vector<QWidget*> QtUi::OpenForms() const {
    std::vector<QWidget*> out;
    for (const auto& p : forms_)
        if (!p.isNull()) out.push_back(p.data());
    return out;
}

QWidget* QtUi::DialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return main_;
}

QWidget* QtUi::Anchor() const { return workForm(); }

// --- event pump --------------------------------------------------------------

void QtUi::ProcessEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    AfterEvents();
}

bool QtUi::WaitForEvents(int maxMs) {
    if (!idleTimer_) {
        idleTimer_ = new QTimer(this);
        idleTimer_->setSingleShot(true);
    }
    // The timer's expiry is itself an event: the wait ends after maxMs at
    // the latest, at once when the user does something.
    idleTimer_->start(maxMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    idleTimer_->stop();
    AfterEvents();
    return true;
}

void QtUi::AfterEvents() {
    // Objects released with deleteLater go when no window handler is running.
    if (handlerDepth_ == 0) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (quitRequested_ && !ending_ && handlerDepth_ == 0) throw ProgramEnd{};
}

// --- the clock programmer's window ---------------------------------------------

ClockEvent QtUi::WaitClockProgrammer(const ClockProgrammerView& view) {
    if (!clock_) {
        clock_ = new ClockProgrammerForm(*translator_, main_);
        RegisterForm(clock_);
        // Modal to the program, as long as the section runs.
        clock_->setWindowModality(Qt::ApplicationModal);
    }
    clock_->Show(view);
    for (;;) {
        if (!clock_) return {};  // gone with the main window
        if (auto action = clock_->TakeAction()) return *action;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ProcessEvents();
    }
}

ClockProgrammerForm* QtUi::clockProgrammer() const { return clock_; }

void QtUi::CloseClockProgrammer() {
    if (!clock_) return;
    clock_->hide();
    clock_->deleteLater();
    clock_ = nullptr;
}

// --- message boxes -----------------------------------------------------------

MsgAnswer QtUi::MessageBox(const std::string& title, const std::string& text, MsgButtons buttons, MsgIcon icon) {
    QMessageBox box(DialogParent());
    box.setWindowTitle(title.empty() ? QStringLiteral("CFG-Veltrano") : Q(title));
    box.setText(DisplayText(text));
    switch (icon) {
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    }
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MsgButtons::RetryCancel: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
    }
    RegisterForm(&box);
    switch (box.exec()) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Retry: return MsgAnswer::Retry;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Ok: return MsgAnswer::Ok;
    default: break;
    }
    // Closed from its frame: the safe answer.
    if (buttons == MsgButtons::YesNo) return MsgAnswer::No;
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    return MsgAnswer::Cancel;
}

void QtUi::Beep() { QApplication::beep(); }

// --- dialogs -------------------------------------------------------------------

ValueAnswer QtUi::ShowValueDialog(const ValueRequest& req) {
    InputForm form(*translator_, DialogParent());
    RegisterForm(&form);
    return form.Ask(req, Anchor());
}

int QtUi::AskChoice(const ChoiceRequest& req) {
    MenuForm form(*translator_, DialogParent());
    RegisterForm(&form);
    return form.Ask(req, Anchor());
}

std::string QtUi::AskFile(const FileDialogRequest& req, bool save) {
    QString folder = Q(req.folder.empty() ? FilesFolderOf(s_->settings) : req.folder);
    QFileDialog dialog(DialogParent(), Q(req.title), folder);
    dialog.setObjectName(save ? QStringLiteral("SaveFileDialog") : QStringLiteral("OpenFileDialog"));
    QStringList filters;
    for (const auto& f : req.filters) filters << Q(f);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    // File sets are named in upper case, but a disk may hold "plant.cy2".
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The command asks about every file of the set it would overwrite.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!req.initialName.empty()) dialog.selectFile(Q(req.initialName));
    // Wide enough for the names, sizes and dates of the list side by side;
    // the columns fit their contents and the name takes what is left.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(820, 480)));
    if (auto* view = dialog.findChild<QTreeView*>()) {
        view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        view->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? std::string() : S(QDir::toNativeSeparators(chosen.first()));
}

std::string QtUi::AskOpenFile(const FileDialogRequest& req) { return AskFile(req, false); }
std::string QtUi::AskSaveFile(const FileDialogRequest& req) { return AskFile(req, true); }

CopyDialogAnswer QtUi::AskCopyFiles(const CopyDialogRequest& req) {
    CopyFileForm form(*translator_, DialogParent());
    RegisterForm(&form);
    CopyDialogRequest r = req;
    if (r.folder.empty()) r.folder = FilesFolderOf(s_->settings);
    return form.Ask(r, Anchor());
}

MessageAnswer QtUi::AskMessage(const MessageRequest& req) {
    s_->events.MessageRangeInput = false;
    MessageInputForm form(*s_, *translator_, DialogParent());
    RegisterForm(&form);
    return form.Ask(req, Anchor());
}

bool QtUi::ConfirmRisk(RiskTopic, const std::string& title, const std::string& text) {
    QMessageBox box(DialogParent());
    box.setObjectName(QStringLiteral("RiskBox"));
    box.setWindowTitle(title.empty() ? QStringLiteral("CFG-Veltrano") : Q(title));
    box.setText(DisplayText(text));
    box.setIcon(QMessageBox::Warning);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    // Enter or a hasty click on the default keeps the data safe.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    RegisterForm(&box);
    return box.exec() == QMessageBox::Yes;
}

bool QtUi::AskDateTime(const std::string& title, DateTimeFields& fields, int focusField) {
    InputForm form(*translator_, DialogParent());
    RegisterForm(&form);
    return form.AskDateTime(title, fields, focusField, Anchor());
}

int QtUi::AskSensorInput(const SensorInputRequest& req) {
    SensorInputForm form(*translator_, DialogParent());
    RegisterForm(&form);
    return form.Ask(req, Anchor());
}

bool QtUi::AskSerialNumber(SerialNumberFields& fields, int focusField) {
    SerialNumberForm form(*translator_, DialogParent());
    RegisterForm(&form);
    return form.Ask(fields, focusField, Anchor());
}

// The print preview, laid out as the printer will print it; its print
// button opens the system's print dialog, where a PDF file is one of the
// printers.
PrintResult QtUi::PrintReport(const ReportPrintJob& job) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(Q(job.title));
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    if (!printer.isValid()) return PrintResult::Failed;
    QPrintPreviewDialog preview(&printer, DialogParent());
    preview.setWindowTitle(Q(job.title));
    bool painted = true;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter* p) { painted = PaintReport(*p, job) > 0; });
    preview.resize(900, 700);
    int result = preview.exec();
    if (!painted) return PrintResult::Failed;
    return result == QDialog::Accepted ? PrintResult::Printed : PrintResult::Cancelled;
}

// --- the editing screen ----------------------------------------------------------

void QtUi::ShowEditScreen(const std::string& title, const std::string& ok, const std::string& cancel) {
    workForm()->ShowEditScreen(Q(title), Q(ok), Q(cancel));
}
void QtUi::HideEditScreen() { workForm()->HideEditScreen(); }
void QtUi::SetListLines(const std::vector<std::string>& lines, int top, int selected) {
    workForm()->SetListLines(lines, top, selected);
}
int QtUi::ListTopIndex() { return workForm()->ListTopIndex(); }
int QtUi::ListSelectedIndex() { return workForm()->ListSelectedIndex(); }
void QtUi::SetListSelectedIndex(int i) { workForm()->SetListSelectedIndex(i); }
void QtUi::SetEditButtons(bool forward, bool reverse, bool reset) {
    workForm()->SetEditButtons(forward, reverse, reset);
}
void QtUi::SetBulkTextButtons(bool visible) { workForm()->SetBulkTextButtons(visible); }

// --- main window and work form -----------------------------------------------------

void QtUi::SetToolbarButtonEnabled(int index, bool e) {
    if (QAction* a = main_->ToolbarButton(index)) a->setEnabled(e);
}
void QtUi::SetToolbarEnabled(bool e) { main_->toolbar1()->setEnabled(e); }
void QtUi::SetMainCaption(const std::string& c) {
    main_->setWindowTitle(demo_ ? Q(c) + QStringLiteral("  [DEMO]") : Q(c));
}
void QtUi::SetWorkTitle(const std::string& t) { workForm()->SetTitle(Q(t)); }
void QtUi::SetConfigViewVisible(bool v) {
    workForm()->SetConfigViewVisible(v);
    // Without an open configuration the title area names none.
    if (!v) main_->SetIdentification(QString());
}
void QtUi::SetSettingsMenusEnabled(bool e) { workForm()->SetMenusEnabled(e); }
void QtUi::SetWorkFormEnabled(bool e) { workForm()->setEnabled(e); }
// The live loop views close their windows when they end; a reset of the
// main loop closes whatever one left open.
void QtUi::HideLoopDisplay() {
    for (QWidget* w : {static_cast<QWidget*>(loopList_.data()), static_cast<QWidget*>(detail_.data()),
                       static_cast<QWidget*>(diag_.data()), static_cast<QWidget*>(walk_.data())})
        if (w) w->hide();
}
void QtUi::HideSectionControls() { main_->HideSectionControls(); }
void QtUi::SetSettingsLabel(const std::string& t) {
    // In demo mode no port is opened: the panel is the built-in simulated
    // one, whatever port, speed and code the settings name.
    std::string shown = t;
    if (demo_ && s_) shown = GetText(*s_, 1640);
    main_->settingsLabel()->setText(Q(shown.empty() ? t : shown));
    workForm()->MarkSettings();
}
void QtUi::ShowSettingsLabel() { main_->settingsLabel()->show(); }
void QtUi::SetIdentification(const std::string& t) {
    main_->SetIdentification(DisplayText(t));
    workForm()->SetIdentification(DisplayText(t));
}

// --- busy area ---------------------------------------------------------------------

void QtUi::SetStatusVisible(bool v) { main_->SetStatusShown(v); }
bool QtUi::StatusVisible() { return main_->StatusShown(); }
void QtUi::SetStatusText(const std::string& t) { main_->statusLabel()->setText(Q(t)); }
std::string QtUi::StatusText() { return S(main_->statusLabel()->text()); }
void QtUi::SetProgressMaximum(int m) {
    // A range of 0..0 would make the bar a "busy" animation.
    main_->progressBar()->setRange(0, std::max(1, m));
}
void QtUi::SetProgressValue(int v) {
    QProgressBar* bar = main_->progressBar();
    bar->setValue(std::max(bar->minimum(), std::min(v, bar->maximum())));
}
void QtUi::SetTxRx(const std::string& t) { main_->SetTxRx(Q(t)); }
void QtUi::SetAbortButtonVisible(bool v) { main_->abortButton()->setVisible(v); }
void QtUi::SetStatusTimer(int ms) {
    if (ms <= 0) main_->statusTimer()->stop();
    else main_->statusTimer()->start(ms);
}
bool QtUi::StatusTimerEnabled() { return main_->statusTimer()->isActive(); }
void QtUi::SetAbortTimer(bool e) {
    // Every frame enables the timer; restarting it each time would keep the
    // abort button hidden for as long as frames keep coming. Enabling a
    // running timer leaves it running, so the button shows once the whole
    // operation has lasted the interval.
    if (!e) main_->abortTimer()->stop();
    else if (!main_->abortTimer()->isActive()) main_->abortTimer()->start();
}

// --- text grid window ----------------------------------------------------------------

void QtUi::OpenScreen(const std::string& title, int rows, int cols) {
    if (screen_.isNull()) {
        screen_ = new ScreenForm(*s_, *translator_, main_);
        RegisterForm(screen_);
    }
    screen_->Open(title, rows, cols, Anchor());
}

void QtUi::WriteScreen(int row, int col, const std::string& text, ScreenColor color) {
    if (!screen_.isNull()) screen_->grid()->Write(row, col, Q(text), color);
}

void QtUi::ClearScreen() {
    if (!screen_.isNull()) screen_->grid()->Clear();
}

void QtUi::CloseScreen() {
    if (!screen_.isNull()) screen_->CloseByProgram();
}

bool QtUi::ScreenOpen() { return !screen_.isNull() && screen_->isVisible(); }

// --- language ----------------------------------------------------------------------

void QtUi::TranslateForms() {
    for (QWidget* form : OpenForms()) translator_->TranslateForm(form);
    main_->SetToolbarTips();
    workForm()->MarkLanguage(s_->settings.CurrentLanguage);
    LoadQtTranslation();
}

void QtUi::FillLanguageMenu() {
    std::vector<std::string> names = FillLanguages(*s_);
    workForm()->FillLanguageMenu(names, s_->settings.CurrentLanguage);
    LoadQtTranslation();
}

void QtUi::LoadQtTranslation() {
    // The standard buttons (Yes, No, Cancel) and the file dialogs speak the
    // chosen language when Qt has a translation for it.
    static const std::map<QString, QString> codes = {
        {QStringLiteral("italiano"), QStringLiteral("it")}, {QStringLiteral("english"), QStringLiteral("en")},
        {QStringLiteral("deutsch"), QStringLiteral("de")},  {QStringLiteral("français"), QStringLiteral("fr")},
        {QStringLiteral("francais"), QStringLiteral("fr")}, {QStringLiteral("español"), QStringLiteral("es")},
        {QStringLiteral("espanol"), QStringLiteral("es")},  {QStringLiteral("português"), QStringLiteral("pt")},
    };
    QCoreApplication::removeTranslator(&qtTranslator_);
    auto it = codes.find(Q(s_->settings.CurrentLanguage).toLower());
    if (it == codes.end() || it->second == QLatin1String("en")) return;
    const QString name = QStringLiteral("qtbase_") + it->second;
    if (qtTranslator_.load(name, Q(DataFolderOf(s_->settings))) ||
        qtTranslator_.load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator_);
}

// --- shell forms -----------------------------------------------------------------------

AboutForm* QtUi::ShowAbout(bool splash) {
    auto* form = new AboutForm(*translator_, DataFolderOf(s_->settings), main_);
    form->setAttribute(Qt::WA_DeleteOnClose);
    RegisterForm(form);
    main_->toolbar1()->setEnabled(false);
    workForm()->setEnabled(false);
    form->onClosed = [this] {
        workForm()->setEnabled(true);
        s_->events.PauseBreak = true;
        main_->toolbar1()->setEnabled(true);
    };
    if (!splash) {
        // Where this copy keeps its settings and file sets (the user's
        // folders when it is installed).
        form->SetFolders(Q(GetText(*s_, 1992) + " " + SettingsFilePath(*s_) + "\n" + GetText(*s_, 1993) + " " +
                           FilesFolderOf(s_->settings)));
    }
    PlaceForm(form, Anchor(), 0, 0);
    if (splash) {
        splash_ = form;
        form->show();
        form->raise();
        return form;
    }
    form->exec();
    return nullptr;
}

HelpWindow* QtUi::helpWindow() const { return help_.data(); }

void QtUi::ShowHelp() {
    const std::string page = HelpIndexPath(DataFolderOf(s_->settings), GetText(*s_, 1990));
    if (page.empty()) {
        MessageBox(s_->main.Shell.ApplicationTitle, GetText(*s_, 1991) + "\r" + JoinPath(DataFolderOf(s_->settings), "help"),
                   MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (help_.isNull()) {
        help_ = new HelpWindow(*translator_, main_);
        help_->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    help_->Open(Q(page));
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void QtUi::CloseSplash() {
    if (!splash_.isNull()) splash_->close();
    splash_.clear();
}

void QtUi::ShowRelayParams() {
    main_->toolbar1()->setEnabled(false);
    RelayParamsForm form(*translator_, s_->settings.RelayBaudRate, s_->settings.RelayPlantCode, main_);
    RegisterForm(&form);
    form.exec();
    main_->toolbar1()->setEnabled(true);
}

// --- the function-block window ------------------------------------------------

LogicBlockForm* QtUi::logicBlockForm() const { return logic_.data(); }

void QtUi::ShowLogicBlock(const LogicBlockView& view) {
    if (logic_.isNull()) {
        logic_ = new LogicBlockForm(*translator_, DialogParent());
        logic_->setAttribute(Qt::WA_DeleteOnClose, false);
        logic_->setWindowModality(Qt::ApplicationModal);
        RegisterForm(logic_);
        PlaceForm(logic_, Anchor(), 0, 0);
    }
    logic_->ShowView(view);
}

LogicCommand QtUi::WaitLogicCommand() {
    if (logic_.isNull()) return {};
    return logic_->WaitCommand();
}

LogicSettingsAnswer QtUi::AskLogicSettings(const LogicSettingsRequest& r) {
    if (logic_.isNull()) return {};
    return logic_->AskSettings(r);
}

LogicConditionAnswer QtUi::AskLogicCondition(const LogicConditionRequest& r) {
    if (logic_.isNull()) return {};
    return logic_->AskCondition(r);
}

void QtUi::CloseLogicBlock() {
    if (logic_.isNull()) return;
    logic_->hide();
    logic_->deleteLater();
    logic_ = nullptr;
}

// --- loop-module section -------------------------------------------------------------

LoopListWindow* QtUi::loopListWindow() const { return loopList_.data(); }
LoopGridWindow* QtUi::detailWindow() const { return detail_.data(); }
LoopGridWindow* QtUi::diagWindow() const { return diag_.data(); }

void QtUi::ShowLoopToolbar(bool v) { main_->ShowLoopToolbar(v); }
void QtUi::SetLoopCaption(const std::string& text, uint32_t background) {
    main_->SetLoopCaption(Q(text), background);
}
void QtUi::SetLoopButtonEnabled(int position, bool e) {
    if (QAction* a = main_->Toolbar2Button(position)) a->setEnabled(e);
}
void QtUi::SetLoopButtonPressed(int position) { main_->SetLoopButtonPressed(position); }

void QtUi::OpenLoopList(const LoopListSpec& spec) {
    if (loopList_.isNull()) {
        loopList_ = new LoopListWindow(*translator_, main_);
        RegisterForm(loopList_);
    }
    loopList_->Open(spec, Anchor());
}
void QtUi::ShowLoopList(const std::vector<std::string>& lines, const LoopPicture& pic, int top, int selected) {
    if (!loopList_.isNull()) loopList_->Show(lines, pic, top, selected);
}
int QtUi::LoopListTop() { return loopList_.isNull() ? 0 : loopList_->TopIndex(); }
int QtUi::LoopListSelected() { return loopList_.isNull() ? -1 : loopList_->SelectedIndex(); }
LoopListInput QtUi::TakeLoopListInput() {
    if (loopList_.isNull() || !loopList_->isVisible()) {
        LoopListInput closed;
        closed.closed = true;
        return closed;
    }
    return loopList_->Take();
}
void QtUi::CloseLoopList() {
    if (!loopList_.isNull()) loopList_->CloseByProgram();
}

void QtUi::OpenDetailWindow(const std::string& title, int rows, int cols) {
    if (detail_.isNull()) {
        detail_ = new LoopGridWindow(LoopGridWindow::Kind::Detail, *translator_, main_);
        RegisterForm(detail_);
    }
    QWidget* anchor = loopList_.isNull() ? Anchor() : static_cast<QWidget*>(loopList_.data());
    detail_->Open(title, rows, cols, false, anchor);
}
void QtUi::WriteDetail(int row, int col, const std::string& text, ScreenColor c) {
    if (!detail_.isNull()) detail_->grid()->Write(row, col, Q(text), c);
}
void QtUi::AddDetailSample(double seconds, const LoopMark& m) {
    if (!detail_.isNull() && detail_->history()) detail_->history()->Add(seconds, m);
}
bool QtUi::DetailWindowOpen() { return !detail_.isNull() && detail_->isVisible(); }
void QtUi::CloseDetailWindow() {
    if (!detail_.isNull()) detail_->CloseByProgram();
}

void QtUi::OpenDiagWindow(const std::string& title, int rows, int cols, bool withReset) {
    if (diag_.isNull()) {
        diag_ = new LoopGridWindow(LoopGridWindow::Kind::Diagnostic, *translator_, main_);
        RegisterForm(diag_);
    }
    diag_->Open(title, rows, cols, withReset, Anchor());
}
void QtUi::WriteDiag(int row, int col, const std::string& text, ScreenColor c) {
    if (!diag_.isNull()) diag_->grid()->Write(row, col, Q(text), c);
}
bool QtUi::DiagWindowOpen() { return !diag_.isNull() && diag_->isVisible(); }
bool QtUi::TakeDiagReset() { return !diag_.isNull() && diag_->TakeReset(); }
void QtUi::CloseDiagWindow() {
    if (!diag_.isNull()) diag_->CloseByProgram();
}

// --- walk test ---------------------------------------------------------------------------

WalkTestWindow* QtUi::walkTestWindow() const { return walk_.data(); }

void QtUi::OpenWalkTest(const WalkTestSpec& spec) {
    if (walk_.isNull()) {
        walk_ = new WalkTestWindow(*translator_, main_);
        RegisterForm(walk_);
    }
    walk_->Open(spec, Anchor());
}
void QtUi::ShowWalkTest(const WalkTestViewData& d) {
    if (!walk_.isNull()) walk_->Show(d);
}
WalkTestInput QtUi::TakeWalkTestInput() {
    if (walk_.isNull() || !walk_->isVisible()) {
        WalkTestInput closed;
        closed.closed = true;
        return closed;
    }
    return walk_->Take();
}
void QtUi::CloseWalkTest() {
    if (!walk_.isNull()) walk_->CloseByProgram();
}
bool QtUi::WriteReportPdf(const std::string& path, const ReportPrintJob& job) {
    return gui::WriteReportPdf(path, job);
}

}  // namespace cfg::gui
