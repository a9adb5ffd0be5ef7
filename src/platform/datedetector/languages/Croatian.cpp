#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& croatianDates() {
    static const DetectorLanguage table{
        .code = u"hr"_s,
        .clockMarkers = {u"u"_s},
        .hourWordsAfter = {u"sati"_s, u"sat"_s},
        .dotsOrdinals = true,
        .timeWords = {{u"podne"_s, 12}, {u"ponoć"_s, kMidnight}},
        .dayParts = {{u"ujutro"_s, 9},
                     {u"jutro"_s, 9},
                     {u"prijepodne"_s, 10},
                     {u"poslijepodne"_s, 15},
                     {u"navečer"_s, 19},
                     {u"uvečer"_s, 19},
                     {u"noću"_s, 21}},
        .tonightWords = {{u"večeras"_s, 20}, {u"jutros"_s, 9}},
        .relativeDays = {{u"idući tjedan"_s, 7}},
        .weekdayNames = {{u"srijedu"_s, 4}, {u"subotu"_s, 7}, {u"nedjelju"_s, 1}},
        .weekdayModifiers = {{u"sljedeći"_s, WeekdayMode::afterToday},
                             {u"idući"_s, WeekdayMode::afterToday},
                             {u"ovaj"_s, WeekdayMode::fromToday},
                             {u"ovu"_s, WeekdayMode::fromToday},
                             {u"prošli"_s, WeekdayMode::past}},
        .dialWords = {{u"pola"_s, -30},
                      {u"četvrt do"_s, -15},
                      {u"i pol"_s, 30, false},
                      {u"i četvrt"_s, 15, false},
                      {u"manje četvrt"_s, -15, false}},
        .spanHalves = {u"i pol"_s, u"i po"_s},
        .countMayBeLeftOut = true,
        .weekendWords = {{u"ovaj vikend"_s, 0}, {u"ovog vikenda"_s, 0}, {u"za vikend"_s, 0}},
        .relativeMonths = {{u"idući mjesec"_s, 1}},
        .dayNumberLeads = {u"do"_s},
        .dayMonthMarks = u"."_s,
        .joiners = {u"u"_s, u"do"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
