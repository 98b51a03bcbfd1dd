// The zones section: how points, zones and loop-fault entries read, what each
// line editor asks and which bytes a change writes, on a file set and on the
// simulated panel.
#include "EditorFixture.h"
#include "editors/ZonesEditor.h"
#include "loops/LoopTables.h"
#include "sim/loopback/LoopbackTransport.h"

namespace cfg::test {
namespace {

class ZonesTest : public EditorTest {
protected:
    void Set(int cell, int value) { s.config.ConfigImage[cell] = static_cast<Cell>(value); }
    void SetPoint(int point, int byte1, int byte2) {
        Set(PointConfigCell(point), byte1);
        Set(PointConfigCell(point) + 1, byte2);
    }
    // The screen line with this descriptor (0 when none).
    int LineFor(int16_t field, int value) const {
        for (int i = 1; i <= s.screen.LineCount; ++i) {
            const LineDescriptor d = DescriptorOf(s.screen, i);
            if (d.field == field && d.value2 == value) return i;
        }
        return 0;
    }
    std::string Line(int16_t field, int value) const {
        std::string l = s.screen.Lines[LineFor(field, value)];
        while (!l.empty() && l.back() == ' ') l.pop_back();
        return l;
    }
    void QueueEditLine(int16_t field, int value) {
        clicks.push_back([this, field, value] {
            t.ui.listSelected = LineFor(field, value) - 1;
            s.events.UserEvent = true;
        });
    }
    void Run() {
        const PrintMode print = PrintMode::Interactive;
        ZonesSection(s, print, 0);
    }
    int FileByte(int offset) const { return ReadMainFile().at(static_cast<std::size_t>(offset)); }
    // The file offsets that changed, leaving out the last-change date.
    std::vector<int> ChangedBesidesDate() const {
        std::vector<int> out;
        for (int o : ChangedOffsets())
            if (o < 211 || o > 218) out.push_back(o);
        return out;
    }
};

TEST_F(ZonesTest, PointLinesShowLabelZoneTypeLogicAndTag) {
    SetPoint(12, 0x1B, 0x44);   // heat detector, flag, variant 3; sensitivity 2, zone 5
    SetPoint(100, 0x21, 0x00);  // last sensor address of module 1
    SetPoint(101, 0xA2, 0x1F);  // first module address: output module, zone 32
    SetPoint(201, 0x00, 0x02);  // module 2, address 1: free
    Set(kModuleDirectoryOffset, 'A');
    Set(kModuleDirectoryOffset + 1, 'B');
    BuildZonesScreen(s);

    EXPECT_EQ(ScreenLines(s.screen)[0], "1053");
    EXPECT_EQ(Line(kPointLine, 12),
              " 12: 1054     5 1294                  08480853 2                    [001-> 12]");
    EXPECT_EQ(Line(kPointLine, 100).substr(0, 15), "100: 1054     1");
    EXPECT_EQ(Line(kPointLine, 101).substr(0, 15), "101: 1208    32");
    EXPECT_EQ(Line(kPointLine, 200).substr(0, 10), "200: 1208 ");
    EXPECT_EQ(Line(kPointLine, 201), "201: 1054     3 1293                                                [002-> 01]");
    // Only a module point carries 10 in the descriptor's third word.
    EXPECT_EQ(DescriptorOf(s.screen, LineFor(kPointLine, 101)).value3, 10);
    EXPECT_EQ(DescriptorOf(s.screen, LineFor(kPointLine, 12)).value3, 0);
    // A module's logic: its function number and the point it answers at.
    EXPECT_EQ(Line(kPointLine, 101).substr(38, 22), "0854 008550858 1350860");
    EXPECT_EQ(s.screen.LineCount, 1 + 400 + 2 + 32 + 2 + 16);
}

TEST_F(ZonesTest, SensorLogicTextVariantsSensitivityAndModulePlaces) {
    auto logic = [this](int variant, bool type10, int number, int point) {
        std::string t = SensorLogicText(s.texts, variant, type10, number, point);
        EXPECT_EQ(t.size(), 44u);
        while (!t.empty() && t.back() == ' ') t.pop_back();
        return t;
    };
    EXPECT_EQ(logic(1, false, 0, 5), "08460852");
    // The texts bring their own separators (", sensitivity no.", " function").
    EXPECT_EQ(logic(5, false, 5, 5), "08500853 5");
    EXPECT_EQ(logic(2, false, 6, 5), "08470851");
    EXPECT_EQ(logic(0, false, 7, 5), "0851");         // no variant text outside 1..5
    EXPECT_EQ(logic(1, true, 15, 200), "0854 1508550858 2340860");
    EXPECT_EQ(logic(1, true, 3, 201), "0854 308550859 500860");
}

TEST_F(ZonesTest, ZoneTypesAndLoopFaultLines) {
    Set(301, 17);
    Set(302, 7);    // not in the table
    Set(332, 20);
    Set(351, 0);
    Set(352, 32);
    Set(353, 33);   // no zone
    Set(kModuleDirectoryOffset + 5, 'A');  // module 2 not declared
    BuildZonesScreen(s);

    EXPECT_EQ(Line(kZoneLine, 1), " 1 :  1056........................... 1060");
    EXPECT_EQ(Line(kZoneLine, 2), " 2 :  1056........................... 1062");
    EXPECT_EQ(Line(kZoneLine, 32).substr(0, 5), "32 : ");
    EXPECT_EQ(Line(kZoneLine, 32).substr(38), "1223");  // ends column 42
    EXPECT_EQ(Line(kLoopFaultLine, 1), " 1 1064 (1065): --");
    EXPECT_EQ(Line(kLoopFaultLine, 2), " 2 1064 (1065): 321067");
    EXPECT_EQ(Line(kLoopFaultLine, 3), " 3 1064 (1065): --");
    // Entries 9..16 belong to loop module 2, which the directory lacks.
    EXPECT_EQ(Line(kLoopFaultLine, 9).substr(0, 18), " 9 1064 (1066) !!:");
}

TEST_F(ZonesTest, ZoneTypeChoiceHasThreeCaptionsAndWritesTheChosenRow) {
    OpenFileSet({{301 + 4, 1}});
    QueueEditLine(kZoneLine, 5);
    t.ui.AnswerIndex(5);  // position 6: value 17
    QueueCancel();
    Run();

    EXPECT_EQ(t.ui.editTitle, "0845");
    const ValueRequest& r = t.ui.valueRequests.at(0);
    EXPECT_EQ(r.kind, 3);
    EXPECT_EQ(r.title, "1192 5");
    EXPECT_EQ(r.prompt, "1174\n1175\n1176");
    EXPECT_EQ(r.items, (std::vector<std::string>{"1  1177", "2  1178", "3  1218", "4  1179", "5  1220",
                                                  "6  1180", "7  1219", "8  1181", "9  1221"}));
    EXPECT_EQ(r.initialIndex, 1);  // value 1 is position 2
    EXPECT_EQ(FileByte(305), 17);
    EXPECT_EQ(s.config.ConfigImage[305], 17);
    EXPECT_EQ(ChangedBesidesDate(), (std::vector<int>{305}));
    EXPECT_TRUE(s.config.DateStamped);
    EXPECT_NE(t.ui.listLines.at(static_cast<std::size_t>(LineFor(kZoneLine, 5) - 1)).find("1060"),
              std::string::npos);
}

TEST_F(ZonesTest, AZoneTypeOutsideTheTableIsKeptUntilTheUserChooses) {
    OpenFileSet({{301, 9}, {302, 0}});
    QueueEditLine(kZoneLine, 1);
    t.ui.Cancel();                // looked at, not chosen
    QueueEditLine(kZoneLine, 2);  // an unrelated zone in the same block
    t.ui.AnswerIndex(3);
    QueueEditLine(kLoopFaultLine, 4);
    t.ui.AnswerNumber(12);
    QueueCancel();
    Run();

    EXPECT_EQ(t.ui.valueRequests.at(0).initialIndex, 0);
    EXPECT_EQ(FileByte(301), 9);
    EXPECT_EQ(s.config.ConfigImage[301], 9);
    EXPECT_EQ(FileByte(302), 3);
    EXPECT_EQ(FileByte(354), 12);
    EXPECT_EQ(ChangedBesidesDate(), (std::vector<int>{302, 354}));
    EXPECT_NE(Line(kZoneLine, 1).find("1062"), std::string::npos);
}

TEST_F(ZonesTest, LoopFaultEditorRangeAndHeldValue) {
    OpenFileSet({{351 + 6, 33}});
    QueueEditLine(kLoopFaultLine, 7);
    t.ui.AnswerNumber(33);  // refused: 0..32
    QueueEditLine(kLoopFaultLine, 7);
    t.ui.AnswerNumber(0);
    QueueCancel();
    Run();

    const ValueRequest& r = t.ui.valueRequests.at(0);
    EXPECT_EQ(r.kind, 1);
    EXPECT_EQ(r.minimum, 0);
    EXPECT_EQ(r.maximum, 32);
    EXPECT_EQ(r.initialText, "33");
    EXPECT_EQ(r.prompt, "1171 7\n1172\n1173");
    EXPECT_EQ(FileByte(357), 0);
    EXPECT_EQ(ChangedBesidesDate(), (std::vector<int>{357}));
}

TEST_F(ZonesTest, GroupEditChangesOnlyTheZoneBits) {
    OpenFileSet({{PointConfigCell(7), 0x3D}, {PointConfigCell(7) + 1, 0xE4}});
    QueueEditLine(kPointLine, 7);
    t.ui.sensorInputAnswers.push_back(kSensorInputGroup);
    t.ui.AnswerNumber(32);
    QueueCancel();
    Run();

    ASSERT_EQ(t.ui.sensorInputRequests.size(), 1u);
    EXPECT_EQ(t.ui.sensorInputRequests[0].title, "1150");
    EXPECT_NE(t.ui.sensorInputRequests[0].prompt.find("1151 7 - 1054"), std::string::npos);
    const ValueRequest& r = t.ui.valueRequests.at(0);
    EXPECT_EQ(r.initialText, "5");
    EXPECT_EQ(r.minimum, 1);
    EXPECT_EQ(r.maximum, 32);
    const int cell = PointConfigCell(7);
    EXPECT_EQ(FileByte(cell), 0x3D);
    EXPECT_EQ(FileByte(cell + 1), 0xFF);  // flags 7..5 kept, zone bits 31
    EXPECT_EQ(ChangedBesidesDate(), (std::vector<int>{cell + 1}));
}

TEST_F(ZonesTest, TypeEditsKeepTheZoneAndSetVariantSensitivityOrFunction) {
    const int a = PointConfigCell(3), b = PointConfigCell(150), c = PointConfigCell(151);
    OpenFileSet({{a, 0x1B}, {a + 1, 0x44}, {b, 0x00}, {b + 1, 0x06}, {c, 0x21}, {c + 1, 0x62}});
    // Point 3: heat detector with flag 8 becomes optical smoke, variant 4,
    // sensitivity 1; the flag bit stays.
    QueueEditLine(kPointLine, 3);
    t.ui.sensorInputAnswers.push_back(kSensorInputType);
    t.ui.AnswerIndex(2);
    t.ui.AnswerNumber(4);
    t.ui.AnswerNumber(1);
    // Point 150: free becomes an input module with function 11 (bit 3 and
    // option bits 011).
    QueueEditLine(kPointLine, 150);
    t.ui.sensorInputAnswers.push_back(kSensorInputType);
    t.ui.AnswerIndex(6);
    t.ui.AnswerNumber(11);
    // Point 151: OK changes both, zone then type: an output module.
    QueueEditLine(kPointLine, 151);
    t.ui.sensorInputAnswers.push_back(kSensorInputOk);
    t.ui.AnswerNumber(9);
    t.ui.AnswerIndex(7);
    t.ui.AnswerNumber(0);
    QueueCancel();
    Run();

    EXPECT_EQ(FileByte(a), 0x2C);
    EXPECT_EQ(FileByte(a + 1), 0x24);
    EXPECT_EQ(FileByte(b), 0xA9);
    EXPECT_EQ(FileByte(b + 1), 0x66);
    EXPECT_EQ(FileByte(c), 0xA2);
    EXPECT_EQ(FileByte(c + 1), 0x08);
    // The type dialog started on the point's own type.
    EXPECT_EQ(t.ui.valueRequests.at(0).initialIndex, 1);
    EXPECT_EQ(t.ui.valueRequests.at(0).items.size(), 10u);
    EXPECT_EQ(t.ui.valueRequests.at(2).maximum, 5);   // sensitivity 0..5
    EXPECT_EQ(t.ui.valueRequests.at(4).maximum, 15);  // function 0..15
    EXPECT_EQ(DescriptorOf(s.screen, LineFor(kPointLine, 150)).value3, 10);
}

TEST_F(ZonesTest, ClearingAPointAsksFirstAndKeepsItsZone) {
    const int cell = PointConfigCell(20);
    OpenFileSet({{cell, 0x9A}, {cell + 1, 0xA3}});
    QueueEditLine(kPointLine, 20);
    t.ui.sensorInputAnswers.push_back(kSensorInputType);
    t.ui.AnswerIndex(0);
    t.ui.messageAnswers.push_back(MsgAnswer::No);
    QueueEditLine(kPointLine, 20);
    t.ui.sensorInputAnswers.push_back(kSensorInputType);
    t.ui.AnswerIndex(0);
    t.ui.messageAnswers.push_back(MsgAnswer::Yes);
    QueueCancel();
    Run();

    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[0].text, "1189\n1190");
    EXPECT_EQ(FileByte(cell), 0);
    EXPECT_EQ(FileByte(cell + 1), 3);
    EXPECT_EQ(ChangedBesidesDate(), (std::vector<int>{cell, cell + 1}));
}

TEST_F(ZonesTest, CancelAtAnyStepWritesNothing) {
    OpenFileSet();
    QueueEditLine(kPointLine, 40);  // the dialog itself cancelled
    QueueEditLine(kPointLine, 40);
    t.ui.sensorInputAnswers.push_back(kSensorInputOk);
    t.ui.AnswerNumber(3);           // the zone...
    t.ui.Cancel();                  // ...then the type list cancelled
    QueueEditLine(kPointLine, 41);
    t.ui.sensorInputAnswers.push_back(kSensorInputType);
    t.ui.AnswerIndex(1);
    t.ui.AnswerNumber(2);
    t.ui.Cancel();                  // the sensitivity cancelled
    QueueCancel();
    Run();
    EXPECT_EQ(t.ui.sensorInputRequests.size(), 3u);
    EXPECT_TRUE(ChangedOffsets().empty());
    EXPECT_FALSE(s.config.DateStamped);
}

TEST_F(ZonesTest, PrintBuildsOnlyAndFailuresEndTheSection) {
    OpenFileSet();
    PrintMode print = PrintMode::LinesOnly;
    ZonesSection(s, print, 0);
    EXPECT_EQ(t.ui.editTitle, "");
    EXPECT_EQ(ScreenLines(s.screen)[0], "1053");
    EXPECT_EQ(s.screen.LineCount, 453);

    std::filesystem::remove(MainFile());
    ClearScreenLines(s);
    print = PrintMode::Interactive;
    ZonesSection(s, print, 0);
    EXPECT_NE(s.link.LinkStatus, 255);
    EXPECT_EQ(t.ui.editTitle, "");
    EXPECT_EQ(s.screen.LineCount, 0);

    s.config.ConfigSource = ConfigSource::None;
    ZonesSection(s, print, 0);
    EXPECT_EQ(s.link.LinkStatus, 240);
}

// On the panel: the blocks come from 4397 and 4608 and a change writes its
// whole block back there.
class ZonesPanelTest : public ZonesTest {
protected:
    LoopbackTransport port{t.clock};
    vimo::sim::Memory& mem = port.Panel().Mem();
    std::vector<uint8_t> before;

