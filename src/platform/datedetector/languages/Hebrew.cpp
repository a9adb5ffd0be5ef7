#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& hebrewDates() {
    static const DetectorLanguage table{
        .code = u"he"_s,
        .clockMarkers = {u"בשעה"_s},
        .timeWords = {{u"חצות"_s, kMidnight}, {u"צהריים"_s, 12}, {u"בצהריים"_s, 12}},
        .dayParts = {{u"בבוקר"_s, 9}, {u"בערב"_s, 19}, {u"בלילה"_s, 21}},
        .tonightWords = {{u"הבוקר"_s, 9}, {u"הצהריים"_s, 12}, {u"הערב"_s, 20}, {u"הלילה"_s, 21}},
        .weekdayModifiers = {{u"הקרוב"_s, WeekdayMode::fromToday, true},
                             {u"הבא"_s, WeekdayMode::afterToday, true},
                             {u"שעבר"_s, WeekdayMode::past, true}},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
