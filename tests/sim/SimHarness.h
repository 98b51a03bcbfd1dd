// A panel on the test's own clock, and the commands a tool would send it,
// with the replies decoded.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "sim/Panel.h"
#include "sim/Wire.h"

namespace vimo::sim::test {

using Bytes = std::vector<uint8_t>;

inline constexpr int kPlant = 11;  // the factory configuration's plant code

struct Harness {
    Panel panel;
    int64_t now = 0;
    int plant = kPlant;
    int address = 1;

    explicit Harness(const PanelSettings& s = {}) : panel(s) {}

    // Sends one command and takes whatever is readable at once.
    Bytes Exchange(char letter, const Bytes& params, bool longForm = true, const Bytes& header = {}) {
        panel.Feed(BuildToolFrame(address, letter, params, plant, longForm, header), now);
        return panel.TakeOutput(now);
    }
    std::optional<PanelReply> Send(char letter, const Bytes& params, bool longForm = true,
                                   const Bytes& header = {}) {
        const Bytes out = Exchange(letter, params, longForm, header);
        if (out.empty()) return std::nullopt;
        return ParsePanelReply(out);
    }
    // The answer byte (reply data byte 4), or -1 without a reply.
    int Answer(char letter, const Bytes& params, const Bytes& header = {}) {
        const auto r = Send(letter, params, true, header);
        return r && r->values.size() >= 2 ? r->values[1] : -1;
    }
    int Control(int code, const Bytes& header = {}) { return Answer('C', Bytes{0, static_cast<uint8_t>(code)}, header); }
    void Enter() { ASSERT_EQ(Control(20), 'O'); }

    static Bytes ReadParams(uint16_t address, int count) {
        Bytes p{0};
        AppendAddressDigits(address, p);
        p.push_back(static_cast<uint8_t>(count));
        return p;
    }
    static Bytes WriteParams(uint16_t address, const Bytes& data) {
        Bytes p = ReadParams(address, static_cast<int>(data.size()));
        for (uint8_t b : data) AppendByteDigits(b, p);
        return p;
    }
    static Bytes Undigit(const Bytes& values, std::size_t from) {
        Bytes out;
        for (std::size_t i = from; i + 1 < values.size(); i += 2)
            out.push_back(static_cast<uint8_t>((values[i] & 15) + 16 * (values[i + 1] & 15)));
        return out;
    }
    // Reads memory in one "L"; empty when the panel did not answer 143.
    Bytes Read(uint16_t address, int count, const Bytes& header = {}) {
        const auto r = Send('L', ReadParams(address, count), true, header);
        if (!r || r->values.size() < 2 || r->values[1] != 143) return {};
        return Undigit(r->values, 2);
    }
    int Write(uint16_t address, const Bytes& data) { return Answer('J', WriteParams(address, data)); }

    // A loop command as the tool sends it: no header, loop letter, sub-command,
    // two digits per value.
    std::optional<PanelReply> LoopCommand(int module, int sub, const Bytes& values = {}) {
        Bytes p{0, static_cast<uint8_t>(64 + module), static_cast<uint8_t>(sub)};
        for (uint8_t v : values) AppendByteDigits(v, p);
        return Send('X', p, false);
    }
    int LoopAnswer(int module, int sub, const Bytes& values = {}) {
        const auto r = LoopCommand(module, sub, values);
        return r && r->values.size() >= 2 ? r->values[1] : -1;
    }
    Bytes LoopValues(int module, int sub, const Bytes& values = {}) {
        const auto r = LoopCommand(module, sub, values);
        if (!r || r->values.size() < 2 || r->values[1] != 143) return {};
        return Undigit(r->values, 2);
    }

    void Wait(int64_t ms) {
        now += ms;
        panel.Advance(now);
    }
};

}  // namespace vimo::sim::test
