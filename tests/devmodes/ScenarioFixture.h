#pragma once

#include "devmodes/Output.h"
#include "platform/LanguageModel.h"
#include "platform/Task.h"

#include "store/ReminderStoreFixture.h"
#include "support/ScriptedLanguageModel.h"

#include "ExpectedLines.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

#include <chrono>

// A store scenario run against the memory store, on the manual clock, with
// what it prints recorded and no model unless a test scripts one.
class ScenarioFixture : public ReminderStoreFixture {
protected:
    using StoreError = tavlin::platform::StoreError;

    ScenarioFixture() { model.available = false; }

    // Runs the scenario to its end; false when it never got there.
    bool run(const tavlin::platform::Task<>& scenario) {
        for (int step = 0; step < 1000 && !scenario.isDone(); ++step) {
            advance(std::chrono::milliseconds(100));
            QCoreApplication::processEvents();
        }
        if (scenario.isDone()) scenario.result();  // rethrows what it ended with
        return scenario.isDone();
    }

    static StoreError refusal(const char* description) {
        return {.code = StoreError::writeFailed, .description = QString::fromUtf8(description)};
    }

    tavlin::devmodes::RecordedOutput output;
    ScriptedLanguageModel model;
    tavlin::platform::ScopedLanguageModel useModel{model};
};
