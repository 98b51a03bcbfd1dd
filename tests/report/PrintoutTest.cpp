// The printout: which sections each part collects and in what order, the
// header of each source, the text-file and printer flows.
#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "TestSession.h"
#include "app/core/Wiring.h"
#include "config/Layout.h"
#include "link/Screen.h"
#include "report/Printout.h"
#include "shell/Language.h"
#include "sim/FileSet.h"
#include "sim/loopback/LoopbackTransport.h"

namespace cfg::test {
namespace {

namespace fs = std::filesystem;

const std::string kRule(70, '-');



class PrintoutTest : public ::testing::Test {
protected:
    TestSession t;
    Session& s = t.s;

    PrintoutTest() {
        RegisterCoreCommands(s);
        LoadLanguageFile(s, t.folder.File("Test.lng"));
    }

    // A main file of zeros whose module directory declares module 1 only,
    // opened as the configuration.
    void OpenPlainSet() {
        std::vector<uint8_t> cy2(kMainFileSize, 0);
        cy2[430] = 'A';
        WriteAll(t.folder.File("PLANT.CY2"), cy2);
        s.config.ConfigSource = ConfigSource::File;
        s.config.ConfigFileName = t.folder.File("PLANT");
    }

    // Every section replaced by one that prints "S<code>/<option>"; section
    // 5 fails to read its block, section 10 has no print mode.
    void FakeSections() {
        for (int16_t code = 1; code <= 10; ++code) {
            SectionDef def = *s.sections.Find(code);
            def.printable = code != 10;
            def.run = [code](Session& ss, PrintMode print, int option) {
                EXPECT_EQ(print, PrintMode::LinesOnly);
                ss.link.LinkStatus = code == 5 ? status::kNoSource : status::kDone;
                int line = NewScreenLine(ss);
                WriteScreenText(ss, line, 1, "S" + std::to_string(code) + "/" + std::to_string(option));
            };
            s.sections.Add(def);
        }
    }

