#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The words of each language that ICU's calendar data does not give: clock
// markers, hour words, parts of the day, weekday modifiers and the small
// words that join a date to a time. Every word that states a time of day
// must also be one the parser recognises as a time expression for that
// language, or the parser would keep the date and lose the time.
namespace tavlin::platform::datedetector {

// Hour value of a word that means the midnight at the end of a day.
inline constexpr int kMidnight = 24;

// A word and the time of day it stands for.
struct TimedWord {
    QString word;
    int hour = 0;
    int minute = 0;
    int dayOffset = 0;  // "morgenavond": tomorrow evening
};

// A word and a number: a day offset, a weekday (1 = Sunday … 7 = Saturday).
struct NumberedWord {
    QString word;
    int number = 0;
};

// Which occurrence of a weekday a phrase names.
enum class WeekdayMode {
    fromToday,      // "friday", "this friday": the first from today on
    afterToday,     // "next friday": the first after today
    followingWeek,  // "volgende week vrijdag": in the next calendar week
    past,           // "last friday": not read at all
};

struct WeekdayModifier {
    QString word;
    WeekdayMode mode = WeekdayMode::fromToday;
    bool followsWeekday = false;  // "vendredi prochain"
};

// Which of a clock time's forms the parser's own rules read, so that the
// detector leaves them to the rules unless a part of the day goes with
// them ("heute Abend um halb 8" is the detector's, "morgen um halb 5" the
// rules').
enum class ReadByRules { never, afterMarker, always };

// A clock time said around its hour: "quarter past" 3, 4 "y media".
struct DialWord {
    QString word;
    int minutes = 0;  // added to the hour named: 15, 30, -15, -30, -45
    bool beforeHour = true;
    ReadByRules rules = ReadByRules::never;
};

// How long the unit of a span is.
enum class Span { minute, hour, day, week, month };

struct SpanWord {
    QString word;
    Span span = Span::day;
    bool beforeCount = false;  // Swahili "baada ya siku 3"
    int count = 0;             // a count the word holds itself: Hebrew "יומיים" 2
    bool singular = false;     // may count one alone where counts may be left out
};

struct DetectorLanguage {
    QString code;

    // Times of day.
    QStringList clockMarkers;  // before a time: "at", "om", "kl."
    // Clock markers that are also articles: before a number and a word they
    // count what the word names (Spanish "las 3 camisetas").
    QStringList articleMarkers;
    QStringList timeLeads;                // glued to a time before it, as no marker of the parser: Hebrew "ב-"
    QStringList hourWordsBefore;          // before an hour: "kello", "ora"
    QStringList hourWordsAfter;           // after an hour: "Uhr", "uur", "heures"
    QStringList hourWordsAfterMarker;     // after an hour that follows a marker: "o'clock"
    bool readsHourLetterH = false;        // "17h", "9h30"
    bool readsHourLetterU = false;        // "17u", "17u15"
    bool dotsOrdinals = false;            // "3." before a word is an ordinal (Czech "v 3. patře"), no hour
    std::vector<TimedWord> timeWords;     // times on their own: "noon", "midnight"
    std::vector<TimedWord> dayParts;      // after a day: "morning", "evening"
    std::vector<TimedWord> tonightWords;  // today at a time: "tonight", "vanavond"
    QStringList dayPartLeads;             // between a day and its part: "in the", "por la"
    bool partsLeadTimes = false;          // a part of the day before a time places it: "akşam 8'de"

    // Days, beyond ICU's names and relative phrases.
    std::vector<NumberedWord> relativeDays;  // day offsets: "idag" 0, "day after tomorrow" 2
    std::vector<NumberedWord> weekdayNames;  // "tues", "thurs"
    QStringList standaloneAbbreviations;     // abbreviated weekdays that are dates alone: "mon", "fri"
    std::vector<WeekdayModifier> weekdayModifiers;
    bool nextWeekdayNamesFollowingWeek = false;  // ICU's "next Wednesday" names the next week
    bool gluesWeekdayAndPart = false;            // "Donnerstagvormittag", "zondagmiddag"
    QStringList weekdayPartJoins;                // besides none: Swedish "s" of "söndagskväll", Finnish "-"

