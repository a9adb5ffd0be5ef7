#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

// Swahili hours count from six: "saa tisa" is three o'clock and "saa moja
// jioni" seven in the evening. Written times without "saa" ("17:00") are
// the 24-hour clock's.
const DetectorLanguage& swahiliDates() {
    static const DetectorLanguage table{
        .code = u"sw"_s,
        .hourWordsBefore = {u"saa"_s},
        .timeWords = {{u"adhuhuri"_s, 12}},
        .dayParts = {{u"alfajiri"_s, 5}, {u"asubuhi"_s, 9}, {u"mchana"_s, 15}, {u"jioni"_s, 19}, {u"usiku"_s, 21}},
        .relativeDays = {{u"keshokutwa"_s, 2}},
        .weekdayModifiers = {{u"hii"_s, WeekdayMode::fromToday, true},
                             {u"ijayo"_s, WeekdayMode::afterToday, true},
                             {u"iliyopita"_s, WeekdayMode::past, true}},
        .dialWords = {{u"na nusu"_s, 30, false},
                      {u"na robo"_s, 15, false},
                      {u"kasoro robo"_s, -15, false},
                      {u"kasorobo"_s, -15, false}},
        .hoursCountFromSix = true,
        .spanHalves = {u"na nusu"_s},
        .weekendWords = {{u"wikendi hii"_s, 0}, {u"mwisho wa wiki"_s, 0}},
        .dayNumberWords = {u"tarehe"_s},
        .joiners = {u"kabla ya"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
