#include "sim/FileSet.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "sim/SampleData.h"

namespace vimo::sim {

uint16_t ByteSumChecksum(std::span<const uint8_t> bytes) {
    uint32_t sum = 0;
    for (uint8_t b : bytes) sum = (sum + b) & 0xFFFF;
    return sum == 0 ? 65535 : static_cast<uint16_t>(sum);
}

uint16_t WordSumChecksum(std::span<const uint8_t> bytes) {
    uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const uint32_t hi = bytes[i];
        const uint32_t lo = i + 1 < bytes.size() ? bytes[i + 1] : 0;
        sum = (sum + hi * 256 + lo) & 0xFFFF;
    }
    return sum == 0 ? 65535 : static_cast<uint16_t>(sum);
}

void SealClockPrograms(std::vector<uint8_t>& py2) {
    if (py2.size() < 338) return;
    const uint16_t c = ByteSumChecksum(std::span<const uint8_t>(py2).first(336));
    py2[336] = static_cast<uint8_t>(c >> 8);
    py2[337] = static_cast<uint8_t>(c & 255);
}

void SealLogics(std::vector<uint8_t>& uy2) {
    if (uy2.size() < 2) return;
    const std::size_t n = uy2.size() - 2;
    const uint16_t c = WordSumChecksum(std::span<const uint8_t>(uy2).first(n));
    uy2[n] = static_cast<uint8_t>(c >> 8);
    uy2[n + 1] = static_cast<uint8_t>(c & 255);
}

bool ClockProgramsValid(std::span<const uint8_t> py2) {
    if (py2.size() < 338) return false;
    const uint16_t c = ByteSumChecksum(py2.first(336));
    return py2[336] == (c >> 8) && py2[337] == (c & 255);
}

bool LogicsValid(std::span<const uint8_t> uy2) {
    if (uy2.size() < 2) return false;
    const std::size_t n = uy2.size() - 2;
    const uint16_t c = WordSumChecksum(uy2.first(n));
    return uy2[n] == (c >> 8) && uy2[n + 1] == (c & 255);
}

namespace {

void PutText(std::vector<uint8_t>& f, std::size_t offset, std::size_t width, const char* text) {
    const std::size_t len = std::strlen(text);
    for (std::size_t i = 0; i < width && offset + i < f.size(); ++i)
        f[offset + i] = static_cast<uint8_t>(i < len ? text[i] : ' ');
}

}  // namespace

FileSet FactoryFileSet() {
    FileSet s;
    s.cy2.assign(kCy2Size, 0);
    std::vector<uint8_t>& c = s.cy2;
    c[0] = 86;  // layout level of the main block: link parameters sent with the set
    // Times (cells 25..39).
    const std::pair<int, int> times[] = {{25, 10}, {26, 5}, {27, 30}, {28, 60}, {29, 10}, {30, 5},
                                         {31, 10}, {32, 20}, {34, 0},  {35, 30}, {36, 0},  {39, 60}};
    for (auto [cell, value] : times) c[static_cast<std::size_t>(cell)] = static_cast<uint8_t>(value);
    // Options 2..25 (offset 41 + k): first choice everywhere, a few switched on.
    for (int k = 2; k <= 25; ++k) c[static_cast<std::size_t>(41 + k)] = 0;
    c[43] = 1;
    c[45] = 1;
    // Identification block.
    PutText(c, 192, 19, "NUOVO IMPIANTO");
    PutText(c, 211, 8, "01-01-04");
    PutText(c, 219, 10, "");
    PutText(c, 229, 8, "");
    // Zones: zone 1 in use as a plain fire zone.
    c[301] = 1;
    // Module directory: loop modules 1 and 2.
    c[430] = 'A';
    c[431] = 'B';
    // Link parameters: address 1, plant code 11 (the tool's own default),
    // 9600 baud.
    c[496] = 1;
    c[497] = 11;
    c[498] = 1;
    c[499] = 0;
    // Type thresholds.
    for (int row = 1; row <= 14; ++row) {
        const ThresholdRow t = FactoryThresholds(row);
        const std::size_t at = 2912 + 4 * static_cast<std::size_t>(row - 1);
        c[at] = t.t0;
        c[at + 1] = t.t1;
        c[at + 2] = t.t2;
        c[at + 3] = t.t3;
    }
    PutText(c, 2968, 5, "2.10 ");
    PutText(c, 2973, 8, "12/05/04");

    // Clock programmer: no programs (hour 255), no holidays, no periods.
    s.py2.assign(kPy2Size, 0);
    std::fill(s.py2.begin(), s.py2.begin() + 350, uint8_t{255});
    SealClockPrograms(s.py2);

    // Logics: an empty stream.
    s.uy2.assign(kUy2Size, 0);
    SealLogics(s.uy2);

    // Display texts: blank.
    s.my2.assign(kMy2Size, ' ');
    return s;
}