    // Clock times said in words.
    std::vector<NumberedWord> numberWords;  // beyond CLDR's cardinals: Polish hours "piątej" 5, Hungarian "két" 2
    std::vector<DialWord> dialWords;
    bool hoursCountFromSix = false;  // after a clock marker: Swahili "saa tisa" is three o'clock

    // Spans from now ("in three days"), beyond ICU's relative phrases.
    QStringList durationLeads;   // "within"
    QStringList durationTrails;  // Finnish "kuluttua"
    std::vector<SpanWord> spanWords;
    QStringList oneWords;            // counts of one that are no numbers: "a", "an"
    QStringList oneAndAHalfWords;    // "anderthalb", "másfél"
    QStringList spanHalves;          // a half after a count or its unit: "et demie", Turkish "buçuk"
    bool countMayBeLeftOut = false;  // Polish "za godzinę": a span word in the singular counts one

    // Days beyond ICU's names and phrases.
    std::vector<NumberedWord> weekendWords;    // the coming weekend: "this weekend" 0
    std::vector<NumberedWord> relativeMonths;  // "mese prossimo" 1
    QStringList dayNumberLeads;                // before a bare day of the month: "am" 15., "le" 15
    QStringList dayNumberWords;                // the same, and part of the phrase: "dia" 15, "tarehe" 15
    // The marks a day and month are written with when no year follows and
    // nothing closes them: "." of German "15.04", "-" of Dutch "15-4".
    QString dayMonthMarks;
    bool monthFirst = false;  // numeric dates put the month first: Hungarian "04.15-én"

    // What is glued to a word or a number.
    QStringList prefixes;  // before a word: Hebrew "ב" of "ביום שישי"
    // After a number or a name, with the mark that joins them: Turkish
    // "'de" of "17'de", Hungarian "-kor" of "7-kor".
    QStringList endings;
    QStringList dayEndings;   // those that make a number a day of the month: "-én", "'inde"
    QStringList timeEndings;  // those that make a number a clock time: Turkish "'de"
    // Those that only ever follow a clock time, so that a dotted pair before
    // one is a time and no date: Hungarian "10.30-kor".
    QStringList clockEndings;

    // Words that join the parts of a phrase.
    QStringList joiners;             // between a time and a day: "on", "am"
    QStringList dateJoiners;         // between a day number and a month: "of", "de"
    QStringList weekdayDateJoiners;  // between a weekday and a day number: "the"
    QStringList ordinalSuffixes;     // "th" of "5th"
    QStringList ordinalConnectors;   // before an ordinal day that a time follows: "on", "the"
};

// The twenty tables, in the order of the parser's language codes.
const std::vector<const DetectorLanguage*>& detectorLanguages();

const DetectorLanguage& englishDates();
const DetectorLanguage& dutchDates();
const DetectorLanguage& germanDates();
const DetectorLanguage& frenchDates();
const DetectorLanguage& spanishDates();
const DetectorLanguage& italianDates();
const DetectorLanguage& portugueseDates();
const DetectorLanguage& polishDates();
const DetectorLanguage& danishDates();
const DetectorLanguage& swedishDates();
const DetectorLanguage& norwegianDates();
const DetectorLanguage& czechDates();
const DetectorLanguage& romanianDates();
const DetectorLanguage& croatianDates();
const DetectorLanguage& greekDates();
const DetectorLanguage& turkishDates();
const DetectorLanguage& finnishDates();
const DetectorLanguage& hungarianDates();
const DetectorLanguage& hebrewDates();
const DetectorLanguage& swahiliDates();

}  // namespace tavlin::platform::datedetector
