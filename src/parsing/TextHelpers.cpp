#include "parsing/TextHelpers.h"

#include "parsing/WordSet.h"
#include "platform/CharacterSet.h"
#include "platform/CodePoints.h"
#include "platform/IcuString.h"
#include "platform/Text.h"

#include <unicode/uchar.h>
#include <unicode/uniset.h>

#include <mutex>

namespace tavlin::parsing {

using namespace Qt::StringLiterals;
using platform::Regex;

QString collapseWhitespace(const QString& text) {
    // White space is the White_Space property, as "\\s" reads it; none of
    // its characters lies outside the BMP.
    QString collapsed(text.size(), Qt::Uninitialized);
    QChar* out = collapsed.data();
    bool inRun = false;
    for (const QChar c : text) {
        const bool space = c.unicode() < 0x80 ? platform::isAsciiWhitespace(c.unicode()) : u_isUWhiteSpace(c.unicode());
        if (!(space && inRun)) *out++ = space ? QChar(u' ') : c;
        inRun = space;
    }
    collapsed.truncate(out - collapsed.constData());
    return platform::trimmedWhitespaceAndNewlines(collapsed);
}

QString normalizedKey(const QString& text) {
    const QString folded = WordSet::fold(text);
    QString key;
    key.reserve(folded.size());
    if (platform::isAscii(folded)) {
        // Each unit is a character of its own ("\r\n" is dropped either way).
        for (const QChar c : folded)
            if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-') key += c;
        return key;
    }
    for (const platform::TextRange character : platform::graphemeRanges(folded)) {
        const QString c = folded.mid(character.location, character.length);
        if (platform::isLetterCharacter(c) || platform::isNumberCharacter(c) || c == u"_"_s || c == u"-"_s) key += c;
    }
    return key;
}

bool containsDecimalDigit(const QString& text) {
    for (const platform::CodePoint c : platform::CodePoints(text)) {
        if (c.value >= u'0' && c.value <= u'9') return true;
        if (c.value >= 0x80 && u_isdigit(static_cast<UChar32>(c.value))) return true;
    }
    return false;
}

struct LazyRegex::State {
    State(QString p, Regex::Options o) : pattern(std::move(p)), options(o) {}

    QString pattern;
    Regex::Options options;
    std::once_flag compiled;
    std::optional<Regex> regex;
};

LazyRegex::LazyRegex(QString pattern, Regex::Options options)
    : state_(std::make_shared<State>(std::move(pattern), options)) {}

const std::optional<Regex>& LazyRegex::get() const {
    static const std::optional<Regex> none;
    if (!state_) return none;
    std::call_once(state_->compiled, [&] { state_->regex = compileRegex(state_->pattern, state_->options); });
    return state_->regex;
}

namespace {

// The whole pattern when the part is found (or there is no part to look for).
const std::optional<Regex>* guardPassed(const GuardedPattern& pattern, const QString& text, platform::TextRange range) {
    const platform::TextRange within = range.clampedTo(text.size());
    if (!pattern.leadingWords.mayContain(QStringView(text).sliced(within.location, within.length))) return nullptr;
    const std::optional<Regex>& part = pattern.part.get();
    if (part && !part->firstMatch(text, range)) return nullptr;
    const std::optional<Regex>& whole = pattern.whole.get();
    return whole ? &whole : nullptr;
}

}  // namespace

std::optional<platform::RegexMatch> GuardedPattern::firstMatch(const QString& text, platform::TextRange range) const {
    const std::optional<Regex>* regex = guardPassed(*this, text, range);
    return regex ? (*regex)->firstMatch(text, range) : std::nullopt;
}

std::vector<platform::RegexMatch> GuardedPattern::matches(const QString& text, platform::TextRange range) const {
    const std::optional<Regex>* regex = guardPassed(*this, text, range);
    return regex ? (*regex)->matches(text, range) : std::vector<platform::RegexMatch>{};
}

GuardedPattern compileGuarded(const QString& lead, const QString& part, const QString& rest, Regex::Options options,
                              const WordSet& leadingWords) {
    // No words, no probe: an empty alternation matches everywhere.
    return {LazyRegex(lead + part + rest, options), LazyRegex(part, options),
            leadingWords.isEmpty() ? WordProbe() : WordProbe(leadingWords)};
}

std::optional<QString> capturedIfFound(const platform::RegexMatch& match, const QString& text, int group) {
    if (!match.range(group).isFound()) return std::nullopt;
    return match.captured(text, group);
}

const QString& noLetterAfterCaseInsensitive() {
    static const QString pattern = [] {
        UErrorCode status = U_ZERO_ERROR;
        icu::UnicodeSet letters(u"[\\p{L}]", status);
        if (U_FAILURE(status)) return u"(?![\\p{L}])"_s;
        letters.closeOver(USET_CASE_INSENSITIVE);
        letters.removeAllStrings();
        icu::UnicodeString set;
        letters.toPattern(set, true);
        return u"(?-i:(?!"_s + platform::fromIcu(set) + u"))"_s;
    }();
    return pattern;
}

std::optional<Regex> compileRegex(const QString& pattern, Regex::Options options) {
    return Regex::cached(pattern, options);
}

}  // namespace tavlin::parsing
