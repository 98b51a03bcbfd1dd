#include "Text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace cfg {

namespace {
bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

// Every line of a list and of a printout goes through these: they look at
// eight bytes at a time and leave a text of one-byte characters (the usual
// case) after one pass.
bool IsAscii(std::string_view s) {
    constexpr uint64_t kHighBits = 0x8080808080808080ULL;
    const char* p = s.data();
    std::size_t n = s.size();
    uint64_t any = 0;
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        any |= word;
    }
    for (; n > 0; ++p, --n) any |= static_cast<unsigned char>(*p);
    return (any & kHighBits) == 0;
}

std::size_t Utf8Length(std::string_view s) {
    if (IsAscii(s)) return s.size();
    std::size_t n = 0;
    for (unsigned char c : s)
        if (!IsContinuation(c)) ++n;
    return n;
}

std::size_t Utf8Offset(std::string_view s, std::size_t n) {
    if (IsAscii(s)) return std::min(n, s.size());
    std::size_t chars = 0, i = 0;
    for (; i < s.size(); ++i) {
        if (!IsContinuation(static_cast<unsigned char>(s[i]))) {
            if (chars == n) break;
            ++chars;
        }
    }
    return i;
}

std::string Utf8Left(const std::string& s, std::size_t n) { return s.substr(0, Utf8Offset(s, n)); }

std::string Utf8PadRight(const std::string& s, std::size_t n) {
    const bool ascii = IsAscii(s);
    const std::size_t bytes = ascii ? std::min(n, s.size()) : Utf8Offset(s, n);
    const std::size_t chars = ascii ? bytes : bytes == s.size() ? Utf8Length(s) : n;
    std::string r;
    r.reserve(bytes + (n - chars));
    r.append(s, 0, bytes);
    r.append(n - chars, ' ');
    return r;
}

std::string Latin1ToUtf8(const std::string& s) {
    std::string r;
    r.reserve(s.size());
    for (unsigned char c : s) {
        if (c < 0x80) {
            r.push_back(static_cast<char>(c));
        } else {
            r.push_back(static_cast<char>(0xC0 | (c >> 6)));
            r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return r;
}

std::string Utf8ToLatin1(const std::string& s) {
    std::string r;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            r.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        int extra = (c >= 0xF0) ? 3 : (c >= 0xE0) ? 2 : (c >= 0xC0) ? 1 : 0;
        unsigned cp = c & (0x3F >> extra);
        std::size_t j = i + 1;
        for (int k = 0; k < extra && j < s.size() && IsContinuation(static_cast<unsigned char>(s[j])); ++k, ++j)
            cp = (cp << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
        r.push_back(cp <= 0xFF && extra > 0 ? static_cast<char>(cp) : '?');
        i = j;
    }
    return r;
}

// Numbers are read and written with "." whatever the process locale (a GUI
// toolkit may switch it to the user's, where the separator is ",").
std::string NumberText(double v) {
    if (std::floor(v) == v && std::fabs(v) < 1e15) return std::to_string(static_cast<long long>(v));
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 10);
    return std::string(buf, r.ptr);
}

double ParseNumber(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    std::string digits;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) digits.push_back(s[i++]);
    bool dot = false;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits.push_back(c);
        } else if (c == '.' && !dot) {
            dot = true;
            digits.push_back(c);
        } else {
            break;
        }
    }
    if (!digits.empty() && digits[0] == '+') digits.erase(0, 1);
    double v = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), v);
    return v;
}

std::string HexText(long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lX", v);
    return buf;
}

}  // namespace cfg
