#pragma once

#include "parsing/WordSet.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace tavlin::parsing {

// A quick test run before a case-insensitive pattern built on a word set's
// alternation, to skip the pattern on the many lines where it cannot match:
// ICU gives such patterns no first character to look for, so each costs a
// try at every position of the line. The probe folds the line as the
// patterns do and looks for the words there; it never answers "no" where
// the pattern would match.
class WordProbe {
public:
    WordProbe() = default;
    explicit WordProbe(const WordSet& words);

    // Whether some word of the set may occur anywhere in `text`.
    bool mayContain(QStringView text) const;
    // Whether some word of the set may end `text`, white space after it aside.
    bool mayEnd(QStringView text) const;
    // The same of a word with white space before it, as in "\s+(?:words)$".
    bool mayEndAfterBlank(QStringView text) const;
    // The same of text[0, end), looking back only as far as a word reaches.
    bool mayEndAt(QStringView text, qsizetype end) const;
    // Whether some word of the set may end the text before a run of white
    // space and also begin the text after it ("at at").
    bool mayRepeatAcrossBlank(QStringView text) const;

private:
    // The words to look for in `text` folded into `folded`; none when the
    // probe cannot tell.
    const std::vector<QString>* foldedFor(QStringView text, QString& folded) const;
    bool mayEnd(QStringView text, bool afterBlank) const;

    // A word may start with `unit` only when its bit is set; several
    // units share a bit.
    static std::uint64_t unitBit(QChar unit) { return std::uint64_t{1} << (unit.unicode() % 64); }
    bool mayStartWith(QChar unit) const { return (firstUnits_ & unitBit(unit)) != 0; }

    std::vector<QString> asciiWords_;   // case folded, those whose folding is ASCII
    std::vector<QString> foldedWords_;  // case folded, all
    std::uint64_t firstUnits_ = 0;      // unitBit of each folded word's first unit
    qsizetype longestWord_ = 0;         // in UTF-16 units, as written
    bool answers_ = false;              // false when the words leave it unable to tell
};

}  // namespace tavlin::parsing
