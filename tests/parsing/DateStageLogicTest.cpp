#include "parsing/DateTimeStage.h"
#include "parsing/QuickAddParser.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

#include <map>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;
using platform::DateComponents;
using platform::DetectedDate;

// The date stage's own logic (limits, the roll, the retry, editing, no
// detector) against a detector that reads exactly what a test says, so that
// it holds whatever the real detector recognises.
namespace {

class ScriptedDetector final : public platform::DateDetector {
public:
    std::map<QString, std::vector<DetectedDate>> script;  // whole text → its matches

    std::vector<DetectedDate> matches(const QString& text, platform::TextRange range,
                                      const platform::DetectionContext&) const override {
        std::vector<DetectedDate> found;
        if (const auto it = script.find(text); it != script.end())
            for (const DetectedDate& m : it->second)
                if (range.contains(m.range) || m.range == range) found.push_back(m);
        return found;
    }
};

struct Fixture {
    platform::Calendar calendar =
        platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s));
    platform::Date reference = at(4, 10, 0);
    ParserVocabulary vocabulary = ParserVocabulary::forLocaleIdentifiers({u"en-US"_s});
    ScriptedDetector detector;

    platform::Date at(int day, int hour, int minute, int month = 3) const {
        return *calendar.date({.year = 2026, .month = month, .day = day, .hour = hour, .minute = minute});
    }
    DetectedDate time(const QString& line, const QString& phrase, platform::Date date) const {
        return {.range = {line.indexOf(phrase), phrase.size()}, .date = date, .timeWritten = true};
    }
    DetectedDate day(const QString& line, const QString& phrase, platform::Date date) const {
        return {.range = {line.indexOf(phrase), phrase.size()}, .date = date, .dayWritten = true};
    }
    QuickAddParser::DateTimeResult read(QString& line, bool editing = false, const ParserVocabulary* words = nullptr,
                                        bool uses24HourClock = false) const {
        const ParserVocabulary& v = words ? *words : vocabulary;
        const BoundDetector bound = QuickAddParser::bindDateDetector(&detector, reference, calendar, v);
        return QuickAddParser::extractDateTime(line, reference, calendar, v, editing, std::nullopt, uses24HourClock,
                                               bound);
    }
};

DateComponents timeOf(int day, int hour, int minute, int month = 3) {
    return {.year = 2026, .month = month, .day = day, .hour = hour, .minute = minute};
}

}  // namespace

TEST(DateStageLogic, PastTimesAndTheSixtySecondLimit) {
    Fixture f;
    QString past = u"call 9:30"_s, recent = u"call 9:59"_s;
    f.detector.script[past] = {f.time(past, u"9:30"_s, f.at(4, 9, 30))};
    f.detector.script[recent] = {f.time(recent, u"9:59"_s, f.at(4, 9, 59))};
    EXPECT_EQ(f.read(past).components, timeOf(5, 9, 30)) << "rolled to tomorrow";
    EXPECT_EQ(past, u"call"_s);
    EXPECT_EQ(f.read(recent).components, timeOf(4, 9, 59)) << "one minute back still counts as now";
}

// Times are written to the minute, and the reference's fraction of a second
// does not push one written a minute back over the limit.
TEST(DateStageLogic, TheSixtySecondLimitCountsWholeSeconds) {
    Fixture f;
    const struct {
        double secondsPastTen;
        int day;
    } cases[] = {{-0.5, 4}, {0.5, 4}, {1.5, 5}};  // 59, 60 and 61 whole seconds after 9:59
    for (const auto& c : cases) {
        SCOPED_TRACE(c.secondsPastTen);
        f.reference = f.at(4, 10, 0).addingTimeInterval(c.secondsPastTen);
        QString line = u"call 9:59"_s;
        f.detector.script[line] = {f.time(line, u"9:59"_s, f.at(4, 9, 59))};
        EXPECT_EQ(f.read(line).components, timeOf(c.day, 9, 59));
    }
}

// A match whose time the words of the vocabulary do not show would keep its
// day and lose its time: it is no date, and the rules inside it are gone
// with it, so the line keeps its words.
TEST(DateStageLogic, ADetectorTimeTheWordsDoNotShowIsNoDate) {
    Fixture f;
    QString line = u"call mum tomorrow at half past 4"_s;
    f.detector.script[line] = {
        DetectedDate{.range = {9, 23}, .date = f.at(5, 16, 30), .dayWritten = true, .timeWritten = true}};
    EXPECT_EQ(f.read(line).components, std::nullopt);
    EXPECT_EQ(line, u"call mum tomorrow at half past 4"_s);
}

