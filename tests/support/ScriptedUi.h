// A Ui for tests: answers come from queues the test fills, and everything the
// core shows is recorded. With the test language file (every text is its own
// four-digit id) a message reads like "1381\r1382".
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "shell/SilentUi.h"

namespace cfg::test {

struct ShownMessage {
    std::string title;
    std::string text;
    MsgButtons buttons;
    MsgIcon icon;
};

class ScriptedUi : public SilentUi {
public:
    // --- answers ------------------------------------------------------------
    std::deque<MsgAnswer> messageAnswers;      // default: Ok / Yes per buttons
    std::deque<ValueAnswer> valueAnswers;      // default: not confirmed
    std::deque<int> choiceAnswers;             // default: -1
    std::deque<std::string> openFileAnswers;   // default: ""
    std::deque<std::string> saveFileAnswers;
    std::deque<CopyDialogAnswer> copyAnswers;
    std::deque<std::pair<bool, DateTimeFields>> dateTimeAnswers;
    std::vector<int> dateTimeFocus;  // the field to correct, per date-time dialog (-1 none)
    // What the user does in the clock programmer's window, one action per
    // wait; when none is left the window is closed.
    std::deque<ClockEvent> clockEvents;
    // The function-block window: buttons pressed (default: close), answers
    // of its two frames (default: cancelled).
    std::deque<LogicCommand> logicCommands;
    std::deque<LogicSettingsAnswer> logicSettingsAnswers;
    std::deque<LogicConditionAnswer> logicConditionAnswers;
    std::deque<int> sensorInputAnswers;        // default: cancelled (0)
    PrintResult printResult = PrintResult::Printed;
    // The serial-number form: each answer may change the fields; default: cancelled.
    std::deque<std::function<bool(SerialNumberFields&, int focusField)>> serialAnswers;
    // Run one per ProcessEvents call (a click, a timer, ...).
    std::deque<std::function<void()>> events;
    // Run on every ProcessEvents call after the queued event.
    std::function<void()> onProcessEvents;

    // Helpers to queue answers.
    void AnswerNumber(double v);
    void AnswerText(const std::string& t);
    void AnswerIndex(int i);
    void Cancel();

    // The questions that put data at risk: default yes, like MessageBox.
    std::deque<bool> riskAnswers;
    std::vector<std::pair<RiskTopic, std::string>> risks;  // title|text of each
    std::deque<int> backupChoices;             // the backups list: default none (-1)
    std::deque<std::string> folderAnswers;     // the folder chooser: default cancelled

    // --- what was shown -----------------------------------------------------
    std::vector<BackupListView> backupLists;
    std::vector<ComparisonView> comparisons;
    std::vector<ShownMessage> messages;
    std::vector<ValueRequest> valueRequests;
    std::vector<ChoiceRequest> choiceRequests;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<CopyDialogRequest> copyRequests;
    std::vector<SensorInputRequest> sensorInputRequests;
    std::vector<ReportPrintJob> printJobs;
    std::vector<std::string> listLines;
    int listTop = 0, listSelected = -1;
    std::map<int, bool> toolbar;  // button index -> enabled
    bool toolbarEnabled = true;
    std::string mainCaption, workTitle, settingsLabel, identification;
    bool configViewVisible = false, settingsMenusEnabled = true, workFormEnabled = true;
    bool editScreenShown = false;
    bool bulkTextButtons = false;
    std::deque<MessageAnswer> messageInputAnswers;  // default: cancelled
    std::vector<MessageRequest> messageRequests;
    std::string editTitle;
    bool statusVisible = false;
    std::string statusText;
    std::vector<std::string> statusHistory;
    int progressMax = 0, progressValue = 0;
    std::string txrx;
    bool abortVisible = false;
    int statusTimerMs = 0;
    bool abortTimer = false;
    int beeps = 0;
    int settingsLabelShown = 0;
    int processEventsCalls = 0;
    int translateCalls = 0;
    std::vector<std::string> screenWrites;
    bool screenOpen = false;
    std::vector<ClockProgrammerView> clockViews;  // every view the window showed
    bool clockWindowOpen = false;
    std::vector<LogicBlockView> logicViews;  // every view the window showed
    std::vector<LogicSettingsRequest> logicSettingsRequests;
    std::vector<LogicConditionRequest> logicConditionRequests;
    bool logicBlockOpen = false;

    // Texts of all messages, title first, joined with "|" (for quick asserts).
    std::string AllMessages() const;
    bool Showed(const std::string& fragment) const;

