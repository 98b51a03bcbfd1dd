// The Qt front end of the core: implements cfg::Ui with the main window, the
// work form and the dialogs. The core is synchronous: a question is a modal
// dialog whose answer the call returns; ProcessEvents lets pending window
// events run, which is where button clicks set the session's flags.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QTranslator>
#include <array>
#include <functional>
#include <utility>
#include <memory>
#include <vector>

#include "Translate.h"
#include "shell/Ui.h"

class QWidget;

namespace cfg {
struct Session;
}

namespace cfg::gui {

class AboutForm;
class HelpWindow;
class ClockProgrammerForm;
class LogicBlockForm;
class LoopGridWindow;
class LoopListWindow;
class WalkTestWindow;
class MainWindow;
class ScreenForm;
class WorkForm;

// Thrown out of ProcessEvents once the user has closed the main window, so
// that whatever the core was doing unwinds back to the program's entry.
struct ProgramEnd {};

class QtUi final : public QObject, public Ui {
    Q_OBJECT
public:
    QtUi();
    ~QtUi() override;

    // Binds the session (built after this object) and creates the main
    // window with the work form.
    void Attach(Session&);
    Session& session() { return *s_; }
    Translator& translator() { return *translator_; }
    MainWindow* mainWindow() const { return main_; }
    WorkForm* workForm() const;

    // --- closing the program ---------------------------------------------------
    // The main window asks to end the program (its close was not blocked).
    void RequestQuit();
    bool QuitRequested() const { return quitRequested_; }
    // While ending, ProcessEvents no longer throws (the clean-up talks to the
    // panel, which yields).
    void SetEnding() { ending_ = true; }
    // Every window handler that calls into the core goes through here: while
    // the core runs inside a handler, ProcessEvents never throws ProgramEnd
    // (it must not cross Qt's event dispatch); the main loop ends the program
    // once the handler has returned.
    template <typename F>
    decltype(auto) CallCore(F&& call) {
        HandlerScope scope(*this);
        return std::forward<F>(call)(*s_);
    }

    // --- forms that the shell shows -------------------------------------------
    // The splash (start-up) or the information box; the toolbar and the work
    // form are disabled while it is open. The splash returns at once (the
    // start-up pause waits for it); the information box waits for its click.
    AboutForm* ShowAbout(bool splash);
    void CloseSplash();
    // The user guide in the chosen language (F1, the information menu); a
    // message names the missing file when the guide is not there.
    void ShowHelp();
    HelpWindow* helpWindow() const;
    // The relay parameters box of the settings menu in file link mode.
    void ShowRelayParams();
    // Re-reads the language menu from the program folder.
    void FillLanguageMenu();
    // Every open form: the main window, the work form and open dialogs.
    std::vector<QWidget*> OpenForms() const;
    void RegisterForm(QWidget*);
    ScreenForm* screenForm() const;
    // The demonstration mode: the window's caption says so.
    void SetDemoMode(bool on) { demo_ = on; }

    // Reads the analog module block before the loop-module popup opens;
    // returns the presence of modules 1 and 2. Without it both are offered.
    std::function<std::array<bool, 2>(Session&)> readLoopModules;

    // --- Ui --------------------------------------------------------------------------
    void ProcessEvents() override;
    bool WaitForEvents(int maxMs) override;
    MsgAnswer MessageBox(const std::string& title, const std::string& text, MsgButtons, MsgIcon) override;
    void Beep() override;
    ValueAnswer ShowValueDialog(const ValueRequest&) override;
    int AskChoice(const ChoiceRequest&) override;
    std::string AskOpenFile(const FileDialogRequest&) override;
    std::string AskSaveFile(const FileDialogRequest&) override;
    CopyDialogAnswer AskCopyFiles(const CopyDialogRequest&) override;
    MessageAnswer AskMessage(const MessageRequest&) override;
    bool AskDateTime(const std::string& title, DateTimeFields&, int focusField) override;
    bool ConfirmRisk(RiskTopic, const std::string& title, const std::string& text) override;
    int AskSensorInput(const SensorInputRequest&) override;
    PrintResult PrintReport(const ReportPrintJob&) override;
    int ChooseBackup(const BackupListView&) override;
    std::string AskFolder(const std::string& title, const std::string& start) override;
    void ShowComparison(const ComparisonView&) override;
    bool AskSerialNumber(SerialNumberFields&, int focusField) override;

    void ShowEditScreen(const std::string& title, const std::string& ok, const std::string& cancel) override;
    void HideEditScreen() override;
    void SetListLines(const std::vector<std::string>& lines, int top, int selected) override;
    int ListTopIndex() override;
    int ListSelectedIndex() override;
    void SetListSelectedIndex(int) override;
    void SetEditButtons(bool forward, bool reverse, bool reset) override;
    void SetBulkTextButtons(bool visible) override;

