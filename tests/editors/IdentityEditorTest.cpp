// The installation name and the panel's link parameters: the list, the
// name on a file set and on the panel, address, plant code and rate on the
// panel, and what the tool does so that it keeps talking to the panel.
#include "EditorFixture.h"
#include "editors/IdentityEditor.h"
#include "link/PanelCommands.h"
#include "sim/loopback/LoopbackTransport.h"

namespace cfg::test {
namespace {

class IdentityTest : public EditorTest {
protected:
    void Run() {
        const PrintMode print = PrintMode::Interactive;
        IdentitySection(s, print);
    }
    // The value part of the line labelled `label` (from column 36).
    std::string ValueOf(const std::string& label) { return FieldOf(label, 36); }
    void SetName(const std::string& name) {
        for (int i = 0; i < 19; ++i)
            s.config.ConfigImage[192 + i] = static_cast<Cell>(i < static_cast<int>(name.size()) ? name[static_cast<std::size_t>(i)] : ' ');
    }
};

TEST_F(IdentityTest, TheListLinesUpTheValuesAfterDottedLabels) {
    SetName("HOTEL BELVEDERE");
    s.config.ConfigImage[496] = 7;
    s.config.ConfigImage[497] = 11;
    s.config.ConfigImage[498] = 2;
    BuildIdentityScreen(s);
    auto lines = ScreenLines(s.screen);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "1068");
    EXPECT_EQ(lines[1], "  HOTEL BELVEDERE");
    EXPECT_EQ(lines[3], "1069");
    EXPECT_EQ(lines[4], "1070");
    EXPECT_EQ(lines[5], "  1071 ........................... 007");
    EXPECT_EQ(lines[6], "  1072 ........................... 11");
    EXPECT_EQ(lines[7], "  1074 ........................... 1077");
    EXPECT_EQ(s.config.InstallationName, "HOTEL BELVEDERE    ");
    EXPECT_EQ(DescriptorOf(s.screen, 2).field, 1);
    EXPECT_EQ(DescriptorOf(s.screen, 6).field, 2);
    EXPECT_EQ(DescriptorOf(s.screen, 7).value2, 2);
    EXPECT_EQ(DescriptorOf(s.screen, 8).field, 3);
    for (int code : {0, 5}) {
        s.config.ConfigImage[498] = static_cast<Cell>(code);
        BuildIdentityScreen(s);
        EXPECT_EQ(ValueOf("1074"), "1080") << code;
    }
    s.settings.FileLinkMode = true;  // over the relay files the rate is fixed
    BuildIdentityScreen(s);
    EXPECT_GT(LineOf("1075"), 0);
    BuildIdentityScreen(s, PrintMode::LinesOnly);  // but a printout reads the same over any link
    EXPECT_GT(LineOf("1074"), 0);
}

TEST_F(IdentityTest, TheNameIsCutOrBlankFilledTo19OnAFileSet) {
    OpenFileSet();
    QueueEdit(2);
    t.ui.AnswerText("ALBERGO DEL LAGO DI COMO");  // 24 characters
    QueueCancel();
    Run();
    auto file = ReadMainFile();
    EXPECT_EQ(std::string(file.begin() + 192, file.begin() + 211), "ALBERGO DEL LAGO DI");
    for (int offset : ChangedOffsets()) EXPECT_TRUE(offset >= 192 && offset < 219) << offset;
    EXPECT_EQ(t.ui.editTitle, "0541");
    const ValueRequest& r = t.ui.valueRequests.at(0);
    EXPECT_EQ(r.kind, 2);
    EXPECT_EQ(r.maxLength, 19);
    EXPECT_EQ(r.title, "0544");
    EXPECT_EQ(r.prompt, "0542\n0543\n\n0545");
    // The main window's identification follows, read back from the file.
    EXPECT_NE(t.ui.identification.find("ALBERGO DEL LAGO DI"), std::string::npos) << t.ui.identification;
    EXPECT_EQ(t.ui.listLines.at(1), "  ALBERGO DEL LAGO DI");

    QueueEdit(2);
    t.ui.AnswerText("");
    QueueCancel();
    Run();
    file = ReadMainFile();
    EXPECT_EQ(std::string(file.begin() + 192, file.begin() + 211), std::string(19, ' '));
}

TEST_F(IdentityTest, LinkParametersAreNotEditableOnAFileSet) {
    OpenFileSet();
    QueueEdit(6);
    QueueEdit(7);
    QueueEdit(8);
    QueueCancel();
    Run();
    EXPECT_TRUE(t.ui.valueRequests.empty());
    EXPECT_TRUE(ChangedOffsets().empty());
}

TEST_F(IdentityTest, PrintRequestOnlyBuildsAndNothingOpenEndsWith240) {
    const PrintMode print = PrintMode::LinesOnly;
    IdentitySection(s, print);
    EXPECT_EQ(s.link.LinkStatus, 240);
    OpenFileSet({{498, 4}});
    IdentitySection(s, print);
    EXPECT_EQ(t.ui.editTitle, "");
    EXPECT_EQ(ValueOf("1074"), "1079");
}

class IdentityPanelTest : public IdentityTest {
protected:
    LoopbackTransport port{t.clock};
    vimo::sim::Memory& mem = port.Panel().Mem();

