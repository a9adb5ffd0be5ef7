#include "parsing/QuickAddParser.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;

// One line per language through the whole parser, as its speakers write
// "dentist tomorrow at five", read on Wednesday 4 March 2026 at 10:00.
TEST(Languages, ALineInEachLanguage) {
    struct Case {
        QString language;
        QString line;
        QString title;
        int hour, minute;
    };
    const Case cases[] = {
        {u"en"_s, u"dentist tomorrow at quarter past 3"_s, u"dentist"_s, 15, 15},
        {u"de"_s, u"Zahnarzt morgen um halb 5"_s, u"Zahnarzt"_s, 16, 30},
        {u"nl"_s, u"tandarts morgen om half 5"_s, u"tandarts"_s, 16, 30},
        {u"fr"_s, u"dentiste demain à 17h"_s, u"dentiste"_s, 17, 0},
        {u"es"_s, u"dentista mañana a las 5"_s, u"dentista"_s, 17, 0},
        {u"it"_s, u"dentista domani alle 17"_s, u"dentista"_s, 17, 0},
        {u"pt"_s, u"dentista amanhã às 17h"_s, u"dentista"_s, 17, 0},
        {u"pl"_s, u"dentysta jutro o 17:00"_s, u"dentysta"_s, 17, 0},
        {u"da"_s, u"tandlæge i morgen kl. 17"_s, u"tandlæge"_s, 17, 0},
        {u"sv"_s, u"tandläkare i morgon kl. 17"_s, u"tandläkare"_s, 17, 0},
        {u"nb"_s, u"tannlege i morgen kl. 17"_s, u"tannlege"_s, 17, 0},
        {u"cs"_s, u"zubař zítra v 17:00"_s, u"zubař"_s, 17, 0},
        {u"ro"_s, u"dentist mâine la 17:00"_s, u"dentist"_s, 17, 0},
        {u"hr"_s, u"zubar sutra u 17:00"_s, u"zubar"_s, 17, 0},
        {u"el"_s, u"οδοντίατρος αύριο στις 17:00"_s, u"οδοντίατρος"_s, 17, 0},
        {u"tr"_s, u"dişçi yarın saat 15:00"_s, u"dişçi"_s, 15, 0},
        {u"fi"_s, u"hammaslääkäri huomenna klo 17"_s, u"hammaslääkäri"_s, 17, 0},
        {u"hu"_s, u"fogorvos holnap 17:00"_s, u"fogorvos"_s, 17, 0},
        {u"he"_s, u"רופא שיניים מחר בשעה 17:00"_s, u"רופא שיניים"_s, 17, 0},
        {u"sw"_s, u"daktari kesho 17:00"_s, u"daktari"_s, 17, 0},
    };
    ASSERT_EQ(std::size(cases), 20u);
    const platform::Calendar calendar =
        platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s));
    const platform::Date reference = *calendar.date({.year = 2026, .month = 3, .day = 4, .hour = 10});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language.toStdString());
        const ParserVocabulary vocabulary = ParserVocabulary::forLocaleIdentifiers({c.language});
        const ParsedQuickAdd parsed = QuickAddParser::parse(
            c.line,
            {.referenceDate = reference, .calendar = calendar, .vocabulary = vocabulary, .uses24HourClock = false});
        EXPECT_EQ(parsed.title, c.title);
        EXPECT_EQ(parsed.dueDateComponents,
                  (platform::DateComponents{.year = 2026, .month = 3, .day = 5, .hour = c.hour, .minute = c.minute}));
        EXPECT_TRUE(parsed.hasTime);
    }
}

TEST(Languages, WordsOfALanguageThatIsNotActiveAreNotDates) {
    const platform::Calendar calendar =
        platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s));
    const platform::Date reference = *calendar.date({.year = 2026, .month = 3, .day = 4, .hour = 10});
    const auto due = [&](const QString& line, const QString& language) {
        return QuickAddParser::parse(line, {.referenceDate = reference,
                                            .calendar = calendar,
                                            .vocabulary = ParserVocabulary::forLocaleIdentifiers({language}),
                                            .uses24HourClock = false})
            .dueDateComponents;
    };
    EXPECT_EQ(due(u"bevásárlás ma"_s, u"hu"_s), (platform::DateComponents{.year = 2026, .month = 3, .day = 4}));
    EXPECT_EQ(due(u"chiama ma non ora"_s, u"it"_s), std::nullopt) << "Italian ma is but";
    EXPECT_EQ(due(u"call Leo"_s, u"en"_s), std::nullopt) << "Swahili leo is today only for Swahili";
}
