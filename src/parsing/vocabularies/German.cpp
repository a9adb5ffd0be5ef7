#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::german() {
    static const ParserVocabulary table{
        .dateFunctionWords = {
            u"heute", u"morgen", u"übermorgen", u"heutabend", u"abends", u"jetzt", u"gleich", u"nächste",
            u"nächsten", u"nächster", u"nächstes", u"kommende", u"kommenden", u"diese", u"diesen", u"dieser",
            u"dieses", u"ende", u"anfang", u"von", u"vom", u"der", u"die", u"das", u"den", u"dem", u"bis",
            u"vor", u"nach", u"seit", u"am", u"um", u"im", u"in", u"an", u"zum", u"zur", u"spätestens",
            u"innerhalb", u"tag", u"tage", u"tagen", u"woche", u"wochen", u"wochenende", u"monat", u"monate",
            u"monaten", u"jahr", u"jahres", u"mittag", u"mitternacht", u"morgens", u"vormittag", u"nachmittag",
            u"abend", u"nacht", u"uhr", u"halb", u"viertel", u"stunde", u"stunden", u"minute", u"minuten"
        },
        .pastMarkers = {u"gestern", u"vorgestern"},
        .timeWords = {
            u"mittag", u"mitternacht", u"morgens", u"vormittag", u"nachmittag", u"abend", u"uhr", u"nacht"
        },
        .connectors = {
            u"am", u"um", u"bis", u"vor", u"nach", u"im", u"in", u"an", u"der", u"die", u"das", u"den", u"dem",
            u"zum", u"zur", u"spätestens"
        },
        .locationMarkers = {u"bei", u"beim", u"in", u"im", u"an", u"am", u"zu", u"zum", u"zur", u"auf", u"nahe"},
        .leaveWords = {u"verlasse", u"verlässt", u"verlassen", u"verlässe", u"weggehe", u"weggehen", u"losgehe"},
        .locationLeadIns = {u"wenn", u"während", u"sobald", u"ich", u"bin", u"wir", u"sind", u"du", u"bist"},
        .articles = {
            u"der", u"die", u"das", u"den", u"dem", u"des", u"ein", u"eine", u"einen", u"einem", u"einer",
            u"von", u"vom"
        },
        .priorityWords = {u"dringend", u"wichtig", u"eilig", u"hoch", u"mittel", u"niedrig", u"kritisch"},
        .listGlue = {u"zu", u"zur", u"meine", u"meiner", u"liste", u"in", u"auf"},
        .radiusPrepositions = {u"innerhalb"},
        .radiusUnitWords = {u"meter", u"metern"},
        .partitiveWords = {},
        .homeSynonyms = {u"zuhause", u"zuhaus", u"haus", u"heim"},
        .workSynonyms = {u"arbeit", u"büro", u"arbeitsplatz"},
        .purposeMarkers = {u"um", u"damit", u"weil", u"und dann"},
        .taskWrappers = {},
        .durationMarkers = {u"in", u"binnen"},
        .minuteUnitWords = {u"minute", u"minuten", u"min"},
        .hourUnitWords = {u"stunde", u"stunden"},
        .dayUnitWords = {u"tag", u"tage", u"tagen"},
        .weekUnitWords = {u"woche", u"wochen"},
        .halfWords = {u"halben", u"halbe", u"halb"},
        .oneAndAHalfWords = {u"anderthalb", u"eineinhalb"},
        .halfHourUnitWords = {},
        .oneWords = {u"einer", u"einem", u"eine"},
        .clockMarkers = {u"um"},
        .ordinalSuffixes = {},
        .quarterWords = {u"viertel"},
        .pastDirectionWords = {u"nach"},
        .toDirectionWords = {u"vor"},
        .clockHourWords =
            {
                {u"eins"_s, 1}, {u"zwei"_s, 2}, {u"drei"_s, 3}, {u"vier"_s, 4}, {u"fünf"_s, 5},
                {u"sechs"_s, 6}, {u"sieben"_s, 7}, {u"acht"_s, 8}, {u"neun"_s, 9}, {u"zehn"_s, 10},
                {u"elf"_s, 11}, {u"zwölf"_s, 12}
            },
        .halfHourDirection = HalfHourDirection::beforeTheHour,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"jeden", u"jede", u"jedes", u"jeder", u"alle"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {u"nächste", u"nächsten", u"kommende", u"kommenden"},
                    .dayWords = {u"tag", u"tage"},
                    .weekWords = {u"woche", u"wochen"},
                    .monthWords = {u"monat", u"monate"},
                    .yearWords = {u"jahr", u"jahre"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"täglich"},
        .weeklyWords = {u"wöchentlich"},
        .monthlyWords = {u"monatlich"},
        .yearlyWords = {u"jährlich"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"de"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
