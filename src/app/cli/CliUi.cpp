#include "CliUi.h"

#include <cstdio>
#include <ostream>

#include "config/Files.h"
#include "shell/Clock.h"
#include "shell/FileNames.h"
#include "shell/Language.h"

namespace cfg::cli {

namespace {

// Message texts break lines with CR or CR LF; on a terminal every line
// after the first is indented under the title.
std::string Lines(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\n    ";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace

void CliUi::BeginCommand() {
    fileAnswered_ = false;
    copyAnswered_ = false;
    choiceAnswered_ = false;
    clockAnswered_ = false;
    serialAnswered_ = false;
}

std::string CliUi::Text(int id) const { return session_ ? Trim(GetText(*session_, id)) : std::string(); }

void CliUi::Print(const std::string& title, const std::string& text) {
    std::string t = Trim(title);
    err_ << (t.empty() ? std::string() : t + ": ") << Lines(text) << '\n';
    err_.flush();
}

void CliUi::ProcessEvents() {
    if (pumpEvents) pumpEvents();
    if (interrupts != nullptr && session_ != nullptr) {
        const int n = interrupts->load();
        if (n != interruptsSeen_) {
            interruptsSeen_ = n;
            session_->events.AbortRequested = true;
        }
    }
}

MsgAnswer CliUi::MessageBox(const std::string& title, const std::string& text, MsgButtons buttons, MsgIcon icon) {
    Print(title, text);
    if (icon == MsgIcon::Critical) ++errors_;
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        if (answers.yes) {
            err_ << "    -> yes (--yes)\n";
            return MsgAnswer::Yes;
        }
        ++refusals_;
        err_ << "    -> no (give --yes to answer yes)\n";
        return MsgAnswer::No;
    case MsgButtons::OkCancel:
        return MsgAnswer::Ok;
    case MsgButtons::RetryCancel:
        return MsgAnswer::Cancel;
    default:
        return MsgAnswer::Ok;
    }
}

bool CliUi::ConfirmRisk(RiskTopic topic, const std::string& title, const std::string& text) {
    Print(title, text);
    const bool damaged = topic == RiskTopic::DamagedSet;
    if (damaged ? answers.force : answers.templateSet) {
        err_ << (damaged ? "    -> yes (--force)\n" : "    -> yes (--template)\n");
        return true;
    }
    ++refusals_;
    ++errors_;
    err_ << (damaged ? "    -> no (give --force to go on with these files)\n"
                     : "    -> no (give --template to replace the DEFAULT set)\n");
    return false;
}

ValueAnswer CliUi::ShowValueDialog(const ValueRequest& req) {
    ValueAnswer a;
    // The connection asks two things: the panel address and the access code.
    const bool address = req.topic == ValueTopic::PanelAddress;
    const bool accessCode = req.topic == ValueTopic::AccessCode;
    if (address) {
        a.confirmed = true;
        a.number = static_cast<double>(answers.panelAddress);
        a.text = std::to_string(answers.panelAddress);
        if (verbose) err_ << "panel address: " << a.text << '\n';
        return a;
    }
    if (accessCode) {
        if (answers.accessCode.empty()) {
            Print(req.title, req.prompt);
            err_ << "    -> no access code given (--access-code)\n";
            ++refusals_;
            return a;
        }
        a.confirmed = true;
        a.text = answers.accessCode;
        a.number = std::strtod(answers.accessCode.c_str(), nullptr);
        if (verbose) err_ << "access code given\n";
        return a;
    }
    Print(req.title, req.prompt);
    err_ << "    -> cannot be answered from the command line\n";
    ++refusals_;
    return a;
}

int CliUi::AskChoice(const ChoiceRequest& req) {
    if (choiceAnswered_ || answers.transferChoice < 0 ||
        answers.transferChoice >= static_cast<int>(req.items.size())) {
        Print(req.title, "no choice");
        return -1;
    }
    choiceAnswered_ = true;
    if (verbose) err_ << Trim(req.title) << ": " << req.items[static_cast<std::size_t>(answers.transferChoice)] << '\n';
    return answers.transferChoice;
}

std::string CliUi::AskOpenFile(const FileDialogRequest& req) {
    if (fileAnswered_) return {};
    fileAnswered_ = true;
    if (verbose) err_ << Trim(req.title) << ": " << answers.fileName << '\n';
    return answers.fileName;
}

std::string CliUi::AskSaveFile(const FileDialogRequest& req) { return AskOpenFile(req); }

CopyDialogAnswer CliUi::AskCopyFiles(const CopyDialogRequest&) {
    CopyDialogAnswer a;
    if (copyAnswered_) return a;
    copyAnswered_ = true;
    // Like the copy dialog: each name without its extension.
    a.confirmed = true;
    // As typed: the command takes the extension off (and refuses a name
    // whose dot would cut it short).
    a.source = Trim(answers.copySource);
    a.dest = Trim(answers.copyDest);
    return a;
}

bool CliUi::AskSerialNumber(SerialNumberFields& f, int focusField) {
    if (focusField >= 0) {
        // The entry from the options was rejected: a second try would be
        // the same.
        err_ << "cfgvimo-cli: serial: "
             << (focusField == kSerialDateField
                     ? "the date must be a real date, DD/MM/YY (separated by / or \\)"
                     : "the number must have at most 10 characters and end in four digits")
             << '\n';
        ++errors_;
        return false;
    }
    if (serialAnswered_) return false;
    serialAnswered_ = true;
    if (!Trim(answers.serialNumber).empty()) f.newNumber = answers.serialNumber;
    if (!Trim(answers.serialDate).empty()) f.newDate = answers.serialDate;
    out_ << "Last serial number: " << f.lastNumber << '\n'
         << "Last date:          " << f.lastDate << '\n'
         << "New serial number:  " << f.newNumber << '\n'
         << "New date:           " << f.newDate << '\n';
    if (!answers.yes) {
        err_ << "cfgvimo-cli: serial: not written (--yes writes it)\n";
        ++refusals_;
    }
    return answers.yes;
}

bool CliUi::AskDateTime(const std::string& title, DateTimeFields& fields, int focusField) {
    if (clockAnswered_) {
        if (focusField >= 0) Print(title, "field " + std::to_string(focusField + 1) + " is out of range");
        return false;
    }
    clockAnswered_ = true;
    if (answers.clock) fields = *answers.clock;  // else the PC's time the core filled in
    if (verbose)
        err_ << Trim(title) << ": " << fields.field[0] << "/" << fields.field[1] << "/" << fields.field[2] << " "
             << fields.field[3] << ":" << fields.field[4] << ":" << fields.field[5] << '\n';
    return true;
}

void CliUi::SetStatusText(const std::string& t) {
    // A block transfer repeats its line with each address: the first one is
    // enough on a terminal.
    std::string line = Trim(t);
    if (verbose && !line.empty() && (lastPrinted_.empty() || line.compare(0, lastPrinted_.size(), lastPrinted_) != 0)) {
        err_ << "  " << line << '\n';
        lastPrinted_ = line;
    }
    status_ = t;
}

void CliUi::OpenScreen(const std::string& title, int, int) {
    screenRow_ = 0;
    out_ << Trim(title) << '\n';
}

void CliUi::WriteScreen(int row, int, const std::string& text, ScreenColor) {
    // Rows left empty keep their place as blank lines.
    for (; screenRow_ + 1 < row; ++screenRow_) out_ << '\n';
    out_ << text << '\n';
    screenRow_ = row;
    out_.flush();
}

bool ParseClockText(const std::string& text, DateTimeFields& f) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
    char tail = 0;
    int n = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &sec, &tail);
    if (n == 5) sec = 0;
    if (n != 5 && n != 6) return false;
    // A day the month does not have is refused here, with the other
    // malformed dates, rather than by the dialog's second asking.
    if (d < 1 || d > DaysInMonth(y, mo)) return false;
    f.field = {std::to_string(d), std::to_string(mo), std::to_string(y),
               std::to_string(h), std::to_string(mi), std::to_string(sec)};
    return true;
}

}  // namespace cfg::cli
