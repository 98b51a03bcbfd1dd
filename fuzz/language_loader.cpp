// Language files of any content load without a crash, and no text exceeds
// the 128-character limit.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "shell/Language.h"
#include "shell/SilentUi.h"
#include "shell/Text.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/fuzz-lang-" + std::to_string(getpid()) + ".lng";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    cfg::SilentUi ui;
    cfg::SystemClock clock;
    cfg::Session s(ui, clock);
    cfg::LoadLanguageFile(s, path);
    for (int i = 0; i <= 2000; ++i)
        if (cfg::Utf8Length(s.texts.LanguageTexts[i]) > 128) std::abort();
    (void)cfg::ReadLanguageEntry(path, "FRMCfgvimo", "CMDOk.Caption");
    (void)cfg::ReadLanguageEntry(path, "Strings", "2001");
    return 0;
}
