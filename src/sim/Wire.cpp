#include "sim/Wire.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace vimo::sim {

namespace {

uint8_t Encode(int value) {
    return static_cast<uint8_t>(std::clamp(value, 0, kMaxValue) + kValueOffset);
}

void AppendChecksum(long total, std::vector<uint8_t>& out) {
    const long high = total / 224;
    const long low = total - 224 * high;
    out.push_back(static_cast<uint8_t>(std::min<long>(high, kMaxValue) + kValueOffset));
    out.push_back(static_cast<uint8_t>(low + kValueOffset));
}

bool ChecksumMatches(long total, uint8_t high, uint8_t low) {
    const long h = total / 224;
    const long l = total - 224 * h;
    return h + kValueOffset == high && l + kValueOffset == low;
}

}  // namespace

const char* FrameFaultName(FrameFault f) {
    switch (f) {
        case FrameFault::kNone: return "ok";
        case FrameFault::kNoStart: return "no start byte";
        case FrameFault::kBadLength: return "bad length";
        case FrameFault::kBadByte: return "byte below 32";
        case FrameFault::kBadChecksum: return "checksum mismatch";
    }
    return "?";
}

FrameFault ParseToolFrame(std::span<const uint8_t> frame, int plantCode, ToolFrame& out) {
    out = ToolFrame{};
    // Shortest frame: STX addr letter ckH ckL CR.
    if (frame.size() < 6 || frame.back() != kCr) return FrameFault::kNoStart;
    const uint8_t start = frame[0];
    if (start != kSoh && start != kStx) return FrameFault::kNoStart;
    // Body: everything between the start byte and the CR.
    const std::span<const uint8_t> body = frame.subspan(1, frame.size() - 2);
    const std::size_t n = body.size();
    if (n < 4) return FrameFault::kNoStart;  // addr letter ckH ckL

    std::size_t pos = 0;
    if (start == kSoh) {
        out.longForm = true;
        // len, STX, addr, letter, ckH, ckL at the least.
        if (n < 6) return FrameFault::kBadLength;
        if (body[0] < kValueOffset || static_cast<std::size_t>(body[0] - kValueOffset) != n)
            return FrameFault::kBadLength;
        pos = 1;
        while (pos < n - 2 && body[pos] != kStx) {
            if (body[pos] < kValueOffset) return FrameFault::kBadByte;
            out.header.push_back(static_cast<uint8_t>(body[pos] - kValueOffset));
            ++pos;
        }
        if (pos >= n - 2 || body[pos] != kStx) return FrameFault::kNoStart;
        ++pos;  // inner STX
    }
    // Now at the address byte; need addr, letter and two checksum digits.
    if (pos + 4 > n) return FrameFault::kBadLength;
    long total = 0;
    for (std::size_t i = 0; i < n - 2; ++i) total += body[i];
    total += plantCode + 5;
    if (!ChecksumMatches(total, body[n - 2], body[n - 1])) return FrameFault::kBadChecksum;

    const uint8_t addr = body[pos];
    if (addr == 0) {
        out.address = 0;
    } else if (addr < kValueOffset) {
        return FrameFault::kBadByte;
    } else {
        out.address = addr - kValueOffset;
    }
    out.letter = static_cast<char>(body[pos + 1]);
    if (body[pos + 1] < kValueOffset) return FrameFault::kBadByte;
    for (std::size_t i = pos + 2; i < n - 2; ++i) {
        if (body[i] < kValueOffset) return FrameFault::kBadByte;
        out.params.push_back(static_cast<uint8_t>(body[i] - kValueOffset));
    }
    return FrameFault::kNone;
}

std::vector<uint8_t> BuildReply(int address, char letter, std::span<const uint8_t> values,
                                bool longForm, std::span<const uint8_t> header) {
    std::vector<uint8_t> f;
    f.reserve(values.size() + header.size() + 10);
    if (longForm) {
        f.push_back(kSoh);
        f.push_back(0);  // length, set below
        for (uint8_t h : header) f.push_back(Encode(h));
    }
    f.push_back(kStx);
    f.push_back(Encode(address));
    f.push_back(static_cast<uint8_t>(letter));
    for (uint8_t v : values) f.push_back(Encode(v));
    if (longForm) {
        // From the length byte through the low checksum digit.
        const std::size_t len = f.size() - 1 + 2;
        f[1] = Encode(static_cast<int>(len));
    }
    long total = 0;
    for (std::size_t i = 1; i < f.size(); ++i) total += f[i];
    AppendChecksum(total, f);
    f.push_back(kCr);
    return f;
}

std::vector<uint8_t> BuildToolFrame(int address, char letter, std::span<const uint8_t> params,
                                    int plantCode, bool longForm, std::span<const uint8_t> header) {
    std::vector<uint8_t> f;
    if (longForm) {
        f.push_back(kSoh);
        f.push_back(0);
        for (uint8_t h : header) f.push_back(Encode(h));
    }
    f.push_back(kStx);
    f.push_back(address == 0 ? uint8_t{0} : Encode(address));
    f.push_back(static_cast<uint8_t>(letter));
    for (uint8_t p : params) f.push_back(Encode(p));
    if (longForm) f[1] = Encode(static_cast<int>(f.size() - 1 + 2));
    long total = plantCode + 5;
    for (std::size_t i = 1; i < f.size(); ++i) total += f[i];
    AppendChecksum(total, f);
    f.push_back(kCr);
    return f;
}

