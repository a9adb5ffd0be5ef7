// The panel's list, offscreen, over a store in memory at a fixed moment:
// the panel's open with 1,000 and 10,000 reminders spread over the
// sections, in the opaque window the program opens without a compositor
// (its mask made), through the list's first painted frame (the open alone
// and its phases as counters, in ms); and scrolling one page of 10,000
// reminders, repainted.

#include "panel/PanelController.h"
#include "panel/widgets/KeyPanel.h"
#include "panel/widgets/PanelWidget.h"
#include "panel/widgets/ReminderList.h"
#include "platform/TimeZone.h"
#include "store/MemoryStoreWorld.h"

#include "BenchApplication.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QImage>
#include <QScrollBar>

#include <map>
#include <memory>

using namespace Qt::StringLiterals;
using namespace tavlin;

namespace {

// Wednesday 4 March 2026, 10:00 in Amsterdam.
const platform::Date moment = platform::Date::fromSecondsSince1970(1772614800);

// Reminders over the sections, with titles short and long, notes, priorities,
// places and repetitions here and there.
std::vector<platform::Reminder> reminders(int count) {
    std::vector<platform::Reminder> all;
    const std::optional<platform::DateComponents> dues[] = {
        platform::DateComponents{.year = 2026, .month = 3, .day = 2},
        platform::DateComponents{.year = 2026, .month = 3, .day = 4, .hour = 17, .minute = 30},
        platform::DateComponents{.year = 2026, .month = 3, .day = 5},
        platform::DateComponents{.year = 2026, .month = 3, .day = 8, .hour = 9, .minute = 0},
        platform::DateComponents{.year = 2026, .month = 4, .day = 12},
        std::nullopt,
    };
    for (int i = 0; i < count; ++i) {
        platform::Reminder reminder{
            .identifier = u"r%1"_s.arg(i),
            .title = i % 5 == 0 ? u"Book the train tickets for the family weekend in Utrecht, number %1"_s.arg(i)
                                : u"Reminder %1"_s.arg(i),
            .notes = i % 4 == 0 ? u"A note to go with it"_s : QString(),
            .listIdentifier = i % 3 == 0 ? u"L2"_s : u"L1"_s,
            .dueDateComponents = dues[i % 6],
            .priority = i % 10,
        };
        if (i % 7 == 0)
            reminder.alarms = {platform::Alarm::on({.title = u"Office"_s}, platform::AlarmProximity::enter)};
        if (i % 11 == 0) reminder.recurrenceRules = {{.frequency = platform::RecurrenceRule::Frequency::weekly}};
        all.push_back(std::move(reminder));
    }
    return all;
}

// One process's store of `count` reminders and its panel's controller.
class World {
public:
    explicit World(int count) {
        platform::MemoryEventStore::Contents contents;
        contents.lists = {{.identifier = u"L1"_s, .title = u"Reminders"_s},
                          {.identifier = u"L2"_s, .title = u"Work"_s}};
        contents.reminders = reminders(count);
        world_ = std::make_unique<MemoryStoreWorld>(std::move(contents), wallClock_);
        world_->startAndRead();
        controller_ = std::make_unique<panel::PanelController>(
            world_->store, world_->settings, world_->location,
            // Opaque, as on a desktop without a compositor: the window is
            // cut to its rounded shape by a mask, as the program's is.
            panel::PanelController::Environment{
                .makeWindow = [] { return panel::PanelWindowHandle(new panel::widgets::KeyPanel({}, false)); },
                .reduceMotion = [] { return true; },
                .wallClock = wallClock_});
    }

    panel::PanelController& controller() { return *controller_; }
    panel::widgets::KeyPanel& window() { return *dynamic_cast<panel::widgets::KeyPanel*>(controller_->panel()); }
    panel::widgets::ReminderList& list() {
        return *static_cast<panel::widgets::PanelWidget*>(window().rootView())->reminderList();
    }
    // The posted layouts and renders, and the window painted (offscreen
    // nothing is on screen: it is painted into an image).
    void frame() {
        QApplication::sendPostedEvents();
        paint(window());
    }
    void paint(QWidget& widget) {
        if (image_.size() != widget.size()) image_ = QImage(widget.size(), QImage::Format_ARGB32_Premultiplied);
        widget.render(&image_);
    }
    void close() {
        controller_->close();
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }

private:
    store::WallClock wallClock_{
        [] { return moment; },
        platform::Calendar::gregorian(platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s).value())};
    std::unique_ptr<MemoryStoreWorld> world_;
    std::unique_ptr<panel::PanelController> controller_;
    QImage image_;
};

void OpenPanelWith(benchmark::State& state) {
    ensureApplication();
    World world(int(state.range(0)));
    std::map<QString, double> phases;
    double opens = 0;
    for (auto _ : state) {
        QElapsedTimer elapsed;
        elapsed.start();
        world.controller().open();
        // What the program's --open-timing reports: the open alone.
        opens += double(elapsed.nsecsElapsed()) / 1e6;
        world.frame();
        state.SetIterationTime(double(elapsed.nsecsElapsed()) / 1e9);
        // The phases are marks from the start of the open.
        double before = 0;
        for (const auto& [phase, at] : world.controller().lastOpenTimings()) {
            phases[phase] += at - before;
            before = at;
        }
        world.close();
    }
    for (const auto& [phase, total] : phases)
        state.counters[phase.toStdString()] = benchmark::Counter(total / double(state.iterations()));
    state.counters["open"] = benchmark::Counter(opens / double(state.iterations()));
}
BENCHMARK(OpenPanelWith)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

void ScrollOnePage(benchmark::State& state) {
    ensureApplication();
    World world(int(state.range(0)));
    world.controller().open();
    world.frame();
    // The rows below the first screens are laid out in the turns after it.
    const QAbstractItemModel& rows = *world.list().model();
    while (!world.list().visualRect(rows.index(rows.rowCount() - 1, 0)).isValid()) QApplication::processEvents();
    QScrollBar& bar = *world.list().verticalScrollBar();
    for (auto _ : state) {
        QElapsedTimer elapsed;
        elapsed.start();
        bar.setValue(bar.value() + bar.pageStep() > bar.maximum() ? 0 : bar.value() + bar.pageStep());
        QApplication::sendPostedEvents();
        world.paint(*world.list().viewport());
        state.SetIterationTime(double(elapsed.nsecsElapsed()) / 1e9);
    }
    world.close();
}
BENCHMARK(ScrollOnePage)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
