#include "Text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace cfg {

namespace {
bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

std::size_t Utf8Length(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if (!IsContinuation(c)) ++n;
    return n;
}

std::string Utf8Left(const std::string& s, std::size_t n) {
    std::size_t chars = 0, i = 0;
    for (; i < s.size(); ++i) {
        if (!IsContinuation(static_cast<unsigned char>(s[i]))) {
            if (chars == n) break;
            ++chars;
        }
    }
    return s.substr(0, i);
}

std::string Utf8PadRight(const std::string& s, std::size_t n) {
    std::string r = Utf8Left(s, n);
    std::size_t len = Utf8Length(r);
    if (len < n) r.append(n - len, ' ');
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
