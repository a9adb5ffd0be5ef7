#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::italian() {
    static const ParserVocabulary table{
        .dateFunctionWords =
            {u"oggi",       u"domani",      u"dopodomani", u"stasera",   u"stamattina", u"stanotte",
             u"questa",     u"questo",      u"questi",     u"queste",    u"adesso",     u"ora",
             u"prossimo",   u"prossima",    u"prossimi",   u"prossime",  u"venturo",    u"fine",
             u"inizio",     u"di",          u"del",        u"della",     u"dei",        u"delle",
             u"il",         u"lo",          u"la",         u"i",         u"gli",        u"le",
             u"prima",      u"dopo",        u"entro",      u"fino",      u"da",         u"a",
             u"al",         u"alla",        u"in",         u"nel",       u"nella",      u"giorno",
             u"giorni",     u"giornata",    u"settimana",  u"settimane", u"weekend",    u"fine-settimana",
             u"mese",       u"mesi",        u"anno",       u"anni",      u"sera",       u"mattina",
             u"pomeriggio", u"mezzogiorno", u"mezzanotte", u"notte",     u"ore",        u"mezza",
             u"quarto",     u"minuto",      u"minuti"},
        .pastMarkers = {u"ieri", u"avantieri", u"altroieri", u"l'altro ieri"},
        .timeWords = {u"sera", u"mattina", u"pomeriggio", u"mezzogiorno", u"mezzanotte", u"notte", u"ore"},
        .connectors = {u"a", u"al", u"alla", u"di", u"del", u"della", u"in", u"nel", u"nella", u"per", u"prima",
                       u"dopo", u"entro", u"il", u"lo", u"la"},
        .locationMarkers = {u"a", u"al", u"alla", u"allo", u"in", u"nel", u"nella", u"da", u"presso", u"vicino"},
        .leaveWords = {u"esco", u"uscire", u"lascio", u"lasciare", u"parto"},
        .locationLeadIns = {u"quando", u"mentre", u"appena", u"io", u"sono", u"siamo", u"noi"},
        .articles = {u"il", u"lo", u"la", u"i", u"gli", u"le", u"un", u"uno", u"una", u"del", u"della", u"dei",
                     u"delle", u"di", u"dal", u"dalla", u"dallo"},
        .priorityWords = {u"urgente", u"importante", u"prioritario", u"alta", u"media", u"bassa", u"critico"},
        .listGlue = {u"a", u"alla", u"mia", u"lista", u"in", u"su"},
        .radiusPrepositions = {u"entro"},
        .radiusUnitWords = {u"metro", u"metri"},
        .partitiveWords = {},
        .homeSynonyms = {u"casa"},
        .workSynonyms = {u"lavoro", u"ufficio"},
        .purposeMarkers = {u"per", u"perché", u"e poi"},
        .taskWrappers = {},
        .durationMarkers = {u"tra", u"fra"},
        .minuteUnitWords = {u"minuto", u"minuti", u"min"},
        .hourUnitWords = {u"ora", u"ore"},
        .dayUnitWords = {u"giorno", u"giorni"},
        .weekUnitWords = {u"settimana", u"settimane"},
        .halfWords = {},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {u"un", u"una"},
        .clockMarkers = {u"alle"},
        .ordinalSuffixes = {},
        .quarterWords = {},
        .pastDirectionWords = {},
        .toDirectionWords = {},
        .clockHourWords = {},
        .halfHourDirection = std::nullopt,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"ogni"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"giorno", u"giorni"},
                    .weekWords = {u"settimana", u"settimane"},
                    .monthWords = {u"mese", u"mesi"},
                    .yearWords = {u"anno", u"anni"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"giornalmente"},
        .weeklyWords = {u"settimanalmente"},
        .monthlyWords = {u"mensilmente"},
        .yearlyWords = {u"annualmente"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"it"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
