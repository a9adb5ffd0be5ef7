#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& germanDates() {
    static const DetectorLanguage table{
        .code = u"de"_s,
        .clockMarkers = {u"um"_s},
        .hourWordsAfter = {u"Uhr"_s},
        .timeWords = {{u"Mittag"_s, 12}, {u"Mitternacht"_s, kMidnight}},
        .dayParts = {{u"morgens"_s, 9}, {u"Vormittag"_s, 9}, {u"Nachmittag"_s, 15}, {u"Abend"_s, 19}, {u"Nacht"_s, 21}},
        .weekdayModifiers = {{u"diesen"_s, WeekdayMode::fromToday},
                             {u"dieser"_s, WeekdayMode::fromToday},
                             {u"kommenden"_s, WeekdayMode::fromToday},
                             {u"kommender"_s, WeekdayMode::fromToday},
                             {u"nächsten"_s, WeekdayMode::afterToday},
                             {u"nächster"_s, WeekdayMode::afterToday},
                             {u"letzten"_s, WeekdayMode::past},
                             {u"letzter"_s, WeekdayMode::past},
                             {u"vorigen"_s, WeekdayMode::past},
                             {u"vergangenen"_s, WeekdayMode::past}},
        .joiners = {u"am"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
