#include "parsing/WordSet.h"
#include "platform/Regex.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin::parsing;

namespace {

QString q(const char16_t* text) { return QString::fromUtf16(text); }

}  // namespace

TEST(WordSet, Folding) {
    struct Case {
        const char16_t* text;
        const char16_t* folded;
    };
    const Case cases[] = {
        {u"İstanbul", u"istanbul"},
        {u"ISTANBUL", u"istanbul"},
        {u"ıstanbul", u"istanbul"},
        {u"Café", u"cafe"},
        {u"Cafe\u0301", u"cafe"},                                                      // decomposed accent
        {u"\u05E9\u05C1\u05B8\u05DC\u05D5\u05B9\u05DD", u"\u05E9\u05DC\u05D5\u05DD"},  // pointed shalom
        {u"\u05D0\u05BE\u05D1\u05C0\u05D2\u05C3\u05D3\u05C6",
         u"\u05D0\u05BE\u05D1\u05C0\u05D2\u05C3\u05D3\u05C6"},  // punctuation kept
        {u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(q(c.text).toStdString());
        EXPECT_EQ(WordSet::fold(q(c.text)), q(c.folded));
    }
}

TEST(WordSet, HebrewPointsAreFoundOnlyWhenThere) {
    EXPECT_TRUE(containsHebrewPoints(q(u"\u05E9\u05B8")));
    EXPECT_FALSE(containsHebrewPoints(q(u"\u05D0\u05BE\u05C0\u05C3\u05C6")));
    const QString plain = q(u"plain text");
    EXPECT_TRUE(strippingHebrewPoints(plain).isSharedWith(plain)) << "no new string without points";
}

TEST(WordSet, SplitsOnAnyUnicodeWhiteSpace) {
    EXPECT_EQ(splitOnWhitespace(q(u"  remind\t\tme \u00A0to\u2028call\r\n")),
              (QStringList{q(u"remind"), q(u"me"), q(u"to"), q(u"call")}));
    EXPECT_TRUE(splitOnWhitespace(q(u" \n ")).isEmpty());
    // A combining mark after a blank belongs to the blank's character.
    EXPECT_EQ(splitOnWhitespace(q(u"a \u0301b")), (QStringList{q(u"a"), q(u"b")}));
}

TEST(WordSet, KeepsRawFoldedAndPhrases) {
    const WordSet set{u"remind me to", u"remind  me", u"Later"};
    EXPECT_EQ(set.raw(), (QStringList{q(u"remind me to"), q(u"remind  me"), q(u"Later")}));
    EXPECT_EQ(set.folded(), (QSet<QString>{q(u"remind me to"), q(u"remind  me"), q(u"later")}));
    EXPECT_EQ(set.phrases(), (QList<QStringList>{{q(u"remind"), q(u"me"), q(u"to")}, {q(u"remind"), q(u"me")}}));
    EXPECT_TRUE(set.contains(q(u"LATER")));
    EXPECT_TRUE(WordSet{}.isEmpty());
    EXPECT_FALSE(WordSet{}.contains(q(u"")));
}

TEST(WordSet, UnionKeepsFirstSpellingsInOrder) {
    const WordSet abc = WordSet::unionOf({q(u"a"), q(u"b")}, {q(u"b"), q(u"c")});
    EXPECT_EQ(abc.raw(), (QStringList{q(u"a"), q(u"b"), q(u"c")}));
    const WordSet home = WordSet::unionOf({q(u"Home")}, {q(u"home")});
    EXPECT_EQ(home.raw(), (QStringList{q(u"Home"), q(u"home")})) << "duplicates go by exact spelling";
    EXPECT_EQ(home.folded().size(), 1);
    const WordSet cafe = WordSet::unionOf({q(u"café")}, {q(u"cafe\u0301")});
    EXPECT_EQ(cafe.raw().size(), 1) << "canonically equivalent spellings are one word";
}

TEST(WordSet, AlternationPattern) {
    struct Case {
        QStringList words;
        const char16_t* pattern;
    };
    const Case cases[] = {
        {{q(u"to"), q(u"till"), q(u"before")}, u"before|till|to"},
        {{q(u"ab"), q(u"aa"), q(u"c")}, u"aa|ab|c"},
        {{q(u"a.m.")}, u"a\\.m\\."},
        {{q(u"week"), q(u"weeks"), q(u"week")}, u"weeks|week|week"},
        // Code-point order, not UTF-16 order: U+FF01 sorts before U+1F600.
        {{q(u"\U0001F600"), q(u"\uFF01")}, u"\uFF01|\U0001F600"},
        // Length is counted in characters: "é" written decomposed is one.
        {{q(u"e\u0301x"), q(u"abcd")}, u"abcd|e\u0301x"},
        {{}, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words.join(u',').toStdString());
        EXPECT_EQ(WordSet::alternationPattern(c.words), q(c.pattern));
        const WordSet set(c.words);
        EXPECT_EQ(set.alternation(), q(c.pattern));
        EXPECT_EQ(WordSet(set).alternation(), q(c.pattern)) << "a copy shares the pattern";
    }
    EXPECT_EQ(WordSet::setAlternationPattern({q(u"to"), q(u"till")}), q(u"till|to"));
    EXPECT_EQ(WordSet({q(u"To"), q(u"till")}).foldedAlternation(), q(u"till|to"));
    EXPECT_EQ(WordSet().alternation(), QString());
}

TEST(WordSet, AlternationOrNeverMatchesNowhereWithoutWords) {
    EXPECT_EQ(WordSet({q(u"to"), q(u"till")}).alternationOrNever(), q(u"till|to"));
    const auto never = tavlin::platform::Regex::compile(WordSet().alternationOrNever());
    ASSERT_TRUE(never.has_value());
    for (const QString& text : {QString(), q(u"to"), q(u" ")}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_FALSE(never->firstMatch(text).has_value());
    }
}

TEST(WordSet, MatchesTokensAndPhrases) {
    const WordSet wrappers{u"remind me to", u"later"};
    EXPECT_TRUE(wrappers.matchesTokens({q(u"please"), q(u"remind"), q(u"me"), q(u"to"), q(u"call")}));
    EXPECT_FALSE(wrappers.matchesTokens({q(u"remind")}));
    EXPECT_TRUE(wrappers.matchesTokens({q(u"much"), q(u"later")}));
    EXPECT_FALSE(wrappers.matchesTokens({}));
    EXPECT_TRUE(WordSet::matchesTokens({}, {}, {QStringList{}})) << "an empty phrase matches at once";
}
