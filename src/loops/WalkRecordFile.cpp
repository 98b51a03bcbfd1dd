// The walk-test record as a text file beside the settings file: one item a
// line, fields separated by ";" (a ";", "%" or line break inside a text is
// written as %3B, %25, %0A), so that it can be read back after a crash and
// read by a person. A file that is not a record, or a line that does not
// parse, gives a reason with the line number.
//
//   CFG-Veltrano walk test;1
//   serial;VS24000137            panel;…  firmware;…  installation;…  tester;…
//   started;2026-12-05 09:30:05  ended;… (once stopped)
//   module;1
//   point;MODULE;POINT;DESCRIPTION;TESTED 0|1;FIRST ALARM;FIRST READING;PEAK;IN FAULT 0|1
//   fault;MODULE;POINT;TIME;KIND 1|2;READING
//   stranger;MODULE;POINT;DESCRIPTION;FIRST ALARM;FIRST READING;PEAK
//   end;MODULE;C1;C2;C3;C4;FAULT POINT;LOOP STATUS;CURRENT
//   event;TIME;MODULE;POINT;READING;STATE;KIND 1..4
#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "loops/WalkTest.h"
#include "shell/SafeWrite.h"
#include "shell/FileNames.h"
#include "shell/Folders.h"
#include "shell/Settings.h"

namespace fs = std::filesystem;

namespace cfg {

namespace {

constexpr const char* kHeader = "CFG-Veltrano walk test";
constexpr int kVersion = 1;
constexpr const char* kPrefix = "WALKTEST_";
constexpr const char* kExtension = ".TXT";
constexpr const char* kNoSerial = "NO-SERIAL";
constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;

std::string Escape(const std::string& text) {
    std::string out;
    for (char ch : text) {
        if (ch == ';') out += "%3B";
        else if (ch == '%') out += "%25";
        else if (ch == '\n') out += "%0A";
        else if (ch == '\r') out += "%0D";
        else out += ch;
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const std::string code = text.substr(i + 1, 2);
            const char ch = code == "3B" ? ';' : code == "25" ? '%' : code == "0A" ? '\n' : code == "0D" ? '\r' : 0;
            if (ch != 0) {
                out += ch;
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> f;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = line.find(';', from);
        f.push_back(line.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) return f;
        from = at + 1;
    }
}

bool ToInt(const std::string& text, int lo, int hi, int& out) {
    int v = 0;
    const char* b = text.data();
    const char* e = b + text.size();
    auto [p, ec] = std::from_chars(b, e, v);
    if (text.empty() || ec != std::errc() || p != e || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool ToTime(const std::string& text, DateTime& t) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return false;
    return ToInt(text.substr(0, 4), 1900, 9999, t.year) && ToInt(text.substr(5, 2), 1, 12, t.month) &&
           ToInt(text.substr(8, 2), 1, 31, t.day) && ToInt(text.substr(11, 2), 0, 23, t.hour) &&
           ToInt(text.substr(14, 2), 0, 59, t.minute) && ToInt(text.substr(17, 2), 0, 59, t.second);
}

// Upper-case letters, digits and "-" of a serial number for a file name.
std::string SerialPart(const std::string& serial) {
    std::string out;
    for (unsigned char c : serial) {
        if (std::isalnum(c) && c < 0x80) out.push_back(static_cast<char>(std::toupper(c)));
        else if (!out.empty() && out.back() != '-') out.push_back('-');
    }
    while (!out.empty() && out.back() == '-') out.pop_back();
    return out.empty() ? kNoSerial : out;
}

std::string Digits(int v, int width) {
    std::string s = std::to_string(std::max(v, 0));
    return std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(s.size()))), '0') + s;
}

}  // namespace

