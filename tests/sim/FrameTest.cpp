// The panel's frame layer against frames written out byte by byte here, so
// that the simulator is checked against the wire format itself rather than
// against any encoder.
#include <gtest/gtest.h>

#include "sim/Panel.h"
#include "sim/Wire.h"

namespace vimo::sim {
namespace {

using Bytes = std::vector<uint8_t>;

// "T" to panel 1, plant code 0, short form:
// STX, 1+32, 'T', 0+32, checksum of (33 + 84 + 32) + 0 + 5 = 154 -> 0, 154.
const Bytes kIdentifyShort = {0x02, 33, 'T', 32, 32, 154 + 32 - 0, 0x0D};

TEST(FrameTest, HandWrittenFramesMatchTheBuilder) {
    EXPECT_EQ(BuildToolFrame(1, 'T', Bytes{0}, 0, false), kIdentifyShort);
    // Long form with an empty header: SOH, length n + 6 + 32 with n = 1,
    // inner STX; checksum over 39 + 2 + 33 + 84 + 32 = 190, + 5 = 195.
    const Bytes longT = {0x01, 39, 0x02, 33, 'T', 32, 32, 195 + 32, 0x0D};
    EXPECT_EQ(BuildToolFrame(1, 'T', Bytes{0}, 0, true), longT);
    // Address 0 travels as 0x00; a parameter 223 as 255.
    const Bytes any = BuildToolFrame(0, 'L', Bytes{223}, 0, false);
    EXPECT_EQ(any[1], 0x00);
    EXPECT_EQ(any[3], 255);
}

TEST(FrameTest, ChecksumCarriesThePlantCode) {
    ToolFrame f;
    EXPECT_EQ(ParseToolFrame(kIdentifyShort, 0, f), FrameFault::kNone);
    EXPECT_EQ(f.address, 1);
    EXPECT_EQ(f.letter, 'T');
    EXPECT_EQ(ParseToolFrame(kIdentifyShort, 7, f), FrameFault::kBadChecksum);
    // The same command for plant 7: total 161.
    const Bytes plant7 = {0x02, 33, 'T', 32, 32, 161 + 32, 0x0D};
    EXPECT_EQ(ParseToolFrame(plant7, 7, f), FrameFault::kNone);
    // Plant code 70 brings the total to 149 + 70 + 5 = 224: digits 1, 0.
    const Bytes big = BuildToolFrame(1, 'T', Bytes{0}, 70, false);
    EXPECT_EQ(big[4], 33);
    EXPECT_EQ(big[5], 32);
}

TEST(FrameTest, DamagedFramesAreRecognised) {
    ToolFrame f;
    Bytes lowByte = kIdentifyShort;
    lowByte[3] = 0x1F;
    lowByte[5] = static_cast<uint8_t>(lowByte[5] - 1);  // keep the sum right
    EXPECT_EQ(ParseToolFrame(lowByte, 0, f), FrameFault::kBadByte);
    Bytes longT = BuildToolFrame(1, 'T', Bytes{0}, 0, true, Bytes{3, 0x21, 3});
    longT[1] = static_cast<uint8_t>(longT[1] + 1);
    EXPECT_EQ(ParseToolFrame(longT, 0, f), FrameFault::kBadLength);
    EXPECT_EQ(ParseToolFrame(Bytes{0x02, 33, 0x0D}, 0, f), FrameFault::kNoStart);
}

TEST(FrameTest, ScannerSkipsNoiseAndSplitsFrames) {
    FrameScanner scanner;
    std::vector<FrameScanner::Result> out;
    Bytes stream = {0xFF, 0x55, 0x20};
    stream.insert(stream.end(), kIdentifyShort.begin(), kIdentifyShort.end());
    const Bytes header = {3, 0x21, 3};
    const Bytes longL = BuildToolFrame(1, 'L', Bytes{0, 4, 0, 1, 14, 23}, 0, true, header);
    stream.insert(stream.end(), longL.begin(), longL.end());
    // Fed in two pieces that cut a frame in the middle.
    scanner.Push(std::span<const uint8_t>(stream).first(5), 0, out);
    EXPECT_TRUE(out.empty());
    scanner.Push(std::span<const uint8_t>(stream).subspan(5), 0, out);
    ASSERT_EQ(out.size(), 2u);
    ASSERT_TRUE(out[0].frame);
    EXPECT_EQ(out[0].frame->letter, 'T');
    ASSERT_TRUE(out[1].frame);
    EXPECT_TRUE(out[1].frame->longForm);
    EXPECT_EQ(out[1].frame->header, header);
    EXPECT_EQ(out[1].frame->params, (Bytes{0, 4, 0, 1, 14, 23}));
}

TEST(FrameTest, RepliesFollowTheWireFormat) {
    // Reply of panel 1 to "C": data 1, 'C', 0, 'O' -> STX 33 'C' 32 111,
    // sum 33 + 67 + 32 + 111 = 243 -> digits 1, 19.
    const Bytes expected = {0x02, 33, 'C', 32, 111, 33, 32 + 19, 0x0D};
    EXPECT_EQ(BuildReply(1, 'C', Bytes{0, 'O'}, false), expected);
    const Bytes longReply = BuildReply(1, 'C', Bytes{0, 'O'}, true);
    ASSERT_EQ(longReply.size(), expected.size() + 2);
    EXPECT_EQ(longReply[0], 0x01);
    EXPECT_EQ(longReply[1], 32 + 8);  // length byte through the low checksum digit
    const auto parsed = ParsePanelReply(longReply);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->values, (Bytes{0, 'O'}));
}

TEST(FrameTest, AccessCodeEncoding) {
    // 123: three digits, 1 + 16 x 2, then 3 alone.
    EXPECT_EQ(EncodeAccessCode("123"), (Bytes{3, 33, 3}));
    // Zeros count as 10.
    EXPECT_EQ(EncodeAccessCode("1000"), (Bytes{4, 1 + 160, 10 + 160}));
    EXPECT_TRUE(EncodeAccessCode("").empty());
    EXPECT_TRUE(EncodeAccessCode("12a").empty());
}

}  // namespace
}  // namespace vimo::sim

