#include "app/cli/LoopCli.h"

#include <filesystem>
#include <iostream>

#include "config/Files.h"
#include "link/Connection.h"
#include "link/Link.h"
#include "link/Screen.h"
#include "loops/LoopSection.h"
#include "shell/FileNames.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/Shell.h"
#include "transfer/Commands.h"

namespace cfg::cli {

namespace {

// The module's error counters (four texts from kErrorCounterText), the
// faulty point and its module, the loop's state, the line current, and
// the alert of a module that did not carry out a command.
constexpr int kErrorCounterText = 30;
constexpr int kFaultPointText = 376, kFaultModuleText = 377;
constexpr int kLoopStateText = 34, kLoopOkText = 37, kLoopNotOkText = 36;
constexpr int kLineCurrentText = 25;
constexpr int kNotCarriedOutText = 1289, kLoopModuleText = 1139;

bool IsModule(const std::string& w) { return w == "1" || w == "2"; }

const std::vector<std::string> kViews = {"list", "minmax", "errors", "current"};
const std::vector<std::string> kActions = {"autoconfig", "reset-minmax", "reset-errors"};
constexpr const char* kWalkTest = "walktest";

bool OneOf(const std::string& w, const std::vector<std::string>& set) {
    for (const auto& x : set)
        if (x == w) return true;
    return false;
}

void PrintLines(const Session& s) {
    for (const auto& l : ScreenLines(s.screen)) std::cout << l << '\n';
}

// One round of a view; false when an exchange failed.
bool ShowOnce(Session& s, LoopContext& c, const std::string& view, bool first) {
    if (view == "list") {
        if (first ? !LoadLoopTables(s, c) : !ReadLiveTable(s, c)) return false;
        BuildLoopList(s, c, false);
        PrintLines(s);
        return true;
    }
    if (view == "minmax") {
        if (first && !LoadLoopTables(s, c, false)) return false;
        if (!ReadMinMaxTable(s, c)) return false;
        BuildMinMaxList(s, c);
        PrintLines(s);
        return true;
    }
    if (view == "errors") {
        LoopErrors e;
        if (!ReadLoopErrors(s, c, e)) return false;
        for (int i = 0; i < 4; ++i)
            std::cout << GetText(s, kErrorCounterText + i) << ": " << e.counters[static_cast<std::size_t>(i)] << '\n';
        if (e.faultPoint > 0)
            std::cout << GetText(s, kFaultPointText) << e.faultPoint << GetText(s, kFaultModuleText) << c.module << "]\n";
        std::cout << GetText(s, kLoopStateText) << " " << GetText(s, e.status == 1 ? kLoopOkText : kLoopNotOkText) << " (" << e.status << ")\n";
        return true;
    }
    const int ma = ReadLineCurrent(s, c);
    if (ma < 0) return false;
    std::cout << GetText(s, kLineCurrentText) << ": " << (ma > 250 ? "!!" : "") << ma << " mA\n";
    return true;
}

}  // namespace

bool LoopNeedsPanel(const std::vector<std::string>& words) { return !words.empty() && IsModule(words[0]); }

std::string CheckLoopWords(const LoopOptions& o) {
    const auto& w = o.words;
    const bool panel = LoopNeedsPanel(w);
    const std::size_t at = panel ? 0 : 1;
    if (w.size() != at + 2 || !IsModule(w[at]))
        return "loop needs [BASENAME] MODULE (1 or 2) and one of list, minmax, errors, current, autoconfig, "
               "reset-minmax, reset-errors, walktest";
    const std::string& what = w[at + 1];
    if (!OneOf(what, kViews) && !OneOf(what, kActions) && what != kWalkTest) return "unknown loop command " + what;
    if (o.walkOptions && what != kWalkTest) return "--minutes, --csv and --continue go with walktest";
    if (!panel && what != "list") return "with a BASENAME only list works (the rest needs the panel)";
    if (o.watchSeconds > 0 && !OneOf(what, kViews)) return "--watch goes with list, minmax, errors or current";
    if (o.overwrite && what != "autoconfig") return "--overwrite goes with autoconfig";
    return {};
}

int RunLoopCommand(Session& s, CliUi& ui, const LoopOptions& o) {
    const bool panel = LoopNeedsPanel(o.words);
    const std::size_t at = panel ? 0 : 1;
    LoopContext c;
    c.module = o.words[at][0] - '0';
    const std::string what = o.words[at + 1];
    const int errors = ui.ErrorsShown();
    ui.BeginCommand();

    if (what == kWalkTest) {
        const std::string error = CheckWalkTestFiles(o.walk, o.canWritePdf);
        if (!error.empty()) {
            std::cerr << "cfgvimo-cli: " << error << '\n';
            return 1;
        }
    }
    int walkResult = -1;
    if (OneOf(what, kActions) && !o.yes) {
        std::cerr << "cfgvimo-cli: loop " << what << " changes the panel: add --yes to go ahead\n";
        return 1;
    }
    if (panel) {
        // As every other panel command: identification, address, then
        // programming mode, outside which a panel refuses loop commands.
        if (!OpenConfiguration(s, 2).Done()) return 1;
    } else {
        std::error_code ec;
        s.config.ConfigFileName = UpperCaseName(std::filesystem::absolute(o.words[0], ec).string());
        s.config.ConfigSource = ConfigSource::File;
    }

    bool ok = true;
    bool watchStopped = false;
    if (!ReadModuleDirectory(s, c).Done()) {
        ok = false;
    } else if (!c.Present()) {
        std::cerr << "cfgvimo-cli: loop module " << c.module << " is not present\n";
        ok = false;
    } else if (!IdentifyModule(s, c)) {
        ShowAlert(s, GetText(s, kNotCarriedOutText), GetText(s, kLoopModuleText));
        ok = false;
    }

    if (ok && OneOf(what, kViews)) {
        for (bool first = true;; first = false) {
            if (!first) std::cout << "\n";
            if (!ShowOnce(s, c, what, first)) {
                ok = false;
                break;
            }
            std::cout.flush();
            if (o.watchSeconds <= 0) break;
            const double start = s.clock->SecondsSinceMidnight();
            for (;;) {
                const double elapsed = s.clock->SecondsSinceMidnight() - start;
                if (ui.Interrupted() || elapsed >= o.watchSeconds || elapsed < 0) break;
                Yield(s);
            }
            if (ui.Interrupted()) break;
        }
        // Ctrl+C is how a watch ends, even when it stopped an exchange.
        if (o.watchSeconds > 0 && ui.Interrupted()) {
            s.events.AbortRequested = false;
            watchStopped = true;
        }
    } else if (ok && what == "autoconfig") {
        ok = RunAutoConfiguration(s, c, {false, o.overwrite});
        if (ok) PrintLines(s);
    } else if (ok && what == "reset-minmax") {
        ok = ResetMinMax(s, c);
    } else if (ok && what == "reset-errors") {
        ok = ResetLoopErrors(s, c);
    } else if (ok && what == kWalkTest) {
        walkResult = RunWalkTestCommand(s, ui, c, o.walk);
    }

    if (panel) {
        LeaveProgrammingMode(s, true);
        ClosePanelPort(s);
        s.link.PortOpened = false;
    }
    s.config.ConfigSource = ConfigSource::None;
    // A walk test that ran says itself whether every point was tested.
    if (ok && walkResult >= 0) return walkResult;
    if (watchStopped) return 0;
    if (ok && ui.ErrorsShown() == errors) return 0;
    if (ui.ErrorsShown() == errors) std::cerr << "cfgvimo-cli: loop " << what << ": not done\n";
    return 1;
}

}  // namespace cfg::cli
