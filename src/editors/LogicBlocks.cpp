#include "LogicBlocks.h"

#include <algorithm>

#include "config/Files.h"

namespace cfg {

namespace {

uint16_t WordAt(std::span<const uint8_t> stream, int byteIndex) {
    auto at = [&](int i) -> unsigned {
        return (i >= 0 && static_cast<std::size_t>(i) < stream.size()) ? stream[static_cast<std::size_t>(i)] : 0u;
    };
    return static_cast<uint16_t>(at(byteIndex) << 8 | at(byteIndex + 1));
}

void PutWord(std::vector<uint8_t>& out, std::size_t at, uint16_t w) {
    out[at] = static_cast<uint8_t>(w >> 8);
    out[at + 1] = static_cast<uint8_t>(w & 0xFF);
}

constexpr std::array<LogicObjectRange, 8> kRanges{{
    {LogicObjectKind::None, 0, -1, 0},
    {LogicObjectKind::Zone, 1, 32, 32},
    {LogicObjectKind::Block, 33, 112, 80},
    {LogicObjectKind::ZoneFault, 131, 162, 32},
    {LogicObjectKind::PanelState, 195, 206, 12},
    {LogicObjectKind::ClockChannel, 211, 218, 8},
    {LogicObjectKind::AuxInput, 219, 222, 4},
    {LogicObjectKind::Point, 301, 684, 384},
}};

}  // namespace

int LogicBlock::OutputNumber() const {
    int mask = OutputMask();
    if (mask == 0) return 0;
    int bit = 7;
    while ((mask & (1 << bit)) == 0) --bit;
    return OutputGroup() * 8 + bit + 1;
}

bool operator==(const LogicBlock& a, const LogicBlock& b) {
    return a.header == b.header && a.w1 == b.w1 && a.w2 == b.w2 && a.conditions == b.conditions;
}

bool LogicTable::operator==(const LogicTable& other) const { return rows == other.rows; }

LogicTable ParseLogicStream(std::span<const uint8_t> stream, LogicLoadReport* report) {
    LogicTable table;
    LogicLoadReport r;
    int at = 0;  // byte index of the next header (0 = byte 1)
    while (at + 1 < kLogicStreamBytes) {
        uint16_t h = WordAt(stream, at);
        if (h == 0) break;
        // Header, W1 and W2 must fit, and so must the conditions W1 announces.
        if (at + 6 > kLogicStreamBytes) {
            r.truncated = true;
            break;
        }
        uint16_t w1 = WordAt(stream, at + 2);
        uint16_t w2 = WordAt(stream, at + 4);
        int count = w1 >> 11;
        int end = at + 6 + 2 * count;
        if (end > kLogicStreamBytes) {
            r.truncated = true;
            break;
        }
        int n = h & 0x7F;
        // Block number 0 ends the stream, whatever flags its header carries.
        if (n == 0) break;
        if (n > kLogicBlockCount) {
            ++r.outOfRange;
        } else {
            LogicBlock& b = table[n];
            // A number given again replaces the earlier record, as the panel
            // reads the stream.
            if (b.Defined()) ++r.duplicates;
            else ++r.records;
            b.header = h;
            b.w1 = w1;
            b.w2 = w2;
            b.conditions.clear();
            b.conditions.reserve(static_cast<std::size_t>(count));
            for (int i = 0; i < count; ++i) b.conditions.push_back(WordAt(stream, at + 6 + 2 * i));
        }
        at = end;
    }
    if (report) *report = r;
    return table;
}

int LogicStreamSize(const LogicTable& t, int extraWords) {
    int words = extraWords;
    for (int n = 1; n <= kLogicBlockCount; ++n)
        if (t[n].Defined()) words += t[n].Words();
    return 2 * words;
}

bool LogicFits(const LogicTable& t, int extraWords) { return LogicStreamSize(t, extraWords) < kLogicStreamBytes + 1; }

std::vector<uint8_t> CompileLogicStream(const LogicTable& t) {
    std::vector<uint8_t> out(kLogicStreamBytes, 0);
    std::size_t at = 0;
    for (int n = 1; n <= kLogicBlockCount; ++n) {
        const LogicBlock& b = t[n];
        if (!b.Defined()) continue;
        std::size_t bytes = 2 * static_cast<std::size_t>(b.Words());
        if (at + bytes > out.size()) break;
        PutWord(out, at, b.header);
        PutWord(out, at + 2, b.w1);
        PutWord(out, at + 4, b.w2);
        for (std::size_t i = 0; i < b.conditions.size(); ++i) PutWord(out, at + 6 + 2 * i, b.conditions[i]);
        at += bytes;
    }
    return out;
}

std::vector<uint8_t> CompileLogicArea(const LogicTable& t) {
    std::vector<uint8_t> area = CompileLogicStream(t);
    uint16_t c = LogicChecksum(area.data(), area.size());
    area.push_back(static_cast<uint8_t>(c >> 8));
    area.push_back(static_cast<uint8_t>(c & 0xFF));
    return area;
}

std::array<int, kLogicOutputs + 1> LogicOutputTable(const LogicTable& t) {
    std::array<int, kLogicOutputs + 1> outputs{};
    for (int n = 1; n <= kLogicBlockCount; ++n) {
        int o = t[n].Defined() ? t[n].OutputNumber() : 0;
        if (o >= 1 && o <= kLogicOutputs) outputs[static_cast<std::size_t>(o)] = n;
    }
    return outputs;
}

uint16_t MakeLogicHeader(int number, int type, int threshold) {
    return static_cast<uint16_t>((number & 0x7F) | (type & 3) << 8 | (threshold & 15) << 10 | 0x8000);
}

uint16_t MakeLogicW1(int output, int conditionCount) {
    int group = 0, mask = 0;
    if (output >= 1 && output <= kLogicOutputs) {
        group = (output - 1) / 8;
        mask = 1 << ((output - 1) % 8);
    }
    return static_cast<uint16_t>((conditionCount & 31) << 11 | group << 8 | mask);
}

uint16_t MakeLogicW2(int activationDelay, int deactivation) {
    return static_cast<uint16_t>((deactivation & 0xFF) << 8 | (activationDelay & 0xFF));
}

bool HasCondition(const LogicBlock& b, uint16_t word) {
    return std::any_of(b.conditions.begin(), b.conditions.end(), [word](uint16_t c) {
        return (c & kConditionCompareMask) == (word & kConditionCompareMask);
    });
}

uint16_t MakeCondition(int category, int object, bool orCondition, bool negated) {
    return static_cast<uint16_t>((object & 0x3FF) | (category & 15) << 10 | (orCondition ? kConditionOr : 0) |
                                 (negated ? kConditionNot : 0));
}

const LogicObjectRange& ObjectRange(LogicObjectKind kind) {
    for (const auto& r : kRanges)
        if (r.kind == kind) return r;
    return kRanges[0];
}

LogicObjectKind ObjectKindOf(int object) {
    for (const auto& r : kRanges)
        if (r.kind != LogicObjectKind::None && object >= r.first && object <= r.last) return r.kind;
    return LogicObjectKind::None;
}

int ObjectItem(int object) {
    const LogicObjectRange& r = ObjectRange(ObjectKindOf(object));
    return r.kind == LogicObjectKind::None ? 0 : object - r.first + 1;
}

LogicObjectKind ChooserObjects(int entry) {
    // Category code = entry - 1.
    switch (entry) {
    case 1: case 2: case 14: return LogicObjectKind::Zone;            // alarm, prealarm, test
    case 3: case 4: return LogicObjectKind::ZoneFault;               // fault, excluded
    case 5: case 6: case 12: case 13: return LogicObjectKind::Point;  // alarm, fault, excluded, test
    case 7: return LogicObjectKind::Block;
    case 8: return LogicObjectKind::PanelState;
    case 10: return LogicObjectKind::ClockChannel;
    case 11: return LogicObjectKind::AuxInput;
    // Output active, output in fault: the outputs of the loops are points
    // (output modules), named by their point number.
    case 15: case 16: return LogicObjectKind::Point;
    default: return LogicObjectKind::None;
    }
}

}  // namespace cfg
