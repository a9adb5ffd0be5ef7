#pragma once

#include "parsing/WordSet.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace tavlin::parsing {

// A quick test run before a case-insensitive pattern built on a word set's
// alternation, to skip the pattern on the many lines where it cannot match:
// ICU gives such patterns no first character to look for, so each costs a
// try at every position of the line. The probe only answers "no" for ASCII
// lines (case folding is lower-casing there) and says "maybe" for any other,
// leaving the pattern to decide; it never answers "no" where the pattern
// would match.
class WordProbe {
public:
    WordProbe() = default;
    explicit WordProbe(const WordSet& words);

    // Whether some word of the set may occur anywhere in `text`.
    bool mayContain(QStringView text) const;
    // Whether some word of the set may end `text`, white space after it aside.
    bool mayEnd(QStringView text) const;
    // Whether some word of the set may end the text before a run of white
    // space and also begin the text after it ("at at").
    bool mayRepeatAcrossBlank(QStringView text) const;

private:
    bool answers(QStringView text) const;

    std::vector<QString> asciiWords_;  // case folded, those whose folding is ASCII
    bool answers_ = false;             // false when the words leave it unable to tell
};

}  // namespace tavlin::parsing
