#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& spanishDates() {
    static const DetectorLanguage table{
        .code = u"es"_s,
        .clockMarkers = {u"a las"_s, u"a la"_s, u"las"_s, u"la"_s},
        .articleMarkers = {u"las"_s, u"la"_s},
        .hourWordsAfter = {u"horas"_s, u"hora"_s},
        .readsHourLetterH = true,
        .timeWords = {{u"mediodía"_s, 12}, {u"medianoche"_s, kMidnight}},
        .dayParts = {{u"mañana"_s, 9}, {u"tarde"_s, 15}, {u"noche"_s, 21}},
        .tonightWords = {{u"esta noche"_s, 20}, {u"esta tarde"_s, 15}, {u"esta mañana"_s, 9}},
        .dayPartLeads = {u"por la"_s, u"en la"_s, u"de la"_s},
        .relativeDays = {{u"la semana que viene"_s, 7}, {u"próxima semana"_s, 7}},
        .weekdayModifiers = {{u"este"_s, WeekdayMode::fromToday},
                             {u"próximo"_s, WeekdayMode::afterToday},
                             {u"pasado"_s, WeekdayMode::past, true}},
        .dialWords = {{u"y media"_s, 30, false}, {u"y cuarto"_s, 15, false}, {u"menos cuarto"_s, -15, false}},
        .durationLeads = {u"en"_s},
        .spanHalves = {u"y media"_s, u"y medio"_s},
        .weekendWords = {{u"este fin de semana"_s, 0}, {u"este finde"_s, 0}},
        .relativeMonths = {{u"el mes que viene"_s, 1}, {u"próximo mes"_s, 1}},
        .dayNumberLeads = {u"el"_s},
        .dayNumberWords = {u"día"_s},
        .joiners = {u"el"_s, u"a"_s, u"al"_s, u"antes de"_s},
        .dateJoiners = {u"de"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
