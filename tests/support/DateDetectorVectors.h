#pragma once

#include "platform/Calendar.h"
#include "platform/DateComponents.h"
#include "platform/DateDetector.h"

#include <QString>
#include <QStringList>

#include <vector>

// The detector's vectors: a text, the reference it is read at, and the
// phrases it must give. The parser's tests loop over the same table to
// check that the detector and the parser's time tests agree.
namespace detector_vectors {

using namespace Qt::StringLiterals;
using tavlin::platform::Calendar;
using tavlin::platform::CalendarComponent;
using tavlin::platform::Date;
using tavlin::platform::DetectedDate;
using tavlin::platform::DetectionContext;
using tavlin::platform::NumericDateOrder;

// Europe/Amsterdam, weeks from Monday.
inline const Calendar& amsterdam() {
    static const Calendar calendar = [] {
        Calendar made = Calendar::gregorian(tavlin::platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s).value());
        made.setFirstWeekday(2);
        made.setMinimumDaysInFirstWeek(4);
        return made;
    }();
    return calendar;
}

inline Date local(int year, int month, int day, int hour, int minute = 0, int second = 0) {
    return amsterdam()
        .date({.year = year, .month = month, .day = day, .hour = hour, .minute = minute, .second = second})
        .value();
}

// The references of the table.
inline Date reference(char name) {
    switch (name) {
    case 'B': return local(2026, 8, 19, 18);  // Wed
    case 'C': return local(2026, 8, 17, 10);  // Mon
    case 'D': return local(2026, 8, 16, 10);  // Sun
    case 'E': return local(2026, 8, 21, 10);  // Fri
    case 'F': return local(2026, 8, 19, 17, 0, 30);
    case 'G': return local(2026, 8, 19, 17, 1, 1);
    case 'H': return local(2026, 8, 5, 10);   // Wed
    case 'I': return local(2026, 3, 28, 10);  // Sat, the clocks go forward the next night
    default: return local(2026, 8, 19, 10);   // A: Wed
    }
}

// A phrase as the table states it: where it lies, and its local date, with
// the time when the phrase names one ("2026-08-20 17:00"; "2026-08-20" is
// a day without a time, placed at noon).
struct Expected {
    qsizetype location;
    qsizetype length;
    QString local;
};

struct Vector {
    QString row;
    QString text;
    char reference = 'A';
    QStringList languages = {u"en"_s};
    std::vector<Expected> expected;
    NumericDateOrder order = NumericDateOrder::dayMonthYear;
};

inline DetectionContext context(const Vector& vector, Date at) {
    return {.reference = at, .calendar = amsterdam(), .languages = vector.languages, .numericOrder = vector.order};
}

inline QString describe(const DetectedDate& match) {
    const tavlin::platform::DateComponents c =
        amsterdam().dateComponents(CalendarComponent::Year | CalendarComponent::Month | CalendarComponent::Day |
                                       CalendarComponent::Hour | CalendarComponent::Minute,
                                   match.date);
    const QString day = u"%1-%2-%3"_s.arg(*c.year).arg(*c.month, 2, 10, QChar(u'0')).arg(*c.day, 2, 10, QChar(u'0'));
    const QString time = u"%1:%2"_s.arg(*c.hour, 2, 10, QChar(u'0')).arg(*c.minute, 2, 10, QChar(u'0'));
    if (match.timeWritten) return day + u' ' + time;
    return *c.hour == 12 && *c.minute == 0 ? day : day + u" at "_s + time + u" without a time"_s;
}

