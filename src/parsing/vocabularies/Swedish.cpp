#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::swedish() {
    static const ParserVocabulary table{
        .dateFunctionWords = {
            u"idag", u"i dag", u"imorgon", u"i morgon", u"övermorgon", u"ikväll", u"i kväll", u"inatt", u"nu",
            u"strax", u"nästa", u"kommande", u"denna", u"detta", u"den här", u"slutet", u"början", u"av",
            u"till", u"före", u"innan", u"efter", u"från", u"på", u"om", u"i", u"senast", u"inom", u"dag",
            u"dagen", u"dagar", u"vecka", u"veckor", u"helg", u"helgen", u"månad", u"månader", u"år", u"kväll",
            u"morgon", u"förmiddag", u"eftermiddag", u"middag", u"midnatt", u"natt", u"klockan", u"kl",
            u"halv", u"kvart", u"timme", u"timmar", u"minut", u"minuter"
        },
        .pastMarkers = {u"igår", u"i går", u"i förrgår", u"förrgår"},
        .timeWords = {
            u"kväll", u"morgon", u"förmiddag", u"eftermiddag", u"middag", u"midnatt", u"natt", u"klockan"
        },
        .connectors = {
            u"till", u"före", u"innan", u"efter", u"från", u"på", u"om", u"i", u"senast", u"den", u"det"
        },
        .locationMarkers = {u"på", u"i", u"hos", u"vid", u"nära"},
        .leaveWords = {u"lämnar", u"lämna", u"går", u"sticker"},
        .locationLeadIns = {u"när", u"medan", u"så fort", u"jag", u"är", u"vi"},
        .articles = {u"den", u"det", u"de", u"en", u"ett"},
        .priorityWords = {u"brådskande", u"viktig", u"viktigt", u"prioritet", u"hög", u"medel", u"låg", u"kritisk"},
        .listGlue = {u"till", u"min", u"lista", u"på", u"i"},
        .radiusPrepositions = {u"inom"},
        .radiusUnitWords = {u"meter"},
        .partitiveWords = {},
        .homeSynonyms = {u"hem", u"hemma", u"hus"},
        .workSynonyms = {u"jobb", u"jobbet", u"arbete", u"arbetet", u"kontor", u"kontoret"},
        .purposeMarkers = {u"för att", u"eftersom", u"och sen"},
        .taskWrappers = {},
        .durationMarkers = {u"om"},
        .minuteUnitWords = {u"minut", u"minuter", u"min"},
        .hourUnitWords = {u"timme", u"timmar"},
        .dayUnitWords = {u"dag", u"dagar"},
        .weekUnitWords = {u"vecka", u"veckor"},
        .halfWords = {u"halv"},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {u"en", u"ett"},
        .clockMarkers = {u"kl.", u"kl", u"klockan"},
        .ordinalSuffixes = {},
        .quarterWords = {u"kvart"},
        .pastDirectionWords = {u"över", u"over"},
        .toDirectionWords = {u"i"},
        .clockHourWords =
            {
                {u"ett"_s, 1}, {u"två"_s, 2}, {u"tre"_s, 3}, {u"fyra"_s, 4}, {u"fem"_s, 5}, {u"sex"_s, 6},
                {u"sju"_s, 7}, {u"åtta"_s, 8}, {u"nio"_s, 9}, {u"tio"_s, 10}, {u"elva"_s, 11},
                {u"tolv"_s, 12}
            },
        .halfHourDirection = HalfHourDirection::beforeTheHour,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"varje"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"dag", u"dagar"},
                    .weekWords = {u"vecka", u"veckor"},
                    .monthWords = {u"månad", u"månader"},
                    .yearWords = {u"år"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"dagligen"},
        .weeklyWords = {u"veckovis"},
        .monthlyWords = {u"månadsvis"},
        .yearlyWords = {u"årligen"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"sv"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
