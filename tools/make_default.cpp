// Writes the DEFAULT configuration set: the template from which every new
// configuration is created. It describes a panel as it leaves the factory:
// one loop module, no sensors, no clock programs, no logics, blank texts,
// sensible times and options, link parameters for address 1 at 9600 baud.
//
//   cfg_make_default DIR            writes DIR/DEFAULT.CY2 .PY2 .UY2 .MY2
//   cfg_make_default --sample DIR   writes DIR/SAMPLE.* : a demonstration
//                                   plant with sensors on both loops (the
//                                   simulator's sample configuration)
//
// The files are plain byte images of the panel's memory areas; the checksums
// of the .PY2 and .UY2 are computed by the same routines the program uses.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "config/Files.h"
#ifdef CFG_HAVE_SIM_SAMPLE
#include "sim/FileSet.h"
#endif

namespace {

using Bytes = std::vector<uint8_t>;

void PutText(Bytes& b, std::size_t at, std::size_t width, const char* text) {
    std::size_t n = std::strlen(text);
    for (std::size_t i = 0; i < width; ++i) b[at + i] = static_cast<uint8_t>(i < n ? text[i] : ' ');
}

void Seal(Bytes& b, std::size_t at, uint16_t sum) {
    b[at] = static_cast<uint8_t>(sum >> 8);
    b[at + 1] = static_cast<uint8_t>(sum & 0xFF);
}

// The main configuration (.CY2, 2981 bytes).
Bytes MainFile() {
    Bytes c(cfg::kMainFileSize, 0);
    // Header: layout level 86 (a panel at this level takes its link
    // parameters from the tool with every send); byte 1 is the panel's
    // changed flag, cleared.
    c[0] = 86;

    // Times (offset 21..40): cell, value.
    const int times[][2] = {
        {25, 30},   // 1: 30 s
        {26, 5},    // 2: 5 min
        {27, 60},   // 3: 60 s
        {28, 10},   // 4
        {29, 10},   // 5
        {30, 5},    // 6
        {36, 0},    // 7: not used (" -- ")
        {31, 30},   // 8
        {32, 30},   // 9
        {34, 0},    // 11: off
        {35, 10},   // 12
        {39, 60},   // 15
    };
    for (const auto& t : times) c[static_cast<std::size_t>(t[0])] = static_cast<uint8_t>(t[1]);

    // Options (offset 41 + k, k = 2..25): the first choice of each menu.

    // Superior options (offset 101..298): no access codes, numeric settings
    // at moderate values, the default data block size, empty masks.
    c[101] = 0;   // access code 1: not set
    c[111] = 0;   // access code 2: not in use
    const int numeric[][2] = {{126, 3}, {127, 3}, {128, 10}, {130, 5}, {132, 2},
                              {134, 30}, {135, 1}, {136, 1}, {138, 10}};
    for (const auto& n : numeric) c[static_cast<std::size_t>(n[0])] = static_cast<uint8_t>(n[1]);
    c[144] = 0;   // largest block to the PC: the default 200 + 8
    c[150] = 30;  // 30 s
    c[151] = 1;
    c[159] = 99;  // empty number string

    // Identification block (192..236): blank name, no change date yet, no
    // serial number or production date.
    PutText(c, 192, 19, "");
    PutText(c, 211, 8, "");
    PutText(c, 219, 10, "");
    PutText(c, 229, 8, "");

    // Zones (301..332) all of type 0; loop-fault entries (351..366) drive no
    // zone.

    // Module directory (430..493): loop module 1 ("A").
    c[430] = 'A';

    // Link parameters (496..499): address 1, plant code 11, 9600 baud.
    c[496] = 1;
    c[497] = 11;
    c[498] = 1;
    c[499] = 0;

    // Point configuration, point parameters and reference levels
    // (512..2911): no sensors.

    // Type thresholds (2912..2967): 14 rows of T0 (pre-alarm), T1 (alarm),
    // T2 (drift allowance of calibrated types), T3 (fault / low limit),
    // each shown times 16.
    const uint8_t thresholds[14][4] = {
        {45, 55, 50, 5},  // type 1 (and 8): optical smoke
        {40, 52, 47, 5},  // type 2: calibrated smoke
        {40, 52, 47, 5},  // type 3: calibrated heat
        {45, 55, 50, 5},  // type 4
        {45, 55, 50, 5},  // type 5
        {45, 55, 50, 5},  // type 6
        {45, 55, 50, 5},  // type 7
        {30, 60, 45, 3},  // type 9: input module
        {30, 60, 45, 3},  // type 10: logic point
        {45, 55, 50, 5},  // type 11
        {45, 55, 50, 5},  // type 12
        {45, 55, 50, 5},  // type 13
        {45, 55, 50, 5},  // type 14
        {45, 55, 50, 5},  // type 15
    };
    for (int row = 0; row < 14; ++row)
        for (int j = 0; j < 4; ++j) c[2912 + 4 * static_cast<std::size_t>(row) + static_cast<std::size_t>(j)] = thresholds[row][j];

    // Trailer (2968..2980): the firmware this template was made for.
    PutText(c, 2968, 5, "2.10 ");
    PutText(c, 2973, 8, "12/05/04");
    return c;
}

// The clock programmer (.PY2, 384 bytes): every program empty (hour 255),
// the checksum of the 336 program bytes, no holiday periods, no holidays.
Bytes ClockFile() {
    Bytes p(cfg::kClockFileSize, 0);
    for (std::size_t i = 0; i < 350; ++i) p[i] = 255;
    Seal(p, 336, cfg::ProgramChecksum(p.data(), 336));
    return p;
}

// The logic area (.UY2, 1960 bytes + checksum): an empty record stream.
Bytes LogicFile() {
    Bytes u(cfg::kLogicFileSize, 0);
    Seal(u, 1960, cfg::LogicChecksum(u.data(), 1960));
    return u;
}

// The display texts (.MY2, 7280 bytes): all blank.
Bytes TextFile() { return Bytes(cfg::kTextFileSize, ' '); }

bool WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cfg_make_default: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool WriteSet(const std::string& base, const Bytes& cy2, const Bytes& py2, const Bytes& uy2, const Bytes& my2) {
    return WriteFile(base + ".CY2", cy2) && WriteFile(base + ".PY2", py2) && WriteFile(base + ".UY2", uy2) &&
           WriteFile(base + ".MY2", my2);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: cfg_make_default DIR           write DIR/DEFAULT.CY2 .PY2 .UY2 .MY2\n"
                 "       cfg_make_default --sample DIR  write DIR/SAMPLE.* (sensors on both loops)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool sample = false;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--sample") sample = true;
        else if (a == "-h" || a == "--help") return Usage();
        else if (folder.empty()) folder = a;
        else return Usage();
    }
    if (folder.empty()) return Usage();
    if (sample) {
#ifdef CFG_HAVE_SIM_SAMPLE
        vimo::sim::FileSet set = vimo::sim::SampleFileSet();
        return WriteSet(folder + "/SAMPLE", set.cy2, set.py2, set.uy2, set.my2) ? 0 : 1;
#else
        std::fprintf(stderr, "cfg_make_default: built without the simulator's sample set\n");
        return 1;
#endif
    }
    return WriteSet(folder + "/DEFAULT", MainFile(), ClockFile(), LogicFile(), TextFile()) ? 0 : 1;
}
