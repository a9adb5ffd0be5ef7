#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::portuguese() {
    static const ParserVocabulary table{
        .dateFunctionWords = {u"hoje",    u"amanhã",  u"depois",   u"esta",     u"este",       u"estes",     u"estas",
                              u"noite",   u"tarde",   u"manhã",    u"meio-dia", u"meia-noite", u"madrugada", u"agora",
                              u"próximo", u"próxima", u"próximos", u"próximas", u"que",        u"vem",       u"fim",
                              u"final",   u"início",  u"de",       u"do",       u"da",         u"dos",       u"das",
                              u"o",       u"a",       u"os",       u"as",       u"antes",      u"depois",    u"até",
                              u"desde",   u"em",      u"no",       u"na",       u"para",       u"dentro",    u"dia",
                              u"dias",    u"semana",  u"semanas",  u"mês",      u"meses",      u"ano",       u"anos",
                              u"hora",    u"horas",   u"meia",     u"quarto",   u"minuto",     u"minutos"},
        .pastMarkers = {u"ontem", u"anteontem"},
        .timeWords = {u"noite", u"tarde", u"manhã", u"meio-dia", u"meia-noite", u"madrugada", u"hora", u"horas"},
        .connectors = {u"a", u"o", u"de", u"do", u"da", u"em", u"no", u"na", u"para", u"antes", u"depois", u"até",
                       u"os", u"as"},
        .locationMarkers = {u"no", u"na", u"em", u"ao", u"à", u"perto", u"junto"},
        .leaveWords = {u"saio", u"sair", u"saindo", u"deixo", u"deixar"},
        .locationLeadIns = {u"quando", u"enquanto", u"assim", u"eu", u"estiver", u"estou", u"nós"},
        .articles = {u"o", u"a", u"os", u"as", u"um", u"uma", u"do", u"da", u"dos", u"das", u"de", u"no", u"na"},
        .priorityWords = {u"urgente", u"importante", u"prioritário", u"alta", u"média", u"baixa", u"crítico"},
        .listGlue = {u"a", u"ao", u"minha", u"lista", u"em", u"no"},
        .radiusPrepositions = {u"dentro de", u"dentro"},
        .radiusUnitWords = {u"metro", u"metros"},
        .partitiveWords = {u"de"},
        .homeSynonyms = {u"casa"},
        .workSynonyms = {u"trabalho", u"escritório"},
        .purposeMarkers = {u"para", u"porque", u"e depois"},
        .taskWrappers = {},
        .durationMarkers = {u"em", u"daqui a", u"dentro de"},
        .minuteUnitWords = {u"minuto", u"minutos", u"min"},
        .hourUnitWords = {u"hora", u"horas"},
        .dayUnitWords = {u"dia", u"dias"},
        .weekUnitWords = {u"semana", u"semanas"},
        .halfWords = {},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {u"uma", u"um"},
        .clockMarkers = {u"às"},
        .ordinalSuffixes = {},
        .quarterWords = {},
        .pastDirectionWords = {},
        .toDirectionWords = {},
        .clockHourWords = {},
        .halfHourDirection = std::nullopt,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"cada", u"todos os", u"todas as", u"toda", u"todo"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"dia", u"dias"},
                    .weekWords = {u"semana", u"semanas"},
                    .monthWords = {u"mês", u"meses", u"mes"},
                    .yearWords = {u"ano", u"anos"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
                RecurrenceGrammar{
                    .everyWords = {u"de duas em duas", u"de dois em dois", u"de 2 em 2"},
                    .alternateWords = {},
                    .defaultInterval = 2,
                    .nextWords = {},
                    .dayWords = {u"dia", u"dias"},
                    .weekWords = {u"semana", u"semanas"},
                    .monthWords = {u"mês", u"meses", u"mes"},
                    .yearWords = {u"ano", u"anos"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"diariamente"},
        .weeklyWords = {u"semanalmente"},
        .monthlyWords = {u"mensalmente"},
        .yearlyWords = {u"anualmente"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"pt"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
