#include "platform/Text.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

TEST(Text, TrimsWhitespaceAndNewlinesByCodePoint) {
    struct Case {
        QString text;
        QString trimmed;
    };
    const Case cases[] = {
        {u"\u00A0 buy milk\u2028\n"_s, u"buy milk"_s},
        {u"\u0085\tx y\u2029"_s, u"x y"_s},
        {u"\u200Bkeep\u200B"_s, u"\u200Bkeep\u200B"_s},  // zero-width space is no white space here
        {u" \n\t"_s, u""_s},
        {u""_s, u""_s},
    };
    for (const Case& c : cases) EXPECT_EQ(trimmedWhitespaceAndNewlines(c.text), c.trimmed);
    const CharacterSet emoji = CharacterSet::fromCharacters(u"😀."_s);
    EXPECT_EQ(trimmed(u"😀.a😀b.😀"_s, emoji), u"a😀b"_s) << "a surrogate pair is trimmed whole";
}

TEST(Text, CaseMappingIgnoresLanguageRules) {
    EXPECT_EQ(uppercasedPosix(u"straße"_s), u"STRASSE"_s);
    EXPECT_EQ(lowercasedPosix(u"İSTANBUL"_s), u"i\u0307stanbul"_s);
    EXPECT_EQ(uppercasedPosix(u"ıi"_s), u"II"_s);
    EXPECT_EQ(lowercasedPosix(u"ΟΔΟΣ"_s), u"οδος"_s.replace(3, 1, u"ς"_s)) << "final sigma by context";
}

TEST(Text, Folding) {
    const FoldOptions both = FoldOption::CaseInsensitive | FoldOption::DiacriticInsensitive;
    struct Case {
        QString text;
        FoldOptions options;
        QString folded;
    };
    const Case cases[] = {
        {u"Café"_s, both, u"cafe"_s},
        {u"Cafe\u0301"_s, both, u"cafe"_s},
        {u"Café"_s, FoldOption::CaseInsensitive, u"café"_s},
        {u"Café"_s, FoldOption::DiacriticInsensitive, u"Cafe"_s},
        {u"Straße"_s, both, u"strasse"_s},
        {u"İ"_s, both, u"i"_s},  // the combining dot folding makes goes too
        {u"İ"_s, FoldOption::CaseInsensitive, u"i\u0307"_s},
        {u"ǄŁ"_s, both, u"ǆł"_s},  // neither decomposes canonically
        {u"ΆΣΟΣ"_s, both, u"ασοσ"_s},
        {u"Ärger über Öl"_s, both, u"arger uber ol"_s},
        {u""_s, both, u""_s},
        // ASCII: only A to Z change, not their neighbours "@" and "[".
        {u"Buy MILK @Zoo [Q]"_s, both, u"buy milk @zoo [q]"_s},
        {u"@AZ[`az{"_s, FoldOption::CaseInsensitive, u"@az[`az{"_s},
        {u"no capitals"_s, both, u"no capitals"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(folded(c.text, c.options), c.folded);
        if (isAscii(c.text) && c.options.testFlag(FoldOption::CaseInsensitive)) {
            EXPECT_EQ(lowercasedPosix(c.text), c.folded);
            EXPECT_EQ(foldedWord(c.text), c.folded);
        }
    }
}

TEST(Text, InsensitiveSearchReturnsRangesOfTheOriginal) {
    const SearchOptions both = SearchOption::CaseInsensitive | SearchOption::DiacriticInsensitive;
    struct Case {
        QString text;
        QString target;
        SearchOptions options;
        TextRange expected;
    };
    const Case cases[] = {
        {u"le CAFÉ noir"_s, u"cafe"_s, both, {3, 4}},
        {u"le CAFE\u0301 noir"_s, u"café"_s, both, {3, 5}},  // the decomposed É is one character
        {u"le CAFÉ noir"_s, u"cafe"_s, SearchOption::CaseInsensitive, TextRange::notFound()},
        {u"le CAFÉ noir"_s, u"café"_s, SearchOption::CaseInsensitive, {3, 5}},  // composed meets decomposed
        {u"Straße"_s, u"STRASSE"_s, SearchOption::CaseInsensitive, {0, 6}},
        {u"Strasse"_s, u"ß"_s, SearchOption::CaseInsensitive, {4, 2}},  // ß folds to ss
        {u"😀 Ölbild"_s, u"olbild"_s, both, {3, 6}},
        {u"cafe\u0301"_s, u"cafe"_s, SearchOption::CaseInsensitive, TextRange::notFound()},  // stops inside é
        {u"a b a"_s, u"A"_s, SearchOption::CaseInsensitive | SearchOption::Backwards, {4, 1}},
        {u"xab"_s, u"ab"_s, SearchOption::CaseInsensitive | SearchOption::Anchored, TextRange::notFound()},
        {u"abx"_s, u"AB"_s, SearchOption::CaseInsensitive | SearchOption::Anchored, {0, 2}},
        {u"abc"_s, u""_s, both, TextRange::notFound()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.text + u" / "_s + c.target).toStdString());
        EXPECT_EQ(rangeOf(c.text, c.target, c.options), c.expected);
    }
    EXPECT_EQ(rangeOf(u"cafe CAFÉ"_s, u"café"_s, both, {1, 8}), (TextRange{5, 4})) << "within a range";
}

