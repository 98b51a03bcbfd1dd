// The comparison of two configurations: section by section in the words of
// each section's printout, the files themselves, the bytes no section shows,
// and the comparison with the connected (in-process) panel.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "TestSession.h"
#include "app/core/Wiring.h"
#include "config/Files.h"
#include "report/Compare.h"
#include "shell/FileNames.h"
#include "shell/Language.h"
#include "sim/FileSet.h"
#include "sim/loopback/LoopbackTransport.h"
#include "transfer/Backups.h"

namespace cfg::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class CompareTest : public ::testing::Test {
protected:
    TestSession t;
    Session& s = t.s;
    vimo::sim::FileSet sample = vimo::sim::SampleFileSet();

    CompareTest() {
        RegisterCoreCommands(s);
        LoadLanguageFile(s, std::string(CFG_BIN_DIR) + "/English.lng");
    }
    std::string Write(const std::string& name, const vimo::sim::FileSet& f) {
        const std::string base = t.folder.File(name);
        WriteAll(base + ".CY2", f.cy2);
        WriteAll(base + ".PY2", f.py2);
        WriteAll(base + ".UY2", f.uy2);
        WriteAll(base + ".MY2", f.my2);
        return base;
    }
    // Group title -> its lines.
    static std::map<std::string, std::vector<std::string>> Groups(const CompareResult& r) {
        std::map<std::string, std::vector<std::string>> out;
        for (const auto& g : r.groups) out[g.title] = g.lines;
        return out;
    }
};

void SealPrograms(Bytes& py2) {
    uint16_t sum = ProgramChecksum(py2.data(), 336);
    py2[336] = static_cast<uint8_t>(sum >> 8);
    py2[337] = static_cast<uint8_t>(sum & 0xFF);
}

void SealLogics(Bytes& uy2) {
    const std::size_t n = uy2.size() - 2;
    uint16_t sum = LogicChecksum(uy2.data(), n);
    uy2[n] = static_cast<uint8_t>(sum >> 8);
    uy2[n + 1] = static_cast<uint8_t>(sum & 0xFF);
}

TEST_F(CompareTest, AConfigurationEqualsItselfAndLeavesTheSessionAsItWas) {
    const std::string a = Write("A", sample);
    const std::string b = Write("B", sample);
    s.config.ConfigSource = ConfigSource::File;
    s.config.ConfigFileName = "/open/SET";
    s.config.InstallationName = "OPEN ONE";
    CompareResult r = CompareFileSets(s, a, b);
    EXPECT_TRUE(r.done);
    EXPECT_TRUE(r.groups.empty()) << r.groups.front().title << ": " << r.groups.front().lines.front();
    EXPECT_EQ(r.Count(), 0);
    EXPECT_EQ(s.config.ConfigFileName, "/open/SET");
    EXPECT_EQ(s.config.InstallationName, "OPEN ONE");
    EXPECT_TRUE(t.ui.messages.empty());
    // The sets themselves are only read.
    EXPECT_EQ(ReadAll(a + ".CY2"), sample.cy2);
    EXPECT_EQ(ReadAll(a + ".PY2"), sample.py2);
}

