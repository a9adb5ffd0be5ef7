#include "parsing/TimeExpressions.h"

#include "parsing/DateServices.h"
#include "parsing/QuickAddParser.h"
#include "platform/datedetector/Languages.h"
#include "platform/datedetector/Lexicon.h"
#include "support/DateDetectorVectors.h"

#include <gtest/gtest.h>

#include <map>

using namespace tavlin::parsing;
using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

const ParserVocabulary& vocabularyOf(const QStringList& languages) {
    static std::map<QString, ParserVocabulary> built;
    const QString key = languages.join(u',');
    auto found = built.find(key);
    if (found == built.end()) found = built.emplace(key, ParserVocabulary::forLocaleIdentifiers(languages)).first;
    return found->second;
}

const ParserVocabulary& english() { return vocabularyOf({u"en"_s}); }

BoundDetector realDetector(const ParserVocabulary& vocabulary, Date reference = detector_vectors::reference('A')) {
    return QuickAddParser::bindDateDetector(QuickAddParser::dateDetector(), reference, detector_vectors::amsterdam(),
                                            vocabulary);
}

// Answers every question with one match, and notes the texts it was asked.
class RecordingDetector : public DateDetector {
public:
    std::vector<DetectedDate> matches(const QString& text, TextRange, const DetectionContext&) const override {
        asked.append(text);
        return {DetectedDate{.range = {0, text.size()}}};
    }
    mutable QStringList asked;
};

