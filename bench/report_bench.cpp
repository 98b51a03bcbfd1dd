// report_bench: the time to build the whole printout of a file set (every
// part, every section in print mode), from the demonstration plant written
// to a temporary folder; and the time to print every section from the same
// set held in memory, as the comparison and the fuzz target do. Prints the
// figures; asserts nothing.
//
//   report_bench [--runs N] [--language FILE.lng]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/core/Wiring.h"
#include "config/Files.h"
#include "report/Printout.h"
#include "shell/SilentUi.h"
#include "shell/Language.h"
#include "shell/Session.h"
#include "sim/Panel.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 50;
    std::string language = std::string(CFG_BIN_DIR) + "/English.lng";
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
        else if (a == "--language") language = argv[i + 1];
    }

    fs::path folder = fs::temp_directory_path() / ("report_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    vimo::sim::Panel panel;
    panel.LoadSample();
    vimo::sim::FileSet set = panel.ExportFileSet();
    Write(folder / "SITE.CY2", set.cy2);
    Write(folder / "SITE.PY2", set.py2);
    Write(folder / "SITE.UY2", set.uy2);
    Write(folder / "SITE.MY2", set.my2);

    cfg::SilentUi ui;
    cfg::SystemClock clock;
    cfg::Session s(ui, clock);
    s.settings.ProgramFolder = folder.string();
    cfg::RegisterCoreCommands(s);
    cfg::LoadLanguageFile(s, language);
    s.config.ConfigSource = cfg::ConfigSource::File;
    s.config.ConfigFileName = (folder / "SITE").string();

    auto summary = [](std::vector<double> ms) {
        std::sort(ms.begin(), ms.end());
        double sum = 0;
        for (double v : ms) sum += v;
        std::printf("  min %.2f ms  median %.2f ms  mean %.2f ms  max %.2f ms\n", ms.front(), ms[ms.size() / 2],
                    sum / static_cast<double>(ms.size()), ms.back());
    };
    std::vector<double> ms;
    std::size_t lines = 0;
    for (int r = 0; r < runs; ++r) {
        auto start = std::chrono::steady_clock::now();
        lines = cfg::BuildReport(s, cfg::kReportEverything).size();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::printf("whole report of a file set: %zu lines, %d runs\n", lines, runs);
    summary(ms);

    const cfg::FileSetImage image = cfg::ReadFileSetImage(s.config.ConfigFileName);
    fs::remove_all(folder);
    ms.clear();
    std::size_t shown = 0;
    std::vector<std::string> sectionLines;
    for (int r = 0; r < runs; ++r) {
        auto start = std::chrono::steady_clock::now();
        shown = 0;
        for (const cfg::SectionDef& def : s.sections.Rows()) {
            if (!def.printable || !def.print) continue;
            for (int option = 1; option <= (def.code == cfg::kLoopSensorsCode ? 2 : 1); ++option)
                if (def.print(image, s.texts, option, sectionLines)) shown += sectionLines.size();
        }
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::printf("every section printed from the set in memory: %zu lines, %d runs\n", shown, runs);
    summary(ms);
    if (ui.messagesShown > 0) std::printf("  (%d messages were shown: the report is incomplete)\n", ui.messagesShown);
    return ui.messagesShown > 0 ? 1 : 0;
}
