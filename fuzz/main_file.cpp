// A main configuration file (.CY2) of any content, as part of a file set held
// in memory, gives its identification and lets every section of the program
// build its printed lines without a crash or an out-of-bounds cell.
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

// What every input shares: the English texts, the section table and the
// other three files of the set, taken from the DEFAULT set beside the fuzzer.
struct Setup {
    cfg::Texts texts;
    cfg::SectionTable sections;
    cfg::FileSetImage set;
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
        return out;
    }();
    return setup;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Setup& shared = Shared();
    cfg::FileSetImage set = shared.set;
    set.parts[1].assign(data, data + size);
    set.present[1] = true;
    // A cell index out of bounds is run-time error 9, which the main loop
    // reports; a crash or a sanitizer report is what the fuzzer looks for.
    try {
        cfg::ConfigState ident;
        (void)cfg::ReadIdentification(set, ident);
    } catch (const cfg::RuntimeError&) {
    }
    std::vector<std::string> lines;
    for (const cfg::SectionDef& def : shared.sections.Rows()) {
        if (!def.printable || !def.print) continue;
        const int options = def.code == cfg::kLoopSensorsCode ? 2 : 1;
        for (int option = 1; option <= options; ++option) {
            try {
                (void)def.print(set, shared.texts, option, lines);
            } catch (const cfg::RuntimeError&) {
            }
        }
    }
    return 0;
}
