#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::romanian() {
    static const ParserVocabulary table{
        .dateFunctionWords = {u"azi",        u"astăzi",    u"mâine",     u"poimâine",  u"diseară",     u"deseară",
                              u"astă-seară", u"acum",      u"imediat",   u"următor",   u"următoare",   u"viitor",
                              u"viitoare",   u"acest",     u"această",   u"aceste",    u"acesta",      u"sfârșit",
                              u"sfârșitul",  u"început",   u"începutul", u"de",        u"la",          u"până",
                              u"înainte",    u"după",      u"din",       u"în",        u"pe",          u"cel târziu",
                              u"zi",         u"zile",      u"zilei",     u"săptămână", u"săptămâna",   u"săptămâni",
                              u"weekend",    u"lună",      u"luna",      u"luni",      u"an",          u"anul",
                              u"seara",      u"dimineața", u"dimineață", u"amiază",    u"după-amiază", u"miezul nopții",
                              u"noapte",     u"noaptea",   u"ora",       u"ore",       u"jumătate",    u"sfert",
                              u"minut",      u"minute"},
        .pastMarkers = {u"ieri", u"alaltăieri"},
        .timeWords = {u"seara", u"dimineața", u"amiază", u"după-amiază", u"noapte", u"noaptea", u"ora", u"ore"},
        .connectors = {u"la", u"de", u"până", u"înainte", u"după", u"din", u"în", u"pe"},
        .locationMarkers = {u"la", u"în", u"lângă", u"aproape"},
        .leaveWords = {u"plec", u"pleca", u"părăsesc", u"părăsi"},
        .locationLeadIns = {u"când", u"cât", u"timp", u"imediat", u"eu", u"sunt", u"noi"},
        .articles = {u"un", u"o", u"unui", u"unei", u"cel", u"cea", u"de", u"la"},
        .priorityWords = {u"urgent", u"urgentă", u"important", u"importantă", u"prioritate", u"mare", u"medie", u"mică",
                          u"critic"},
        .listGlue = {u"la", u"în", u"lista", u"mea", u"pe"},
        .radiusPrepositions = {u"în", u"sub"},
        .radiusUnitWords = {u"metru", u"metri"},
        .partitiveWords = {},
        .homeSynonyms = {u"acasă", u"casă", u"casa"},
        .workSynonyms = {u"muncă", u"serviciu", u"birou"},
        .purposeMarkers = {u"ca să", u"pentru că", u"și apoi"},
        .taskWrappers = {},
        .durationMarkers = {u"peste", u"în"},
        .minuteUnitWords = {u"minut", u"minute", u"de minute", u"min"},
        .hourUnitWords = {u"oră", u"ore", u"ora", u"de ore"},
        .dayUnitWords = {u"zi", u"zile", u"de zile"},
        .weekUnitWords = {u"săptămână", u"săptămâni", u"saptamana", u"saptamani", u"de săptămâni", u"de saptamani"},
        .halfWords = {},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {u"o", u"un"},
        .clockMarkers = {u"la"},
        .ordinalSuffixes = {},
        .quarterWords = {},
        .pastDirectionWords = {},
        .toDirectionWords = {},
        .clockHourWords = {},
        .halfHourDirection = std::nullopt,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"în fiecare", u"in fiecare", u"la fiecare", u"fiecare"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"zi", u"zile"},
                    .weekWords = {u"săptămână", u"săptămâni", u"saptamana", u"saptamani"},
                    .monthWords = {u"lună", u"luna"},
                    .yearWords = {u"an", u"ani"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"zilnic"},
        .weeklyWords = {u"săptămânal", u"saptamanal"},
        .monthlyWords = {u"lunar"},
        .yearlyWords = {u"anual"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"ro"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
