#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& norwegianDates() {
    static const DetectorLanguage table{
        .code = u"nb"_s,
        .clockMarkers = {u"kl."_s, u"kl"_s, u"klokken"_s, u"klokka"_s},
        .dotsOrdinals = true,
        .timeWords = {{u"midnatt"_s, kMidnight}},
        .dayParts = {{u"morgen"_s, 9},
                     {u"tidlig"_s, 8},
                     {u"formiddag"_s, 9},
                     {u"ettermiddag"_s, 15},
                     {u"kveld"_s, 19},
                     {u"natt"_s, 21}},
        .tonightWords = {{u"i kveld"_s, 20}, {u"ikveld"_s, 20}, {u"i natt"_s, 21}, {u"i ettermiddag"_s, 15}},
        .dayPartLeads = {u"om"_s},
        .relativeDays = {{u"idag"_s, 0}, {u"imorgen"_s, 1}, {u"iovermorgen"_s, 2}, {u"igår"_s, -1}},
        .weekdayModifiers = {{u"på"_s, WeekdayMode::fromToday},
                             {u"kommende"_s, WeekdayMode::fromToday},
                             {u"neste"_s, WeekdayMode::afterToday},
                             {u"forrige"_s, WeekdayMode::past}},
        .gluesWeekdayAndPart = true,
        .weekdayPartJoins = {u"s"_s},
        .dialWords = {{u"kvart over"_s, 15, true, ReadByRules::always},
                      {u"kvart på"_s, -15, true, ReadByRules::always},
                      {u"halv"_s, -30, true, ReadByRules::afterMarker}},
        .spanWords = {{u"dag"_s, Span::day, false, 0, true}, {u"dager"_s, Span::day}},
        .oneAndAHalfWords = {u"halvannen"_s, u"halvannet"_s},
        .weekendWords = {{u"i helgen"_s, 0}, {u"denne helgen"_s, 0}, {u"til helgen"_s, 0}},
        .dayNumberLeads = {u"den"_s},
        .dayMonthMarks = u"."_s,
        .joiners = {u"på"_s, u"innen"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
