#include "sim/Panel.h"

#include <algorithm>
#include <cstdio>

namespace vimo::sim {

namespace {

constexpr char kOk = 'O';
constexpr char kNeedCode = 'P';
constexpr char kNotNow = 'D';
constexpr char kError = 'E';

constexpr uint8_t kDone = 143;
constexpr uint8_t kAccessNeeded = 80;
constexpr uint8_t kNotProgramming = 128;
constexpr uint8_t kReadOnly = 129;
constexpr uint8_t kBadRequest = 130;

// How long the tool waits for the reply to each command (its first try for
// "T"): a "late" reply comes after that.
int64_t ToolTimeoutMs(char letter) {
    switch (letter) {
        case 'T': return 1000;
        case 'X': return 3000;
        case 'J': return 4000;
        default: return 2000;  // C, L, D, H
    }
}

// Recomputes the checksum of a reply in place (after a fault changed it).
void Reseal(std::vector<uint8_t>& r) {
    if (r.size() < 6) return;
    std::size_t start = 0;
    while (start < r.size() && r[start] != kSoh && r[start] != kStx) ++start;
    long total = 0;
    for (std::size_t i = start + 1; i + 3 < r.size(); ++i) total += r[i];
    const long high = total / 224;
    r[r.size() - 3] = static_cast<uint8_t>(std::min<long>(high, kMaxValue) + kValueOffset);
    r[r.size() - 2] = static_cast<uint8_t>(total - 224 * high + kValueOffset);
}

bool IsReadOnly(std::size_t address, std::size_t count) {
    auto overlaps = [&](std::size_t from, std::size_t size) {
        return address < from + size && from < address + count;
    };
    return overlaps(kDirectory, 2 * kDirectoryEntries) || overlaps(kIdentification, kIdentificationSize);
}

bool IsFreelyReadable(std::size_t address, std::size_t count) {
    auto inside = [&](std::size_t from, std::size_t size) {
        return address >= from && address + count <= from + size;
    };
    return inside(kDirectory, 2 * kDirectoryEntries) || inside(kIdentification, kIdentificationSize);
}

std::string Format(const char* fmt, long a, long b = 0, long c = 0) {
    char buf[96];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

// One line saying what a command asks, for traces.
std::string DescribeCommand(const ToolFrame& f) {
    const std::vector<uint8_t>& p = f.params;
    auto addr = [&p]() { return static_cast<long>(p[1] + 16 * p[2] + 256 * p[3] + 4096 * p[4]); };
    std::string s(1, f.letter);
    switch (f.letter) {
        case 'C':
            if (p.size() >= 2) s += Format(" %ld", p[1]);
            break;
        case 'L':
            if (p.size() >= 6) s += Format(" read %ld (0x%04lX) x%ld", addr(), addr(), p[5]);
            break;
        case 'J':
            if (p.size() >= 6) s += Format(" write %ld (0x%04lX) x%ld", addr(), addr(), p[5]);
            break;
        case 'X':
            if (p.size() >= 3) {
                s += ' ';
                s += static_cast<char>(p[1] >= 32 && p[1] < 127 ? p[1] : '?');
                s += Format(" cmd %ld", p[2]);
                for (std::size_t i = 3; i + 1 < p.size(); i += 2) s += Format(" %ld", p[i] + 16 * p[i + 1]);
            }
            break;
        case 'H':
            if (p.size() >= 8)
                s += Format(" %02ld:%02ld:%02ld", p[3], p[2], p[1]) + Format(" %02ld/%02ld/%02ld", p[5], p[6], p[7]) +
                     Format(" wd %ld", p[4]);
            break;
        default: break;
    }
    if (f.longForm && !f.header.empty()) s += Format(" [header %ld bytes]", static_cast<long>(f.header.size()));
    return s;
}

std::string DescribeAnswer(char letter, const std::vector<uint8_t>& values) {
    std::string s = std::string("reply ") + letter;
    if (values.size() < 2) return s;
    const uint8_t code = values[1];
    if (letter == 'D' && values.size() >= 8)
        return s + Format(" %02ld:%02ld:%02ld", values[3], values[2], values[1]) +
               Format(" %02ld/%02ld/%02ld", values[5], values[6], values[7]);
    if (code >= 'A' && code <= 'Z') return s + " '" + static_cast<char>(code) + "'";
    return s + Format(" %ld", code);
}

}  // namespace

Panel::Panel(const PanelSettings& settings)
    : settings_(settings), rng_(settings.seed), faultRng_(settings.seed * 7919 + 17) {
    for (int m = 1; m <= kLoopModules; ++m) {
        LoopModule& loop = Loop(m);
        loop.installed = settings_.modules[static_cast<std::size_t>(m - 1)];
        loop.autoConfigMs = settings_.autoConfigMs;
    }
    WriteDirectory();
    SetIdentification(settings_.identification);
    memory_.Set(kSerialDivisor, 12);
    LoadFileSet(FactoryFileSet());
    clock_.Set(DateTime{2024, 1, 1, 0, 0, 0, 1}, 0);
}

void Panel::WriteDirectory() {
    for (int k = 1; k <= kDirectoryEntries; ++k)
        memory_.SetWord(kDirectory + 2u * static_cast<unsigned>(k - 1), DirectoryEntry(k));
}

void Panel::SetIdentification(const std::string& text) {
    for (std::size_t i = 0; i < kIdentificationSize; ++i)
        memory_.Set(kIdentification + i, static_cast<uint8_t>(i < text.size() ? text[i] : ' '));
}

std::string Panel::Identification() const {
    std::string s;
    for (std::size_t i = 0; i < kIdentificationSize; ++i) s += static_cast<char>(memory_.Get(kIdentification + i));
    return s;
}

int Panel::Address() const { return memory_.Get(kCommAddress); }
void Panel::SetAddress(int address) {
    settings_.address = std::clamp(address, 0, 223);
    memory_.Set(kCommAddress, static_cast<uint8_t>(*settings_.address));
}
int Panel::PlantCode() const { return memory_.Get(kCommPlantCode); }
void Panel::SetPlantCode(int code) {
    settings_.plantCode = std::clamp(code, 0, 223);
    memory_.Set(kCommPlantCode, static_cast<uint8_t>(*settings_.plantCode));
}

void Panel::SetProgrammingMode(bool on, int64_t nowMs) {
    programming_ = on;
    lastActivityMs_ = nowMs;
}

LoopModule& Panel::Loop(int module) {
    return loops_[static_cast<std::size_t>(std::clamp(module, 1, kLoopModules) - 1)];
}

// --- file sets --------------------------------------------------------------

void Panel::LoadFileSet(const FileSet& set) {
    const std::size_t cy2 = std::min(set.cy2.size(), std::size_t{kMainSize});
    memory_.Write(kMainBase, std::span<const uint8_t>(set.cy2).first(cy2));
    if (set.cy2.size() >= 2912) memory_.Write(kReference, std::span<const uint8_t>(set.cy2).subspan(2112, 800));

    auto piece = [](const std::vector<uint8_t>& v, std::size_t from, std::size_t count) {
        if (from >= v.size()) return std::span<const uint8_t>();
        return std::span<const uint8_t>(v).subspan(from, std::min(count, v.size() - from));
    };
    memory_.Write(kClockPrograms, piece(set.py2, 0, kClockProgramsArea));
    memory_.Write(kClockPeriods, piece(set.py2, 350, kClockPeriodsArea));
    memory_.Write(kClockDates, piece(set.py2, 360, kClockDatesArea));

    memory_.Fill(kLogics, kLogicsLength + 2u, 0);
    memory_.Write(kLogics, piece(set.uy2, 0, kLogicsLength + 2u));
    memory_.Write(kDisplayTexts, piece(set.my2, 0, kDisplayTextsSize));

    bool programs = false;
    for (std::size_t i = 0; i < 336 && i < set.py2.size(); ++i) programs |= set.py2[i] != 255;
    const bool logics = set.uy2.size() >= 2 && (set.uy2[0] != 0 || set.uy2[1] != 0);
    memory_.Set(kMarker, programs || logics ? kMarkerPresent : 0);

    // Link parameters chosen by the host outlast any configuration loaded.
    if (settings_.address) SetAddress(*settings_.address);
    if (settings_.plantCode) SetPlantCode(*settings_.plantCode);
    RewireLoops();
}

void Panel::RewireLoops() {
    for (LoopModule& loop : loops_) {
        loop.FieldFromConfig(memory_);
        loop.addressZero = {};
    }
    RestartLiveTables();
}

void Panel::RestartLiveTables() {
    memory_.Fill(kLiveValues, 2u * kLoopTableSize, 0);
    memory_.Fill(kMinMax, 2u * kLoopTableSize, 255);
    for (LoopModule& loop : loops_) loop.Tick(memory_, rng_, ConditionsFor(loop.Number(), nowMs_), nowMs_);
}

FileSet Panel::ExportFileSet() const {
    auto entry = [this](int k) -> std::size_t { return memory_.Word(kDirectory + 2u * static_cast<unsigned>(k - 1)); };
    auto append = [](std::vector<uint8_t>& out, const std::vector<uint8_t>& part) {
        out.insert(out.end(), part.begin(), part.end());
    };
    FileSet s;
    append(s.cy2, memory_.Read(kMainBase, 512));
    append(s.cy2, memory_.Read(kPointConfig, 1600));
    append(s.cy2, memory_.Read(entry(5) + 1600, 800));
    append(s.cy2, memory_.Read(entry(4), 56));
    append(s.cy2, memory_.Read(kIdentification + 10, 13));

    append(s.py2, memory_.Read(entry(11), 350));
    append(s.py2, memory_.Read(entry(9), 10));
    append(s.py2, memory_.Read(entry(10), 24));

    append(s.uy2, memory_.Read(entry(16), entry(17) + 2));

    for (std::size_t k = 0; k < 16; ++k) append(s.my2, memory_.Read(entry(19) + 455 * k, 455));
    return s;
}

void Panel::LoadSample() {
    LoadFileSet(SampleFileSet());
    LoopModule& loop = Loop(kSampleMissingModule);
    loop.SetDevice(kSampleMissingIndex, 0);
    Loop(kSampleExtraModule).SetDevice(kSampleExtraIndex, 1);
    Loop(kSampleAddressZeroModule).addressZero = {1, 0};
    RestartLiveTables();
}

void Panel::StartWalk(int stepSeconds) {
    walker_ = Walker(std::max(0, stepSeconds) * 1000, settings_.seed * 104729 + 7);
}

// --- faults -----------------------------------------------------------------

void Panel::AddFault(const Fault& f) { faults_.push_back(f); }

int Panel::RemoveFaults(FaultKind kind) {
    const auto before = faults_.size();
    std::erase_if(faults_, [kind](const Fault& f) { return f.kind == kind; });
    return static_cast<int>(before - faults_.size());
}

std::optional<Fault> Panel::TakeFault(FaultKind kind, char letter, int arg) {
    for (std::size_t i = 0; i < faults_.size(); ++i) {
        Fault& f = faults_[i];
        if (f.kind != kind || !f.Matches(letter) || (arg != -1 && f.arg != arg)) continue;
        if (f.after > 0) {
            --f.after;
            continue;
        }
        if (f.percent < 100 && !faultRng_.Percent(f.percent)) continue;
        const Fault taken = f;
        if (f.times > 0 && --f.times == 0) faults_.erase(faults_.begin() + static_cast<std::ptrdiff_t>(i));
        return taken;
    }
    return std::nullopt;
}

bool Panel::HasCondition(FaultKind kind, int module) const {
    return std::any_of(faults_.begin(), faults_.end(),
                       [&](const Fault& f) { return f.kind == kind && (f.arg == module || f.arg == 0); });
}

LoopConditions Panel::ConditionsFor(int module, int64_t atMs) const {
    LoopConditions c;
    // The walker first: a forced reading of a fault wins over it.
    walker_.Readings(module, atMs, c.readings);
    c.open = HasCondition(FaultKind::kLoopOpen, module);
    c.shortCircuit = HasCondition(FaultKind::kLoopShort, module);
    c.overCurrent = HasCondition(FaultKind::kOverCurrent, module);
    for (const Fault& f : faults_)
        if (f.kind == FaultKind::kReading && f.arg == module) c.readings.emplace_back(f.point, f.value);
    return c;
}

bool Panel::ForcedAccess(char letter) { return TakeFault(FaultKind::kAccessNeeded, letter).has_value(); }

bool Panel::AccessGranted(const ToolFrame& f) const {
    if (settings_.accessCode.empty() || programming_) return true;
    return f.longForm && f.header == EncodeAccessCode(settings_.accessCode);
}

// --- the line ---------------------------------------------------------------

void Panel::Advance(int64_t nowMs) {
    nowMs_ = std::max(nowMs_, nowMs);
    if (programming_ && settings_.programmingTimeoutMs > 0 &&
        nowMs_ - lastActivityMs_ > settings_.programmingTimeoutMs) {
        programming_ = false;
        Trace(TraceEvent::Kind::kNote, nowMs_, {}, "programming mode timed out");
    }
    if (walker_.Active() && !walker_.Planned())
        walker_.Plan(memory_, {&loops_[0], &loops_[1]}, nowMs_);
    const int step = std::max(settings_.liveStepMs, 10);
    // After a long pause (a host that stopped calling) only the last ten
    // minutes are played.
    if (nowMs_ - lastLiveMs_ > 600LL * step) lastLiveMs_ = nowMs_ - 600LL * step;
    while (nowMs_ - lastLiveMs_ >= step) {
        lastLiveMs_ += step;
        for (LoopModule& loop : loops_) loop.Tick(memory_, rng_, ConditionsFor(loop.Number(), lastLiveMs_), lastLiveMs_);
    }
}

void Panel::Feed(std::span<const uint8_t> bytes, int64_t nowMs) {
    Advance(nowMs);
    inputLagMs_ = 0;
    if (settings_.paceInput && settings_.paceBaud > 0 && !bytes.empty()) {
        const int64_t baud = settings_.paceBaud;
        inputLineFreeMs_ = std::max(inputLineFreeMs_, nowMs) +
                           (static_cast<int64_t>(bytes.size()) * 10000 + baud - 1) / baud;
        inputLagMs_ = inputLineFreeMs_ - nowMs;
    }
    std::vector<FrameScanner::Result> lines;
    scanner_.Push(bytes, PlantCode(), lines);
    for (const FrameScanner::Result& r : lines) {
        if (r.frame) {
            HandleFrame(*r.frame, r.raw, nowMs_);
        } else {
            ++stats_.badFrames;
            Trace(TraceEvent::Kind::kIgnored, nowMs_, r.raw, std::string("ignored: ") + FrameFaultName(r.fault));
        }
    }
}

void Panel::HandleFrame(const ToolFrame& frame, const std::vector<uint8_t>& raw, int64_t nowMs) {
    if (frame.address != 0 && frame.address != Address()) {
        ++stats_.otherAddress;
        Trace(TraceEvent::Kind::kIgnored, nowMs, raw, Format("ignored: for address %ld", frame.address));
        return;
    }
    Advance(nowMs);  // a programming-mode time-out happens before this frame
    lastActivityMs_ = nowMs;
    ++stats_.framesIn;
    Trace(TraceEvent::Kind::kIn, nowMs, raw, DescribeCommand(frame));

    int replyAddress = Address();
    std::optional<std::vector<uint8_t>> values = Answer(frame, nowMs);
    if (!values) {
        ++stats_.unknownCommands;
        Trace(TraceEvent::Kind::kNote, nowMs, {}, std::string("unknown command ") + frame.letter);
        return;
    }
    const char letter = frame.letter;
    if (TakeFault(FaultKind::kDrop, letter)) {
        ++stats_.dropped;
        Trace(TraceEvent::Kind::kNote, nowMs, {}, "fault: reply dropped");
        return;
    }
    int64_t delay = settings_.latencyMs + inputLagMs_;
    if (const auto f = TakeFault(FaultKind::kSlow, letter)) delay += f->arg;
    if (const auto f = TakeFault(FaultKind::kLate, letter)) delay += ToolTimeoutMs(letter) + f->arg;
    if (const auto f = TakeFault(FaultKind::kOtherAddress, letter))
        replyAddress = f->arg >= 0 ? f->arg : (replyAddress + 1) % 224;

    bool longForm = frame.longForm;
    const bool badLength = TakeFault(FaultKind::kBadLength, letter).has_value();
    if (badLength) longForm = true;
    std::vector<uint8_t> reply = BuildReply(replyAddress, letter, *values, longForm);
    if (badLength && reply[1] < 255) ++reply[1];
    if (TakeFault(FaultKind::kLowByte, letter)) {
        // The last data byte becomes 0x1F; the checksum still matches.
        reply[reply.size() - 4] = 0x1F;
        Reseal(reply);
    }
    if (TakeFault(FaultKind::kBadChecksum, letter)) {
        uint8_t& low = reply[reply.size() - 2];
        low = low > kValueOffset ? static_cast<uint8_t>(low - 1) : static_cast<uint8_t>(low + 1);
    }
    if (const auto f = TakeFault(FaultKind::kNoise, letter)) {
        static constexpr uint8_t kNoise[] = {0x00, 0xFF, 0x55, 0x7F, 0x20, 0xAA, 0x0F, 0xF0};
        std::vector<uint8_t> noise;
        for (int i = 0; i < f->arg; ++i) noise.push_back(kNoise[faultRng_.Below(8)]);
        reply.insert(reply.begin(), noise.begin(), noise.end());
    }

    ++stats_.repliesOut;
    Trace(TraceEvent::Kind::kOut, nowMs, reply, DescribeAnswer(letter, *values));
    Enqueue(reply, nowMs + delay);
}

std::optional<std::vector<uint8_t>> Panel::Answer(const ToolFrame& f, int64_t nowMs) {
    const uint8_t p0 = f.params.empty() ? 0 : f.params[0];
    switch (f.letter) {
        case 'T': return std::vector<uint8_t>{p0, static_cast<uint8_t>(kOk), kPanelModel};
        case 'C': return AnswerControl(f, nowMs);
        case 'L': return AnswerRead(f);
        case 'J': return AnswerWrite(f, nowMs);
        case 'X': return AnswerLoop(f, nowMs);
        case 'D':
        case 'H': return AnswerClock(f, nowMs);
        default: return std::nullopt;
    }
}

std::vector<uint8_t> Panel::AnswerControl(const ToolFrame& f, int64_t nowMs) {
    const uint8_t p0 = f.params.empty() ? 0 : f.params[0];
    const int code = f.params.size() >= 2 ? f.params[1] : -1;
    auto answer = [p0](char c) { return std::vector<uint8_t>{p0, static_cast<uint8_t>(c)}; };
    if (const auto forced = TakeFault(FaultKind::kControlAnswer, 'C', code)) return answer(forced->answer);
    switch (code) {
        case 20:
            if (ForcedAccess('C') || !AccessGranted(f)) return answer(kNeedCode);
            SetProgrammingMode(true, nowMs);
            return answer(kOk);
        case 21:
            SetProgrammingMode(false, nowMs);
            return answer(kOk);
        case 14:
        case 15: {
            if (!programming_) return answer(kNotNow);
            const bool present = memory_.Get(kMarker) == kMarkerPresent;
            bool valid = true;
            if (present && code == 14)
                valid = LogicsValid(memory_.Read(kLogics, kLogicsLength + 2u));
            if (present && code == 15)
                valid = ClockProgramsValid(memory_.Read(kClockPrograms, kClockProgramsLength + 2u));
            if (!valid) return answer(kError);
            ++(code == 14 ? stats_.commitsLogics : stats_.commitsPrograms);
            return answer(kOk);
        }
        default: return answer(kError);
    }
}

std::vector<uint8_t> Panel::AnswerRead(const ToolFrame& f) {
    const uint8_t p0 = f.params.empty() ? 0 : f.params[0];
    std::vector<uint8_t> out{p0, kBadRequest};
    if (f.params.size() != 6) return out;
    for (std::size_t i = 1; i <= 4; ++i)
        if (f.params[i] > 15) return out;
    const std::size_t address = f.params[1] + 16u * f.params[2] + 256u * f.params[3] + 4096u * f.params[4];
    const std::size_t count = f.params[5];
    if (count < 1 || count > 64 || address + count > kMemorySize) return out;
    if (ForcedAccess('L') || (!IsFreelyReadable(address, count) && !AccessGranted(f))) {
        out[1] = kAccessNeeded;
        return out;
    }
    out[1] = kDone;
    for (uint8_t b : memory_.Read(address, count)) AppendByteDigits(b, out);
    return out;
}

std::vector<uint8_t> Panel::AnswerWrite(const ToolFrame& f, int64_t nowMs) {
    const uint8_t p0 = f.params.empty() ? 0 : f.params[0];
    std::vector<uint8_t> out{p0, kBadRequest};
    if (f.params.size() < 6) return out;
    for (std::size_t i = 1; i <= 4; ++i)
        if (f.params[i] > 15) return out;
    const std::size_t address = f.params[1] + 16u * f.params[2] + 256u * f.params[3] + 4096u * f.params[4];
    const std::size_t count = f.params[5];
    if (count < 1 || count > 64 || f.params.size() != 6 + 2 * count || address + count > kMemorySize) return out;
    for (std::size_t i = 6; i < f.params.size(); ++i)
        if (f.params[i] > 15) return out;
    if (const auto fault = TakeFault(FaultKind::kWriteRefused, 'J')) {
        out[1] = static_cast<uint8_t>(fault->arg);
        return out;
    }
    if (!programming_) {
        out[1] = kNotProgramming;
        return out;
    }
    if (IsReadOnly(address, count)) {
        out[1] = kReadOnly;
        return out;
    }
    for (std::size_t i = 0; i < count; ++i)
        memory_.Set(address + i, static_cast<uint8_t>(f.params[6 + 2 * i] + 16 * f.params[7 + 2 * i]));
    ++stats_.writes;
    lastActivityMs_ = nowMs;
    out[1] = kDone;
    return out;
}

std::vector<uint8_t> Panel::AnswerLoop(const ToolFrame& f, int64_t nowMs) {
    const uint8_t p0 = f.params.empty() ? 0 : f.params[0];
    std::vector<uint8_t> out{p0, kBadRequest};
    if (f.params.size() < 3 || (f.params.size() - 3) % 2 != 0) return out;
    const int module = f.params[1] - 64;
    const bool unit = f.params[1] == kConcentratorLetter;
    if (!unit && (module < 1 || module > kLoopModules)) {
        out[1] = xanswer::kNoModule;
        return out;
    }
    if (ForcedAccess('X')) {
        out[1] = kAccessNeeded;
        return out;
    }
    // The loop modules and the concentrator units take commands only while
    // the panel is in programming mode (which an access code guards), like a
    // write.
    if (!programming_) {
        out[1] = kNotProgramming;
        return out;
    }
    std::vector<uint8_t> values;
    for (std::size_t i = 3; i + 1 < f.params.size(); i += 2) {
        if (f.params[i] > 15 || f.params[i + 1] > 15) return out;
        values.push_back(static_cast<uint8_t>(f.params[i] + 16 * f.params[i + 1]));
    }
    if (unit) {
        const LoopAnswer a = AnswerConcentrator(concentrators_, f.params[2], values);
        out[1] = a.code;
        if (a.code == kDone)
            for (uint8_t v : a.values) AppendByteDigits(v, out);
        return out;
    }
    LoopConditions c = ConditionsFor(module, nowMs);
    c.autoConfigRefused = f.params[2] == loopcmd::kAutoConfigStart && TakeFault(FaultKind::kAutoConfigRefused, 'X');
    c.resetRefused = f.params[2] == loopcmd::kResetErrors && TakeFault(FaultKind::kResetRefused, 'X');
    LoopModule& loop = Loop(module);
    const LoopAnswer a = loop.Command(f.params[2], values, memory_, rng_, nowMs, programming_, c);
    out[1] = a.code;
    if (a.code == kDone)
        for (uint8_t v : a.values) AppendByteDigits(v, out);
    return out;
}

std::vector<uint8_t> Panel::AnswerClock(const ToolFrame& f, int64_t nowMs) {
    const uint8_t p0 = f.params.empty() ? 0 : f.params[0];
    if (f.letter == 'D') {
        const DateTime t = clock_.Read(nowMs);
        const int yy = t.year < 2000 ? t.year - 1900 : t.year - 2000;
        return {p0,
                static_cast<uint8_t>(t.second),
                static_cast<uint8_t>(t.minute),
                static_cast<uint8_t>(t.hour),
                static_cast<uint8_t>(t.weekday),
                static_cast<uint8_t>(t.day),
                static_cast<uint8_t>(t.month),
                static_cast<uint8_t>(yy >= 0 && yy <= 99 ? yy : 0)};
    }
    auto answer = [p0](char c) { return std::vector<uint8_t>{p0, static_cast<uint8_t>(c)}; };
    if (ForcedAccess('H') || !AccessGranted(f)) return answer(kNeedCode);
    if (f.params.size() != 8) return answer(kError);
    DateTime t;
    t.second = f.params[1];
    t.minute = f.params[2];
    t.hour = f.params[3];
    t.weekday = f.params[4];
    t.day = f.params[5];
    t.month = f.params[6];
    const int yy = f.params[7];
    t.year = yy >= 80 ? 1900 + yy : 2000 + yy;
    if (t.second > 59 || t.minute > 59 || t.hour > 23 || t.weekday < 1 || t.weekday > 7 || t.month < 1 ||
        t.month > 12 || yy > 99 || t.day < 1 || t.day > DaysInMonth(t.year, t.month))
        return answer(kError);
    clock_.Set(t, nowMs);
    return answer(kOk);
}

// --- output -----------------------------------------------------------------

void Panel::Enqueue(const std::vector<uint8_t>& bytes, int64_t startMs) {
    if (!output_.empty()) startMs = std::max(startMs, output_.back().readyMs);
    const int baud = settings_.paceBaud;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        int64_t at = startMs;
        if (baud > 0) at += (static_cast<int64_t>(i + 1) * 10000 + baud - 1) / baud;
        output_.push_back({at, bytes[i]});
    }
}

std::vector<uint8_t> Panel::TakeOutput(int64_t nowMs, std::size_t maxBytes) {
    Advance(nowMs);
    std::vector<uint8_t> out;
    while (!output_.empty() && output_.front().readyMs <= nowMs && (maxBytes == 0 || out.size() < maxBytes)) {
        out.push_back(output_.front().byte);
        output_.pop_front();
    }
    return out;
}

std::size_t Panel::OutputReady(int64_t nowMs) const {
    std::size_t n = 0;
    for (const Queued& q : output_) {
        if (q.readyMs > nowMs) break;
        ++n;
    }
    return n;
}

std::optional<int64_t> Panel::NextOutputAt() const {
    if (output_.empty()) return std::nullopt;
    return output_.front().readyMs;
}

void Panel::DiscardReady(int64_t nowMs) {
    while (!output_.empty() && output_.front().readyMs <= nowMs) output_.pop_front();
}

void Panel::Trace(TraceEvent::Kind kind, int64_t nowMs, std::vector<uint8_t> bytes, std::string text) {
    if (!trace_) return;
    TraceEvent e;
    e.kind = kind;
    e.nowMs = nowMs;
    e.bytes = std::move(bytes);
    e.text = std::move(text);
    trace_(e);
}

}  // namespace vimo::sim