    std::string PrintFile(const std::string& name) const { return t.folder.File(name); }
};

// Only the lines that say which group or section printed.
std::vector<std::string> Markers(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const auto& l : lines)
        if ((l.size() > 1 && l[0] == 'S' && l.find('/') != std::string::npos) || l.rfind("0085", 0) == 0 ||
            l.rfind("0086", 0) == 0 || l.rfind("0087", 0) == 0 || l.rfind("0088", 0) == 0)
            out.push_back(l);
    return out;
}

TEST_F(PrintoutTest, EachPartCollectsItsGroupsInOrder) {
    OpenPlainSet();
    FakeSections();
    using V = std::vector<std::string>;
    const V general = {"0085", "0087 1", "S1/1", "0085", "0086", "S2/1", "S3/1", "S4/1", "S9/1"};
    const V clock = {"S6/1"};
    const V logics = {"0088", "S7/1"};
    const V messages = {"S8/1"};
    V all = general;
    for (const V* g : {&clock, &logics, &messages}) all.insert(all.end(), g->begin(), g->end());

    EXPECT_EQ(Markers(BuildReport(s, kReportEverything)), all);
    EXPECT_EQ(Markers(BuildReport(s, kReportGeneral)), general);
    EXPECT_EQ(Markers(BuildReport(s, kReportClock)), clock);
    EXPECT_EQ(Markers(BuildReport(s, kReportLogics)), logics);
    EXPECT_EQ(Markers(BuildReport(s, kReportMessages)), messages);
    // The report leaves no lines behind on the editing screen.
    EXPECT_EQ(s.screen.LineCount, 0);
}

TEST_F(PrintoutTest, FileHeaderNamesTheSet) {
    OpenPlainSet();
    std::vector<std::string> header = ReportHeader(s);
    ASSERT_GE(header.size(), 6u);
    EXPECT_EQ(header.front(), kRule);
    EXPECT_EQ(header[1].rfind("0079 ", 0), 0u) << header[1];
    EXPECT_EQ(header[2], "0077");
    EXPECT_EQ(header[3], "0078 PLANT");
    auto rule = std::find(header.begin() + 1, header.end(), kRule);
    ASSERT_NE(rule, header.end());
    EXPECT_EQ(*(rule + 1), kRule);
    EXPECT_EQ(*(rule + 2), "0083");
}

TEST_F(PrintoutTest, PanelAndFileSetFromTheSameConfigurationDifferOnlyInTheHeader) {
    LoopbackTransport port{t.clock};
    port.Panel().LoadSample();
    vimo::sim::FileSet set = port.Panel().ExportFileSet();
    std::string error;
    ASSERT_TRUE(vimo::sim::WriteFileSet(PrintFile("SITE"), set, error)) << error;

    s.config.ConfigSource = ConfigSource::File;
    s.config.ConfigFileName = PrintFile("SITE");
    std::vector<std::string> fromFile = BuildReport(s, kReportEverything);

    s.transport = &port;
    s.link.PanelAddress = static_cast<int16_t>(port.Panel().Address());
    s.settings.PlantCode = std::to_string(port.Panel().PlantCode());
    s.link.PanelName = "VIMO-SYS";
    port.Panel().SetProgrammingMode(true, 0);
    s.config.ConfigSource = ConfigSource::Panel;
    std::vector<std::string> fromPanel = BuildReport(s, kReportEverything);
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();

    // The body after the header, and apart from it the loop modules group:
    // the panel's sensor lines carry the live reading, the type the panel
    // found at each point and the devices left at address 0, which a file
    // set cannot have.
    auto split = [](const std::vector<std::string>& lines, std::vector<std::string>& loops) {
        auto begin = std::find(lines.begin(), lines.end(), "0083");
        std::vector<std::string> out(begin == lines.end() ? begin : begin + 1, lines.end());
        auto first = std::find(out.begin(), out.end(), "0085");
        auto last = std::find(std::make_reverse_iterator(out.end()), std::make_reverse_iterator(first), "0085").base();
        auto end = std::find(last, out.end(), kRule);
        if (first == out.end() || end == out.end()) return out;
        loops.assign(first, end);
        out.erase(first, end);
        return out;
    };
    std::vector<std::string> panelLoops, fileLoops;
    EXPECT_GT(split(fromFile, fileLoops).size(), 100u);
    EXPECT_EQ(split(fromPanel, panelLoops), split(fromFile, fileLoops));
    auto readings = [](const std::vector<std::string>& loops) {
        int n = 0;
        for (const std::string& l : loops) {
            const auto bracket = l.find('[');
            if (l.size() > 30 && l.compare(3, 2, ": ") == 0 && bracket != std::string::npos && bracket > 26 &&
                l.find_first_not_of(' ', 26) < bracket)
                ++n;
        }
        return n;
    };
    EXPECT_GT(fileLoops.size(), 20u);
    EXPECT_EQ(readings(fileLoops), 0);
    EXPECT_GT(readings(panelLoops), 20);  // the panel's sensors with their readings
    EXPECT_NE(std::find(fromPanel.begin(), fromPanel.end(), "0074 VIMO-SYS"), fromPanel.end());
    EXPECT_EQ(std::find(fromPanel.begin(), fromPanel.end(), "0077"), fromPanel.end());
}

TEST_F(PrintoutTest, TextFileAsksForANameAndBeforeReplacing) {
    OpenPlainSet();
    FakeSections();
    const std::string target = PrintFile("OUT.TXT");
    std::ofstream(target) << "old";
    t.ui.copyAnswers = {{true, "", "  "},                        // no name: told, asked again
                        {true, "", PrintFile("out.lst")},        // exists: "No" asks again
                        {true, "", PrintFile("out.lst")}};       // exists: "Yes" replaces
    t.ui.messageAnswers = {MsgAnswer::Ok, MsgAnswer::No, MsgAnswer::Yes};
    t.ui.choiceAnswers = {kReportLogics - 1};
    const PrintMode print = PrintMode::Interactive;
    PrintConfiguration(s, print, 2);

    ASSERT_EQ(t.ui.copyRequests.size(), 3u);
    EXPECT_FALSE(t.ui.copyRequests[0].showSource);
    EXPECT_EQ(t.ui.copyRequests[0].pattern, "*.TXT");
    EXPECT_EQ(t.ui.copyRequests[0].caption, "0090");
    ASSERT_EQ(t.ui.messages.size(), 3u);
    EXPECT_NE(t.ui.messages[0].text.find("0093"), std::string::npos);
    EXPECT_EQ(t.ui.messages[1].text, " 0095 " + target + "\r\n0096");
    EXPECT_EQ(t.ui.messages[1].icon, MsgIcon::Exclamation);
    ASSERT_EQ(t.ui.choiceRequests.size(), 1u);
    EXPECT_EQ(t.ui.choiceRequests[0].title, "0068");
    EXPECT_EQ(t.ui.choiceRequests[0].items, (std::vector<std::string>{"0069", "0070", "0071", "0072", "0073"}));

    // The file holds the report of the chosen part, nothing of the old text.
    std::string text = ReadText(target);
    EXPECT_EQ(text.substr(0, kRule.size()), kRule);
    EXPECT_NE(text.find("\n0088\n"), std::string::npos);
    EXPECT_NE(text.find("S7/1"), std::string::npos);
    EXPECT_EQ(text.find("S2/1"), std::string::npos);
    EXPECT_EQ(text.find("old"), std::string::npos);
    EXPECT_NE(std::find(t.ui.statusHistory.begin(), t.ui.statusHistory.end(), "0084"), t.ui.statusHistory.end());
    EXPECT_FALSE(t.ui.editScreenShown);
}

TEST_F(PrintoutTest, AFileThatCannotBeWrittenIsExplainedAndNothingIsAsked) {
    OpenPlainSet();
    t.ui.copyAnswers = {{true, "", PrintFile("no/such/folder/out")}};
    const PrintMode print = PrintMode::Interactive;
    PrintConfiguration(s, print, 2);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].title, "1254");
    EXPECT_TRUE(t.ui.choiceRequests.empty());
    EXPECT_FALSE(fs::exists(PrintFile("no")));

    // Cancelling the part menu writes nothing either: the check that the
    // file can be written leaves no empty file behind.
    t.ui.copyAnswers = {{true, "", PrintFile("late")}};
    PrintConfiguration(s, print, 2);
    EXPECT_EQ(t.ui.choiceRequests.size(), 1u);
    EXPECT_FALSE(fs::exists(PrintFile("LATE.TXT")));
}

