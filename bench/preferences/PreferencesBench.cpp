// The settings window, offscreen: its first show() (window, view and the
// general tab made, laid out and painted once), and a first switch to the
// reminders tab with 50 lists (the tab made with its 50 rows, laid out and
// painted).

#include "preferences/PreferencesWindow.h"
#include "preferences/SettingsTabSelection.h"
#include "support/PreferencesWorld.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFont>

using namespace Qt::StringLiterals;
using tavlin::preferences::PreferencesWindow;
using tavlin::preferences::PreferencesWindowController;
using tavlin::testing::PreferencesWorld;

namespace {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "bench_preferences";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(13);
    QApplication::setFont(font);
}

// The settings of one process, as the application makes them.
struct Settings {
    explicit Settings(int lists)
        : world(PreferencesWorld::numberedLists(lists)),
          controller(world.store, world.settings, world.notifications.function(), world.location, world.server, nullptr,
                     selection, world.contacts, world.renderer.renderer(), PreferencesWindow::factory()) {}

    PreferencesWorld world;
    tavlin::preferences::SettingsTabSelection selection;
    PreferencesWindowController controller;

    PreferencesWindow& window() { return *dynamic_cast<PreferencesWindow*>(controller.window()); }
};

// What shows on screen after a change: the posted layout and paint events.
void settle() {
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

void FirstShow(benchmark::State& state) {
    ensureApplication();
    for (auto _ : state) {
        Settings settings(10);
        QElapsedTimer elapsed;
        elapsed.start();
        settings.controller.show();
        settings.window().repaint();
        settle();
        state.SetIterationTime(elapsed.nsecsElapsed() / 1e9);
    }
}
BENCHMARK(FirstShow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

void FirstSwitchToRemindersWith50Lists(benchmark::State& state) {
    ensureApplication();
    for (auto _ : state) {
        Settings settings(50);
        settings.controller.show();
        settle();
        QElapsedTimer elapsed;
        elapsed.start();
        settings.controller.selectTab(u"settings.reminders"_s);
        settings.window().repaint();
        settle();
        state.SetIterationTime(elapsed.nsecsElapsed() / 1e9);
    }
}
BENCHMARK(FirstSwitchToRemindersWith50Lists)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace
