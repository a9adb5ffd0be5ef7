#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::norwegian() {
    static const ParserVocabulary table{
        .dateFunctionWords = {
            u"idag", u"i dag", u"imorgen", u"i morgen", u"overmorgen", u"ikveld", u"i kveld", u"inatt", u"nå",
            u"straks", u"neste", u"kommende", u"denne", u"dette", u"slutten", u"begynnelsen", u"av", u"til",
            u"før", u"innen", u"etter", u"fra", u"på", u"om", u"i", u"senest", u"innenfor", u"dag", u"dager",
            u"uke", u"uker", u"helg", u"helgen", u"måned", u"måneder", u"år", u"kveld", u"morgen",
            u"formiddag", u"ettermiddag", u"middag", u"midnatt", u"natt", u"klokken", u"klokka", u"kl",
            u"halv", u"kvart", u"time", u"timer", u"minutt", u"minutter"
        },
        .pastMarkers = {u"i går", u"igår", u"i forgårs", u"forgårs"},
        .timeWords = {
            u"kveld", u"morgen", u"formiddag", u"ettermiddag", u"middag", u"midnatt", u"natt", u"klokken",
            u"klokka"
        },
        .connectors = {u"til", u"før", u"innen", u"etter", u"fra", u"på", u"om", u"i", u"senest", u"den", u"det"},
        .locationMarkers = {u"på", u"i", u"hos", u"ved", u"nær"},
        .leaveWords = {u"forlater", u"forlate", u"drar", u"går"},
        .locationLeadIns = {u"når", u"mens", u"så snart", u"jeg", u"er", u"vi"},
        .articles = {u"den", u"det", u"de", u"en", u"et"},
        .priorityWords = {u"haster", u"hastende", u"viktig", u"prioritet", u"høy", u"middels", u"lav", u"kritisk"},
        .listGlue = {u"til", u"min", u"liste", u"på", u"i"},
        .radiusPrepositions = {u"innenfor", u"innen"},
        .radiusUnitWords = {u"meter"},
        .partitiveWords = {},
        .homeSynonyms = {u"hjem", u"hjemme", u"hus"},
        .workSynonyms = {u"jobb", u"jobben", u"arbeid", u"kontor", u"kontoret"},
        .purposeMarkers = {u"for å", u"fordi", u"og så"},
        .taskWrappers = {},
        .durationMarkers = {u"om"},
        .minuteUnitWords = {u"minutt", u"minutter", u"min"},
        .hourUnitWords = {u"time", u"timer"},
        .dayUnitWords = {u"dag", u"dager"},
        .weekUnitWords = {u"uke", u"uker"},
        .halfWords = {u"halv"},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {u"en", u"et", u"ei"},
        .clockMarkers = {u"kl.", u"kl", u"klokken", u"klokka"},
        .ordinalSuffixes = {},
        .quarterWords = {u"kvart"},
        .pastDirectionWords = {u"over"},
        .toDirectionWords = {u"på"},
        .clockHourWords =
            {
                {u"ett"_s, 1}, {u"to"_s, 2}, {u"tre"_s, 3}, {u"fire"_s, 4}, {u"fem"_s, 5}, {u"seks"_s, 6},
                {u"sju"_s, 7}, {u"syv"_s, 7}, {u"åtte"_s, 8}, {u"ni"_s, 9}, {u"ti"_s, 10}, {u"elleve"_s, 11},
                {u"tolv"_s, 12}
            },
        .halfHourDirection = HalfHourDirection::beforeTheHour,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"hver", u"hvert"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"dag", u"dager"},
                    .weekWords = {u"uke", u"uker"},
                    .monthWords = {u"måned", u"måneder"},
                    .yearWords = {u"år"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"daglig"},
        .weeklyWords = {u"ukentlig"},
        .monthlyWords = {u"månedlig"},
        .yearlyWords = {u"årlig"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"nb"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
