#include "parsing/ParserVocabulary.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin::parsing;
using namespace Qt::StringLiterals;

namespace {

QStringList codesOf(const QStringList& identifiers) {
    return ParserVocabulary::forLocaleIdentifiers(identifiers).languageCodes;
}

ParserVocabulary vocabularyWith(WordSet connectors, QList<std::pair<QString, int>> hours, QString code) {
    ParserVocabulary v;
    v.connectors = std::move(connectors);
    v.clockHourWords = std::move(hours);
    v.halfHourDirection = HalfHourDirection::beforeTheHour;
    v.recurrenceGrammars = {RecurrenceGrammar{.everyWords = {u"every"}}};
    v.cadenceAdverbRegex.value = tavlin::platform::Regex::compile(u"x"_s);
    v.languageCodes = {code};
    return v;
}

}  // namespace

TEST(ParserVocabulary, EveryTableIsThereWithItsGrammars) {
    for (const QString& code : ParserVocabulary::supportedLanguageCodes()) {
        SCOPED_TRACE(code.toStdString());
        const auto table = ParserVocabulary::forLanguageCode(code);
        ASSERT_TRUE(table.has_value());
        EXPECT_EQ(table->languageCodes, QStringList{code});
        EXPECT_FALSE(table->recurrenceGrammars.isEmpty());
        EXPECT_FALSE(table->dateFunctionWords.isEmpty());
        EXPECT_FALSE(table->cadenceAdverbRegex.value.has_value());
        for (const RecurrenceGrammar& grammar : table->recurrenceGrammars) {
            EXPECT_TRUE(grammar.weekdayNames.isEmpty());
            EXPECT_FALSE(grammar.everyPhraseRegex.value.has_value());
        }
        const bool onlyEnglishCountsHalfAfter = code == u"en"_s;
        EXPECT_EQ(table->halfHourDirection == HalfHourDirection::afterTheHour, onlyEnglishCountsHalfAfter);
    }
    EXPECT_FALSE(ParserVocabulary::forLanguageCode(u"EN"_s).has_value()) << "codes compare exactly";
    EXPECT_FALSE(ParserVocabulary::forLanguageCode(u"ja"_s).has_value());
}

TEST(ParserVocabulary, EnglishTable) {
    const ParserVocabulary& en = ParserVocabulary::english();
    EXPECT_EQ(en.taskWrappers.raw(), (QStringList{u"remind me to"_s, u"remind me that"_s, u"remind me about"_s,
                                                  u"remind me of"_s, u"remind me"_s}));
    for (const QString& word : {u"i'm"_s, u"im"_s, u"i am"_s}) EXPECT_TRUE(en.connectors.contains(word));
    EXPECT_TRUE(en.locationLeadIns.contains(u"i'm"_s));
    EXPECT_TRUE(en.oneAndAHalfWords.isEmpty());
    EXPECT_TRUE(en.halfHourUnitWords.isEmpty());
    EXPECT_TRUE(en.dateFunctionWords.contains(u"o'clock"_s));
    EXPECT_EQ(en.clockHourWords.size(), 12);
    EXPECT_EQ(en.clockHourWords.first(), std::pair(u"one"_s, 1));
    EXPECT_EQ(en.toDirectionWords.raw(), (QStringList{u"to"_s, u"till"_s, u"before"_s}));
    ASSERT_EQ(en.recurrenceGrammars.size(), 1);
    EXPECT_EQ(en.recurrenceGrammars[0].alternateWords.raw(), QStringList{u"other"_s});
    EXPECT_EQ(en.recurrenceGrammars[0].defaultInterval, 1);
    EXPECT_EQ(en.yearlyWords.raw(), (QStringList{u"yearly"_s, u"annually"_s}));
}

TEST(ParserVocabulary, OtherTablesSpotChecks) {
    const ParserVocabulary& nl = ParserVocabulary::dutch();
    EXPECT_EQ(nl.clockHourWords.size(), 13);
    EXPECT_EQ(nl.clockHourWords[1], std::pair(u"één"_s, 1));
    ASSERT_EQ(nl.recurrenceGrammars.size(), 2);
    EXPECT_EQ(nl.recurrenceGrammars[1].everyWords.raw(), QStringList{u"om de"_s});
    EXPECT_EQ(nl.recurrenceGrammars[1].defaultInterval, 2);
    EXPECT_TRUE(nl.listGlue.isEmpty());
    for (const ParserVocabulary* nordic :
         {&ParserVocabulary::danish(), &ParserVocabulary::swedish(), &ParserVocabulary::norwegian()})
        EXPECT_TRUE(nordic->clockMarkers.raw().contains(u"kl."_s));
    EXPECT_EQ(ParserVocabulary::french().partitiveWords.raw(), (QStringList{u"de"_s, u"d'"_s, u"d\u2019"_s}));
    EXPECT_TRUE(ParserVocabulary::italian().pastMarkers.raw().contains(u"l'altro ieri"_s));
    EXPECT_EQ(ParserVocabulary::portuguese().recurrenceGrammars[1].everyWords.raw().last(), u"de 2 em 2"_s);
    EXPECT_TRUE(ParserVocabulary::romanian().dateFunctionWords.raw().contains(u"astă-seară"_s));
}

