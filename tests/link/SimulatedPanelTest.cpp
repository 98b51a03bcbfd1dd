// The link against the simulated panel, which has its own frame code: a
// whole connection, block round trips, the access code, and the faults the
// panel can be told to show, each ending in the status it should.
#include "LinkTestSupport.h"
#include "link/Connection.h"
#include "link/Link.h"
#include "link/PanelCommands.h"
#include "sim/Faults.h"
#include "sim/loopback/LoopbackTransport.h"

namespace cfg {
namespace {

class SimulatedPanelTest : public ::testing::Test {
protected:
    SimulatedPanelTest() : port(t.clock) {
        s.transport = &port;
        s.settings.PlantCode = "11";
        s.link.PanelAddress = 1;
        port.SetPacing(true);
    }
    void Fault(const std::string& text) {
        vimo::sim::Fault f;
        std::string error;
        ASSERT_TRUE(vimo::sim::ParseFault(text, f, error)) << error;
        port.Panel().AddFault(f);
    }
    // Reads the identification with one "L", 2 s and 3 attempts.
    int ReadIdent() {
        return ReadPanelBlock(s, 57604, 23, 1, s.config.IdentBuffer).status;
    }
    test::TestSession t;
    Session& s = t.s;
    LoopbackTransport port;
};

TEST_F(SimulatedPanelTest, ConnectReadWriteAndLeave) {
    t.ui.AnswerNumber(1);
    ASSERT_EQ(ConnectPanel(s).status, 255);
    EXPECT_TRUE(s.link.PortOpened);
    EXPECT_EQ(s.link.PanelName.substr(0, 8), "VIMO-SYS");
    ASSERT_EQ(EnterProgrammingMode(s).status, 255);
    (void)ReadMemoryMap(s);
    EXPECT_EQ(s.config.AddressDirectory[1], 4096);

    auto& tb = s.config.TransferBuffer;
    for (int i = 1; i <= 130; ++i) tb[i] = static_cast<Cell>((i * 37) & 0xFF);
    ASSERT_EQ(WritePanelBlock(s, 24576, 130, true, 1, tb).status, 255);
    auto& image = s.config.ConfigImage;
    ASSERT_EQ(ReadPanelBlock(s, 24576, 130, 1, image).status, 255);
    for (int i = 1; i <= 130; ++i) ASSERT_EQ(image[i], tb[i]) << i;

    LeaveProgrammingMode(s, true);
    EXPECT_EQ(s.link.LinkStatus, 255);
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
    EXPECT_FALSE(port.Panel().InProgrammingMode());
}

TEST_F(SimulatedPanelTest, AccessCodeAndProgrammingModeRestart) {
    port.Panel().SetAccessCode("4711");
    t.ui.AnswerNumber(4711);
    EXPECT_EQ(EnterProgrammingMode(s).status, 255);
    EXPECT_EQ(t.ui.valueRequests.size(), 1u);

    // The panel drops out of programming mode: the write gets 128, enters it
    // again and completes.
    port.Panel().SetProgrammingMode(false, port.NowMs());
    EXPECT_EQ(WritePanelBlock(s, 24576, 70, true, 1, s.config.TransferBuffer).status, 255);
    EXPECT_TRUE(port.Panel().InProgrammingMode());
}

TEST_F(SimulatedPanelTest, FaultsEndInTheirStatus) {
    const std::pair<const char*, int> cases[] = {
        {"noise=6", 255},          {"drop,times=1", 255},  {"drop", 129},
        {"bad-checksum", 133},     {"other-address", 134}, {"bad-length", 132},
        {"low-byte", 132},         {"slow=7000", 129},     {"slow=2500,times=2", 255},
    };
    // A reply later than the time-out but inside a later attempt's wait is
    // taken for that attempt's: the frames carry no sequence number.
    for (const auto& [fault, expected] : cases) {
        port.Panel().ClearFaults();
        Fault(fault);
        EXPECT_EQ(ReadIdent(), expected) << fault;
    }
    port.Panel().ClearFaults();
    s.settings.PlantCode = "12";
    EXPECT_EQ(ReadIdent(), 129) << "a panel with another plant code stays silent";
}

TEST_F(SimulatedPanelTest, RefusedWrite) {
    Fault("write-refused=130");
    port.Panel().SetProgrammingMode(true, port.NowMs());
    EXPECT_EQ(WritePanelBlock(s, 24576, 4, true, 1, s.config.TransferBuffer).status, 16);
    EXPECT_EQ(t.ui.messages.back().text, "1242");
}

}  // namespace
}  // namespace cfg
