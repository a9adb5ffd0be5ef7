#pragma once

#include "platform/Updater.h"

#include <QString>

// An updater that counts what it is asked and plays the updater's moments
// on demand.
class ScriptedUpdater final : public tavlin::platform::Updater {
public:
    int starts = 0;
    int checks = 0;

    void start() override { ++starts; }
    void checkForUpdates() override { ++checks; }

    void find(const char* version, bool userInitiated) {
        userDriverDelegate()->willHandleShowingUpdate(false, {QString::fromLatin1(version)}, {userInitiated});
    }
};
