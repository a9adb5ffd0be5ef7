#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& portugueseDates() {
    static const DetectorLanguage table{
        .code = u"pt"_s,
        .clockMarkers = {u"às"_s},
        .hourWordsAfter = {u"horas"_s, u"hora"_s},
        .readsHourLetterH = true,
        .timeWords = {{u"meio-dia"_s, 12}, {u"meia-noite"_s, kMidnight}},
        .dayParts = {{u"manhã"_s, 9}, {u"tarde"_s, 15}, {u"noite"_s, 21}},
        .tonightWords = {{u"esta noite"_s, 20}, {u"esta manhã"_s, 9}, {u"esta tarde"_s, 15}},
        .dayPartLeads = {u"à"_s, u"de"_s, u"da"_s},
        .relativeDays = {{u"semana que vem"_s, 7}, {u"a semana que vem"_s, 7}},
        .weekdayNames = {{u"segunda"_s, 2}, {u"terça"_s, 3}, {u"quarta"_s, 4}, {u"quinta"_s, 5}, {u"sexta"_s, 6}},
        .weekdayModifiers = {{u"esta"_s, WeekdayMode::fromToday},
                             {u"este"_s, WeekdayMode::fromToday},
                             {u"próxima"_s, WeekdayMode::afterToday},
                             {u"próximo"_s, WeekdayMode::afterToday},
                             {u"passada"_s, WeekdayMode::past, true},
                             {u"passado"_s, WeekdayMode::past, true}},
        .dialWords = {{u"e meia"_s, 30, false},
                      {u"e um quarto"_s, 15, false},
                      {u"e quinze"_s, 15, false},
                      {u"menos um quarto"_s, -15, false},
                      {u"menos quinze"_s, -15, false},
                      {u"um quarto para as"_s, -15}},
        .durationLeads = {u"daqui a"_s, u"dentro de"_s},
        .spanHalves = {u"e meia"_s, u"e meio"_s},
        .weekendWords = {{u"este fim de semana"_s, 0}, {u"neste fim de semana"_s, 0}, {u"no fim de semana"_s, 0}},
        .relativeMonths = {{u"mês que vem"_s, 1}, {u"o mês que vem"_s, 1}},
        .dayNumberWords = {u"dia"_s},
        .joiners = {u"na"_s, u"no"_s, u"ao"_s, u"até"_s},
        .dateJoiners = {u"de"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
