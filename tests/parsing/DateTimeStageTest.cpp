#include "parsing/DatePairing.h"
#include "parsing/QuickAddParser.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;
using platform::DateComponents;

// The date and time stage through the whole parse, as a user in Amsterdam
// whose week starts on Monday reads lines in March 2026 (the 4th is a
// Wednesday).
namespace {

struct Reading {
    QString line;
    int day = 4, hour = 10, minute = 0;  // the reference moment
    bool editing = false;
    std::optional<QString> previousDateText;
    bool uses24HourClock = false;
};

const platform::Calendar& calendar() {
    static const platform::Calendar calendar = [] {
        platform::Calendar c = platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s),
                                                             platform::Locale(u"en_GB"_s));
        c.setFirstWeekday(2);
        return c;
    }();
    return calendar;
}

platform::Date at(int day, int hour, int minute, int month = 3) {
    return *calendar().date({.year = 2026, .month = month, .day = day, .hour = hour, .minute = minute});
}

ParsedQuickAdd read(const Reading& r) {
    static const ParserVocabulary english = ParserVocabulary::forLocaleIdentifiers({u"en-GB"_s});
    return QuickAddParser::parse(r.line, {.referenceDate = at(r.day, r.hour, r.minute),
                                          .calendar = calendar(),
                                          .vocabulary = english,
                                          .isEditing = r.editing,
                                          .previousDateText = r.previousDateText,
                                          .uses24HourClock = r.uses24HourClock});
}

DateComponents dayOf(int day, int month = 3, int year = 2026) { return {.year = year, .month = month, .day = day}; }
DateComponents timeOf(int day, int hour, int minute, int month = 3) {
    return {.year = 2026, .month = month, .day = day, .hour = hour, .minute = minute};
}

struct Expected {
    std::optional<DateComponents> due;
    std::optional<QString> matched;
    QString title;
};

void expectReading(const Reading& r, const Expected& e) {
    SCOPED_TRACE(r.line.toStdString());
    const ParsedQuickAdd parsed = read(r);
    EXPECT_EQ(parsed.dueDateComponents, e.due);
    EXPECT_EQ(parsed.hasTime, e.due && e.due->hour.has_value());
    EXPECT_EQ(parsed.matchedDateText, e.matched);
    EXPECT_EQ(parsed.title, e.title);
}

}  // namespace

TEST(DateTimeStage, Choice) {
    const std::pair<Reading, Expected> cases[] = {
        {{u"call mom tomorrow"_s}, {dayOf(5), u"tomorrow"_s, u"call mom"_s}},
        {{u"call tomorrow about friday"_s}, {dayOf(6), u"friday"_s, u"call tomorrow about"_s}},  // the later one wins
        {{u"meet at 10 to 5"_s}, {timeOf(4, 16, 50), u"at 10 to 5"_s, u"meet"_s}},
        {{u"call 9:30"_s}, {timeOf(5, 9, 30), u"9:30"_s, u"call"_s}},  // past: tomorrow
        {{u"call 9:59"_s}, {timeOf(4, 9, 59), u"9:59"_s, u"call"_s}},  // within the last minute: today
        {{u"call 10:30"_s}, {timeOf(4, 10, 30), u"10:30"_s, u"call"_s}},
        {{u"rent on the 4th at 9am"_s}, {timeOf(4, 9, 0, 4), u"on the 4th at 9am"_s, u"rent"_s}},
        {{u"pay 1 Mar 2026"_s}, {std::nullopt, std::nullopt, u"pay 1 Mar 2026"_s}},
        {{u"pay 1 Mar 2026"_s, 4, 10, 0, true}, {dayOf(1), u"1 Mar 2026"_s, u"pay"_s}},  // editing keeps the past
        {{u"shop @\"Friday Market\""_s}, {std::nullopt, std::nullopt, u"shop"_s}},
        {{u"in 20 minutes call back"_s}, {timeOf(4, 10, 20), u"in 20 minutes"_s, u"call back"_s}},
        {{u"gym on friday"_s}, {dayOf(6), u"on friday"_s, u"gym"_s}},
    };
    for (const auto& [reading, expected] : cases) expectReading(reading, expected);
}

