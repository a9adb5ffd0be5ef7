#pragma once

#include "platform/CharacterSet.h"
#include "platform/TextRange.h"

#include <QFlags>
#include <QString>
#include <QStringView>

#include <vector>

// String operations over ICU, with the behaviour that typed text and stored
// reminders are compared by. Offsets are UTF-16 code units of the QString.
namespace tavlin::platform {

// Trimming at both ends.
QString trimmed(const QString& text, const CharacterSet& set);
// Blanks are white space other than line breaks.
QString trimmedWhitespace(const QString& text);
QString trimmedWhitespaceAndNewlines(const QString& text);

// Equal once both are canonically composed: "é" and "e\u0301" are one name.
bool canonicallyEqual(const QString& a, const QString& b);

// Whether every UTF-16 unit is ASCII.
bool isAscii(QStringView text);
// The ASCII characters of White_Space, as "\s" reads it: tab to carriage return, and space.
constexpr bool isAsciiWhitespace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
constexpr char16_t asciiLowercased(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c; }

// Case mapping in the "en_US_POSIX" locale: full mappings ("ß" → "SS"), no
// language-specific rules (no Turkish dotless i).
QString lowercasedPosix(const QString& text);
QString uppercasedPosix(const QString& text);

enum class FoldOption : unsigned {
    CaseInsensitive = 1u << 0,
    DiacriticInsensitive = 1u << 1,
};
Q_DECLARE_FLAGS(FoldOptions, FoldOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(FoldOptions)

// Case folding is full case folding; diacritic folding decomposes, drops
// nonspacing marks (general category Mn) and recomposes. Case goes first,
// because full case folding can itself produce combining marks ("İ").
QString folded(const QString& text, FoldOptions options);

// A word as typed words and vocabulary words are compared: "ı" and "İ" read
// as "i" (so that Turkish forms meet), then case and diacritics folded.
QString foldedWord(const QString& text);

enum class SearchOption : unsigned {
    CaseInsensitive = 1u << 0,
    DiacriticInsensitive = 1u << 1,
    RegularExpression = 1u << 2,  // the target is an ICU pattern; only CaseInsensitive also applies
    Anchored = 1u << 3,           // the match must start where the search range starts
    Backwards = 1u << 4,          // the last match instead of the first (not with RegularExpression)
};
Q_DECLARE_FLAGS(SearchOptions, SearchOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(SearchOptions)

// Where `target` occurs in `text` (within `within`, the whole text when
// absent); TextRange::notFound() when nowhere, or when a pattern does not
// compile. With the insensitive options the range is one of the original
// text and always covers whole characters (grapheme clusters).
TextRange rangeOf(const QString& text, const QString& target, SearchOptions options = {});
TextRange rangeOf(const QString& text, const QString& target, SearchOptions options, TextRange within);
bool contains(const QString& text, const QString& target, SearchOptions options = {});

// Every occurrence of `target` replaced. With RegularExpression the
// replacement is a template ("$1").
QString replacingOccurrences(const QString& text, const QString& target, const QString& replacement,
                             SearchOptions options = {});

// Locale-aware comparisons of the current locale, as lists of names are
// searched and sorted for people: containment ignores case and diacritics;
// comparison orders digits by numeric value ("file 2" before "file 10").
bool localizedStandardContains(const QString& text, const QString& target);
int localizedStandardCompare(const QString& a, const QString& b);

// localizedStandardContains for many searches: a text folded once to be
// searched for many targets, and a target folded once to be sought in many
// texts. StandardSearchText(t).contains(StandardSearchTarget(x)) equals
// localizedStandardContains(t, x).
class StandardSearchTarget {
public:
    StandardSearchTarget() = default;
    explicit StandardSearchTarget(const QString& target);
    const QString& folded() const { return folded_; }

private:
    QString folded_;
};

class StandardSearchText {
public:
    StandardSearchText() = default;
    explicit StandardSearchText(const QString& text);
    bool contains(const StandardSearchTarget& target) const;

private:
    QString folded_;
    // Where each character of the text starts in `folded_`, and its end;
    // empty when every position is such a start (plain ASCII without "\r\n").
    std::vector<qsizetype> characterStarts_;
};

// User-perceived characters (extended grapheme clusters).
qsizetype graphemeCount(const QString& text);
std::vector<TextRange> graphemeRanges(const QString& text);
// The first character of text.mid(index), as graphemeRanges reads it, found
// without reading the rest of the text; empty at or past the end.
QString characterAt(const QString& text, qsizetype index);

// Properties of a character (a grapheme cluster), decided by its first code
// point: white space including newlines (Unicode White_Space), punctuation
// (general category P*), letter (Alphabetic), number (has a numeric type).
bool isWhitespaceCharacter(const QString& character);
bool isPunctuationCharacter(const QString& character);
bool isLetterCharacter(const QString& character);
bool isNumberCharacter(const QString& character);

}  // namespace tavlin::platform
