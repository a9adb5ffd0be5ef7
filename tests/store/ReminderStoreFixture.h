#pragma once

#include "platform/UserDefaults.h"
#include "platform/eventstore/MemoryEventStore.h"
#include "store/PlaceResolver.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"

#include "StoreFakes.h"
#include "support/Printers.h"
#include "support/ReminderPrinters.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

// A ReminderStore over a memory store, its settings in a temporary file, its
// timers on a manual clock, and a wall clock that follows the manual one
// from a chosen instant in a chosen zone.
class ReminderStoreFixture : public ::testing::Test {
protected:
    // The store's tasks that its end cancelled finish on the clock, rather
    // than wait on it forever (their frames would leak).
    ~ReminderStoreFixture() override {
        store.reset();
        clock.runDueActions();
    }

    using Date = tavlin::platform::Date;
    using Calendar = tavlin::platform::Calendar;
    using Reminder = tavlin::platform::Reminder;
    using ReminderList = tavlin::platform::ReminderList;
    using DateComponents = tavlin::platform::DateComponents;

    static tavlin::platform::TimeZone zone(const char* identifier) {
        return tavlin::platform::TimeZone::fromIdentifier(QString::fromLatin1(identifier)).value();
    }

    // Wednesday 4 March 2026, 10:00 in Amsterdam.
    static constexpr Date wednesdayMorning = Date::fromSecondsSince1970(1772614800);

    // The wall time: the start, plus what the manual clock has run, plus
    // time spent asleep (which the monotonic clock does not count).
    Date wallNow() const {
        const double ran = std::chrono::duration<double>(clock.now().time_since_epoch()).count();
        return start.addingTimeInterval(ran + secondsAsleep);
    }

    // Moves the wall clock to `date` without running the manual clock.
    void setWallNow(Date date) {
        start = date.addingTimeInterval(-std::chrono::duration<double>(clock.now().time_since_epoch()).count() -
                                        secondsAsleep);
    }

    tavlin::store::ReminderStore& makeStore() {
        store = std::make_unique<tavlin::store::ReminderStore>(
            backend, settings, power, places, tavlin::store::WallClock{[this] { return wallNow(); }, calendar});
        QObject::connect(store.get(), &tavlin::store::ReminderStore::isLoadingChanged, [this] {
            if (store->isLoading()) ++refreshes;
        });
        return *store;
    }

    // Makes the store, starts it and lets its first refresh finish.
    tavlin::store::ReminderStore& startedStore() {
        makeStore().start();
        clock.runDueActions();
        return *store;
    }

    void advance(std::chrono::nanoseconds by) { clock.advance(by); }

    // What another program leaves in the memory store.
    void seed(tavlin::platform::MemoryEventStore::Contents contents) {
        backend.changeByAnotherProcess(
            [&](tavlin::platform::MemoryEventStore::Contents& held) { held = std::move(contents); });
    }

    // A started store over these reminders, in these lists or defaultLists.
    tavlin::store::ReminderStore& storeWith(std::vector<Reminder> reminders, std::vector<ReminderList> lists) {
        seed({.lists = std::move(lists), .reminders = std::move(reminders)});
        return startedStore();
    }
    tavlin::store::ReminderStore& storeWith(std::vector<Reminder> reminders) {
        return storeWith(std::move(reminders), defaultLists);
    }

    static QStringList identifiers(const std::vector<Reminder>& reminders) {
        QStringList ids;
        for (const Reminder& r : reminders) ids << r.identifier;
        return ids;
    }
    static QStringList identifiers(const std::vector<tavlin::store::ReminderStore::VisibleReminder>& visible) {
        QStringList ids;
        for (const auto& shown : visible) ids << shown.reminder->identifier;
        return ids;
    }

    static ReminderList list(const char* identifier, const char* title, const char* account = "local") {
        return {.identifier = QString::fromUtf8(identifier),
                .title = QString::fromUtf8(title),
                .source = tavlin::platform::ReminderSource{QString::fromUtf8(account), QString::fromUtf8(account)}};
    }

    static Reminder reminder(const char* identifier, const char* listIdentifier = "L1",
                             std::optional<DateComponents> due = std::nullopt) {
        return {.identifier = QString::fromUtf8(identifier),
                .title = QString::fromUtf8(identifier),
                .listIdentifier = QString::fromUtf8(listIdentifier),
                .dueDateComponents = std::move(due)};
    }

    static DateComponents day(int year, int month, int dayOfMonth) {
        return {.year = year, .month = month, .day = dayOfMonth};
    }
    static DateComponents at(int year, int month, int dayOfMonth, int hour, int minute = 0) {
        return {.year = year, .month = month, .day = dayOfMonth, .hour = hour, .minute = minute};
    }

    tavlin::platform::ManualClock clock;
    tavlin::platform::ScopedMainClock useClock{clock};
    Date start = wednesdayMorning;
    double secondsAsleep = 0;
    Calendar calendar = Calendar::gregorian(zone("Europe/Amsterdam"));
    QTemporaryDir folder;
    tavlin::platform::UserDefaults defaults{folder.filePath(QStringLiteral("settings.json"))};
    tavlin::store::Settings settings{defaults};
    tavlin::platform::MemoryEventStore backend;
    ScriptedPowerEvents power;
    MemoryContacts contacts;
    ScriptedPlaces geography;  // geocoder and map search in one
    tavlin::store::PlaceResolver places{contacts, geography, geography};
    std::vector<ReminderList> defaultLists{list("L1", "Home")};
    std::unique_ptr<tavlin::store::ReminderStore> store;
    int refreshes = 0;  // refreshes started
};
