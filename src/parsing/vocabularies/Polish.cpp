#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::polish() {
    static const ParserVocabulary table{
        .dateFunctionWords = {u"dzisiaj",    u"dziś",     u"jutro",      u"pojutrze",  u"dzisiejszy", u"teraz",
                              u"zaraz",      u"następny", u"następna",   u"następnym", u"przyszły",   u"przyszła",
                              u"przyszłym",  u"ten",      u"ta",         u"to",        u"tym",        u"tego",
                              u"koniec",     u"końca",    u"początek",   u"początku",  u"do",         u"przed",
                              u"po",         u"od",       u"za",         u"w",         u"we",         u"na",
                              u"najpóźniej", u"ciągu",    u"dzień",      u"dnia",      u"dni",        u"tydzień",
                              u"tygodnia",   u"tygodniu", u"tygodnie",   u"tygodni",   u"weekend",    u"miesiąc",
                              u"miesiąca",   u"rok",      u"roku",       u"wieczorem", u"wieczór",    u"rano",
                              u"ranem",      u"południe", u"popołudniu", u"północ",    u"noc",        u"nocy",
                              u"godzina",    u"godzinie", u"godzin",     u"godzinę",   u"wpół",       u"kwadrans",
                              u"minut",      u"minutę"},
        .pastMarkers = {u"wczoraj", u"przedwczoraj"},
        .timeWords = {u"wieczorem", u"wieczór", u"rano", u"południe", u"popołudniu", u"północ", u"noc", u"godzina",
                      u"godzinie"},
        .connectors = {u"do", u"przed", u"po", u"od", u"za", u"w", u"we", u"na", u"najpóźniej"},
        .locationMarkers = {u"w", u"we", u"na", u"przy", u"obok", u"koło"},
        .leaveWords = {u"wychodzę", u"wyjdę", u"wychodząc", u"opuszczam", u"opuścić"},
        .locationLeadIns = {u"gdy", u"kiedy", u"jak", u"podczas", u"ja", u"jestem", u"będę", u"my"},
        .articles = {u"z", u"ze"},
        .priorityWords = {u"pilne", u"pilny", u"ważne", u"ważny", u"priorytet", u"wysoki", u"średni", u"niski",
                          u"krytyczny"},
        .listGlue = {u"do", u"mojej", u"listy", u"na", u"w"},
        .radiusPrepositions = {u"w", u"ciągu"},
        .radiusUnitWords = {u"metr", u"metry", u"metrów"},
        .partitiveWords = {},
        .homeSynonyms = {u"dom", u"domu"},
        .workSynonyms = {u"praca", u"pracy", u"biuro", u"biurze"},
        .purposeMarkers = {u"żeby", u"aby", u"bo", u"a potem"},
        .taskWrappers = {},
        .durationMarkers = {u"za"},
        .minuteUnitWords = {u"minut", u"minuty", u"minutę", u"min"},
        .hourUnitWords = {u"godzina", u"godziny", u"godzin", u"godzinę"},
        .dayUnitWords = {u"dzień", u"dni"},
        .weekUnitWords = {u"tydzień", u"tygodnie", u"tygodni"},
        .halfWords = {},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {},
        .clockMarkers = {u"o"},
        .ordinalSuffixes = {},
        .quarterWords = {},
        .pastDirectionWords = {},
        .toDirectionWords = {},
        .clockHourWords = {},
        .halfHourDirection = std::nullopt,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"co", u"każdy", u"każdego", u"każdą", u"każde"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"dzień", u"dnia", u"dni"},
                    .weekWords = {u"tydzień", u"tygodnie", u"tygodni", u"tygodnia"},
                    .monthWords = {u"miesiąc", u"miesiące", u"miesięcy", u"miesiąca"},
                    .yearWords = {u"rok", u"roku", u"lata", u"lat"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"codziennie"},
        .weeklyWords = {u"cotygodniowo"},
        .monthlyWords = {u"comiesięcznie"},
        .yearlyWords = {u"corocznie"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"pl"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
