#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::finnish() {
    static const ParserVocabulary table{
        .dateFunctionWords = {u"tänään",    u"huomenna",  u"ylihuomenna", u"tänä iltana", u"nyt",         u"heti",
                              u"ensi",      u"seuraava",  u"seuraavana",  u"tämä",        u"tänä",        u"tällä",
                              u"loppu",     u"loppuun",   u"lopussa",     u"alku",        u"alussa",      u"mennessä",
                              u"ennen",     u"jälkeen",   u"asti",        u"saakka",      u"sisällä",     u"päivä",
                              u"päivänä",   u"päivää",    u"viikko",      u"viikolla",    u"viikonloppu", u"kuukausi",
                              u"kuukauden", u"vuosi",     u"vuoden",      u"ilta",        u"illalla",     u"aamu",
                              u"aamulla",   u"aamupäivä", u"iltapäivä",   u"keskipäivä",  u"keskiyö",     u"yö",
                              u"yöllä",     u"kello",     u"klo",         u"puoli",       u"vartti",      u"tunti",
                              u"tuntia",    u"minuutti",  u"minuuttia"},
        .pastMarkers = {u"eilen", u"toissapäivänä"},
        .timeWords = {u"ilta", u"illalla", u"aamu", u"aamulla", u"iltapäivä", u"keskipäivä", u"keskiyö", u"yö",
                      u"kello"},
        .connectors = {u"ennen", u"jälkeen", u"asti", u"saakka", u"mennessä", u"ja"},
        .locationMarkers = {u"lähellä", u"luona", u"vieressä"},
        .leaveWords = {u"lähtiessä", u"lähden", u"poistuessa", u"poistun"},
        .locationLeadIns = {u"kun", u"kunnes", u"heti", u"minä", u"olen", u"me"},
        .articles = {},
        .priorityWords = {u"kiireellinen", u"kiireinen", u"tärkeä", u"prioriteetti", u"korkea", u"keskitaso", u"matala",
                          u"kriittinen"},
        .listGlue = {u"listalle", u"listaan", u"lista"},
        .radiusPrepositions = {u"sisällä"},
        .radiusUnitWords = {u"metri", u"metriä", u"metrin"},
        .partitiveWords = {},
        .homeSynonyms = {u"koti", u"kotona", u"kotiin"},
        .workSynonyms = {u"työ", u"töissä", u"työpaikka", u"työpaikalla", u"toimisto", u"toimistolla"},
        .purposeMarkers = {u"jotta", u"koska", u"ja sitten"},
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
        .clockMarkers = {u"klo"},
        .ordinalSuffixes = {},
        .quarterWords = {},
        .pastDirectionWords = {},
        .toDirectionWords = {},
        .clockHourWords = {},
        .halfHourDirection = std::nullopt,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"joka"},
                    .alternateWords = {u"toinen"},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"päivä"},
                    .weekWords = {u"viikko"},
                    .monthWords = {u"kuukausi"},
                    .yearWords = {u"vuosi"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"päivittäin"},
        .weeklyWords = {u"viikoittain"},
        .monthlyWords = {u"kuukausittain"},
        .yearlyWords = {u"vuosittain"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"fi"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
