// The file link: relay parameters and the two mailbox files, on real files.
#include <fstream>

#include "LinkTestSupport.h"
#include "TestFiles.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "shell/ErrorHandler.h"
#include "shell/RuntimeError.h"

namespace cfg {
namespace {

using test::ReadAll;
using test::WriteAll;

class RelayTest : public ::testing::Test {
protected:
    RelayTest() {
        std::ofstream(t.folder.File("PAR_APP.TMP"), std::ios::binary)
            << "PATH=C:\\RELAY\r\nCODI\r\nCODI=7\r\nBAUD=4800\r\n";
        ReadRelayParameters(s, "cfgvimo/ tw /x", t.folder.Path());
        tx = t.folder.File("fileTX.bin");
        rx = t.folder.File("fileRX.bin");
    }
    // Plays the relay program: takes the tool's frame and answers it.
    void ServeWith(const Bytes& reply) {
        t.ui.onProcessEvents = [this, reply] {
            Bytes out = ReadAll(tx);
            if (out.empty() || out[0] == 0) return;
            frames.emplace_back(out.begin() + 1, out.begin() + 1 + out[0]);
            out[0] = 0;
            WriteAll(tx, out);
            Bytes in{static_cast<uint8_t>(reply.size())};
            in.insert(in.end(), reply.begin(), reply.end());
            WriteAll(rx, in);
        };
    }
    test::TestSession t;
    Session& s = t.s;
    std::string tx, rx;
    std::vector<Bytes> frames;
};

TEST_F(RelayTest, ParametersComeFromTheCommandLineAndParAppTmp) {
    EXPECT_TRUE(s.settings.FileLinkMode);
    EXPECT_EQ(s.settings.RelayPlantCode, "7");
    EXPECT_EQ(s.settings.RelayBaudRate, "4800");
    EXPECT_EQ(s.link.RelayPath, "C:\\RELAY");
    EXPECT_EQ(s.link.MailboxTxPath, tx);
    EXPECT_EQ(s.link.MailboxRxPath, rx);

    test::TestSession other;
    ReadRelayParameters(other.s, "cfgvimo/TW", other.folder.Path());
    EXPECT_FALSE(other.s.settings.FileLinkMode) << "no Par_app.tmp: back to the serial port";
    EXPECT_EQ(other.s.link.LastErrorNumber, 53);
    ReadRelayParameters(other.s, "cfgvimo/TWX", other.folder.Path());
    EXPECT_FALSE(other.s.settings.FileLinkMode);
}

TEST_F(RelayTest, MailboxFilesCarryLengthThenFrame) {
    EXPECT_EQ(OpenPanelPort(s).status, 255);
    EXPECT_EQ(ReadAll(tx), Bytes{0});
    EXPECT_EQ(ReadAll(rx), Bytes{0});

    Bytes longFrame(300, 0x41);
    PutMailbox(s, longFrame);
    Bytes written = ReadAll(tx);
    ASSERT_EQ(written.size(), 301u);
    EXPECT_EQ(written[0], 255) << "the length is capped";

    WriteAll(rx, {3, 7, 8, 9, 99});
    EXPECT_EQ(GetMailbox(s.link), (Bytes{7, 8, 9}));
    EXPECT_EQ(ReadAll(rx)[0], 0) << "marked consumed";
    EXPECT_TRUE(GetMailbox(s.link).empty());
}

// A quiet scope holds for everything inside it: opening the link and
// clearing the relay's files leave it quiet, so a failure after them is
// only recorded.
TEST_F(RelayTest, AQuietScopeStaysQuietAcrossOpeningTheLink) {
    ASSERT_EQ(s.transport, nullptr);
    {
        QuietFileErrors quiet(s);
        EXPECT_TRUE(OpenPanelPort(s).Done());
        EXPECT_TRUE(s.link.QuietErrors);
        s.settings.FileLinkMode = false;  // the serial port, of which there is none
        EXPECT_FALSE(OpenPanelPort(s).Done());
        EXPECT_EQ(s.link.LastErrorNumber, err::kInvalidPort);
    }
    EXPECT_FALSE(s.link.QuietErrors);
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
}

TEST_F(RelayTest, ExchangeRunsThroughTheFilesWithTheRelayPlantCode) {
    (void)OpenPanelPort(s);
    ServeWith(test::PanelFrame(1, 'T', {0, 'O', 22}, false));
    s.link.CommandText = {1, 'T', 0};
    bool header = false;
    EXPECT_EQ(SendCommand(s, 2, 3, true, header), 255);
    EXPECT_EQ(s.link.ReplyData, (Bytes{1, 'T', 0, 'O', 22}));
    Bytes expected;
    ASSERT_TRUE(BuildCommandFrame({1, 'T', 0}, {}, false, 7, expected));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], expected);
}

TEST_F(RelayTest, SilentRelayTimesOutWithLongerPauses) {
    (void)OpenPanelPort(s);
    s.link.CommandText = {1, 'T', 0};
    bool header = false;
    const double start = t.clock.SecondsSinceMidnight();
    EXPECT_EQ(SendCommand(s, 1, 2, true, header), 129);
    const double elapsed = t.clock.SecondsSinceMidnight() - start;
    // Each time-out is followed by half a second of quiet mailbox, which
    // holds the relay's pause of 0.3 s between attempts.
    EXPECT_GT(elapsed, 2 * 1.0 + 2 * 0.5);
    EXPECT_LT(elapsed, 2 * 1.0 + 2 * 0.5 + 0.2);
}

}  // namespace
}  // namespace cfg