    IdentityPanelTest() {
        s.transport = &port;
        port.Open({});
        s.link.PanelAddress = static_cast<int16_t>(port.Panel().Address());
        s.settings.PlantCode = std::to_string(port.Panel().PlantCode());
        s.config.ConfigSource = ConfigSource::Panel;
        port.Panel().SetProgrammingMode(true, 0);
    }
    // A read after the change: it works only when the tool's address and
    // plant code match the panel's.
    bool PanelStillAnswers() {
        return ReadPanelBlock(s, 4096, 4, 1, s.config.TransferBuffer).Done();
    }
};

TEST_F(IdentityPanelTest, TheNameIsWrittenAt4288) {
    QueueEdit(2);
    t.ui.AnswerText("SCUOLA MEDIA");
    QueueCancel();
    Run();
    std::string name;
    for (int a = 4288; a < 4307; ++a) name += static_cast<char>(mem.Get(static_cast<std::size_t>(a)));
    EXPECT_EQ(name, "SCUOLA MEDIA       ");
    EXPECT_NE(t.ui.identification.find("SCUOLA MEDIA"), std::string::npos);
}

TEST_F(IdentityPanelTest, AnAddressChangeWarnsOnRewritingPanelsAndIsFollowed) {
    for (int byteZero : {85, 86}) {
        mem.Set(4096, static_cast<uint8_t>(byteZero));
        t.ui.messages.clear();
        t.ui.valueRequests.clear();
        const int next = s.link.PanelAddress == 5 ? 6 : 5;
        QueueEdit(6);
        t.ui.AnswerNumber(next);
        QueueCancel();
        Run();
        EXPECT_EQ(mem.Get(4592), next);
        EXPECT_EQ(s.config.ConfigImage[496], next);
        EXPECT_EQ(s.link.PanelAddress, next);
        EXPECT_EQ(t.ui.Showed("0559\r0560"), byteZero >= 86) << byteZero << t.ui.AllMessages();
        EXPECT_TRUE(PanelStillAnswers()) << byteZero;
    }
    const ValueRequest& r = t.ui.valueRequests.at(0);
    EXPECT_EQ(r.minimum, 1);  // 0 is "whoever answers", not an address
    EXPECT_EQ(r.maximum, 223);
    EXPECT_EQ(r.title, "0547");
    EXPECT_EQ(r.prompt, "0548\n0549\n0550\n0551\n0552");
}

TEST_F(IdentityPanelTest, ThePlantCodeIsUsedByTheVeryNextFrame) {
    mem.Set(4096, 90);
    QueueEdit(7);
    t.ui.AnswerNumber(42);
    QueueCancel();
    Run();
    EXPECT_EQ(mem.Get(4593), 42);
    EXPECT_EQ(s.settings.PlantCode, "42");
    EXPECT_TRUE(t.ui.Showed("0559\r0560"));
    const int bad = port.Panel().Stats().badFrames;
    EXPECT_TRUE(PanelStillAnswers());
    EXPECT_EQ(port.Panel().Stats().badFrames, bad);
    EXPECT_EQ(t.ui.valueRequests.at(0).minimum, 0);
}

TEST_F(IdentityPanelTest, ANewRateWritesCodeAndDivisorAndReopensThePort) {
    s.texts.LanguageTexts[564] = "4800 baud";  // the rate is read back from the entry's text
    const int opens = port.OpenCount();
    QueueEdit(8);
    t.ui.AnswerIndex(1);  // 4800 baud
    QueueCancel();
    Run();
    EXPECT_EQ(mem.Get(4594), 2);
    EXPECT_EQ(mem.Get(193), 24);
    EXPECT_EQ(s.settings.BaudRate, "4800");
    EXPECT_GT(port.OpenCount(), opens);
    EXPECT_EQ(t.ui.listLines.at(7).substr(35), "1077");
    const ValueRequest& r = t.ui.valueRequests.at(0);
    EXPECT_EQ(r.kind, 3);
    EXPECT_EQ(r.items, (std::vector<std::string>{"0563", "4800 baud", "0565", "0566"}));
    EXPECT_TRUE(PanelStillAnswers());
}

TEST_F(IdentityPanelTest, TheRateIsRefusedOverTheRelayOrWithAPanelViewOpen) {
    t.ui.screenOpen = true;
    QueueEdit(8);
    QueueCancel();
    Run();
    EXPECT_TRUE(t.ui.Showed("1277\r1278"));
    t.ui.screenOpen = false;
    t.ui.messages.clear();
    s.settings.FileLinkMode = true;
    EXPECT_FALSE(EditIdentityLine(s, 8));
    EXPECT_TRUE(t.ui.Showed("1412\r1413"));
    EXPECT_TRUE(t.ui.valueRequests.empty());
    EXPECT_EQ(port.Panel().Stats().writes, 0);
}

}  // namespace
}  // namespace cfg::test