// One byte changed in what each section shows: the comparison names exactly
// those changes, each in the words of its section, and nothing else.
TEST_F(CompareTest, OneByteInEverySectionNamesExactlyThoseChanges) {
    vimo::sim::FileSet f = sample;
    f.cy2[25] ^= 1;    // times
    f.cy2[44] ^= 1;    // options
    f.cy2[301] ^= 1;   // zones
    f.cy2[150] ^= 1;   // advanced options
    f.cy2[496] ^= 1;   // communication parameters
    f.cy2[432] ^= 1;   // concentrator modules
    f.cy2[211] ^= 1;   // last change date (the identification)
    f.py2[1] ^= 1;     // a program's time
    SealPrograms(f.py2);
    f.uy2[10] ^= 1;    // a function block's output
    SealLogics(f.uy2);
    f.my2[16 * 16] = 'K';  // point 17's text
    CompareResult r = CompareFileSets(s, Write("A", sample), Write("B", f));
    ASSERT_TRUE(r.done);
    const std::map<std::string, std::vector<std::string>> want = {
        {"Identification", {"Last change: 12-03-24 \u2192 02-03-24"}},
        {"Points, zones and loop faults", {"ZONES (zone type) \u203A 1: Type: Normal \u2192 Not used"}},
        {"Times", {"Pre-alarm verification time: 10s \u2192 11s"}},
        {"Options", {"Sounder tone: continuous [#044-> 00] \u2192 intermittent [#044-> 01]"}},
        {"Advanced options", {"OPERATING OPTIONS \u203A Reply time to remote commands: off \u2192 1s"}},
        {"Clock programmer", {"Monday 1: 08:00 \u2192 08:01"}},
        {"Programmable logic and outputs", {"Function block BF02 \u203A Linked output: 12 \u2192 4"}},
        {"Display messages",
         {"POINT DESCRIPTIONS \u203A Point no. 17: \"Locale UPS    17\" \u2192 \"Kocale UPS    17\""}},
        {"Identification and communication parameters",
         {"PANEL COMMUNICATION PARAMETERS \u203A Panel address: 001 \u2192 000"}},
        {"Configured concentrator modules",
         {"3: Input concentrator addr.: 3 not monitored !! pts. 17- 24 \u2192 2 not monitored !! pts. 9- 16"}},
    };
    EXPECT_EQ(Groups(r), want);
    EXPECT_EQ(r.Count(), 10);
    // In the printout's order: the identification first, the texts last.
    EXPECT_EQ(r.groups.front().title, "Identification");
    EXPECT_EQ(r.groups.back().title, "Display messages");
}

TEST_F(CompareTest, BytesNoSectionShowsAreListedByFile) {
    vimo::sim::FileSet f = sample;
    for (int i = 80; i <= 82; ++i) f.cy2[static_cast<std::size_t>(i)] = 9;   // unnamed bytes of the main file
    for (int i = 400; i < 420; ++i) f.cy2[static_cast<std::size_t>(i)] ^= 0x40;  // a longer run
    f.py2[340] = 7;                                            // the spare of the program table
    f.my2[16 * 16] = 'K';                                      // and one shown byte among them
    CompareResult r = CompareFileSets(s, Write("A", sample), Write("B", f));
    ASSERT_TRUE(r.done);
    auto groups = Groups(r);
    EXPECT_EQ(groups["Bytes that no section shows"],
              (std::vector<std::string>{"Main configuration (.CY2), byte 80-82: 0 0 0 \u2192 9 9 9",
                                        "Main configuration (.CY2), byte 400-419: 20 bytes",
                                        "Clock programmer (.PY2), byte 340: 255 \u2192 7"}));
    EXPECT_EQ(groups["Display messages"].size(), 1u);
    EXPECT_EQ(r.groups.size(), 2u);
}

TEST_F(CompareTest, MissingPartsAndOtherLengthsAreToldAmongTheFiles) {
    vimo::sim::FileSet f = sample;
    f.uy2.push_back(0);
    f.uy2.push_back(0);
    const std::string b = Write("B", f);
    fs::remove(b + ".PY2");
    CompareResult r = CompareFileSets(s, Write("A", sample), b);
    ASSERT_TRUE(r.done);
    auto groups = Groups(r);
    EXPECT_EQ(groups["Files of the configuration"],
              (std::vector<std::string>{"Clock programmer (.PY2): only in A",
                                        "Logic and outputs (.UY2): 1962 bytes \u2192 1964 bytes"}));
    // A logic file of another length is refused by its section.
    EXPECT_EQ(groups["Programmable logic and outputs"], (std::vector<std::string>{"could not be read in B"}));
    EXPECT_EQ(groups.count("Clock programmer"), 0u);
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();

    // Without a main file there is nothing to compare: the set is named.
    fs::remove(b + ".CY2");
    r = CompareFileSets(s, t.folder.File("A"), b);
    EXPECT_FALSE(r.done);
    EXPECT_NE(t.ui.AllMessages().find("B.CY2"), std::string::npos);
}