TEST(DateTimeStage, Pairing) {
    const std::pair<Reading, Expected> cases[] = {
        {{u"dentist friday at quarter past 3"_s}, {timeOf(6, 15, 15), u"friday at quarter past 3"_s, u"dentist"_s}},
        {{u"friday call quarter past 3"_s},
         {timeOf(4, 15, 15), u"quarter past 3"_s, u"friday call"_s}},  // not neighbours
        {{u"the 5th, call quarter past 3"_s}, {timeOf(5, 15, 15), u"the 5th quarter past 3"_s, u"call"_s}},
        {{u"on the 5th, call at 5:30"_s, 4, 10, 0, false, std::nullopt, true},
         {timeOf(5, 5, 30), u"on the 5th at 5:30"_s, u"call"_s}},  // a 24-hour clock keeps 5:30 in the morning
        {{u"on the 5th, call at 5:30"_s}, {timeOf(5, 17, 30), u"on the 5th at 5:30"_s, u"call"_s}},
        {{u"the 5th call quarter past 3"_s},
         {timeOf(4, 15, 15), u"quarter past 3"_s, u"the 5th call"_s}},  // no ordinal
        {{u"next week Friday at 3pm lunch"_s}, {timeOf(13, 15, 0), u"next week Friday at 3pm"_s, u"lunch"_s}},
        {{u"next week Friday lunch"_s}, {dayOf(13), u"next week Friday"_s, u"lunch"_s}},
        {{u"next week Monday lunch"_s}, {dayOf(9), u"next week Monday"_s, u"lunch"_s}},
    };
    for (const auto& [reading, expected] : cases) expectReading(reading, expected);
}

TEST(DateTimeStage, CadenceAnchorAndPreviousDateText) {
    const std::pair<Reading, Expected> cases[] = {
        // Read on Monday the 2nd at 10:00: this Monday's 9:00 is past, so next week.
        {{u"gym every monday 9:00"_s, 2}, {timeOf(9, 9, 0), u"9:00"_s, u"gym"_s}},
        {{u"gym every monday 9:00"_s, 2, 10, 0, true}, {timeOf(2, 9, 0), u"9:00"_s, u"gym"_s}},
        {{u"gym every monday 9:00"_s, 1}, {timeOf(2, 9, 0), u"9:00"_s, u"gym"_s}},  // read on Sunday
        {{u"gym every monday"_s}, {dayOf(9), std::nullopt, u"gym"_s}},
        {{u"dentist 6 Mar 2026 friday"_s, 4, 10, 0, true, u"6 Mar 2026"_s}, {dayOf(6), u"friday"_s, u"dentist"_s}},
        {{u"dentist FRIDAY"_s, 4, 10, 0, true, u"friday"_s}, {dayOf(6), u"FRIDAY"_s, u"dentist"_s}},
        {{u"dentist friday"_s, 4, 10, 0, true, u""_s}, {dayOf(6), u"friday"_s, u"dentist"_s}},
    };
    for (const auto& [reading, expected] : cases) expectReading(reading, expected);
}

TEST(DatePairing, PreferredReadingAndOrdinalDays) {
    using QuickAddParser::ordinalDayDate;
    using QuickAddParser::preferredDialReading;
    EXPECT_EQ(preferredDialReading({{7, 0}, {19, 0}}), (DialReading{7, 0}));
    EXPECT_EQ(preferredDialReading({{3, 15}, {15, 15}}), (DialReading{15, 15}));
    EXPECT_EQ(preferredDialReading({{5, 0}, {17, 0}}), (DialReading{17, 0}));
    EXPECT_EQ(preferredDialReading({{2, 0}}), (DialReading{2, 0}));
    EXPECT_EQ(preferredDialReading({}), std::nullopt);

    const std::vector<DialReading> quarterPastThree = {{3, 15}, {15, 15}};
    EXPECT_EQ(ordinalDayDate(5, quarterPastThree, at(3, 10, 0), calendar()), timeOf(5, 15, 15));
    EXPECT_EQ(ordinalDayDate(5, quarterPastThree, at(5, 10, 0), calendar()), timeOf(5, 15, 15));
    EXPECT_EQ(ordinalDayDate(5, quarterPastThree, at(5, 16, 0), calendar()), timeOf(5, 15, 15, 4));
    EXPECT_EQ(ordinalDayDate(31, {{9, 0}}, at(1, 10, 0, 4), calendar()), timeOf(31, 9, 0, 5));
}

TEST(OrdinalDays, Phrases) {
    const std::pair<Reading, Expected> cases[] = {
        {{u"rent on the 5th"_s, 5}, {dayOf(5), u"on the 5th"_s, u"rent"_s}},
        {{u"rent on the 5th"_s, 6}, {dayOf(5, 4), u"on the 5th"_s, u"rent"_s}},
        {{u"rent the 31st"_s, 1}, {dayOf(31), u"the 31st"_s, u"rent"_s}},
        {{u"rent the 5TH"_s}, {dayOf(5), u"the 5TH"_s, u"rent"_s}},
        {{u"the 32nd"_s}, {std::nullopt, std::nullopt, u"the 32nd"_s}},
        {{u"the 0th"_s}, {std::nullopt, std::nullopt, u"the 0th"_s}},
        {{u"meet on the 5th floor"_s}, {std::nullopt, std::nullopt, u"meet on the 5th floor"_s}},
        {{u"meet 5th-floor"_s}, {std::nullopt, std::nullopt, u"meet 5th-floor"_s}},
        {{u"call on the 5th."_s}, {dayOf(5), u"on the 5th"_s, u"call."_s}},
        {{u"9am the 6th buy milk"_s}, {timeOf(6, 9, 0), u"9am the 6th"_s, u"buy milk"_s}},
    };
    for (const auto& [reading, expected] : cases) expectReading(reading, expected);
}

