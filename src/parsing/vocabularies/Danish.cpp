#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::danish() {
    static const ParserVocabulary table{
        .dateFunctionWords = {
            u"idag", u"i dag", u"imorgen", u"i morgen", u"overmorgen", u"iaften", u"i aften", u"inat", u"nu",
            u"straks", u"næste", u"kommende", u"denne", u"dette", u"slutning", u"slutningen", u"begyndelsen",
            u"af", u"til", u"før", u"inden", u"efter", u"fra", u"på", u"om", u"i", u"senest", u"indenfor",
            u"dag", u"dage", u"uge", u"uger", u"weekend", u"måned", u"måneder", u"år", u"aften", u"morgen",
            u"formiddag", u"eftermiddag", u"middag", u"midnat", u"nat", u"klokken", u"kl", u"halv", u"kvart",
            u"time", u"timer", u"minut", u"minutter"
        },
        .pastMarkers = {u"i går", u"igår", u"i forgårs", u"forgårs"},
        .timeWords = {
            u"aften", u"morgen", u"formiddag", u"eftermiddag", u"middag", u"midnat", u"nat", u"klokken"
        },
        .connectors = {u"til", u"før", u"inden", u"efter", u"fra", u"på", u"om", u"i", u"senest", u"den", u"det"},
        .locationMarkers = {u"på", u"i", u"hos", u"ved", u"nær"},
        .leaveWords = {u"forlader", u"forlade", u"går", u"tager"},
        .locationLeadIns = {u"når", u"mens", u"så snart", u"jeg", u"er", u"vi"},
        .articles = {u"den", u"det", u"de", u"en", u"et"},
        .priorityWords = {
            u"haster", u"hastende", u"vigtig", u"vigtigt", u"prioritet", u"høj", u"mellem", u"lav", u"kritisk"
        },
        .listGlue = {u"til", u"min", u"liste", u"på", u"i"},
        .radiusPrepositions = {u"indenfor", u"inden for"},
        .radiusUnitWords = {u"meter"},
        .partitiveWords = {},
        .homeSynonyms = {u"hjem", u"hjemme", u"hus"},
        .workSynonyms = {u"arbejde", u"arbejdet", u"kontor", u"kontoret"},
        .purposeMarkers = {u"for at", u"fordi", u"og så"},
        .taskWrappers = {},
        .durationMarkers = {u"om"},
        .minuteUnitWords = {u"minut", u"minutter", u"min"},
        .hourUnitWords = {u"time", u"timer"},
        .dayUnitWords = {u"dag", u"dage"},
        .weekUnitWords = {u"uge", u"uger"},
        .halfWords = {u"halv"},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {u"en", u"et"},
        .clockMarkers = {u"kl.", u"kl", u"klokken"},
        .ordinalSuffixes = {},
        .quarterWords = {u"kvart"},
        .pastDirectionWords = {u"over"},
        .toDirectionWords = {u"i"},
        .clockHourWords =
            {
                {u"et"_s, 1}, {u"to"_s, 2}, {u"tre"_s, 3}, {u"fire"_s, 4}, {u"fem"_s, 5}, {u"seks"_s, 6},
                {u"syv"_s, 7}, {u"otte"_s, 8}, {u"ni"_s, 9}, {u"ti"_s, 10}, {u"elleve"_s, 11},
                {u"tolv"_s, 12}
            },
        .halfHourDirection = HalfHourDirection::beforeTheHour,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"hver", u"hvert"},
                    .alternateWords = {u"anden", u"andet"},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"dag", u"dage"},
                    .weekWords = {u"uge", u"uger"},
                    .monthWords = {u"måned", u"måneder"},
                    .yearWords = {u"år"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"dagligt"},
        .weeklyWords = {u"ugentligt"},
        .monthlyWords = {u"månedligt"},
        .yearlyWords = {u"årligt"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"da"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
