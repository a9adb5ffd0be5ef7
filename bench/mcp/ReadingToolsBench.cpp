#include "mcp/JSONRPCCodec.h"
#include "mcp/MCPService.h"
#include "mcp/ReminderTools.h"
#include "platform/AlarmScheduler.h"
#include "platform/Geocoder.h"
#include "platform/MapSearch.h"
#include "platform/NotificationCenter.h"
#include "platform/PowerEvents.h"
#include "platform/UserDefaults.h"
#include "platform/VCardContacts.h"
#include "platform/eventstore/VdirEventStore.h"
#include "store/PlaceResolver.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <stdexcept>

using namespace tavlin;
using namespace Qt::StringLiterals;

namespace {

// A machine that never sleeps.
class AwakePower final : public platform::PowerEvents {};

// The 10,000 reminders of bench/store/make_vdir.py in two accounts (another
// count in TAVLIN_BENCH_REMINDERS), read by the vdir store, and the store,
// alarms, tools and service the program builds over them. Made once per run.
struct TenThousand {
    TenThousand() {
        // As the program wires them: the alarms are looked at after every change.
        QObject::connect(&store, &store::ReminderStore::remindersChanged, &alarms, &platform::AlarmScheduler::check);
        alarms.start();
        auto refreshed = store.refresh();
        while (!refreshed.isDone()) QCoreApplication::processEvents();
    }

    // The folder of the script's two accounts.
    static QString writeReminders(const QTemporaryDir& folder) {
        const QString root = folder.filePath(u"reminders"_s);
        QProcess script;
        script.start(u"python3"_s, {QStringLiteral(TAVLIN_MAKE_VDIR), root,
                                    qEnvironmentVariable("TAVLIN_BENCH_REMINDERS", u"10000"_s)});
        if (!script.waitForFinished(120000) || script.exitCode() != 0)
            throw std::runtime_error("bench/store/make_vdir.py failed");
        return root;
    }

    // One tools/call through the service, as a client's request reaches it.
    QByteArray call(const char* tool, const nlohmann::json& arguments = nlohmann::json::object()) {
        const nlohmann::json request = {{"jsonrpc", "2.0"},
                                        {"id", 1},
                                        {"method", "tools/call"},
                                        {"params", {{"name", tool}, {"arguments", arguments}}}};
        auto answer = service.handle(mcp::JSONRPCCodec::serialize(request));
        while (!answer.isDone()) QCoreApplication::processEvents();  // a refresh of stale data takes turns
        return *answer.result();
    }

    QTemporaryDir folder;
    QString root = writeReminders(folder);
    platform::VdirEventStore eventStore{{.roots = {root + u"/Personal"_s, root + u"/Work"_s}}};
    platform::UserDefaults defaults{folder.filePath(u"settings.json"_s)};
    store::Settings settings{defaults};
    AwakePower power;
    platform::VCardContacts contacts{folder.filePath(u"contacts"_s)};
    platform::UnavailableMapSearch mapSearch;
    platform::UnavailableGeocoder geocoder;
    store::PlaceResolver places{contacts, mapSearch, geocoder};
    store::ReminderStore store{eventStore, settings, power, places};
    platform::NotificationCenter notifications{QDBusConnection(u"none"_s)};
    platform::AlarmScheduler alarms{eventStore, notifications, power};
    mcp::ReminderTools tools{store, settings};
    mcp::MCPService service{u"1"_s, QString(), tools.makeTools()};
};

TenThousand& tenThousand() {
    static int argc = 1;
    static char name[] = "bench_mcp";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static TenThousand fixture;
    return fixture;
}

double median(std::vector<double>& samples) {
    const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

// A tool called again and again; the counter is the median call in µs.
void ReadingTool(benchmark::State& state, const char* tool, nlohmann::json arguments) {
    TenThousand& fixture = tenThousand();
    std::vector<double> microseconds;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(fixture.call(tool, arguments));
        microseconds.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["median_us"] = median(microseconds);
}
// Targets at 10,000 reminders: get_summary ≤ 2 ms, list_reminders ≤ 10 ms.
BENCHMARK_CAPTURE(ReadingTool, GetSummary, "get_summary", nlohmann::json::object())->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadingTool, ListReminders, "list_reminders", nlohmann::json{{"limit", 50}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadingTool, ListRemindersToday, "list_reminders", nlohmann::json{{"scope", "today"}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadingTool, GetLists, "get_lists", nlohmann::json::object())->Unit(benchmark::kMicrosecond);

// The tray's two counts after the store changed: one reminder taken out of
// view and put back, which makes the visible reminders and counts anew.
void CountsAfterAChange(benchmark::State& state) {
    TenThousand& fixture = tenThousand();
    const platform::Reminder one = fixture.store.reminders().front();
    for (auto _ : state) {
        fixture.store.queueDeletion(one);
        benchmark::DoNotOptimize(fixture.store.count(store::CountScope::overdue));
        benchmark::DoNotOptimize(fixture.store.count(store::CountScope::today));
        fixture.store.cancelDeletion();
        benchmark::DoNotOptimize(fixture.store.count(store::CountScope::overdue));
        benchmark::DoNotOptimize(fixture.store.count(store::CountScope::today));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(CountsAfterAChange)->Unit(benchmark::kMillisecond);

void CountsWhenNothingChanged(benchmark::State& state) {
    TenThousand& fixture = tenThousand();
    for (auto _ : state)
        for (const store::CountScope scope : store::allCountScopes)
            benchmark::DoNotOptimize(fixture.store.count(scope));
}
BENCHMARK(CountsWhenNothingChanged)->Unit(benchmark::kMicrosecond);

}  // namespace

// create_reminder, then update_reminder of what it made, through the service,
// each followed by the tray's two counts as the program's tray reads them
// after a change. The counters are the median calls in ms. Last: it adds to
// the reminders the other benchmarks read.
void CreateAndUpdate(benchmark::State& state) {
    TenThousand& fixture = tenThousand();
    std::vector<double> creates;
    std::vector<double> updates;
    int made = 0;
    const auto timed = [&](std::vector<double>& samples, const char* tool, const nlohmann::json& arguments) {
        const auto start = std::chrono::steady_clock::now();
        QByteArray reply = fixture.call(tool, arguments);
        benchmark::DoNotOptimize(fixture.store.count(store::CountScope::overdue));
        benchmark::DoNotOptimize(fixture.store.count(store::CountScope::today));
        samples.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        return nlohmann::json::parse(reply.toStdString());
    };
    for (auto _ : state) {
        const std::string title = "bench item " + std::to_string(++made);
        const nlohmann::json created = timed(creates, "create_reminder", {{"text", title + " tomorrow 9:00"}});
        const std::string id = created["result"]["structuredContent"]["reminder"]["id"];
        timed(updates, "update_reminder", {{"id", id}, {"title", title + " edited"}});
    }
    state.counters["create_ms"] = median(creates);
    state.counters["update_ms"] = median(updates);
}
BENCHMARK(CreateAndUpdate)->Unit(benchmark::kMillisecond);