TEST_F(PrintoutTest, ThePrinterGetsTheLinesOfTheTextFile) {
    OpenPlainSet();
    FakeSections();
    t.ui.choiceAnswers = {kReportEverything - 1};
    const PrintMode print = PrintMode::Interactive;
    PrintConfiguration(s, print, 1);
    ASSERT_EQ(t.ui.printJobs.size(), 1u);
    EXPECT_TRUE(t.ui.copyRequests.empty());
    const ReportPrintJob& job = t.ui.printJobs[0];
    EXPECT_EQ(job.title, "PLANT");
    EXPECT_EQ(job.pageLabel, "0100");
    EXPECT_EQ(job.lines, BuildReport(s, kReportEverything));

    // No printer: told what to check.
    t.ui.printResult = PrintResult::Failed;
    t.ui.choiceAnswers = {kReportClock - 1};
    PrintConfiguration(s, print, 1);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_NE(t.ui.messages[0].text.find("0098"), std::string::npos);
    EXPECT_NE(t.ui.messages[0].text.find("0099"), std::string::npos);
}

TEST(ReportFileNameTest, TheExtensionBecomesTxtAndTheNameUpperCase) {
    EXPECT_EQ(ReportFileName("plant.lst"), "PLANT.TXT");
    EXPECT_EQ(ReportFileName(" /tmp/Work.d/site "), "/tmp/Work.d/SITE.TXT");
    EXPECT_EQ(ReportFileName("a.b.txt"), "A.B.TXT");
}

}  // namespace
}  // namespace cfg::test
