#pragma once

#include "platform/Locale.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <iterator>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// What the detector's lexicon reads from ICU for each of its languages:
// the calendar names, the relative-date formatter's phrases and the counts
// spelled out. Making ICU's formatters and symbols for twenty languages
// cost some 125 M instructions at every start, so the lexicon reads them
// from a table generated from the functions here
// (scripts/make-icu-words); the tests hold the table to them.
namespace tavlin::platform::datedetector {

// A word of the generated table as a string.
inline QString tableText(std::u16string_view word) {
    return QString(reinterpret_cast<const QChar*>(word.data()), std::ssize(word));
}

// A count written out in words ("dreiundzwanzig" 23).
struct SpelledNumber {
    int number = 0;
    std::u16string_view word;
};

// The same, owning its word: what ICU gives at run time.
struct SpelledNumberText {
    int number = 0;
    QString word;
};

// The counts the detector reads in words, spelled as CLDR's spelled-out
// number rules spell them in every counting case and gender (one to sixty,
// then the tens to ninety), each spelling once, in the order of ICU's rule
// sets.
std::vector<SpelledNumberText> spelledNumbersByIcu(const Locale& locale);

// The table: the spellings of the detector language `code` ("de"), as
// spelledNumbersByIcu gave them when it was generated; empty for a code it
// does not hold.
std::span<const SpelledNumber> spelledNumbers(QStringView code);

// The phrases of ICU's relative-date formatter (long style) that the
// lexicon reads; an empty one where ICU gives none.
struct RelativeWords {
    static constexpr int kDirections = 3;  // this, next, last
    static constexpr std::array<int, 5> kSpanCounts{1, 2, 3, 5, 11};

    QStringList days;      // two days back, yesterday, today, tomorrow, two days on
    QStringList ahead;     // next week, next month
    QStringList weekdays;  // Sunday to Saturday, each this, next and last ("next Wednesday")
    // Minutes, hours, days, weeks and months from now, each of kSpanCounts
    // ("in 3 days"), with plain blanks.
    QStringList spans;
};

// Everything the lexicon reads from ICU for one language.
struct LexiconWords {
    DateSymbols symbols;
    RelativeWords relative;

    // Every list, in the order the table keeps them.
    std::array<QStringList*, 12> lists();
};

LexiconWords lexiconWordsByIcu(const Locale& locale);

// The table's words of the detector language `code`, as lexiconWordsByIcu
// gave them when it was generated; nothing for a code it does not hold.
std::optional<LexiconWords> lexiconWords(QStringView code);

// The generated table's lists of `code`, in the order of
// LexiconWords::lists(); empty for a code it does not hold.
using WordList = std::span<const std::u16string_view>;
std::span<const WordList> lexiconWordLists(QStringView code);

}  // namespace tavlin::platform::datedetector
