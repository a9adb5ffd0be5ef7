#include "devmodes/PanelOpenTiming.h"

#include "devmodes/Output.h"
#include "devmodes/SharedRoutines.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <chrono>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// The milliseconds that one open() takes, with nothing else in the span.
double timedOpen(const PanelDriver& panel) {
    QElapsedTimer elapsed;
    elapsed.start();
    panel.open(std::nullopt, std::nullopt);
    return double(elapsed.nsecsElapsed()) / 1e6;
}

}  // namespace

QStringList openTimingLines(int round, double milliseconds, const std::vector<std::pair<QString, double>>& phases) {
    QStringList lines{QString::asprintf("round %d: open() %.1fms", round, milliseconds)};
    for (const auto& [phase, phaseMilliseconds] : phases)
        lines << u"   "_s + phase.leftJustified(22) + QString::asprintf(" %7.1fms", phaseMilliseconds);
    return lines;
}

QString openLoopSummary(int count, double totalMilliseconds) {
    return QString::asprintf("%d opens, mean %.1fms", count, totalMilliseconds / std::max(count, 1));
}

platform::Task<> openTiming(PanelDriver panel) {
    co_await waitFor(2s);
    for (int round = 1; round <= 3; ++round) {
        const double milliseconds = timedOpen(panel);
        for (const QString& line : openTimingLines(round, milliseconds, panel.lastOpenTimings())) printLine(line);
        co_await waitFor(1500ms);
        panel.close();
        co_await waitFor(500ms);
    }
    flushStandardOutput();
    terminateApplication();
}

platform::Task<> openLoop(PanelDriver panel) {
    co_await waitFor(2s);
    printStep(u"looping pid "_s + QString::number(QCoreApplication::applicationPid()));
    const platform::Clock& clock = platform::Clock::main();
    const platform::Clock::TimePoint start = clock.now();
    double total = 0;
    int count = 0;
    while (clock.now() - start < 8s) {
        const double milliseconds = timedOpen(panel);
        ++count;
        co_await waitFor(50ms);
        panel.close();
        co_await waitFor(20ms);
        total += milliseconds;
    }
    printStep(openLoopSummary(count, total));
    terminateApplication();
}

platform::Task<> openPanelTest(PanelDriver panel) {
    co_await waitFor(1s);
    panel.open(std::nullopt, std::nullopt);
    co_await waitFor(2s);
    panel.diagnostics.printGeometry();
}

}  // namespace tavlin::devmodes
