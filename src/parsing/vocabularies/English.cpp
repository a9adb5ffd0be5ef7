#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::english() {
    static const ParserVocabulary table{
        .dateFunctionWords = {
            u"today", u"tomorrow", u"tonight", u"now", u"next", u"this", u"coming", u"the", u"end", u"of",
            u"in", u"on", u"at", u"by", u"before", u"until", u"till", u"due", u"from", u"after", u"within",
            u"day", u"days", u"week", u"weeks", u"weekend", u"month", u"months", u"year", u"eod", u"eow",
            u"noon", u"midnight", u"morning", u"afternoon", u"evening", u"night", u"am", u"pm", u"o'clock",
            u"half", u"quarter", u"past", u"to", u"hour", u"hours", u"minute", u"minutes", u"hr", u"hrs",
            u"min", u"monday", u"tuesday", u"wednesday", u"thursday", u"friday", u"saturday", u"sunday",
            u"mon", u"tue", u"tues", u"wed", u"thu", u"thur", u"thurs", u"fri", u"sat", u"sun", u"january",
            u"february", u"march", u"april", u"may", u"june", u"july", u"august", u"september", u"october",
            u"november", u"december", u"jan", u"feb", u"mar", u"apr", u"jun", u"jul", u"aug", u"sep", u"sept",
            u"oct", u"nov", u"dec"
        },
        .pastMarkers = {u"yesterday"},
        .timeWords = {u"am", u"pm", u"noon", u"midnight", u"morning", u"afternoon", u"evening", u"tonight"},
        .connectors = {
            u"on", u"at", u"by", u"due", u"for", u"until", u"when", u"while", u"before", u"after", u"to",
            u"the", u"a", u"an", u"i'm", u"im", u"i am"
        },
        .locationMarkers = {u"at", u"in", u"near"},
        .leaveWords = {u"leave", u"leaving", u"left"},
        .locationLeadIns = {
            u"when", u"while", u"once", u"i", u"i'm", u"im", u"am", u"we", u"we're", u"you", u"you're"
        },
        .articles = {u"the", u"a", u"an", u"from"},
        .priorityWords = {
            u"urgent", u"urgently", u"important", u"asap", u"priority", u"high", u"medium", u"low",
            u"critical"
        },
        .listGlue = {u"to", u"my", u"the", u"list", u"into", u"in", u"on", u"add"},
        .radiusPrepositions = {u"within"},
        .radiusUnitWords = {u"m", u"meter", u"meters", u"metres", u"metre"},
        .partitiveWords = {u"of"},
        .homeSynonyms = {u"home", u"house"},
        .workSynonyms = {u"work", u"office"},
        .purposeMarkers = {u"to", u"so", u"because", u"and then"},
        .taskWrappers = {u"remind me to", u"remind me that", u"remind me about", u"remind me of", u"remind me"},
        .durationMarkers = {u"in", u"within"},
        .minuteUnitWords = {u"min", u"mins", u"minute", u"minutes"},
        .hourUnitWords = {u"hour", u"hours", u"hr", u"hrs"},
        .dayUnitWords = {u"day", u"days"},
        .weekUnitWords = {u"week", u"weeks"},
        .halfWords = {u"half"},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {u"a", u"an"},
        .clockMarkers = {u"at"},
        .ordinalSuffixes = {u"st", u"nd", u"rd", u"th"},
        .quarterWords = {u"quarter"},
        .pastDirectionWords = {u"past", u"after"},
        .toDirectionWords = {u"to", u"till", u"before"},
        .clockHourWords =
            {
                {u"one"_s, 1}, {u"two"_s, 2}, {u"three"_s, 3}, {u"four"_s, 4}, {u"five"_s, 5}, {u"six"_s, 6},
                {u"seven"_s, 7}, {u"eight"_s, 8}, {u"nine"_s, 9}, {u"ten"_s, 10}, {u"eleven"_s, 11},
                {u"twelve"_s, 12}
            },
        .halfHourDirection = HalfHourDirection::afterTheHour,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"every", u"each"},
                    .alternateWords = {u"other"},
                    .defaultInterval = 1,
                    .nextWords = {u"next", u"coming"},
                    .dayWords = {u"day", u"days"},
                    .weekWords = {u"week", u"weeks"},
                    .monthWords = {u"month", u"months"},
                    .yearWords = {u"year", u"years"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"daily", u"everyday"},
        .weeklyWords = {u"weekly"},
        .monthlyWords = {u"monthly"},
        .yearlyWords = {u"yearly", u"annually"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"en"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
