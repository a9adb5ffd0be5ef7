#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& spanishDates() {
    static const DetectorLanguage table{
        .code = u"es"_s,
        .clockMarkers = {u"a las"_s, u"a la"_s, u"las"_s, u"la"_s},
        .hourWordsAfter = {u"horas"_s, u"hora"_s},
        .readsHourLetterH = true,
        .timeWords = {{u"mediodía"_s, 12}, {u"medianoche"_s, kMidnight}},
        .dayParts = {{u"tarde"_s, 15}, {u"noche"_s, 21}},
        .tonightWords = {{u"esta noche"_s, 20}, {u"esta tarde"_s, 15}},
        .dayPartLeads = {u"por la"_s, u"en la"_s},
        .weekdayModifiers = {{u"este"_s, WeekdayMode::fromToday},
                             {u"próximo"_s, WeekdayMode::afterToday},
                             {u"pasado"_s, WeekdayMode::past, true}},
        .joiners = {u"el"_s},
        .dateJoiners = {u"de"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
