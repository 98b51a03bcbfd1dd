#include "link/Frame.h"

#include <cmath>

namespace cfg {

namespace {

bool PushValue(Bytes& frame, int value) {
    if (value < 0 || value > kMaxFrameValue) return false;
    frame.push_back(static_cast<uint8_t>(value + kValueOffset));
    return true;
}

}  // namespace

bool BuildCommandFrame(const Bytes& commandText, const Bytes& header, bool useHeader,
                       double plantCode, Bytes& frame) {
    frame.clear();
    if (commandText.size() < 2) return false;
    Bytes f;
    f.reserve(commandText.size() + header.size() + 8);
    if (useHeader) {
        f.push_back(kSoh);
        f.push_back(0);  // length, filled in below
        for (uint8_t v : header)
            if (!PushValue(f, v)) return false;
    }
    f.push_back(kStx);
    // An address of 0 reaches any panel and is sent as a plain 0x00.
    if (commandText[0] == 0) {
        f.push_back(0);
    } else if (!PushValue(f, commandText[0])) {
        return false;
    }
    f.push_back(commandText[1]);
    for (std::size_t i = 2; i < commandText.size(); ++i)
        if (!PushValue(f, commandText[i])) return false;
    if (useHeader) {
        // Length byte through the low checksum digit: what is there after
        // the SOH, plus the two checksum digits.
        const int length = static_cast<int>(f.size()) + 1;
        if (length > kMaxFrameValue) return false;
        f[1] = static_cast<uint8_t>(length + kValueOffset);
    }
    double sum = 0;
    for (std::size_t i = 1; i < f.size(); ++i) sum += f[i];
    const long total = std::lround(std::nearbyint(sum + plantCode + 5));
    if (total < 0 || total >= kChecksumBase * kChecksumBase) return false;
    const long high = total / kChecksumBase;
    const long low = total - kChecksumBase * high;
    f.push_back(static_cast<uint8_t>(high + kValueOffset));
    f.push_back(static_cast<uint8_t>(low + kValueOffset));
    f.push_back(kCr);
    frame = std::move(f);
    return true;
}

int ParseReply(const Bytes& reply, int commandAddress, DecodedReply& out) {
    out = DecodedReply{};
    const std::size_t len = reply.size();
    if (len < 6 || reply.back() != kCr) return 131;

    // The start byte must leave room for at least address, letter and the
    // two checksum digits before the CR.
    std::size_t start = len;
    for (std::size_t i = 0; i + 5 < len; ++i) {
        if (reply[i] == kSoh || reply[i] == kStx) {
            start = i;
            break;
        }
    }
    if (start == len) return 131;
    const bool longForm = reply[start] == kSoh;
    out.longForm = longForm;

    // body = the bytes after the start byte, without the CR; L = its length.
    const uint8_t* body = reply.data() + start + 1;
    const std::size_t L = len - start - 2;
    if (longForm) {
        if (L < 7) return 132;
        if (body[0] < kValueOffset || static_cast<std::size_t>(body[0] - kValueOffset) != L) return 132;
    }

    long sum = 0;
    for (std::size_t i = 0; i + 2 < L; ++i) sum += body[i];
    const long high = sum / kChecksumBase;
    const long low = sum - kChecksumBase * high;
    if (high + kValueOffset != body[L - 2] || low + kValueOffset != body[L - 1]) return 133;
    const std::size_t n = L - 2;  // without the checksum digits

    std::size_t pos = 0;
    if (longForm) {
        // Header bytes run from the second byte to the inner STX, which must
        // leave at least three bytes after it.
        std::size_t stx = 0;
        for (std::size_t i = 1; i + 4 <= n; ++i) {
            if (body[i] == kStx) {
                stx = i;
                break;
            }
            if (body[i] < kValueOffset) return 132;
            out.header.push_back(static_cast<uint8_t>(body[i] - kValueOffset));
        }
        if (stx == 0) return 131;
        pos = stx + 1;
    }

    for (std::size_t i = pos; i < n; ++i) {
        const uint8_t b = body[i];
        if (b < kValueOffset) return 132;
        // The second data byte is the command letter and is taken as it is.
        out.data.push_back(i - pos == 1 ? b : static_cast<uint8_t>(b - kValueOffset));
    }

    if (commandAddress != 0 && (out.data.empty() || out.data[0] != commandAddress)) return 134;
    return 255;
}

void AppendAddressDigits(Bytes& out, long address) {
    out.push_back(static_cast<uint8_t>(address & 15));
    out.push_back(static_cast<uint8_t>((address & 255) / 16));
    out.push_back(static_cast<uint8_t>((address & 4095) / 256));
    out.push_back(static_cast<uint8_t>((address / 4096) & 255));
}

void AppendByteDigits(Bytes& out, int value) {
    out.push_back(static_cast<uint8_t>(value & 15));
    out.push_back(static_cast<uint8_t>((value & 255) / 16));
}

int DecodeByteDigits(uint8_t low, uint8_t high) { return (low & 15) + 16 * (high & 15); }

Bytes EncodeAccessDigits(const std::string& digits) {
    Bytes values;
    for (char c : digits)
        if (c >= '0' && c <= '9') values.push_back(static_cast<uint8_t>(c == '0' ? 10 : c - '0'));
    if (values.empty()) return {};
    Bytes field;
    field.push_back(static_cast<uint8_t>(values.size()));
    for (std::size_t i = 0; i < values.size(); i += 2) {
        if (i + 1 < values.size())
            field.push_back(static_cast<uint8_t>(values[i] + 16 * values[i + 1]));
        else
            field.push_back(values[i]);
    }
    return field;
}

}  // namespace cfg
