#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

// Swahili clock hours ("saa 5") count from dawn and are not read; Swahili
// times are read in the written forms only ("17:00").
const DetectorLanguage& swahiliDates() {
    static const DetectorLanguage table{
        .code = u"sw"_s,
        .timeWords = {{u"adhuhuri"_s, 12}},
        .dayParts = {{u"asubuhi"_s, 9}, {u"mchana"_s, 15}, {u"jioni"_s, 19}, {u"usiku"_s, 21}},
        .weekdayModifiers = {{u"hii"_s, WeekdayMode::fromToday, true},
                             {u"ijayo"_s, WeekdayMode::afterToday, true},
                             {u"iliyopita"_s, WeekdayMode::past, true}},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
