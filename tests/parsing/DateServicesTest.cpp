#include "parsing/DateServices.h"

#include "support/DateDetectorVectors.h"

#include <gtest/gtest.h>

using namespace tavlin::parsing;
using namespace tavlin::platform;
using namespace Qt::StringLiterals;
using detector_vectors::amsterdam;
using detector_vectors::local;

namespace {

TEST(WrittenHourCorrectionTest, KeepsAWrittenHourInTheMorning) {
    struct Case {
        int hour;
        int minute;
        QString text;
        std::optional<int> correctedHour;  // nothing: no correction
    };
    const Case cases[] = {
        {17, 30, u"5:30"_s, 5},
        {17, 30, u"call 5:30 tomorrow"_s, 5},
        {17, 0, u"5h"_s, 5},
        {17, 0, u"5u"_s, 5},
        {17, 45, u"5H45"_s, 5},
        {23, 5, u"11:05"_s, 11},
        {17, 30, u"5:30 pm"_s, std::nullopt},
        {17, 30, u"5:30pm"_s, std::nullopt},
        {17, 30, u"5:30 P.M."_s, std::nullopt},
        {17, 30, u"17:30"_s, std::nullopt},
        {17, 0, u"5 uur"_s, std::nullopt},
        {17, 0, u"at 5"_s, std::nullopt},
        {12, 15, u"12:15"_s, std::nullopt},
        {9, 0, u"9:00"_s, std::nullopt},
        {0, 30, u"12:30"_s, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " at " + std::to_string(c.hour));
        const Date read = local(2026, 8, 19, c.hour, c.minute, 40);
        const std::optional<Date> corrected = QuickAddParser::writtenHourCorrection(read, c.text, amsterdam());
        ASSERT_EQ(corrected.has_value(), c.correctedHour.has_value());
        if (corrected) {
            EXPECT_EQ(*corrected, local(2026, 8, 19, *c.correctedHour, c.minute, 0));
        }
    }
}

TEST(BlankingRangesTest, KeepsEveryOtherPosition) {
    EXPECT_EQ(QuickAddParser::blankingRanges({{1, 3}, {8, 5}}, u"abcdefghijklmn"_s).toStdString(), "a   efgh     n");
    // A surrogate pair is two units, so two blanks.
    EXPECT_EQ(QuickAddParser::blankingRanges({{5, 2}}, u"call 😀 now"_s).toStdString(), "call    now");
    // A range that reaches past the text blanks what there is.
    EXPECT_EQ(QuickAddParser::blankingRanges({{2, 10}, {-4, 2}}, u"abcd"_s).toStdString(), "ab  ");
}

TEST(DateServicesTest, DueComponentsKeepTheTimeOnlyWhenAsked) {
    const Date date = local(2026, 8, 19, 23, 45, 40);
    EXPECT_EQ(QuickAddParser::dueComponents(amsterdam(), date, false),
              (DateComponents{.year = 2026, .month = 8, .day = 19}));
    EXPECT_EQ(QuickAddParser::dueComponents(amsterdam(), date, true),
              (DateComponents{.year = 2026, .month = 8, .day = 19, .hour = 23, .minute = 45}));
}

TEST(DateServicesTest, OnlyABareCadenceFallsDueToday) {
    const Date now = local(2026, 8, 19, 23, 45);
    const DateComponents today{.year = 2026, .month = 8, .day = 19};
    const DateComponents written{.year = 2026, .month = 9, .day = 1, .hour = 9, .minute = 0};
    struct Case {
        const char* name;
        std::optional<RecurrenceFrequency> frequency;
        std::optional<DateComponents> due;
        bool hasTime;
        std::optional<DateComponents> expectedDue;
        bool expectedHasTime;
        bool expectedDefault;
    };
    const Case cases[] = {
        {"bare cadence", RecurrenceFrequency::weekly, std::nullopt, true, today, false, true},
        {"cadence with a date", RecurrenceFrequency::daily, written, true, written, true, false},
        {"no cadence", std::nullopt, std::nullopt, false, std::nullopt, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParsedQuickAdd reading{.title = u"gym"_s, .dueDateComponents = c.due, .hasTime = c.hasTime};
        reading.recurrenceFrequency = c.frequency;
        QuickAddParser::dueTodayForBareCadence(reading, now, amsterdam());
        EXPECT_EQ(reading.dueDateComponents, c.expectedDue);
        EXPECT_EQ(reading.hasTime, c.expectedHasTime);
        EXPECT_EQ(reading.dueDateIsBareCadenceDefault, c.expectedDefault);
    }
}

TEST(DateServicesTest, FirstDayNumberedCountsTodayAndSkipsShortMonths) {
    const Date reference = local(2026, 9, 19, 10, 30);
    struct Case {
        int day;
        Date expected;
    };
    const Case cases[] = {
        {19, local(2026, 9, 19, 0)},
        {18, local(2026, 10, 18, 0)},
        {20, local(2026, 9, 20, 0)},
        {31, local(2026, 10, 31, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.day);
        EXPECT_EQ(QuickAddParser::firstDayNumbered(c.day, reference, amsterdam()), c.expected);
    }
}

TEST(DateServicesTest, SharesOneDetector) {
    const DateDetector* detector = QuickAddParser::dateDetector();
    ASSERT_NE(detector, nullptr);
    EXPECT_EQ(QuickAddParser::dateDetector(), detector);
}

TEST(DateServicesTest, BindsTheDetectorToTheVocabularysLanguages) {
    const ParserVocabulary dutch = ParserVocabulary::forLocaleIdentifiers({u"nl-NL"_s});
    const Date reference = local(2026, 8, 19, 10);
    const BoundDetector bound =
        QuickAddParser::bindDateDetector(QuickAddParser::dateDetector(), reference, amsterdam(), dutch);
    EXPECT_EQ(bound.context.languages, (QStringList{u"nl"_s, u"en"_s}));
    const std::optional<DetectedDate> tomorrow = bound.firstMatch(u"bel mama morgen om 9 uur"_s);
    ASSERT_TRUE(tomorrow);
    EXPECT_EQ(tomorrow->range, (TextRange{9, 15}));
    EXPECT_EQ(tomorrow->date, local(2026, 8, 20, 9));

    const BoundDetector absent = QuickAddParser::bindDateDetector(nullptr, reference, amsterdam(), dutch);
    EXPECT_FALSE(absent.exists());
    EXPECT_TRUE(absent.matches(u"morgen"_s).empty());
    EXPECT_FALSE(absent.firstMatch(u"morgen"_s));
}

}  // namespace
