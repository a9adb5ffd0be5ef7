#include "parsing/TextHelpers.h"
#include "platform/Text.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;

TEST(TextHelpers, TextFunctions) {
    EXPECT_EQ(collapseWhitespace(u"  buy\t\tmilk \nnow "_s), u"buy milk now"_s);
    struct Case {
        QString name;
        QString key;
    };
    const Case keys[] = {
        {u"Einkäufe"_s, u"einkaufe"_s},
        {u"EINKAUFE"_s, u"einkaufe"_s},
        {u"İş"_s, u"is"_s},
        {u"iş"_s, u"is"_s},
        {u"Work-Stuff"_s, u"work-stuff"_s},
        {u"Groceries 2024!"_s, u"groceries2024"_s},
        {u" ,.!? "_s, u""_s},
        {u"a_b c"_s, u"a_bc"_s},
        {u"📚 Books"_s, u"books"_s},
        {u"To\r\nDo"_s, u"todo"_s},
    };
    for (const Case& c : keys) EXPECT_EQ(normalizedKey(c.name), c.key) << c.name.toStdString();
    EXPECT_FALSE(compileRegex(u"(x"_s).has_value());
}

// The hand-written scans stand in for patterns on the hot path: they must
// read every character as the patterns do.
TEST(TextHelpers, CollapsingReadsWhiteSpaceAsPatternsDo) {
    const auto whitespaceRun = platform::Regex::compile(u"\\s+"_s);
    ASSERT_TRUE(whitespaceRun.has_value());
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const QString character = QString::fromUcs4(&c, 1);
        const QString text = character + u"a"_s + character + character + u" b"_s + character;
        const QString expected = platform::trimmedWhitespaceAndNewlines(whitespaceRun->replacingMatches(text, u" "_s));
        if (collapseWhitespace(text) != expected) ADD_FAILURE() << "U+" << std::hex << unsigned(c);
    }
}

TEST(TextHelpers, DigitsAreFoundAsPatternsFindThem) {
    const auto digit = platform::Regex::compile(u"\\d"_s);
    ASSERT_TRUE(digit.has_value());
    for (char32_t c = 0; c <= 0x1FFFF; ++c) {
        const QString text = u"x"_s + QString::fromUcs4(&c, 1);
        if (containsDecimalDigit(text) != digit->firstMatch(text).has_value())
            ADD_FAILURE() << "U+" << std::hex << unsigned(c);
    }
}

TEST(TextHelpers, AGuardedPatternFindsWhatTheWholeFinds) {
    const auto guarded = compileGuarded(u"(?:^|\\s)((?:at\\s+)?"_s, u"(\\d{1,2})(st|nd|rd|th)"_s, u")\\b"_s,
                                        platform::Regex::Option::CaseInsensitive);
    const auto whole =
        compileRegex(u"(?:^|\\s)((?:at\\s+)?(\\d{1,2})(st|nd|rd|th))\\b"_s, platform::Regex::Option::CaseInsensitive);
    ASSERT_TRUE(whole.has_value());
    for (const QString& text : {u"meet at 5TH and on the 21st"_s, u"no ordinal at all"_s, u"5thx 2nd"_s, u""_s}) {
        SCOPED_TRACE(text.toStdString());
        const auto ranges = [&](const std::vector<platform::RegexMatch>& matches) {
            std::vector<platform::TextRange> found;
            for (const platform::RegexMatch& match : matches) found.push_back(match.range(1));
            return found;
        };
        const platform::TextRange all{0, text.size()};
        EXPECT_EQ(ranges(guarded.matches(text, all)), ranges(whole->matches(text, all)));
        EXPECT_EQ(guarded.firstMatch(text, all).has_value(), whole->firstMatch(text, all).has_value());
    }
}