FileSet SampleFileSet() {
    FileSet s = FactoryFileSet();
    std::vector<uint8_t>& c = s.cy2;
    PutText(c, 192, 19, "DEMO UFFICI ROMA");
    PutText(c, 211, 8, "12-03-24");
    PutText(c, 219, 10, "VS24000137");
    PutText(c, 229, 8, "04/03/24");
    for (int z = 0; z < 8; ++z) c[static_cast<std::size_t>(301 + z)] = 1;
    c[308] = 17;  // zone 8: a technical zone
    c[351] = 1;   // loop fault entry 1 drives zone 1
    // Concentrator units: inputs 3 (its points hold detectors: marked as a
    // mismatch) and 14 (supervised), outputs 17 (monitored), and a mixed unit
    // 25 that is declared but not fitted.
    c[432] = 3;
    c[433] = 32 + 14;
    c[434] = 32 + 17;
    c[435] = 25;
    for (const SamplePoint& p : SamplePoints()) {
        const std::size_t i = static_cast<std::size_t>((p.module - 1) * 400 + 2 * (p.index - 1));
        c[512 + i] = static_cast<uint8_t>(p.type << 4 | p.variant);
        c[512 + i + 1] = static_cast<uint8_t>((p.group - 1) & 31);
        c[1312 + i] = 0;
        c[1312 + i + 1] = CalibrationValue(p.type, p.module, p.index);
        if ((p.type == 2 || p.type == 3) && p.index <= 99)
            c[2112 + static_cast<std::size_t>((p.module - 1) * 400 + 4 * p.index - 1)] =
                ReferenceLevel(p.type, p.module, p.index);
        const int shown = (p.module - 1) * 200 + p.index;
        char text[17];
        std::snprintf(text, sizeof text, "%-12.12s%4d", p.place, shown);
        PutText(s.my2, static_cast<std::size_t>(shown - 1) * 16, 16, text);
    }
    PutText(s.my2, 6400, 16, "CENTRALE DEMO");
    PutText(s.my2, 6416, 16, "TEL. 06 5550123");

    // Clock programs: Monday to Friday, channel 1 on at 08:00 (its bit in
    // both masks) and off at 18:30 (in mask A only).
    for (int day = 0; day < 5; ++day) {
        const std::size_t d = static_cast<std::size_t>(48 * day);
        const uint8_t on[6] = {8, 0, 1, 1, 0, 0};
        const uint8_t off[6] = {18, 30, 0, 1, 0, 0};
        std::copy(std::begin(on), std::end(on), s.py2.begin() + static_cast<std::ptrdiff_t>(d));
        std::copy(std::begin(off), std::end(off), s.py2.begin() + static_cast<std::ptrdiff_t>(d + 6));
    }
    SealClockPrograms(s.py2);
    // Holidays: 1 January, 25 April, 1 May, 25 December.
    const uint8_t holidays[8] = {1, 1, 25, 4, 1, 5, 25, 12};
    std::copy(std::begin(holidays), std::end(holidays), s.py2.begin() + 360);

    // Two logic blocks. BF01: AND/OR, output 1 when zone 1 is active.
    // BF02: threshold AND (2 of zones 3, 4, 5) or point 18 in alarm, output
    // 12 after 5 s, a pulse.
    const uint16_t words[] = {0x8001, 0x0801, 0x0000, 0x0001, 0x8902, 0x2108, 0xC90A,
                              0x0003, 0x0004, 0x0005, 0x513E, 0x0000};
    for (std::size_t i = 0; i < std::size(words); ++i) {
        s.uy2[2 * i] = static_cast<uint8_t>(words[i] >> 8);
        s.uy2[2 * i + 1] = static_cast<uint8_t>(words[i] & 255);
    }
    SealLogics(s.uy2);
    return s;
}

namespace {

bool ReadWhole(const std::string& path, std::vector<uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string Lower(std::string s) {
    for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

}  // namespace

bool ReadFileSet(const std::string& base, FileSet& out, std::string& error) {
    struct Part {
        const char* ext;
        std::vector<uint8_t>* data;
        std::size_t size;  // 0 = variable
    };
    FileSet set;
    const Part parts[] = {{".CY2", &set.cy2, kCy2Size},
                          {".PY2", &set.py2, kPy2Size},
                          {".UY2", &set.uy2, 0},
                          {".MY2", &set.my2, kMy2Size}};
    for (const Part& p : parts) {
        const std::string upper = base + p.ext;
        if (!ReadWhole(upper, *p.data) && !ReadWhole(base + Lower(p.ext), *p.data)) {
            error = "cannot read " + upper;
            return false;
        }
        if (p.size != 0 && p.data->size() != p.size) {
            error = upper + ": " + std::to_string(p.data->size()) + " bytes, expected " + std::to_string(p.size);
            return false;
        }
        if (p.size == 0 && (p.data->size() < 4 || p.data->size() % 2 != 0)) {
            error = upper + ": " + std::to_string(p.data->size()) + " bytes is not a logic area";
            return false;
        }
    }
    out = std::move(set);
    return true;
}

bool WriteFileSet(const std::string& base, const FileSet& set, std::string& error) {
    const std::pair<const char*, const std::vector<uint8_t>*> parts[] = {
        {".CY2", &set.cy2}, {".PY2", &set.py2}, {".UY2", &set.uy2}, {".MY2", &set.my2}};
    for (auto [ext, data] : parts) {
        const std::string path = base + ext;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data->data()), static_cast<std::streamsize>(data->size()));
        if (!out) {
            error = "cannot write " + path;
            return false;
        }
    }
    return true;
}

}  // namespace vimo::sim
