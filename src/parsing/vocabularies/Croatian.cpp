#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::croatian() {
    static const ParserVocabulary table{
        .dateFunctionWords = {u"danas",      u"sutra",    u"prekosutra", u"večeras",  u"noćas",   u"sada",
                              u"odmah",      u"sljedeći", u"sljedeća",   u"sljedeće", u"idući",   u"iduća",
                              u"iduće",      u"ovaj",     u"ova",        u"ovo",      u"ovog",    u"ovom",
                              u"kraj",       u"kraja",    u"početak",    u"početka",  u"do",      u"prije",
                              u"poslije",    u"nakon",    u"od",         u"za",       u"u",       u"na",
                              u"najkasnije", u"unutar",   u"dan",        u"dana",     u"tjedan",  u"tjedna",
                              u"tjedana",    u"vikend",   u"vikenda",    u"mjesec",   u"mjeseca", u"godina",
                              u"godine",     u"navečer",  u"ujutro",     u"jutro",    u"podne",   u"poslijepodne",
                              u"ponoć",      u"noć",      u"noći",       u"sati",     u"sat",     u"sata",
                              u"pola",       u"četvrt",   u"minuta",     u"minute"},
        .pastMarkers = {u"jučer", u"juče", u"prekjučer", u"prekjuče"},
        .timeWords = {u"navečer", u"ujutro", u"jutro", u"podne", u"poslijepodne", u"ponoć", u"noć", u"sati", u"sat"},
        .connectors = {u"do", u"prije", u"poslije", u"nakon", u"od", u"za", u"u", u"na", u"najkasnije"},
        .locationMarkers = {u"u", u"na", u"kod", u"pokraj", u"blizu"},
        .leaveWords = {u"odlazim", u"otići", u"napuštam", u"napustiti"},
        .locationLeadIns = {u"kad", u"kada", u"dok", u"čim", u"ja", u"sam", u"budem", u"mi"},
        .articles = {u"s", u"sa", u"iz", u"od"},
        .priorityWords = {u"hitno", u"hitan", u"važno", u"važan", u"prioritet", u"visok", u"srednji", u"nizak",
                          u"kritično"},
        .listGlue = {u"u", u"na", u"moju", u"listu", u"popis"},
        .radiusPrepositions = {u"unutar", u"u"},
        .radiusUnitWords = {u"metar", u"metara", u"metra"},
        .partitiveWords = {},
        .homeSynonyms = {u"kuća", u"kući", u"dom", u"doma"},
        .workSynonyms = {u"posao", u"posla", u"poslu", u"ured", u"uredu"},
        .purposeMarkers = {u"da", u"jer", u"a onda"},
        .taskWrappers = {},
        .durationMarkers = {u"za"},
        .minuteUnitWords = {u"minuta", u"minute", u"minutu", u"min"},
        .hourUnitWords = {u"sat", u"sata", u"sati"},
        .dayUnitWords = {u"dan", u"dana"},
        .weekUnitWords = {u"tjedan", u"tjedna", u"tjedana", u"nedelja", u"nedelje", u"nedjelja", u"nedjelje",
                          u"sedmica", u"sedmice"},
        .halfWords = {},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {},
        .clockMarkers = {u"u"},
        .ordinalSuffixes = {},
        .quarterWords = {},
        .pastDirectionWords = {},
        .toDirectionWords = {},
        .clockHourWords = {},
        .halfHourDirection = std::nullopt,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"svaki", u"svaka", u"svako", u"svake", u"svakog", u"svakih"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"dan", u"dana"},
                    .weekWords = {u"tjedan", u"tjedna"},
                    .monthWords = {u"mjesec", u"mjeseca", u"mjeseci"},
                    .yearWords = {u"godina", u"godine", u"godinu"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"dnevno", u"svakodnevno"},
        .weeklyWords = {u"tjedno"},
        .monthlyWords = {u"mjesečno"},
        .yearlyWords = {u"godišnje"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"hr"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
