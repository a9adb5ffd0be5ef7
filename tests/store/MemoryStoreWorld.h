#pragma once

#include "platform/Geocoder.h"
#include "platform/MapSearch.h"
#include "platform/UserDefaults.h"
#include "platform/eventstore/MemoryEventStore.h"
#include "store/LocationFake.h"
#include "store/LocationProvider.h"
#include "store/PlaceResolver.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"
#include "store/StoreFakes.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>

#include <memory>

// A reminder store over memory with all it is made of, for what shows it (the
// gallery, the panel's benchmarks): its settings in a temporary file, no
// contacts, no map search or geocoding, a location service that knows
// nothing. Not started: set what the store should find first.
struct MemoryStoreWorld {
    using AuthorizationStatus = tavlin::platform::AuthorizationStatus;

    explicit MemoryStoreWorld(tavlin::platform::MemoryEventStore::Contents contents = {},
                              tavlin::store::WallClock wallClock = {},
                              AuthorizationStatus authorization = AuthorizationStatus::fullAccess)
        : events(std::move(contents)),
          store(allowing(events, authorization), settings, power, places, std::move(wallClock)) {}

    // Starts the store and runs the main loop until its first read is done
    // (or ten seconds have passed).
    void startAndRead() {
        store.start();
        const tavlin::platform::Task<> read = store.refresh();
        const QDeadlineTimer deadline(10000);
        while (!read.isDone() && !deadline.hasExpired()) QCoreApplication::processEvents();
    }

    // The store reads what it may do when it is made: the memory store is
    // told first.
    static tavlin::platform::EventStore& allowing(tavlin::platform::MemoryEventStore& events,
                                                  AuthorizationStatus authorization) {
        events.setAuthorizationStatus(authorization);
        return events;
    }

    QTemporaryDir folder;
    tavlin::platform::UserDefaults defaults{folder.filePath(QStringLiteral("settings.json"))};
    tavlin::store::Settings settings{defaults};
    tavlin::platform::MemoryEventStore events;
    ScriptedPowerEvents power;
    MemoryContacts contacts;
    tavlin::platform::UnavailableMapSearch mapSearch;
    tavlin::platform::UnavailableGeocoder geocoder;
    tavlin::store::PlaceResolver places{contacts, mapSearch, geocoder};
    tavlin::store::ReminderStore store;
    tavlin::store::LocationProvider location{std::make_unique<tavlin::platform::FakeLocationManager>()};
};