    // --- Ui -----------------------------------------------------------------
    void ProcessEvents() override;
    MsgAnswer MessageBox(const std::string& title, const std::string& text, MsgButtons, MsgIcon) override;
    void Beep() override { ++beeps; }
    ValueAnswer ShowValueDialog(const ValueRequest&) override;
    int AskChoice(const ChoiceRequest&) override;
    std::string AskOpenFile(const FileDialogRequest&) override;
    std::string AskSaveFile(const FileDialogRequest&) override;
    CopyDialogAnswer AskCopyFiles(const CopyDialogRequest&) override;
    MessageAnswer AskMessage(const MessageRequest&) override;
    bool AskDateTime(const std::string&, DateTimeFields&, int) override;
    bool ConfirmRisk(RiskTopic topic, const std::string& title, const std::string& text) override {
        risks.push_back({topic, title + "|" + text});
        if (riskAnswers.empty()) return true;
        bool yes = riskAnswers.front();
        riskAnswers.pop_front();
        return yes;
    }
    int AskSensorInput(const SensorInputRequest&) override;
    int ChooseBackup(const BackupListView& v) override {
        backupLists.push_back(v);
        if (backupChoices.empty()) return -1;
        int c = backupChoices.front();
        backupChoices.pop_front();
        return c;
    }
    std::string AskFolder(const std::string&, const std::string&) override {
        if (folderAnswers.empty()) return {};
        std::string f = folderAnswers.front();
        folderAnswers.pop_front();
        return f;
    }
    void ShowComparison(const ComparisonView& v) override { comparisons.push_back(v); }
    bool AskSerialNumber(SerialNumberFields& f, int focusField) override {
        if (serialAnswers.empty()) return false;
        auto answer = std::move(serialAnswers.front());
        serialAnswers.pop_front();
        return answer(f, focusField);
    }
    PrintResult PrintReport(const ReportPrintJob& job) override {
        printJobs.push_back(job);
        return printResult;
    }
    void ShowEditScreen(const std::string& title, const std::string&, const std::string&) override {
        editScreenShown = true;
        editTitle = title;
    }
    void HideEditScreen() override { editScreenShown = false; }
    void SetListLines(const std::vector<std::string>& lines, int top, int selected) override {
        listLines = lines;
        listTop = top;
        listSelected = selected;
    }
    int ListTopIndex() override { return listTop; }
    int ListSelectedIndex() override { return listSelected; }
    void SetListSelectedIndex(int i) override { listSelected = i; }
    void SetBulkTextButtons(bool v) override { bulkTextButtons = v; }
    void SetToolbarButtonEnabled(int i, bool e) override { toolbar[i] = e; }
    void SetToolbarEnabled(bool e) override { toolbarEnabled = e; }
    void SetMainCaption(const std::string& c) override { mainCaption = c; }
    void SetWorkTitle(const std::string& c) override { workTitle = c; }
    void SetConfigViewVisible(bool v) override { configViewVisible = v; }
    void SetSettingsMenusEnabled(bool e) override { settingsMenusEnabled = e; }
    void SetWorkFormEnabled(bool e) override { workFormEnabled = e; }
    void SetSettingsLabel(const std::string& t) override { settingsLabel = t; }
    void ShowSettingsLabel() override { ++settingsLabelShown; }
    void SetIdentification(const std::string& t) override { identification = t; }
    void SetStatusVisible(bool v) override { statusVisible = v; }
    bool StatusVisible() override { return statusVisible; }
    void SetStatusText(const std::string& t) override;
    std::string StatusText() override { return statusText; }
    void SetProgressMaximum(int m) override { progressMax = m; }
    void SetProgressValue(int v) override { progressValue = v; }
    void SetTxRx(const std::string& t) override { txrx = t; }
    void SetAbortButtonVisible(bool v) override { abortVisible = v; }
    void SetStatusTimer(int ms) override { statusTimerMs = ms; }
    bool StatusTimerEnabled() override { return statusTimerMs > 0; }
    void SetAbortTimer(bool e) override { abortTimer = e; }
    void OpenScreen(const std::string& title, int, int) override {
        screenOpen = true;
        screenWrites.push_back("[open] " + title);
    }
    void WriteScreen(int row, int col, const std::string& t, ScreenColor) override {
        screenWrites.push_back(std::to_string(row) + "," + std::to_string(col) + ":" + t);
    }
    void CloseScreen() override { screenOpen = false; }
    bool ScreenOpen() override { return screenOpen; }
    void TranslateForms() override { ++translateCalls; }
    ClockEvent WaitClockProgrammer(const ClockProgrammerView& view) override {
        clockViews.push_back(view);
        clockWindowOpen = true;
        ClockEvent e;
        if (!clockEvents.empty()) {
            e = clockEvents.front();
            clockEvents.pop_front();
        }
        return e;
    }
    void CloseClockProgrammer() override { clockWindowOpen = false; }
    void ShowLogicBlock(const LogicBlockView& v) override {
        logicBlockOpen = true;
        logicViews.push_back(v);
    }
    LogicCommand WaitLogicCommand() override;
    LogicSettingsAnswer AskLogicSettings(const LogicSettingsRequest&) override;
    LogicConditionAnswer AskLogicCondition(const LogicConditionRequest&) override;
    void CloseLogicBlock() override { logicBlockOpen = false; }

