// The Ui where nobody is there to answer: tests, fuzz targets and
// benchmarks. Every message is taken as answered with OK (and counted),
// every dialog and choice is cancelled, every window reads as closed. A
// front end derives from Ui itself and answers every method, so that one it
// forgets does not compile.
#pragma once

#include "Ui.h"

namespace cfg {

class SilentUi : public Ui {
public:
    // Messages shown so far: a run that needed to tell the user something
    // is seen by its count.
    int messagesShown = 0;

    MsgAnswer MessageBox(const std::string&, const std::string&, MsgButtons, MsgIcon) override {
        ++messagesShown;
        return MsgAnswer::Ok;
    }
    void ProcessEvents() override {}
    bool WaitForEvents(int) override { return false; }

    void Beep() override {}
    ValueAnswer ShowValueDialog(const ValueRequest&) override { return {}; }
    int AskChoice(const ChoiceRequest&) override { return -1; }
    std::string AskOpenFile(const FileDialogRequest&) override { return {}; }
    std::string AskSaveFile(const FileDialogRequest&) override { return {}; }
    CopyDialogAnswer AskCopyFiles(const CopyDialogRequest&) override { return {}; }
    MessageAnswer AskMessage(const MessageRequest&) override { return {}; }
    bool AskDateTime(const std::string&, DateTimeFields&, int) override { return false; }
    bool ConfirmRisk(RiskTopic, const std::string&, const std::string&) override { return false; }

    void ShowEditScreen(const std::string&, const std::string&, const std::string&) override {}
    void HideEditScreen() override {}
    void SetListLines(const std::vector<std::string>&, int, int) override {}
    int ListTopIndex() override { return 0; }
    int ListSelectedIndex() override { return -1; }
    void SetListSelectedIndex(int) override {}
    void SetEditButtons(bool, bool, bool) override {}
    void SetBulkTextButtons(bool) override {}

    void SetToolbarButtonEnabled(int, bool) override {}
    void SetToolbarEnabled(bool) override {}
    void SetMainCaption(const std::string&) override {}
    void SetWorkTitle(const std::string&) override {}
    void SetConfigViewVisible(bool) override {}
    void SetSettingsMenusEnabled(bool) override {}
    void SetWorkFormEnabled(bool) override {}
    void HideLoopDisplay() override {}
    void HideSectionControls() override {}
    void SetSettingsLabel(const std::string&) override {}
    void ShowSettingsLabel() override {}
    void SetIdentification(const std::string&) override {}
    void TranslateForms() override {}

    void SetStatusVisible(bool) override {}
    bool StatusVisible() override { return false; }
    void SetStatusText(const std::string&) override {}
    std::string StatusText() override { return {}; }
    void SetProgressMaximum(int) override {}
    void SetProgressValue(int) override {}
    void SetTxRx(const std::string&) override {}
    void SetAbortButtonVisible(bool) override {}
    void SetStatusTimer(int) override {}
    bool StatusTimerEnabled() override { return false; }
    void SetAbortTimer(bool) override {}

    void OpenScreen(const std::string&, int, int) override {}
    void WriteScreen(int, int, const std::string&, ScreenColor) override {}
    void ClearScreen() override {}
    void CloseScreen() override {}
    bool ScreenOpen() override { return false; }

    int AskSensorInput(const SensorInputRequest&) override { return kSensorInputCancelled; }

    // Without windows the clock programmer closes at once (a damaged table
    // is still reset and saved).
    ClockEvent WaitClockProgrammer(const ClockProgrammerView&) override { return {}; }
    void CloseClockProgrammer() override {}
    // No function-block window: it closes at once, its frames are cancelled.
    void ShowLogicBlock(const LogicBlockView&) override {}
    LogicCommand WaitLogicCommand() override { return {}; }
    LogicSettingsAnswer AskLogicSettings(const LogicSettingsRequest&) override { return {}; }
    LogicConditionAnswer AskLogicCondition(const LogicConditionRequest&) override { return {}; }
    void CloseLogicBlock() override {}
    // The loop-module windows show nothing and read as closed, so a loop
    // view started here ends at once.
    void ShowLoopToolbar(bool) override {}
    void SetLoopCaption(const std::string&, uint32_t) override {}
    void SetLoopButtonEnabled(int, bool) override {}
    void SetLoopButtonPressed(int) override {}
    void OpenLoopList(const LoopListSpec&) override {}
    void ShowLoopList(const std::vector<std::string>&, const LoopPicture&, int, int) override {}
    int LoopListTop() override { return 0; }
    int LoopListSelected() override { return -1; }
    LoopListInput TakeLoopListInput() override {
        LoopListInput in;
        in.closed = true;
        return in;
    }
    void CloseLoopList() override {}
    void OpenDetailWindow(const std::string&, int, int) override {}
    void WriteDetail(int, int, const std::string&, ScreenColor) override {}
    void AddDetailSample(double, const LoopMark&) override {}
    bool DetailWindowOpen() override { return false; }
    void CloseDetailWindow() override {}
    void OpenDiagWindow(const std::string&, int, int, bool) override {}
    void WriteDiag(int, int, const std::string&, ScreenColor) override {}
    bool DiagWindowOpen() override { return false; }
    bool TakeDiagReset() override { return false; }
    void CloseDiagWindow() override {}
    // No printer: nothing is printed.
    PrintResult PrintReport(const ReportPrintJob&) override { return PrintResult::Failed; }
    // No list to choose a backup from, no folder chooser, no window.
    int ChooseBackup(const BackupListView&) override { return -1; }
    std::string AskFolder(const std::string&, const std::string&) override { return {}; }
    void ShowComparison(const ComparisonView&) override {}
    bool AskSerialNumber(SerialNumberFields&, int) override { return false; }
    // No walk-test window: it closes at once; no PDF.
    void OpenWalkTest(const WalkTestSpec&) override {}
    void ShowWalkTest(const WalkTestViewData&) override {}
    WalkTestInput TakeWalkTestInput() override {
        WalkTestInput in;
        in.closed = true;
        return in;
    }
    void CloseWalkTest() override {}
    bool WriteReportPdf(const std::string&, const ReportPrintJob&) override { return false; }
};

}  // namespace cfg
