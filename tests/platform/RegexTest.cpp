#include "platform/Regex.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

Regex compiled(const QString& pattern, Regex::Options options = {}) {
    auto regex = Regex::compile(pattern, options);
    EXPECT_TRUE(regex.has_value()) << pattern.toStdString();
    return *regex;
}

std::vector<TextRange> matchRanges(const Regex& regex, const QString& text, TextRange within) {
    std::vector<TextRange> ranges;
    for (const RegexMatch& match : regex.matches(text, within)) ranges.push_back(match.range());
    return ranges;
}

}  // namespace

TEST(Regex, PatternsThatDoNotCompileYieldNothing) {
    for (const QString& pattern : {u"(unclosed"_s, u"a{2,1}"_s, u"[z-a]"_s, u"\\"_s, u"(?<name"_s})
        EXPECT_FALSE(Regex::compile(pattern).has_value()) << pattern.toStdString();
}

TEST(Regex, OffsetsAreUtf16Units) {
    const QString text = u"😀a e\u0301b 😀a"_s;
    EXPECT_EQ(matchRanges(compiled(u"a"_s), text, {0, text.size()}), (std::vector<TextRange>{{2, 1}, {10, 1}}));
    EXPECT_EQ(compiled(u"e\u0301b"_s).firstMatch(text)->range(), (TextRange{4, 3}));
    EXPECT_EQ(compiled(u"."_s).firstMatch(text)->range(), (TextRange{0, 2})) << "a surrogate pair is one code point";
}

TEST(Regex, CaseInsensitiveMatchingFoldsAsIcuDoes) {
    struct Case {
        QString pattern;
        QString text;
        bool matches;
    };
    const Case cases[] = {
        {u"istanbul"_s, u"ISTANBUL"_s, true},
        {u"istanbul"_s, u"ıstanbul"_s, false},  // dotless ı has no simple fold to i
        {u"i"_s, u"İ"_s, false},                // İ folds to i + U+0307, two code points
        {u"σοφός"_s, u"ΣΟΦΌΣ"_s, true},
        {u"σοφοσ"_s, u"σοφός"_s, false},    // the accent still counts
        {u"λόγος"_s, u"ΛΌΓΟΣ"_s, true},     // final ς and capital Σ fold alike
        {u"straße"_s, u"STRASSE"_s, true},  // full case folding: ß is ss
        {u"ﬁle"_s, u"FILE"_s, true},        // and the ligature is f + i
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.pattern + u" ~ "_s + c.text).toStdString());
        EXPECT_EQ(compiled(c.pattern, Regex::Option::CaseInsensitive).firstMatch(c.text).has_value(), c.matches);
    }
}

TEST(Regex, CaptureGroupsAndGroupsThatTookNoPart) {
    const QString text = u"every 2 weeks"_s;
    const auto match = compiled(u"every\\s+(?:(\\d+)\\s+|(other)\\s+)?(\\w+)"_s).firstMatch(text);
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->numberOfRanges(), 4);
    EXPECT_EQ(match->captured(text, 1), u"2"_s);
    EXPECT_EQ(match->range(2), TextRange::notFound());
    EXPECT_EQ(match->captured(text, 2), QString());
    EXPECT_EQ(match->captured(text, 3), u"weeks"_s);
    EXPECT_EQ(match->range(7), TextRange::notFound());
}

TEST(Regex, MatchingWithinARangeTreatsItsEndsAsTheTextsEnds) {
    const QString text = u"xtoday todayx today"_s;
    const Regex anchored = compiled(u"^today"_s);
    EXPECT_EQ(anchored.firstMatch(text, {1, 5})->range(), (TextRange{1, 5})) << "^ at the range start";
    const Regex word = compiled(u"\\btoday\\b"_s);
    EXPECT_EQ(matchRanges(word, text, {1, 5}), (std::vector<TextRange>{{1, 5}})) << "\\b does not see past the range";
    EXPECT_EQ(matchRanges(word, text, {7, 5}), (std::vector<TextRange>{{7, 5}}));
    EXPECT_EQ(matchRanges(word, text, {0, text.size()}), (std::vector<TextRange>{{14, 5}}));
    EXPECT_TRUE(matchRanges(word, text, {50, 10}).empty()) << "a range past the end finds nothing";
    EXPECT_EQ(matchRanges(compiled(u"x*"_s), u"ab"_s, {0, 2}).size(), 3u) << "empty matches advance";
}

