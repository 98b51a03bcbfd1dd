// cfgvimo-cli: the configuration tool without windows. It runs the same core
// routines as the desktop program; the questions those routines ask are
// answered from the options, and their messages are printed on stderr.
//
//   cfgvimo-cli [options] COMMAND ...
//     receive BASENAME [--parts all|CY2,PY2,UY2,MY2]   panel -> file set
//     send    BASENAME [--parts all|CY2,PY2,UY2,MY2]   file set -> panel
//     create  BASENAME                                 new set from DEFAULT
//     copy    SOURCE DEST                              copy a set
//     ident                                            the panel's identification
//     clock show | clock set ["YYYY-MM-DD HH:MM:SS"]   the panel clock
//     messages export|import [BASENAME] FILE.csv       the display texts
//     loop [BASENAME] MODULE list|minmax|errors|current [--watch N]
//     loop MODULE autoconfig [--overwrite] | reset-minmax | reset-errors
//     loop MODULE walktest [--minutes N] [--csv FILE] [--pdf FILE] [--continue]
//     print [BASENAME] [--part 1..5] [--output FILE|-] [--pdf FILE]
//     backups                                          the backup sets, newest first
//     compare A [B] [--output FILE|-]                  two sets, or A and the panel
//     serial [--number N] [--date DD/MM/YY]            the panel's serial number
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/CliUi.h"
#include "app/cli/DataCli.h"
#include "config/Files.h"
#include "editors/DisplayTextsCsv.h"
#include "app/cli/LoopCli.h"
#include "app/core/Wiring.h"
#include "production/SerialNumber.h"
#include "report/Printout.h"
#include "transfer/Backups.h"
#include "transfer/Commands.h"
#include "transfer/DateStamp.h"
#include "link/Connection.h"
#include "link/Link.h"
#include "link/PanelClock.h"
#include "shell/Clock.h"
#include "shell/ErrorHandler.h"
#include "shell/FileNames.h"
#include "shell/Folders.h"
#include "shell/Language.h"
#include "shell/MainLoop.h"
#include "shell/Messages.h"
#include "shell/Session.h"
#include "shell/Settings.h"
#include "shell/Text.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#endif

#ifdef CFG_CLI_SERIAL
#include <QCoreApplication>

#include "platform/PortTransport.h"
#endif

#ifdef CFG_CLI_PDF
#include <QGuiApplication>

#include "gui/pages/ReportPages.h"
#endif

namespace fs = std::filesystem;

