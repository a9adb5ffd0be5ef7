#pragma once

#include "platform/Geocoder.h"

#include "support/MainLoop.h"

#include <gtest/gtest.h>

#include <optional>
#include <variant>
#include <vector>

// How a lookup of a place service ended: the places, or the PlaceServiceError.
struct PlaceOutcome {
    std::optional<std::vector<tavlin::platform::Placemark>> places;
    std::optional<std::string> error;
};

// Runs the main loop until the lookup has ended.
inline PlaceOutcome outcomeOf(const tavlin::platform::Task<std::vector<tavlin::platform::Placemark>>& task) {
    EXPECT_TRUE(runMainLoopUntil([&] { return task.isDone(); })) << "the lookup did not end";
    PlaceOutcome outcome;
    if (!task.isDone()) return outcome;
    try {
        outcome.places = task.result();
    } catch (const tavlin::platform::PlaceServiceError& error) {
        outcome.error = error.what();
    }
    return outcome;
}
