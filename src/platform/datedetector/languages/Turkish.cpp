#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& turkishDates() {
    static const DetectorLanguage table{
        .code = u"tr"_s,
        .clockMarkers = {u"saat"_s},
        .timeWords = {{u"öğlen"_s, 12}, {u"öğle"_s, 12}, {u"geceyarısı"_s, kMidnight}},
        .dayParts = {{u"sabah"_s, 9}, {u"akşam"_s, 19}, {u"gece"_s, 21}},
        .tonightWords = {{u"bu akşam"_s, 20}, {u"bu sabah"_s, 9}, {u"bu gece"_s, 21}},
        .weekdayModifiers = {{u"bu"_s, WeekdayMode::fromToday},
                             {u"gelecek"_s, WeekdayMode::afterToday},
                             {u"önümüzdeki"_s, WeekdayMode::afterToday},
                             {u"geçen"_s, WeekdayMode::past}},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
