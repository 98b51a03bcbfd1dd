// Every section prints the same lines from a file set held in memory as it
// does in print mode with that set open from the disk: the comparison and
// the fuzz target rely on it.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "TestSession.h"
#include "app/core/Wiring.h"
#include "config/Files.h"
#include "link/Screen.h"
#include "report/Printout.h"
#include "shell/Language.h"
#include "sim/FileSet.h"
#include "transfer/Commands.h"

namespace cfg::test {
namespace {

using vimo::sim::FileSet;

class PrintFromBytesTest : public ::testing::Test {
protected:
    TestSession t;
    Session& s = t.s;

    PrintFromBytesTest() {
        RegisterCoreCommands(s);
        LoadLanguageFile(s, std::string(CFG_BIN_DIR) + "/English.lng");
    }

    // Writes the set (an empty file is left out), opens it and prints every
    // section both ways, in the printout's order on one session as the
    // printout does. Returns the number of sections that printed lines.
    int ExpectSameLines(const std::string& name, const FileSet& f) {
        const std::string base = t.folder.File(name);
        const std::vector<uint8_t>* parts[] = {&f.cy2, &f.py2, &f.uy2, &f.my2};
        for (int kind = 1; kind <= 4; ++kind)
            if (!parts[kind - 1]->empty()) WriteAll(base + PartExtension(kind), *parts[kind - 1]);
        s.config.ConfigSource = ConfigSource::File;
        s.config.ConfigFileName = base;
        EXPECT_TRUE(RefreshConfigView(s).Done());
        const FileSetImage set = ReadFileSetImage(base);
        int printed = 0;
        for (const SectionDef& def : s.sections.Rows()) {
            if (!def.printable) continue;
            EXPECT_TRUE(def.print) << "section " << def.code;
            if (!def.print) continue;
            for (int option = 1; option <= (def.code == kLoopSensorsCode ? 2 : 1); ++option) {
                SCOPED_TRACE(name + ": section " + std::to_string(def.code) + "/" + std::to_string(option));
                ClearScreenLines(s);
                const bool fromDisk = RunSection(s, def.run, PrintMode::LinesOnly, option).Done();
                std::vector<std::string> inMemory;
                const bool fromBytes = def.print(set, s.texts, option, inMemory);
                EXPECT_EQ(fromBytes, fromDisk);
                if (!fromDisk || !fromBytes) continue;
                EXPECT_EQ(inMemory, ScreenLines(s.screen));
                printed += inMemory.empty() ? 0 : 1;
            }
        }
        return printed;
    }
};

TEST_F(PrintFromBytesTest, TheSampleAndFactorySetsPrintAlike) {
    FileSet sample = vimo::sim::SampleFileSet();
    sample.cy2[430] = 'A';
    sample.cy2[431] = 'B';  // both loop modules list their sensors
    EXPECT_EQ(ExpectSameLines("SAMPLE", sample), 11);
    EXPECT_GE(ExpectSameLines("FACTORY", vimo::sim::FactoryFileSet()), 8);
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
}

// Bytes of any value, files cut short or of the wrong length, damaged
// checksums and missing files: each side reads them the same way.
TEST_F(PrintFromBytesTest, DamagedAndMissingFilesPrintAlike) {
    std::mt19937 random(7);
    auto scramble = [&random](std::vector<uint8_t>& bytes) {
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    };
    for (int round = 0; round < 4; ++round) {
        FileSet f = vimo::sim::SampleFileSet();
        scramble(f.cy2);
        scramble(f.py2);
        scramble(f.uy2);
        scramble(f.my2);
        ExpectSameLines("RANDOM" + std::to_string(round), f);
    }
    FileSet shortFiles = vimo::sim::SampleFileSet();
    shortFiles.cy2.resize(600);
    shortFiles.py2.resize(100);
    shortFiles.my2.resize(50);
    shortFiles.uy2.resize(1000);  // the logics refuse a file of another length
    ExpectSameLines("SHORT", shortFiles);

    FileSet missing = vimo::sim::SampleFileSet();
    missing.py2.clear();
    missing.uy2.clear();
    missing.my2.clear();
    EXPECT_GE(ExpectSameLines("MAIN", missing), 7);
}

}  // namespace
}  // namespace cfg::test
