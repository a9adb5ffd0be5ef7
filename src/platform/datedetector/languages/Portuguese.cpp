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
        .dayPartLeads = {u"à"_s, u"de"_s},
        .weekdayModifiers = {{u"esta"_s, WeekdayMode::fromToday},
                             {u"este"_s, WeekdayMode::fromToday},
                             {u"próxima"_s, WeekdayMode::afterToday},
                             {u"próximo"_s, WeekdayMode::afterToday},
                             {u"passada"_s, WeekdayMode::past, true},
                             {u"passado"_s, WeekdayMode::past, true}},
        .joiners = {u"na"_s, u"no"_s},
        .dateJoiners = {u"de"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
