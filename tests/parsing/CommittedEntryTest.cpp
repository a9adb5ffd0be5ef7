#include "parsing/CommittedEntry.h"

#include "support/Dates.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin::parsing;
using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

// Half past midnight in Amsterdam is still the evening before in UTC: the
// day that a bare cadence falls due on is the calendar's.
const Date kNow = utc(2026, 3, 4, 23, 30);
const DateComponents kNextDay{.year = 2026, .month = 3, .day = 5};
const DateComponents kWritten{.year = 2026, .month = 4, .day = 1, .hour = 9, .minute = 0};

ParsedQuickAdd reading(std::optional<RecurrenceFrequency> frequency, std::optional<DateComponents> due) {
    return {.title = u"water plants"_s,
            .dueDateComponents = due,
            .hasTime = due && due->hour,
            .matchedDateText = due ? std::optional(u"1 Apr 9:00"_s) : std::nullopt,
            .recurrenceFrequency = frequency,
            .recurrenceInterval = 2,
            .priority = Priority::high,
            .listName = u"Home"_s};
}

}  // namespace

TEST(CommittedEntry, EmptyTitleKeepsTheTrimmedLineAndNothingElse) {
    ParsedQuickAdd markersOnly = reading(RecurrenceFrequency::weekly, kWritten);
    markersOnly.title.clear();
    markersOnly.locationName = u"office"_s;
    EXPECT_EQ(committedEntry(markersOnly, u" \t!! every week #home\n"_s, false, std::nullopt, kNow,
                             Calendar::gregorian(zone(u"Europe/Amsterdam"_s))),
              ParsedQuickAdd{.title = u"!! every week #home"_s});
}

TEST(CommittedEntry, BareCadenceFallsDueTodayUnlessAnUndatedReminderIsEdited) {
    struct Case {
        const char* name;
        std::optional<RecurrenceFrequency> frequency;
        std::optional<DateComponents> due;
        bool editing;
        std::optional<QString> previousDueText;
        bool dueToday;
    };
    const Case cases[] = {
        {"new line", RecurrenceFrequency::weekly, std::nullopt, false, std::nullopt, true},
        {"new line, a previous text is ignored", RecurrenceFrequency::weekly, std::nullopt, false, u"1 Apr 2026"_s,
         true},
        {"edit of an undated reminder", RecurrenceFrequency::monthly, std::nullopt, true, std::nullopt, false},
        {"edit of a dated reminder", RecurrenceFrequency::daily, std::nullopt, true, u"1 Apr 2026"_s, true},
        {"cadence with its own date", RecurrenceFrequency::weekly, kWritten, false, std::nullopt, false},
        {"no cadence", std::nullopt, std::nullopt, true, u"1 Apr 2026"_s, false},
    };
    const Calendar amsterdam = Calendar::gregorian(zone(u"Europe/Amsterdam"_s));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ParsedQuickAdd parsed = reading(c.frequency, c.due);
        ParsedQuickAdd expected = parsed;
        if (c.dueToday) {
            expected.dueDateComponents = kNextDay;
            expected.hasTime = false;
            expected.dueDateIsBareCadenceDefault = true;
        }
        EXPECT_EQ(committedEntry(parsed, u"water plants every week"_s, c.editing, c.previousDueText, kNow, amsterdam),
                  expected);
    }
}
