// The advanced options: how each field reads, what each edit writes, that
// the bytes no field names survive a write, and the access code the tool
// takes when code 2 is enabled.
#include <random>

#include "EditorFixture.h"
#include "editors/SuperiorOptionsEditor.h"
#include "sim/Wire.h"
#include "transfer/SectionBlocks.h"
#include "sim/loopback/LoopbackTransport.h"

namespace cfg::test {
namespace {

class SuperiorTest : public EditorTest {
protected:
    void Set(int cell, int value) { s.config.ConfigImage[cell] = static_cast<Cell>(value); }
    // The line text after the label (the label is the text id itself).
    std::string ValueOf(const std::string& label) {
        BuildSuperiorScreen(s);
        const std::string& line = s.screen.Lines[LineOf(label)];
        std::string value = line.substr(1 + label.size());
        while (!value.empty() && value.back() == ' ') value.pop_back();
        return value;
    }
    std::string Shown(int cell, int value, const std::string& label) {
        Set(cell, value);
        return ValueOf(label);
    }
    void Run() {
        const PrintMode print = PrintMode::Interactive;
        SuperiorOptionsSection(s, print);
    }
    void Answer(MsgAnswer a) { t.ui.messageAnswers.push_back(a); }
};

TEST_F(SuperiorTest, AccessCodesReadAsStarsOrAsInvalid) {
    EXPECT_EQ(Shown(101, 4, "0963"), "................****");
    EXPECT_EQ(Shown(101, 6, "0963"), "..............******");
    EXPECT_EQ(Shown(101, 0, "0963"), " 0964");
    EXPECT_EQ(Shown(101, 7, "0963"), " 0964");
    Set(111, 0);
    EXPECT_EQ(Shown(112, 3, "0965"), " 0966");  // not in use
    Set(111, 85);
    EXPECT_EQ(Shown(112, 3, "0965"), ".................***");
    EXPECT_EQ(Shown(112, 7, "0965"), " 0967");
    EXPECT_EQ(Shown(112, 0, "0965"), " 0967");
}

TEST_F(SuperiorTest, NumbersBlockSizeMasksAndTheDiallerNumber) {
    EXPECT_EQ(Shown(126, 5, "0969"), " 0970  5");
    EXPECT_EQ(Shown(126, 0, "0969"), " 0971");
    EXPECT_EQ(Shown(138, 100, "0993"), " 0995");
    Set(144, 0);
    BuildSuperiorScreen(s);
    int blockLine = LineOf("1441");
    EXPECT_EQ(s.screen.Lines[blockLine].substr(1, 14), "1441  200 + 8 ");
    for (int bad : {47, 201}) {
        Set(144, bad);
        BuildSuperiorScreen(s);
        EXPECT_NE(s.screen.Lines[blockLine].find("1441  0996"), std::string::npos) << bad;
    }
    Set(144, 64);
    BuildSuperiorScreen(s);
    EXPECT_NE(s.screen.Lines[blockLine].find("1441   64 + 8 "), std::string::npos);

    EXPECT_EQ(Shown(147, 0, "0998"), ".......................... ----");
    EXPECT_EQ(Shown(147, 5, "0998"), "..................... 0999, 1001");
    EXPECT_EQ(Shown(148, 0x09, "1002"), ".................. ?????, ?????");
    EXPECT_EQ(Shown(149, 2, "1003"), "........................ ??????,");
    EXPECT_EQ(Shown(150, 30, "1004"), " 30s");
    EXPECT_EQ(Shown(150, 255, "1004"), " 1006");
    EXPECT_EQ(Shown(151, 3, "1007"), " 1008  3");
    EXPECT_EQ(Shown(153, 0, "1010"), " 1011");
    EXPECT_EQ(Shown(153, 12, "1010"), "    12");
    EXPECT_EQ(Shown(154, 100, "1013"), " 1015");

    const int number[] = {0, 2, 44, 5, 5, 99, 7};
    for (int i = 0; i < 7; ++i) Set(159 + i, number[i]);
    EXPECT_EQ(ValueOf("1021"), "....................02,55");
    Set(161, 45);
    EXPECT_EQ(ValueOf("1021"), " 1022");
}

TEST_F(SuperiorTest, LayoutHeadingsAndGroups) {
    BuildSuperiorScreen(s);
    auto lines = ScreenLines(s.screen);
    EXPECT_EQ(lines[0], "0962");
    const int general = LineOf("0968");
    ASSERT_GT(general, 3);
    EXPECT_EQ(lines[static_cast<std::size_t>(general - 2)], "");
    EXPECT_EQ(lines[static_cast<std::size_t>(general - 3)], "");
    EXPECT_GT(LineOf("0997"), general);
    EXPECT_GT(LineOf("1020"), LineOf("0997"));
    EXPECT_GT(LineOf("1023"), LineOf("1047"));
    EXPECT_EQ(DescriptorOf(s.screen, LineOf("0963")).field, 1);  // access codes: group 0
    EXPECT_EQ(DescriptorOf(s.screen, LineOf("0965")).value2, 3);
    EXPECT_EQ(DescriptorOf(s.screen, LineOf("0981")).value2, 7);  // item = cell - 125
    EXPECT_EQ(DescriptorOf(s.screen, LineOf("1030")).value3, 259);
    EXPECT_EQ(DescriptorOf(s.screen, general).field, 0);
}

// Whatever the block holds, an edit changes its own byte and no other.
TEST_F(SuperiorTest, AnEditKeepsEveryOtherByteOfTheBlock) {
    std::mt19937 random(20261205);
    std::vector<std::pair<int, uint8_t>> cells;
    for (int cell = 101; cell <= 298; ++cell) cells.emplace_back(cell, static_cast<uint8_t>(random() & 0xFF));
    OpenFileSet(cells);
    ASSERT_TRUE(LoadSectionBlock(s, 101, 198));  // as the section reads it
    BuildSuperiorScreen(s);
    t.ui.AnswerNumber(42);
    ASSERT_TRUE(EditSuperiorLine(s, LineOf("0972")));  // cell 127
    EXPECT_EQ(ChangedOffsets(), (std::vector<int>{127}));
    EXPECT_EQ(ReadMainFile()[127], 42);
    EXPECT_EQ(t.ui.valueRequests.at(0).prompt, "0591\n0592");
    EXPECT_EQ(t.ui.valueRequests.at(0).minimum, 1);
    EXPECT_EQ(t.ui.valueRequests.at(0).maximum, 99);
}

TEST_F(SuperiorTest, MasksKeepTheirOtherBitsAndTheNumberEndsWith99) {
    OpenFileSet({{148, 0xF5}, {147, 0xF8}});
    ASSERT_TRUE(LoadSectionBlock(s, 101, 198));
    BuildSuperiorScreen(s);
    t.ui.AnswerNumber(3);
    ASSERT_TRUE(EditSuperiorLine(s, LineOf("1002")));
    EXPECT_EQ(ReadMainFile()[148], 0xF3);
    EXPECT_EQ(t.ui.valueRequests.back().initialText, "5");

    t.ui.AnswerIndex(0);  // printer: yes
    t.ui.AnswerIndex(1);  // dialler: no
    t.ui.AnswerIndex(0);  // network: yes
    ASSERT_TRUE(EditSuperiorLine(s, LineOf("0998")));
    EXPECT_EQ(ReadMainFile()[147], 0xFD);

    t.ui.AnswerText("02,555");
    ASSERT_TRUE(EditSuperiorLine(s, LineOf("1021")));
    auto file = ReadMainFile();
    EXPECT_EQ(std::vector<int>(file.begin() + 159, file.begin() + 167), (std::vector<int>{0, 2, 44, 5, 5, 5, 99, original[166]}));
    t.ui.AnswerText("02-555");  // refused: digits and commas only
    EXPECT_FALSE(EditSuperiorLine(s, LineOf("1021")));
    EXPECT_TRUE(t.ui.Showed("0645\r1561"));
}

TEST_F(SuperiorTest, PromptsFollowTheirFieldsAndTheDiallerTakesEveryDigit) {
    OpenFileSet();
    ASSERT_TRUE(LoadSectionBlock(s, 101, 198));
    BuildSuperiorScreen(s);
    const std::pair<const char*, const char*> prompts[] = {
        {"0969", "0589\n0590"}, {"0993", "0605\n0606"}, {"1441", "0607\n0608"}, {"1004", "0619\n0620"},
        {"1007", "0621\n0622"}, {"1010", "0623\n0624"}, {"1013", "0625\n0626"}, {"1018", "0627\n0628\n0629"},
    };
    for (const auto& [label, prompt] : prompts) {
        t.ui.Cancel();
        EXPECT_FALSE(EditSuperiorLine(s, LineOf(label)));
        ASSERT_FALSE(t.ui.valueRequests.empty());
        EXPECT_EQ(t.ui.valueRequests.back().prompt, prompt) << label;
    }

    t.ui.AnswerText("0123456789,98");
    ASSERT_TRUE(EditSuperiorLine(s, LineOf("1021")));
    EXPECT_EQ(t.ui.valueRequests.back().prompt, "0632\n1561");
    auto file = ReadMainFile();
    EXPECT_EQ(std::vector<int>(file.begin() + 159, file.begin() + 173),
              (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 44, 9, 8, 99}));
    EXPECT_EQ(ValueOf("1021"), "............0123456789,98");
}

TEST_F(SuperiorTest, BlockSizeRefusesOneTo47) {
    OpenFileSet({{144, 100}});
    ASSERT_TRUE(LoadSectionBlock(s, 101, 198));
    BuildSuperiorScreen(s);
    const int line = LineOf("1441");
    t.ui.AnswerNumber(30);
    EXPECT_FALSE(EditSuperiorLine(s, line));
    EXPECT_TRUE(ChangedOffsets().empty());
    t.ui.AnswerNumber(0);
    EXPECT_TRUE(EditSuperiorLine(s, line));
    EXPECT_EQ(ReadMainFile()[144], 0);
}

// The rules themselves, without a dialog: what a value does to the block.
TEST(SuperiorRules, BlockSizeMaskAndDiallerNumber) {
    const FieldOutcome refused{.refusal = 645, .detail = 608};
    for (long v : {1L, 30L, 47L}) EXPECT_EQ(ApplyBlockSize(144, v), refused) << v;
    for (long v : {0L, 48L, 200L})
        EXPECT_EQ(ApplyBlockSize(144, v), (FieldOutcome{.accepted = true, .changes = {{144, static_cast<int>(v)}}})) << v;

    EXPECT_EQ(ApplyMask(148, 0xF5, 0x0F, 3).changes, (std::vector<std::pair<int, int>>{{148, 0xF3}}));
    EXPECT_EQ(ApplyMask(149, 0xFF, 0x03, 0).changes, (std::vector<std::pair<int, int>>{{149, 0xFC}}));

    EXPECT_EQ(ApplyPhoneNumber(" 02,5 ").changes,
              (std::vector<std::pair<int, int>>{{159, 0}, {160, 2}, {161, 44}, {162, 5}, {163, 99}}));
    const FieldOutcome full = ApplyPhoneNumber("012345678901234");
    ASSERT_TRUE(full.accepted);
    EXPECT_EQ(full.changes.size(), 15u);  // no room and no need for the end mark
    EXPECT_EQ(full.changes.back(), (std::pair<int, int>{173, 4}));
    for (const char* bad : {"02-555", "0123456789012345", "+39"})
        EXPECT_EQ(ApplyPhoneNumber(bad), (FieldOutcome{.refusal = 645, .detail = 1561})) << bad;
    EXPECT_TRUE(ApplyPhoneNumber("").accepted);  // no number: the end mark first
}

TEST_F(SuperiorTest, AccessCodesAreStoredAsLengthAndDigits) {
    OpenFileSet({{111, 85}, {112, 3}, {113, 9}, {114, 8}, {115, 7}});
    ASSERT_TRUE(LoadSectionBlock(s, 101, 198));
    BuildSuperiorScreen(s);
    t.ui.AnswerNumber(4711);
    ASSERT_TRUE(EditSuperiorLine(s, LineOf("0963")));
    auto file = ReadMainFile();
    EXPECT_EQ(std::vector<int>(file.begin() + 101, file.begin() + 108),
              (std::vector<int>{4, 4, 7, 1, 1, original[106], original[107]}));
    EXPECT_TRUE(s.link.AccessField.empty());  // code 1 is not the tool's

    // Disabling code 2 keeps its digits; only the marker changes.
    Answer(MsgAnswer::Yes);
    ASSERT_TRUE(EditSuperiorLine(s, LineOf("0965")));
    file = ReadMainFile();
    EXPECT_EQ(file[111], 0);
    EXPECT_EQ(std::vector<int>(file.begin() + 112, file.begin() + 116), (std::vector<int>{3, 9, 8, 7}));
    EXPECT_EQ(t.ui.messages.back().text, "0571");

    // Enabling it again: the tool sends those digits from now on.
    Answer(MsgAnswer::Yes);
    ASSERT_TRUE(EditSuperiorLine(s, LineOf("0965")));
    EXPECT_EQ(ReadMainFile()[111], 85);
    EXPECT_EQ(t.ui.messages.back().text, "0572");
    EXPECT_EQ(s.link.AccessField, vimo::sim::EncodeAccessCode("987"));

    // Answering no to "disable?" asks for a new code instead.
    Answer(MsgAnswer::No);
    t.ui.AnswerNumber(20);
    ASSERT_TRUE(EditSuperiorLine(s, LineOf("0965")));
    EXPECT_EQ(ReadMainFile()[112], 2);
    EXPECT_EQ(s.link.AccessField, vimo::sim::EncodeAccessCode("20"));
}

TEST_F(SuperiorTest, FurtherOptionsAndTheMaintenanceReminderShareTheirByte) {
    OpenFileSet({{187, 0}, {176, 1}});
    ASSERT_TRUE(LoadSectionBlock(s, 101, 198));
    EXPECT_EQ(ValueOf("1031"), " 0646");
    EXPECT_EQ(ValueOf("1042"), " 0647");
    EXPECT_EQ(ValueOf("1043"), " --");
    t.ui.AnswerIndex(0);      // enabled
    t.ui.AnswerNumber(6);     // every six months
    ASSERT_TRUE(EditSuperiorLine(s, LineOf("1042")));
    EXPECT_EQ(ReadMainFile()[187], 6);
    EXPECT_EQ(ValueOf("1043"), "     6");
    t.ui.AnswerIndex(1);  // disabled
    ASSERT_TRUE(EditSuperiorLine(s, LineOf("1031")));
    EXPECT_EQ(ReadMainFile()[176], 0);
    // The on/off question is shared: the option's label comes first so the
    // installer sees which option it is about.
    EXPECT_EQ(t.ui.valueRequests.at(0).prompt, "1042\n0641");
    EXPECT_EQ(t.ui.valueRequests.back().prompt, "1031\n0641");
    t.ui.AnswerIndex(2);  // network speed 2400
    ASSERT_TRUE(EditSuperiorLine(s, LineOf("1024")));
    EXPECT_EQ(ReadMainFile()[253], 3);
    EXPECT_EQ(ValueOf("1024"), " 1078");
}

TEST_F(SuperiorTest, TheSectionWritesStampsAndKeepsTheNewDateInTheBlock) {
    OpenFileSet({{126, 10}});
    QueueEditOf("0969");
    t.ui.AnswerNumber(20);
    QueueEditOf("0972");
    t.ui.AnswerNumber(30);
    QueueCancel();
    Run();
    EXPECT_EQ(t.ui.editTitle, "0568");
    auto file = ReadMainFile();
    EXPECT_EQ(file[126], 20);
    EXPECT_EQ(file[127], 30);
    // The second write of the block did not put the old date back.
    EXPECT_EQ(std::string(file.begin() + 211, file.begin() + 219), "05-12-26");
    for (int offset : ChangedOffsets()) EXPECT_TRUE(offset == 126 || offset == 127 || (offset >= 211 && offset < 219)) << offset;
}

TEST_F(SuperiorTest, PrintRequestOnlyBuildsAndNothingOpenEndsWith240) {
    const PrintMode print = PrintMode::LinesOnly;
    SuperiorOptionsSection(s, print);
    EXPECT_EQ(s.link.LinkStatus, 240);
    OpenFileSet({{101, 3}});
    SuperiorOptionsSection(s, print);
    EXPECT_EQ(t.ui.editTitle, "");
    EXPECT_EQ(ScreenLines(s.screen)[0], "0962");
    EXPECT_EQ(ValueOf("0963"), ".................***");
}

TEST_F(SuperiorTest, OnThePanelTheBlockIsAt4197) {
    LoopbackTransport port{t.clock};
    auto& mem = port.Panel().Mem();
    s.transport = &port;
    s.link.PanelAddress = static_cast<int16_t>(port.Panel().Address());
    s.settings.PlantCode = std::to_string(port.Panel().PlantCode());
    s.config.ConfigSource = ConfigSource::Panel;
    port.Panel().SetProgrammingMode(true, 0);
    mem.Set(4096 + 150, 40);
    const auto before = mem.Read(0, vimo::sim::kMemorySize);
    QueueEditOf("1004");
    t.ui.AnswerNumber(90);
    QueueCancel();
    Run();
    EXPECT_EQ(mem.Get(4246), 90);
    for (std::size_t a = 0; a < before.size(); ++a)
        if ((a < 7168 || a > 8767) && a != 4246) {
            EXPECT_EQ(mem.Get(a), before[a]) << a;
        }
    EXPECT_EQ(port.Panel().Stats().writes, 4);  // 198 bytes: four frames
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
}

}  // namespace
}  // namespace cfg::test