TEST(DescribeChange, KeepsTheLabelAndShowsOldAndNew) {
    EXPECT_EQ(DescribeChange(" 12 :  Type.............. Normal", " 12 :  Type.......... Not used"),
              "12: Type: Normal \u2192 Not used");
    EXPECT_EQ(DescribeChange("Point no. 17 -->    \"HALL            \"", "Point no. 17 -->    \"KITCHEN         \""),
              "Point no. 17: \"HALL            \" \u2192 \"KITCHEN         \"");
    EXPECT_EQ(DescribeChange("a b c", "a b c d"), "a b c: \u2014 \u2192 d");
    EXPECT_EQ(DescribeChange("1 2", "3 4"), "1 2 \u2192 3 4");
}

TEST(DiffSectionLines, PairsChangedLinesAndMarksLinesOnOneSide) {
    const std::vector<std::string> a = {"BLOCKS", "Block 1   Type: AND", "   AND conditions:", "      Zone 1 ACTIVE",
                                        "Block 2   Type: OR", "   Output: 4", "TEXTS", "Point 1 --> \"A\""};
    const std::vector<std::string> b = {"BLOCKS", "Block 1   Type: AND", "   AND conditions:", "      Zone 1 ACTIVE",
                                        "      Zone 2 ACTIVE", "Block 2   Type: OR", "   Output: 5",
                                        "TEXTS", "Point 1 --> \"B\""};
    EXPECT_EQ(DiffSectionLines(a, b),
              (std::vector<std::string>{"+ BLOCKS \u203A Block 1 \u203A AND conditions \u203A Zone 2 ACTIVE",
                                        "BLOCKS \u203A Block 2 \u203A Output: 4 \u2192 5",
                                        "TEXTS \u203A Point 1: \"A\" \u2192 \"B\""}));
    EXPECT_EQ(DiffSectionLines(b, a).front(), "\u2212 BLOCKS \u203A Block 1 \u203A AND conditions \u203A Zone 2 ACTIVE");
    EXPECT_TRUE(DiffSectionLines(a, a).empty());
}

// The open file set against the connected panel: the panel's configuration
// is read into a backup set, and the window shows what differs.
TEST_F(CompareTest, WithTheConnectedPanel) {
    LoopbackTransport line(t.clock);
    line.Panel().LoadSample();
    s.transport = &line;
    s.settings.PlantCode = "11";
    vimo::sim::FileSet f = sample;
    f.my2[16 * 16] = 'K';
    s.config.ConfigSource = ConfigSource::File;
    s.config.ConfigFileName = Write("OPEN", f);
    t.ui.choiceAnswers = {1};  // the connected panel
    t.ui.AnswerNumber(1);      // its address
    EXPECT_TRUE(CompareCommand(s).Done());
    ASSERT_EQ(t.ui.comparisons.size(), 1u) << t.ui.AllMessages();
    const ComparisonView& v = t.ui.comparisons[0];
    EXPECT_EQ(v.first, "A: OPEN");
    EXPECT_EQ(v.second.rfind("B: connected panel (DEMO-UFFICI-ROMA_VS24000137_", 0), 0u) << v.second;
    ASSERT_EQ(v.groups.size(), 1u);
    EXPECT_EQ(v.groups[0].title, "Display messages");
    EXPECT_EQ(v.summary, "Differences: 1");
    EXPECT_EQ(ListBackups(BackupFolder(s)).size(), 1u);
    EXPECT_EQ(s.config.ConfigSource, ConfigSource::File);
    EXPECT_EQ(s.config.ConfigFileName, t.folder.File("OPEN"));
    EXPECT_FALSE(line.Panel().InProgrammingMode());
    s.transport = nullptr;
}

}  // namespace
}  // namespace cfg::test
