#include "app/cli/WalkTestCli.h"

#include <filesystem>
#include <iostream>

#include "loops/WalkTest.h"
#include "shell/Language.h"

namespace cfg::cli {

namespace {

constexpr int kModuleText = 1784;
constexpr int kRecordLabel = 1799;
constexpr int kCannotSave = 1804;
constexpr int kNotTested = 1815;
constexpr int kReportSaved = 1825;

}  // namespace

std::string CheckWalkTestFiles(const WalkTestOptions& o, bool canWritePdf) {
    if (!o.pdf.empty() && !canWritePdf) return "this build has no PDF support (it needs Qt)";
    for (const std::string* f : {&o.csv, &o.pdf}) {
        std::error_code ec;
        if (!f->empty() && std::filesystem::exists(*f, ec) && !o.yes) return *f + " exists; --yes replaces it";
    }
    return {};
}

int RunWalkTestCommand(Session& s, CliUi& ui, LoopContext& c, const WalkTestOptions& o) {
    if (!LoadLoopTables(s, c)) return 1;
    WalkTest test(s, c);
    std::string error;
    if (o.continueLast ? !test.Continue(error) : !test.Start(KeptTesterName(s))) {
        if (!error.empty()) std::cerr << "cfgvimo-cli: " << error << '\n';
        else if (!test.SaveError().empty()) std::cerr << "cfgvimo-cli: " << GetText(s, kCannotSave) << ' ' << test.SaveError() << '\n';
        return 1;
    }
    const WalkModule* m = test.Record().Module(c.module);
    std::cout << GetText(s, kModuleText) << ' ' << c.module << ": " << WalkTestedText(s, *m) << '\n'
              << GetText(s, kRecordLabel) << ' ' << test.Path() << '\n';
    std::cout.flush();

    const double start = s.clock->SecondsSinceMidnight();
    auto over = [&] {
        if (ui.Interrupted() || test.AllTested()) return true;
        if (o.minutes <= 0) return false;
        double elapsed = s.clock->SecondsSinceMidnight() - start;
        if (elapsed < 0) elapsed += 86400.0;
        return elapsed >= o.minutes * 60.0;
    };
    const bool answered = RunWalkTestPolls(s, test, over, [&](const std::vector<WalkEvent>& events) {
        for (const WalkEvent& e : events) std::cout << WalkEventLine(s, test.Record(), e) << '\n';
        std::cout.flush();
    });
    s.events.AbortRequested = false;
    const bool ended = test.Finish();

    m = test.Record().Module(c.module);
    std::cout << '\n' << GetText(s, kModuleText) << ' ' << c.module << ": " << WalkTestedText(s, *m) << '\n';
    bool header = false;
    for (const WalkPoint& p : m->points) {
        if (p.tested) continue;
        if (!header) std::cout << GetText(s, kNotTested) << ":\n";
        header = true;
        std::cout << "  " << p.point << "  " << p.description << '\n';
    }
    int faults = 0;
    for (const WalkPoint& p : m->points) faults += static_cast<int>(p.faults.size());
    std::cout << GetText(s, 1816) << ": " << faults << '\n';

    bool files = true;
    if (!o.csv.empty()) {
        if (SaveWalkCsv(s, test.Record(), o.csv, error)) {
            std::cout << GetText(s, kReportSaved) << ' ' << o.csv << '\n';
        } else {
            std::cerr << "cfgvimo-cli: " << GetText(s, 1827) << ' ' << error << '\n';
            files = false;
        }
    }
    if (!o.pdf.empty()) {
        if (SaveWalkPdf(s, test.Record(), o.pdf, error)) {
            std::cout << GetText(s, kReportSaved) << ' ' << o.pdf << '\n';
        } else {
            std::cerr << "cfgvimo-cli: " << GetText(s, 1827) << ' ' << error << '\n';
            files = false;
        }
    }
    if ((!answered || !ended) && !ui.Interrupted()) std::cerr << "cfgvimo-cli: the panel stopped answering\n";
    return answered && files && test.AllTested() ? 0 : 1;
}

}  // namespace cfg::cli
