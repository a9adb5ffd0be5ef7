#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& croatianDates() {
    static const DetectorLanguage table{
        .code = u"hr"_s,
        .clockMarkers = {u"u"_s},
        .hourWordsAfter = {u"sati"_s, u"sat"_s},
        .timeWords = {{u"podne"_s, 12}, {u"ponoć"_s, kMidnight}},
        .dayParts = {{u"ujutro"_s, 9}, {u"jutro"_s, 9}, {u"poslijepodne"_s, 15}, {u"navečer"_s, 19}},
        .weekdayModifiers = {{u"sljedeći"_s, WeekdayMode::afterToday},
                             {u"idući"_s, WeekdayMode::afterToday},
                             {u"ovaj"_s, WeekdayMode::fromToday},
                             {u"prošli"_s, WeekdayMode::past}},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
