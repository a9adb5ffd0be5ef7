// The panel's search at a keystroke: filteredRows for a typed line over the
// store's open reminders, their texts folded once beforehand as after a
// store change; and that first search after a change, folding included.
// The whole keystroke of a line that matches nothing: the panel's view
// renders the create row of the new line and lays it out.

#include "panel/PanelModel.h"
#include "panel/RowFilter.h"
#include "panel/widgets/CreateAreaView.h"
#include "panel/widgets/PanelWidget.h"
#include "platform/ReduceMotion.h"
#include "rows/CreateRow.h"
#include "store/MemoryStoreWorld.h"

#include "BenchApplication.h"

#include <benchmark/benchmark.h>
#include <QApplication>

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>

using namespace Qt::StringLiterals;
using namespace tavlin;

namespace {

double percentile(std::vector<double>& samples, double fraction) {
    const auto at = samples.begin() + static_cast<std::ptrdiff_t>(fraction * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), at, samples.end());
    return *at;
}

// `count` open reminders in three lists: titles of two or three common
// words, every third with notes, every fifth dated within a month, every
// seventh at a place, every eleventh repeating.
platform::MemoryEventStore::Contents reminders(int count) {
    static const std::array<const char*, 16> words{"buy", "milk", "call", "Anna", "water", "plants", "book", "dentist",
                                                   "pay", "rent", "fix",  "bike", "send",  "report", "café", "tickets"};
    platform::MemoryEventStore::Contents contents;
    contents.lists = {{.identifier = u"L1"_s, .title = u"Groceries"_s},
                      {.identifier = u"L2"_s, .title = u"Work"_s},
                      {.identifier = u"L3"_s, .title = u"Home"_s}};
    for (int i = 0; i < count; ++i) {
        platform::Reminder reminder{
            .identifier = u"R%1"_s.arg(i),
            .title = QString::fromUtf8(words[i % 16]) + u' ' + QString::fromUtf8(words[(i * 7 + 3) % 16]),
            .listIdentifier = u"L%1"_s.arg(i % 3 + 1)};
        if (i % 2) reminder.title += u' ' + QString::fromUtf8(words[(i * 5 + 1) % 16]);
        if (i % 3 == 0)
            reminder.notes = u"Remember the %1 before Friday, and ask about the %2"_s.arg(
                QString::fromUtf8(words[(i + 5) % 16]), QString::fromUtf8(words[(i + 9) % 16]));
        if (i % 5 == 0)
            reminder.dueDateComponents = platform::DateComponents{.year = 2026, .month = 3, .day = 1 + i % 28};
        if (i % 7 == 0)
            reminder.alarms.push_back(
                platform::Alarm::on({.title = u"Office %1"_s.arg(i % 4)}, platform::AlarmProximity::enter));
        if (i % 11 == 0) reminder.recurrenceRules = {{.frequency = platform::RecurrenceRule::Frequency::weekly}};
        contents.reminders.push_back(std::move(reminder));
    }
    return contents;
}

// The store over those reminders, read once, and one opening of the panel.
struct World : MemoryStoreWorld {
    explicit World(int count) : MemoryStoreWorld(reminders(count)) {
        startAndRead();
        model = std::make_unique<panel::PanelModel>(
            panel::PanelViewInputs{
                .store = &store, .settings = &settings, .locationProvider = &location, .panelWidth = 440},
            panel::PanelModel::Environment{});
    }

    std::unique_ptr<panel::PanelModel> model;
};

void FilteredRowsAtAKeystroke(benchmark::State& state) {
    ensureApplication();
    World world(int(state.range(0)));
    // Two keystrokes apart, as typed.
    const std::array<QString, 2> lines{u"milk tomorro"_s, u"milk tomorrow"_s};
    world.model->typedLine().setQuery(lines[0]);
    benchmark::DoNotOptimize(world.model->list().filteredRows());  // the texts folded, as after a store change
    std::size_t keystroke = 0;
    for (auto _ : state) {
        state.PauseTiming();
        world.model->typedLine().setQuery(lines[++keystroke % 2]);
        state.ResumeTiming();
        benchmark::DoNotOptimize(world.model->list().filteredRows());
    }
}
BENCHMARK(FilteredRowsAtAKeystroke)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// The first search after a change of the store: every text folded, then
// searched; what each keystroke would cost without the folded texts kept.
void FirstSearchAfterAStoreChange(benchmark::State& state) {
    ensureApplication();
    World world(int(state.range(0)));
    const platform::Calendar& calendar = world.model->wallClock().calendar;
    for (auto _ : state) {
        const panel::RowFilter filter(world.store, calendar);
        benchmark::DoNotOptimize(filter.filteredRows(u"milk tomorrow"_s, platform::Date::now()));
    }
}
BENCHMARK(FirstSearchAfterAStoreChange)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// One key typed at the end of a line that matches none of 1,000 reminders:
// the line is read, the reminders searched, the view renders what stands in
// the list's place (the create row, its chips) and lays it out, as the
// panel does at the next turn of the loop after a key. Each keystroke is
// timed; the counters give its median and 99th percentile.
void KeystrokeWith1000Reminders(benchmark::State& state) {
    ensureApplication();
    World world(1000);
    panel::widgets::PanelWidget view(*world.model);
    view.resize(440, 600);
    view.show();
    const std::array<QString, 2> lines{u"call mom tomorrow 17:00 !"_s, u"call mom tomorrow 17:00 !!"_s};
    world.model->typedLine().setQuery(lines[0]);
    QCoreApplication::processEvents();
    if (!view.createArea()->createRow()->isVisible()) state.SkipWithError("no create row");
    std::vector<double> microseconds;
    std::size_t keystroke = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        world.model->typedLine().setQuery(lines[++keystroke % 2]);
        // The render and the relayout the key sets off.
        QCoreApplication::processEvents();
        microseconds.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["median_us"] = percentile(microseconds, 0.5);
    state.counters["p99_us"] = percentile(microseconds, 0.99);
}
BENCHMARK(KeystrokeWith1000Reminders)->Unit(benchmark::kMicrosecond)->MinTime(2);

}  // namespace
