#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& hungarianDates() {
    static const DetectorLanguage table{
        .code = u"hu"_s,
        .hourWordsAfter = {u"órakor"_s, u"óra"_s},
        .timeWords = {{u"dél"_s, 12}, {u"éjfél"_s, kMidnight}},
        .dayParts = {{u"reggel"_s, 9}, {u"délelőtt"_s, 9}, {u"délután"_s, 15}, {u"este"_s, 19}, {u"éjszaka"_s, 21}},
        .weekdayModifiers = {{u"jövő"_s, WeekdayMode::afterToday},
                             {u"következő"_s, WeekdayMode::afterToday},
                             {u"múlt"_s, WeekdayMode::past},
                             {u"előző"_s, WeekdayMode::past}},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
