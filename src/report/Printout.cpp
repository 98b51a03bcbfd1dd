#include "report/Printout.h"

#include <cerrno>
#include <cstdio>
#include <fstream>

#include "config/Files.h"
#include "link/Screen.h"
#include "loops/LoopTables.h"
#include "shell/FileNames.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/RuntimeError.h"
#include "shell/SafeWrite.h"
#include "shell/Shell.h"
#include "transfer/Commands.h"
#include "transfer/SectionBlocks.h"

namespace cfg {

namespace {

// Texts of the printout.
constexpr int kPartMenuTitle = 68;    // 69..73 the entries
constexpr int kPanelText = 74;        // 75 version, 76 date
constexpr int kFileSourceText = 77;   // 78 the file name
constexpr int kPrintedOnText = 79;
constexpr int kInstallationText = 80;
constexpr int kLastChangeText = 81;
constexpr int kSerialText = 82;
constexpr int kReferencesText = 83;
constexpr int kDoneText = 84;
constexpr int kLoopSensorsText = 85;
constexpr int kNoModuleText = 86;
constexpr int kModuleText = 87;
constexpr int kLogicsHeading = 88;
constexpr int kFileDialogCaption = 90;  // 92: the name's label
constexpr int kNoNameText = 93;
constexpr int kExistsText = 95;         // 96 the question
constexpr int kSendingText = 97;
constexpr int kNoPrinterText = 98;      // 99 what to check
constexpr int kPageText = 100;

// Where the part menu opens (twips from the work form).
constexpr int kMenuTop = 1000;
constexpr int kMenuLeft = 400;

// Section codes of the groups, in the order they print.
constexpr int16_t kGeneralSections[] = {2, 3, 4, 5, 9, 10};
constexpr int16_t kClockSection = 6;
constexpr int16_t kLogicsSection = 7;
constexpr int16_t kMessagesSection = 8;

std::string Rule() { return std::string(kReportRuleWidth, '-'); }

std::string Labelled(Session& s, int id, const std::string& value) {
    return GetText(s, id) + " " + Trim(value);
}

std::string TwoDigits(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v % 100);
    return b;
}

// Runs section `code` in print mode and copies the lines it built. A section
// without a print mode (or not built yet) adds nothing; one that failed to
// read its blocks has said so and adds nothing either.
void AddSectionLines(Session& s, std::vector<std::string>& out, int16_t code, int option) {
    const SectionDef* def = s.sections.Find(code);
    if (def == nullptr || !def->printable || !def->run) return;
    ClearScreenLines(s);
    if (!RunSection(s, def->run, PrintMode::LinesOnly, option).Done()) return;
    std::vector<std::string> lines = ScreenLines(s.screen);
    if (lines.empty()) return;
    out.insert(out.end(), lines.begin(), lines.end());
    out.emplace_back();
}

// For each loop module a rule and its title, then the module's number and
// its sensor list, or the note that it is absent. The module directory
// says which modules the panel carries.
void AddLoopModules(Session& s, std::vector<std::string>& out) {
    if (!LoadSectionBlock(s, kModuleDirectoryOffset, kModuleDirectorySlots)) return;
    LoopModuleMarks marks = ReadLoopModuleMarks(s);
    for (int module = 1; module <= 2; ++module) {
        out.push_back(Rule());
        out.push_back(GetText(s, kLoopSensorsText));
        if (!marks.present[static_cast<std::size_t>(module)]) {
            out.push_back(GetText(s, kNoModuleText));
            out.emplace_back();
            continue;
        }
        out.push_back(GetText(s, kModuleText) + " " + std::to_string(module));
        out.emplace_back();
        AddSectionLines(s, out, kLoopSensorsCode, module);
    }
    out.push_back(Rule());
    out.emplace_back();
}

int AskPart(Session& s) {
    ChoiceRequest req;
    req.title = GetText(s, kPartMenuTitle);
    for (int id = kPartMenuTitle + 1; id <= kPartMenuTitle + kReportParts; ++id) req.items.push_back(GetText(s, id));
    req.top = kMenuTop;
    req.left = kMenuLeft;
    int index = s.ui->AskChoice(req);
    return index >= 0 && index < kReportParts ? index + 1 : 0;
}

// Records the error of the last failed file operation and explains it.
void ReportWriteFailure(Session& s) {
    s.link.LastErrorNumber = errno != 0 ? ErrorNumberFromErrno(errno) : err::kPathFileAccess;
    ReportFileError(s);
    s.link.LastErrorNumber = 0;
}

// The text-file choice: the copy dialog with its destination side only.
// Returns the file to write, checked to be writable, or "" when the user
// gave up or the file cannot be written (explained).
std::string ChooseReportFile(Session& s) {
    CopyDialogRequest req;
    req.caption = GetText(s, kFileDialogCaption);
    // The dialog shows the folder by itself; the frame carries the caption
    // and the line under it says what to type.
    req.destLabel = GetText(s, kFileDialogCaption);
    req.hint = GetText(s, kFileDialogCaption + 2);
    req.showSource = false;
    req.pattern = "*.TXT";
    for (;;) {
        CopyDialogAnswer answer = s.ui->AskCopyFiles(req);
        if (!answer.confirmed) return {};
        std::string name = Trim(answer.dest);
        if (name.empty()) {
            ShowAlert(s, GetText(s, kNoNameText), "");
            continue;
        }
        std::string file = ReportFileName(name);
        if (FileExists(file)) {
            std::string question = " " + GetText(s, kExistsText) + " " + file + "\r\n" + GetText(s, kExistsText + 1);
            if (s.ui->MessageBox(s.main.Shell.ApplicationTitle, question, MsgButtons::YesNo, MsgIcon::Exclamation) !=
                MsgAnswer::Yes)
                continue;
        }
        // Can the file be written at all? The probe leaves no empty file
        // behind: the report itself is written whole later.
        const bool existed = FileExists(file);
        errno = 0;
        std::ofstream probe(ResolveForWrite(file), std::ios::binary | std::ios::app);
        if (!probe) {
            ReportWriteFailure(s);
            return {};
        }
        probe.close();
        if (!existed) std::remove(ResolveForWrite(file).c_str());
        return file;
    }
}

bool SendToPrinter(Session& s, const std::vector<std::string>& lines) {
    s.ui->SetStatusVisible(true);
    s.ui->SetStatusText(GetText(s, kSendingText));
    ReportPrintJob job{ReportTitle(s), GetText(s, kPageText), lines};
    PrintResult result = s.ui->PrintReport(job);
    s.ui->SetStatusText("");
    if (result == PrintResult::Failed) ShowAlert(s, GetText(s, kNoPrinterText), GetText(s, kNoPrinterText + 1));
    return result == PrintResult::Printed;
}

}  // namespace

