// walk_view_bench: the time of one refresh of the walk-test view for both
// loop modules (400 points): the record updated from a read of each live
// table, the pictures built with their ticks, the event list written, and
// the pictures painted. Prints the figures; asserts nothing. The goal is a
// refresh well under 5 ms, so that the view stays smooth at one read every
// 2 seconds. The times are the processor time of the program's thread, so
// that other programs on a busy machine do not count.
//
//   walk_view_bench [ROUNDS]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "gui/LoopPicture.h"
#include "loops/WalkTest.h"
#include "shell/SilentUi.h"

namespace {

double ThreadMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    cfg::SilentUi ui;
    cfg::SystemClock clock;
    cfg::Session s(ui, clock);
    s.config.ConfigSource = cfg::ConfigSource::Panel;
    // Every point configured, the factory-like thresholds of type 1.
    std::array<cfg::LoopContext, 2> loops;
    for (int m = 1; m <= 2; ++m) {
        cfg::LoopContext& c = loops[static_cast<std::size_t>(m - 1)];
        c.module = m;
        c.present[static_cast<std::size_t>(m)] = true;
        for (int r = 1; r <= 14; ++r) c.thresholds.row[static_cast<std::size_t>(r)] = {45, 60, 55, 8};
    }
    for (int k = 1; k <= 200; ++k) {
        s.config.ConfigImage[2 * k - 1] = static_cast<cfg::Cell>(1 << 4 | 1);
        s.config.ConfigImage[500 + 2 * k] = 30;
    }
    std::array<cfg::WalkLoopSetup, 2> setups{cfg::WalkSetupOf(s, loops[0]), cfg::WalkSetupOf(s, loops[1])};
    cfg::WalkRecord record;
    for (int m = 1; m <= 2; ++m) {
        cfg::WalkModule& mod = record.ModuleFor(m);
        for (const auto& r : setups[static_cast<std::size_t>(m - 1)].configured) {
            cfg::WalkPoint p;
            p.point = cfg::ShownPoint(m, r.index);
            p.description = "POINT " + std::to_string(p.point);
            mod.points.push_back(p);
        }
    }
    QImage image(880, 440, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> ms, update, build, paint;
    ms.reserve(static_cast<std::size_t>(rounds));
    std::size_t lines = 0;
    for (int round = 0; round < rounds; ++round) {
        // A new reading everywhere; one point of each module goes into
        // alarm each round, a few do not answer.
        for (auto& c : loops)
            for (int k = 1; k <= 200; ++k) {
                c.live[2 * k - 1] = k % 37 == round % 37 ? 64 : 1;
                c.live[2 * k] = k == 1 + round % 200 ? 75 : 20 + (k * 7 + round) % 9;
            }
        const cfg::DateTime now{2026, 12, 5, 10, round / 60 % 60, round % 60, 6};
        // The time this thread ran: on a shared machine the wall clock also
        // counts the other programs' turns.
        auto since = [](double t) { return ThreadMs() - t; };
        const double start = ThreadMs();
        for (std::size_t m = 0; m < 2; ++m) cfg::UpdateWalkRecord(record, setups[m], loops[m].live, now);
        update.push_back(since(start));
        const double built = ThreadMs();
        std::vector<std::string> events;
        for (auto it = record.events.rbegin(); it != record.events.rend() && events.size() < 200; ++it)
            events.push_back(cfg::WalkEventLine(s, record, *it));
        std::array<cfg::LoopPicture, 2> pics{cfg::WalkPicture(s, loops[0], record), cfg::WalkPicture(s, loops[1], record)};
        build.push_back(since(built));
        const double painted = ThreadMs();
        QPainter p(&image);
        for (int m = 0; m < 2; ++m)
            cfg::gui::PaintLoopPicture(p, QRect(440 * m, 0, 440, 440), pics[static_cast<std::size_t>(m)]);
        p.end();
        paint.push_back(since(painted));
        ms.push_back(since(start));
        lines += events.size();
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double medianUpdate = median(update), medianBuild = median(build), medianPaint = median(paint);
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) { return ms[static_cast<std::size_t>(q * static_cast<double>(ms.size() - 1))]; };
    std::printf("walk-test view, 400 points: record updated, pictures built and painted (880 x 440), "
                "up to 200 event lines; %d rounds (%zu lines)\n",
                rounds, lines);
    std::printf("  median %.3f ms   90%% %.3f ms   max %.3f ms   (goal: under 5 ms)\n", at(0.5), at(0.9), ms.back());
    std::printf("  medians: record %.3f ms, lines and pictures %.3f ms, painting %.3f ms\n", medianUpdate, medianBuild,
                medianPaint);
    return 0;
}
