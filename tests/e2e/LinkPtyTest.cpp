// The link over a real pseudo-terminal: SerialTransport (QSerialPort) on the
// tool's side, vimo-sim on the other, on the real clock.
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include "TestSession.h"
#include "SimPort.h"
#include "transfer/Blocks.h"
#include "link/Connection.h"
#include "link/PanelCommands.h"
#include "platform/SerialTransport.h"
#include "shell/Clock.h"

namespace cfg {
namespace {

// A vimo-sim child serving a pty; killed when the test ends.
class SimProcess {
public:
    explicit SimProcess(QStringList extra = {}) {
        QStringList args{"--pty", "--factory", "--address", "1", "--plant-code", "11"};
        args += extra;
        sim_.setProgram(QStringLiteral(CFG_BIN_DIR "/vimo-sim"));
        sim_.setArguments(args);
        sim_.start();
        if (!sim_.waitForStarted(5000)) return;
        while (!sim_.canReadLine() && sim_.waitForReadyRead(5000)) {
        }
        path_ = QString::fromLocal8Bit(sim_.readLine()).trimmed().toStdString();
    }
    ~SimProcess() {
        sim_.kill();
        sim_.waitForFinished(5000);
    }
    const std::string& Path() const { return path_; }

private:
    QProcess sim_;
    std::string path_;
};

class LinkPtyTest : public ::testing::Test {
protected:
    LinkPtyTest() {
        s.clock = &clock;  // real time: the far end is a real process
        s.transport = &port;
        s.settings.PlantCode = "11";
        s.settings.BaudRate = "9600";
    }
    void Use(const SimProcess& sim) {
        ASSERT_FALSE(sim.Path().empty()) << "vimo-sim did not start";
        s.settings.CommPortName = sim.Path();
    }
    test::TestSession t;
    Session& s = t.s;
    SystemClock clock;
    SerialTransport port;
};

TEST_F(LinkPtyTest, ConnectReadAndWriteOverThePty) {
    CFG_NEEDS_SIM_PORT();
    SimProcess sim;
    Use(sim);
    t.ui.AnswerNumber(1);
    ASSERT_EQ(ConnectPanel(s).status, 255) << t.ui.AllMessages();
    EXPECT_TRUE(s.link.PortOpened);
    EXPECT_EQ(s.link.PanelModel, 22);
    EXPECT_GE(s.link.PanelVersion, 1.0);

    ASSERT_EQ(EnterProgrammingMode(s).status, 255) << t.ui.AllMessages();

    auto& image = s.config.ConfigImage;
    ASSERT_EQ(ReadPanelBlock(s, 4096, 130, 0, image).status, 255) << t.ui.AllMessages();

    auto& tb = s.config.TransferBuffer;
    const std::string text = "PTY ROUND TRIP  ";
    for (int i = 0; i < 16; ++i) tb[i + 1] = static_cast<Cell>(text[static_cast<std::size_t>(i)]);
    EXPECT_EQ(WriteBlock(s, 24576, 16, ".MY2", tb).status, 240);  // ConfigSource is not the panel yet
    s.config.ConfigSource = ConfigSource::Panel;
    ASSERT_EQ(WriteBlock(s, 24576, 16, ".MY2", tb).status, 255) << t.ui.AllMessages();
    ASSERT_EQ(ReadPanelBlock(s, 24576, 16, 5000, image).status, 255);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(image[5000 + i], tb[i + 1]) << i;

    LeaveProgrammingMode(s, true);
    EXPECT_EQ(s.link.LinkStatus, 255);
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(LinkPtyTest, DamagedRepliesEndInTheirStatus) {
    CFG_NEEDS_SIM_PORT();
    SimProcess sim({"--fault", "bad-checksum"});
    Use(sim);
    s.link.PanelAddress = 1;
    EXPECT_EQ(ReadPanelBlock(s, 57604, 23, 1, s.config.IdentBuffer).status, 133);
    EXPECT_EQ(t.ui.messages.back().text, "1385\r1529\r1386 85H");
}

TEST(SerialTransportTest, MissingPortIsReported) {
    SerialTransport port;
    PortSettings ps;
    ps.portName = "/dev/cfg-no-such-port";
    EXPECT_EQ(port.Open(ps), 8002);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(port.Read(0).empty());
#ifdef _WIN32
    ps.portName = "COM231";
    EXPECT_EQ(port.Open(ps), 8002);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.WaitForInput(5));
    EXPECT_EQ(port.Write({1, 2, 3}), 57);
#endif
}

}  // namespace
}  // namespace cfg
