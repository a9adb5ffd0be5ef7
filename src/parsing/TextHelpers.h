#pragma once

#include "parsing/WordProbe.h"
#include "platform/Regex.h"
#include "platform/TextRange.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

// Text and pattern helpers that the stages of the quick-add reader share,
// and that its callers use to compare names as it does.
namespace tavlin::parsing {

// Every run of white space made one blank, and the ends trimmed.
QString collapseWhitespace(const QString& text);

// The key that list and place names are compared by: folded, and only
// letters, digits, "_" and "-" kept ("Work Stuff" → "workstuff").
QString normalizedKey(const QString& text);

// Whether a character of the text is a decimal digit, as "\d" reads one:
// a pattern that needs a digit is not worth running on text without.
bool containsDecimalDigit(const QString& text);

// The stretch of the text that the range covers.
inline QString textAt(const QString& text, platform::TextRange range) { return text.mid(range.location, range.length); }

// What the group captured, or nothing when it took no part in the match
// (as against capturing nothing).
std::optional<QString> capturedIfFound(const platform::RegexMatch& match, const QString& text, int group);

// "(?![\p{L}])" for a case-insensitive pattern, which ICU would otherwise
// close over case at each compile (milliseconds): the closed set made once,
// read with case.
const QString& noLetterAfterCaseInsensitive();

// A compiled pattern, or nothing when it does not compile (the stage that
// asked then finds nothing).
std::optional<platform::Regex> compileRegex(const QString& pattern, platform::Regex::Options options = {});

// A pattern compiled when it is first searched with: a vocabulary brings
// many patterns, and its lines need few of them. Copies share the compiled
// pattern.
class LazyRegex {
public:
    LazyRegex() = default;
    LazyRegex(QString pattern, platform::Regex::Options options);

    // Nothing when the pattern does not compile, or when there is none.
    const std::optional<platform::Regex>& get() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

// A pattern, and a pattern that matches inside every match of it and is
// much quicker to look for (a part of it that no match can leave out):
// where the part is nowhere, the whole pattern is not run. A part led by a
// set of words is itself slow to look for: a probe of the words comes first.
struct GuardedPattern {
    LazyRegex whole;
    LazyRegex part;
    WordProbe leadingWords;

    std::optional<platform::RegexMatch> firstMatch(const QString& text, platform::TextRange range) const;
    std::vector<platform::RegexMatch> matches(const QString& text, platform::TextRange range) const;
};
// `lead + part + rest`; the part must be no optional piece and no branch of
// an alternation, and must not refer to groups outside it. `leadingWords`,
// when given, are the words one of which every match of the part holds.
GuardedPattern compileGuarded(const QString& lead, const QString& part, const QString& rest,
                              platform::Regex::Options options, const WordSet& leadingWords = {});

}  // namespace tavlin::parsing
