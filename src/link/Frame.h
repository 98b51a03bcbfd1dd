// The frame codec of the panel link, with no state: building the frames the
// tool sends, checking and decoding the frames the panel answers, and the
// digit encodings that the panel commands use.
//
// Frames sent by the tool:
//   short: STX addr letter params.. ckH ckL CR
//   long:  SOH len header.. STX addr letter params.. ckH ckL CR
// Every value travels as value + 32 (0..223 -> 32..255), except the command
// letter (unchanged) and an address of 0 (sent as 0x00). The checksum is the
// sum of the bytes after the start byte up to the last parameter, plus the
// plant code, plus 5, as two base-224 digits (+ 32 each). The length byte of
// a long frame counts the bytes from itself through the low checksum digit.
// The panel answers in the same forms; its checksum is the plain sum.
#pragma once

#include <cstdint>
#include <string>

#include "shell/LinkState.h"

namespace cfg {

inline constexpr uint8_t kSoh = 0x01;
inline constexpr uint8_t kStx = 0x02;
inline constexpr uint8_t kCr = 0x0D;
inline constexpr int kValueOffset = 32;
inline constexpr int kMaxFrameValue = 223;
inline constexpr long kChecksumBase = 224;

// Builds the frame for `commandText` (address, letter, parameters as values).
// With `useHeader` the frame takes the long form and carries `header`.
// Returns false, leaving `frame` empty, when the command is shorter than two
// bytes, when a value above 223 would have to be sent, or when the checksum
// would not fit in two digits.
bool BuildCommandFrame(const Bytes& commandText, const Bytes& header, bool useHeader,
                       double plantCode, Bytes& frame);

struct DecodedReply {
    Bytes data;     // byte 1 address, byte 2 letter (as sent), then values
    Bytes header;   // long form only
    bool longForm = false;
};

// Checks and decodes one reply as received (ending with CR; noise may come
// before the start byte). `commandAddress` is the address byte of the command
// that was sent; 0 disables the address check. Returns 255 when accepted,
// else 131 (no start byte / too short), 132 (length or byte below 32), 133
// (checksum) or 134 (another panel answered). `out` is cleared first and
// holds whatever was decoded before a failure.
int ParseReply(const Bytes& reply, int commandAddress, DecodedReply& out);

// Memory addresses travel as four 4-bit digits, least significant first;
// memory bytes as two.
void AppendAddressDigits(Bytes& out, long address);
void AppendByteDigits(Bytes& out, int value);
// The byte carried by a digit pair.
int DecodeByteDigits(uint8_t low, uint8_t high);

// The access code as the header of long frames carries it: the number of
// digits, then one byte per pair of digits (first + 16 x second, a digit 0
// counting as 10); an odd last digit stands alone. Characters other than
// digits are ignored; no digits give an empty field.
Bytes EncodeAccessDigits(const std::string& digits);

}  // namespace cfg
