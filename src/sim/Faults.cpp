#include "sim/Faults.h"

#include <cctype>
#include <charconv>

namespace vimo::sim {

namespace {

struct KindInfo {
    FaultKind kind;
    const char* name;
    bool needsArg;
    const char* help;
};

constexpr KindInfo kKinds[] = {
    {FaultKind::kNoise, "noise", false, "noise[=N]          N bytes of line noise before a reply (default 4)"},
    {FaultKind::kDrop, "drop", false, "drop               no reply"},
    {FaultKind::kBadChecksum, "bad-checksum", false, "bad-checksum       a reply with a wrong checksum"},
    {FaultKind::kOtherAddress, "other-address", false, "other-address[=A]  a reply from address A (default own + 1)"},
    {FaultKind::kSlow, "slow", true, "slow=MS            a reply that starts MS ms late"},
    {FaultKind::kLate, "late", false,
     "late[=MS]          a reply that comes MS ms (default 300) after the tool has stopped\n"
     "                     waiting for it (its command's time-out); once, unless times=N"},
    {FaultKind::kBadLength, "bad-length", false, "bad-length         a long reply whose length byte is wrong"},
    {FaultKind::kLowByte, "low-byte", false, "low-byte           a reply with a data byte below 32"},
    {FaultKind::kWriteRefused, "write-refused", true, "write-refused=129|130  memory writes (J) refused with 129 or 130"},
    {FaultKind::kAccessNeeded, "access-needed", false, "access-needed      L/X answered 80, C 20 and H answered P"},
    {FaultKind::kControlAnswer, "control", true, "control=CODE:L     control command CODE (20, 21, 14, 15) answered letter L"},
    {FaultKind::kAutoConfigRefused, "autoconf-refused", false, "autoconf-refused   loop auto-configuration refused"},
    {FaultKind::kResetRefused, "reset-refused", false, "reset-refused      loop error reset refused"},
    {FaultKind::kLoopOpen, "loop-open", true, "loop-open=M        loop M open"},
    {FaultKind::kLoopShort, "loop-short", true, "loop-short=M       loop M short-circuited"},
    {FaultKind::kOverCurrent, "overcurrent", true, "overcurrent=M      loop M draws more than 250 mA"},
    {FaultKind::kReading, "reading", true, "reading=M:P:V      the device at point P of loop M reads V (0..254)"},
};

bool ToInt(const std::string& s, int& v) {
    if (s.empty()) return false;
    const char* b = s.data();
    const char* e = b + s.size();
    auto [p, ec] = std::from_chars(b, e, v);
    return ec == std::errc() && p == e;
}

}  // namespace

bool Fault::Matches(char letter) const {
    return letters.empty() || letters.find(letter) != std::string::npos;
}

bool Fault::IsCondition() const {
    return kind == FaultKind::kLoopOpen || kind == FaultKind::kLoopShort || kind == FaultKind::kOverCurrent ||
           kind == FaultKind::kReading;
}

const char* FaultName(FaultKind k) {
    for (const KindInfo& i : kKinds)
        if (i.kind == k) return i.name;
    return "?";
}

bool FaultKindFromName(const std::string& name, FaultKind& out) {
    for (const KindInfo& i : kKinds)
        if (name == i.name) {
            out = i.kind;
            return true;
        }
    return false;
}

std::string FaultHelp() {
    std::string s;
    for (const KindInfo& i : kKinds) {
        s += "  ";
        s += i.help;
        s += '\n';
    }
    s += "  modifiers: ,times=N  ,after=N  ,pct=P  ,cmd=LETTERS  (e.g. drop,times=1,cmd=L)\n";
    return s;
}

bool ParseFault(const std::string& text, Fault& out, std::string& error) {
    Fault f;
    f.text = text;
    // Split at commas: the first piece is NAME[=ARG], the rest are modifiers.
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        pieces.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    const std::string& head = pieces[0];
    const std::size_t eq = head.find('=');
    const std::string name = head.substr(0, eq);
    const std::string arg = eq == std::string::npos ? std::string() : head.substr(eq + 1);
    const KindInfo* info = nullptr;
    for (const KindInfo& i : kKinds)
        if (name == i.name) info = &i;
    if (!info) {
        error = "unknown fault '" + name + "'";
        return false;
    }
    f.kind = info->kind;
    if (info->needsArg && arg.empty()) {
        error = "fault '" + name + "' needs a value";
        return false;
    }
    switch (f.kind) {
        case FaultKind::kNoise:
            f.arg = 4;
            if (!arg.empty() && (!ToInt(arg, f.arg) || f.arg < 1 || f.arg > 64)) {
                error = "noise: a byte count of 1..64 is expected";
                return false;
            }
            break;
        case FaultKind::kOtherAddress:
            f.arg = -1;
            if (!arg.empty() && (!ToInt(arg, f.arg) || f.arg < 0 || f.arg > 223)) {
                error = "other-address: an address of 0..223 is expected";
                return false;
            }
            break;
        case FaultKind::kSlow:
            if (!ToInt(arg, f.arg) || f.arg < 0 || f.arg > 600000) {
                error = "slow: a delay in milliseconds is expected";
                return false;
            }
            break;
        case FaultKind::kLate:
            f.arg = 300;
            f.times = 1;
            if (!arg.empty() && (!ToInt(arg, f.arg) || f.arg < 0 || f.arg > 600000)) {
                error = "late: a delay in milliseconds is expected";
                return false;
            }
            break;
        case FaultKind::kWriteRefused:
            if (!ToInt(arg, f.arg) || (f.arg != 129 && f.arg != 130)) {
                error = "write-refused: 129 or 130 is expected";
                return false;
            }
            break;
        case FaultKind::kControlAnswer: {
            const std::size_t colon = arg.find(':');
            if (colon == std::string::npos || colon + 2 != arg.size() || !ToInt(arg.substr(0, colon), f.arg) ||
                f.arg < 0 || f.arg > 223 || !std::isalpha(static_cast<unsigned char>(arg[colon + 1]))) {
                error = "control: CODE:LETTER is expected, e.g. control=20:C";
                return false;
            }
            f.answer = static_cast<char>(std::toupper(static_cast<unsigned char>(arg[colon + 1])));
            break;
        }
        case FaultKind::kReading: {
            const std::size_t c1 = arg.find(':');
            const std::size_t c2 = c1 == std::string::npos ? c1 : arg.find(':', c1 + 1);
            if (c2 == std::string::npos || !ToInt(arg.substr(0, c1), f.arg) ||
                !ToInt(arg.substr(c1 + 1, c2 - c1 - 1), f.point) || !ToInt(arg.substr(c2 + 1), f.value) ||
                f.arg < 1 || f.arg > 2 || f.point < 1 || f.point > 200 || f.value < 0 || f.value > 254) {
                error = "reading: LOOP:POINT:VALUE is expected, e.g. reading=1:5:60";
                return false;
            }
            break;
        }
        case FaultKind::kLoopOpen:
        case FaultKind::kLoopShort:
        case FaultKind::kOverCurrent:
            if (!ToInt(arg, f.arg) || f.arg < 1 || f.arg > 2) {
                error = std::string(info->name) + ": a loop number 1 or 2 is expected";
                return false;
            }
            break;
        default:
            if (!arg.empty()) {
                error = "fault '" + name + "' takes no value";
                return false;
            }
    }
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        const std::string& m = pieces[i];
        const std::size_t meq = m.find('=');
        const std::string key = m.substr(0, meq);
        const std::string value = meq == std::string::npos ? std::string() : m.substr(meq + 1);
        int v = 0;
        if (key == "times" && ToInt(value, v) && v >= 1) {
            f.times = v;
        } else if (key == "after" && ToInt(value, v) && v >= 0) {
            f.after = v;
        } else if (key == "pct" && ToInt(value, v) && v >= 0 && v <= 100) {
            f.percent = v;
        } else if (key == "cmd" && !value.empty()) {
            f.letters = value;
        } else {
            error = "bad modifier '" + m + "' (times=N, after=N, pct=0..100, cmd=LETTERS)";
            return false;
        }
    }
    out = std::move(f);
    return true;
}

}  // namespace vimo::sim
