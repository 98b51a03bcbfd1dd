// What a program without windows answers for the windows of the desktop
// program: the main window's lists, buttons, captions and status bar show
// nothing; the clock programmer, the function-block editor, the loop-module
// windows, the printer, the backup list, the folder chooser, the comparison
// and the walk test all close at once or show nothing. The command line and
// the silent Ui of the tests share it; every message, dialog and question
// each answers itself, so one it forgets does not compile.
#pragma once

#include "Ui.h"

namespace cfg {

class WindowlessUi : public Ui {
public:
    // The main window's lists, buttons, captions and status bar: nothing
    // to show them on.
    void Beep() override {}
    bool WaitForEvents(int) override { return false; }
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
    void TranslateForms() override {}
    void SetProgressMaximum(int) override {}
    void SetProgressValue(int) override {}
    void SetTxRx(const std::string&) override {}
    void SetAbortButtonVisible(bool) override {}
    void SetStatusTimer(int) override {}
    bool StatusTimerEnabled() override { return false; }
    void SetAbortTimer(bool) override {}
    void ClearScreen() override {}
    void CloseScreen() override {}
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
    // No walk-test window: it closes at once.
    void OpenWalkTest(const WalkTestSpec&) override {}
    void ShowWalkTest(const WalkTestViewData&) override {}
    WalkTestInput TakeWalkTestInput() override {
        WalkTestInput in;
        in.closed = true;
        return in;
    }
    void CloseWalkTest() override {}
};

}  // namespace cfg