namespace {

using cfg::cli::CliUi;

// Texts.
constexpr int kPageWord = 100;  // the printout's page footer
constexpr int kTemplateNotEditable = 1143;
constexpr int kCreateNewHint = 1144;

const char* const kUsage =
    "usage: cfgvimo-cli [options] COMMAND ...\n"
    "\n"
    "commands:\n"
    "  receive BASENAME [--parts all|CY2,PY2,UY2,MY2]  panel -> file set\n"
    "  send    BASENAME [--parts all|CY2,PY2,UY2,MY2]  file set -> panel\n"
    "  create  BASENAME                               new set from the DEFAULT set\n"
    "  copy    SOURCE DEST                            copy a set under another name\n"
    "  ident                                          connect; print the panel's identification\n"
    "  clock show                                     print the panel clock\n"
    "  clock set [\"YYYY-MM-DD HH:MM:SS\"]              set it (default: this computer's time)\n"
    "  messages export [BASENAME] FILE.csv            the display texts of a file set (or,\n"
    "                                                 without BASENAME, of the panel) to a\n"
    "                                                 CSV file for a spreadsheet\n"
    "  messages import [BASENAME] FILE.csv            check the whole file, then write the\n"
    "                                                 texts that differ (';' ',' or tab\n"
    "                                                 separated, quotes and a BOM allowed)\n"
    "  loop MODULE list                               the sensors of loop module 1 or 2, their live\n"
    "                                                 reading and [fault/pre-alarm/alarm] thresholds\n"
    "  loop BASENAME MODULE list                      the same from a file set (no live reading)\n"
    "  loop MODULE minmax                             recorded minimum and maximum of every sensor\n"
    "  loop MODULE errors                             the loop's error counters, fault point, status\n"
    "  loop MODULE current                            the loop's line current in mA\n"
    "       ... --watch N                             print it again every N seconds until Ctrl+C\n"
    "  loop MODULE autoconfig [--overwrite]           the panel learns the loop (needs --yes);\n"
    "                                                 --overwrite rewrites every point\n"
    "  loop MODULE reset-minmax | reset-errors        clear the records (needs --yes)\n"
    "  loop MODULE walktest [--minutes N] [--csv FILE] [--pdf FILE] [--continue]\n"
    "                                                 walk test: reads the loop every 2 s and\n"
    "                                                 prints each point as it reaches alarm;\n"
    "                                                 ends when every configured point was\n"
    "                                                 tested, after N minutes or on Ctrl+C;\n"
    "                                                 the record is kept beside the settings\n"
    "                                                 file (--continue goes on with the last);\n"
    "                                                 the report as CSV and PDF (--yes replaces\n"
    "                                                 them); exit 0 when every point was tested\n"
    "  print [BASENAME] [--part N] [--output FILE|-] [--pdf FILE]\n"
    "                                                 the printout of a file set, or of the\n"
    "                                                 connected panel without BASENAME:\n"
    "                                                 part 1 everything (default), 2 loops,\n"
    "                                                 zones, times, options and parameters,\n"
    "                                                 3 clock programmer, 4 logics, 5 display\n"
    "                                                 messages; to FILE (default BASENAME.TXT,\n"
    "                                                 required for the panel; - = standard\n"
    "                                                 output) or, with --pdf, to a PDF file\n"
    "  backups                                        the backup sets in the backups folder,\n"
    "                                                 newest first: every configuration\n"
    "                                                 received from a panel, and the panel's\n"
    "                                                 configuration before a send\n"
    "  compare A [B] [--output FILE|-]                compare two file sets, or without B the\n"
    "                                                 set A with the connected panel, section\n"
    "                                                 by section; the report on standard\n"
    "                                                 output or to FILE (--yes replaces it);\n"
    "                                                 exit 0 equal, 1 different, 2 not compared\n"
    "  serial [--number N] [--date DD/MM/YY]          propose the connected panel's next serial\n"
    "                                                 number (from VIMO_SYS.SRZ beside the\n"
    "                                                 settings file) and production date; with --yes\n"
    "                                                 write them and the counter file\n"
    "  where                                          the folders in use (program, data,\n"
    "                                                 settings file, the desktop's file sets,\n"
    "                                                 backups)\n"
    "\n"
    "options:\n"
    "  --folder DIR         program folder (settings, relay mailboxes; languages and\n"
    "                       DEFAULT set when it holds them); default: the folder of\n"
    "                       this program, or the user's folders when it is installed\n"
    "  --port NAME          serial port (default: the settings file's), or a serial\n"
    "                       device server on the network as tcp://HOST:PORT\n"
    "  --relay              relay mode: Par_app.tmp in the working folder, the mailbox\n"
    "                       files in the program folder\n"
    "  --baud N             baud rate: 1200, 2400, 4800 or 9600 (default: the\n"
    "                       settings file's)\n"
    "  --plant-code N       plant code 0..223 (default: the settings file's)\n"
    "  --address N          panel address 0..223 (default 1)\n"
    "  --access-code DIGITS the panel's access code, when it asks for one\n"
    "  --language NAME      language file NAME.lng (default: the settings file's)\n"
    "  --trace FILE         write every byte sent and received to FILE (added to an\n"
    "                       earlier trace; any other existing file is refused)\n"
    "  --yes                answer yes to overwrite questions, replace an existing\n"
    "                       output file, allow the loop commands that write (default: no)\n"
    "  --force              go on with files of a set that fail their checks (wrong\n"
    "                       size, checksum, no panel identification): send, print,\n"
    "                       compare and messages export refuse them otherwise\n"
    "  --template           allow receive and copy to replace the DEFAULT set, the\n"
    "                       template of every new set (--yes alone does not)\n"
    "  --watch N            loop views: repeat every N seconds (1..3600)\n"
    "  --overwrite          loop autoconfig: rewrite every point, not only the changed ones\n"
    "  --verbose            print the progress and the answers given\n"
    "  --backup, --no-backup  send: read the panel's configuration into the backups\n"
    "                       folder first, or not (default: the choice kept in the\n"
    "                       settings file by the desktop program; none kept: no)\n"
    "  --backups DIR        backups folder for this run (default: the settings\n"
    "                       file's, or backups/ beside the settings file)\n"
    "\n"
    "The exit status is 0 when the command was done, 1 when it failed (the reason\n"
    "is printed as the desktop program would show it), 2 for a usage error\n"
    "(compare: 0 equal, 1 different, 2 not compared or a usage error).\n"
    "\n"
    "An installed program (its data in ../share/cfg-veltrano beside its folder, or a\n"
    "folder it cannot write to) keeps the settings file in $XDG_CONFIG_HOME/cfg-veltrano\n"
    "(~/.config/cfg-veltrano) and the desktop's file sets in $XDG_DATA_HOME/cfg-veltrano\n"
    "(~/.local/share/cfg-veltrano); a command's file sets are named from the working folder.\n";

// The folders in use, one per line (the end of --help and the where command).
void PrintFolders(std::ostream& out, const cfg::ProgramFolders& f, const std::string& settingsFile) {
    out << "program:       " << f.program << '\n'
        << "data:          " << f.data << '\n'
        << "settings file: " << settingsFile << '\n'
        << "file sets:     " << f.files << (f.userFolders ? "  (desktop program)" : "") << '\n';
}

struct Options {
    std::string folder, port, baud, plantCode, language, trace, accessCode, parts = "all";
    std::string output, pdf, backups, serialNumber, serialDate;
    std::optional<bool> backupBeforeSend;
    long address = 1;
    long watch = 0;
    long part = 1;
    long minutes = 0;
    std::string csv;
    bool continueWalk = false;
    bool relay = false, yes = false, verbose = false, overwrite = false, force = false, templateSet = false;
    std::vector<std::string> words;  // the command and its operands
};

// Ctrl+C and SIGTERM during a panel command: the handler only counts the
// signal; CliUi turns it into the abort request that the link's waits poll,
// so the exchange stops and the panel is released as after the abort
// button. A second Ctrl+C ends the program at once.
std::atomic<int> gInterrupts{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free counter");

#if !defined(_WIN32)
extern "C" void NoteInterrupt(int) { gInterrupts.fetch_add(1); }

void CatchInterrupts() {
    struct sigaction sa {};
    sa.sa_handler = NoteInterrupt;
    sa.sa_flags = SA_RESETHAND;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}
#else
// Windows: the console's Ctrl+C and Ctrl+Break arrive on a thread of their
// own. The first is counted and handled; a second one is left to the
// system's default handler, which ends the program at once.
BOOL WINAPI NoteConsoleInterrupt(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    return gInterrupts.fetch_add(1) == 0 ? TRUE : FALSE;
}

void CatchInterrupts() { SetConsoleCtrlHandler(NoteConsoleInterrupt, TRUE); }
#endif

int UsageError(const std::string& message) {
    std::cerr << "cfgvimo-cli: " << message << "\n\n" << kUsage;
    return 2;
}

bool ToLong(const std::string& text, long lo, long hi, long& out) {
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || v < lo || v > hi) return false;
    out = v;
    return true;
}

// Returns an error message, or "" when the options are good.
std::string ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") return "help";
        else if (a == "--folder") { if (!value(o.folder)) return "--folder needs a folder"; }
        else if (a == "--port") {
            // An empty name would quietly leave the settings file's port.
            if (!value(o.port) || cfg::Trim(o.port).empty()) return "--port needs a port name";
        }
        else if (a == "--relay") o.relay = true;
        else if (a == "--baud") {
            if (!value(v) || !cfg::IsPanelBaudRate(v)) return "--baud needs one of the panel's rates: 1200, 2400, 4800, 9600";
            o.baud = v;
        } else if (a == "--plant-code") {
            long n = 0;
            if (!value(v) || !ToLong(v, 0, 223, n)) return "--plant-code needs a number 0..223";
            o.plantCode = v;
        } else if (a == "--address") {
            if (!value(v) || !ToLong(v, 0, 223, o.address)) return "--address needs a number 0..223";
        } else if (a == "--access-code") {
            long n = 0;
            if (!value(o.accessCode) || !ToLong(o.accessCode, 1, 999999, n)) return "--access-code needs 1 to 6 digits";
        } else if (a == "--language") { if (!value(o.language)) return "--language needs a name"; }
        else if (a == "--trace") { if (!value(o.trace)) return "--trace needs a file name"; }
        else if (a == "--parts") { if (!value(o.parts)) return "--parts needs all or a list of CY2,PY2,UY2,MY2"; }
        else if (a == "--part") {
            if (!value(v) || !ToLong(v, 1, 5, o.part)) return "--part needs a number 1..5";
        } else if (a == "--output") { if (!value(o.output)) return "--output needs a file name or -"; }
        else if (a == "--pdf") { if (!value(o.pdf)) return "--pdf needs a file name"; }
        else if (a == "--number") { if (!value(o.serialNumber)) return "--number needs a serial number"; }
        else if (a == "--date") { if (!value(o.serialDate)) return "--date needs DD/MM/YY"; }
        else if (a == "--yes") o.yes = true;
        else if (a == "--force") o.force = true;
        else if (a == "--template") o.templateSet = true;
        else if (a == "--watch") {
            if (!value(v) || !ToLong(v, 1, 3600, o.watch)) return "--watch needs a number of seconds 1..3600";
        } else if (a == "--minutes") {
            if (!value(v) || !ToLong(v, 1, 1440, o.minutes)) return "--minutes needs a number 1..1440";
        } else if (a == "--csv") { if (!value(o.csv)) return "--csv needs a file name"; }
        else if (a == "--continue") o.continueWalk = true;
        else if (a == "--overwrite") o.overwrite = true;
        else if (a == "--verbose") o.verbose = true;
        else if (a == "--backup") o.backupBeforeSend = true;
        else if (a == "--no-backup") o.backupBeforeSend = false;
        else if (a == "--backups") { if (!value(o.backups)) return "--backups needs a folder"; }
        else if (a.size() > 1 && a[0] == '-' && a[1] == '-') return "unknown option " + a;
        else o.words.push_back(a);
    }
    if (o.relay && !o.port.empty()) return "--port and --relay exclude each other";
    return {};
}