std::string WalkRecordText(const WalkRecord& r) {
    std::ostringstream out;
    out << kHeader << ';' << kVersion << '\n';
    out << "serial;" << Escape(r.serial) << '\n';
    out << "panel;" << Escape(r.panelName) << '\n';
    out << "firmware;" << Escape(r.firmware) << '\n';
    out << "installation;" << Escape(r.installation) << '\n';
    out << "tester;" << Escape(r.tester) << '\n';
    out << "started;" << WalkTimeText(r.started) << '\n';
    if (r.hasEnded) out << "ended;" << WalkTimeText(r.ended) << '\n';
    for (const WalkModule& m : r.modules) {
        out << "module;" << m.module << '\n';
        for (const WalkPoint& p : m.points) {
            out << "point;" << m.module << ';' << p.point << ';' << Escape(p.description) << ';' << (p.tested ? 1 : 0)
                << ';' << (p.tested ? WalkTimeText(p.first) : "") << ';' << p.firstReading << ';' << p.peak << ';'
                << (p.inFault ? 1 : 0) << '\n';
            for (const WalkFault& f : p.faults)
                out << "fault;" << m.module << ';' << p.point << ';' << WalkTimeText(f.time) << ';'
                    << static_cast<int>(f.kind) << ';' << f.reading << '\n';
        }
        for (const WalkPoint& p : m.strangers)
            out << "stranger;" << m.module << ';' << p.point << ';' << Escape(p.description) << ';'
                << WalkTimeText(p.first) << ';' << p.firstReading << ';' << p.peak << '\n';
        if (m.end.read) {
            out << "end;" << m.module;
            for (int v : m.end.counters) out << ';' << v;
            out << ';' << m.end.faultPoint << ';' << m.end.loopStatus << ';' << m.end.currentMa << '\n';
        }
    }
    for (const WalkEvent& e : r.events)
        out << "event;" << WalkTimeText(e.time) << ';' << e.module << ';' << e.point << ';' << e.reading << ';' << e.state
            << ';' << static_cast<int>(e.kind) << '\n';
    return out.str();
}

bool ParseWalkRecord(const std::string& text, WalkRecord& result, std::string& error) {
    WalkRecord r;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    bool header = false;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(number) + ": " + why;
        return false;
    };
    auto pointIn = [&r](int module, int point) -> WalkPoint* {
        WalkModule* m = r.Module(module);
        return m ? m->Find(point) : nullptr;
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const std::vector<std::string> f = Split(line);
        const std::string& key = f[0];
        if (!header) {
            int version = 0;
            if (f.size() != 2 || key != kHeader || !ToInt(f[1], 1, 1000, version)) return fail("not a walk-test record");
            if (version > kVersion) return fail("a record of a newer version of the program");
            header = true;
            continue;
        }
        auto need = [&](std::size_t n) { return f.size() == n; };
        if (key == "serial" || key == "panel" || key == "firmware" || key == "installation" || key == "tester") {
            if (!need(2)) return fail("a text is expected after " + key);
            std::string& field = key == "serial" ? r.serial
                                 : key == "panel" ? r.panelName
                                 : key == "firmware" ? r.firmware
                                 : key == "installation" ? r.installation
                                                         : r.tester;
            field = Unescape(f[1]);
        } else if (key == "started" || key == "ended") {
            DateTime t;
            if (!need(2) || !ToTime(f[1], t)) return fail("a date and time YYYY-MM-DD HH:MM:SS is expected");
            (key == "started" ? r.started : r.ended) = t;
            if (key == "ended") r.hasEnded = true;
        } else if (key == "module") {
            int m = 0;
            if (!need(2) || !ToInt(f[1], 1, kLoopModules, m)) return fail("a loop module 1 or 2 is expected");
            if (r.Module(m)) return fail("module " + f[1] + " is given twice");
            r.ModuleFor(m);
        } else if (key == "point" || key == "stranger") {
            const bool configured = key == "point";
            int m = 0, point = 0, tested = 0, first = 0, peak = 0, inFault = 0;
            DateTime t;
            const std::size_t timeAt = configured ? 5 : 4;
            if (!need(configured ? 9 : 7) || !ToInt(f[1], 1, kLoopModules, m) || !r.Module(m) ||
                !ToInt(f[2], ShownPoint(m, 1), ShownPoint(m, kPointsPerModule), point) ||
                (configured && !ToInt(f[4], 0, 1, tested)) ||
                ((!configured || tested) && !ToTime(f[timeAt], t)) || !ToInt(f[timeAt + 1], 0, 255, first) ||
                !ToInt(f[timeAt + 2], -1, 255, peak) || (configured && !ToInt(f[8], 0, 1, inFault)))
                return fail("a point of a module given before it is expected");
            WalkModule& mod = *r.Module(m);
            auto& list = configured ? mod.points : mod.strangers;
            if (std::any_of(list.begin(), list.end(), [point](const WalkPoint& p) { return p.point == point; }))
                return fail("point " + f[2] + " is given twice");
            WalkPoint p;
            p.point = point;
            p.description = Unescape(f[3]);
            p.tested = !configured || tested == 1;
            if (p.tested) p.first = t;
            p.firstReading = first;
            p.peak = peak;
            p.inFault = inFault == 1;
            list.push_back(p);
        } else if (key == "fault") {
            int m = 0, point = 0, kind = 0, reading = 0;
            DateTime t;
            if (!need(6) || !ToInt(f[1], 1, kLoopModules, m) || !ToInt(f[2], 1, kLoopPoints, point) ||
                !ToTime(f[3], t) || !ToInt(f[4], 1, 2, kind) || !ToInt(f[5], 0, 255, reading))
                return fail("a fault of a point given before it is expected");
            WalkPoint* p = pointIn(m, point);
            if (!p) return fail("a fault of a point given before it is expected");
            p->faults.push_back({static_cast<WalkFaultKind>(kind), t, reading});
        } else if (key == "end") {
            int m = 0;
            WalkLoopEnd e;
            if (!need(9) || !ToInt(f[1], 1, kLoopModules, m) || !r.Module(m) || !ToInt(f[6], 0, 255, e.faultPoint) ||
                !ToInt(f[7], -1, 255, e.loopStatus) || !ToInt(f[8], -1, 100000, e.currentMa))
                return fail("the end readings of a module given before them are expected");
            for (std::size_t i = 0; i < 4; ++i)
                if (!ToInt(f[2 + i], 0, 255, e.counters[i])) return fail("a counter 0..255 is expected");
            e.read = true;
            r.Module(m)->end = e;
        } else if (key == "event") {
            WalkEvent e;
            int kind = 0;
            if (!need(7) || !ToTime(f[1], e.time) || !ToInt(f[2], 1, kLoopModules, e.module) ||
                !ToInt(f[3], 1, kLoopPoints, e.point) || !ToInt(f[4], 0, 255, e.reading) ||
                !ToInt(f[5], -1, 3, e.state) || !ToInt(f[6], 1, 4, kind))
                return fail("an event TIME;MODULE;POINT;READING;STATE;KIND is expected");
            e.kind = static_cast<WalkEventKind>(kind);
            r.events.push_back(e);
        }
        // Lines of other kinds come from a later version: skipped.
    }
    if (!header) {
        error = "the file is empty";
        return false;
    }
    result = std::move(r);
    return true;
}

