// loop_picture_bench: the time to build and paint the loop overview of both
// modules (400 points) as the sensor list's refresh does, with live readings
// that change on every round. Prints the figures; asserts nothing.
//
//   loop_picture_bench [ROUNDS]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "gui/LoopPicture.h"
#include "loops/LoopSection.h"
#include "shell/SilentUi.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    cfg::SilentUi ui;
    cfg::SystemClock clock;
    cfg::Session s(ui, clock);
    s.config.ConfigSource = cfg::ConfigSource::Panel;
    std::array<cfg::LoopContext, 2> loops;
    for (int m = 1; m <= 2; ++m) {
        cfg::LoopContext& c = loops[static_cast<std::size_t>(m - 1)];
        c.module = m;
        c.present[static_cast<std::size_t>(m)] = true;
        for (int r = 1; r <= 14; ++r) c.thresholds.row[static_cast<std::size_t>(r)] = {45, 60, 55, 8};
    }
    // Every point configured, a few types, so every mark is drawn in full.
    for (int k = 1; k <= 200; ++k) {
        s.config.ConfigImage[2 * k - 1] = static_cast<cfg::Cell>((1 + k % 3) << 4 | 1);
        s.config.ConfigImage[500 + 2 * k - 1] = 70;
    }
    QImage image(880, 300, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(rounds));
    for (int round = 0; round < rounds; ++round) {
        for (auto& c : loops)
            for (int k = 1; k <= 200; ++k) c.live[2 * k] = (k * 7 + round) % 80;
        const auto start = std::chrono::steady_clock::now();
        QPainter p(&image);
        for (int m = 0; m < 2; ++m) {
            const cfg::LoopPicture pic = cfg::LoopOverview(s, loops[static_cast<std::size_t>(m)]);
            cfg::gui::PaintLoopPicture(p, QRect(440 * m, 0, 440, 300), pic);
        }
        p.end();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) { return ms[static_cast<std::size_t>(q * static_cast<double>(ms.size() - 1))]; };
    std::printf("loop overview, 400 points built and painted (880 x 300), %d rounds\n", rounds);
    std::printf("  median %.3f ms   90%% %.3f ms   max %.3f ms\n", at(0.5), at(0.9), ms.back());
    return 0;
}
