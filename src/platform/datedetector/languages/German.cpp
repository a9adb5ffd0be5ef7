#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& germanDates() {
    static const DetectorLanguage table{
        .code = u"de"_s,
        .clockMarkers = {u"um"_s},
        .hourWordsAfter = {u"Uhr"_s},
        .dotsOrdinals = true,
        .timeWords = {{u"Mittag"_s, 12}, {u"Mitternacht"_s, kMidnight}},
        .dayParts = {{u"morgens"_s, 9},
                     {u"Morgen"_s, 9},
                     {u"früh"_s, 8},
                     {u"Vormittag"_s, 9},
                     {u"vormittags"_s, 9},
                     {u"Nachmittag"_s, 15},
                     {u"nachmittags"_s, 15},
                     {u"Abend"_s, 19},
                     {u"abends"_s, 19},
                     {u"Nacht"_s, 21},
                     {u"nachts"_s, 21}},
        .partsLeadTimes = true,
        .weekdayModifiers = {{u"diesen"_s, WeekdayMode::fromToday},
                             {u"dieser"_s, WeekdayMode::fromToday},
                             {u"kommenden"_s, WeekdayMode::fromToday},
                             {u"kommender"_s, WeekdayMode::fromToday},
                             {u"nächsten"_s, WeekdayMode::afterToday},
                             {u"nächster"_s, WeekdayMode::afterToday},
                             {u"nächste Woche"_s, WeekdayMode::followingWeek},
                             {u"kommende Woche"_s, WeekdayMode::followingWeek},
                             {u"letzten"_s, WeekdayMode::past},
                             {u"letzter"_s, WeekdayMode::past},
                             {u"vorigen"_s, WeekdayMode::past},
                             {u"vergangenen"_s, WeekdayMode::past}},
        .gluesWeekdayAndPart = true,
        .dialWords = {{u"Viertel nach"_s, 15, true, ReadByRules::always},
                      {u"Viertel vor"_s, -15, true, ReadByRules::always},
                      {u"halb"_s, -30, true, ReadByRules::afterMarker},
                      {u"dreiviertel"_s, -15, true}},
        .oneAndAHalfWords = {u"anderthalb"_s, u"eineinhalb"_s},
        .weekendWords = {{u"am Wochenende"_s, 0}, {u"dieses Wochenende"_s, 0}, {u"kommendes Wochenende"_s, 0}},
        .relativeMonths = {{u"kommenden Monat"_s, 1}},
        .dayNumberLeads = {u"am"_s, u"zum"_s},
        .dayMonthMarks = u"."_s,
        .joiners = {u"am"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
