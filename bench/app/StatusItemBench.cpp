// The tray item's pictures, drawn afresh at every change of the counts.
// Target: the pill and the tray picture at every size a tray asks for, for
// three segments of four digits, in at most 0.5 ms on one core.

#include "app/StatusItemController.h"
#include "rows/CountSegmentPainter.h"

#include <benchmark/benchmark.h>
#include <QGuiApplication>

using tavlin::app::StatusItemController;
using tavlin::rows::CountSegmentPainter;
using Style = StatusItemController::SegmentStyle;

namespace {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "bench_app";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(argc, argv);
}

const std::vector<StatusItemController::Segment> kSegments{{QStringLiteral("1024"), Style::alarm},
                                                           {QStringLiteral("2048"), Style::neutral},
                                                           {QStringLiteral("9999"), Style::win}};

void StatusItemPictures(benchmark::State& state) {
    ensureApplication();
    const bool quiet = state.range(0) != 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(StatusItemController::renderSegments(kSegments, quiet));
        for (int side : {16, 22, 24, 32, 48})
            for (qreal ratio : {1.0, 2.0})
                benchmark::DoNotOptimize(CountSegmentPainter::trayImage(kSegments, quiet, side, ratio));
    }
}
BENCHMARK(StatusItemPictures)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// What the tray gets at each refresh: the icon of every tray picture.
void StatusItemTrayIcon(benchmark::State& state) {
    ensureApplication();
    const StatusItemController::Display display{.picture = StatusItemController::Display::Picture::segments,
                                                .segments = kSegments};
    for (auto _ : state) benchmark::DoNotOptimize(StatusItemController::trayIcon(display));
}
BENCHMARK(StatusItemTrayIcon)->Unit(benchmark::kMicrosecond);

}  // namespace