// --- files ----------------------------------------------------------------------------

std::string WalkRecordPath(const Session& s, const std::string& serial, const DateTime& day) {
    return JoinPath(SettingsFolderOf(s.settings), std::string(kPrefix) + SerialPart(serial) + "_" + Digits(day.year, 4) +
                                             Digits(day.month, 2) + Digits(day.day, 2) + kExtension);
}

std::string LastWalkRecordPath(const Session& s, const std::string& serial) {
    const std::string prefix = std::string(kPrefix) + SerialPart(serial) + "_";
    std::string best;
    std::error_code ec;
    for (fs::directory_iterator it(SettingsFolderOf(s.settings), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // WALKTEST_SERIAL_YYYYMMDD.TXT; the date makes the newest the greatest.
        if (name.size() != prefix.size() + 12 || name.compare(0, prefix.size(), prefix) != 0 ||
            UpperCase(name.substr(name.size() - 4)) != kExtension)
            continue;
        const std::string date = name.substr(prefix.size(), 8);
        if (!std::all_of(date.begin(), date.end(), [](unsigned char c) { return std::isdigit(c); })) continue;
        if (best.empty() || name > fs::path(best).filename().string()) best = it->path().string();
    }
    return best;
}

bool ReplaceFile(const std::string& from, const std::string& path, std::string& error) {
    if (const std::error_code ec = CommitTemporary(from, path)) {
        error = ec.message();
        return false;
    }
    return true;
}

bool WriteFileReplacing(const std::string& path, const std::string& content, std::string& error) {
    if (const std::error_code ec = WriteFileWhole(path, content)) {
        error = "cannot write " + path + ": " + ec.message();
        return false;
    }
    return true;
}

bool SaveWalkRecord(const std::string& path, const WalkRecord& r, std::string& error) {
    return WriteFileReplacing(path, WalkRecordText(r), error);
}

bool LoadWalkRecord(const std::string& path, WalkRecord& r, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::string text;
    char buf[4096];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        text.append(buf, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxFileBytes) {
            error = "the file is too large for a walk-test record";
            return false;
        }
    }
    if (!ParseWalkRecord(text, r, error)) {
        error = path + ", " + error;
        return false;
    }
    return true;
}

std::string KeptTesterName(const Session& s) { return GetProfileString(SettingsFilePath(s), "WalkTest", "Tester", ""); }

void KeepTesterName(Session& s, const std::string& name) {
    WriteProfileString(SettingsFilePath(s), "WalkTest", "Tester", name);
}

}  // namespace cfg
