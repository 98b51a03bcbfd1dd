// Times and options edited on a connected panel (the in-process simulator):
// the blocks come from 4096 + offset and a change writes one byte there.
#include "EditorFixture.h"
#include "editors/OptionsEditor.h"
#include "editors/TimesEditor.h"
#include "sim/loopback/LoopbackTransport.h"

namespace cfg::test {
namespace {

class PanelEditTest : public EditorTest {
protected:
    LoopbackTransport port{t.clock};
    vimo::sim::Memory& mem = port.Panel().Mem();
    std::vector<uint8_t> before;

    PanelEditTest() {
        s.transport = &port;
        s.link.PanelAddress = static_cast<int16_t>(port.Panel().Address());
        s.settings.PlantCode = std::to_string(port.Panel().PlantCode());
        s.config.ConfigSource = ConfigSource::Panel;
        port.Panel().SetProgrammingMode(true, 0);
    }
    void Snapshot() { before = mem.Read(0, vimo::sim::kMemorySize); }
    // Addresses whose byte changed, leaving out the live readings and the
    // recorded minimum/maximum (7168..8767) that move by themselves.
    std::vector<int> ChangedAddresses() const {
        std::vector<int> changed;
        for (std::size_t a = 0; a < before.size(); ++a)
            if ((a < 7168 || a > 8767) && mem.Get(a) != before[a]) changed.push_back(static_cast<int>(a));
        return changed;
    }
};

TEST_F(PanelEditTest, ATimeIsReadAndWrittenAt4096PlusItsCell) {
    mem.Set(4096 + 27, 10);
    mem.Set(4096 + 21, 77);  // first byte of the block, not shown
    Snapshot();
    QueueEditOf("1088");
    t.ui.AnswerNumber(45);
    QueueCancel();
    const PrintMode print = PrintMode::Interactive;
    TimesSection(s, print, 0);

    EXPECT_EQ(s.config.ConfigImage[21], 77);  // the whole block landed at cell = offset
    EXPECT_EQ(ChangedAddresses(), (std::vector<int>{4096 + 27}));
    EXPECT_EQ(mem.Get(4096 + 27), 45);
    EXPECT_EQ(port.Panel().Stats().writes, 1);
    EXPECT_EQ(t.ui.AllMessages(), "");
    EXPECT_TRUE(s.config.DateStamped);  // the panel keeps its own date: read back only
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
}

TEST_F(PanelEditTest, AnOptionIsWrittenAt4096PlusItsCell) {
    mem.Set(4096 + 41 + 20, 0);
    Snapshot();
    QueueEditOf("0937");
    t.ui.choiceAnswers.push_back(1);
    QueueCancel();
    const PrintMode print = PrintMode::Interactive;
    OptionsSection(s, print, 0);

    EXPECT_EQ(ChangedAddresses(), (std::vector<int>{4096 + 41 + 20}));
    EXPECT_EQ(mem.Get(4096 + 61), 1);
    EXPECT_EQ(port.Panel().Stats().writes, 1);
    EXPECT_NE(t.ui.listLines.at(LineOf("0937") - 1).find("0939"), std::string::npos);
}

}  // namespace
}  // namespace cfg::test