    ZonesPanelTest() {
        s.transport = &port;
        s.link.PanelAddress = static_cast<int16_t>(port.Panel().Address());
        s.settings.PlantCode = std::to_string(port.Panel().PlantCode());
        s.config.ConfigSource = ConfigSource::Panel;
        port.Panel().SetProgrammingMode(true, 0);
    }
    void Snapshot() { before = mem.Read(0, vimo::sim::kMemorySize); }
    // Changed addresses, leaving out the live tables that move by themselves.
    std::vector<int> ChangedAddresses() const {
        std::vector<int> changed;
        for (std::size_t a = 0; a < before.size(); ++a)
            if ((a < 7168 || a > 8767) && mem.Get(a) != before[a]) changed.push_back(static_cast<int>(a));
        return changed;
    }
};

TEST_F(ZonesPanelTest, ZoneAndPointChangesWriteTheirBlocks) {
    mem.Set(4096 + 303, 200);  // zone 3: unknown type, kept
    mem.Set(4096 + PointConfigCell(205), 0x11);
    mem.Set(4096 + PointConfigCell(205) + 1, 0xE0);
    Snapshot();
    QueueEditLine(kLoopFaultLine, 16);
    t.ui.AnswerNumber(31);
    QueueEditLine(kPointLine, 205);
    t.ui.sensorInputAnswers.push_back(kSensorInputGroup);
    t.ui.AnswerNumber(17);
    QueueCancel();
    Run();

    EXPECT_EQ(s.config.ConfigImage[303], 200);
    EXPECT_EQ(ChangedAddresses(), (std::vector<int>{4096 + 366, 4096 + PointConfigCell(205) + 1}));
    EXPECT_EQ(mem.Get(4096 + 366), 31);
    EXPECT_EQ(mem.Get(4096 + 303), 200);
    EXPECT_EQ(mem.Get(4096 + PointConfigCell(205) + 1), 0xF0);
    // 66 bytes are two write frames, 800 bytes thirteen.
    EXPECT_EQ(port.Panel().Stats().writes, 2 + 13);
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
}

// The rules of a point's type, without a dialog.
TEST(PointTypeRules, ModulesSensorsAndClearing) {
    const PointEntry smoke = PointEntry::Decode(0x1B, 0x45);  // type 1, bit 3, variant 3; zone 6, sensitivity 2
    ASSERT_EQ(smoke.flag, 1);
    const PointEntry cleared = ClearedPoint(smoke);
    EXPECT_EQ(cleared.Byte1(), 0);
    EXPECT_EQ(cleared.Byte2(), smoke.Byte2() & 31);  // only the zone stays

    // A module's function number fills the option bits and bit 3.
    const PointEntry input = AsModule(smoke, false, 13);
    EXPECT_EQ(input.Byte1(), 0xAB);  // type 10, bit 3 (13 >> 3), variant 3 kept
    EXPECT_EQ(input.ModuleFunction(), 13);
    EXPECT_EQ(AsModule(smoke, true, 2).variant, kOutputModuleVariant);
    EXPECT_EQ(AsModule(AsModule(smoke, true, 2), false, 2).variant, 1);  // an output module turned input
    EXPECT_EQ(AsModule(cleared, false, 0).variant, 1);

    // A sensor keeps bit 3; only a module's function writes it.
    const PointEntry heat = AsSensor(smoke, 2, 5, 4);
    EXPECT_EQ(heat.Byte1(), 0x2D);
    EXPECT_EQ(heat.Byte2(), (4 << 5) | 5);

    // What the dialogs offer first.
    EXPECT_EQ(VariantOffered(smoke, 2), 3);
    EXPECT_EQ(VariantOffered(cleared, kTypeManualCallPoint), 2);
    EXPECT_EQ(VariantOffered(cleared, 1), 1);
    EXPECT_EQ(SensitivityOffered(smoke), 2);
    EXPECT_EQ(SensitivityOffered(input), 0);
    EXPECT_EQ(ModuleFunctionOffered(input), 13);
    EXPECT_EQ(ModuleFunctionOffered(smoke), 0);
}

}  // namespace
}  // namespace cfg::test