    // --- loop-module section ------------------------------------------------
    bool loopToolbarShown = false;
    std::string loopCaption;
    uint32_t loopCaptionColour = 0;
    std::map<int, bool> loopButtons;  // Toolbar2 position -> enabled
    int loopPressed = 0;
    std::vector<int> loopPressedHistory;
    bool loopListOpen = false;
    LoopListSpec loopListSpec;
    std::vector<std::string> loopLines;
    LoopPicture loopPicture;
    int loopListShows = 0;
    int loopTop = 0, loopSelected = -1;
    // What the user does in the list window, one per look; nothing when empty.
    std::deque<LoopListInput> loopListInputs;
    bool detailOpen = false;
    std::vector<std::string> detailWrites;
    std::vector<LoopMark> detailSamples;
    int detailOpens = 0;
    bool diagOpen = false;
    bool diagHasReset = false;
    bool diagResetPending = false;
    std::vector<std::string> diagWrites;
    int diagOpens = 0;

    void ShowLoopToolbar(bool v) override { loopToolbarShown = v; }
    void SetLoopCaption(const std::string& t, uint32_t colour) override {
        loopCaption = t;
        loopCaptionColour = colour;
    }
    void SetLoopButtonEnabled(int position, bool e) override { loopButtons[position] = e; }
    void SetLoopButtonPressed(int position) override {
        loopPressed = position;
        loopPressedHistory.push_back(position);
    }
    void OpenLoopList(const LoopListSpec& spec) override {
        loopListOpen = true;
        loopListSpec = spec;
    }
    void ShowLoopList(const std::vector<std::string>& lines, const LoopPicture& pic, int top, int selected) override {
        loopLines = lines;
        loopPicture = pic;
        loopTop = top;
        loopSelected = selected;
        ++loopListShows;
    }
    int LoopListTop() override { return loopTop; }
    int LoopListSelected() override { return loopSelected; }
    LoopListInput TakeLoopListInput() override;
    void CloseLoopList() override { loopListOpen = false; }
    void OpenDetailWindow(const std::string& title, int, int) override {
        detailOpen = true;
        ++detailOpens;
        detailWrites.push_back("[open] " + title);
    }
    void WriteDetail(int row, int col, const std::string& t, ScreenColor c) override {
        detailWrites.push_back(std::to_string(row) + "," + std::to_string(col) + ":" + t + ColorTag(c));
    }
    void AddDetailSample(double, const LoopMark& m) override { detailSamples.push_back(m); }
    bool DetailWindowOpen() override { return detailOpen; }
    void CloseDetailWindow() override { detailOpen = false; }
    void OpenDiagWindow(const std::string& title, int, int, bool withReset) override {
        diagOpen = true;
        diagHasReset = withReset;
        ++diagOpens;
        diagWrites.push_back("[open] " + title);
    }
    void WriteDiag(int row, int col, const std::string& t, ScreenColor c) override {
        diagWrites.push_back(std::to_string(row) + "," + std::to_string(col) + ":" + t + ColorTag(c));
    }
    bool DiagWindowOpen() override { return diagOpen; }
    bool TakeDiagReset() override {
        const bool r = diagResetPending;
        diagResetPending = false;
        return r;
    }
    void CloseDiagWindow() override { diagOpen = false; }
    // "" for the default colour, else "{red}", "{green}", ...
    static std::string ColorTag(ScreenColor);

    // --- walk test -----------------------------------------------------------------
    // What the user does in the walk-test window, one per look (the
    // window's seconds pass meanwhile); when none is left it is closed.
    std::deque<WalkTestInput> walkInputs;
    bool walkOpen = false;
    WalkTestSpec walkSpec;
    std::vector<WalkTestViewData> walkViews;
    std::vector<std::pair<std::string, ReportPrintJob>> pdfWrites;  // written as the report's lines
    bool pdfWritable = true;
    void OpenWalkTest(const WalkTestSpec& spec) override {
        walkOpen = true;
        walkSpec = spec;
    }
    void ShowWalkTest(const WalkTestViewData& d) override { walkViews.push_back(d); }
    WalkTestInput TakeWalkTestInput() override;
    void CloseWalkTest() override { walkOpen = false; }
    bool WriteReportPdf(const std::string& path, const ReportPrintJob& job) override;
};

}  // namespace cfg::test
