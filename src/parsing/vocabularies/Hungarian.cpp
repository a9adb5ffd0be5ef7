#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::hungarian() {
    static const ParserVocabulary table{
        .dateFunctionWords = {u"ma",      u"holnap",   u"holnapután", u"ma este", u"most",  u"azonnal", u"következő",
                              u"jövő",    u"ez",       u"ezen",       u"eme",     u"vége",  u"végén",   u"eleje",
                              u"elején",  u"előtt",    u"után",       u"ig",      u"óta",   u"belül",   u"legkésőbb",
                              u"nap",     u"napon",    u"napok",      u"hét",     u"héten", u"hétvége", u"hétvégén",
                              u"hónap",   u"hónapban", u"év",         u"évben",   u"este",  u"reggel",  u"délelőtt",
                              u"délután", u"dél",      u"éjfél",      u"éjszaka", u"óra",   u"órakor",  u"fél",
                              u"negyed",  u"perc"},
        .pastMarkers = {u"tegnap", u"tegnapelőtt"},
        .timeWords = {u"este", u"reggel", u"délelőtt", u"délután", u"dél", u"éjfél", u"éjszaka", u"óra", u"órakor"},
        .connectors = {u"előtt", u"után", u"ig", u"belül", u"legkésőbb", u"a", u"az"},
        .locationMarkers = {u"közelében", u"mellett", u"nál", u"nél"},
        .leaveWords = {u"elhagyva", u"elhagyom", u"távozva", u"távozom", u"indulva"},
        .locationLeadIns = {u"amikor", u"mialatt", u"amint", u"én", u"vagyok", u"mi"},
        .articles = {u"a", u"az", u"egy"},
        .priorityWords = {u"sürgős", u"fontos", u"prioritás", u"magas", u"közepes", u"alacsony", u"kritikus"},
        .listGlue = {u"listámra", u"listához", u"lista"},
        .radiusPrepositions = {u"belül"},
        .radiusUnitWords = {u"méter", u"méteren"},
        .partitiveWords = {},
        .homeSynonyms = {u"otthon", u"ház", u"haza"},
        .workSynonyms = {u"munka", u"munkahely", u"munkahelyen", u"iroda", u"irodában"},
        .purposeMarkers = {u"hogy", u"mert", u"és aztán"},
        .taskWrappers = {},
        .durationMarkers = {},
        .minuteUnitWords = {},
        .hourUnitWords = {},
        .dayUnitWords = {},
        .weekUnitWords = {},
        .halfWords = {},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {},
        .clockMarkers = {},
        .ordinalSuffixes = {},
        .quarterWords = {},
        .pastDirectionWords = {},
        .toDirectionWords = {},
        .clockHourWords = {},
        .halfHourDirection = std::nullopt,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"minden"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"nap"},
                    .weekWords = {u"hét", u"héten"},
                    .monthWords = {u"hónap", u"hónapban"},
                    .yearWords = {u"év", u"évben"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"naponta"},
        .weeklyWords = {u"hetente"},
        .monthlyWords = {u"havonta"},
        .yearlyWords = {u"évente"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"hu"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
