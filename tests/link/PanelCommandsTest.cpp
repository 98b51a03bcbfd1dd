// Block transfers and the other panel commands against the test panel.
#include "LinkTestSupport.h"
#include "transfer/Blocks.h"
#include "link/Connection.h"
#include "link/PanelCommands.h"

namespace cfg {
namespace {

using test::SentCommand;

class PanelCommandsTest : public test::LinkTest {
protected:
    std::vector<SentCommand> Sent(char letter) const {
        std::vector<SentCommand> out;
        for (const auto& c : panel.received)
            if (c.letter == letter) out.push_back(c);
        return out;
    }
};

TEST_F(PanelCommandsTest, ReadOf130BytesGoesIn64ByteChunks) {
    for (int i = 0; i < 130; ++i) panel.memory[0x1065 + i] = static_cast<uint8_t>(i * 7);
    auto& image = s.config.ConfigImage;
    EXPECT_EQ(ReadPanelBlock(s, 0x1065, 130, 10, image).status, 255);
    auto reads = Sent('L');
    ASSERT_EQ(reads.size(), 3u);
    EXPECT_EQ(reads[0].params, (Bytes{0, 5, 6, 0, 1, 64}));
    EXPECT_EQ(reads[1].params, (Bytes{0, 5, 10, 0, 1, 64}));  // 0x10A5
    EXPECT_EQ(reads[2].params, (Bytes{0, 5, 14, 0, 1, 2}));   // 0x10E5
    EXPECT_TRUE(reads[0].longForm);
    for (int i = 0; i < 130; ++i) ASSERT_EQ(image[10 + i], (i * 7) & 0xFF) << i;
    EXPECT_EQ(ui.progressMax, 130);
    EXPECT_EQ(ui.progressValue, 130);
    ASSERT_GE(ui.statusHistory.size(), 3u);
    EXPECT_EQ(ui.statusHistory[2], "1368 1369 10A5");
    EXPECT_FALSE(port.IsOpen()) << "a block operation never leaves the port open";
    EXPECT_TRUE(s.link.ReplyData.empty());
    EXPECT_TRUE(s.link.CommandText.empty());

    EXPECT_EQ(ReadPanelBlock(s, 0x1065, 0, 10, image).status, 255);
    EXPECT_EQ(Sent('L').size(), 3u) << "count 0 sends nothing";
}

TEST_F(PanelCommandsTest, ReadRefusalsAndTheAccessCode) {
    auto& buf = s.config.IdentBuffer;
    panel.answers['L'] = {80};
    ui.AnswerNumber(1234);
    EXPECT_EQ(ReadPanelBlock(s, 100, 4, 1, buf).status, 255);
    auto reads = Sent('L');
    ASSERT_EQ(reads.size(), 2u) << "the same block once more";
    EXPECT_EQ(reads[1].header, (Bytes{4, 1 + 32, 3 + 64}));

    panel.answers['L'] = {80, 80};
    ui.AnswerNumber(99);
    EXPECT_EQ(ReadPanelBlock(s, 100, 4, 1, buf).status, 16);
    EXPECT_EQ(ui.messages.back().text, "1372\r1373");
    EXPECT_EQ(ui.valueRequests.size(), 2u) << "asked once per request";

    panel.answers['L'] = {80};
    ui.Cancel();
    const auto shown = ui.messages.size();
    EXPECT_EQ(ReadPanelBlock(s, 100, 4, 1, buf).status, 16);
    EXPECT_EQ(ui.messages.size(), shown) << "no code given, nothing more to say";

    panel.answers['L'] = {130};
    EXPECT_EQ(ReadPanelBlock(s, 100, 4, 1, buf).status, 16);
    EXPECT_EQ(ui.messages.back().text, "1374");

    panel.answers['L'] = {-1, -1, -1};
    EXPECT_EQ(ReadPanelBlock(s, 100, 4, 1, buf).status, 129);
    EXPECT_EQ(ui.messages.back().text, "1381\r1382");
}

TEST_F(PanelCommandsTest, ReadReplyOfTheWrongLengthIsRefused) {
    port.responder = nullptr;
    port.replies.push_back({{0.01, test::PanelFrame(1, 'L', {0, 143, 1, 2, 3}, true)}});
    EXPECT_EQ(ReadPanelBlock(s, 100, 2, 1, s.config.IdentBuffer).status, 16);
    EXPECT_EQ(ui.messages.back().text, "1374");
}

TEST_F(PanelCommandsTest, WriteChunksDigitsAndRestartsAfter128) {
    auto& tb = s.config.TransferBuffer;
    for (int i = 1; i <= 130; ++i) tb[i] = static_cast<Cell>(i == 1 ? 0xAB : i);
    panel.answers['J'] = {143, 128};
    EXPECT_EQ(WritePanelBlock(s, 4096, 130, true, 1, tb).status, 255);
    std::string order;
    for (const auto& c : panel.received) order += c.letter;
    EXPECT_EQ(order, "JJCJJJ") << "programming mode again, then from the first block";
    auto writes = Sent('J');
    EXPECT_EQ(writes[0].params[5], 64);
    EXPECT_EQ(writes[0].params[6], 11);
    EXPECT_EQ(writes[0].params[7], 10);
    EXPECT_EQ(writes.back().params[5], 2);
    EXPECT_EQ(Sent('C')[0].params, (Bytes{0, 20}));
    EXPECT_EQ(panel.memory[4096], 0xAB);
    EXPECT_EQ(panel.memory[4096 + 129], 130);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(PanelCommandsTest, WriteRefusals) {
    auto& tb = s.config.TransferBuffer;
    const std::pair<int, std::string> cases[] = {{129, "1241"}, {130, "1242"}, {77, "1380"}};
    for (const auto& [answer, text] : cases) {
        panel.answers['J'] = {answer};
        EXPECT_EQ(WritePanelBlock(s, 4096, 10, true, 1, tb).status, 16);
        EXPECT_EQ(ui.messages.back().text, text);
    }
    // Programming mode refused: the write stops with that refusal.
    panel.answers['J'] = {128};
    panel.answers['C'] = {'D'};
    EXPECT_NE(WritePanelBlock(s, 4096, 10, true, 1, tb).status, 255);
    EXPECT_EQ(ui.messages.back().text, "1335\r1336");
    // A panel that keeps saying 128 does not keep the tool busy for ever.
    panel.answers['J'] = std::deque<int>(10, 128);
    EXPECT_NE(WritePanelBlock(s, 4096, 10, true, 1, tb).status, 255);
    // Without a reply nothing is checked.
    panel.answers['J'] = {-1};
    EXPECT_EQ(WritePanelBlock(s, 4096, 10, false, 1, tb).status, 255);
}

TEST_F(PanelCommandsTest, MemoryMapIsReadOnce) {
    panel.memory[49152] = 0x10;
    panel.memory[49153] = 0x00;
    panel.memory[49152 + 46] = 0xE1;
    panel.memory[49152 + 47] = 0x04;
    (void)ReadMemoryMap(s);
    EXPECT_EQ(s.config.AddressDirectory[1], 4096);
    EXPECT_EQ(s.config.AddressDirectory[24], 57604);
    EXPECT_EQ(s.config.AddressDirectory[50], 255);
    (void)ReadMemoryMap(s);
    EXPECT_EQ(Sent('L').size(), 1u);

    s.config.AddressDirectory[50] = 0;
    panel.answers['L'] = {-1, -1, -1};
    (void)ReadMemoryMap(s);
    EXPECT_NE(s.config.AddressDirectory[50], 255);
}

TEST_F(PanelCommandsTest, LoopCommandBufferGoesOutAndComesBack) {
    auto& buf = s.link.LoopCommand;
    s.link.LoopNumber = 2;
    buf[1] = 1;
    EXPECT_EQ(SendLoopCommand(s, true).status, 0);
    EXPECT_TRUE(panel.received.empty()) << "fewer than two values send nothing";

    buf[1] = 2;
    buf[2] = 11;
    buf[3] = 0x25;
    panel.loopReply = {1, 0, 15, 15};
    EXPECT_EQ(SendLoopCommand(s, true).status, 255);
    ASSERT_EQ(panel.received.size(), 1u);
    EXPECT_FALSE(panel.received[0].longForm);
    EXPECT_EQ(panel.received[0].params, (Bytes{0, 66, 11, 5, 2}));
    EXPECT_EQ(buf[1], 2);
    EXPECT_EQ(buf[2], 1);
    EXPECT_EQ(buf[3], 255);

    const std::pair<int, std::string> cases[] = {
        {80, "1286"}, {128, "1287"}, {129, "1288"}, {130, "1289"}, {7, "1290"}};
    for (const auto& [answer, text] : cases) {
        buf[1] = 2;
        panel.answers['X'] = {answer};
        EXPECT_EQ(SendLoopCommand(s, true).status, 0);
        EXPECT_EQ(ui.messages.back().text, text);
    }
    const auto shown = ui.messages.size();
    buf[1] = 2;
    panel.answers['X'] = {80};
    (void)SendLoopCommand(s, false);
    EXPECT_EQ(ui.messages.size(), shown);
}

TEST_F(PanelCommandsTest, PanelClockReadAndSetFromThePc) {
    PanelClockText c;
    EXPECT_EQ(ReadPanelClock(s, c).status, 255);
    EXPECT_EQ(c.weekday + " " + c.day + "/" + c.month + "/" + c.year + " " + c.hours + ":" + c.minutes + ":" +
                  c.seconds,
              "035 24/12/05  9:15:30");

    t.clock.SetTime(13 * 3600 + 4 * 60 + 5);
    t.clock.SetDate(1999, 8, 7, 6);
    EXPECT_TRUE(SetPanelClockFromPc(s).Done());
    auto h = Sent('H');
    ASSERT_EQ(h.size(), 1u);
    EXPECT_FALSE(h[0].longForm);
    EXPECT_EQ(h[0].params, (Bytes{0, 5, 4, 13, 6, 7, 8, 99}));
    EXPECT_EQ(PanelYear(2000), 0);
    EXPECT_EQ(PanelYear(2079), 79);
    EXPECT_EQ(PanelYear(2100), 0);
    EXPECT_EQ(PanelYear(1899), 0);
}

TEST_F(PanelCommandsTest, BlockEntryPointsFollowTheSource) {
    auto& image = s.config.ConfigImage;
    s.config.ConfigSource = ConfigSource::None;
    EXPECT_EQ(ReadBlock(s, 21, 20, ".CY2", 21, image).status, 240);
    EXPECT_EQ(WriteBlock(s, 21, 20, ".CY2", s.config.TransferBuffer).status, 240);

    s.config.ConfigSource = ConfigSource::Panel;
    panel.memory[4096 + 21] = 42;
    ASSERT_TRUE(ReadBlock(s, 4096 + 21, 1, ".CY2", 21, image).Done());
    EXPECT_EQ(image[21], 42);
    s.config.TransferBuffer[1] = 43;
    s.config.DateStamped = true;
    EXPECT_EQ(WriteBlock(s, 4096 + 21, 1, ".CY2", s.config.TransferBuffer).status, 255);
    EXPECT_EQ(panel.memory[4096 + 21], 43);
    EXPECT_FALSE(s.config.DateStamped);
}

}  // namespace
}  // namespace cfg
