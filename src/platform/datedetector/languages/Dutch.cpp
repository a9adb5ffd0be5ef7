#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& dutchDates() {
    static const DetectorLanguage table{
        .code = u"nl"_s,
        .clockMarkers = {u"om"_s},
        .hourWordsAfter = {u"uur"_s},
        .readsHourLetterU = true,
        .timeWords = {{u"middernacht"_s, kMidnight}},
        .dayParts = {{u"ochtend"_s, 9},
                     {u"ochtends"_s, 9},
                     {u"morgens"_s, 9},
                     {u"middag"_s, 15},
                     {u"middags"_s, 15},
                     {u"avond"_s, 19},
                     {u"avonds"_s, 19},
                     {u"nachts"_s, 21}},
        .tonightWords = {{u"vanavond"_s, 20},
                         {u"vanochtend"_s, 9},
                         {u"vanmiddag"_s, 15},
                         {u"morgenavond"_s, 19, 0, 1},
                         {u"morgenochtend"_s, 9, 0, 1},
                         {u"morgenmiddag"_s, 15, 0, 1},
                         {u"morgenvroeg"_s, 8, 0, 1}},
        .dayPartLeads = {u"s"_s},
        .weekdayModifiers = {{u"deze"_s, WeekdayMode::fromToday},
                             {u"komende"_s, WeekdayMode::fromToday},
                             {u"aanstaande"_s, WeekdayMode::fromToday},
                             {u"volgende"_s, WeekdayMode::afterToday},
                             {u"vorige"_s, WeekdayMode::past},
                             {u"afgelopen"_s, WeekdayMode::past}},
        .nextWeekdayNamesFollowingWeek = true,
        .gluesWeekdayAndPart = true,
        .dialWords = {{u"kwart over"_s, 15, true, ReadByRules::always},
                      {u"kwart voor"_s, -15, true, ReadByRules::always},
                      {u"half"_s, -30, true, ReadByRules::afterMarker}},
        .oneAndAHalfWords = {u"anderhalf"_s, u"anderhalve"_s},
        .weekendWords = {{u"dit weekend"_s, 0}, {u"komend weekend"_s, 0}, {u"in het weekend"_s, 0}},
        .dayMonthMarks = u"-"_s,
        .joiners = {u"op"_s, u"voor"_s},
        .ordinalSuffixes = {u"e"_s, u"de"_s, u"ste"_s},
        .ordinalConnectors = {u"bij"_s, u"om"_s, u"op"_s, u"voor"_s, u"naar"_s, u"tegen"_s, u"uiterlijk"_s, u"tot"_s,
                              u"van"_s, u"de"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
