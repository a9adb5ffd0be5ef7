#pragma once

#include "platform/Locale.h"

#include <QString>
#include <QStringView>

#include <iterator>
#include <span>
#include <string_view>
#include <vector>

namespace tavlin::platform::datedetector {

// A count written out in words ("dreiundzwanzig" 23).
struct SpelledNumber {
    int number = 0;
    std::u16string_view word;

    QString text() const { return QString(reinterpret_cast<const QChar*>(word.data()), std::ssize(word)); }
};

// The same, owning its word: what ICU gives at run time.
struct SpelledNumberText {
    int number = 0;
    QString word;
};

// The counts the detector reads in words, spelled as CLDR's spelled-out
// number rules spell them in every counting case and gender (one to sixty,
// then the tens to ninety), each spelling once, in the order of ICU's rule
// sets. Making ICU's formatter costs some 4 M instructions a language, so
// the lexicon reads them from a table generated from this
// (scripts/make-number-words); the tests hold the table to it.
std::vector<SpelledNumberText> spelledNumbersByIcu(const Locale& locale);

// The table: the spellings of the detector language `code` ("de"), as
// spelledNumbersByIcu gave them when it was generated; empty for a code it
// does not hold.
std::span<const SpelledNumber> spelledNumbers(QStringView code);

}  // namespace tavlin::platform::datedetector
