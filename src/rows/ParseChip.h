#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/eventstore/Priority.h"
#include "rows/Symbol.h"

#include <QString>

#include <optional>
#include <vector>

// What a reading of a typed line sets, as the short texts of its chips. Pure
// functions of the reading, the moment and the calendar (its zone and its
// locale); the views only paint them.
namespace tavlin::rows {

// One capsule: a symbol and a text shown as it is.
struct ParseChip {
    Symbol symbol = Symbol::calendar;
    QString text;

    friend bool operator==(const ParseChip&, const ParseChip&) = default;
};

// The due date: "Today" or "Tomorrow" (then a blank and the short time when
// the reading has a time), judged against `now` by `calendar`; any other day,
// past ones too, as its abbreviated weekday, day and month in the calendar's
// locale, the time after it likewise. Nothing without components, or for
// components that form no date.
std::optional<QString> dateChipText(const parsing::ParsedQuickAdd& parsed, platform::Date now,
                                    const platform::Calendar& calendar);

// "!!!" high, "!!" medium, "!" low; empty for none.
QString priorityText(platform::Priority priority);

// The chips of a reading, in this order, each only where the reading sets
// it: due date, repetition ("Weekly", "Every 2 weeks"), place (its name
// alone), priority, list.
std::vector<ParseChip> parseChips(const parsing::ParsedQuickAdd& parsed, platform::Date now,
                                  const platform::Calendar& calendar);

}  // namespace tavlin::rows
