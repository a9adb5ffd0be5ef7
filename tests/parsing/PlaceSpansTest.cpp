#include "parsing/PlaceSpans.h"

#include "platform/Regex.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin::parsing;
using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

const ParserVocabulary& english() {
    static const ParserVocabulary vocabulary = ParserVocabulary::forLocaleIdentifiers({u"en"_s});
    return vocabulary;
}

TEST(QuotedPlaceRangesTest, CoversMarkerAtAndName) {
    struct Case {
        QString text;
        std::vector<TextRange> expected;
    };
    const Case cases[] = {
        {u"meet at @“Blue Cafe” tomorrow"_s, {{4, 16}}},
        {u"meet @\"Blue Cafe\""_s, {{4, 13}}},
        {u"„@Blue Cafe“ at noon"_s, {{0, 12}}},
        {u"„@Blue Cafe“"_s, {{0, 12}}},
        {u"@„Blue Cafe“"_s, {{0, 12}}},
        {u"near @“A” and at @\"B\""_s, {{0, 9}, {13, 8}}},
        {u"at @“  ” noon"_s, {}},
        {u"at @“” noon"_s, {}},
        {u"meet @\"\" or @“  ”"_s, {}},
        {u"me@“home”"_s, {}},
        {u"me@\"home\""_s, {}},
        {u"@home"_s, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(QuickAddParser::quotedPlaceRanges(c.text, english()), c.expected);
    }
}

TEST(UnquotedPlacePatternTest, RunsToTheEndOfTheLine) {
    const Regex regex =
        Regex::compile(QuickAddParser::unquotedPlacePattern(english()), Regex::Option::CaseInsensitive).value();
    const QString line = u"yoga at @gym every monday"_s;
    const std::optional<RegexMatch> match = regex.firstMatch(line);
    ASSERT_TRUE(match);
    EXPECT_EQ(match->range(), (TextRange{4, 21}));
    EXPECT_EQ(match->captured(line, 1).toStdString(), "gym every monday");
    for (const QString& text : {u"me@home"_s, u"@“Blue Cafe”"_s, u"@ gym"_s})
        EXPECT_FALSE(regex.firstMatch(text)) << text.toStdString();
}

TEST(CadenceStartInPlaceTailTest, EndsTheNameAtALastCadence) {
    struct Case {
        QString text;
        qsizetype tailStart;
        std::optional<qsizetype> expected;
    };
    const Case cases[] = {
        {u"yoga @gym every monday"_s, 4, 9},
        {u"yoga @gym every monday at"_s, 4, 9},
        {u"yoga @gym every monday at noon"_s, 4, std::nullopt},
        {u"yoga @gym every monday please"_s, 4, std::nullopt},
        {u"every day yoga @gym every monday"_s, 14, 19},
        // Only the last phrase counts, and it must lie inside the tail.
        {u"yoga @gym every monday, every day"_s, 4, 23},
        {u"every monday yoga @gym"_s, 17, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const std::optional<TextRange> found =
            QuickAddParser::cadenceStartInPlaceTail(c.text, c.tailStart, c.text.size() - c.tailStart, english());
        EXPECT_EQ(found ? std::optional(found->location) : std::nullopt, c.expected);
    }
    // The last phrase reaches past the tail: no other phrase is tried.
    EXPECT_FALSE(QuickAddParser::cadenceStartInPlaceTail(u"yoga @gym every monday, every day"_s, 4, 19, english()));
}

TEST(CadenceStartInPlaceTailTest, BuildsAMissingPatternOnTheSpot) {
    // The bare table has no compiled every-phrase pattern.
    const std::optional<TextRange> found =
        QuickAddParser::cadenceStartInPlaceTail(u"yoga @gym every day"_s, 4, 15, ParserVocabulary::english());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->location, 9);
}

}  // namespace
