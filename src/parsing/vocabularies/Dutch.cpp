#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::dutch() {
    static const ParserVocabulary table{
        .dateFunctionWords = {
            u"vandaag", u"morgen", u"overmorgen", u"vanavond", u"vannacht", u"vanmiddag", u"vanochtend",
            u"straks", u"volgende", u"komende", u"aanstaande", u"deze", u"maand", u"maanden", u"jaar", u"dag",
            u"dagen", u"weken", u"eind", u"einde", u"begin", u"van", u"de", u"het", u"voor", u"na", u"om",
            u"op", u"tegen", u"uiterlijk", u"tot", u"middernacht", u"middag", u"ochtend", u"avond", u"nacht",
            u"'s", u"kwart", u"over", u"uur", u"uren", u"minuten", u"half", u"halve", u"anderhalf",
            u"anderhalve", u"halfuur", u"maandag", u"dinsdag", u"woensdag", u"donderdag", u"vrijdag",
            u"zaterdag", u"zondag", u"januari", u"februari", u"maart", u"april", u"mei", u"juni", u"juli",
            u"augustus", u"oktober", u"november", u"december", u"mrt", u"okt"
        },
        .pastMarkers = {
            u"gisteren", u"eergisteren", u"gisteravond", u"gistermiddag", u"gisterochtend", u"gisternacht"
        },
        .timeWords = {
            u"middernacht", u"middag", u"ochtend", u"avond", u"vanavond", u"vanmiddag", u"vanochtend", u"uur"
        },
        .connectors = {u"bij", u"om", u"op", u"voor", u"naar", u"tegen", u"uiterlijk", u"tot", u"van", u"de"},
        .locationMarkers = {u"bij", u"op", u"naar"},
        .leaveWords = {u"verlaat", u"wegga", u"weg ga", u"vertrek"},
        .locationLeadIns = {u"als", u"ik", u"ben", u"wanneer", u"zodra"},
        .articles = {u"de", u"het", u"een", u"van", u"bij"},
        .priorityWords = {u"dringend", u"belangrijk"},
        .listGlue = {},
        .radiusPrepositions = {u"binnen"},
        .radiusUnitWords = {u"meter", u"meters"},
        .partitiveWords = {},
        .homeSynonyms = {u"thuis", u"huis"},
        .workSynonyms = {u"werk", u"kantoor"},
        .purposeMarkers = {u"om", u"zodat", u"want", u"en dan"},
        .taskWrappers = {
            u"herinner me eraan om te", u"herinner me eraan om", u"herinner me eraan", u"herinner me om te",
            u"herinner me aan", u"herinner me", u"herinner mij eraan om te", u"herinner mij eraan om",
            u"herinner mij eraan", u"herinner mij om te", u"herinner mij aan", u"herinner mij"
        },
        .durationMarkers = {u"over", u"binnen"},
        .minuteUnitWords = {u"minuut", u"minuten", u"min"},
        .hourUnitWords = {u"uur", u"uren"},
        .dayUnitWords = {u"dag", u"dagen"},
        .weekUnitWords = {u"week", u"weken"},
        .halfWords = {u"half", u"halve"},
        .oneAndAHalfWords = {u"anderhalf", u"anderhalve"},
        .halfHourUnitWords = {u"halfuur"},
        .oneWords = {u"een", u"één"},
        .clockMarkers = {u"om"},
        .ordinalSuffixes = {u"e", u"de", u"ste"},
        .quarterWords = {u"kwart"},
        .pastDirectionWords = {u"over"},
        .toDirectionWords = {u"voor"},
        .clockHourWords =
            {
                {u"een"_s, 1}, {u"één"_s, 1}, {u"twee"_s, 2}, {u"drie"_s, 3}, {u"vier"_s, 4}, {u"vijf"_s, 5},
                {u"zes"_s, 6}, {u"zeven"_s, 7}, {u"acht"_s, 8}, {u"negen"_s, 9}, {u"tien"_s, 10},
                {u"elf"_s, 11}, {u"twaalf"_s, 12}
            },
        .halfHourDirection = HalfHourDirection::beforeTheHour,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"elke", u"iedere", u"elk", u"ieder"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {u"volgende", u"komende", u"aanstaande"},
                    .dayWords = {u"dag", u"dagen"},
                    .weekWords = {u"week", u"weken"},
                    .monthWords = {u"maand", u"maanden"},
                    .yearWords = {u"jaar", u"jaren"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
                RecurrenceGrammar{
                    .everyWords = {u"om de"},
                    .alternateWords = {},
                    .defaultInterval = 2,
                    .nextWords = {},
                    .dayWords = {u"dag", u"dagen"},
                    .weekWords = {u"week", u"weken"},
                    .monthWords = {u"maand", u"maanden"},
                    .yearWords = {u"jaar", u"jaren"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"dagelijks"},
        .weeklyWords = {u"wekelijks"},
        .monthlyWords = {u"maandelijks"},
        .yearlyWords = {u"jaarlijks"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"nl"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