// For a 24-hour clock a written "5h" the detector guessed to be 17:00 is
// 05:00; an evening that a word of the line gives stays the evening.
TEST(DateStageLogic, OnlyAGuessedAfternoonIsTakenBackForA24HourClock) {
    Fixture f;
    const ParserVocabulary french = ParserVocabulary::forLocaleIdentifiers({u"fr"_s});
    QString evening = u"appeler ce soir à 8h"_s, guessed = u"appeler à 5h"_s;
    f.detector.script[evening] = {
        DetectedDate{.range = {8, 12}, .date = f.at(4, 20, 0), .dayWritten = true, .timeWritten = true}};
    f.detector.script[guessed] = {
        DetectedDate{.range = {8, 4}, .date = f.at(4, 17, 0), .timeWritten = true, .afternoonGuessed = true}};
    EXPECT_EQ(f.read(evening, false, &french, true).components, timeOf(4, 20, 0));
    EXPECT_EQ(f.read(guessed, false, &french, true).components, timeOf(5, 5, 0));
}

TEST(DateStageLogic, APastTimeOnItsDayNumberMovesToTheNextSuchDay) {
    Fixture f;
    QString line = u"rent on the 4th at 9am"_s;
    f.detector.script[line] = {
        DetectedDate{.range = {5, 17}, .date = f.at(4, 9, 0), .dayWritten = true, .timeWritten = true}};
    const auto result = f.read(line);
    EXPECT_EQ(result.components, timeOf(4, 9, 0, 4));
    EXPECT_EQ(result.matchedText, u"on the 4th at 9am"_s);
}

TEST(DateStageLogic, APastDayIsTriedAgainWithoutItsFirstWord) {
    Fixture f;
    QString line = u"meet since monday"_s;
    f.detector.script[line] = {f.day(line, u"since monday"_s, f.at(2, 12, 0))};
    f.detector.script[u"monday"_s] = {f.day(u"monday"_s, u"monday"_s, f.at(9, 12, 0))};
    QString editedLine = line;
    const auto result = f.read(line);
    EXPECT_EQ(result.components, (DateComponents{.year = 2026, .month = 3, .day = 9}));
    EXPECT_EQ(result.matchedText, u"since monday"_s) << "the range stays the first match's";
    EXPECT_EQ(f.read(editedLine, true).components, (DateComponents{.year = 2026, .month = 3, .day = 2}))
        << "editing keeps the date as read";

    QString noRetry = u"meet yesterday"_s;
    f.detector.script[noRetry] = {f.day(noRetry, u"yesterday"_s, f.at(3, 12, 0))};
    EXPECT_EQ(f.read(noRetry).components, std::nullopt);
    EXPECT_EQ(noRetry, u"meet yesterday"_s) << "words of a rejected date stay";
}

TEST(DateStageLogic, TheRulesStillCountWithoutADetector) {
    Fixture f;
    QString line = u"call back in 20 minutes"_s;
    const BoundDetector none = QuickAddParser::bindDateDetector(nullptr, f.reference, f.calendar, f.vocabulary);
    const auto result =
        QuickAddParser::extractDateTime(line, f.reference, f.calendar, f.vocabulary, false, std::nullopt, false, none);
    EXPECT_EQ(result.components, timeOf(4, 10, 20));
    EXPECT_EQ(line, u"call back"_s);
}

TEST(DateStageLogic, ADetectorDateWithoutADateGivesWayToARuleAtTheSamePlace) {
    Fixture f;
    QString line = u"in 5 minutes"_s;
    f.detector.script[line] = {f.day(line, u"in 5 minutes"_s, f.at(1, 12, 0))};
    EXPECT_EQ(f.read(line).components, timeOf(4, 10, 5));
}

TEST(DateStageLogic, ADayWordHoldingATimeWordHasNoTime) {
    Fixture f;
    const ParserVocabulary danish = ParserVocabulary::forLocaleIdentifiers({u"da-DK"_s});
    QString line = u"tandlæge i morgen"_s;
    f.detector.script[line] = {f.day(line, u"i morgen"_s, f.at(5, 12, 0))};
    const auto result = f.read(line, false, &danish);
    EXPECT_EQ(result.components, (DateComponents{.year = 2026, .month = 3, .day = 5}));
    EXPECT_FALSE(result.hasTime) << "\"morgen\" is a time word in Danish, but the detector read no time";
}

TEST(DateStageLogic, AWeekdayCadenceTakesAnyTimeWithoutADay) {
    const platform::Calendar calendar =
        platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s));
    const platform::Date wednesday = *calendar.date({.year = 2026, .month = 3, .day = 4, .hour = 10});
    const ParserVocabulary english = ParserVocabulary::forLocaleIdentifiers({u"en-US"_s});
    const ParsedQuickAdd parsed = QuickAddParser::parse(
        u"gym every monday at noon"_s,
        {.referenceDate = wednesday, .calendar = calendar, .vocabulary = english, .uses24HourClock = false});
    EXPECT_EQ(parsed.dueDateComponents, timeOf(9, 12, 0)) << "on the Monday, not today at noon";
    EXPECT_EQ(parsed.recurrenceFrequency, RecurrenceFrequency::weekly);
    EXPECT_EQ(parsed.title, u"gym"_s);
}