namespace {

// A line of one language (and English, as every user has it), read with a
// 24-hour clock.
struct NativeCase {
    const char16_t* code;
    QString line;
    std::optional<DateComponents> due;
    QString title;
};

void expectNativeReadings(std::initializer_list<NativeCase> cases) {
    for (const NativeCase& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const ParserVocabulary vocabulary = ParserVocabulary::forLocaleIdentifiers({QString::fromUtf16(c.code)});
        const ParsedQuickAdd parsed = QuickAddParser::parse(
            c.line,
            {.referenceDate = at(4, 10, 0), .calendar = calendar(), .vocabulary = vocabulary, .uses24HourClock = true});
        EXPECT_EQ(parsed.dueDateComponents, c.due);
        EXPECT_EQ(parsed.hasTime, c.due && c.due->hour.has_value());
        EXPECT_EQ(parsed.title, c.title);
    }
}

}  // namespace

// Where a language writes its dates with the marks of a time, the date
// wins unless something makes the digits a time: a clock marker before
// them, or an ending that only follows clock times.
TEST(DateTimeStage, DayAndMonthInDigitsOrATime) {
    expectNativeReadings({
        {u"hu", u"adóbevallás 03.20-ig"_s, dayOf(20), u"adóbevallás"_s},
        {u"hu", u"hívás 10.30-kor"_s, timeOf(4, 10, 30), u"hívás"_s},
        {u"de", u"Zahnarzt am 20.03 um 9 Uhr"_s, timeOf(20, 9, 0), u"Zahnarzt"_s},
        {u"de", u"Treffen um 15.04"_s, timeOf(4, 15, 4), u"Treffen"_s},
        {u"tr", u"diş hekimi 15.04'te"_s, dayOf(15, 4), u"diş hekimi"_s},
        {u"nl", u"tandarts 20-3"_s, dayOf(20), u"tandarts"_s},
        {u"en", u"install version 3.12"_s, std::nullopt, u"install version 3.12"_s},
    });
}

// A number after a clock marker that counts what follows it is no time,
// and the line keeps its title whole.
TEST(DateTimeStage, NumbersThatCountKeepTheTitle) {
    expectNativeReadings({
        {u"en", u"meet Anna at 221 Baker Street"_s, std::nullopt, u"meet Anna at 221 Baker Street"_s},
        {u"es", u"comprar las 3 camisetas"_s, std::nullopt, u"comprar las 3 camisetas"_s},
        {u"es", u"comprar camisetas a las 3"_s, timeOf(4, 15, 0), u"comprar camisetas"_s},
        {u"cs", u"sraz v 3. patře"_s, std::nullopt, u"sraz v 3. patře"_s},
        {u"cs", u"sraz v 3"_s, timeOf(4, 15, 0), u"sraz"_s},
    });
}

// A part of the day gives its day, at its hour where the language's time
// words show it, else the day alone; never nothing.
TEST(DateTimeStage, PartsOfTheDayGiveTheirDay) {
    expectNativeReadings({
        {u"en", u"email Tom this evening"_s, timeOf(4, 19, 0), u"email Tom"_s},
        {u"de", u"Brötchen holen morgen früh"_s, dayOf(5), u"Brötchen holen"_s},
        {u"de", u"Sonntagabend Tatort schauen"_s, dayOf(8), u"Tatort schauen"_s},
        {u"it", u"chiamare Luca stasera"_s, dayOf(4), u"chiamare Luca"_s},
        {u"fi", u"sauna sunnuntai-iltana"_s, dayOf(8), u"sauna"_s},
    });
}

// A span counted in words, or by the hour and a half, is read whole or not
// at all: never its first part with the rest left in the title. Where the
// language's time words do not show the hour ("in an hour and a half"), the
// line keeps no date rather than the day without its time.
TEST(DateTimeStage, SpansInWordsAreReadWhole) {
    expectNativeReadings({
        {u"en", u"renew the passport in thirty days"_s, dayOf(3, 4), u"renew the passport"_s},
        {u"en", u"leave in an hour and a half"_s, std::nullopt, u"leave in an hour and a half"_s},
        {u"fr", u"rappeler Paul dans une heure et demie"_s, timeOf(4, 11, 30), u"rappeler Paul"_s},
        {u"hu", u"hívd fel Pétert másfél óra múlva"_s, timeOf(4, 11, 30), u"hívd fel Pétert"_s},
        {u"tr", u"Ahmet'i bir buçuk saat sonra ara"_s, timeOf(4, 11, 30), u"Ahmet'i ara"_s},
        {u"it", u"chiamare Marco tra un'ora e mezza"_s, std::nullopt, u"chiamare Marco tra un'ora e mezza"_s},
    });
}
