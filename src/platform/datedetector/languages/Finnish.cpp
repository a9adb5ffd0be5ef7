#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& finnishDates() {
    static const DetectorLanguage table{
        .code = u"fi"_s,
        .clockMarkers = {u"klo"_s},
        .hourWordsBefore = {u"kello"_s},
        .dotsOrdinals = true,
        .timeWords = {{u"keskipäivä"_s, 12}, {u"keskiyö"_s, kMidnight}},
        .dayParts = {{u"aamulla"_s, 9},
                     {u"aamu"_s, 9},
                     {u"aamupäivällä"_s, 10},
                     {u"iltapäivä"_s, 15},
                     {u"iltapäivällä"_s, 15},
                     {u"illalla"_s, 19},
                     {u"ilta"_s, 19},
                     {u"yöllä"_s, 22},
                     {u"aamuna"_s, 9},
                     {u"iltapäivänä"_s, 15},
                     {u"iltana"_s, 19},
                     {u"yönä"_s, 22}},
        .tonightWords = {{u"tänä iltana"_s, 20}, {u"tänä aamuna"_s, 9}},
        .weekdayModifiers = {{u"tänä"_s, WeekdayMode::fromToday},
                             {u"ensi"_s, WeekdayMode::afterToday},
                             {u"viime"_s, WeekdayMode::past}},
        .gluesWeekdayAndPart = true,
        .weekdayPartJoins = {u"-"_s},
        .dialWords = {{u"puoli"_s, -30}, {u"varttia yli"_s, 15}, {u"varttia vaille"_s, -15}},
        .durationTrails = {u"kuluttua"_s},
        .oneAndAHalfWords = {u"puolentoista"_s},
        .countMayBeLeftOut = true,
        .weekendWords = {{u"viikonloppuna"_s, 0}, {u"tänä viikonloppuna"_s, 0}},
        .dayMonthMarks = u"."_s,
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
