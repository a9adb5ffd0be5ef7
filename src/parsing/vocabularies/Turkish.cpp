#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::turkish() {
    static const ParserVocabulary table{
        .dateFunctionWords = {u"bugün",   u"yarın",      u"öbür gün",   u"bu akşam", u"şimdi",  u"hemen",
                              u"gelecek", u"önümüzdeki", u"bu",         u"şu",       u"gelen",  u"son",
                              u"sonu",    u"sonuna",     u"başı",       u"başında",  u"kadar",  u"önce",
                              u"sonra",   u"içinde",     u"en geç",     u"gün",      u"günü",   u"günler",
                              u"hafta",   u"haftası",    u"hafta sonu", u"ay",       u"ayın",   u"yıl",
                              u"yılın",   u"akşam",      u"akşamı",     u"sabah",    u"sabahı", u"öğlen",
                              u"öğle",    u"gece",       u"geceyarısı", u"saat",     u"saatte", u"buçuk",
                              u"çeyrek",  u"dakika"},
        .pastMarkers = {u"dün", u"evvelsi gün", u"önceki gün"},
        .timeWords = {u"akşam", u"sabah", u"öğlen", u"öğle", u"gece", u"geceyarısı", u"saat"},
        .connectors = {u"kadar", u"önce", u"sonra", u"için", u"en geç", u"bu", u"şu"},
        .locationMarkers = {u"yakınında", u"yanında"},
        .leaveWords = {u"çıkınca", u"çıktığımda", u"ayrılınca", u"ayrıldığımda", u"terk"},
        .locationLeadIns = {u"ne zaman", u"iken", u"ben", u"biz"},
        .articles = {u"bir"},
        .priorityWords = {u"acil", u"önemli", u"öncelik", u"yüksek", u"orta", u"düşük", u"kritik"},
        .listGlue = {u"listeme", u"listesine", u"liste"},
        .radiusPrepositions = {u"içinde"},
        .radiusUnitWords = {u"metre"},
        .partitiveWords = {},
        .homeSynonyms = {u"ev", u"evde", u"evim"},
        .workSynonyms = {u"iş", u"işte", u"işyeri", u"işyerinde", u"ofis", u"ofiste"},
        .purposeMarkers = {},
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
        .clockMarkers = {u"saat"},
        .ordinalSuffixes = {},
        .quarterWords = {},
        .pastDirectionWords = {},
        .toDirectionWords = {},
        .clockHourWords = {},
        .halfHourDirection = std::nullopt,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"her"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"gün"},
                    .weekWords = {u"hafta"},
                    .monthWords = {u"ay"},
                    .yearWords = {u"yıl", u"sene"},
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
        .languageCodes = {u"tr"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
