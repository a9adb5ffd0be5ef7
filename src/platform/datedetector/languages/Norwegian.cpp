#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& norwegianDates() {
    static const DetectorLanguage table{
        .code = u"nb"_s,
        .clockMarkers = {u"kl."_s, u"kl"_s, u"klokken"_s, u"klokka"_s},
        .timeWords = {{u"midnatt"_s, kMidnight}},
        .dayParts = {{u"morgen"_s, 9}, {u"formiddag"_s, 9}, {u"ettermiddag"_s, 15}, {u"kveld"_s, 19}, {u"natt"_s, 21}},
        .tonightWords = {{u"i kveld"_s, 20}, {u"i natt"_s, 21}},
        .relativeDays = {{u"idag"_s, 0}, {u"imorgen"_s, 1}, {u"iovermorgen"_s, 2}, {u"igår"_s, -1}},
        .weekdayModifiers = {{u"på"_s, WeekdayMode::fromToday},
                             {u"kommende"_s, WeekdayMode::fromToday},
                             {u"neste"_s, WeekdayMode::afterToday},
                             {u"forrige"_s, WeekdayMode::past}},
        .joiners = {u"på"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