TEST(Text, LiteralAndPatternSearch) {
    EXPECT_EQ(rangeOf(u"a.b.c"_s, u"."_s), (TextRange{1, 1}));
    EXPECT_EQ(rangeOf(u"a.b.c"_s, u"."_s, SearchOption::Backwards), (TextRange{3, 1}));
    EXPECT_EQ(rangeOf(u"x 12 y 345"_s, u"\\d+"_s, SearchOption::RegularExpression), (TextRange{2, 2}));
    EXPECT_EQ(rangeOf(u"x 12 y 345"_s, u"\\d+"_s, SearchOption::RegularExpression | SearchOption::Backwards),
              (TextRange{7, 3}));
    EXPECT_EQ(rangeOf(u"TODAY"_s, u"today"_s, SearchOption::RegularExpression | SearchOption::CaseInsensitive),
              (TextRange{0, 5}));
    EXPECT_EQ(rangeOf(u"x 12"_s, u"\\d+"_s, SearchOption::RegularExpression | SearchOption::Anchored),
              TextRange::notFound());
    EXPECT_EQ(rangeOf(u"abc"_s, u"(b"_s, SearchOption::RegularExpression), TextRange::notFound());
    EXPECT_EQ(replacingOccurrences(u"buy  milk \t now"_s, u"\\s+"_s, u" "_s, SearchOption::RegularExpression),
              u"buy milk now"_s);
    EXPECT_EQ(replacingOccurrences(u"a’b’"_s, u"’"_s, u"'"_s), u"a'b'"_s);
}

TEST(Text, LocalizedStandardComparisons) {
    EXPECT_LT(localizedStandardCompare(u"Item 2"_s, u"Item 10"_s), 0);
    EXPECT_GT(localizedStandardCompare(u"item 10"_s, u"Item 9"_s), 0);
    EXPECT_NE(localizedStandardCompare(u"a"_s, u"A"_s), 0) << "different texts never compare equal";
    EXPECT_EQ(localizedStandardCompare(u"same"_s, u"same"_s), 0);
    EXPECT_TRUE(localizedStandardContains(u"Call the Café"_s, u"cafe"_s));
    EXPECT_FALSE(localizedStandardContains(u"Call"_s, u"cafe"_s));
}

TEST(Text, APreparedSearchFindsWhatTheStandardContainmentFinds) {
    struct Case {
        QString text;
        QString target;
        bool found;
    };
    const Case cases[] = {
        {u"Buy Milk"_s, u"milk"_s, true},
        {u"Call the Café"_s, u"CAFE"_s, true},
        {u"Call the Cafe\u0301"_s, u"café"_s, true},  // decomposed
        {u"Straße"_s, u"STRASSE"_s, true},            // full case folding
        {u"Ärzte"_s, u"arz"_s, true},
        {u"e\u0301"_s, u"e"_s, true},   // the mark is folded away
        {u"x\r\ny"_s, u"\n"_s, false},  // half of one character
        {u"x\r\ny"_s, u"\r\ny"_s, true},
        {u"x\ry"_s, u"\ry"_s, true},                                     // a lone "\r" is a character of its own
        {u"\U0001F469\u200D\U0001F4BB code"_s, u"\U0001F469"_s, false},  // part of a cluster
        {u"milk"_s, u""_s, false},
        {u""_s, u"milk"_s, false},
        {u"ab ab abc"_s, u"abc"_s, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " / " + c.target.toStdString());
        EXPECT_EQ(localizedStandardContains(c.text, c.target), c.found);
        EXPECT_EQ(StandardSearchText(c.text).contains(StandardSearchTarget(c.target)), c.found);
    }
}

TEST(Text, CharactersAreGraphemeClusters) {
    struct Case {
        QString text;
        qsizetype count;
    };
    const Case cases[] = {
        {u"abc"_s, 3},
        {u"e\u0301"_s, 1},
        {u"👍🏽"_s, 1},            // emoji with a skin tone modifier
        {u"🇳🇱🇩🇪"_s, 2},                // two flags
        {u"👩‍👩‍👧"_s, 1},  // a ZWJ family
        {u"a\r\nb"_s, 3},
        {u""_s, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(graphemeCount(c.text), c.count) << c.text.toStdString();
    EXPECT_EQ(graphemeRanges(u"a👍🏽e\u0301"_s), (std::vector<TextRange>{{0, 1}, {1, 4}, {5, 2}}));
}

// The character at a position is the one the rest of the line starts with,
// read without breaking up the whole rest.
TEST(Text, CharacterAtAPositionIsTheFirstOfTheRest) {
    const QString texts[] = {u"a👍🏽e\u0301 🇳🇱🇩🇪 👩‍👩‍👧\r\nx"_s, u"\xD83D lone"_s,
                             u"\u05E9\u05B8\u05DC"_s};
    for (const QString& text : texts) {
        for (qsizetype index = 0; index <= text.size(); ++index) {
            const std::vector<TextRange> rest = graphemeRanges(text.mid(index));
            const QString expected = rest.empty() ? QString() : text.mid(index, rest.front().length);
            EXPECT_EQ(characterAt(text, index), expected) << text.toStdString() << " at " << index;
        }
    }
}

TEST(Text, CharacterProperties) {
    EXPECT_TRUE(isWhitespaceCharacter(u"\r\n"_s));
    EXPECT_TRUE(isWhitespaceCharacter(u"\u00A0"_s));
    EXPECT_TRUE(isPunctuationCharacter(u"’"_s));
    EXPECT_FALSE(isPunctuationCharacter(u"+"_s)) << "a symbol, not punctuation";
    EXPECT_TRUE(isLetterCharacter(u"é"_s));
    EXPECT_TRUE(isLetterCharacter(u"日"_s));
    EXPECT_TRUE(isNumberCharacter(u"½"_s));
    EXPECT_TRUE(isNumberCharacter(u"٣"_s));
    EXPECT_FALSE(isLetterCharacter(u"😀"_s));
    EXPECT_FALSE(isNumberCharacter(u""_s));
}
