#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& finnishDates() {
    static const DetectorLanguage table{
        .code = u"fi"_s,
        .clockMarkers = {u"klo"_s},
        .hourWordsBefore = {u"kello"_s},
        .timeWords = {{u"keskipäivä"_s, 12}, {u"keskiyö"_s, kMidnight}},
        .dayParts = {{u"aamulla"_s, 9}, {u"aamu"_s, 9}, {u"iltapäivä"_s, 15}, {u"illalla"_s, 19}, {u"ilta"_s, 19}},
        .weekdayModifiers = {{u"tänä"_s, WeekdayMode::fromToday},
                             {u"ensi"_s, WeekdayMode::afterToday},
                             {u"viime"_s, WeekdayMode::past}},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
