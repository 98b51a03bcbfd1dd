// Ports given by name, network port names and the trace switch.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestSession.h"
#include "shell/ErrorHandler.h"
#include "shell/LinkSettings.h"
#include "shell/RuntimeError.h"
#include "shell/Settings.h"

namespace cfg::test {
namespace {

TEST(NetworkPortNameTest, SplitsHostAndPort) {
    std::string host;
    uint16_t port = 0;
    ASSERT_TRUE(ParseNetworkPortName("tcp://192.168.1.50:4001", host, port));
    EXPECT_EQ(host, "192.168.1.50");
    EXPECT_EQ(port, 4001);
    ASSERT_TRUE(ParseNetworkPortName("  TCP://panel-gw.site_3.example:65535 ", host, port));
    EXPECT_EQ(host, "panel-gw.site_3.example");
    EXPECT_EQ(port, 65535);
    ASSERT_TRUE(ParseNetworkPortName("tcp://[fe80::1]:23", host, port));
    EXPECT_EQ(host, "fe80::1");
    EXPECT_EQ(port, 23);
}

TEST(NetworkPortNameTest, RefusesWhatIsNoAddress) {
    std::string host = "unchanged";
    uint16_t port = 7;
    for (const char* bad : {"tcp://", "tcp://host", "tcp://host:", "tcp://:4001", "tcp://host:0", "tcp://host:65536",
                            "tcp://host:40x1", "tcp://host:4001/x", "tcp://a:b:4001", "tcp://ho st:4001",
                            "tcp://[::1]4001", "tcp://[zz]:4001", "tcp://host:123456", "udp://host:4001", "COM3",
                            "/tmp/vimo"})
        EXPECT_FALSE(ParseNetworkPortName(bad, host, port)) << bad;
    EXPECT_EQ(host, "unchanged");
    EXPECT_EQ(port, 7);
    EXPECT_TRUE(IsNetworkPortName("Tcp://x"));
    EXPECT_FALSE(IsNetworkPortName("/dev/ttyUSB0"));
}

TEST(PortErrorTest, NetworkErrorsNameThePort) {
    TestSession t;
    t.s.settings.CommPortName = "tcp://10.0.0.9:4001";
    t.s.link.QuietErrors = false;
    HandleRuntimeError(t.s, err::kConnectionLost, "");
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].title, "1960");
    EXPECT_EQ(t.ui.messages[0].text, "1965 tcp://10.0.0.9:40011966");
    EXPECT_EQ(t.s.link.LastErrorNumber, err::kConnectionLost);

    // The serial port's own messages are unchanged.
    t.ui.messages.clear();
    HandleRuntimeError(t.s, err::kInvalidPort, "");
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].title, "1391");
    EXPECT_EQ(t.ui.messages[0].text, "1389 tcp://10.0.0.9:40011390");
}

class OtherPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.s.settings.CommPortName = "COM1";
        t.s.settings.BaudRate = "4800";
        t.s.settings.ParityName = "E";
    }
    std::string SavedPort() { return GetProfileString(SettingsFilePath(t.s), "startup", "Serial", "none"); }

    TestSession t;
    std::vector<PortSettings> probed;
};

TEST_F(OtherPortTest, KeepsANameOnlyOnceItOpens) {
    t.ui.AnswerText("  /tmp/missing ");
    t.ui.AnswerText("tcp://gw:4001");
    t.ui.AnswerText("/tmp/vimo");
    std::vector<int> results = {err::kInvalidPort, err::kConnectionFailed, 0};
    const bool changed = ChooseOtherPort(t.s, [&](const PortSettings& ps) {
        probed.push_back(ps);
        const int rc = results.front();
        results.erase(results.begin());
        return rc;
    });
    EXPECT_TRUE(changed);
    ASSERT_EQ(probed.size(), 3u);
    EXPECT_EQ(probed[0].portName, "/tmp/missing");
    EXPECT_EQ(probed[2].baud, 4800);
    EXPECT_EQ(probed[2].parity, 'N');  // a port choice means 8/N/1
    // Each failure said why, with the name typed; the next question started
    // from it.
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[0].text, "1389 /tmp/missing1390");
    EXPECT_EQ(t.ui.messages[1].title, "1960");
    EXPECT_EQ(t.ui.messages[1].text, "1963 tcp://gw:40011964");
    ASSERT_EQ(t.ui.valueRequests.size(), 3u);
    EXPECT_EQ(t.ui.valueRequests[0].initialText, "COM1");
    EXPECT_EQ(t.ui.valueRequests[2].initialText, "tcp://gw:4001");
    EXPECT_EQ(t.ui.valueRequests[0].kind, 2);
    EXPECT_EQ(t.ui.valueRequests[0].title, "1967");
    EXPECT_EQ(t.s.settings.CommPortName, "/tmp/vimo");
    EXPECT_EQ(t.s.settings.ParityName, "N");
    EXPECT_EQ(SavedPort(), "/tmp/vimo");
}

TEST_F(OtherPortTest, CancelOrEmptyChangesNothing) {
    t.ui.AnswerText("/dev/ttyUSB3");
    t.ui.Cancel();
    t.ui.AnswerText("   ");
    auto failing = [&](const PortSettings& ps) {
        probed.push_back(ps);
        return static_cast<int>(err::kPortAlreadyOpen);
    };
    EXPECT_FALSE(ChooseOtherPort(t.s, failing));
    EXPECT_EQ(t.ui.messages.size(), 1u);
    EXPECT_FALSE(ChooseOtherPort(t.s, failing));
    EXPECT_EQ(probed.size(), 1u);
    EXPECT_EQ(t.s.settings.CommPortName, "COM1");
    EXPECT_EQ(t.s.settings.ParityName, "E");
    EXPECT_EQ(SavedPort(), "none");
}

TEST(TraceSwitchTest, OnWritesBesideTheSettingsOffSaysWhere) {
    TestSession t;
    EXPECT_FALSE(TraceOn(t.s.link));
    const std::string path = TraceFilePath(t.s);
    EXPECT_EQ(std::filesystem::path(path).parent_path(), std::filesystem::path(SettingsFilePath(t.s)).parent_path());
    std::ofstream(path) << "earlier trace\n";

    EXPECT_TRUE(SwitchTrace(t.s, true));
    EXPECT_TRUE(TraceOn(t.s.link));
    EXPECT_EQ(t.s.link.TraceFile, path);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, "1970\r" + path);

    EXPECT_FALSE(SwitchTrace(t.s, false));
    EXPECT_FALSE(TraceOn(t.s.link));
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[1].text, "1971\r" + path);
    // What an earlier run wrote is kept.
    std::ifstream in(path);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "earlier trace");
}

TEST(TraceSwitchTest, AFileThatCannotBeWrittenLeavesItOff) {
    TestSession t;
    std::filesystem::create_directory(TraceFilePath(t.s));  // a folder in the file's place
    EXPECT_FALSE(SwitchTrace(t.s, true));
    EXPECT_FALSE(TraceOn(t.s.link));
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, "1972\r" + TraceFilePath(t.s));
    EXPECT_EQ(t.ui.messages[0].icon, MsgIcon::Critical);
}

}  // namespace
}  // namespace cfg::test
