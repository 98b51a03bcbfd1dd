// A main configuration file (.CY2) of any content, as part of a file set held
// in memory, gives its identification and lets every section of the program
// build its printed lines without a crash or an out-of-bounds cell. The
// input is one byte that picks the section, then the file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/core/SectionTable.h"
#include "config/Files.h"
#include "report/Printout.h"
#include "shell/Language.h"
#include "shell/RuntimeError.h"
#include "shell/SilentUi.h"
#include "transfer/DateStamp.h"

namespace fs = std::filesystem;

namespace {

// One printout: a row of the section table and the option it prints with.
struct Printer {
    std::size_t row;
    int option;
};

// What every input shares: the English texts, the section table, the other
// three files of the set, taken from the DEFAULT set beside the fuzzer, and
// every printable section with each of its options.
struct Setup {
    cfg::Texts texts;
    cfg::SectionTable sections;
    cfg::FileSetImage set;
    std::vector<Printer> printers;
};

const Setup& Shared() {
    static const Setup setup = [] {
        Setup out;
        const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
        cfg::SilentUi ui;
        cfg::SystemClock clock;
        cfg::Session s(ui, clock);
        cfg::LoadLanguageFile(s, (bin / "English.lng").string());
        out.texts = s.texts;
        cfg::RegisterSections(out.sections);
        out.set = cfg::ReadFileSetImage((bin / "DEFAULT").string());
        const auto& rows = out.sections.Rows();
        for (std::size_t row = 0; row < rows.size(); ++row) {
            if (!rows[row].printable || !rows[row].print) continue;
            const int options = rows[row].code == cfg::kLoopSensorsCode ? 2 : 1;
            for (int option = 1; option <= options; ++option) out.printers.push_back({row, option});
        }
        return out;
    }();
    return setup;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Setup& shared = Shared();
    if (size == 0) return 0;
    // The first byte picks the section (and, for the loop sensors, the
    // option) that prints; the rest is the main file. One section an input
    // keeps each run short, so the fuzzer tries many more files in the
    // same time, and over a run every section is printed many times.
    const std::size_t choice = data[0] % shared.printers.size();
    cfg::FileSetImage set = shared.set;
    set.parts[1].assign(data + 1, data + size);
    set.present[1] = true;
    // A cell index out of bounds is run-time error 9, which the main loop
    // reports; a crash or a sanitizer report is what the fuzzer looks for.
    try {
        cfg::ConfigState ident;
        (void)cfg::ReadIdentification(set, ident);
    } catch (const cfg::RuntimeError&) {
    }
    std::vector<std::string> lines;
    const Printer& printer = shared.printers[choice];
    try {
        (void)shared.sections.Rows()[printer.row].print(set, shared.texts, printer.option, lines);
    } catch (const cfg::RuntimeError&) {
    }
    return 0;
}