TEST(Regex, TemplateReplacement) {
    const Regex digits = compiled(u"(\\d+)"_s);
    EXPECT_EQ(digits.replacingMatches(u"a1b22"_s, u"<$1>"_s), u"a<1>b<22>"_s);
    EXPECT_EQ(digits.replacingMatches(u"a1b22"_s, u"\\$"_s), u"a$b$"_s);
    EXPECT_EQ(digits.replacingMatches(u"a1b2c3"_s, {2, 2}, u"X"_s), u"a1bXc3"_s) << "only inside the range";
    EXPECT_EQ(digits.replacingMatches(u"none"_s, u"X"_s), u"none"_s);
    EXPECT_EQ(compiled(u"\\s+"_s).replacingMatches(u"a \t b"_s, Regex::escapedTemplate(u"$1\\"_s)), u"a$1\\b"_s);
}

TEST(Regex, EscapedPatternMatchesItselfLiterally) {
    EXPECT_EQ(Regex::escapedPattern(u"a.m."_s), u"a\\.m\\."_s);
    EXPECT_EQ(Regex::escapedPattern(u"kl. 5"_s), u"kl\\.\\ 5"_s);
    for (const QString& text : {u"a.m."_s, u"(?:x)|[y]{2}*+^$\\"_s, u"d’ #1 @home"_s, u"o'clock - 5"_s, u"日曜日"_s}) {
        SCOPED_TRACE(text.toStdString());
        const Regex regex = compiled(u"^"_s + Regex::escapedPattern(text) + u"$"_s);
        EXPECT_TRUE(regex.firstMatch(text).has_value());
        EXPECT_FALSE(regex.firstMatch(text + u"x"_s).has_value());
    }
    // Comments mode drops unescaped pattern white space, U+2028 among it.
    const QString spaced = u"a b\u2028c"_s;
    const Regex commented =
        compiled(u"^"_s + Regex::escapedPattern(spaced) + u"$"_s, Regex::Option::AllowCommentsAndWhitespace);
    EXPECT_TRUE(commented.firstMatch(spaced).has_value());
}

TEST(Regex, CachedPatternsMatchAsFreshlyCompiledOnes) {
    const QString text = u"Call MOM at 5"_s;
    for (int round = 0; round < 2; ++round) {  // the second round finds the patterns kept
        SCOPED_TRACE(round);
        const auto sensitive = Regex::cached(u"mom"_s);
        const auto insensitive = Regex::cached(u"mom"_s, Regex::Option::CaseInsensitive);
        ASSERT_TRUE(sensitive && insensitive);
        EXPECT_FALSE(sensitive->firstMatch(text)) << "the options are part of what is kept";
        EXPECT_EQ(insensitive->firstMatch(text)->range(), (TextRange{5, 3}));
        EXPECT_FALSE(Regex::cached(u"(unclosed"_s).has_value());
    }
}

TEST(Regex, CacheKeepsWorkingPastItsCapacity) {
    for (int n = 0; n < 5000; ++n) {
        const QString digits = QString::number(n);
        const auto regex = Regex::cached(u"^"_s + digits + u"$"_s);
        ASSERT_TRUE(regex.has_value());
        ASSERT_TRUE(regex->firstMatch(digits)) << n;
    }
    EXPECT_TRUE(Regex::cached(u"^0$"_s)->firstMatch(u"0"_s));
}

TEST(Regex, OnePatternSearchesOnSeveralThreadsAtOnce) {
    const Regex number = compiled(u"(\\d+)"_s);
    std::vector<std::thread> threads;
    std::atomic<int> wrong = 0;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int n = 0; n < 2000; ++n) {
                const QString digits = QString::number(t * 100000 + n);
                const QString text = u"call "_s + digits + u" now"_s;
                const auto match = number.firstMatch(text);
                if (!match || match->captured(text, 1) != digits || number.matches(text).size() != 1) ++wrong;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong, 0);
}