    void SetToolbarButtonEnabled(int index, bool) override;
    void SetToolbarEnabled(bool) override;
    void SetMainCaption(const std::string&) override;
    void SetWorkTitle(const std::string&) override;
    void SetConfigViewVisible(bool) override;
    void SetSettingsMenusEnabled(bool) override;
    void SetWorkFormEnabled(bool) override;
    void HideLoopDisplay() override;
    void HideSectionControls() override;
    void SetSettingsLabel(const std::string&) override;
    void ShowSettingsLabel() override;
    void SetIdentification(const std::string&) override;

    void SetStatusVisible(bool) override;
    bool StatusVisible() override;
    void SetStatusText(const std::string&) override;
    std::string StatusText() override;
    void SetProgressMaximum(int) override;
    void SetProgressValue(int) override;
    void SetTxRx(const std::string&) override;
    void SetAbortButtonVisible(bool) override;
    void SetStatusTimer(int ms) override;
    bool StatusTimerEnabled() override;
    void SetAbortTimer(bool) override;

    void OpenScreen(const std::string& title, int rows, int cols) override;
    void WriteScreen(int row, int col, const std::string&, ScreenColor) override;
    void ClearScreen() override;
    void CloseScreen() override;
    bool ScreenOpen() override;

    void TranslateForms() override;

    ClockEvent WaitClockProgrammer(const ClockProgrammerView&) override;
    void CloseClockProgrammer() override;
    ClockProgrammerForm* clockProgrammer() const;
    void ShowLogicBlock(const LogicBlockView&) override;
    LogicCommand WaitLogicCommand() override;
    LogicSettingsAnswer AskLogicSettings(const LogicSettingsRequest&) override;
    LogicConditionAnswer AskLogicCondition(const LogicConditionRequest&) override;
    void CloseLogicBlock() override;
    LogicBlockForm* logicBlockForm() const;
    // --- loop-module section -------------------------------------------------------
    void ShowLoopToolbar(bool) override;
    void SetLoopCaption(const std::string& text, uint32_t background) override;
    void SetLoopButtonEnabled(int position, bool enabled) override;
    void SetLoopButtonPressed(int position) override;
    void OpenLoopList(const LoopListSpec&) override;
    void ShowLoopList(const std::vector<std::string>& lines, const LoopPicture&, int top, int selected) override;
    int LoopListTop() override;
    int LoopListSelected() override;
    LoopListInput TakeLoopListInput() override;
    void CloseLoopList() override;
    void OpenDetailWindow(const std::string& title, int rows, int cols) override;
    void WriteDetail(int row, int col, const std::string& text, ScreenColor) override;
    void AddDetailSample(double seconds, const LoopMark&) override;
    bool DetailWindowOpen() override;
    void CloseDetailWindow() override;
    void OpenDiagWindow(const std::string& title, int rows, int cols, bool withReset) override;
    void WriteDiag(int row, int col, const std::string& text, ScreenColor) override;
    bool DiagWindowOpen() override;
    bool TakeDiagReset() override;
    void CloseDiagWindow() override;
    LoopListWindow* loopListWindow() const;
    LoopGridWindow* detailWindow() const;
    LoopGridWindow* diagWindow() const;
    // --- walk test -------------------------------------------------------------------
    void OpenWalkTest(const WalkTestSpec&) override;
    void ShowWalkTest(const WalkTestViewData&) override;
    WalkTestInput TakeWalkTestInput() override;
    void CloseWalkTest() override;
    bool WriteReportPdf(const std::string& path, const ReportPrintJob&) override;
    WalkTestWindow* walkTestWindow() const;

private:
    class HandlerScope {
    public:
        explicit HandlerScope(QtUi& ui) : ui_(ui) { ++ui_.handlerDepth_; }
        ~HandlerScope() { --ui_.handlerDepth_; }
        HandlerScope(const HandlerScope&) = delete;
        HandlerScope& operator=(const HandlerScope&) = delete;

    private:
        QtUi& ui_;
    };

    // What follows every run of window events: deferred deletes, the end of
    // the program once the main window was closed.
    void AfterEvents();
    QWidget* DialogParent() const;
    QWidget* Anchor() const;
    void LoadQtTranslation();
    std::string AskFile(const FileDialogRequest&, bool save);

    Session* s_ = nullptr;
    std::unique_ptr<Translator> translator_;
    MainWindow* main_ = nullptr;
    QPointer<ScreenForm> screen_;
    QPointer<AboutForm> splash_;
    QPointer<HelpWindow> help_;
    QPointer<ClockProgrammerForm> clock_;
    QPointer<LogicBlockForm> logic_;
    QPointer<LoopListWindow> loopList_;
    QPointer<LoopGridWindow> detail_;
    QPointer<LoopGridWindow> diag_;
    QPointer<WalkTestWindow> walk_;
    std::vector<QPointer<QWidget>> forms_;
    QTranslator qtTranslator_;
    QTimer* idleTimer_ = nullptr;  // ends an idle wait when no event came
    bool demo_ = false;
    bool quitRequested_ = false;
    bool ending_ = false;
    int handlerDepth_ = 0;
};

}  // namespace cfg::gui
