#pragma once

#include "platform/TextRange.h"

#include <QFlags>
#include <QString>

#include <unicode/uversion.h>
#include <memory>
#include <optional>
#include <vector>

U_NAMESPACE_BEGIN
class RegexPattern;
class RegexMatcher;
U_NAMESPACE_END

namespace tavlin::platform {

// One match: range(0) is the whole match, range(n) capture group n. A group
// that took no part in the match has TextRange::notFound().
class RegexMatch {
public:
    explicit RegexMatch(std::vector<TextRange> ranges) : ranges_(std::move(ranges)) {}

    int numberOfRanges() const { return static_cast<int>(ranges_.size()); }
    TextRange range(int group = 0) const;
    // The text of a group, or an empty string when it took no part.
    QString captured(const QString& text, int group = 0) const;

private:
    std::vector<TextRange> ranges_;
};

// A compiled regular expression in ICU syntax. Offsets are UTF-16 code units
// of the searched QString. Copies share the compiled pattern, which is
// immutable and may be used from several threads at once.
class Regex {
public:
    enum class Option : unsigned {
        CaseInsensitive = 1u << 0,
        AllowCommentsAndWhitespace = 1u << 1,
    };
    Q_DECLARE_FLAGS(Options, Option)

    // Nothing when the pattern does not compile.
    static std::optional<Regex> compile(const QString& pattern, Options options = {});
    // The same, compiled once and kept for the whole process (a bounded
    // number of patterns: the oldest are dropped when it is full). For
    // patterns that are built again and again from the same words.
    static std::optional<Regex> cached(const QString& pattern, Options options = {});

    // A backslash before every ASCII character that is not a letter or a
    // digit (and before pattern white space such as U+2028), so that the
    // text matches itself literally in every mode.
    static QString escapedPattern(const QString& text);
    // `text` made safe as a replacement template ("$" and "\" escaped).
    static QString escapedTemplate(const QString& text);

    // Matching within `range` treats the range's ends as the text's ends
    // (anchors match there, look-around does not see past them).
    std::optional<RegexMatch> firstMatch(const QString& text) const;
    std::optional<RegexMatch> firstMatch(const QString& text, TextRange range) const;
    std::vector<RegexMatch> matches(const QString& text) const;
    std::vector<RegexMatch> matches(const QString& text, TextRange range) const;

    // Every match replaced by `replacementTemplate` ("$1" for group 1, "\$"
    // for a dollar sign).
    QString replacingMatches(const QString& text, const QString& replacementTemplate) const;
    QString replacingMatches(const QString& text, TextRange range, const QString& replacementTemplate) const;

    // The compiled pattern and the matchers it lends: making a matcher costs
    // as much as a short search.
    class Compiled;

private:
    explicit Regex(std::shared_ptr<const Compiled> compiled);

    std::shared_ptr<const Compiled> compiled_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Regex::Options)

}  // namespace tavlin::platform
