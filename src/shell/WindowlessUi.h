// What a program without windows answers for the windows of the desktop
// program: the clock programmer, the function-block editor, the
// loop-module windows, the printer, the backup list, the folder chooser, the
// comparison and the walk test all close at once or show nothing. The
// command line and the silent Ui of the tests share it; every other method
// of Ui each answers itself, so one it forgets does not compile.
#pragma once

#include "Ui.h"

namespace cfg {

class WindowlessUi : public Ui {
public:
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
