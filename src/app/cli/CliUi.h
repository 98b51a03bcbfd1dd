// The Ui of the command-line front end: every question the core asks is
// answered from the command's options, and every message is printed by its
// texts on the error stream. The core routines are the same as the GUI's.
#pragma once

#include <atomic>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "shell/Session.h"
#include "shell/Ui.h"
#include "shell/WindowlessUi.h"

namespace cfg::cli {

// What the options say, for the dialogs of one command.
struct CliAnswers {
    long panelAddress = 1;      // the address dialog of the connection
    std::string accessCode;     // "" = the access-code dialog is cancelled
    bool yes = false;           // overwrite questions: yes / no
    bool force = false;         // use files that failed their checks (--force)
    bool templateSet = false;   // replace the DEFAULT set (--template)
    int transferChoice = -1;    // the transfer menu: 0 all, 1..4 one file
    std::string fileName;       // the open / save dialog
    std::string copySource;     // the copy dialog
    std::string copyDest;
    std::optional<DateTimeFields> clock;  // the clock dialog; none = the PC's time
    std::string serialNumber;   // the serial-number form: "" = the proposal
    std::string serialDate;
};

class CliUi final : public WindowlessUi {
public:
    CliUi(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    // Texts of the session's language, to recognise the dialogs.
    void Attach(Session& s) { session_ = &s; }
    // Each dialog is answered once per command: a dialog shown again (after
    // a refusal) is cancelled, so no command can loop.
    void BeginCommand();

    CliAnswers answers;
    bool verbose = false;
    // Runs the platform's pending events (the serial port), if any.
    std::function<void()> pumpEvents;
    // Lays a report out as PDF (a build with Qt Gui); none: no PDF.
    std::function<bool(const std::string& path, const ReportPrintJob&)> writePdf;
    // Ctrl+C and SIGTERM as the front end's signal handler counts them. Each
    // new one becomes one abort request, as a click on the abort button:
    // the exchange stops and the panel is released as after any abort.
    const std::atomic<int>* interrupts = nullptr;
    // True once a signal has come.
    bool Interrupted() const { return interrupts != nullptr && interrupts->load() > 0; }

    int ErrorsShown() const { return errors_; }
    int Refusals() const { return refusals_; }

    void ProcessEvents() override;
    MsgAnswer MessageBox(const std::string& title, const std::string& text, MsgButtons, MsgIcon) override;
    ValueAnswer ShowValueDialog(const ValueRequest&) override;
    int AskChoice(const ChoiceRequest&) override;
    std::string AskOpenFile(const FileDialogRequest&) override;
    std::string AskSaveFile(const FileDialogRequest&) override;
    CopyDialogAnswer AskCopyFiles(const CopyDialogRequest&) override;
    bool AskDateTime(const std::string& title, DateTimeFields&, int focusField) override;
    bool ConfirmRisk(RiskTopic, const std::string& title, const std::string& text) override;
    bool WriteReportPdf(const std::string& path, const ReportPrintJob& job) override {
        return writePdf && writePdf(path, job);
    }
    // The command line edits no loop point: the point dialog is cancelled.
    int AskSensorInput(const SensorInputRequest&) override { return kSensorInputCancelled; }
    // Prints the proposal (or the options' entry); accepts it with --yes.
    bool AskSerialNumber(SerialNumberFields&, int focusField) override;

    void SetIdentification(const std::string& t) override { identification_ = t; }
    const std::string& Identification() const { return identification_; }
    void SetStatusVisible(bool v) override { statusVisible_ = v; }
    bool StatusVisible() override { return statusVisible_; }
    void SetStatusText(const std::string&) override;
    std::string StatusText() override { return status_; }

    void OpenScreen(const std::string& title, int, int) override;
    void WriteScreen(int row, int col, const std::string& text, ScreenColor) override;
    // The text screen is printed as it is written: nothing stays open.
    bool ScreenOpen() override { return false; }

    // The display-text editor's message dialog is cancelled: the command
    // line imports display texts with its own command.
    MessageAnswer AskMessage(const MessageRequest&) override { return {}; }

private:
    std::string Text(int id) const;
    void Print(const std::string& title, const std::string& text);

    std::ostream& out_;
    std::ostream& err_;
    Session* session_ = nullptr;
    int errors_ = 0;
    int refusals_ = 0;
    bool fileAnswered_ = false;
    bool copyAnswered_ = false;
    bool choiceAnswered_ = false;
    bool clockAnswered_ = false;
    bool serialAnswered_ = false;
    bool statusVisible_ = false;
    std::string status_;
    std::string lastPrinted_;
    std::string identification_;
    int screenRow_ = 0;
    int interruptsSeen_ = 0;
};

// Splits "YYYY-MM-DD HH:MM:SS" (or "YYYY-MM-DD HH:MM") into the dialog's
// fields (day, month, year, hours, minutes, seconds). False when the text
// is not in that form.
bool ParseClockText(const std::string& text, DateTimeFields& fields);

}  // namespace cfg::cli