namespace vimo::sim {
namespace {

// Random and mutated input never upsets the panel: it answers a good frame
// afterwards, and every reply it gave on the way is a well-formed frame.
TEST(FrameTest, GarbageAndMutatedFramesAreSurvived) {
    Panel panel;
    panel.SetProgrammingMode(true, 0);
    Rng rng(99);
    const std::vector<Bytes> seeds = {
        BuildToolFrame(1, 'L', Bytes{0, 4, 0, 1, 14, 23}, 11, true),
        BuildToolFrame(1, 'J', Bytes{0, 5, 1, 0, 1, 2, 1, 2, 3, 4}, 11, true),
        BuildToolFrame(1, 'X', Bytes{0, 65, 11, 1, 0}, 11, false),
        BuildToolFrame(1, 'H', Bytes{0, 1, 2, 3, 4, 5, 6, 7}, 11, true),
        BuildToolFrame(1, 'C', Bytes{0, 20}, 11, true),
    };
    int64_t now = 0;
    for (int round = 0; round < 5000; ++round) {
        Bytes b = seeds[static_cast<std::size_t>(rng.Below(static_cast<int>(seeds.size())))];
        const int edits = 1 + rng.Below(3);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = static_cast<std::size_t>(rng.Below(static_cast<int>(b.size())));
            switch (rng.Below(3)) {
                case 0: b[at] = static_cast<uint8_t>(rng.Below(256)); break;
                case 1: b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), static_cast<uint8_t>(rng.Below(256))); break;
                default: if (b.size() > 1) b.erase(b.begin() + static_cast<std::ptrdiff_t>(at)); break;
            }
        }
        panel.Feed(b, now += 7);
        const Bytes out = panel.TakeOutput(now);
        if (!out.empty()) {
            // Replies never run together: each ends with its CR.
            std::size_t start = 0;
            for (std::size_t i = 0; i < out.size(); ++i) {
                if (out[i] != 0x0D) continue;
                EXPECT_TRUE(ParsePanelReply(std::span<const uint8_t>(out).subspan(start, i + 1 - start)));
                start = i + 1;
            }
            EXPECT_EQ(start, out.size());
        }
    }
    // A mutated "J" may have moved the panel's own address or plant code:
    // put them back before the final check.
    panel.SetAddress(1);
    panel.SetPlantCode(11);
    panel.ResetLine();
    panel.Feed(BuildToolFrame(1, 'T', Bytes{0}, 11, true), ++now);
    EXPECT_TRUE(ParsePanelReply(panel.TakeOutput(now)));
    EXPECT_GT(panel.Stats().badFrames, 1000);
}

}  // namespace
}  // namespace vimo::sim
