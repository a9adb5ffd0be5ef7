#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::czech() {
    static const ParserVocabulary table{
        .dateFunctionWords = {u"dnes",    u"dneska", u"zítra",   u"pozítří",      u"dnes večer", u"teď",
                              u"hned",    u"příští", u"příštím", u"nadcházející", u"tento",      u"tato",
                              u"toto",    u"tomto",  u"konec",   u"konce",        u"konci",      u"začátek",
                              u"začátku", u"do",     u"před",    u"po",           u"od",         u"za",
                              u"v",       u"ve",     u"na",      u"nejpozději",   u"během",      u"den",
                              u"dne",     u"dny",    u"dnů",     u"dní",          u"týden",      u"týdne",
                              u"týdnů",   u"víkend", u"víkendu", u"měsíc",        u"měsíce",     u"rok",
                              u"roku",    u"večer",  u"ráno",    u"dopoledne",    u"odpoledne",  u"poledne",
                              u"půlnoc",  u"noc",    u"noci",    u"hodin",        u"hodina",     u"hodiny",
                              u"hodinu",  u"půl",    u"čtvrt",   u"minut",        u"minuty",     u"minutu"},
        .pastMarkers = {u"včera", u"předevčírem"},
        .timeWords = {u"večer", u"ráno", u"dopoledne", u"odpoledne", u"poledne", u"půlnoc", u"noc", u"hodin",
                      u"hodina"},
        .connectors = {u"do", u"před", u"po", u"od", u"za", u"v", u"ve", u"na", u"nejpozději"},
        .locationMarkers = {u"v", u"ve", u"na", u"u", u"blízko", u"vedle"},
        .leaveWords = {u"odcházím", u"odejdu", u"opouštím", u"opustit"},
        .locationLeadIns = {u"když", u"až", u"jakmile", u"během", u"já", u"jsem", u"budu", u"my"},
        .articles = {u"z", u"ze"},
        .priorityWords = {u"naléhavé", u"naléhavý", u"důležité", u"důležitý", u"priorita", u"vysoká", u"střední",
                          u"nízká", u"kritické"},
        .listGlue = {u"do", u"mého", u"seznamu", u"na", u"v"},
        .radiusPrepositions = {u"do", u"během"},
        .radiusUnitWords = {u"metr", u"metrů", u"metry"},
        .partitiveWords = {},
        .homeSynonyms = {u"domov", u"domu", u"doma"},
        .workSynonyms = {u"práce", u"práci", u"kancelář", u"kanceláři"},
        .purposeMarkers = {u"abych", u"aby", u"protože", u"a pak"},
        .taskWrappers = {},
        .durationMarkers = {u"za"},
        .minuteUnitWords = {u"minut", u"minuty", u"minutu", u"min"},
        .hourUnitWords = {u"hodina", u"hodiny", u"hodin", u"hodinu"},
        .dayUnitWords = {u"den", u"dny", u"dnů", u"dní"},
        .weekUnitWords = {u"týden", u"týdny", u"týdnů"},
        .halfWords = {},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {},
        .clockMarkers = {u"v"},
        .ordinalSuffixes = {},
        .quarterWords = {},
        .pastDirectionWords = {},
        .toDirectionWords = {},
        .clockHourWords = {},
        .halfHourDirection = std::nullopt,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"každý", u"každá", u"každé", u"každou", u"každých"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"den", u"dny", u"dní", u"dne"},
                    .weekWords = {u"týden", u"týdny", u"týdnů"},
                    .monthWords = {u"měsíc", u"měsíce", u"měsíců"},
                    .yearWords = {u"rok", u"roky", u"let"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"denně"},
        .weeklyWords = {u"týdně"},
        .monthlyWords = {u"měsíčně"},
        .yearlyWords = {u"ročně"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"cs"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
