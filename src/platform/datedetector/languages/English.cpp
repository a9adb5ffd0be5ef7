#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& englishDates() {
    static const DetectorLanguage table{
        .code = u"en"_s,
        .clockMarkers = {u"at"_s},
        .hourWordsAfterMarker = {u"o'clock"_s},
        .timeWords = {{u"noon"_s, 12}, {u"midnight"_s, kMidnight}},
        .dayParts = {{u"morning"_s, 9}, {u"afternoon"_s, 15}, {u"evening"_s, 19}},
        .tonightWords = {{u"tonight"_s, 20},
                         {u"this morning"_s, 9},
                         {u"this afternoon"_s, 15},
                         {u"this evening"_s, 19}},
        .dayPartLeads = {u"in the"_s},
        .relativeDays = {{u"day after tomorrow"_s, 2}},
        .weekdayNames = {{u"tues"_s, 3}, {u"thur"_s, 5}, {u"thurs"_s, 5}},
        .standaloneAbbreviations = {u"mon"_s, u"tue"_s, u"tues"_s, u"thu"_s, u"thur"_s, u"thurs"_s, u"fri"_s},
        .weekdayModifiers = {{u"this"_s, WeekdayMode::fromToday},
                             {u"coming"_s, WeekdayMode::fromToday},
                             {u"next"_s, WeekdayMode::afterToday},
                             {u"next week"_s, WeekdayMode::followingWeek},
                             {u"last"_s, WeekdayMode::past},
                             {u"previous"_s, WeekdayMode::past}},
        .dialWords = {{u"quarter past"_s, 15, true, ReadByRules::always},
                      {u"quarter after"_s, 15, true, ReadByRules::always},
                      {u"quarter to"_s, -15, true, ReadByRules::always},
                      {u"half past"_s, 30, true}},
        .durationLeads = {u"within"_s},
        .oneWords = {u"a"_s, u"an"_s},
        .spanHalves = {u"and a half"_s},
        .weekendWords = {{u"this weekend"_s, 0},
                         {u"this coming weekend"_s, 0},
                         {u"at the weekend"_s, 0},
                         {u"on the weekend"_s, 0},
                         {u"over the weekend"_s, 0}},
        .joiners = {u"at"_s, u"on"_s},
        .dateJoiners = {u"of"_s},
        .weekdayDateJoiners = {u"the"_s},
        .ordinalSuffixes = {u"st"_s, u"nd"_s, u"rd"_s, u"th"_s},
        .ordinalConnectors = {u"on"_s, u"at"_s, u"by"_s, u"due"_s, u"for"_s, u"until"_s, u"when"_s, u"while"_s,
                              u"before"_s, u"after"_s, u"to"_s, u"the"_s, u"a"_s, u"an"_s, u"i'm"_s, u"im"_s,
                              u"i am"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
