// A settings file of any content loads without a crash; what it gives is
// what the program can use (no value longer than the profile's 255-character
// cut), and a save rewrites it in place.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "shell/Settings.h"
#include "shell/SilentUi.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = [] {
        std::string f = "/tmp/fuzz-settings-" + std::to_string(getpid());
        std::filesystem::create_directories(f);
        return f;
    }();
    cfg::SilentUi ui;
    cfg::SystemClock clock;
    cfg::Session s(ui, clock);
    s.settings.ProgramFolder = folder;
    {
        std::ofstream out(cfg::SettingsFilePath(s), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    cfg::LoadSettings(s);
    for (const std::string* v : {&s.settings.CommPortName, &s.settings.BaudRate, &s.settings.DataBits, &s.settings.ParityName, &s.settings.StopBits,
                                 &s.settings.PlantCode, &s.settings.CurrentLanguage})
        if (v->size() > 255) std::abort();
    (void)cfg::SettingsCaption(s.settings);
    cfg::SaveSettings(s);
    cfg::Session again(ui, clock);
    again.settings.ProgramFolder = folder;
    cfg::LoadSettings(again);
    if (again.settings.PlantCode != s.settings.PlantCode || again.settings.BaudRate != s.settings.BaudRate) std::abort();
    return 0;
}
