#include "parsing/DurationPhrases.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;
using platform::DateComponents;

namespace {

struct Fixture {
    platform::Calendar calendar =
        platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s));
    platform::Date reference = *calendar.date({.year = 2026, .month = 3, .day = 4, .hour = 10, .minute = 7});

    QuickAddParser::DurationCandidates read(const QString& text, const ParserVocabulary& vocabulary) const {
        return QuickAddParser::durationCandidates(text, {0, text.size()}, reference, calendar, vocabulary);
    }
};

}  // namespace

TEST(DurationPhrases, EnglishPhrases) {
    const Fixture f;
    const ParserVocabulary en = ParserVocabulary::forLocaleIdentifiers({u"en-US"_s});
    struct Case {
        QString text;
        std::optional<DateComponents> components;  // nothing: no candidate
        platform::TextRange range = {};
    };
    const Case cases[] = {
        {u"call in 20 minutes"_s,
         DateComponents{.year = 2026, .month = 3, .day = 4, .hour = 10, .minute = 27},
         {5, 13}},
        {u"within 2 weeks"_s, DateComponents{.year = 2026, .month = 3, .day = 18}, {0, 14}},
        {u"in 720 minutes"_s, DateComponents{.year = 2026, .month = 3, .day = 4, .hour = 22, .minute = 7}, {0, 14}},
        {u"in 721 minutes"_s, std::nullopt},
        {u"in 168 hours"_s, DateComponents{.year = 2026, .month = 3, .day = 11, .hour = 10, .minute = 7}, {0, 12}},
        {u"in 169 hours"_s, std::nullopt},
        {u"in 366 days"_s, DateComponents{.year = 2027, .month = 3, .day = 5}, {0, 11}},
        {u"in 52 weeks"_s, DateComponents{.year = 2027, .month = 3, .day = 3}, {0, 11}},
        {u"in 53 weeks"_s, std::nullopt},
        {u"in 0 minutes"_s, DateComponents{.year = 2026, .month = 3, .day = 4, .hour = 10, .minute = 7}, {0, 12}},
        {u"in an hour"_s, DateComponents{.year = 2026, .month = 3, .day = 4, .hour = 11, .minute = 7}, {0, 10}},
        {u"in half an hour"_s, DateComponents{.year = 2026, .month = 3, .day = 4, .hour = 10, .minute = 37}, {0, 15}},
        {u"in a half hour"_s, DateComponents{.year = 2026, .month = 3, .day = 4, .hour = 10, .minute = 37}, {0, 14}},
        {u"in a half an hour"_s, std::nullopt},
        {u"in half a day"_s, std::nullopt},
        {u"in half a minute"_s, std::nullopt},
        {u"in 10min"_s, DateComponents{.year = 2026, .month = 3, .day = 4, .hour = 10, .minute = 17}, {0, 8}},
        {u"in 5 mins'"_s, std::nullopt},
        {u"in 2 hours-long"_s, std::nullopt},
        {u"xin 5 min"_s, std::nullopt},
        {u"in 1.5 hours"_s, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const auto read = f.read(c.text, en);
        EXPECT_TRUE(read.rejectedRanges.empty());
        if (!c.components) {
            EXPECT_TRUE(read.candidates.empty());
            continue;
        }
        ASSERT_EQ(read.candidates.size(), 1u);
        EXPECT_EQ(read.candidates[0].components, *c.components);
        EXPECT_EQ(read.candidates[0].range, c.range);
        EXPECT_EQ(read.candidates[0].hasTime, c.components->hour.has_value());
        EXPECT_EQ(read.candidates[0].kind, RuleDateCandidate::Kind::duration);
    }
}

TEST(DurationPhrases, MixedLanguagesAreRejectedNotRead) {
    const Fixture f;
    const ParserVocabulary deEn = ParserVocabulary::forLocaleIdentifiers({u"de-DE"_s, u"en-US"_s});
    const auto mixed = f.read(u"Anruf binnen 2 hours"_s, deEn);
    EXPECT_TRUE(mixed.candidates.empty());
    EXPECT_EQ(mixed.rejectedRanges, (std::vector<platform::TextRange>{{6, 14}}));
    const auto german = f.read(u"in einer Stunde"_s, deEn);
    ASSERT_EQ(german.candidates.size(), 1u);
    EXPECT_EQ(german.candidates[0].components.hour, 11);
    EXPECT_TRUE(f.read(u"in 5 minutes"_s, ParserVocabulary::empty()).candidates.empty());
}
