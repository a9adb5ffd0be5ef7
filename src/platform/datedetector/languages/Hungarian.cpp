#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& hungarianDates() {
    static const DetectorLanguage table{
        .code = u"hu"_s,
        .hourWordsAfter = {u"órakor"_s, u"óra"_s},
        .dotsOrdinals = true,
        .timeWords = {{u"dél"_s, 12}, {u"délben"_s, 12}, {u"éjfél"_s, kMidnight}, {u"éjfélkor"_s, kMidnight}},
        .dayParts = {{u"reggel"_s, 9}, {u"délelőtt"_s, 9}, {u"délután"_s, 15}, {u"este"_s, 19}, {u"éjszaka"_s, 21}},
        .partsLeadTimes = true,
        .relativeDays = {{u"jövő héten"_s, 7}, {u"a jövő héten"_s, 7}},
        // Weekdays with the ending of "on": "pénteken", on Friday.
        .weekdayNames = {{u"hétfőn"_s, 2},
                         {u"kedden"_s, 3},
                         {u"szerdán"_s, 4},
                         {u"csütörtökön"_s, 5},
                         {u"pénteken"_s, 6},
                         {u"szombaton"_s, 7}},
        .weekdayModifiers = {{u"jövő"_s, WeekdayMode::followingWeek},
                             {u"következő"_s, WeekdayMode::afterToday},
                             {u"múlt"_s, WeekdayMode::past},
                             {u"előző"_s, WeekdayMode::past}},
        .numberWords = {{u"két"_s, 2}},
        .dialWords = {{u"fél"_s, -30}, {u"negyed"_s, -45}, {u"háromnegyed"_s, -15}},
        .oneAndAHalfWords = {u"másfél"_s},
        .weekendWords = {{u"hétvégén"_s, 0}, {u"a hétvégén"_s, 0}, {u"ezen a hétvégén"_s, 0}},
        .relativeMonths = {{u"jövő hónapban"_s, 1}, {u"a jövő hónapban"_s, 1}},
        .dayMonthMarks = u"."_s,
        .monthFirst = true,
        // Endings after a hyphen: "7-kor" at seven, "12-én" on the 12th.
        .endings = {u"-ig"_s, u"-tól"_s, u"-től"_s},
        .dayEndings = {u"-án"_s, u"-én"_s, u"-ján"_s, u"-jén"_s, u"-a"_s, u"-e"_s, u"-je"_s, u"-ja"_s, u"-i"_s},
        .clockEndings = {u"-kor"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
