#include "DisplayTexts.h"

#include <algorithm>

#include "transfer/SectionBlocks.h"

namespace cfg {

namespace {

// The largest block one write takes: TransferBuffer cells 1..4000.
constexpr int kMaxBlockEntries = 4000 / kDisplayTextLength;

constexpr std::array<DisplayTextGroup, kDisplayTextGroups> kGroups{{
    // n  offset entries bytes heading label title prompt
    {1, 0, 400, 6400, 861, 862, 532, 533},
    {2, 6400, 32, 512, 863, 864, 534, 535},
    {3, 6912, 16, 256, 865, 866, 536, 0},
    {4, 7168, 6, 112, 867, 868, 537, 0},
}};

constexpr SectionFile kTexts{kTextsFile, kTextsPanelBase};

// Decodes one UTF-8 character at s[i]; returns its code point (0xFFFD for a
// broken sequence) and moves i past it.
unsigned NextCodePoint(const std::string& s, std::size_t& i) {
    const auto c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0) return 0xFFFD;
    unsigned cp = c & (0x3Fu >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

std::string Utf8Of(unsigned cp) {
    std::string r;
    if (cp < 0x80) {
        r.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        r.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        r.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        r.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        r.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        r.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        r.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        r.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        r.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        r.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
    return r;
}

std::vector<unsigned> CodePoints(const std::string& s) {
    std::vector<unsigned> out;
    for (std::size_t i = 0; i < s.size();) out.push_back(NextCodePoint(s, i));
    return out;
}

std::string Utf8OfPoints(const std::vector<unsigned>& points) {
    std::string r;
    for (unsigned cp : points) r += Utf8Of(cp);
    return r;
}

}  // namespace

const std::array<DisplayTextGroup, kDisplayTextGroups>& DisplayTextGroups() { return kGroups; }

const DisplayTextGroup* FindDisplayTextGroup(int group) {
    for (const auto& g : kGroups)
        if (g.number == group) return &g;
    return nullptr;
}

bool DisplayShowsByte(int byte) { return byte >= 32 && byte <= 255; }

std::string DisplayEntryText(const ConfigState& c, int offset, char unshown) {
    // Every entry of the list and of the printout: the characters go
    // straight into one text (a byte is Latin-1, one or two UTF-8 bytes).
    std::string text;
    text.reserve(2 * kDisplayTextLength);
    for (int i = 0; i < kDisplayTextLength; ++i) {
        const int byte = c.ConfigImage[offset + i] & 0xFF;
        if (!DisplayShowsByte(byte)) {
            text.push_back(unshown);
        } else if (byte < 0x80) {
            text.push_back(static_cast<char>(byte));
        } else {
            text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return text;
}

int DisplayTextLengthOf(const std::string& utf8) { return static_cast<int>(CodePoints(utf8).size()); }

bool DisplayTextBytes(const std::string& utf8, std::vector<Cell>& bytes, std::string& bad) {
    std::vector<Cell> out;
    for (unsigned cp : CodePoints(utf8)) {
        if (static_cast<int>(out.size()) == kDisplayTextLength) break;
        if (cp > 255 || !DisplayShowsByte(static_cast<int>(cp))) {
            bad = cp == 0xFFFD ? std::string("?") : Utf8Of(cp);
            return false;
        }
        out.push_back(static_cast<Cell>(cp));
    }
    out.resize(kDisplayTextLength, static_cast<Cell>(' '));
    bytes = std::move(out);
    return true;
}

std::string RangeEntryText(const std::string& text, int k, bool countUp) {
    std::vector<unsigned> points = CodePoints(text);
    while (!points.empty() && points.back() == ' ') points.pop_back();
    std::size_t digits = 0;
    while (digits < points.size() && points[points.size() - 1 - digits] >= '0' &&
           points[points.size() - 1 - digits] <= '9')
        ++digits;
    if (!countUp || digits == 0 || k == 0) return text;

    const std::size_t start = points.size() - digits;
    // Counted in decimal digits, however long the number (a telephone
    // number keeps all its digits): k is added from the last digit on.
    std::string counted;
    for (std::size_t i = start; i < points.size(); ++i) counted.push_back(static_cast<char>(points[i]));
    long carry = k;
    for (std::size_t i = counted.size(); i-- > 0 && carry > 0;) {
        const long sum = (counted[i] - '0') + carry;
        counted[i] = static_cast<char>('0' + sum % 10);
        carry = sum / 10;
    }
    if (carry > 0) counted.insert(0, std::to_string(carry));
    // Leading zeros keep the width only when the text was written with
    // them ("LINE 08"); "ROOM 9" becomes "ROOM 10", not "ROOM 010".
    const bool zeroPadded = digits > 1 && points[start] == '0';
    if (!zeroPadded) {
        const std::size_t nonZero = counted.find_first_not_of('0');
        counted.erase(0, std::min(nonZero == std::string::npos ? counted.size() - 1 : nonZero, counted.size() - 1));
    }
    // A number longer than an entry keeps its last digits, the ones that count.
    if (counted.size() > kDisplayTextLength) counted.erase(0, counted.size() - kDisplayTextLength);

    std::vector<unsigned> prefix(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(start));
    const std::size_t room = counted.size() >= kDisplayTextLength ? 0 : kDisplayTextLength - counted.size();
    if (prefix.size() > room) prefix.resize(room);
    return Utf8OfPoints(prefix) + counted;
}

std::vector<SectionBlock> DisplayTextBlocks() {
    std::vector<SectionBlock> blocks;
    for (const auto& g : kGroups) blocks.push_back({g.offset, g.loadBytes, kTexts});
    return blocks;
}

bool LoadDisplayTexts(Session& s) {
    for (const auto& g : kGroups)
        if (!LoadSectionBlock(s, g.offset, g.loadBytes, kTexts)) return false;
    return true;
}

int WriteDisplayEntries(Session& s, const std::map<int, std::vector<Cell>>& entries, std::vector<int>* written) {
    int blocks = 0;
    auto it = entries.begin();
    while (it != entries.end()) {
        const int start = it->first;
        std::vector<Cell> run;
        int next = start;
        int count = 0;
        while (it != entries.end() && it->first == next && count < kMaxBlockEntries) {
            std::vector<Cell> bytes = it->second;
            bytes.resize(kDisplayTextLength, static_cast<Cell>(' '));
            run.insert(run.end(), bytes.begin(), bytes.end());
            next += kDisplayTextLength;
            ++count;
            ++it;
        }
        if (!WriteSectionBytes(s, start, run, kTexts)) return -1;
        if (written)
            for (int offset = start; offset < next; offset += kDisplayTextLength) written->push_back(offset);
        ++blocks;
    }
    return blocks;
}

}  // namespace cfg
