#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::spanish() {
    static const ParserVocabulary table{
        .dateFunctionWords = {u"hoy",    u"mañana",  u"pasado",  u"esta",      u"este",       u"estos",
                              u"estas",  u"noche",   u"tarde",   u"mediodía",  u"medianoche", u"madrugada",
                              u"ahora",  u"próximo", u"próxima", u"próximos",  u"próximas",   u"que",
                              u"viene",  u"fin",     u"final",   u"principio", u"de",         u"del",
                              u"la",     u"el",      u"los",     u"las",       u"antes",      u"después",
                              u"hasta",  u"desde",   u"a",       u"al",        u"en",         u"para",
                              u"dentro", u"por",     u"día",     u"días",      u"semana",     u"semanas",
                              u"finde",  u"mes",     u"meses",   u"año",       u"años",       u"hora",
                              u"horas",  u"media",   u"cuarto",  u"minuto",    u"minutos"},
        .pastMarkers = {u"ayer", u"anteayer", u"antier", u"antes de ayer"},
        .timeWords = {u"noche", u"tarde", u"mediodía", u"medianoche", u"madrugada", u"hora", u"horas"},
        .connectors = {u"a", u"al", u"de", u"del", u"en", u"para", u"antes", u"después", u"hasta", u"el", u"la", u"los",
                       u"las"},
        .locationMarkers = {u"en", u"a", u"al", u"cerca", u"junto"},
        .leaveWords = {u"salgo", u"salir", u"saliendo", u"dejo", u"dejar"},
        .locationLeadIns = {u"cuando", u"mientras", u"apenas", u"yo", u"esté", u"estoy", u"estemos", u"nosotros"},
        .articles = {u"el", u"la", u"los", u"las", u"un", u"una", u"unos", u"unas", u"del", u"de", u"al"},
        .priorityWords = {u"urgente", u"importante", u"prioritario", u"alta", u"media", u"baja", u"crítico"},
        .listGlue = {u"a", u"mi", u"lista", u"en", u"sobre"},
        .radiusPrepositions = {u"dentro de", u"dentro"},
        .radiusUnitWords = {u"metro", u"metros"},
        .partitiveWords = {u"de"},
        .homeSynonyms = {u"casa", u"hogar"},
        .workSynonyms = {u"trabajo", u"oficina"},
        .purposeMarkers = {u"para", u"porque", u"y luego"},
        .taskWrappers = {},
        .durationMarkers = {u"en", u"dentro de"},
        .minuteUnitWords = {u"minuto", u"minutos", u"min"},
        .hourUnitWords = {u"hora", u"horas"},
        .dayUnitWords = {u"día", u"días", u"dia", u"dias"},
        .weekUnitWords = {u"semana", u"semanas"},
        .halfWords = {u"media"},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {u"una", u"un"},
        .clockMarkers = {u"a las", u"a la", u"las", u"la"},
        .ordinalSuffixes = {},
        .quarterWords = {},
        .pastDirectionWords = {},
        .toDirectionWords = {},
        .clockHourWords = {},
        .halfHourDirection = std::nullopt,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"cada", u"todos los", u"todas las"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"día", u"días", u"dia", u"dias"},
                    .weekWords = {u"semana", u"semanas"},
                    .monthWords = {u"mes", u"meses"},
                    .yearWords = {u"año", u"años"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"diariamente", u"a diario"},
        .weeklyWords = {u"semanalmente"},
        .monthlyWords = {u"mensualmente"},
        .yearlyWords = {u"anualmente"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"es"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