// "all" -> {0}; "CY2,MY2" -> {1, 4}: the entries of the transfer menu.
bool ParseParts(const std::string& text, std::vector<int>& choices) {
    choices.clear();
    if (cfg::UpperCase(cfg::Trim(text)) == "ALL") {
        choices.push_back(0);
        return true;
    }
    std::size_t from = 0;
    for (;;) {
        std::size_t comma = text.find(',', from);
        std::string part = cfg::UpperCase(cfg::Trim(text.substr(from, comma == std::string::npos ? std::string::npos : comma - from)));
        if (!part.empty() && part[0] == '.') part.erase(0, 1);
        int kind = part == "CY2" ? 1 : part == "PY2" ? 2 : part == "UY2" ? 3 : part == "MY2" ? 4 : 0;
        if (kind == 0) return false;
        if (std::find(choices.begin(), choices.end(), kind) == choices.end()) choices.push_back(kind);
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    std::sort(choices.begin(), choices.end());
    return !choices.empty();
}

std::string ProgramFolderOf(const char* argv0) {
    std::error_code ec;
#ifdef _WIN32
    // argv[0] is what the caller typed, perhaps without folder or ".exe".
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    fs::path self = n > 0 && n < buffer.size() ? fs::path(buffer.substr(0, n)) : fs::absolute(argv0, ec);
#else
    fs::path self = fs::canonical("/proc/self/exe", ec);
    if (ec) self = fs::absolute(argv0, ec);
#endif
    return self.parent_path().string();
}

std::string SettingsFileOf(const cfg::ProgramFolders& f) {
    return cfg::JoinPath(f.settings, std::string(cfg::kProgramName) + ".ini");
}

// A command succeeded when it ended done and showed no error.
bool Succeeded(const cfg::OpResult& result, const CliUi& ui, int errorsBefore) {
    return result.Done() && ui.ErrorsShown() == errorsBefore;
}

int Finish(const cfg::OpResult& result, const CliUi& ui, int errorsBefore, const std::string& command) {
    if (Succeeded(result, ui, errorsBefore)) return 0;
    if (ui.ErrorsShown() == errorsBefore)
        std::cerr << "cfgvimo-cli: " << command << ": not done"
                  << (ui.Refusals() > 0 ? " (a question was answered no)" : "") << '\n';
    return 1;
}

int Transfer(cfg::Session& s, CliUi& ui, const Options& o, bool receive) {
    if (o.words.size() != 2) return UsageError(std::string(receive ? "receive" : "send") + " needs one BASENAME");
    std::vector<int> choices;
    if (!ParseParts(o.parts, choices)) return UsageError("--parts needs all or a list of CY2,PY2,UY2,MY2");
    int errors = ui.ErrorsShown();
    cfg::OpResult result{cfg::status::kDone};
    for (int choice : choices) {
        ui.BeginCommand();
        ui.answers.transferChoice = choice;
        ui.answers.fileName = o.words[1];
        result = cfg::TransferCommand(s, receive ? 2 : 1);
        if (!Succeeded(result, ui, errors)) break;
    }
    return Finish(result, ui, errors, o.words[0]);
}

int Ident(cfg::Session& s, CliUi& ui) {
    int errors = ui.ErrorsShown();
    cfg::OpResult result = cfg::ConnectPanel(s);
    if (result.Done()) {
        // The installation's identification block, read without entering
        // programming mode.
        s.config.ConfigSource = cfg::ConfigSource::Panel;
        cfg::TakeIdentificationFromPanel(s);
        result = cfg::RefreshConfigView(s);
        s.config.ConfigSource = cfg::ConfigSource::None;
        cfg::ClosePanelPort(s);
        s.link.PortOpened = false;
    }
    if (result.Done()) {
        const auto& c = s.config;
        std::cout << "Panel:           " << cfg::Trim(s.link.PanelName) << '\n'
                  << "Version:         " << cfg::Trim(s.link.PanelVersionText) << '\n'
                  << "Release date:    " << cfg::Trim(s.link.PanelDateText) << '\n'
                  << "Address:         " << s.link.PanelAddress << '\n'
                  << "Installation:    " << cfg::Trim(c.InstallationName) << '\n'
                  << "Last change:     " << cfg::Trim(c.LastChangeDate) << '\n'
                  << "Serial number:   " << cfg::Trim(c.PanelSerialNumber) << '\n'
                  << "Production date: " << cfg::Trim(c.ProductionDate) << '\n';
    }
    return Finish(result, ui, errors, "ident");
}

int Clock(cfg::Session& s, CliUi& ui, const Options& o) {
    if (o.words.size() < 2 || (o.words[1] != "show" && o.words[1] != "set"))
        return UsageError("clock needs show or set");
    bool set = o.words[1] == "set";
    if (set && o.words.size() > 3) return UsageError("clock set takes one date and time in quotes");
    if (!set && o.words.size() > 2) return UsageError("clock show takes nothing more");
    if (set && o.words.size() == 3) {
        cfg::DateTimeFields f;
        int v[6] = {};
        const int lo[6] = {1, 1, 1980, 0, 0, 0}, hi[6] = {31, 12, 2079, 23, 59, 59};
        bool ok = cfg::cli::ParseClockText(o.words[2], f);
        for (int i = 0; ok && i < 6; ++i) ok = cfg::ParseDigits(f.field[static_cast<std::size_t>(i)], lo[i], hi[i], v[i]);
        if (!ok) return UsageError("clock set needs \"YYYY-MM-DD HH:MM:SS\" (years 1980..2079)");
        ui.answers.clock = f;
    }
    int errors = ui.ErrorsShown();
    ui.BeginCommand();
    cfg::OpResult result = cfg::ConnectPanel(s);
    if (result.Done()) {
        s.config.ConfigSource = cfg::ConfigSource::Panel;
        result = set ? cfg::SetPanelClock(s) : cfg::ShowPanelClock(s);
        s.config.ConfigSource = cfg::ConfigSource::None;
        cfg::ClosePanelPort(s);
        s.link.PortOpened = false;
    }
    return Finish(result, ui, errors, "clock " + o.words[1]);
}

// messages export|import [BASENAME] FILE.csv: the display texts of a file
// set, or of the panel when no BASENAME is given.
int Messages(cfg::Session& s, CliUi& ui, const Options& o) {
    if (o.words.size() < 2 || (o.words[1] != "export" && o.words[1] != "import"))
        return UsageError("messages needs export or import");
    if (o.words.size() != 3 && o.words.size() != 4)
        return UsageError("messages " + o.words[1] + " needs [BASENAME] FILE.csv");
    const bool exporting = o.words[1] == "export";
    const std::string csv = o.words.back();
    std::error_code ec;
    if (exporting && fs::exists(csv, ec) && !o.yes) {
        std::cerr << "cfgvimo-cli: " << csv << " exists; --yes replaces it\n";
        return 1;
    }
    int errors = ui.ErrorsShown();
    ui.BeginCommand();
    if (o.words.size() == 4) {
        s.config.ConfigFileName = cfg::StripExtension(fs::absolute(o.words[2], ec).string());
        // The template set is not edited, as the desktop program does not
        // open it.
        if (!exporting && cfg::IsTemplateSetName(s, s.config.ConfigFileName)) {
            cfg::ShowAlert(s, cfg::GetText(s, kTemplateNotEditable), cfg::GetText(s, kCreateNewHint));
            return Finish(cfg::OpResult{cfg::status::kRefused}, ui, errors, "messages");
        }
        if (const int found = cfg::CheckConfigFile(s, s.config.ConfigFileName, 4); found != cfg::status::kDone)
            return Finish(cfg::OpResult{found}, ui, errors, "messages");
        if (!cfg::ConfirmSetFiles(s, s.config.ConfigFileName, {false, false, false, false, true}, 0))
            return Finish(cfg::OpResult{cfg::status::kRefused}, ui, errors, "messages");
        s.config.ConfigSource = cfg::ConfigSource::File;
        cfg::OpResult result;
        if (exporting) {
            result = cfg::ExportDisplayTexts(s, csv, true);
        } else {
            const cfg::TextsImport imported = cfg::ImportDisplayTexts(s, csv, true);
            result = imported.result;
            if (imported.entries > 0) static_cast<void>(cfg::StampDate(s));
        }
        s.config.ConfigSource = cfg::ConfigSource::None;
        return Finish(result, ui, errors, "messages " + o.words[1]);
    }
    cfg::OpResult result = cfg::ConnectPanel(s);
    if (result.Done()) {
        cfg::TakeIdentificationFromPanel(s);
        result = cfg::EnterProgrammingMode(s);
        if (result.Done()) {
            s.config.ConfigSource = cfg::ConfigSource::Panel;
            result = exporting ? cfg::ExportDisplayTexts(s, csv, true) : cfg::ImportDisplayTexts(s, csv, true).result;
            s.config.ConfigSource = cfg::ConfigSource::None;
            cfg::LeaveProgrammingMode(s, true);
        }
        cfg::ClosePanelPort(s);
        s.link.PortOpened = false;
    }
    return Finish(result, ui, errors, "messages " + o.words[1]);
}

cfg::cli::LoopOptions LoopOptionsOf(const Options& o) {
    cfg::cli::LoopOptions l;
    l.words.assign(o.words.begin() + 1, o.words.end());
    l.watchSeconds = static_cast<int>(o.watch);
    l.overwrite = o.overwrite;
    l.yes = o.yes;
    l.walk.minutes = static_cast<int>(o.minutes);
    l.walk.csv = o.csv;
    l.walk.pdf = o.pdf;
    l.walk.continueLast = o.continueWalk;
    l.walk.yes = o.yes;
    l.walkOptions = o.minutes > 0 || !o.csv.empty() || !o.pdf.empty() || o.continueWalk;
#ifdef CFG_CLI_PDF
    l.canWritePdf = true;
#endif
    return l;
}

// The printout of a file set or of the panel, as the text file of the
// desktop program or as a PDF.
int Print(cfg::Session& s, CliUi& ui, const Options& o) {
    if (o.words.size() > 2) return UsageError("print takes at most one BASENAME");
    const bool panel = o.words.size() == 1;
    if (!o.output.empty() && !o.pdf.empty()) return UsageError("--output and --pdf exclude each other");
    if (panel && o.output.empty() && o.pdf.empty()) return UsageError("print from the panel needs --output or --pdf");
#ifndef CFG_CLI_PDF
    if (!o.pdf.empty()) {
        std::cerr << "cfgvimo-cli: this build has no PDF support (it needs Qt)\n";
        return 1;
    }
#endif
    std::string target = !o.pdf.empty() ? o.pdf : !o.output.empty() ? o.output : cfg::ReportFileName(o.words[1]);
    std::error_code ec;
    if (target != "-" && fs::exists(target, ec) && !o.yes) {
        std::cerr << "cfgvimo-cli: " << target << " exists; --yes replaces it\n";
        return 1;
    }

    int errors = ui.ErrorsShown();
    ui.BeginCommand();
    ui.answers.fileName = panel ? std::string() : o.words[1];
    const cfg::OpResult opened = cfg::OpenConfiguration(s, panel ? 2 : 1);
    if (!opened.Done()) return Finish(opened, ui, errors, "print");
    std::vector<std::string> lines = cfg::BuildReport(s, static_cast<int>(o.part));
    cfg::ReportPrintJob job{cfg::ReportTitle(s), cfg::GetText(s, kPageWord), lines};
    if (panel) {
        s.commands.closePanel(s);
        s.link.PortOpened = false;
    }
    s.config.ConfigSource = cfg::ConfigSource::None;
    if (ui.ErrorsShown() != errors) return Finish(opened, ui, errors, "print");

    bool written = false;
    if (target == "-" && o.pdf.empty()) {
        for (const std::string& line : lines) std::cout << line << '\n';
        written = static_cast<bool>(std::cout.flush());
    } else if (!o.pdf.empty()) {
#ifdef CFG_CLI_PDF
        written = cfg::gui::WriteReportPdf(target, job);
        if (!written) std::cerr << "cfgvimo-cli: cannot write " << target << '\n';
#endif
    } else {
        written = cfg::WriteReportFile(s, target, lines);
    }
    return Finish(cfg::OpResult{written ? cfg::status::kDone : cfg::status::kAborted}, ui, errors, "print");
}

// The serial number of the connected panel: the proposal is printed; with
// --yes it is written, then the counter file.
int Serial(cfg::Session& s, CliUi& ui, const Options& o) {
    if (o.words.size() != 1) return UsageError("serial takes no operand");
    cfg::CounterFile counter;
    if (!cfg::ReadCounterFile(s, counter)) {
        std::cerr << "cfgvimo-cli: no counter file " << cfg::CounterFilePath(s) << '\n';
        return 1;
    }
    int errors = ui.ErrorsShown();
    ui.BeginCommand();
    ui.answers.serialNumber = o.serialNumber;
    ui.answers.serialDate = o.serialDate;
    if (const cfg::OpResult opened = cfg::OpenConfiguration(s, 2); !opened.Done()) return Finish(opened, ui, errors, "serial");
    const cfg::OpResult result = cfg::NumberPanel(s);
    s.commands.closePanel(s);
    s.link.PortOpened = false;
    s.config.ConfigSource = cfg::ConfigSource::None;
    return Finish(result, ui, errors, "serial");
}

int RunCommand(cfg::Session& s, CliUi& ui, const Options& o) {
    const std::string& cmd = o.words[0];
    if (cmd == "loop") {
        const cfg::cli::LoopOptions l = LoopOptionsOf(o);
        const std::string error = cfg::cli::CheckLoopWords(l);
        if (!error.empty()) return UsageError(error);
        return cfg::cli::RunLoopCommand(s, ui, l);
    }
    if (o.watch > 0 || o.overwrite) return UsageError("--watch and --overwrite go with the loop command");
    if (o.minutes > 0 || !o.csv.empty() || o.continueWalk) return UsageError("--minutes, --csv and --continue go with loop walktest");
    if (cmd == "receive" || cmd == "send") return Transfer(s, ui, o, cmd == "receive");
    if (cmd == "create" || cmd == "copy") {
        bool copy = cmd == "copy";
        if (o.words.size() != (copy ? 3u : 2u)) return UsageError(copy ? "copy needs SOURCE and DEST" : "create needs one BASENAME");
        int errors = ui.ErrorsShown();
        ui.BeginCommand();
        ui.answers.copySource = copy ? o.words[1] : std::string();
        ui.answers.copyDest = o.words.back();
        return Finish(cfg::CreateCommand(s, copy ? 1 : 2), ui, errors, cmd);
    }
    if (cmd == "ident") {
        if (o.words.size() != 1) return UsageError("ident takes nothing more");
        return Ident(s, ui);
    }
    if (cmd == "clock") return Clock(s, ui, o);
    if (cmd == "messages") return Messages(s, ui, o);
    if (cmd == "print") return Print(s, ui, o);
    if (cmd == "backups") {
        if (o.words.size() != 1) return UsageError("backups takes nothing more");
        return cfg::cli::ListBackupsCommand(s, std::cout);
    }
    if (cmd == "compare") {
        if (o.words.size() != 2 && o.words.size() != 3) return UsageError("compare needs A and, without the panel, B");
        return cfg::cli::CompareCommandLine(s, ui, o.words[1], o.words.size() == 3 ? o.words[2] : std::string(),
                                            o.output, std::cout);
    }
    if (cmd == "serial") return Serial(s, ui, o);
    return UsageError("unknown command " + cmd);
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    std::string error = ParseOptions(argc, argv, o);
    std::error_code ec;
    const std::string exeFolder = ProgramFolderOf(argv[0]);
    const std::string chosen = o.folder.empty() ? std::string() : fs::absolute(o.folder, ec).string();
    const cfg::ProgramFolders folders =
        cfg::LocateFolders(exeFolder, chosen, cfg::FolderAcceptsFiles(exeFolder), cfg::ReadFolderEnvironment());
    if (error == "help") {
        std::cout << kUsage << '\n';
        PrintFolders(std::cout, folders, SettingsFileOf(folders));
        return 0;
    }
    if (!error.empty()) return UsageError(error);
    if (o.words.empty()) return UsageError("no command given");
    if (o.words[0] == "where" && o.words.size() != 1) return UsageError("where takes nothing more");

    // A PDF needs fonts, hence a Gui application (without a screen); the
    // serial port needs the event loop of a Core one.
#ifdef CFG_CLI_PDF
    std::unique_ptr<QCoreApplication> app;
    if (!o.pdf.empty()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
#elif defined(CFG_CLI_SERIAL)
    QCoreApplication app(argc, argv);
#endif

    CliUi ui(std::cout, std::cerr);
    cfg::SystemClock clock;
    cfg::Session s(ui, clock);
    ui.Attach(s);
    ui.verbose = o.verbose;
#ifdef CFG_CLI_SERIAL
    ui.pumpEvents = [] { QCoreApplication::processEvents(); };
#endif
#ifdef CFG_CLI_PDF
    ui.writePdf = [](const std::string& path, const cfg::ReportPrintJob& job) { return cfg::gui::WriteReportPdf(path, job); };
#endif

    s.settings.ProgramFolder = chosen.empty() ? exeFolder : chosen;
    if (!fs::is_directory(s.settings.ProgramFolder, ec)) return UsageError("no such folder: " + s.settings.ProgramFolder);
    if (folders.userFolders) cfg::MakeFolders(folders.settings);
    cfg::ApplyFolders(s.settings, folders);
    s.settings.ProgramDrive = s.settings.ProgramFolder.substr(0, std::min<std::size_t>(2, s.settings.ProgramFolder.size()));

    cfg::RegisterCoreCommands(s);
    cfg::LoadSettings(s);
    if (!o.language.empty()) s.settings.CurrentLanguage = o.language;
    std::string languageFile = cfg::LanguageFilePath(s, s.settings.CurrentLanguage);
    if (cfg::ResolveExisting(languageFile).empty()) {
        std::vector<std::string> languages = cfg::ListLanguages(s);
        std::cerr << "cfgvimo-cli: no language file " << s.settings.CurrentLanguage << ".lng in " << folders.data;
        if (languages.empty()) {
            std::cerr << "; messages will have no text\n";
        } else {
            s.settings.CurrentLanguage = languages.front();
            languageFile = cfg::LanguageFilePath(s, s.settings.CurrentLanguage);
            std::cerr << "; using " << s.settings.CurrentLanguage << '\n';
        }
    }
    cfg::LoadLanguageFile(s, languageFile);

    if (!o.trace.empty() && !cfg::CanAppendTrace(o.trace)) {
        // Appending would bury somebody's file under the bytes of the line.
        std::cerr << "cfgvimo-cli: " << o.trace << " is not a trace of this program; give --trace a new file\n";
        return 1;
    }
    if (!o.port.empty()) s.settings.CommPortName = o.port;
    if (!o.baud.empty()) s.settings.BaudRate = o.baud;
    if (!o.plantCode.empty()) s.settings.PlantCode = o.plantCode;
    s.link.TraceFile = o.trace;
    ui.answers.panelAddress = o.address;
    ui.answers.accessCode = o.accessCode;
    ui.answers.yes = o.yes;
    ui.answers.force = o.force;
    ui.answers.templateSet = o.templateSet;
    if (!o.backups.empty()) s.settings.backups.folder = fs::absolute(o.backups, ec).string();
    // The question before a send is the desktop program's to ask: without
    // an option and a kept answer the command line takes no backup.
    s.settings.backups.beforeSend = o.backupBeforeSend ? o.backupBeforeSend : cfg::RememberedBackupBeforeSend(s);
    if (!s.settings.backups.beforeSend) s.settings.backups.beforeSend = false;
    if (o.words[0] == "where") {
        // The backups folder may be set in the settings file or by --backups.
        PrintFolders(std::cout, folders, SettingsFileOf(folders));
        std::cout << "backups:       " << cfg::BackupFolder(s) << '\n';
        return 0;
    }

    const bool needsPanel = o.words[0] == "receive" || o.words[0] == "send" || o.words[0] == "ident" ||
                            o.words[0] == "clock" || (o.words[0] == "messages" && o.words.size() == 3) ||
                            (o.words[0] == "print" && o.words.size() == 1) ||
                            (o.words[0] == "compare" && o.words.size() == 2) ||
                            (o.words[0] == "loop" &&
                             cfg::cli::LoopNeedsPanel({o.words.begin() + 1, o.words.end()})) ||
                            o.words[0] == "serial";
#ifdef CFG_CLI_SERIAL
    cfg::PortTransport serial;  // the serial port, or tcp://HOST:PORT
#endif
    if (needsPanel && o.relay) {
        std::string cwd = fs::current_path(ec).string();
        {
            cfg::QuietFileErrors quiet(s);
            cfg::ReadRelayParameters(s, "TW", cwd);
        }
        if (!s.settings.FileLinkMode) {
            std::cerr << "cfgvimo-cli: relay mode needs Par_app.tmp in the working folder " << cwd << '\n';
            return 1;
        }
        if (!o.plantCode.empty()) s.settings.RelayPlantCode = o.plantCode;
        if (!o.baud.empty()) s.settings.RelayBaudRate = o.baud;
    } else if (needsPanel) {
#ifdef CFG_CLI_SERIAL
        s.transport = &serial;
#else
        std::cerr << "cfgvimo-cli: this build has no serial port support; use --relay\n";
        return 1;
#endif
    }

    if (needsPanel) {
        CatchInterrupts();
        ui.interrupts = &gInterrupts;
    }
    int result = RunCommand(s, ui, o);
    s.transport = nullptr;
    return result;
}