inline const std::vector<Vector>& vectors() {
    const QStringList fr = {u"fr"_s, u"en"_s};
    const QStringList nl = {u"nl"_s, u"en"_s};
    const auto in = [](const char16_t* code) { return QStringList{QString::fromUtf16(code), u"en"_s}; };
    static const std::vector<Vector> table = {
        // The examples the parser's rules rest on.
        {u"1"_s, u"call mum tomorrow 17:00"_s, 'A', {u"en"_s}, {{9, 14, u"2026-08-20 17:00"_s}}},
        {u"2"_s, u"tomorrow 5pm"_s, 'A', {u"en"_s}, {{0, 12, u"2026-08-20 17:00"_s}}},
        {u"3"_s, u"tomorrow"_s, 'A', {u"en"_s}, {{0, 8, u"2026-08-20"_s}}},
        {u"4"_s, u"5pm"_s, 'A', {u"en"_s}, {{0, 3, u"2026-08-19 17:00"_s}}},
        {u"5"_s, u"5pm"_s, 'G', {u"en"_s}, {{0, 3, u"2026-08-19 17:00"_s}}},
        {u"6"_s, u"5pm"_s, 'F', {u"en"_s}, {{0, 3, u"2026-08-19 17:00"_s}}},
        {u"7"_s, u"at 9.05"_s, 'A', {u"en"_s}, {{0, 7, u"2026-08-19 09:05"_s}}},
        {u"8"_s, u"friday at quarter past 3"_s, 'A', {u"en"_s}, {{0, 6, u"2026-08-21"_s}}},
        {u"9"_s, u"friday call quarter past 3"_s, 'A', {u"en"_s}, {{0, 6, u"2026-08-21"_s}}},
        {u"10"_s, u"next week Friday at 3pm"_s, 'A', {u"en"_s}, {{0, 23, u"2026-08-28 15:00"_s}}},
        {u"11"_s, u"9am the 3rd buy milk"_s, 'A', {u"en"_s}, {{0, 3, u"2026-08-19 09:00"_s}}},
        {u"12"_s, u"tomorrow 9am the 3rd buy milk"_s, 'A', {u"en"_s}, {{0, 12, u"2026-08-20 09:00"_s}}},
        {u"13"_s, u"buy milk at 9am the 3rd pick up"_s, 'A', {u"en"_s}, {{9, 6, u"2026-08-19 09:00"_s}}},
        {u"14"_s, u"gym 9:00"_s, 'C', {u"en"_s}, {{4, 4, u"2026-08-17 09:00"_s}}},
        {u"15"_s, u"gym 9:00"_s, 'D', {u"en"_s}, {{4, 4, u"2026-08-16 09:00"_s}}},
        {u"16"_s,
         u"Tavlin reschedule-test 1a2b3c4d 25 Aug 2026 10:00"_s,
         'A',
         {u"en"_s},
         {{32, 17, u"2026-08-25 10:00"_s}}},
        {u"17"_s,
         u"Tavlin reschedule-test 1a2b3c4d 20 Aug 2026 14:00"_s,
         'A',
         {u"en"_s},
         {{32, 17, u"2026-08-20 14:00"_s}}},
        {u"18"_s, u"Tavlin reschedule-test 1a2b3c4d tomorrow 9am"_s, 'A', {u"en"_s}, {{32, 12, u"2026-08-20 09:00"_s}}},
        {u"19"_s, u"Tavlin reschedule-test 1a2b3c4d friday"_s, 'A', {u"en"_s}, {{32, 6, u"2026-08-21"_s}}},
        {u"20"_s,
         u"Tavlin reschedule-test 1a2b3c4d 25 Aug 2026 10:00 tomorrow"_s,
         'A',
         {u"en"_s},
         {{32, 17, u"2026-08-25 10:00"_s}, {50, 8, u"2026-08-20"_s}}},
        {u"21"_s, u"Tavlin move-test 1a2b3c4d tomorrow 10:00"_s, 'A', {u"en"_s}, {{26, 14, u"2026-08-20 10:00"_s}}},
        {u"22"_s, u"Pay rent 1 Apr 2026"_s, 'A', {u"en"_s}, {{9, 10, u"2026-04-01"_s}}},
        {u"23a"_s, u"3 Mar 2026"_s, 'A', {u"en"_s}, {{0, 10, u"2026-03-03"_s}}},
        {u"23b"_s, u"3 Mar 2026 14:05"_s, 'A', {u"en"_s}, {{0, 16, u"2026-03-03 14:05"_s}}},
        {u"24"_s, u"5:30"_s, 'A', {u"en"_s}, {{0, 4, u"2026-08-19 17:30"_s}}},
        {u"25"_s, u"5:30 pm"_s, 'A', {u"en"_s}, {{0, 7, u"2026-08-19 17:30"_s}}},
        {u"26"_s, u"17:30"_s, 'A', {u"en"_s}, {{0, 5, u"2026-08-19 17:30"_s}}},
        {u"27a"_s, u"5h"_s, 'A', fr, {{0, 2, u"2026-08-19 17:00"_s}}},
        {u"27b"_s, u"5u"_s, 'A', nl, {{0, 2, u"2026-08-19 17:00"_s}}},
        {u"28a"_s, u"5 uur"_s, 'A', nl, {{0, 5, u"2026-08-19 17:00"_s}}},
        {u"28b"_s, u"om 5 uur"_s, 'A', nl, {{0, 8, u"2026-08-19 17:00"_s}}},
        {u"29"_s, u"05:30"_s, 'A', {u"en"_s}, {{0, 5, u"2026-08-19 05:30"_s}}},
        {u"30"_s, u"Call mom Tomorrow at noon"_s, 'A', {u"en"_s}, {{9, 16, u"2026-08-20 12:00"_s}}},
        {u"31a"_s, u"call mom tomorrow"_s, 'A', {u"en"_s}, {{9, 8, u"2026-08-20"_s}}},
        {u"31b"_s, u"bins thursday @home"_s, 'A', {u"en"_s}, {{5, 8, u"2026-08-20"_s}}},
        {u"32"_s, u"call mum friday 3pm"_s, 'A', {u"en"_s}, {{9, 10, u"2026-08-21 15:00"_s}}},
        {u"33"_s, u"take the bins out thursday @home"_s, 'A', {u"en"_s}, {{18, 8, u"2026-08-20"_s}}},
        {u"34"_s, u"call the dentist tomorrow 9:00"_s, 'A', {u"en"_s}, {{17, 13, u"2026-08-20 09:00"_s}}},
        {u"35"_s, u"aug 20"_s, 'A', {u"en"_s}, {{0, 6, u"2026-08-20"_s}}},
        {u"36a"_s, u"the 5th"_s, 'A', {u"en"_s}, {}},
        {u"36c"_s, u"quarter past 5"_s, 'A', {u"en"_s}, {}},
        {u"37"_s, u"meet at @“Blue Cafe” tomorrow"_s, 'A', {u"en"_s}, {{21, 8, u"2026-08-20"_s}}},
        {u"38a"_s, u"the 5th floor"_s, 'A', {u"en"_s}, {}},
        {u"38b"_s, u"5th-floor"_s, 'A', {u"en"_s}, {}},
        {u"39a"_s,
         u"in 20 minutes and in 2 hours"_s,
         'A',
         {u"en"_s},
         {{0, 13, u"2026-08-19 10:20"_s}, {18, 10, u"2026-08-19 12:00"_s}}},
        {u"39b"_s,
         u"within 2 weeks, in three days, in a month"_s,
         'A',
         {u"en"_s},
         {{0, 14, u"2026-09-02"_s}, {16, 13, u"2026-08-22"_s}, {31, 10, u"2026-09-19"_s}}},
        {u"39c"_s, u"in half an hour, in days, 3 days"_s, 'A', {u"en"_s}, {}},
        {u"40"_s, u"call at 10 to 5"_s, 'A', {u"en"_s}, {{5, 5, u"2026-08-19 10:00"_s}}},
        {u"41"_s, u"call on the 5th at 9am"_s, 'H', {u"en"_s}, {{5, 17, u"2026-08-05 09:00"_s}}},

        // Words left to the parser's rules and to the model.
        {u"43a"_s, u"before end of day, eod, now"_s, 'A', {u"en"_s}, {}},
        {u"43b"_s,
         u"this weekend, next week, next month"_s,
         'A',
         {u"en"_s},
         {{0, 12, u"2026-08-22"_s}, {14, 9, u"2026-08-26"_s}, {25, 10, u"2026-09-19"_s}}},
        {u"43c"_s, u"this weekend"_s, 'D', {u"en"_s}, {{0, 12, u"2026-08-16"_s}}},

        // Numeric and ISO dates; a slash date follows the region's order.
        {u"44a"_s, u"12/5"_s, 'A', {u"en"_s}, {{0, 4, u"2027-05-12"_s}}},
        {u"44b"_s, u"12/5"_s, 'A', {u"en"_s}, {{0, 4, u"2026-12-05"_s}}, NumericDateOrder::monthDayYear},
        {u"44c"_s, u"13/5"_s, 'A', {u"en"_s}, {{0, 4, u"2027-05-13"_s}}, NumericDateOrder::monthDayYear},
        {u"44d"_s, u"19/09/2026 and 12/5/26"_s, 'A', {u"en"_s}, {{0, 10, u"2026-09-19"_s}, {15, 7, u"2026-05-12"_s}}},
        {u"44e"_s, u"5.12. or 5.12.2026"_s, 'A', {u"en"_s}, {{0, 5, u"2026-12-05"_s}, {9, 9, u"2026-12-05"_s}}},
        {u"44f"_s,
         u"2026-09-19 and 19-09-2026 and 2026/09/19"_s,
         'A',
         {u"en"_s},
         {{0, 10, u"2026-09-19"_s}, {15, 10, u"2026-09-19"_s}, {30, 10, u"2026-09-19"_s}}},
        {u"44g"_s, u"version 3.12, pages 5-12, 1.2.3"_s, 'A', {u"en"_s}, {}},
        {u"45a"_s, u"2026-09-19T17:00"_s, 'A', {u"en"_s}, {{0, 16, u"2026-09-19 17:00"_s}}},
        {u"45b"_s, u"2026-09-19T15:00Z"_s, 'A', {u"en"_s}, {{0, 17, u"2026-09-19 17:00"_s}}},
        {u"45c"_s, u"2026-09-19T15:00+02:00"_s, 'A', {u"en"_s}, {{0, 22, u"2026-09-19 15:00"_s}}},
        // Zones and ranges.
        {u"46a"_s, u"call at 17:00 UTC"_s, 'A', {u"en"_s}, {{5, 12, u"2026-08-19 19:00"_s}}},
        {u"46b"_s, u"5pm GMT+2"_s, 'A', {u"en"_s}, {{0, 9, u"2026-08-19 17:00"_s}}},
        {u"47a"_s, u"5-6pm"_s, 'A', {u"en"_s}, {{0, 5, u"2026-08-19 17:00"_s}}},
        {u"47b"_s, u"9:00–10:00 standup"_s, 'A', {u"en"_s}, {{0, 10, u"2026-08-19 09:00"_s}}},
        // Weekdays: today counts, "next" does not, a passed time goes a week on.
        {u"48a"_s, u"friday"_s, 'E', {u"en"_s}, {{0, 6, u"2026-08-21"_s}}},
        {u"48b"_s, u"next friday"_s, 'E', {u"en"_s}, {{0, 11, u"2026-08-28"_s}}},
        {u"48c"_s, u"friday 9am"_s, 'E', {u"en"_s}, {{0, 10, u"2026-08-28 09:00"_s}}},
        {u"48d"_s, u"friday 11am"_s, 'E', {u"en"_s}, {{0, 11, u"2026-08-21 11:00"_s}}},
        {u"48e"_s,
         u"this friday or next wednesday"_s,
         'A',
         {u"en"_s},
         {{0, 11, u"2026-08-21"_s}, {15, 14, u"2026-08-26"_s}}},
        {u"48f"_s,
         u"Tue 25 Aug, Friday the 21st"_s,
         'A',
         {u"en"_s},
         {{0, 10, u"2026-08-25"_s}, {12, 15, u"2026-08-21"_s}}},
        {u"48g"_s, u"5pm on friday"_s, 'A', {u"en"_s}, {{0, 13, u"2026-08-21 17:00"_s}}},
        {u"48h"_s, u"friday, 3pm"_s, 'A', {u"en"_s}, {{0, 11, u"2026-08-21 15:00"_s}}},
        // Day parts and time words.
        {u"49a"_s,
         u"tomorrow morning and friday evening"_s,
         'A',
         {u"en"_s},
         {{0, 16, u"2026-08-20 09:00"_s}, {21, 14, u"2026-08-21 19:00"_s}}},
        {u"49b"_s, u"tonight"_s, 'A', {u"en"_s}, {{0, 7, u"2026-08-19 20:00"_s}}},
        {u"49c"_s, u"this afternoon"_s, 'A', {u"en"_s}, {{0, 14, u"2026-08-19 15:00"_s}}},
        {u"49d"_s, u"midnight"_s, 'A', {u"en"_s}, {{0, 8, u"2026-08-20 00:00"_s}}},
        {u"49e"_s, u"tomorrow at midnight"_s, 'A', {u"en"_s}, {{0, 20, u"2026-08-21 00:00"_s}}},
        {u"49f"_s, u"noon"_s, 'B', {u"en"_s}, {{0, 4, u"2026-08-20 12:00"_s}}},
        {u"49g"_s, u"at 5"_s, 'B', {u"en"_s}, {{0, 4, u"2026-08-20 17:00"_s}}},
        {u"49h"_s, u"at 5 o'clock, not 5 o'clock"_s, 'A', {u"en"_s}, {{0, 12, u"2026-08-19 17:00"_s}}},
        {u"49i"_s, u"tomorrow night"_s, 'A', {u"en"_s}, {{0, 8, u"2026-08-20"_s}}},
        // The clocks go forward: 02:30 does not exist that night.
        {u"50"_s, u"tomorrow 02:30"_s, 'I', {u"en"_s}, {{0, 14, u"2026-03-29 03:00"_s}}},
        // Dates that do not exist give nothing; 29 February waits for a leap year.
        {u"51a"_s, u"30 Feb, 31 Apr 2026, 25:00, 13:00 pm"_s, 'A', {u"en"_s}, {}},
        {u"51b"_s, u"29 Feb"_s, 'A', {u"en"_s}, {{0, 6, u"2028-02-29"_s}}},
        {u"51c"_s, u"at 5 Aug"_s, 'A', {u"en"_s}, {{3, 5, u"2027-08-05"_s}}},
        // Past phrases: "yesterday" is read and never takes a time; "last friday" is not read.
        {u"52a"_s, u"yesterday at 5pm"_s, 'A', {u"en"_s}, {{0, 9, u"2026-08-18"_s}, {10, 6, u"2026-08-19 17:00"_s}}},
        {u"52b"_s, u"last friday at 5pm, previous monday"_s, 'A', {u"en"_s}, {}},
        {u"52c"_s, u"today at 9am"_s, 'A', {u"en"_s}, {{0, 12, u"2026-08-19 09:00"_s}}},
        // Where a phrase may start and end; two days are never one phrase.
        {u"53a"_s, u"mondays today's tomorrowland @friday #today x/tomorrow"_s, 'A', {u"en"_s}, {}},
        {u"53b"_s, u"tomorrow friday"_s, 'A', {u"en"_s}, {{0, 8, u"2026-08-20"_s}, {9, 6, u"2026-08-21"_s}}},
        {u"53c"_s,
         u"August 20th, 2026 or the 20th of August"_s,
         'A',
         {u"en"_s},
         {{0, 17, u"2026-08-20"_s}, {25, 14, u"2026-08-20"_s}}},
        // Ambiguous abbreviations need a time, a date or a modifier.
        {u"54a"_s, u"sat sun wed"_s, 'A', {u"en"_s}, {}},
        {u"54b"_s, u"sat 5pm"_s, 'A', {u"en"_s}, {{0, 7, u"2026-08-22 17:00"_s}}},
        {u"54c"_s, u"next sat, fri"_s, 'A', {u"en"_s}, {{0, 8, u"2026-08-22"_s}, {10, 3, u"2026-08-21"_s}}},

        // A few phrases in each of the other languages.
        {u"60nl"_s,
         u"morgen om 17u15, vanavond"_s,
         'A',
         nl,
         {{0, 15, u"2026-08-20 17:15"_s}, {17, 8, u"2026-08-19 20:00"_s}}},
        {u"61nl"_s, u"volgende week woensdag"_s, 'A', nl, {{0, 22, u"2026-08-26"_s}}},
        {u"62nl"_s, u"17:00 op vrijdag"_s, 'A', nl, {{0, 16, u"2026-08-21 17:00"_s}}},
        {u"60de"_s, u"morgen um 17 Uhr"_s, 'A', in(u"de"), {{0, 16, u"2026-08-20 17:00"_s}}},
        {u"61de"_s,
         u"heute Abend, übermorgen"_s,
         'A',
         in(u"de"),
         {{0, 11, u"2026-08-19 19:00"_s}, {13, 10, u"2026-08-21"_s}}},
        {u"62de"_s,
         u"am 20. August, nächsten Freitag"_s,
         'A',
         in(u"de"),
         {{3, 10, u"2026-08-20"_s}, {15, 16, u"2026-08-21"_s}}},
        {u"63de"_s, u"17 Uhr am Freitag"_s, 'A', in(u"de"), {{0, 17, u"2026-08-21 17:00"_s}}},
        {u"60fr"_s, u"demain à 17 heures"_s, 'A', fr, {{0, 18, u"2026-08-20 17:00"_s}}},
        {u"61fr"_s, u"vendredi prochain, mercredi dernier"_s, 'A', fr, {{0, 17, u"2026-08-21"_s}}},
        {u"62fr"_s,
         u"aujourd’hui et après-demain soir"_s,
         'A',
         fr,
         {{0, 11, u"2026-08-19"_s}, {15, 17, u"2026-08-21 19:00"_s}}},
        {u"63fr"_s, u"le 1er à 9h"_s, 'A', fr, {{0, 11, u"2026-09-01 09:00"_s}}},
        {u"60es"_s, u"mañana a las 5"_s, 'A', in(u"es"), {{0, 14, u"2026-08-20 17:00"_s}}},
        {u"61es"_s, u"mañana por la tarde"_s, 'A', in(u"es"), {{0, 19, u"2026-08-20 15:00"_s}}},
        {u"62es"_s,
         u"20 de agosto de 2026, el próximo lunes"_s,
         'A',
         in(u"es"),
         {{0, 20, u"2026-08-20"_s}, {22, 16, u"2026-08-24"_s}}},
        {u"60it"_s,
         u"domani alle 17, dopodomani sera"_s,
         'A',
         in(u"it"),
         {{0, 14, u"2026-08-20 17:00"_s}, {16, 15, u"2026-08-21 19:00"_s}}},
        {u"60pt"_s,
         u"amanhã às 17h, depois de amanhã de manhã"_s,
         'A',
         in(u"pt"),
         {{0, 13, u"2026-08-20 17:00"_s}, {15, 25, u"2026-08-21 09:00"_s}}},
        {u"60pl"_s,
         u"jutro o 17, w przyszłą środę"_s,
         'A',
         in(u"pl"),
         {{0, 10, u"2026-08-20 17:00"_s}, {12, 16, u"2026-08-26"_s}}},
        {u"60da"_s,
         u"i morgen kl. 14, fredag aften"_s,
         'A',
         in(u"da"),
         {{0, 15, u"2026-08-20 14:00"_s}, {17, 12, u"2026-08-21 19:00"_s}}},
        {u"60sv"_s,
         u"imorgon klockan 9, onsdag nästa vecka"_s,
         'A',
         in(u"sv"),
         {{0, 17, u"2026-08-20 09:00"_s}, {19, 18, u"2026-08-26"_s}}},
        {u"60nb"_s,
         u"i morgen kl 14.30, neste fredag"_s,
         'A',
         in(u"nb"),
         {{0, 17, u"2026-08-20 14:30"_s}, {19, 12, u"2026-08-21"_s}}},
        {u"60cs"_s,
         u"zítra v 17 hodin, pozítří večer"_s,
         'A',
         in(u"cs"),
         {{0, 16, u"2026-08-20 17:00"_s}, {18, 13, u"2026-08-21 19:00"_s}}},
        {u"60ro"_s,
         u"mâine la ora 17, miercurea viitoare"_s,
         'A',
         in(u"ro"),
         {{0, 15, u"2026-08-20 17:00"_s}, {17, 18, u"2026-08-26"_s}}},
        {u"60hr"_s,
         u"sutra u 17 sati, prekosutra navečer"_s,
         'A',
         in(u"hr"),
         {{0, 15, u"2026-08-20 17:00"_s}, {17, 18, u"2026-08-21 19:00"_s}}},
        {u"60el"_s,
         u"ΑΥΡΙΟ 17:00, μεθαύριο το πρωί"_s,
         'A',
         in(u"el"),
         {{0, 11, u"2026-08-20 17:00"_s}, {13, 16, u"2026-08-21 09:00"_s}}},
        {u"60tr"_s,
         u"YARIN saat 15, bu akşam"_s,
         'A',
         in(u"tr"),
         {{0, 13, u"2026-08-20 15:00"_s}, {15, 8, u"2026-08-19 20:00"_s}}},
        {u"60fi"_s,
         u"huomenna klo 14.05, ensi keskiviikkona"_s,
         'A',
         in(u"fi"),
         {{0, 18, u"2026-08-20 14:05"_s}, {20, 18, u"2026-08-26"_s}}},
        {u"60hu"_s,
         u"holnap 17 órakor, ma este"_s,
         'A',
         in(u"hu"),
         {{0, 16, u"2026-08-20 17:00"_s}, {18, 7, u"2026-08-19 19:00"_s}}},
        {u"60he"_s,
         u"מָחָר בשעה 17:00, יום רביעי הבא"_s,
         'A',
         in(u"he"),
         {{0, 16, u"2026-08-20 17:00"_s}, {18, 13, u"2026-08-26"_s}}},
        {u"60sw"_s,
         u"kesho asubuhi, Jumatano ijayo"_s,
         'A',
         in(u"sw"),
         {{0, 13, u"2026-08-20 09:00"_s}, {15, 14, u"2026-08-26"_s}}},
        // A part of the day places a clock time beside it; the forms the
        // parser's own rules read are left to them without one.
        {u"65en"_s,
         u"tonight at 8, at 8 tonight"_s,
         'A',
         {u"en"_s},
         {{0, 12, u"2026-08-19 20:00"_s}, {14, 12, u"2026-08-19 20:00"_s}}},
        {u"65de"_s,
         u"heute Abend um halb 8, morgen um halb 5, 8 Uhr abends"_s,
         'A',
         in(u"de"),
         {{0, 21, u"2026-08-19 19:30"_s}, {23, 6, u"2026-08-20"_s}, {41, 12, u"2026-08-19 20:00"_s}}},
        {u"65es"_s,
         u"a las 4 y media, a las 10 de la noche"_s,
         'A',
         in(u"es"),
         {{0, 15, u"2026-08-19 16:30"_s}, {17, 20, u"2026-08-19 22:00"_s}}},
        {u"65sw"_s,
         u"saa tisa na robo; kesho saa 10:30"_s,
         'A',
         in(u"sw"),
         {{0, 16, u"2026-08-19 15:15"_s}, {18, 15, u"2026-08-20 16:30"_s}}},
        // Spans from now, and days with the endings and prefixes of their language.
        {u"66de"_s,
         u"in drei Tagen, nächsten Monat, dieses Wochenende"_s,
         'A',
         in(u"de"),
         {{0, 13, u"2026-08-22"_s}, {15, 14, u"2026-09-19"_s}, {31, 17, u"2026-08-22"_s}}},
        {u"66fi"_s, u"kolmen päivän päästä"_s, 'A', in(u"fi"), {{0, 20, u"2026-08-22"_s}}},
        {u"66hu"_s,
         u"pénteken 15:15-kor, március 12-én"_s,
         'A',
         in(u"hu"),
         {{0, 18, u"2026-08-21 15:15"_s}, {20, 13, u"2027-03-12"_s}}},
        {u"66tr"_s, u"12 Mart'ta saat 9:30'da"_s, 'A', in(u"tr"), {{0, 23, u"2027-03-12 09:30"_s}}},
        {u"66he"_s,
         u"ביום שישי ב-15:15, ב-12 במרץ"_s,
         'A',
         in(u"he"),
         {{0, 17, u"2026-08-21 15:15"_s}, {19, 9, u"2027-03-12"_s}}},
        // "one" after a clock marker may be "a": Dutch "om een cadeau te kopen" is no time.
        {u"67nl"_s,
         u"morgen om een cadeau te kopen, om een uur"_s,
         'A',
         nl,
         {{0, 6, u"2026-08-20"_s}, {31, 10, u"2026-08-19 13:00"_s}}},
        // A day and month in digits as each language writes them without a
        // year, and where the same digits are a time instead.
        {u"68de"_s,
         u"15.04, 3.12 und 1.5 kg, um 15.04"_s,
         'A',
         in(u"de"),
         {{0, 5, u"2027-04-15"_s}, {7, 4, u"2026-12-03"_s}, {24, 8, u"2026-08-19 15:04"_s}}},
        {u"68nl"_s, u"15-4"_s, 'A', nl, {{0, 4, u"2027-04-15"_s}}},
        {u"68hu"_s, u"03.20-ig, 04.15-én"_s, 'A', in(u"hu"), {{0, 8, u"2027-03-20"_s}, {10, 8, u"2027-04-15"_s}}},
        {u"68hu2"_s, u"10.30-kor"_s, 'A', in(u"hu"), {{0, 9, u"2026-08-19 10:30"_s}}},
        {u"68tr"_s, u"15.04'te"_s, 'A', in(u"tr"), {{0, 8, u"2027-04-15"_s}}},
        // A number that counts the word after it is no hour.
        {u"69es"_s, u"comprar las 3 camisetas, a las 3"_s, 'A', in(u"es"), {{25, 7, u"2026-08-19 15:00"_s}}},
        {u"69cs"_s, u"sraz v 3. patře, v 3"_s, 'A', in(u"cs"), {{17, 3, u"2026-08-19 15:00"_s}}},
        // Spans counted in words, and by the hour and a half.
        {u"70en"_s,
         u"in twenty days, in an hour and a half"_s,
         'A',
         {u"en"_s},
         {{0, 14, u"2026-09-08"_s}, {16, 21, u"2026-08-19 11:30"_s}}},
        {u"70fr"_s, u"dans quinze jours"_s, 'A', fr, {{0, 17, u"2026-09-03"_s}}},
        {u"70it"_s, u"tra un'ora e mezza"_s, 'A', in(u"it"), {{0, 18, u"2026-08-19 11:30"_s}}},
        {u"70tr"_s, u"bir buçuk saat sonra"_s, 'A', in(u"tr"), {{0, 20, u"2026-08-19 11:30"_s}}},
        // A weekday and a part of the day as one word.
        {u"71fi"_s, u"sunnuntai-iltana"_s, 'A', in(u"fi"), {{0, 16, u"2026-08-23 19:00"_s}}},
        {u"71sv"_s, u"söndagskväll"_s, 'A', in(u"sv"), {{0, 12, u"2026-08-23 19:00"_s}}},
        {u"71tr"_s, u"Pazar akşamı"_s, 'A', in(u"tr"), {{0, 12, u"2026-08-23 19:00"_s}}},
        // Hebrew prefixes: "ב" before a weekday, "ב-" after a day is its hour,
        // "ה-" before a day of the month.
        {u"72he"_s,
         u"קניות בשבת, מחר ב-8, עד ה-15"_s,
         'A',
         in(u"he"),
         {{6, 4, u"2026-08-22"_s}, {12, 7, u"2026-08-20 08:00"_s}, {24, 4, u"2026-09-15"_s}}},
        // An hour in the case its dial word asks for.
        {u"73tr"_s, u"saat dördü çeyrek geçe"_s, 'A', in(u"tr"), {{0, 22, u"2026-08-19 16:15"_s}}},
        // Words of one language are ordinary words in another.
        {u"64"_s, u"morgen leo ma"_s, 'A', {u"en"_s}, {}},
    };
    return table;
}

}  // namespace detector_vectors
