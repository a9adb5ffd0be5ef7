#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& hebrewDates() {
    static const DetectorLanguage table{
        .code = u"he"_s,
        .clockMarkers = {u"בשעה"_s},
        .timeLeads = {u"ב-"_s, u"ב־"_s},
        .timeWords = {{u"חצות"_s, kMidnight}, {u"צהריים"_s, 12}, {u"בצהריים"_s, 12}},
        .dayParts = {{u"בבוקר"_s, 9}, {u"אחר הצהריים"_s, 15}, {u"בערב"_s, 19}, {u"בלילה"_s, 21}},
        .tonightWords = {{u"הבוקר"_s, 9}, {u"הצהריים"_s, 12}, {u"הערב"_s, 20}, {u"הלילה"_s, 21}},
        .relativeDays = {{u"שבוע הבא"_s, 7}},
        .standaloneAbbreviations = {u"שבת"_s},
        .weekdayModifiers = {{u"הקרוב"_s, WeekdayMode::fromToday, true},
                             {u"הבא"_s, WeekdayMode::afterToday, true},
                             {u"שעבר"_s, WeekdayMode::past, true}},
        .dialWords = {{u"וחצי"_s, 30, false}, {u"ורבע"_s, 15, false}, {u"רבע ל-"_s, -15}, {u"רבע ל־"_s, -15}},
        .durationLeads = {u"תוך"_s, u"בתוך"_s},
        .spanHalves = {u"וחצי"_s},
        .weekendWords = {{u"סוף השבוע"_s, 0}, {u"סופ״ש"_s, 0}, {u"סופ\"ש"_s, 0}},
        .relativeMonths = {{u"חודש הבא"_s, 1}},
        .dayNumberWords = {u"ב-"_s, u"ב־"_s, u"ה-"_s, u"ה־"_s},
        .dayMonthMarks = u"."_s,
        // Glued before a word: in, on, at ("ביום שישי"); to, for; and.
        .prefixes = {u"ב"_s, u"ל"_s, u"ו"_s, u"וב"_s, u"ול"_s},
        .joiners = {u"ב-"_s, u"ב־"_s, u"עד"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
