#include "platform/DueDate.h"
#include "store/CountScope.h"
#include "store/DueState.h"

#include "support/Dates.h"

#include <gtest/gtest.h>

#include <unordered_set>

using namespace tavlin::platform;
using namespace tavlin::store;

namespace {

const Calendar amsterdam = Calendar::gregorian(zone("Europe/Amsterdam"));
// Monday 2 March 2026, 10:00 in Amsterdam.
const Date now = wallTime("Europe/Amsterdam", 2026, 3, 2, 10);

}  // namespace

TEST(DueStateTest, DateOnlyAndTimedComponents) {
    struct Case {
        const char* name;
        std::optional<DateComponents> components;
        DueState expected;
    };
    const Case cases[] = {
        {"date-only yesterday", DateComponents{.year = 2026, .month = 3, .day = 1}, DueState::overdue()},
        {"date-only today", DateComponents{.year = 2026, .month = 3, .day = 2}, DueState::today()},
        {"date-only tomorrow", DateComponents{.year = 2026, .month = 3, .day = 3},
         DueState::upcoming(wallTime("Europe/Amsterdam", 2026, 3, 3))},
        {"timed an hour ago", DateComponents{.year = 2026, .month = 3, .day = 2, .hour = 9, .minute = 0},
         DueState::overdue()},
        {"timed tonight", DateComponents{.year = 2026, .month = 3, .day = 2, .hour = 23, .minute = 0},
         DueState::today()},
        {"timed just after midnight", DateComponents{.year = 2026, .month = 3, .day = 3, .hour = 0, .minute = 30},
         DueState::upcoming(wallTime("Europe/Amsterdam", 2026, 3, 3, 0, 30))},
        {"timed by its minute alone", DateComponents{.year = 2026, .month = 3, .day = 2, .minute = 30},
         DueState::overdue()},
        {"timed now exactly", DateComponents{.year = 2026, .month = 3, .day = 2, .hour = 10, .minute = 0},
         DueState::today()},
        {"components that make no date", DateComponents{.year = 2'000'000'000, .month = 1, .day = 1}, DueState::none()},
        {"no components", std::nullopt, DueState::none()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DueState(c.components, now, amsterdam), c.expected);
    }
}

// The components' zone says which instant they name; the user's calendar
// says which day that instant falls on.
TEST(DueStateTest, ComponentsInAnotherZone) {
    struct Case {
        const char* name;
        DateComponents components;
        DueState expected;
    };
    const Case cases[] = {
        {"08:00 in New York is 14:00 here",
         {.timeZone = zone("America/New_York"), .year = 2026, .month = 3, .day = 2, .hour = 8},
         DueState::today()},
        {"20:00 in New York is tomorrow here",
         {.timeZone = zone("America/New_York"), .year = 2026, .month = 3, .day = 2, .hour = 20},
         DueState::upcoming(wallTime("America/New_York", 2026, 3, 2, 20))},
        {"03:00 in Tokyo was yesterday here",
         {.timeZone = zone("Asia/Tokyo"), .year = 2026, .month = 3, .day = 2, .hour = 3},
         DueState::overdue()},
        {"a New York calendar without a zone",
         {.calendar = Calendar::gregorian(zone("America/New_York")), .year = 2026, .month = 3, .day = 2, .hour = 20},
         DueState::upcoming(wallTime("America/New_York", 2026, 3, 2, 20))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DueState(c.components, now, amsterdam), c.expected);
    }
}

TEST(DueDateTest, TheComponentsZoneWinsOverTheirCalendar) {
    const DateComponents components{.calendar = Calendar::gregorian(zone("America/New_York")),
                                    .timeZone = zone("Asia/Tokyo"),
                                    .year = 2026,
                                    .month = 3,
                                    .day = 2,
                                    .hour = 9};
    EXPECT_EQ(DueDate::date(components, amsterdam), wallTime("Asia/Tokyo", 2026, 3, 2, 9));
    EXPECT_EQ(DueDate::date(std::nullopt, amsterdam), std::nullopt);
}

TEST(DueStateTest, UpcomingStatesDifferByTheirDate) {
    const DueState tomorrow = DueState::upcoming(wallTime("Europe/Amsterdam", 2026, 3, 3));
    const DueState later = DueState::upcoming(wallTime("Europe/Amsterdam", 2026, 3, 4));
    EXPECT_NE(tomorrow, later);
    EXPECT_NE(DueState::today(), DueState::overdue());
    EXPECT_EQ(tomorrow.upcomingDate(), wallTime("Europe/Amsterdam", 2026, 3, 3));
    EXPECT_EQ(DueState::today().upcomingDate(), std::nullopt);

    const std::unordered_set<DueState> states{tomorrow, later, DueState::today(),
                                              DueState::upcoming(wallTime("Europe/Amsterdam", 2026, 3, 3))};
    EXPECT_EQ(states.size(), 3u);
}

// Many states against one moment are reckoned from the day's bounds; they
// must be the states DueState gives, also on days of 23 and 25 hours and for
// due dates in a zone of their own.
TEST(DueStateTest, AReckoningGivesTheStatesAndScopesOfEachReminderAlone) {
    const Date moments[] = {
        wallTime("Europe/Amsterdam", 2026, 3, 28, 23, 30), wallTime("Europe/Amsterdam", 2026, 3, 29, 1, 59),
        wallTime("Europe/Amsterdam", 2026, 3, 29, 3, 0),   wallTime("Europe/Amsterdam", 2026, 3, 29, 23, 59),
        wallTime("Europe/Amsterdam", 2026, 10, 25, 2, 30), wallTime("Europe/Amsterdam", 2026, 10, 25, 0, 0),
    };
    std::vector<std::optional<DateComponents>> dues = {std::nullopt};
    for (const auto& [month, first] : {std::pair(3, 27), std::pair(4, 4), std::pair(10, 24), std::pair(10, 31)}) {
        for (int day = first; day < first + 3; ++day) {
            dues.push_back(DateComponents{.year = 2026, .month = month, .day = day});
            for (const int hour : {0, 2, 3, 23}) {
                dues.push_back(DateComponents{.year = 2026, .month = month, .day = day, .hour = hour, .minute = 30});
                dues.push_back(DateComponents{
                    .timeZone = zone("America/New_York"), .year = 2026, .month = month, .day = day, .hour = hour});
            }
        }
    }
    for (const Date moment : moments) {
        const DueReckoning reckoning(moment, amsterdam);
        for (const std::optional<DateComponents>& due : dues) {
            SCOPED_TRACE(moment.secondsSince1970());
            SCOPED_TRACE(due ? due->description().toStdString() : "none");
            const DueState alone(due, moment, amsterdam);
            const DueState reckoned = reckoning.state(due, DueDate::date(due, amsterdam));
            EXPECT_EQ(reckoned, alone);
            for (const CountScope scope : allCountScopes)
                EXPECT_EQ(includes(scope, reckoned, reckoning), includes(scope, alone, moment, amsterdam));
        }
    }
}
