#pragma once

#include "platform/datedetector/Phrases.h"

#include <optional>
#include <vector>

namespace tavlin::platform::datedetector {

// A piece of a phrase: a day, a time, or an ordinal day that only counts
// when a time follows it ("on the 5th at 9am").
struct Atom {
    enum class Kind { day, time, ordinal };
    Kind kind = Kind::day;
    qsizetype start = 0;
    qsizetype end = 0;
    std::optional<WrittenDay> day;
    std::optional<WrittenTime> time;
    bool needsCompanion = false;  // an ambiguous weekday abbreviation ("sat") with nothing beside it
    bool past = false;            // "yesterday": read, but never given a time
    bool suppressed = false;      // "last friday": not read at all
};

// `candidate` replaces `best` when it reaches further.
void keepLonger(std::optional<Atom>& best, std::optional<Atom> candidate);

// One clock time as written: "5", "17:30", "9.05", "9h30", "5 p.m.".
struct ClockPart {
    enum class Form { bare, colon, dotted, letter };
    Form form = Form::bare;
    qsizetype end = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool oneDigitHour = false;  // "5", not "05"
    std::optional<bool> pm;     // the meridiem written after it

    // More than a bare number.
    bool isWritten() const { return form != Form::bare || pm.has_value(); }
    // With a meridiem, as it says; without one, an hour from 1 to 5 written
    // as a single digit is in the afternoon ("5:30" is 17:30), any other as
    // written ("9:00", "05:30", "17:30").
    int hourOfDay() const;
};

// A day of the month as written: "5", "5th", "5." (German "5. Mai").
struct DayNumber {
    int day = 0;
    qsizetype end = 0;
};

// Reads the atoms that start at a position of a tokenized text, in the
// active languages.
class PhraseReader {
public:
    PhraseReader(const TokenizedText& text, const Lexicon& lexicon, LanguageMask active, NumericDateOrder order);

    const TokenizedText& text() const { return text_; }

    std::optional<Atom> dayAt(qsizetype position) const;
    std::optional<Atom> timeAt(qsizetype position) const;
    std::optional<Atom> ordinalAt(qsizetype position) const;

    // The longest word of `kind` that starts at `position`.
    std::optional<LexiconMatch> word(qsizetype position, Lex kind) const;
    // The position after the blanks that follow `position`, or nothing
    // when no blank follows.
    std::optional<qsizetype> afterBlanks(qsizetype position) const;
    // Where a number may end: a phrase may end here, and no "." ":" "/" or
    // "-" goes on to further digits ("12/5", "9:00-10").
    bool endsCleanly(qsizetype position) const;

private:
    // Times (TimeReading.cpp).
    std::optional<ClockPart> clockPartAt(qsizetype position, bool afterMarker) const;
    std::optional<qsizetype> meridiemAt(qsizetype position, bool* pm) const;
    std::optional<WrittenTime> writtenTimeAt(qsizetype position, bool afterMarker, qsizetype* end) const;
    std::optional<WrittenTime> hourAt(qsizetype position, bool afterLead, bool afterMarker, qsizetype* end) const;
    void readStatedZone(qsizetype* position, WrittenTime* time, bool isoOffset) const;
    bool readsHourLetterAt(qsizetype position) const;

    // Days (DayReading.cpp).
    std::optional<Atom> relativeDayAt(qsizetype position) const;
    std::optional<Atom> weekdayAt(qsizetype position) const;
    std::optional<Atom> namedWeekdayAt(qsizetype position) const;
    std::optional<Atom> calendarDateAt(qsizetype position) const;
    std::optional<Atom> dayFirstDateAt(qsizetype position) const;
    std::optional<Atom> monthFirstDateAt(qsizetype position) const;
    std::optional<Atom> numericDateAt(qsizetype position) const;
    std::optional<Atom> isoDateAt(qsizetype position, int year) const;
    std::optional<DayNumber> dayNumberAt(qsizetype position) const;
    std::optional<DayNumber> ordinalNumberAt(qsizetype position) const;
    std::optional<int> yearAfter(qsizetype* position) const;
    Atom withDayPart(Atom atom) const;
    // Past the "." that may close an abbreviated name ending at `end`
    // ("Tue.", "Aug."), or `end` itself.
    qsizetype afterAbbreviationDot(qsizetype end) const;

    const TokenizedText& text_;
    const Lexicon& lexicon_;
    LanguageMask active_;
    NumericDateOrder order_;
    std::vector<std::vector<LexiconMatch>> words_;  // per token, longest first
};

}  // namespace tavlin::platform::datedetector
