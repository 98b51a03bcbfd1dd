// The Ui where nobody is there to answer: tests, fuzz targets and
// benchmarks. Every message is taken as answered with OK (and counted),
// every dialog and choice is cancelled, every window reads as closed. A
// front end answers every method itself (the command line takes only the
// windows it has none of from WindowlessUi), so that one it forgets does not
// compile.
#pragma once

#include "WindowlessUi.h"

namespace cfg {

class SilentUi : public WindowlessUi {
public:
    // Messages shown so far: a run that needed to tell the user something
    // is seen by its count.
    int messagesShown = 0;

    MsgAnswer MessageBox(const std::string&, const std::string&, MsgButtons, MsgIcon) override {
        ++messagesShown;
        return MsgAnswer::Ok;
    }
    void ProcessEvents() override {}

    ValueAnswer ShowValueDialog(const ValueRequest&) override { return {}; }
    int AskChoice(const ChoiceRequest&) override { return -1; }
    std::string AskOpenFile(const FileDialogRequest&) override { return {}; }
    std::string AskSaveFile(const FileDialogRequest&) override { return {}; }
    CopyDialogAnswer AskCopyFiles(const CopyDialogRequest&) override { return {}; }
    MessageAnswer AskMessage(const MessageRequest&) override { return {}; }
    bool AskDateTime(const std::string&, DateTimeFields&, int) override { return false; }
    bool ConfirmRisk(RiskTopic, const std::string&, const std::string&) override { return false; }

    void SetIdentification(const std::string&) override {}

    void SetStatusVisible(bool) override {}
    bool StatusVisible() override { return false; }
    void SetStatusText(const std::string&) override {}
    std::string StatusText() override { return {}; }

    void OpenScreen(const std::string&, int, int) override {}
    void WriteScreen(int, int, const std::string&, ScreenColor) override {}
    bool ScreenOpen() override { return false; }

    int AskSensorInput(const SensorInputRequest&) override { return kSensorInputCancelled; }

    bool AskSerialNumber(SerialNumberFields&, int) override { return false; }
    // No PDF.
    bool WriteReportPdf(const std::string&, const ReportPrintJob&) override { return false; }
};

}  // namespace cfg
