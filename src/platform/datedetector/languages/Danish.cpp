#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& danishDates() {
    static const DetectorLanguage table{
        .code = u"da"_s,
        .clockMarkers = {u"kl."_s, u"kl"_s, u"klokken"_s},
        .dotsOrdinals = true,
        .timeWords = {{u"midnat"_s, kMidnight}},
        .dayParts = {{u"morgen"_s, 9},
                     {u"tidlig"_s, 8},
                     {u"formiddag"_s, 9},
                     {u"eftermiddag"_s, 15},
                     {u"aften"_s, 19},
                     {u"nat"_s, 21}},
        .tonightWords = {{u"i aften"_s, 20}, {u"iaften"_s, 20}, {u"i nat"_s, 21}, {u"i eftermiddag"_s, 15}},
        .dayPartLeads = {u"om"_s},
        .relativeDays = {{u"idag"_s, 0}, {u"imorgen"_s, 1}, {u"iovermorgen"_s, 2}, {u"igår"_s, -1}},
        .weekdayModifiers = {{u"på"_s, WeekdayMode::fromToday},
                             {u"kommende"_s, WeekdayMode::fromToday},
                             {u"næste"_s, WeekdayMode::afterToday},
                             {u"sidste"_s, WeekdayMode::past},
                             {u"forrige"_s, WeekdayMode::past}},
        .dialWords = {{u"kvart over"_s, 15, true, ReadByRules::always},
                      {u"kvart i"_s, -15, true, ReadByRules::always},
                      {u"halv"_s, -30, true, ReadByRules::afterMarker}},
        .oneAndAHalfWords = {u"halvanden"_s, u"halvandet"_s},
        .weekendWords = {{u"i weekenden"_s, 0}, {u"denne weekend"_s, 0}, {u"til weekenden"_s, 0}},
        .dayNumberLeads = {u"den"_s},
        .dayMonthMarks = u"."_s,
        .joiners = {u"på"_s, u"inden"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