TEST(ContainsTimeExpressionTest, FindsTheFormsOfATime) {
    struct Case {
        QString text;
        bool expected;
    };
    const Case cases[] = {
        {u"Agenda: review"_s, true},  // any colon counts
        {u"5pm"_s, true},
        {u"5 p.m."_s, true},
        {u"5 P.M."_s, true},
        {u"17u"_s, true},
        {u"9h30"_s, true},
        {u"14.45"_s, true},
        {u"noon"_s, true},
        {u"NOON"_s, true},
        {u"at 5"_s, true},
        {u"in 3"_s, true},  // "in" is a location marker
        {u"at 12.05"_s, true},
        {u"3.12"_s, false},
        {u"12.05"_s, false},
        {u"in 3 days"_s, false},
        {u"at 2 weeks"_s, false},
        {u"9h5"_s, false},
        {u"5 amazing"_s, false},
        {u"afternoonish"_s, false},
        {u"call mum"_s, false},
        {u""_s, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(QuickAddParser::containsTimeExpression(c.text, english()), c.expected);
    }
}

// The text is folded, and so are the location markers looked for in it:
// Greek "στις" ends in a final sigma, Romanian "în" has an accent.
TEST(ContainsTimeExpressionTest, FindsALocationMarkerWithAnAccentOrAFinalSigma) {
    EXPECT_TRUE(QuickAddParser::containsTimeExpression(u"αύριο στις 5"_s, vocabularyOf({u"el"_s})));
    EXPECT_TRUE(QuickAddParser::containsTimeExpression(u"în 5 minute"_s, vocabularyOf({u"ro"_s})));
    EXPECT_FALSE(QuickAddParser::containsTimeExpression(u"în 5 zile"_s, vocabularyOf({u"ro"_s})));
}

TEST(ContainsTimeExpressionTest, ReadsTimeWordsAndMarkersFolded) {
    const ParserVocabulary& turkish = vocabularyOf({u"tr"_s});
    for (const QString& text : {u"geceyarısı"_s, u"GECEYARISI"_s, u"GECEYARİSİ"_s, u"SAAT 15"_s})
        EXPECT_TRUE(QuickAddParser::containsTimeExpression(text, turkish)) << text.toStdString();
    const ParserVocabulary& french = vocabularyOf({u"fr"_s});
    EXPECT_TRUE(QuickAddParser::containsTimeExpression(u"À 5"_s, french));
    EXPECT_FALSE(QuickAddParser::containsTimeExpression(u"dans 3 jours"_s, french));
}

TEST(HasDateBesideClockTimeTest, BlanksTheExplicitTimesAndAsksAboutTheRest) {
    RecordingDetector detector;
    const BoundDetector bound{&detector, {.reference = Date(), .calendar = detector_vectors::amsterdam()}};
    EXPECT_TRUE(QuickAddParser::hasDateBesideClockTime(u"Meet 9:30:15 pm, 5 P.M. and at 9.05 or 17u15 or 14.45  ok"_s,
                                                       bound, english()));
    EXPECT_EQ(detector.asked, QStringList{u"Meet , and or or ok"_s});

    detector.asked.clear();
    for (const QString& text : {u"5pm"_s, u" at 9.05 "_s, u""_s})
        EXPECT_FALSE(QuickAddParser::hasDateBesideClockTime(text, bound, english())) << text.toStdString();
    EXPECT_TRUE(detector.asked.isEmpty());  // nothing was left to ask about
}

TEST(HasDateBesideClockTimeTest, AsksTheDetector) {
    const BoundDetector detector = realDetector(english());
    EXPECT_TRUE(QuickAddParser::hasDateBesideClockTime(u"tomorrow 5pm"_s, detector, english()));
    EXPECT_TRUE(QuickAddParser::hasDateBesideClockTime(u"at noon"_s, detector, english()));
    EXPECT_FALSE(QuickAddParser::hasDateBesideClockTime(u"5pm"_s, detector, english()));
    EXPECT_FALSE(QuickAddParser::hasDateBesideClockTime(u"at 9.05"_s, detector, english()));
    const BoundDetector absent = QuickAddParser::bindDateDetector(nullptr, detector_vectors::reference('A'),
                                                                  detector_vectors::amsterdam(), english());
    EXPECT_FALSE(QuickAddParser::hasDateBesideClockTime(u"tomorrow 5pm"_s, absent, english()));
}

TEST(RemoveStandalonePhraseTest, RemovesTheFirstWholeOccurrence) {
    struct Case {
        QString phrase;
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {u"tomorrow"_s, u"Call mom Tomorrow at noon"_s, u"Call mom at noon"_s},
        {u"tomorrow"_s, u"tomorrow call  mom tomorrow"_s, u"call mom tomorrow"_s},
        {u"25 Aug 2026 10:00"_s, u"Dentist 25 Aug 2026 10:00 tomorrow"_s, u"Dentist tomorrow"_s},
        {u"5.30"_s, u"meet 5x30  ok"_s, u"meet 5x30  ok"_s},  // the phrase is literal text
        {u"tomorrow"_s, u"visit  tomorrowland "_s, u"visit  tomorrowland "_s},
        {u"friday"_s, u"friday's  list"_s, u"friday's  list"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(QuickAddParser::removeStandalonePhrase(c.phrase, c.text).toStdString(), c.expected.toStdString());
    }
}

// Every time the detector reads is one the parser sees in the matched text,
// and no date without a time looks like one to it; but for the phrases where
// the two differ by design: days and months in digits that the dotted-time
// test takes for a time (the date has no time all the same), and times whose
// words the language's time words lack (a part of the day gives its day
// alone, a span or clock time no date).
TEST(DetectorAgreementTest, TheParserSeesEveryTimeTheDetectorReads) {
    const QStringList settledByTheParser = {
        u"03.20-ig"_s,         u"04.15-én"_s,     u"in an hour and a half"_s, u"tra un'ora e mezza"_s,
        u"sunnuntai-iltana"_s, u"söndagskväll"_s, u"Pazar akşamı"_s,          u"מחר ב-8"_s,
    };
    for (const detector_vectors::Vector& vector : detector_vectors::vectors()) {
        SCOPED_TRACE((u"row "_s + vector.row + u": "_s + vector.text).toStdString());
        const ParserVocabulary& vocabulary = vocabularyOf(vector.languages);
        const BoundDetector detector = realDetector(vocabulary, detector_vectors::reference(vector.reference));
        for (const DetectedDate& match : detector.matches(vector.text)) {
            const QString text = vector.text.mid(match.range.location, match.range.length);
            EXPECT_EQ(match.timeWritten != QuickAddParser::containsTimeExpression(text, vocabulary),
                      settledByTheParser.contains(text))
                << text.toStdString();
        }
    }
}

// A time alone stays on today, even when it has passed, exactly when the
// parser can roll it: when nothing date-like is left beside it once its
// explicit times are blanked out.
TEST(DetectorAgreementTest, TimesStayOnTodayExactlyWhenTheParserRollsThem) {
    for (const detector_vectors::Vector& vector : detector_vectors::vectors()) {
        SCOPED_TRACE((u"row "_s + vector.row + u": "_s + vector.text).toStdString());
        const ParserVocabulary& vocabulary = vocabularyOf(vector.languages);
        const Date reference = detector_vectors::reference(vector.reference);
        const Date lateThatDay = detector_vectors::amsterdam().dateBySettingHour(23, 59, 30, reference).value();
        const BoundDetector detector = realDetector(vocabulary, lateThatDay);
        for (const DetectedDate& match : detector.matches(vector.text)) {
            if (match.dayWritten) continue;
            const QString text = vector.text.mid(match.range.location, match.range.length);
            const bool onToday = detector_vectors::amsterdam().isDateInSameDay(match.date, lateThatDay);
            EXPECT_EQ(onToday, !QuickAddParser::hasDateBesideClockTime(text, detector, vocabulary))
                << text.toStdString();
        }
    }
}

// The detector's clock markers and hour words make times the parser sees
// too, in the language they belong to; and its ordinal words are those of
// the parser's ordinal rule.
TEST(DetectorAgreementTest, EveryClockWordOfTheDetectorIsATimeToTheParser) {
    using namespace tavlin::platform::datedetector;
    for (const DetectorLanguage* language : detectorLanguages()) {
        SCOPED_TRACE(language->code.toStdString());
        const ParserVocabulary table = ParserVocabulary::forLanguageCode(language->code).value();
        QStringList phrases;
        for (const QString& marker : language->clockMarkers) {
            phrases.append(marker + u" 5"_s);
            for (const QString& hourWord : language->hourWordsAfterMarker) phrases.append(marker + u" 5 "_s + hourWord);
        }
        for (const QString& hourWord : language->hourWordsBefore) phrases.append(hourWord + u" 5"_s);
        for (const QString& hourWord : language->hourWordsAfter) phrases.append(u"5 "_s + hourWord);
        for (const QString& phrase : phrases)
            EXPECT_TRUE(QuickAddParser::containsTimeExpression(phrase, table)) << phrase.toStdString();
        EXPECT_EQ(WordSet(language->clockMarkers).folded(), table.clockMarkers.folded());
        EXPECT_EQ(WordSet(language->ordinalSuffixes).folded(), table.ordinalSuffixes.folded());
        if (!table.ordinalSuffixes.isEmpty()) {
            EXPECT_EQ(WordSet(language->ordinalConnectors).folded(), table.connectors.folded());
        }
    }
}

// A clock word of the detector ("noon") gives a line a date with that time,
// or no date at all where the parser's words do not show the time: never the
// day without it. A part of the day ("tonight", "tomorrow evening") gives its
// day in any case, with the time where the parser's words show one.
TEST(DetectorAgreementTest, ATimeWordOfTheDetectorGivesItsTimeOrNoDate) {
    using namespace tavlin::platform::datedetector;
    const Lexicon lexicon = Lexicon::build().value();
    const std::vector<const DetectorLanguage*>& languages = detectorLanguages();
    const tavlin::platform::Calendar& calendar = detector_vectors::amsterdam();
    for (size_t index = 0; index < languages.size(); ++index) {
        const DetectorLanguage& language = *languages[index];
        SCOPED_TRACE(language.code.toStdString());
        const ParserVocabulary& vocabulary = vocabularyOf({language.code});
        QString tomorrow;
        for (const LexiconEntry& entry : lexicon.entries())
            if (entry.kind == Lex::relativeDay && entry.number == 1 && (entry.languages & (LanguageMask{1} << index)))
                tomorrow = entry.tokens.join(u' ');
        QStringList clockLines, partLines;
        for (const TimedWord& word : language.timeWords)
            clockLines += {u"x "_s + word.word, u"x "_s + tomorrow + u' ' + word.word};
        for (const TimedWord& word : language.dayParts) partLines.append(u"x "_s + tomorrow + u' ' + word.word);
        for (const TimedWord& word : language.tonightWords) partLines.append(u"x "_s + word.word);
        // Early, so that every part of the day is still ahead ("this morning").
        const auto parse = [&](const QString& line) {
            return QuickAddParser::parse(line, {.referenceDate = detector_vectors::local(2026, 8, 19, 4),
                                                .calendar = calendar,
                                                .vocabulary = vocabulary,
                                                .uses24HourClock = true});
        };
        for (const QString& line : std::as_const(clockLines)) {
            const ParsedQuickAdd parsed = parse(line);
            EXPECT_TRUE(!parsed.dueDateComponents || parsed.hasTime) << line.toStdString();
        }
        for (const QString& line : std::as_const(partLines)) {
            const ParsedQuickAdd parsed = parse(line);
            EXPECT_TRUE(parsed.dueDateComponents.has_value()) << line.toStdString();
            EXPECT_EQ(parsed.hasTime, QuickAddParser::containsTimeExpression(line.mid(2), vocabulary))
                << line.toStdString();
        }
    }
}

// A word that names only a day must not look like a time to the parser,
// or it would take the detector's noon for a written time. The Scandinavian
// "tomorrow" holds the word for morning, which the parser counts as a time
// word, and German "am Wochenende" the English "am": the known clashes, where
// the detector reading no time keeps the day a day.
TEST(DetectorAgreementTest, NoDayWordLooksLikeATime) {
    using namespace tavlin::platform::datedetector;
    const Lexicon lexicon = Lexicon::build().value();
    const std::vector<const DetectorLanguage*>& languages = detectorLanguages();
    QStringList clashes;
    for (const LexiconEntry& entry : lexicon.entries()) {
        if (entry.kind != Lex::relativeDay && entry.kind != Lex::weekday && entry.kind != Lex::weekdayPhrase &&
            entry.kind != Lex::month && entry.kind != Lex::relativeMonth && entry.kind != Lex::weekend)
            continue;
        QString phrase = entry.tokens.front();
        for (qsizetype index = 1; index < entry.tokens.size(); ++index)
            phrase += entry.separators[index - 1] + entry.tokens[index];
        phrase += entry.trailing;
        if (entry.kind == Lex::month) phrase = u"5 "_s + phrase;
        for (size_t index = 0; index < languages.size(); ++index) {
            if (!(entry.languages & (LanguageMask{1} << index))) continue;
            if (QuickAddParser::containsTimeExpression(phrase, vocabularyOf({languages[index]->code})))
                clashes.append(languages[index]->code + u": "_s + phrase);
        }
    }
    clashes.sort();
    EXPECT_EQ(clashes, (QStringList{u"da: i morgen"_s, u"de: am wochenende"_s, u"nb: i morgen"_s, u"sv: i morgon"_s}));
}

}  // namespace