std::string ReportFileName(const std::string& name) {
    return UpperCaseName(StripExtension(Trim(name))) + ".TXT";
}

std::string ReportTitle(Session& s) {
    if (s.config.ConfigSource == ConfigSource::File) return BaseNameOf(s.config.ConfigFileName);
    std::string name = Trim(s.config.InstallationName);
    return name.empty() ? Trim(s.link.PanelName) : name;
}

std::vector<std::string> ReportHeader(Session& s) {
    std::vector<std::string> out;
    out.push_back(Rule());
    DateTime now = s.clock->Now();
    out.push_back(GetText(s, kPrintedOnText) + " " + TwoDigits(now.day) + "/" + TwoDigits(now.month) + "/" +
                  std::to_string(now.year) + " " + TwoDigits(now.hour) + ":" + TwoDigits(now.minute));
    if (s.config.ConfigSource == ConfigSource::Panel) {
        out.push_back(Labelled(s, kPanelText, s.link.PanelName));
        out.push_back(Labelled(s, kPanelText + 1, s.link.PanelVersionText));
        out.push_back(Labelled(s, kPanelText + 2, s.link.PanelDateText));
    } else {
        out.push_back(GetText(s, kFileSourceText));
        out.push_back(Labelled(s, kFileSourceText + 1, BaseNameOf(s.config.ConfigFileName)));
    }
    const ConfigState& c = s.config;
    out.push_back(Labelled(s, kInstallationText, c.InstallationName));
    out.push_back(Labelled(s, kLastChangeText, c.LastChangeDate));
    out.push_back(Labelled(s, kSerialText, Trim(c.PanelSerialNumber) + "  " + Trim(c.ProductionDate)));
    out.push_back(Rule());
    out.push_back(Rule());
    out.push_back(GetText(s, kReferencesText));
    out.emplace_back();
    return out;
}

std::vector<std::string> BuildReport(Session& s, int part) {
    // The identification is read again, so that the header shows what the
    // source holds now; when that read fails (it was reported) the header
    // shows what was known before.
    static_cast<void>(RefreshConfigView(s));
    std::vector<std::string> out = ReportHeader(s);
    auto wanted = [part](int group) { return part == kReportEverything || part == group; };
    constexpr int kPrintOption = 1;
    if (wanted(kReportGeneral)) {
        AddLoopModules(s, out);
        for (int16_t code : kGeneralSections) AddSectionLines(s, out, code, kPrintOption);
    }
    if (wanted(kReportClock)) AddSectionLines(s, out, kClockSection, kPrintOption);
    if (wanted(kReportLogics)) {
        out.push_back(GetText(s, kLogicsHeading));
        out.emplace_back();
        AddSectionLines(s, out, kLogicsSection, kPrintOption);
    }
    if (wanted(kReportMessages)) AddSectionLines(s, out, kMessagesSection, kPrintOption);
    ClearScreenLines(s);
    return out;
}

bool WriteReportFile(Session& s, const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    // A full disk leaves the previous report, never a truncated one.
    const std::error_code ec = WriteFileWhole(ResolveForWrite(path), text);
    if (ec) {
        errno = ec.category() == std::generic_category() ? ec.value() : 0;
        ReportWriteFailure(s);
        return false;
    }
    return true;
}

void PrintConfiguration(Session& s, PrintMode, int option) {
    if (option != 1 && option != 2) return;
    std::string file;
    if (option == 2) {
        file = ChooseReportFile(s);
        if (file.empty()) {
            EndSection(s);
            return;
        }
    }
    int part = AskPart(s);
    if (part == 0) {
        EndSection(s);
        return;
    }
    std::vector<std::string> lines = BuildReport(s, part);
    bool done = option == 2 ? WriteReportFile(s, file, lines) : SendToPrinter(s, lines);
    if (done) {
        s.ui->SetStatusVisible(true);
        s.ui->SetStatusText(GetText(s, kDoneText));
        WaitSeconds(s, 1);
        s.ui->SetStatusText("");
    }
    EndSection(s);
}

}  // namespace cfg
