#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::swahili() {
    static const ParserVocabulary table{
        .dateFunctionWords = {u"leo",     u"kesho",    u"kutwa",   u"sasa",   u"hivi",     u"baadaye",  u"punde",
                              u"ijayo",   u"ujao",     u"kijacho", u"lijalo", u"zijazo",   u"ifuatayo", u"hii",
                              u"huu",     u"hiyo",     u"hilo",    u"hizi",   u"huo",      u"mwisho",   u"mwishoni",
                              u"mwanzo",  u"mwanzoni", u"kabla",   u"baada",  u"hadi",     u"mpaka",    u"tangu",
                              u"ndani",   u"kufikia",  u"ifikapo", u"ya",     u"wa",       u"la",       u"za",
                              u"cha",     u"vya",      u"mwa",     u"kwa",    u"na",       u"katika",   u"kwenye",
                              u"siku",    u"wiki",     u"wikendi", u"mwezi",  u"miezi",    u"mwaka",    u"miaka",
                              u"asubuhi", u"mchana",   u"jioni",   u"usiku",  u"adhuhuri", u"alfajiri", u"manane",
                              u"saa",     u"masaa",    u"dakika",  u"nusu",   u"robo"},
        .pastMarkers = {u"jana", u"juzi"},
        .timeWords = {u"asubuhi", u"mchana", u"jioni", u"usiku", u"adhuhuri", u"alfajiri", u"manane", u"saa"},
        .connectors = {u"kwa", u"katika", u"kwenye", u"hadi", u"mpaka", u"kabla", u"baada", u"ya", u"wa", u"la", u"na",
                       u"ifikapo", u"kufikia"},
        .locationMarkers = {u"katika", u"kwenye", u"karibu", u"jirani", u"pembeni"},
        .leaveWords = {u"nikiondoka", u"ninapoondoka", u"ninaondoka", u"nikitoka", u"ninapotoka", u"kuondoka",
                       u"ondoka"},
        .locationLeadIns = {u"wakati", u"nikiwa", u"ninapokuwa", u"mimi", u"sisi"},
        .articles = {u"na", u"mwa"},
        .priorityWords = {u"haraka", u"dharura", u"muhimu", u"kipaumbele", u"juu", u"kati", u"chini"},
        .listGlue = {u"kwenye", u"katika", u"orodha", u"yangu", u"kwa", u"ya"},
        .radiusPrepositions = {u"ndani ya", u"ndani", u"umbali"},
        .radiusUnitWords = {u"mita"},
        .partitiveWords = {},
        .homeSynonyms = {u"nyumbani", u"nyumba", u"kwangu"},
        .workSynonyms = {u"kazini", u"kazi", u"ofisini", u"ofisi"},
        .purposeMarkers = {u"ili", u"kwa ajili ya", u"kwa sababu", u"kisha", u"na kisha", u"halafu"},
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
                    .everyWords = {u"kila"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"siku"},
                    .weekWords = {u"wiki"},
                    .monthWords = {u"mwezi", u"miezi"},
                    .yearWords = {u"mwaka", u"miaka"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {},
        .weeklyWords = {},
        .monthlyWords = {},
        .yearlyWords = {},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"sw"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
