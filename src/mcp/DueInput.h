#pragma once

#include "platform/Calendar.h"
#include "platform/DateComponents.h"

#include <QString>

#include <optional>
#include <variant>

// The reader of the tools' ISO 8601 `due` argument.
namespace tavlin::mcp::DueInput {

// Year, month and day, plus hour and minute when the text held a time.
struct Value {
    platform::DateComponents components;
    bool hasTime = false;
    bool operator==(const Value&) const = default;
};
// "none", "null", "clear" or nothing: remove the due date.
struct Clear {
    bool operator==(const Clear&) const = default;
};
using Outcome = std::variant<Value, Clear>;

// 2026-09-19, 2026-09-19T17:00 or 2026-09-19 17:00 (seconds optional) in
// `calendar`'s zone; with a zone designator (Z, +02:00, also with fractions
// of a second) the moment is moved into that zone. Seconds are dropped.
// Nothing for any other text: natural-language dates belong in the text.
std::optional<Outcome> parse(const QString& text, const platform::Calendar& calendar);

}  // namespace tavlin::mcp::DueInput