std::optional<PanelReply> ParsePanelReply(std::span<const uint8_t> bytes) {
    if (bytes.size() < 6 || bytes.back() != kCr) return std::nullopt;
    std::size_t s = 0;
    while (s < bytes.size() && bytes[s] != kSoh && bytes[s] != kStx) ++s;
    if (s >= bytes.size()) return std::nullopt;
    PanelReply r;
    r.longForm = bytes[s] == kSoh;
    const std::span<const uint8_t> body = bytes.subspan(s + 1, bytes.size() - s - 2);
    const std::size_t n = body.size();
    if (n < 4) return std::nullopt;
    long total = 0;
    for (std::size_t i = 0; i < n - 2; ++i) total += body[i];
    if (!ChecksumMatches(total, body[n - 2], body[n - 1])) return std::nullopt;
    std::size_t pos = 0;
    if (r.longForm) {
        if (body[0] < kValueOffset || static_cast<std::size_t>(body[0] - kValueOffset) != n)
            return std::nullopt;
        pos = 1;
        while (pos < n - 2 && body[pos] != kStx) {
            if (body[pos] < kValueOffset) return std::nullopt;
            r.header.push_back(static_cast<uint8_t>(body[pos] - kValueOffset));
            ++pos;
        }
        if (pos >= n - 2) return std::nullopt;
        ++pos;
    }
    if (pos + 4 > n) return std::nullopt;
    for (std::size_t i = pos; i < n - 2; ++i)
        if (body[i] < kValueOffset) return std::nullopt;
    r.address = body[pos] - kValueOffset;
    r.letter = static_cast<char>(body[pos + 1]);
    for (std::size_t i = pos + 2; i < n - 2; ++i)
        r.values.push_back(static_cast<uint8_t>(body[i] - kValueOffset));
    return r;
}

void FrameScanner::Push(std::span<const uint8_t> bytes, int plantCode, std::vector<Result>& out) {
    for (uint8_t b : bytes) {
        line_.push_back(b);
        if (b != kCr) {
            if (line_.size() > kMaxLine) line_.erase(line_.begin());
            continue;
        }
        Result r;
        r.raw = line_;
        r.fault = FrameFault::kNoStart;
        for (std::size_t i = 0; i < line_.size(); ++i) {
            if (line_[i] != kSoh && line_[i] != kStx) continue;
            ToolFrame frame;
            const FrameFault f = ParseToolFrame(std::span<const uint8_t>(line_).subspan(i), plantCode, frame);
            if (f == FrameFault::kNone) {
                r.frame = std::move(frame);
                r.fault = FrameFault::kNone;
                break;
            }
            // Keep the fault of the first candidate: that is the frame the
            // sender meant, later candidates are inner STX bytes.
            if (r.fault == FrameFault::kNoStart) r.fault = f;
        }
        out.push_back(std::move(r));
        line_.clear();
    }
}

std::vector<uint8_t> EncodeAccessCode(const std::string& digits) {
    std::vector<uint8_t> out;
    if (digits.empty()) return out;
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c))) return out;
    auto digit = [](char c) { return c == '0' ? 10 : c - '0'; };
    out.push_back(static_cast<uint8_t>(digits.size()));
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        if (i + 1 < digits.size())
            out.push_back(static_cast<uint8_t>(digit(digits[i]) + 16 * digit(digits[i + 1])));
        else
            out.push_back(static_cast<uint8_t>(digit(digits[i])));
    }
    return out;
}

void AppendAddressDigits(uint16_t address, std::vector<uint8_t>& out) {
    out.push_back(static_cast<uint8_t>(address & 15));
    out.push_back(static_cast<uint8_t>((address >> 4) & 15));
    out.push_back(static_cast<uint8_t>((address >> 8) & 15));
    out.push_back(static_cast<uint8_t>((address >> 12) & 15));
}

void AppendByteDigits(uint8_t value, std::vector<uint8_t>& out) {
    out.push_back(static_cast<uint8_t>(value & 15));
    out.push_back(static_cast<uint8_t>(value >> 4));
}

std::string DescribeBytes(std::span<const uint8_t> bytes) {
    std::string s;
    for (uint8_t b : bytes) {
        if (!s.empty()) s += ' ';
        if (b == kSoh) s += "<SOH>";
        else if (b == kStx) s += "<STX>";
        else if (b == kCr) s += "<CR>";
        else if (b >= 33 && b < 127) s += static_cast<char>(b);
        else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "%02X", b);
            s += buf;
        }
    }
    return s;
}

std::string HexBytes(std::span<const uint8_t> bytes) {
    std::string s;
    char buf[4];
    for (uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        if (!s.empty()) s += ' ';
        s += buf;
    }
    return s;
}

}  // namespace vimo::sim
