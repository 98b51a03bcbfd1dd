// A Ui base for front ends without windows (the command line, tests that
// need no loop section): the loop-module windows show nothing and read as
// closed, so a loop view that is started there ends at once.
#pragma once

#include "Ui.h"

namespace cfg {

class HeadlessLoopUi : public Ui {
public:
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
};

}  // namespace cfg
