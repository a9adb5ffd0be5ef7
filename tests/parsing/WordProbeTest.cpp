#include "parsing/WordProbe.h"

#include "parsing/ParserVocabulary.h"
#include "platform/Regex.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <random>

using namespace tavlin::parsing;
using tavlin::platform::Regex;
using namespace Qt::StringLiterals;

namespace {

QString q(const char16_t* text) { return QString::fromUtf16(text); }

}  // namespace

TEST(WordProbe, AnswersNoOnlyWhereNoWordCanStand) {
    const WordProbe probe(WordSet{u"at", u"on the"});
    struct Case {
        const char16_t* text;
        bool contains, ends, repeats, endsAfterBlank;
    };
    const Case cases[] = {
        {u"buy milk", false, false, false, false},
        {u"call mom AT", true, true, false, true},
        {u"call mom at \t\r\n", true, true, false, true},  // white space after the word
        {u"put it On The", true, true, false, true},
        {u"meet at at noon", true, false, true, false},
        {u"meet AT\tat", true, true, true, true},
        {u"chat", true, true, false, false},         // inside a word: the pattern decides
        {u"at", true, true, false, false},           // no blank before it
        {u"at-at", true, true, false, false},        // no blank between them
        {u"caf\u00e9 AT", true, true, false, true},  // not ASCII: folded in full
        {u"\u00e0 AT\u00a0at", true, true, true, true},
        {u"caf\u00e9 \u00e0 l'heure", false, false, false, false},
        {u"\u00c5T\u00a0noon", false, false, false, false},  // "Å" folds to no "a"
        {u"", false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(q(c.text).toStdString());
        EXPECT_EQ(probe.mayContain(q(c.text)), c.contains);
        EXPECT_EQ(probe.mayEnd(q(c.text)), c.ends);
        EXPECT_EQ(probe.mayRepeatAcrossBlank(q(c.text)), c.repeats);
        EXPECT_EQ(probe.mayEndAfterBlank(q(c.text)), c.endsAfterBlank);
    }
}

TEST(WordProbe, FoldsWordsLikeThePatternsDo) {
    // "ﬁ" folds to "fi", "ſt" to "st", "ß" to "ss" and the Kelvin sign to
    // "k": each may stand in ASCII text.
    const WordProbe probe(WordSet{u"\uFB01x", u"\u017Ft", u"\u00DF", u"\u212A"});
    EXPECT_TRUE(probe.mayEnd(u"a FIX"_s));
    EXPECT_TRUE(probe.mayContain(u"first"_s));
    EXPECT_TRUE(probe.mayEnd(u"BOSS"_s));
    EXPECT_TRUE(probe.mayEnd(u"OK"_s));
    EXPECT_FALSE(probe.mayContain(u"plain"_s));
}

// For every language's word sets that the parser probes, and many texts made
// from their words, ASCII letters and blanks: where the probe says no, the
// pattern it stands in front of finds nothing.
TEST(WordProbe, NeverSaysNoWhereThePatternMatches) {
    std::mt19937 random(7);
    const QStringList blanks = {u" "_s,      u"  "_s, u"\t"_s,     u"\n"_s,    u"\u000B"_s,
                                u"\u000C"_s, u"\r"_s, u"\u001C"_s, u"\u001F"_s};
    // Beside ASCII, characters that fold to more than themselves or to ASCII,
    // and a blank outside ASCII.
    const QStringList fillers = {u"x"_s,      u"milk"_s,   u"-"_s,      u"."_s,      u"_"_s,      u"9"_s,
                                 u"'"_s,      u"!"_s,      u"\u00e9"_s, u"\u00df"_s, u"\u0130"_s, u"\u017f"_s,
                                 u"\u212a"_s, u"\ufb01"_s, u"\u00a0"_s, u"\u03c2"_s};
    const auto pick = [&](const QStringList& list) {
        return list[static_cast<qsizetype>(random() % static_cast<unsigned>(list.size()))];
    };
    const auto withRandomCase = [&](QString word) {
        for (QChar& c : word)
            if (random() % 2) c = c.toUpper();
        return word;
    };
    for (const QString& code : ParserVocabulary::supportedLanguageCodes()) {
        SCOPED_TRACE(code.toStdString());
        const ParserVocabulary vocabulary = ParserVocabulary::forLocaleIdentifiers({code});
        QList<WordSet> sets = {vocabulary.connectors, vocabulary.cadenceAdverbs()};
        for (const RecurrenceGrammar& grammar : vocabulary.recurrenceGrammars) sets.append(grammar.everyWords);
        for (const WordSet& words : sets) {
            if (words.isEmpty()) continue;
            const WordProbe probe(words);
            const QString alternation = words.alternation();
            const auto compile = [&](const QString& pattern) {
                return Regex::compile(pattern, Regex::Option::CaseInsensitive).value();
            };
            const Regex contained = compile(u"(?:"_s + alternation + u")"_s);
            const Regex ending = compile(u"(?:"_s + alternation + u")(?=\\s*$)"_s);
            const Regex endingAfterBlank = compile(u"\\s+(?:"_s + alternation + u")$"_s);
            const Regex repeated = compile(u"\\b("_s + alternation + u")\\s+\\1\\b"_s);
            const Regex beforeMark = compile(u"(?:"_s + alternation + u")\\s*(?=[,;:.!?])"_s);
            for (int round = 0; round < 400; ++round) {
                QString text;
                const int pieces = 1 + static_cast<int>(random() % 6);
                for (int piece = 0; piece < pieces; ++piece) {
                    text += random() % 2 ? withRandomCase(pick(words.raw())) : pick(fillers);
                    if (random() % 4) text += pick(blanks);
                }
                if (random() % 3 == 0) text += text;  // a word on both sides of a blank
                SCOPED_TRACE(text.toStdString());
                if (!probe.mayContain(text)) {
                    EXPECT_FALSE(contained.firstMatch(text));
                }
                if (!probe.mayEnd(text)) {
                    EXPECT_FALSE(ending.firstMatch(text));
                }
                if (!probe.mayEndAfterBlank(text)) {
                    EXPECT_FALSE(endingAfterBlank.firstMatch(text));
                }
                if (!probe.mayRepeatAcrossBlank(text)) {
                    EXPECT_FALSE(repeated.firstMatch(text));
                }
                bool mayStandBeforeMark = false;
                for (qsizetype at = 0; at < text.size(); ++at)
                    if (u",;:.!?"_s.contains(text.at(at)) && probe.mayEndAt(text, at)) mayStandBeforeMark = true;
                if (!mayStandBeforeMark) {
                    EXPECT_FALSE(beforeMark.firstMatch(text));
                }
            }
        }
    }
}
