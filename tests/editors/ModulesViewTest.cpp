// The concentrator modules view: kinds and ranges of the directory's slots,
// the " !!" mark against the point configuration, and the detail window on
// the simulated panel (a unit that answers and one that does not).
#include "EditorFixture.h"
#include "editors/ModulesView.h"
#include "loops/LoopTables.h"
#include "sim/loopback/LoopbackTransport.h"

namespace cfg::test {
namespace {

class ModulesTest : public EditorTest {
protected:
    void Slot(int slot, int byte) { s.config.ConfigImage[kModuleDirectoryOffset + slot - 1] = static_cast<Cell>(byte); }
    void Point(int point, int byte1) { s.config.ConfigImage[PointConfigCell(point)] = static_cast<Cell>(byte1); }
    std::string LineOfSlot(int slot) const {
        for (int i = 1; i <= s.screen.LineCount; ++i)
            if (s.screen.Lines[i].rfind(PadSpaces(2, slot) + ":", 0) == 0) {
                std::string l = s.screen.Lines[i];
                while (!l.empty() && l.back() == ' ') l.pop_back();
                return l;
            }
        return {};
    }
};

TEST_F(ModulesTest, SlotBytesDecodeToKindsAndRanges) {
    const ModuleSlot loop = ModuleSlot::Decode(65);
    EXPECT_EQ(loop.kind, ModuleKind::Loop);
    EXPECT_EQ(loop.moduleNumber, 1);
    EXPECT_EQ(ModuleSlot::Decode(16).kind, ModuleKind::None);  // class 0, number 16
    EXPECT_EQ(ModuleSlot::Decode(64 + 5).kind, ModuleKind::None);  // loop modules stop at 4
    const ModuleSlot in2 = ModuleSlot::Decode(128 + 32 + 1);   // class 2, flag, number 1
    EXPECT_EQ(in2.kind, ModuleKind::Input);
    EXPECT_EQ(in2.moduleNumber, 17);
    EXPECT_TRUE(in2.flag);
    EXPECT_EQ(in2.BusAddress(), 129);
    const ModuleSlot in16 = ModuleSlot::Decode(128);  // class 2, number 0: 0 + 16
    EXPECT_EQ(in16.kind, ModuleKind::Input);
    EXPECT_EQ(in16.moduleNumber, 16);
    EXPECT_EQ(in16.FirstPoint(), 121);
    EXPECT_EQ(ModuleSlot::Decode(128 + 15).kind, ModuleKind::Input);
    EXPECT_EQ(ModuleSlot::Decode(128 + 16).kind, ModuleKind::None);  // 16 + 16 is not below 32
    const ModuleSlot out = ModuleSlot::Decode(24);
    EXPECT_EQ(out.kind, ModuleKind::Output);
    EXPECT_EQ(out.FirstPoint(), 185);
    EXPECT_EQ(out.FirstOutput(), 57);
    const ModuleSlot mixed = ModuleSlot::Decode(25);
    EXPECT_EQ(mixed.kind, ModuleKind::Mixed);
    EXPECT_EQ(mixed.FirstOutput(), 65);
}

TEST_F(ModulesTest, ListLinesSummaryAndMark) {
    Slot(1, 65);
    Slot(2, 0);                    // skipped
    Slot(3, 16);                   // no kind
    Slot(4, 32 + 3);               // input concentrator 3: points 17..24
    for (int p = 17; p <= 20; ++p) Point(p, 0xA1);
    Slot(5, 17);                   // output concentrator 17: points 129..136, all free
    BuildModulesScreen(s, PrintMode::Interactive);

    EXPECT_EQ(LineOfSlot(1), " 1: 1138                   1139 A                        1140");
    EXPECT_EQ(LineOfSlot(2), "");
    EXPECT_EQ(LineOfSlot(3), " 3: ???");
    EXPECT_EQ(LineOfSlot(4), " 4: 1123                   1124  3  1125                 1127  17- 24");
    EXPECT_EQ(LineOfSlot(5), " 5: 1128                   1129 17  1131              !! 1132 129-136 [  1-  8]");
    EXPECT_EQ(DescriptorOf(s.screen, 2).field, 0);  // "???" cannot be questioned
    const auto lines = ScreenLines(s.screen);
    EXPECT_EQ(lines.at(5), "1119 4");
    EXPECT_EQ(lines.at(6), "1120 1");
    EXPECT_EQ(lines.at(7), "1121");
    EXPECT_EQ(lines.at(8), "1122");

    BuildModulesScreen(s, PrintMode::LinesOnly);  // the printout has no hint about questioning
    EXPECT_EQ(ScreenLines(s.screen).back(), "1121");
}

TEST_F(ModulesTest, MarkFollowsThePointTypes) {
    auto marked = [this](int slotByte) { return ModuleMismatch(s, ModuleSlot::Decode(slotByte)); };
    EXPECT_TRUE(marked(2));   // points 9..16 all free
    Point(9, 0xA1);
    EXPECT_FALSE(marked(2));  // one input point of eight is enough
    Point(10, 0x11);
    EXPECT_TRUE(marked(2));   // a heat detector inside the range
    Point(10, 0xA2);
    EXPECT_TRUE(marked(2));   // an output point on an input unit
    Point(10, 0);
    Point(193, 0xA2);
    Point(194, 0xA1);
    EXPECT_FALSE(marked(25)); // a mixed unit takes both
    Point(177, 0xA1);
    EXPECT_TRUE(marked(23));  // an input point on an output unit
    EXPECT_FALSE(marked(65)); // loop modules are not checked
}

TEST_F(ModulesTest, AllSlotsEmptyListsNoModule) {
    BuildModulesScreen(s, PrintMode::LinesOnly);
    EXPECT_EQ(ScreenLines(s.screen), (std::vector<std::string>{"", "1119 0", "1120 0"}));
}

TEST_F(ModulesTest, SectionReadsBothBlocksFromTheFileSet) {
    OpenFileSet();  // byte n holds n % 200: slot 1 holds 30, ...
    const PrintMode print = PrintMode::LinesOnly;
    ModulesSection(s, print, 0);
    EXPECT_EQ(s.link.LinkStatus, 255);
    EXPECT_EQ(s.config.ConfigImage[kModuleDirectoryOffset], 30);
    EXPECT_EQ(s.config.ConfigImage[1311], 1311 % 200);
    EXPECT_EQ(LineOfSlot(1).substr(0, 8), " 1: 1133");  // 30: mixed unit
    EXPECT_TRUE(ChangedOffsets().empty());
}

TEST_F(ModulesTest, DetailNeedsThePanel) {
    Slot(1, 3);
    s.config.ConfigSource = ConfigSource::File;
    ShowModuleDetail(s, 1);
    EXPECT_EQ(t.ui.AllMessages(), "1378:1281\r1282|");
    EXPECT_FALSE(t.ui.screenOpen);
}

class ModulesPanelTest : public ModulesTest {
protected:
    LoopbackTransport port{t.clock};
    ModulesPanelTest() {
        s.transport = &port;
        s.link.PanelAddress = static_cast<int16_t>(port.Panel().Address());
        s.settings.PlantCode = std::to_string(port.Panel().PlantCode());
        s.config.ConfigSource = ConfigSource::Panel;
        // As a configuration opened from the panel leaves it: the units
        // answer only in programming mode.
        port.Panel().SetProgrammingMode(true, 0);
        // The window is closed once the state has been shown.
        t.ui.onProcessEvents = [this] {
            for (const auto& w : t.ui.screenWrites)
                if (w.find("0523") != std::string::npos) s.events.ScreenDismissed = true;
            if (t.ui.processEventsCalls > 20000) s.events.ScreenDismissed = true;
        };
    }
    bool Wrote(const std::string& text) const {
        for (const auto& w : t.ui.screenWrites)
            if (w.find(text) != std::string::npos) return true;
        return false;
    }
};

TEST_F(ModulesPanelTest, AnAnsweringUnitShowsItsState) {
    Slot(1, 32 + 3);
    ShowModuleDetail(s, 1);
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
    EXPECT_TRUE(Wrote("[open] 0494"));
    EXPECT_TRUE(Wrote("0496"));
    EXPECT_TRUE(Wrote("1123  (CI-8 ingressi)"));
    EXPECT_TRUE(Wrote("2.03"));
    EXPECT_TRUE(Wrote("M003"));
    EXPECT_TRUE(Wrote("0501"));
    EXPECT_TRUE(Wrote("0509   "));  // input 2 in alarm
    EXPECT_TRUE(Wrote("0512   "));  // input 8 disabled
    EXPECT_FALSE(Wrote("0513"));     // no outputs on an input unit
    EXPECT_FALSE(t.ui.screenOpen);
}

TEST_F(ModulesPanelTest, AUnitThatDoesNotAnswerReportsAndCloses) {
    Slot(1, 25);  // declared, not fitted
    ShowModuleDetail(s, 1);
    EXPECT_EQ(t.ui.AllMessages(), "1378:1288|");
    EXPECT_FALSE(t.ui.screenOpen);
    EXPECT_FALSE(Wrote("0496"));
}

TEST_F(ModulesPanelTest, ALoopModuleShowsModelAndVersion) {
    Slot(1, 65);
    ShowModuleDetail(s, 1);
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
    EXPECT_TRUE(Wrote("1139  (LM-200/A)"));
    EXPECT_TRUE(Wrote("1.07"));
}

}  // namespace
}  // namespace cfg::test