TEST(ParserVocabulary, LanguagesChosenForLocales) {
    struct Case {
        QStringList identifiers;
        QStringList codes;
    };
    const Case cases[] = {
        {{u"de-DE"_s, u"en-GB"_s}, {u"de"_s, u"en"_s}},
        {{}, {u"en"_s}},
        {{u"pt-BR"_s, u"pt-PT"_s}, {u"pt"_s, u"en"_s}},
        {{u"nb-NO"_s}, {u"nb"_s, u"en"_s}},
        {{u"no"_s}, {u"nb"_s, u"en"_s}},
        {{u"nn"_s}, {u"nb"_s, u"en"_s}},
        {{u"sr-Latn-RS"_s}, {u"hr"_s, u"en"_s}},
        {{u"bs"_s}, {u"hr"_s, u"en"_s}},
        {{u"iw"_s}, {u"he"_s, u"en"_s}},
        {{u"ja-JP"_s}, {u"en"_s}},
        {{u"en-US"_s, u"fr-FR"_s}, {u"en"_s, u"fr"_s}},
        {{u""_s, u"sv"_s}, {u"sv"_s, u"en"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifiers.join(u',').toStdString());
        EXPECT_EQ(codesOf(c.identifiers), c.codes);
    }
}

TEST(ParserVocabulary, BuiltVocabularyCarriesLocaleNamesAndPatterns) {
    const ParserVocabulary v = ParserVocabulary::forLocaleIdentifiers({u"de-DE"_s, u"en-GB"_s});
    ASSERT_EQ(v.recurrenceGrammars.size(), 2);
    const RecurrenceGrammar& german = v.recurrenceGrammars[0];
    EXPECT_TRUE(german.everyWords.contains(u"jeden"_s));
    EXPECT_TRUE(german.weekdayNames.contains(u"Montag"_s));
    EXPECT_FALSE(german.weekdayNames.contains(u"Mo"_s)) << "two-letter abbreviations are not names";
    EXPECT_EQ(german.weekdayIndex.value(u"montag"_s), 2);
    EXPECT_TRUE(german.everyPhraseRegex.value.has_value());
    EXPECT_TRUE(v.recurrenceGrammars[1].weekdayNames.contains(u"Wednesday"_s));
    EXPECT_TRUE(v.dateFunctionWords.contains(u"Dezember"_s));
    EXPECT_TRUE(v.dateFunctionWords.contains(u"tomorrow"_s));
    EXPECT_FALSE(v.halfHourDirection.has_value());
    ASSERT_TRUE(v.cadenceAdverbRegex.value.has_value());
    EXPECT_TRUE(v.cadenceAdverbRegex.value->firstMatch(u"Blumen gießen täglich"_s).has_value());
    EXPECT_TRUE(v.cadenceAdverbRegex.value->firstMatch(u"water plants daily "_s).has_value());
    EXPECT_FALSE(v.cadenceAdverbRegex.value->firstMatch(u"daily standup"_s).has_value());

    const ParserVocabulary japanese = ParserVocabulary::forLocaleIdentifiers({u"ja-JP"_s});
    EXPECT_TRUE(japanese.dateFunctionWords.contains(u"日曜日"_s)) << "names of a language without a table";
    EXPECT_FALSE(japanese.dateFunctionWords.contains(u"日"_s));
}

TEST(ParserVocabulary, MergeRules) {
    const ParserVocabulary a = vocabularyWith({u"on", u"at"}, {{u"x"_s, 1}}, u"aa"_s);
    const ParserVocabulary b = vocabularyWith({u"at", u"by"}, {{u"x"_s, 2}, {u"y"_s, 3}}, u"bb"_s);
    const ParserVocabulary m = a.merged(b);
    EXPECT_EQ(m.connectors.raw(), (QStringList{u"on"_s, u"at"_s, u"by"_s}));
    EXPECT_EQ(m.clockHourWords, (QList<std::pair<QString, int>>{{u"x"_s, 1}, {u"y"_s, 3}})) << "self wins";
    EXPECT_FALSE(m.halfHourDirection.has_value());
    EXPECT_EQ(m.recurrenceGrammars.size(), 2) << "grammars are not de-duplicated";
    EXPECT_FALSE(m.cadenceAdverbRegex.value.has_value());
    EXPECT_EQ(m.languageCodes, (QStringList{u"aa"_s, u"bb"_s}));
}

TEST(ParserVocabulary, EveryPhrasePattern) {
    const ParserVocabulary v = ParserVocabulary::forLocaleIdentifiers({u"nb-NO"_s, u"en-US"_s});
    const tavlin::platform::Regex& norwegian = *v.recurrenceGrammars[0].everyPhraseRegex.value;
    const tavlin::platform::Regex& english = *v.recurrenceGrammars[1].everyPhraseRegex.value;
    struct Case {
        const tavlin::platform::Regex* regex;
        QString text;
        bool matches;
        QString count, alternate, unit;
    };
    const Case cases[] = {
        {&english, u"water plants every 2 weeks"_s, true, u"2"_s, u""_s, u"weeks"_s},
        {&english, u"Every other Week, please"_s, true, u""_s, u"other"_s, u"Week"_s},
        {&english, u"standup every monday"_s, true, u""_s, u""_s, u"monday"_s},
        {&english, u"everyweek"_s, false, {}, {}, {}},
        {&english, u"every weekday"_s, false, {}, {}, {}},
        {&norwegian, u"hver 2 uker"_s, true, u"2"_s, u""_s, u"uker"_s},
        {&norwegian, u"hver annen uke"_s, false, {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const auto match = c.regex->firstMatch(c.text);
        ASSERT_EQ(match.has_value(), c.matches);
        if (!match) continue;
        EXPECT_EQ(match->captured(c.text, 1), c.count);
        EXPECT_EQ(match->captured(c.text, 2), c.alternate);
        EXPECT_EQ(match->captured(c.text, 3), c.unit);
    }
    EXPECT_FALSE(RecurrenceGrammar{.weekWords = {u"week"}}.makeEveryPhraseRegex().has_value());
    EXPECT_EQ(v.recurrenceGrammars[1].frequency(u"Weeks"_s), RecurrenceFrequency::weekly);
    EXPECT_EQ(v.recurrenceGrammars[1].frequency(u"fortnight"_s), std::nullopt);
}

TEST(ParserVocabulary, AnyLanguageChecksNeedOneLanguageForAllWords) {
    EXPECT_TRUE(ParserVocabulary::isQuarterPhrase(u"quarter"_s, u"past"_s, u"at"_s));
    EXPECT_TRUE(ParserVocabulary::isQuarterPhrase(u"kwart"_s, u"over"_s, std::nullopt));
    EXPECT_FALSE(ParserVocabulary::isQuarterPhrase(u"kwart"_s, u"past"_s, std::nullopt))
        << "Dutch quarter, English past";

    EXPECT_EQ(ParserVocabulary::clockHourValue(u"tre"_s, std::nullopt, std::nullopt, u"kl"_s, std::nullopt), 3);
    EXPECT_EQ(ParserVocabulary::clockHourValue(u"Fünf"_s, std::nullopt, std::nullopt, u"um"_s, u"halb"_s), 5);
    EXPECT_EQ(ParserVocabulary::clockHourValue(u"five"_s, std::nullopt, std::nullopt, u"um"_s, std::nullopt),
              std::nullopt);
    EXPECT_EQ(ParserVocabulary::clockHourValue(u"zwölf"_s, u"quarter"_s, std::nullopt, std::nullopt, std::nullopt),
              std::nullopt);

    EXPECT_EQ(ParserVocabulary::halfHourDirectionFor(u"at"_s, u"half"_s), HalfHourDirection::afterTheHour);
    EXPECT_EQ(ParserVocabulary::halfHourDirectionFor(u"KL."_s, u"halv"_s), HalfHourDirection::beforeTheHour);
    EXPECT_EQ(ParserVocabulary::halfHourDirectionFor(u"um"_s, u"half"_s), std::nullopt);

    EXPECT_TRUE(ParserVocabulary::isDurationPhrase(u"in"_s, u"an"_s, std::nullopt, u"hour"_s));
    EXPECT_TRUE(ParserVocabulary::isDurationPhrase(u"za"_s, std::nullopt, std::nullopt, u"godzinę"_s));
    EXPECT_FALSE(ParserVocabulary::isDurationPhrase(u"za"_s, u"jedna"_s, std::nullopt, u"godzinę"_s))
        << "Polish has no words for one";
    EXPECT_FALSE(ParserVocabulary::isDurationPhrase(u"in"_s, std::nullopt, std::nullopt, u"godzinę"_s));
}
