#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& swedishDates() {
    static const DetectorLanguage table{
        .code = u"sv"_s,
        .clockMarkers = {u"kl."_s, u"kl"_s, u"klockan"_s},
        .timeWords = {{u"midnatt"_s, kMidnight}},
        .dayParts = {{u"morgon"_s, 9},
                     {u"bitti"_s, 8},
                     {u"förmiddag"_s, 9},
                     {u"eftermiddag"_s, 15},
                     {u"kväll"_s, 19},
                     {u"natt"_s, 21}},
        .tonightWords = {{u"i kväll"_s, 20}, {u"ikväll"_s, 20}, {u"i eftermiddag"_s, 15}, {u"i natt"_s, 21}},
        .dayPartLeads = {u"på"_s},
        .relativeDays = {{u"idag"_s, 0}, {u"imorgon"_s, 1}, {u"iövermorgon"_s, 2}, {u"igår"_s, -1}},
        .weekdayModifiers = {{u"på"_s, WeekdayMode::fromToday},
                             {u"kommande"_s, WeekdayMode::fromToday},
                             {u"nästa"_s, WeekdayMode::afterToday},
                             {u"förra"_s, WeekdayMode::past}},
        .nextWeekdayNamesFollowingWeek = true,
        .gluesWeekdayAndPart = true,
        .weekdayPartJoins = {u"s"_s},
        .dialWords = {{u"kvart över"_s, 15, true, ReadByRules::always},
                      {u"kvart i"_s, -15, true, ReadByRules::always},
                      {u"halv"_s, -30, true, ReadByRules::afterMarker}},
        .oneAndAHalfWords = {u"en och en halv"_s, u"en och halv"_s},
        .weekendWords = {{u"i helgen"_s, 0}, {u"den här helgen"_s, 0}, {u"till helgen"_s, 0}},
        .dayNumberLeads = {u"den"_s},
        .endings = {u":e"_s, u":a"_s},
        .dayEndings = {u":e"_s, u":a"_s},
        .joiners = {u"på"_s, u"före"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
