#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& finnishDates() {
    static const DetectorLanguage table{
        .code = u"fi"_s,
        .clockMarkers = {u"klo"_s},
        .hourWordsBefore = {u"kello"_s},
        .timeWords = {{u"keskipäivä"_s, 12}, {u"keskiyö"_s, kMidnight}},
        .dayParts = {{u"aamulla"_s, 9},
                     {u"aamu"_s, 9},
                     {u"aamupäivällä"_s, 10},
                     {u"iltapäivä"_s, 15},
                     {u"iltapäivällä"_s, 15},
                     {u"illalla"_s, 19},
                     {u"ilta"_s, 19},
                     {u"yöllä"_s, 22}},
        .tonightWords = {{u"tänä iltana"_s, 20}, {u"tänä aamuna"_s, 9}},
        .weekdayModifiers = {{u"tänä"_s, WeekdayMode::fromToday},
                             {u"ensi"_s, WeekdayMode::afterToday},
                             {u"viime"_s, WeekdayMode::past}},
        .dialWords = {{u"puoli"_s, -30}, {u"varttia yli"_s, 15}, {u"varttia vaille"_s, -15}},
        .durationTrails = {u"kuluttua"_s},
        .countMayBeLeftOut = true,
        .weekendWords = {{u"viikonloppuna"_s, 0}, {u"tänä viikonloppuna"_s, 0}},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
