// The logics section on a file set and on the panel: loading with the size
// and checksum checks, the list, the function-block window's commands and
// the store on leaving.
#include "EditorFixture.h"
#include "config/Files.h"
#include "editors/LogicTexts.h"
#include "editors/LogicsEditor.h"
#include "sim/MemoryMap.h"
#include "sim/loopback/LoopbackTransport.h"

namespace cfg::test {
namespace {

class LogicsTest : public EditorTest {
protected:
    std::string LogicFile() const { return t.folder.File("PLANT.UY2"); }

    void WriteLogic(const std::vector<uint8_t>& bytes) {
        std::ofstream(LogicFile(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<uint8_t> ReadLogic() const {
        std::ifstream in(LogicFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    LogicTable Stored() const {
        auto bytes = ReadLogic();
        bytes.resize(kLogicStreamBytes);
        return ParseLogicStream(bytes);
    }
    // A set whose logic holds block 7: AND zone 3, OR point 17, output 12.
    void OpenWithBlock7(uint16_t moreHeaderBits = 0) {
        OpenFileSet();
        LogicTable table;
        table[7].header = 7 | 1 << 8 | 1 << 10 | moreHeaderBits;  // as a panel may hold it: bit 15 clear
        table[7].conditions = {MakeCondition(0, 3, false, false), MakeCondition(4, 317, true, false)};
        table[7].w1 = MakeLogicW1(12, 2);
        table[7].w2 = MakeLogicW2(10, kDeactivationLatched);
        WriteLogic(CompileLogicArea(table));
    }
    void Run(PrintMode print = PrintMode::Interactive) { LogicsSection(s, print, 0); }
    void Press(int word, int listCode = 0, int index = -1) { t.ui.logicCommands.push_back({word, listCode, index}); }
    void ChooseCondition(int entry, int option = 1) { t.ui.logicConditionAnswers.push_back({true, entry, option}); }
};

TEST_F(LogicsTest, TheListShowsEveryBlockAndLeavingWithoutChangesWritesNothing) {
    OpenWithBlock7();
    auto before = ReadLogic();
    QueueCancel();
    Run();
    ASSERT_EQ(t.ui.listLines.size(), 80u);
    EXPECT_EQ(t.ui.listLines[0], "0198010199");
    EXPECT_EQ(t.ui.listLines[6].substr(0, 14), "0195019707    ");
    EXPECT_NE(t.ui.listLines[6].find("0181 12   AND 1  OR 1"), std::string::npos);
    EXPECT_EQ(t.ui.editTitle, "0193");
    EXPECT_EQ(ReadLogic(), before);
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
}

TEST_F(LogicsTest, AFileOfAnotherSizeDoesNotOpen) {
    OpenFileSet();
    WriteLogic(std::vector<uint8_t>(1960, 0));
    Run();
    EXPECT_EQ(t.ui.AllMessages(), "1378:1233\r1234|");
    EXPECT_FALSE(t.ui.editScreenShown);
    EXPECT_TRUE(t.ui.listLines.empty());
}

TEST_F(LogicsTest, AWrongChecksumEmptiesTheAreaAndStoresItOnLeaving) {
    OpenWithBlock7();
    auto bytes = ReadLogic();
    bytes[1961] ^= 1;
    WriteLogic(bytes);
    QueueCancel();
    Run();
    EXPECT_TRUE(t.ui.Showed("0303"));
    EXPECT_EQ(t.ui.listLines[6], "0198070199");
    std::vector<uint8_t> empty(kLogicFileSize, 0);
    empty[1960] = empty[1961] = 255;
    EXPECT_EQ(ReadLogic(), empty);
    EXPECT_TRUE(s.config.DateStamped);
}

TEST_F(LogicsTest, TheWindowShowsTheBlockAsListsASentenceAndItsWords) {
    OpenWithBlock7();
    QueueEdit(7);
    QueueCancel();
    Run();
    ASSERT_EQ(t.ui.logicViews.size(), 1u);
    const LogicBlockView& v = t.ui.logicViews[0];
    EXPECT_EQ(v.blockName, " BF07");
    EXPECT_EQ(v.andLines, (std::vector<std::string>{"0310 3 (0255) 0309"}));
    EXPECT_EQ(v.orLines, (std::vector<std::string>{"0311 17 (0259) 0309"}));
    EXPECT_EQ(v.threshold, "1");
    EXPECT_EQ(v.output, "12");
    EXPECT_EQ(v.activationDelay, "5 s");
    EXPECT_EQ(v.sentence,
              "0295 1202450246 5 s0247 0249 10250 (0310 3 (0255)) 0307 0311 17 (0259). 02510252");
    EXPECT_EQ(v.fields, "H 0507  W1 1108  W2 000A  0003  513D");
    EXPECT_FALSE(t.ui.logicBlockOpen);
}

TEST_F(LogicsTest, AddingAConditionStoresTheBlockWithBit15OnLeaving) {
    OpenWithBlock7(0x4000);  // the option flag: a stored block has it clear
    QueueEdit(7);
    Press(kLogicAddAnd);
    t.ui.logicConditionAnswers.push_back({true, 0, 1});  // nothing chosen: told, asked again
    ChooseCondition(kChooserSeparator);                    // the separator: told, asked again
    ChooseCondition(1, 2);                                 // zone in alarm, "if NOT active"
    t.ui.AnswerNumber(4);
    QueueCancel();
    Run();
    EXPECT_EQ(t.ui.AllMessages(), "0176:0282|0176:0283|");
    EXPECT_EQ(t.ui.logicConditionRequests.size(), 3u);
    EXPECT_EQ(t.ui.logicConditionRequests[0].prompt, "0286");
    ASSERT_EQ(t.ui.logicConditionRequests[0].categories.size(), 16u);  // no entry needs a code above 15

    LogicTable stored = Stored();
    const LogicBlock& b = stored[7];
    EXPECT_EQ(b.header, 0x8000 | 7 | 1 << 8 | 1 << 10);
    EXPECT_EQ(b.conditions, (std::vector<uint16_t>{0x0003, 0x513D, 0x8004}));
    EXPECT_EQ(b.w1, MakeLogicW1(12, 3));
    auto area = ReadLogic();
    EXPECT_EQ(LogicChecksum(area.data(), 1960), area[1960] << 8 | area[1961]);
    EXPECT_TRUE(s.config.DateStamped);
}

TEST_F(LogicsTest, OutputConditionsTakeCodes14And15AndAHighThresholdIsSaved) {
    OpenWithBlock7();
    QueueEdit(7);
    Press(kLogicAddAnd);
    ChooseCondition(15);  // output active: the loop output module at point 20
    t.ui.AnswerNumber(20);
    Press(kLogicAddOr);
    ChooseCondition(16);  // output in fault: point 384
    t.ui.AnswerNumber(384);
    LogicSettingsAnswer settings;
    settings.confirmed = true;
    settings.type = 1;
    settings.threshold = 5;  // two AND conditions: said, but kept
    settings.output = 12;
    settings.deactivationOption = 2;
    Press(kLogicSettings);
    t.ui.logicSettingsAnswers.push_back(settings);
    QueueCancel();
    Run();

    EXPECT_EQ(t.ui.AllMessages(), "0176:1560|");
    EXPECT_EQ(t.ui.logicSettingsRequests.size(), 1u);
    const LogicBlock b = Stored()[7];
    EXPECT_EQ(b.header, 7 + 1 * 256 + 5 * 1024 + 32768);
    ASSERT_EQ(b.conditions.size(), 4u);
    EXPECT_EQ(b.conditions[2], 14 << 10 | (300 + 20));
    EXPECT_EQ(b.conditions[3], kConditionOr | 15 << 10 | (300 + 384));
}

TEST_F(LogicsTest, DuplicatesAndThe31stConditionAreRefused) {
    OpenFileSet();
    LogicTable table;
    table[2].header = 0x8002;
    for (int i = 0; i < 31; ++i) table[2].conditions.push_back(MakeCondition(4, 301 + i, false, false));
    table[2].w1 = MakeLogicW1(0, 31);
    table[3].header = 0x8003;
    table[3].conditions = {MakeCondition(0, 5, false, false)};
    table[3].w1 = MakeLogicW1(0, 1);
    WriteLogic(CompileLogicArea(table));
    QueueEdit(2);
    Press(kLogicAddOr);
    Press(kLogicClose);
    QueueEdit(3);
    Press(kLogicAddOr);
    ChooseCondition(1, 2);  // zone 5 again, as an OR and negated: still the same condition
    t.ui.AnswerNumber(5);
    QueueCancel();
    Run();
    EXPECT_EQ(t.ui.AllMessages(), "1378:0243\r0244|0176:0281|");
    EXPECT_EQ(t.ui.logicConditionRequests.size(), 1u);
    EXPECT_EQ(Stored(), table);
}

TEST_F(LogicsTest, AConditionThatWouldPassByte1960IsRefused) {
    OpenFileSet();
    LogicTable table;  // 980 words: full
    for (int n = 1; n <= 28; ++n) {
        table[n].header = static_cast<uint16_t>(0x8000 | n);
        for (int i = 0; i < 31; ++i) table[n].conditions.push_back(MakeCondition(4, 301 + i, false, false));
        table[n].w1 = MakeLogicW1(0, 31);
    }
    table[29].header = 0x801D;
    for (int i = 0; i < 25; ++i) table[29].conditions.push_back(MakeCondition(4, 301 + i, false, false));
    table[29].w1 = MakeLogicW1(0, 25);
    WriteLogic(CompileLogicArea(table));
    QueueEdit(29);
    Press(kLogicAddAnd);
    QueueCancel();
    Run();
    EXPECT_EQ(t.ui.AllMessages(), "1378:1410\r1411|");
    EXPECT_TRUE(t.ui.logicConditionRequests.empty());
}

TEST_F(LogicsTest, SettingsCopyDeleteConditionAndDeleteBlock) {
    OpenWithBlock7();
    QueueEdit(7);
    LogicSettingsAnswer settings;
    settings.confirmed = true;
    settings.type = 0;
    settings.output = 64;
    settings.activation = 0;
    settings.deactivationOption = 0;
    settings.duration = 9;  // 10 half-seconds
    Press(kLogicSettings);
    t.ui.logicSettingsAnswers.push_back(settings);
    Press(kLogicCopyBlock);
    t.ui.AnswerNumber(40);
    Press(kLogicDeleteCondition);                // nothing selected: told
    Press(kLogicDeleteCondition, 1, 0);          // the OR condition
    t.ui.messageAnswers.push_back(MsgAnswer::Ok);   // "select first"
    t.ui.messageAnswers.push_back(MsgAnswer::Yes);  // delete?
    Press(kLogicClose);
    QueueEdit(40);
    Press(kLogicDeleteBlock);
    t.ui.messageAnswers.push_back(MsgAnswer::Yes);
    QueueCancel();
    Run();

    ASSERT_FALSE(t.ui.logicSettingsRequests.empty());
    const LogicSettingsRequest& r = t.ui.logicSettingsRequests[0];
    EXPECT_EQ(r.type, 1);
    EXPECT_EQ(r.threshold, 1);
    EXPECT_EQ(r.output, 12);
    EXPECT_EQ(r.activation, 10);
    EXPECT_EQ(r.deactivationOption, 2);
    EXPECT_EQ(r.outputEntries.size(), 65u);
    EXPECT_EQ(r.durationEntries.size(), 200u);

    LogicTable stored = Stored();
    EXPECT_EQ(stored[7].header, 0x8007);
    EXPECT_EQ(stored[7].OutputNumber(), 64);
    EXPECT_EQ(stored[7].w2, 10 << 8);
    EXPECT_EQ(stored[7].conditions, (std::vector<uint16_t>{0x0003}));
    EXPECT_FALSE(stored[40].Defined());  // copied, then deleted
    EXPECT_EQ(t.ui.AllMessages(), "0176:0289|0176:0288|0176:0290|");
}

TEST_F(LogicsTest, ThePrintoutListsEachBlockWithItsConditions) {
    OpenWithBlock7();
    Run(PrintMode::LinesOnly);
    auto lines = ScreenLines(s.screen);
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], "0176 BF07   0177 0179   0180 1");
    EXPECT_EQ(lines[1], "   0181 12");
    EXPECT_EQ(lines[3], "   0189");
    EXPECT_EQ(lines[4], "      0310 3 (0255) 0309");
    EXPECT_EQ(lines[6], "      0311 17 (0259) 0309");
    EXPECT_FALSE(t.ui.editScreenShown);

    LogicTable empty;
    WriteLogic(CompileLogicArea(empty));
    Run(PrintMode::LinesOnly);
    EXPECT_EQ(ScreenLines(s.screen), (std::vector<std::string>{"0192"}));
}

class PanelLogicsTest : public LogicsTest {
protected:
    LoopbackTransport port{t.clock};
    vimo::sim::Memory& mem = port.Panel().Mem();

    PanelLogicsTest() {
        s.transport = &port;
        s.link.PanelAddress = static_cast<int16_t>(port.Panel().Address());
        s.settings.PlantCode = std::to_string(port.Panel().PlantCode());
        s.config.ConfigSource = ConfigSource::Panel;
        port.Panel().SetProgrammingMode(true, 0);
    }
};

TEST_F(PanelLogicsTest, TheAreaComesFromDirectoryEntry16AndGoesBackThere) {
    LogicTable table;
    table[1].header = 0x8001;
    table[1].w1 = MakeLogicW1(3, 0);
    auto area = CompileLogicArea(table);
    mem.Write(vimo::sim::kLogics, area);
    mem.Set(4096 + 39, 123);
    QueueEdit(1);
    Press(kLogicAddAnd);
    ChooseCondition(7);  // function block 2 active
    t.ui.AnswerNumber(2);
    QueueCancel();
    Run();
    EXPECT_EQ(s.config.ConfigImage[kLogicSideCell], 123);
    auto now = mem.Read(vimo::sim::kLogics, kLogicFileSize);
    now.resize(kLogicStreamBytes);
    LogicTable stored = ParseLogicStream(now);
    EXPECT_EQ(stored[1].conditions, (std::vector<uint16_t>{static_cast<uint16_t>(6 << 10 | 34)}));
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
}

// The rule of adding a condition, without the dialogs.

// A table whose blocks 1..28 hold 31 conditions each and block 29 `last`:
// 952 + 3 + last words of the 980 the area holds.
LogicTable TableWithFreeWords(int last) {
    LogicTable table;
    for (int n = 1; n <= 29; ++n) {
        const int count = n == 29 ? last : 31;
        table[n].header = static_cast<uint16_t>(0x8000 | n);
        for (int i = 0; i < count; ++i) table[n].conditions.push_back(MakeCondition(4, 301 + i, false, false));
        table[n].w1 = MakeLogicW1(0, count);
    }
    return table;
}

ConditionOutcome Refused(int refusal, int detail = 0) {
    ConditionOutcome o;
    o.refusal = refusal;
    o.detail = detail;
    return o;
}

TEST(LogicConditionRule, TheChoiceBecomesTheConditionWord) {
    const LogicTable table;
    const LogicBlock empty;
    auto word = [&](int entry, int item, bool orList, bool negated) {
        const ConditionOutcome o = ApplyCondition(table, empty, 5, {entry, item, orList, negated});
        EXPECT_TRUE(o.accepted) << entry << "/" << item;
        return o.word;
    };
    EXPECT_EQ(word(1, 4, false, true), 0x8004);                          // zone 4 in alarm, NOT
    EXPECT_EQ(word(5, 17, true, false), kConditionOr | 4 << 10 | 317);   // point 17 in alarm, OR
    EXPECT_EQ(word(7, 2, false, false), 6 << 10 | 34);                   // function block 2
    EXPECT_EQ(word(8, 1, false, false), 7 << 10 | 195);                  // the first panel state
    EXPECT_EQ(word(15, 20, false, false), 14 << 10 | 320);               // output active at point 20
    EXPECT_EQ(word(11, 4, false, false), 10 << 10 | 222);                // the last auxiliary input
}

TEST(LogicConditionRule, OnlyTheObjectsAnEntryOffersAreTaken) {
    const LogicTable table;
    const LogicBlock b;
    for (int entry = 1; entry <= kChooserEntries; ++entry)
        EXPECT_EQ(ChooserEntryRefusal(entry), entry == kChooserSeparator ? 283 : 0) << entry;
    EXPECT_EQ(ChooserEntryRefusal(0), 282);
    EXPECT_EQ(ChooserEntryRefusal(17), 282);
    EXPECT_EQ(ApplyCondition(table, b, 5, {0, 1, false, false}), Refused(282));
    EXPECT_EQ(ApplyCondition(table, b, 5, {kChooserSeparator, 1, false, false}), Refused(283));
    // Items beyond the entry's objects: the dialogs never offer them, so
    // nothing is said, and nothing is added.
    EXPECT_TRUE(ApplyCondition(table, b, 5, {1, 32, false, false}).accepted);
    EXPECT_EQ(ApplyCondition(table, b, 5, {1, 33, false, false}), Refused(0));
    EXPECT_EQ(ApplyCondition(table, b, 5, {1, 0, false, false}), Refused(0));
    EXPECT_TRUE(ApplyCondition(table, b, 5, {5, 384, false, false}).accepted);
    EXPECT_EQ(ApplyCondition(table, b, 5, {5, 385, false, false}), Refused(0));
    EXPECT_EQ(ApplyCondition(table, b, 5, {8, 13, false, false}), Refused(0));  // 12 panel states
    // A block number outside 1..80 takes nothing.
    EXPECT_EQ(ApplyCondition(table, b, 0, {1, 1, false, false}), Refused(0));
    EXPECT_EQ(ApplyCondition(table, b, 81, {1, 1, false, false}), Refused(0));
}

TEST(LogicConditionRule, AnObjectInAStateIsInABlockOnce) {
    const LogicTable table;
    LogicBlock b;
    b.header = 0x8005;
    b.conditions = {MakeCondition(0, 5, false, false)};  // AND zone 5 in alarm
    // In the other list or negated it is still the same condition.
    EXPECT_EQ(ApplyCondition(table, b, 5, {1, 5, true, true}), Refused(281));
    EXPECT_EQ(ApplyCondition(table, b, 5, {1, 5, false, true}), Refused(281));
    // The same zone in prealarm, or another zone, is another condition.
    EXPECT_TRUE(ApplyCondition(table, b, 5, {2, 5, false, false}).accepted);
    EXPECT_TRUE(ApplyCondition(table, b, 5, {1, 6, false, false}).accepted);
}

TEST(LogicConditionRule, ABlockTakes31ConditionsInItsTwoLists) {
    const LogicTable table;
    LogicBlock b;
    b.header = 0x8005;
    for (int i = 0; i < 30; ++i) b.conditions.push_back(MakeCondition(4, 301 + i, i % 2 == 1, false));
    EXPECT_TRUE(RoomForCondition(table, b, 5).accepted);
    b.conditions.push_back(MakeCondition(4, 331, true, false));
    EXPECT_EQ(RoomForCondition(table, b, 5), Refused(243, 244));
    EXPECT_EQ(ApplyCondition(table, b, 5, {1, 1, false, false}), Refused(243, 244));
}

TEST(LogicConditionRule, TheAreaMustHoldTheWordsTheBlockGrowsBy) {
    // Four words free: a new block needs its three header words and the
    // condition, a stored block only the condition.
    LogicTable table = TableWithFreeWords(21);
    EXPECT_TRUE(RoomForCondition(table, table[30], 30).accepted);
    EXPECT_TRUE(RoomForCondition(table, table[29], 29).accepted);
    table = TableWithFreeWords(22);
    EXPECT_EQ(RoomForCondition(table, table[30], 30), Refused(1410, 1411));
    EXPECT_TRUE(RoomForCondition(table, table[29], 29).accepted);
    table = TableWithFreeWords(25);  // full
    EXPECT_EQ(RoomForCondition(table, table[29], 29), Refused(1410, 1411));
    EXPECT_EQ(ApplyCondition(table, table[29], 29, {1, 1, false, false}), Refused(1410, 1411));
    // The block as being edited counts against what the table holds of it.
    LogicBlock shorter = table[29];
    shorter.conditions.pop_back();
    EXPECT_TRUE(RoomForCondition(table, shorter, 29).accepted);
}

}  // namespace
}  // namespace cfg::test
