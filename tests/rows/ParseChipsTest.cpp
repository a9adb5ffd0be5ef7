// The chips of a typed line: their texts from the reading, the moment and
// the calendar; how they give way in a narrow row; and the indicator that
// pulses while the model reads.

#include "platform/eventstore/Priority.h"
#include "rows/InterpretingIndicator.h"
#include "rows/ParseChips.h"

#include "support/Dates.h"

#include <gtest/gtest.h>
#include <QVariantAnimation>

using namespace Qt::StringLiterals;
using namespace tavlin::rows;
using tavlin::parsing::ParsedQuickAdd;
using tavlin::parsing::RecurrenceFrequency;
using tavlin::platform::Calendar;
using tavlin::platform::DateComponents;
using tavlin::platform::Locale;

namespace {

// Wednesday 4 March 2026, 23:30 in Amsterdam: tomorrow is a minute away.
const tavlin::platform::Date lateWednesday = wallTime("Europe/Amsterdam", 2026, 3, 4, 23, 30);

Calendar calendarIn(const char* locale) {
    return Calendar::gregorian(zone(u"Europe/Amsterdam"_s), Locale(QString::fromLatin1(locale)));
}

ParsedQuickAdd due(DateComponents components, bool hasTime) {
    return {.title = u"x"_s, .dueDateComponents = components, .hasTime = hasTime};
}

DateComponents at(int month, int day, int hour, int minute = 0) {
    return {.year = 2026, .month = month, .day = day, .hour = hour, .minute = minute};
}

}  // namespace

