#include "parsing/Cadence.h"
#include "parsing/PlaceRadiusTrigger.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;

namespace {

struct Fixture {
    platform::Calendar calendar =
        platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s));
    ParserVocabulary vocabulary = ParserVocabulary::forLocaleIdentifiers({u"en-US"_s});

    platform::Date onDay(int day, int hour = 10) const {
        return *calendar.date({.year = 2026, .month = 3, .day = day, .hour = hour});
    }
    // The cadence stage as the pipeline runs it: on the place-blanked scan text.
    std::optional<QuickAddParser::RecurrenceMatch> recurrence(QString& text, int day = 4) const {
        const auto scan = QuickAddParser::placeScanTexts(text, vocabulary);
        return QuickAddParser::extractRecurrence(text, scan.cadenceScanText, onDay(day), calendar, vocabulary);
    }
    std::optional<RecurrenceFrequency> adverb(QString& text) const {
        const auto scan = QuickAddParser::placeScanTexts(text, vocabulary);
        return QuickAddParser::extractCadenceAdverb(text, scan.adverbScanText, vocabulary);
    }
};

}  // namespace

TEST(Cadence, EveryPhrases) {
    const Fixture f;
    struct Case {
        QString text;
        std::optional<RecurrenceFrequency> frequency;
        int interval;
        QString rest;
    };
    const Case cases[] = {
        {u"water plants every other week"_s, RecurrenceFrequency::weekly, 2, u"water plants"_s},
        {u"each 3 days stretch"_s, RecurrenceFrequency::daily, 3, u"stretch"_s},
        {u"every 0 days"_s, std::nullopt, 0, u"every 0 days"_s},
        {u"stretch every 00 weeks"_s, std::nullopt, 0, u"stretch every 00 weeks"_s},
        {u"every 999 years"_s, RecurrenceFrequency::yearly, 999, u""_s},
        {u"every ٣ days"_s, RecurrenceFrequency::daily, 1, u""_s},  // no count from other scripts
        {u"call mom on every friday"_s, RecurrenceFrequency::weekly, 1, u"call mom"_s},
        {u"on every friday call mom"_s, RecurrenceFrequency::weekly, 1, u"call mom"_s},
        {u"stretch on every day at home"_s, RecurrenceFrequency::daily, 1, u"stretch at home"_s},
        {u"pay rent every month to"_s, RecurrenceFrequency::monthly, 1, u"pay rent"_s},
        {u"every month, pay rent"_s, RecurrenceFrequency::monthly, 1, u", pay rent"_s},
        {u"every 2 mondays"_s, std::nullopt, 0, u"every 2 mondays"_s},
        {u"everyday things"_s, std::nullopt, 0, u"everyday things"_s},
        {u"dinner @\"every week cafe\""_s, std::nullopt, 0, u"dinner @\"every week cafe\""_s},
        {u"dinner @\"Cafe\" every week"_s, RecurrenceFrequency::weekly, 1, u"dinner @\"Cafe\""_s},
        {u"yoga @gym every monday"_s, RecurrenceFrequency::weekly, 1, u"yoga @gym"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        QString text = c.text;
        const auto found = f.recurrence(text);
        EXPECT_EQ(found.has_value(), c.frequency.has_value());
        if (found) {
            EXPECT_EQ(found->frequency, *c.frequency);
            EXPECT_EQ(found->interval, c.interval);
        }
        EXPECT_EQ(text, c.rest);
    }
}

TEST(Cadence, WeekdayAnchorIsTheNextSuchDayFromToday) {
    const Fixture f;
    struct Case {
        int readOn;  // March 2026: the 2nd is a Monday
        int anchorDay;
    };
    for (const Case c : {Case{2, 2}, Case{3, 9}, Case{8, 9}}) {
        SCOPED_TRACE(c.readOn);
        QString text = u"gym every monday"_s;
        const auto found = f.recurrence(text, c.readOn);
        ASSERT_TRUE(found && found->weekdayAnchor);
        EXPECT_EQ(*found->weekdayAnchor, f.calendar.startOfDay(f.onDay(c.anchorDay)));
    }
    QString every = u"every week"_s;
    EXPECT_FALSE(f.recurrence(every)->weekdayAnchor.has_value());
}

TEST(Cadence, TrailingAdverbs) {
    const Fixture f;
    struct Case {
        QString text;
        std::optional<RecurrenceFrequency> frequency;
        QString rest;
    };
    const Case cases[] = {
        {u"review budget monthly"_s, RecurrenceFrequency::monthly, u"review budget"_s},
        {u"take pills daily  "_s, RecurrenceFrequency::daily, u"take pills"_s},
        {u"read the weekly"_s, std::nullopt, u"read the weekly"_s},
        {u"monthly review"_s, std::nullopt, u"monthly review"_s},
        {u"renew annually"_s, RecurrenceFrequency::yearly, u"renew"_s},
        {u"coffee @weekly"_s, std::nullopt, u"coffee @weekly"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        QString text = c.text;
        EXPECT_EQ(f.adverb(text), c.frequency);
        EXPECT_EQ(text, c.rest);
    }
}

TEST(Cadence, PrecedingMarker) {
    const Fixture f;
    const QString text = u"call at 5 on x"_s;
    EXPECT_EQ(QuickAddParser::includePrecedingMarker({8, 1}, text, f.vocabulary, {}), (platform::TextRange{5, 4}));
    EXPECT_EQ(QuickAddParser::includePrecedingMarker({8, 1}, text, f.vocabulary, {{6, 1}}), (platform::TextRange{8, 1}))
        << "a protected range stops the widening";
    EXPECT_EQ(QuickAddParser::includePrecedingMarker({5, 1}, text, f.vocabulary, {}), (platform::TextRange{5, 1}))
        << "call is no marker";
    EXPECT_EQ(QuickAddParser::includePrecedingMarker({0, 4}, text, f.vocabulary, {}), (platform::TextRange{0, 4}));
}
