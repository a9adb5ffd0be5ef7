#include "platform/eventstore/VdirEventStore.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

constexpr int kLists = 20;
constexpr int kRemindersPerList = 500;

// The store watches its folders, which needs the Qt application object.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "bench_platform";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

QByteArray item(int list, int index) {
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\nBEGIN:VTODO\r\n";
    text += "UID:bench-" + QByteArray::number(list) + '-' + QByteArray::number(index) + "\r\n";
    text += "DTSTAMP:20260301T100000Z\r\nCREATED:20260301T100000Z\r\nLAST-MODIFIED:20260301T100000Z\r\n";
    text += "SUMMARY:Reminder number " + QByteArray::number(index) + " of list " + QByteArray::number(list) + "\r\n";
    text += "DESCRIPTION:Some notes\\, with an escaped comma\r\n";
    text += "DUE;TZID=Europe/Amsterdam:202603" + QByteArray::number(10 + index % 18) + "T093000\r\n";
    text += "PRIORITY:" + QByteArray::number(index % 10) + "\r\nSTATUS:NEEDS-ACTION\r\n";
    if (index % 5 == 0) text += "RRULE:FREQ=WEEKLY;BYDAY=MO,WE\r\n";
    if (index % 7 == 0)
        text +=
            "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Reminder\r\nTRIGGER;VALUE=DATE-TIME:19760401T005545Z\r\n"
            "X-APPLE-PROXIMITY:ARRIVE\r\nX-APPLE-STRUCTURED-LOCATION;VALUE=URI;X-APPLE-RADIUS=100;X-TITLE=Home:"
            "geo:52.37,4.89\r\nEND:VALARM\r\n";
    return text + "END:VTODO\r\nEND:VCALENDAR\r\n";
}

// 10,000 reminders in 20 lists, written once per run.
const QString& vdir() {
    static QTemporaryDir folder;
    static const bool written = [] {
        for (int list = 0; list < kLists; ++list) {
            const QString path = folder.path() + u"/list%1"_s.arg(list);
            QDir().mkpath(path);
            for (int index = 0; index < kRemindersPerList; ++index) {
                QFile file(path + u"/bench-%1-%2.ics"_s.arg(list).arg(index));
                if (file.open(QIODevice::WriteOnly)) file.write(item(list, index));
            }
        }
        return true;
    }();
    (void)written;
    static const QString path = folder.path();
    return path;
}

VdirEventStore::Options options() { return {.roots = {vdir()}}; }

void FirstFetchOf10000Reminders(benchmark::State& state) {
    ensureApplication();
    const auto roots = options();  // the files are written outside the timing
    for (auto _ : state) {
        VdirEventStore store(roots);
        benchmark::DoNotOptimize(store.fetchIncompleteReminders());
    }
}
BENCHMARK(FirstFetchOf10000Reminders)->Unit(benchmark::kMillisecond);

void RefetchWhenNothingChanged(benchmark::State& state) {
    ensureApplication();
    VdirEventStore store(options());
    benchmark::DoNotOptimize(store.fetchIncompleteReminders());
    for (auto _ : state) benchmark::DoNotOptimize(store.fetchIncompleteReminders());
}
BENCHMARK(RefetchWhenNothingChanged)->Unit(benchmark::kMillisecond);

void SaveAnEditedReminder(benchmark::State& state) {
    ensureApplication();
    VdirEventStore store(options());
    Reminder reminder = *store.reminder(u"bench-3-42"_s);
    int edit = 0;
    for (auto _ : state) {
        reminder.title = u"Edited %1"_s.arg(++edit);
        if (store.save(reminder)) state.SkipWithError("the save failed");
    }
}
BENCHMARK(SaveAnEditedReminder)->Unit(benchmark::kMillisecond);

}  // namespace
