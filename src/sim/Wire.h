// The panel side of the serial frame layer.
//
// Frames from the tool come in two forms, both ending with CR:
//   short: STX addr letter params.. ckH ckL CR
//   long:  SOH len header.. STX addr letter params.. ckH ckL CR
// Every byte other than SOH/STX/CR, the letter and an address of 0 carries
// value + 32. The tool's checksum is the sum of the bytes after the start
// byte through the last parameter, plus the plant code, plus 5, written as
// two base-224 digits (+ 32 each). The length byte of a long frame counts the
// bytes from itself through the low checksum digit.
//
// The panel answers in the same two forms; its checksum is the plain sum of
// the bytes between the start byte and the checksum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vimo::sim {

inline constexpr uint8_t kSoh = 0x01;
inline constexpr uint8_t kStx = 0x02;
inline constexpr uint8_t kCr = 0x0D;
inline constexpr int kValueOffset = 32;
inline constexpr int kMaxValue = 223;

// A command frame from the tool, decoded.
struct ToolFrame {
    bool longForm = false;
    std::vector<uint8_t> header;  // values (byte - 32)
    int address = 0;              // 0 = sent to any panel (0x00 on the wire)
    char letter = 0;
    std::vector<uint8_t> params;  // values (byte - 32)
};

enum class FrameFault {
    kNone,
    kNoStart,      // no SOH/STX, or frame too short
    kBadLength,    // length byte does not match
    kBadByte,      // a byte below 32 where a value belongs
    kBadChecksum,  // checksum does not match (wrong plant code, damage)
};

const char* FrameFaultName(FrameFault);

// Checks and decodes one frame that starts with SOH or STX and ends with CR.
FrameFault ParseToolFrame(std::span<const uint8_t> frame, int plantCode, ToolFrame& out);

// Builds a reply frame. `values` are the data bytes after the letter (each
// 0..223; larger values are cut to 223). A long reply carries `header`.
std::vector<uint8_t> BuildReply(int address, char letter, std::span<const uint8_t> values,
                                bool longForm, std::span<const uint8_t> header = {});

// Builds a frame as the tool would send it. The simulator never sends these;
// tests and the simulator's own tools use it to talk to a panel.
std::vector<uint8_t> BuildToolFrame(int address, char letter, std::span<const uint8_t> params,
                                    int plantCode, bool longForm,
                                    std::span<const uint8_t> header = {});

// A reply, decoded from the tool's side (used by tests and the self-check of
// vimo-sim). Returns nothing when the bytes are not one well-formed reply.
struct PanelReply {
    bool longForm = false;
    std::vector<uint8_t> header;
    int address = 0;
    char letter = 0;
    std::vector<uint8_t> values;  // data bytes after the letter, decoded
};
std::optional<PanelReply> ParsePanelReply(std::span<const uint8_t> bytes);

// Splits an incoming byte stream into candidate frames: each CR ends a line,
// and the line is tried from each SOH/STX in it until one parses. Noise
// before a frame is skipped. Lines that never parse are reported as faults.
class FrameScanner {
public:
    struct Result {
        std::optional<ToolFrame> frame;  // set when a frame parsed
        FrameFault fault = FrameFault::kNone;
        std::vector<uint8_t> raw;  // the line as received, CR included
    };

    // Adds bytes; complete lines are appended to `out`.
    void Push(std::span<const uint8_t> bytes, int plantCode, std::vector<Result>& out);
    void Clear() { line_.clear(); }
    std::size_t Pending() const { return line_.size(); }

    // A line longer than this without a CR is cut from the front: no frame of
    // the protocol comes near it.
    static constexpr std::size_t kMaxLine = 1024;

private:
    std::vector<uint8_t> line_;
};

// Encoding of the access code carried in the header of long frames: the
// number of digits, then one byte per pair of digits, first + 16 x second,
// a digit 0 counting as 10; an odd last digit stands alone. An empty or
// non-numeric text gives an empty field.
std::vector<uint8_t> EncodeAccessCode(const std::string& digits);

// Nibble helpers: addresses travel as 4 digits, bytes as 2 digits, least
// significant first.
void AppendAddressDigits(uint16_t address, std::vector<uint8_t>& out);
void AppendByteDigits(uint8_t value, std::vector<uint8_t>& out);

// Readable form of a byte run, e.g. "<STX> ! L ..." for traces.
std::string DescribeBytes(std::span<const uint8_t> bytes);
std::string HexBytes(std::span<const uint8_t> bytes);

}  // namespace vimo::sim
