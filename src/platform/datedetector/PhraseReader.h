#pragma once

#include "platform/datedetector/Phrases.h"

#include <optional>
#include <vector>

namespace tavlin::platform::datedetector {

// A piece of a phrase: a day, a time, an ordinal day that only counts
// when a time follows it ("on the 5th at 9am"), or a span from now that
// ends at a time ("in 2 hours").
struct Atom {
    enum class Kind { day, time, ordinal, span };
    Kind kind = Kind::day;
    qsizetype start = 0;
    qsizetype end = 0;
    std::optional<WrittenDay> day;
    std::optional<WrittenTime> time;
    std::optional<int> minutesAhead;  // span
    bool needsCompanion = false;      // an ambiguous weekday abbreviation ("sat") with nothing beside it
    bool past = false;                // "yesterday": read, but never given a time
    bool suppressed = false;          // "last friday": not read at all
    bool partOfDay = false;           // a day's time is a part of the day ("tonight"): a clock time beside it wins
    bool needsPartOfDay = false;      // a time the parser's rules read, kept only beside a part of the day
    bool looseDate = false;           // a day and month with no mark closing them ("15.04"): a time after a marker
};

// A time said on a 12-hour dial placed in the half of the day that a part
// of the day (its usual hour: 9 morning, 15 afternoon, 19 evening, 21
// night) gives it; a time that says its half already stays.
WrittenTime placedInPartOfDay(WrittenTime time, int partHour);

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

// A day of the month as written: "5", "5th", "5." (German "5. Mai"),
// "12-én".
struct DayNumber {
    int day = 0;
    qsizetype end = 0;
    bool marked = false;  // by an ending of the day, not only by what stands around it
    bool ended = false;   // by any ending ("8'de"): no month follows
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
    std::optional<Atom> spanAt(qsizetype position) const;

    // The longest word of `kind` that starts at `position`.
    std::optional<LexiconMatch> word(qsizetype position, Lex kind) const;
    // Where the next word may start after a word: past the blanks after
    // it, or right after it when it ends in a joining mark ("ב-15:15").
    std::optional<qsizetype> afterWord(const LexiconMatch& match) const;
    // The position after the blanks that follow `position`, or nothing
    // when no blank follows.
    std::optional<qsizetype> afterBlanks(qsizetype position) const;
    // Where a number may end: a phrase may end here, and no "." ":" "/" or
    // "-" goes on to further digits ("12/5", "9:00-10").
    bool endsCleanly(qsizetype position) const;
    // Where a number that ends at `position` ends with its glued ending
    // ("17'de", "7-kor"), or nothing when it cannot end there.
    std::optional<qsizetype> numberEnd(qsizetype position) const;

private:
    // A count of one to twelve in words, or of up to three digits.
    struct Count {
        int value = 0;
        qsizetype end = 0;
        bool inWords = false;
        bool timeEnding = false;                    // "7-kor"
        bool half = false;                          // and a half: "anderthalb", "bir buçuk"
        LanguageMask languages = ~LanguageMask{0};  // of the words
    };
    std::optional<LexiconMatch> spanWordAt(qsizetype position, bool beforeCount, LanguageMask languages) const;
    // Whether a count stands right before `position`, blanks between.
    bool followsACount(qsizetype position) const;
    std::optional<Count> countAt(qsizetype position, bool asHour) const;

    // Times (TimeReading.cpp).
    std::optional<ClockPart> clockPartAt(qsizetype position, bool afterMarker) const;
    std::optional<qsizetype> meridiemAt(qsizetype position, bool* pm) const;
    std::optional<WrittenTime> writtenTimeAt(qsizetype position, bool afterMarker, qsizetype* end) const;
    std::optional<WrittenTime> hourAt(qsizetype position, bool afterLead, bool afterMarker, qsizetype* end,
                                      bool afterArticle = false) const;
    bool countsAWord(qsizetype end, bool afterArticle) const;
    std::optional<WrittenTime> dialAt(qsizetype position, bool afterMarker, qsizetype* end, bool* rulesRead) const;
    void readDialAfter(WrittenTime* time, qsizetype* end, bool* rulesRead, bool afterMarker) const;
    Atom withTrailingPartOfDay(Atom atom) const;
    std::optional<LexiconMatch> partOfDayAfter(qsizetype end) const;
    void readStatedZone(qsizetype* position, WrittenTime* time, bool isoOffset) const;
    bool readsHourLetterAt(qsizetype position) const;

    // Days (DayReading.cpp).
    std::optional<Atom> relativeDayAt(qsizetype position) const;
    std::optional<Atom> dayOfMonthAt(qsizetype position) const;
    std::optional<Atom> weekdayAt(qsizetype position) const;
    std::optional<Atom> namedWeekdayAt(qsizetype position) const;
    std::optional<Atom> calendarDateAt(qsizetype position) const;
    std::optional<Atom> dayFirstDateAt(qsizetype position) const;
    std::optional<Atom> monthFirstDateAt(qsizetype position) const;
    std::optional<Atom> numericDateAt(qsizetype position) const;
    bool looseDayMonth(char16_t mark, int firstDigits, int secondDigits, qsizetype end) const;
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
