#pragma once

#include "platform/Locale.h"
#include "platform/datedetector/IcuWords.h"
#include "platform/datedetector/Languages.h"
#include "platform/datedetector/Tokens.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace tavlin::platform::datedetector {

// One bit per language, in the order of detectorLanguages().
using LanguageMask = std::uint32_t;

// What a word or a fixed phrase of the lexicon is.
enum class Lex : std::uint8_t {
    relativeDay,      // number: day offset ("tomorrow" 1)
    tonight,          // number: hour of today ("tonight" 20)
    weekday,          // number: weekday; needsCompanion for an ambiguous abbreviation
    weekdayPhrase,    // number: weekday, mode ("next Wednesday")
    weekdayModifier,  // mode, followsWeekday ("next", "prochain")
    month,            // number: month
    timeWord,         // number: hour, minute ("noon" 12)
    dayPart,          // number: hour ("morning" 9)
    dayPartLead,
    clockMarker,
    articleMarker,
    hourWordBefore,
    timeLead,
    hourWordAfter,
    hourWordAfterMarker,
    joiner,
    dateJoiner,
    weekdayDateJoiner,
    ordinalSuffix,
    ordinalConnector,
    numberWord,       // number: 1 to 12, as an hour or a count
    oneWord,          // a count of one that is no hour: "a", "an"
    oneAndAHalf,      // a count of one and a half: "anderthalb"
    spanHalf,         // a half more of a span: "and a half"
    dialBefore,       // minute: added to the hour after it ("quarter past" 3); rules
    dialAfter,        // minute: added to the hour before it (4 "y media"); rules
    relativeMonth,    // number: months ahead ("next month" 1)
    weekend,          // number: weekends ahead ("this weekend" 0)
    durationLead,     // "in" 3 days
    durationTrail,    // 3 gün "sonra"
    spanWord,         // number: Span; minute: a count it holds; beforeCount, singular
    dayNumberLead,    // "am" 15.
    dayNumberWord,    // "dia" 15
    weekdayWithPart,  // number: weekday; minute: the part's hour ("zondagmiddag")
};

struct LexiconEntry {
    Lex kind = Lex::joiner;
    QStringList tokens;      // folded
    QStringList separators;  // between the tokens, canonical (" ", "-", "'")
    QString trailing;        // written after the last token ("." of "kl.")
    LanguageMask languages = 0;
    int number = 0;
    int minute = 0;
    int dayOffset = 0;  // tonight words: "morgenavond" 1
    WeekdayMode mode = WeekdayMode::fromToday;
    bool needsCompanion = false;  // an abbreviation too ambiguous to be a date alone
    bool followsWeekday = false;
    ReadByRules rules = ReadByRules::never;  // dial words
    bool countsFromSix = false;              // clock markers
    bool beforeCount = false;                // span words
    bool singular = false;                   // span words
};

struct LexiconMatch {
    const LexiconEntry* entry = nullptr;
    qsizetype end = 0;
};

// An ending glued to a number or a name ("17'de", "12-én").
struct EndingMatch {
    qsizetype end = 0;
    bool marksDay = false;   // the number it follows is a day of the month
    bool marksTime = false;  // or a clock time
    bool onlyTime = false;   // and nothing else: Hungarian "-kor"
};

// Every word the detector knows in the twenty languages: ICU's weekday and
// month names, relative-day phrases and spelled-out counts (from the table
// made of them, IcuWords.h), and the hand tables.
class Lexicon {
public:
    // Nothing when ICU gives no English weekday and month names.
    static std::optional<Lexicon> build();

    // The languages of these codes; English is always among them.
    LanguageMask languageMask(const QStringList& codes) const;
    LanguageMask readsHourLetterH() const { return hourLetterH_; }
    LanguageMask readsHourLetterU() const { return hourLetterU_; }
    LanguageMask leavesCountOut() const { return countLeftOut_; }
    LanguageMask partsLeadTimes() const { return partsLeadTimes_; }
    LanguageMask dotsOrdinals() const { return dotsOrdinals_; }
    // The languages that write a day and month without a year with `mark`.
    LanguageMask writesDayMonthWith(char16_t mark) const;
    LanguageMask writesMonthFirst() const { return monthFirst_; }

    // The entries of the active languages that start with `tokenIndex` and
    // end where a phrase may end, longest first.
    std::vector<LexiconMatch> matchesAt(const TokenizedText& text, int tokenIndex, LanguageMask active) const;
    // The ending of an active language glued on at `position`, up to
    // where a phrase may end.
    std::optional<EndingMatch> endingAt(const TokenizedText& text, qsizetype position, LanguageMask active) const;

    const std::vector<LexiconEntry>& entries() const { return entries_; }

private:
    void add(LexiconEntry entry, const QString& written);
    void addLanguage(const DetectorLanguage& language, LanguageMask bit, const LexiconWords& words);
    void addCalendarNames(const DetectorLanguage& language, LanguageMask bit, const DateSymbols& symbols);
    void addRelativePhrases(const DetectorLanguage& language, LanguageMask bit, const RelativeWords& words);
    void addHandTable(const DetectorLanguage& language, LanguageMask bit);
    void addNumberWords(const DetectorLanguage& language, LanguageMask bit);
    void addSpans(const DetectorLanguage& language, LanguageMask bit, const RelativeWords& words);
    void addGlued(const DetectorLanguage& language, LanguageMask bit);
    void index();
    void collect(std::vector<LexiconMatch>& found, const TokenizedText& text, int tokenIndex, const QString& first,
                 LanguageMask active) const;

    std::vector<LexiconEntry> entries_;
    QHash<QString, size_t> entryIndex_;  // by everything but the languages
    QHash<QString, std::vector<std::uint32_t>> byFirstToken_;
    QStringList codes_;
    struct Ending {
        LanguageMask languages = 0;
        LanguageMask marksDay = 0;
        LanguageMask marksTime = 0;
        LanguageMask onlyTime = 0;
    };
    QHash<QString, Ending> endings_;  // by mark ("'", "-", ":") and folded word
    std::vector<std::pair<QString, LanguageMask>> prefixes_;
    LanguageMask prefixed_ = 0;  // languages with prefixes
    LanguageMask countLeftOut_ = 0;
    LanguageMask partsLeadTimes_ = 0;
    LanguageMask hourLetterH_ = 0;
    LanguageMask hourLetterU_ = 0;
    LanguageMask dayMonthDot_ = 0;
    LanguageMask dayMonthDash_ = 0;
    LanguageMask monthFirst_ = 0;
    LanguageMask dotsOrdinals_ = 0;
};

}  // namespace tavlin::platform::datedetector
