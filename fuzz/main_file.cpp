// A main configuration file (.CY2) of any content, opened as a file set,
// gives its identification and lets every section of the program build its
// printed lines without a crash or an out-of-bounds cell.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzUi.h"
#include "app/core/Wiring.h"
#include "shell/Language.h"
#include "shell/RuntimeError.h"
#include "transfer/Commands.h"

namespace fs = std::filesystem;

namespace {

// The program folder of the run: a language file and the other three files
// of the set, taken from the DEFAULT set beside the fuzzer when present.
const std::string& Folder() {
    static const std::string folder = [] {
        const fs::path f = "/tmp/fuzz-cy2-" + std::to_string(getpid());
        fs::create_directories(f);
        const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
        std::error_code ec;
        for (const char* ext : {".PY2", ".UY2", ".MY2"})
            fs::copy_file(bin / (std::string("DEFAULT") + ext), f / (std::string("PLANT") + ext),
                          fs::copy_options::overwrite_existing, ec);
        fs::copy_file(bin / "English.lng", f / "English.lng", fs::copy_options::overwrite_existing, ec);
        return f.string();
    }();
    return folder;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& folder = Folder();
    {
        std::ofstream out(folder + "/PLANT.CY2", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    cfg::fuzz::FuzzUi ui;
    cfg::SystemClock clock;
    cfg::Session s(ui, clock);
    s.ProgramFolder = folder;
    cfg::RegisterCoreCommands(s);
    cfg::LoadLanguageFile(s, folder + "/English.lng");
    s.ConfigSource = cfg::ConfigSource::File;
    s.ConfigFileName = folder + "/PLANT";
    cfg::RefreshConfigView(s);
    for (const cfg::SectionDef& def : s.sections.Rows()) {
        if (!def.printable || !def.run) continue;
        int16_t print = 1;
        // A cell index out of bounds is run-time error 9, which the main loop
        // reports; a crash or a sanitizer report is what the fuzzer looks for.
        try {
            def.run(s, print, 1);
        } catch (const cfg::RuntimeError&) {
        }
    }
    return 0;
}
