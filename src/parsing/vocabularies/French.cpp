#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::french() {
    static const ParserVocabulary table{
        .dateFunctionWords =
            {u"aujourd'hui", u"demain",    u"après-demain", u"ce",         u"cet",        u"cette",   u"ces",
             u"soir",        u"matin",     u"midi",         u"minuit",     u"après-midi", u"nuit",    u"maintenant",
             u"prochain",    u"prochaine", u"prochains",    u"prochaines", u"fin",        u"début",   u"de",
             u"du",          u"des",       u"la",           u"le",         u"les",        u"avant",   u"après",
             u"jusqu'à",     u"jusqu'au",  u"dès",          u"depuis",     u"à",          u"au",      u"aux",
             u"en",          u"dans",      u"jour",         u"jours",      u"journée",    u"journee", u"semaine",
             u"semaines",    u"week-end",  u"weekend",      u"mois",       u"an",         u"ans",     u"année",
             u"heure",       u"heures",    u"demie",        u"quart",      u"minute",     u"minutes"},
        .pastMarkers = {u"hier", u"avant-hier", u"avant hier"},
        .timeWords = {u"soir", u"matin", u"midi", u"minuit", u"après-midi", u"nuit", u"heure", u"heures"},
        .connectors = {u"à", u"au", u"aux", u"de", u"du", u"des", u"la", u"le", u"les", u"avant", u"après", u"pour",
                       u"vers", u"en", u"dans", u"jusqu'à"},
        .locationMarkers = {u"à", u"au", u"aux", u"chez", u"dans", u"en", u"près"},
        .leaveWords = {u"quitte", u"quitter", u"quittant", u"pars", u"partir"},
        .locationLeadIns = {u"quand", u"lorsque", u"pendant", u"dès", u"que", u"je", u"suis", u"nous", u"sommes", u"on",
                            u"est"},
        .articles = {u"le", u"la", u"les", u"l'", u"un", u"une", u"des", u"du", u"de", u"au", u"aux"},
        .priorityWords = {u"urgent", u"urgente", u"important", u"importante", u"prioritaire", u"haute", u"moyenne",
                          u"basse", u"critique"},
        .listGlue = {u"à", u"ma", u"mon", u"liste", u"dans", u"sur"},
        .radiusPrepositions = {u"dans", u"sous"},
        .radiusUnitWords = {u"mètre", u"mètres", u"metre", u"metres"},
        .partitiveWords = {u"de", u"d'", u"d’"},
        .homeSynonyms = {u"maison", u"domicile"},
        .workSynonyms = {u"travail", u"bureau", u"boulot"},
        .purposeMarkers = {u"pour", u"afin de", u"parce que", u"et puis"},
        .taskWrappers = {},
        .durationMarkers = {u"dans"},
        .minuteUnitWords = {u"minute", u"minutes", u"min"},
        .hourUnitWords = {u"heure", u"heures", u"h"},
        .dayUnitWords = {u"jour", u"jours"},
        .weekUnitWords = {u"semaine", u"semaines"},
        .halfWords = {},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {u"une", u"un"},
        .clockMarkers = {u"à"},
        .ordinalSuffixes = {u"er"},
        .quarterWords = {},
        .pastDirectionWords = {},
        .toDirectionWords = {},
        .clockHourWords = {},
        .halfHourDirection = std::nullopt,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"chaque", u"tous les", u"toutes les"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"jour", u"jours"},
                    .weekWords = {u"semaine", u"semaines"},
                    .monthWords = {u"mois"},
                    .yearWords = {u"an", u"ans", u"année", u"années", u"annee", u"annees"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"quotidiennement"},
        .weeklyWords = {u"hebdomadairement"},
        .monthlyWords = {u"mensuellement"},
        .yearlyWords = {u"annuellement"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"fr"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
