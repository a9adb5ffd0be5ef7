#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& italianDates() {
    static const DetectorLanguage table{
        .code = u"it"_s,
        .clockMarkers = {u"alle"_s},
        .hourWordsBefore = {u"ore"_s},
        .readsHourLetterH = true,
        .timeWords = {{u"mezzogiorno"_s, 12}, {u"mezzanotte"_s, kMidnight}},
        .dayParts = {{u"mattina"_s, 9}, {u"pomeriggio"_s, 15}, {u"sera"_s, 19}, {u"notte"_s, 21}},
        .tonightWords = {{u"questa sera"_s, 20},
                         {u"questa mattina"_s, 9},
                         {u"questo pomeriggio"_s, 15},
                         {u"questa notte"_s, 21}},
        .weekdayModifiers = {{u"questo"_s, WeekdayMode::fromToday},
                             {u"prossimo"_s, WeekdayMode::afterToday, true},
                             {u"scorso"_s, WeekdayMode::past, true}},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