TEST(ParseChip, TheDateSaysTodayOrTomorrowByTheWallClockElseTheDayInTheLocalesForm) {
    struct Case {
        const char* name;
        const char* locale;
        ParsedQuickAdd parsed;
        std::optional<QString> text;
    };
    const Case cases[] = {
        {"today, no time: no blank after", "en_GB", due({.year = 2026, .month = 3, .day = 4}, false), u"Today"_s},
        {"today at a time", "en_GB", due(at(3, 4, 17), true), u"Today 17:00"_s},
        {"the time only when the reading has one", "en_GB", due(at(3, 4, 17), false), u"Today"_s},
        {"tomorrow", "en_GB", due(at(3, 5, 9, 5), true), u"Tomorrow 09:05"_s},
        {"12-hour locale", "en_US", due(at(3, 5, 17), true), u"Tomorrow 5:00\u202fPM"_s},
        {"yesterday has no word", "en_GB", due({.year = 2026, .month = 3, .day = 3}, false), u"Tue, 3 Mar"_s},
        {"next month, no year", "en_GB", due(at(4, 10, 8), true), u"Fri, 10 Apr 08:00"_s},
        {"the US order", "en_US", due({.year = 2026, .month = 4, .day = 10}, false), u"Fri, Apr 10"_s},
        {"another year, still no year", "en_GB", due({.year = 2027, .month = 1, .day = 1}, false), u"Fri, 1 Jan"_s},
        {"no date", "en_GB", {.title = u"x"_s}, std::nullopt},
        {"components that form no date", "en_GB", due({.year = 5'000'000, .month = 1, .day = 1}, false), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dateChipText(c.parsed, lateWednesday, calendarIn(c.locale)), c.text) << c.name;

    // Components in another zone: judged by the day they fall on here.
    DateComponents inTokyo = at(3, 5, 7);
    inTokyo.timeZone = zone(u"Asia/Tokyo"_s);
    EXPECT_EQ(dateChipText(due(inTokyo, true), lateWednesday, calendarIn("en_GB")), u"Today 23:00"_s);
}

TEST(ParseChip, PriorityMarksByStoredNumber) {
    struct Case {
        int number;
        QString text;
    };
    for (const Case& c : {Case{0, u""_s},
                          {1, u"!!!"_s},
                          {4, u"!!!"_s},
                          {5, u"!!"_s},
                          {6, u"!"_s},
                          {9, u"!"_s},
                          {10, u""_s},
                          {-1, u""_s}})
        EXPECT_EQ(priorityText(tavlin::platform::priorityLevel(c.number)), c.text) << c.number;
}

TEST(ParseChip, TheChipsComeInTheirOrderEachOnlyWhereTheReadingSetsIt) {
    const ParsedQuickAdd everything{.title = u"water plants"_s,
                                    .dueDateComponents = at(3, 5, 17),
                                    .hasTime = true,
                                    .recurrenceFrequency = RecurrenceFrequency::weekly,
                                    .recurrenceInterval = 1,
                                    .locationName = u"Gym"_s,
                                    .locationRadius = 250,
                                    .locationTrigger = tavlin::parsing::LocationTrigger::leave,
                                    .priority = tavlin::platform::Priority::medium,
                                    .listName = u"Groceries"_s};
    EXPECT_EQ(parseChips(everything, lateWednesday, calendarIn("en_GB")),
              (std::vector<ParseChip>{{Symbol::calendar, u"Tomorrow 17:00"_s},
                                      {Symbol::repeat, u"Weekly"_s},
                                      {Symbol::location, u"Gym"_s},
                                      {Symbol::exclamationCircle, u"!!"_s},
                                      {Symbol::listBullet, u"Groceries"_s}}));

    struct Case {
        const char* name;
        ParsedQuickAdd parsed;
        std::vector<ParseChip> chips;
    };
    const auto weekly = [](int interval) {
        return ParsedQuickAdd{
            .title = u"x"_s, .recurrenceFrequency = RecurrenceFrequency::weekly, .recurrenceInterval = interval};
    };
    ParsedQuickAdd noDate = everything;
    noDate.dueDateComponents = DateComponents{.year = 5'000'000, .month = 1, .day = 1};
    const Case cases[] = {
        {"a title alone", {.title = u"milk"_s}, {}},
        {"a list alone", {.title = u"milk"_s, .listName = u"Groceries"_s}, {{Symbol::listBullet, u"Groceries"_s}}},
        {"interval 0", weekly(0), {{Symbol::repeat, u"Weekly"_s}}},
        {"interval 2", weekly(2), {{Symbol::repeat, u"Every 2 weeks"_s}}},
        {"a date that forms none drops that chip only",
         noDate,
         {{Symbol::repeat, u"Weekly"_s},
          {Symbol::location, u"Gym"_s},
          {Symbol::exclamationCircle, u"!!"_s},
          {Symbol::listBullet, u"Groceries"_s}}},
    };
    for (const Case& c : cases) EXPECT_EQ(parseChips(c.parsed, lateWednesday, calendarIn("en_GB")), c.chips) << c.name;
}

TEST(ParseChips, WithoutChipsTheRowTakesNoRoom) {
    ParseChips view;
    view.setChips({});
    EXPECT_TRUE(view.isHidden());
    EXPECT_EQ(view.sizeHint(), QSize(0, 0));
    view.setChips({{Symbol::listBullet, u"Groceries"_s}});
    EXPECT_FALSE(view.isHidden());
    EXPECT_GT(view.sizeHint().width(), view.minimumSizeHint().width() - 1);
    EXPECT_EQ(view.chipWidths(view.sizeHint().width()), std::vector<int>{view.sizeHint().width()});
}

TEST(ParseChips, ANarrowRowSqueezesEveryChipAlikeThenLeavesOutTheLast) {
    struct Case {
        const char* name;
        int width;
        std::vector<int> widths;
    };
    // Natural 100, 60 and 40, each down to 30 at the least, 4 apart: 208.
    const Case cases[] = {
        {"room for all", 208, {100, 60, 40}},
        {"each gives the same part of what it can", 153, {65, 45, 35}},
        {"every one at its least", 98, {30, 30, 30}},
        {"less: the last go", 97, {30, 30, 0}},
        {"room for one", 30, {30, 0, 0}},
        {"none", 10, {0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseChips::squeezed({100, 60, 40}, {30, 30, 30}, 4, c.width), c.widths) << c.name;
    // A chip narrower than the least keeps its own width.
    EXPECT_EQ(ParseChips::squeezed({20, 100}, {30, 30}, 4, 60), (std::vector<int>{20, 36}));
}

TEST(InterpretingIndicator, ItPulsesFromFullOpacityDownAndBackEveryOnePointFourSeconds) {
    using std::chrono::milliseconds;
    struct Case {
        int ms;
        double opacity;
    };
    for (const Case& c : {Case{0, 1.0}, {350, 0.65}, {700, 0.3}, {1050, 0.65}, {1400, 1.0}, {2100, 0.3}})
        EXPECT_NEAR(InterpretingIndicator::pulseOpacity(milliseconds(c.ms)), c.opacity, 1e-9) << c.ms;

    QWidget owner;
    auto* indicator = new InterpretingIndicator(&owner);
    EXPECT_EQ(indicator->accessibleName(), u"Still interpreting"_s);
    bool reduce = false;
    indicator->setReduceMotion([&] { return reduce; });
    owner.show();
    EXPECT_TRUE(indicator->isHidden()) << "not until its owner shows it";
    indicator->setShown(true);
    ASSERT_NE(indicator->pulse(), nullptr);
    EXPECT_EQ(indicator->pulse()->state(), QAbstractAnimation::Running);
    EXPECT_NEAR(indicator->opacity(), 0.0, 1e-9) << "it fades in";

    // Shown anew, it starts again from full opacity.
    indicator->pulse()->setCurrentTime(700);
    indicator->hide();
    EXPECT_EQ(indicator->pulse(), nullptr);
    indicator->show();
    ASSERT_NE(indicator->pulse(), nullptr);
    EXPECT_EQ(indicator->pulse()->currentTime(), 0);

    // With reduce motion it stands still at full opacity, and comes and goes
    // at once.
    reduce = true;
    indicator->setShown(false);
    EXPECT_TRUE(indicator->isHidden());
    indicator->setShown(true);
    EXPECT_FALSE(indicator->isHidden());
    EXPECT_EQ(indicator->pulse(), nullptr);
    EXPECT_EQ(indicator->opacity(), 1.0);
}
