// What the loop tests share: a session on a file set or on the in-process
// panel, with the loop tables of one module written where the section reads
// them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorFixture.h"
#include "loops/LoopSection.h"
#include "sim/Faults.h"
#include "sim/loopback/LoopbackTransport.h"

namespace cfg::test {

// Threshold rows used by the tests: row r holds T0 = 10 r, T1 = 10 r + 5,
// T2 = 10 r + 2, T3 = r (so every row is told apart).
inline int T(int row, int j) {
    static constexpr int kAdd[4] = {0, 5, 2, 0};
    return j == 3 ? row : 10 * row + kAdd[j];
}

class LoopFileTest : public EditorTest {
protected:
    LoopContext c;
    // Writes a .CY2 with module m present, the test thresholds and the given
    // points: {index, b1, b2, param byte 2}.
    struct Point {
        int index, b1, b2, calibration;
    };
    void OpenLoopFile(int module, const std::vector<Point>& points) {
        std::vector<std::pair<int, uint8_t>> cells;
        for (int i = 430; i < 494; ++i) cells.emplace_back(i, 0);
        cells.emplace_back(430 + module, static_cast<uint8_t>(64 + module));
        for (int r = 1; r <= 14; ++r)
            for (int j = 0; j < 4; ++j) cells.emplace_back(2912 + 4 * (r - 1) + j, static_cast<uint8_t>(T(r, j)));
        for (int m = 1; m <= 2; ++m)
            for (int i = 0; i < 400; ++i) {
                cells.emplace_back(512 + 400 * (m - 1) + i, 0);
                cells.emplace_back(1312 + 400 * (m - 1) + i, 0);
                cells.emplace_back(2112 + 400 * (m - 1) + i, 0);
            }
        for (const Point& p : points) {
            cells.emplace_back(PointConfigOffset(module) + 2 * (p.index - 1), static_cast<uint8_t>(p.b1));
            cells.emplace_back(PointConfigOffset(module) + 2 * (p.index - 1) + 1, static_cast<uint8_t>(p.b2));
            cells.emplace_back(PointParamOffset(module) + 2 * (p.index - 1) + 1, static_cast<uint8_t>(p.calibration));
        }
        OpenFileSet(cells);
        c.module = module;
        c.present[static_cast<std::size_t>(module)] = true;
    }
};

class LoopPanelTest : public EditorTest {
protected:
    LoopbackTransport port{t.clock};
    vimo::sim::Memory& mem = port.Panel().Mem();
    LoopContext c;

    LoopPanelTest() {
        s.transport = &port;
        s.link.PanelAddress = static_cast<int16_t>(port.Panel().Address());
        s.settings.PlantCode = std::to_string(port.Panel().PlantCode());
        s.config.ConfigSource = ConfigSource::Panel;
        port.Panel().SetProgrammingMode(true, 0);
        for (int r = 1; r <= 14; ++r)
            for (int j = 0; j < 4; ++j) mem.Set(7008 + 4 * (r - 1) + j, static_cast<uint8_t>(T(r, j)));
        mem.Fill(4608, 1600, 0);
        mem.Fill(4526, 64, 0);
        mem.Set(4526, 'A');
        mem.Set(4527, 'B');
        c.module = 1;
        c.present[1] = c.present[2] = true;
    }
    void SetPoint(int module, int index, int b1, int b2 = 0, int calibration = 0) {
        mem.Set(4608 + 400 * (module - 1) + 2 * (index - 1), static_cast<uint8_t>(b1));
        mem.Set(4608 + 400 * (module - 1) + 2 * (index - 1) + 1, static_cast<uint8_t>(b2));
        mem.Set(5408 + 400 * (module - 1) + 2 * (index - 1) + 1, static_cast<uint8_t>(calibration));
    }
    // Wires the loops after the configuration and restarts their tables.
    void Rewire() { port.Panel().RewireLoops(); }
    void Fault(const std::string& spec) {
        vimo::sim::Fault f;
        std::string error;
        ASSERT_TRUE(vimo::sim::ParseFault(spec, f, error)) << error;
        port.Panel().AddFault(f);
    }
    // The list line of shown point p.
    std::string LineOfPoint(int p) const {
        const std::string label = std::to_string(p) + ": ";
        for (const auto& l : t.ui.loopLines) {
            auto first = l.find_first_not_of(' ');
            if (first != std::string::npos && l.compare(first, label.size(), label) == 0) return l;
        }
        return {};
    }
    // The user closes the list window at the n-th look.
    void CloseListAfter(int looks) {
        for (int i = 1; i < looks; ++i) t.ui.loopListInputs.push_back({});
        LoopListInput close;
        close.closed = true;
        t.ui.loopListInputs.push_back(close);
    }
};

}  // namespace cfg::test
