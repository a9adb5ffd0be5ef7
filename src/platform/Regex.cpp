#include "platform/Regex.h"

#include "platform/IcuString.h"

#include <unicode/regex.h>
#include <unicode/uchar.h>

#include <QHash>

#include <mutex>

namespace tavlin::platform {

namespace {

uint32_t icuFlags(Regex::Options options) {
    uint32_t flags = 0;
    if (options & Regex::Option::CaseInsensitive) flags |= UREGEX_CASE_INSENSITIVE;
    if (options & Regex::Option::AllowCommentsAndWhitespace) flags |= UREGEX_COMMENTS;
    return flags;
}

RegexMatch currentMatch(const icu::RegexMatcher& matcher) {
    std::vector<TextRange> ranges;
    const int groups = matcher.groupCount();
    ranges.reserve(static_cast<size_t>(groups) + 1);
    for (int group = 0; group <= groups; ++group) {
        UErrorCode status = U_ZERO_ERROR;
        const int32_t start = matcher.start(group, status);
        const int32_t end = matcher.end(group, status);
        ranges.push_back(U_SUCCESS(status) && start >= 0 ? TextRange::fromBounds(start, end) : TextRange::notFound());
    }
    return RegexMatch(std::move(ranges));
}

}  // namespace

// Matchers are lent out one search at a time and come back reset: a search
// never calls out while it runs, so one idle matcher per thread in use is
// all a pattern ever keeps. A matcher keeps the backtracking memory it grew,
// so one that searched a long text, or failed, is not kept.
class Regex::Compiled {
public:
    explicit Compiled(std::unique_ptr<icu::RegexPattern> pattern) : pattern_(std::move(pattern)) {}

    std::unique_ptr<icu::RegexMatcher> borrow(const icu::UnicodeString& input) const {
        std::unique_ptr<icu::RegexMatcher> matcher;
        {
            const std::lock_guard lock(mutex_);
            if (!idle_.empty()) {
                matcher = std::move(idle_.back());
                idle_.pop_back();
            }
        }
        if (matcher) {
            matcher->reset(input);
            return matcher;
        }
        UErrorCode status = U_ZERO_ERROR;
        matcher.reset(pattern_->matcher(input, status));
        return U_SUCCESS(status) ? std::move(matcher) : nullptr;
    }

    void giveBack(std::unique_ptr<icu::RegexMatcher> matcher) const {
        static const icu::UnicodeString nothing;
        matcher->reset(nothing);  // no reference to the searched text stays behind
        const std::lock_guard lock(mutex_);
        if (idle_.size() < kIdleMatchers) idle_.push_back(std::move(matcher));
    }

private:
    static constexpr size_t kIdleMatchers = 4;

    std::unique_ptr<icu::RegexPattern> pattern_;
    mutable std::mutex mutex_;
    mutable std::vector<std::unique_ptr<icu::RegexMatcher>> idle_;
};

namespace {

// A matcher over `text` confined to `range`; nothing when ICU refuses.
class ScopedMatcher {
public:
    ScopedMatcher(const Regex::Compiled& compiled, const QString& text, TextRange range)
        : compiled_(compiled),
          input_(icuView(text)),
          matcher_(compiled.borrow(input_)),
          reusable_(text.size() <= kLongestReusedText) {
        if (!matcher_) return;
        UErrorCode status = U_ZERO_ERROR;
        const TextRange within = range.clampedTo(text.size());
        matcher_->region(static_cast<int64_t>(within.location), static_cast<int64_t>(within.end()), status);
        if (U_FAILURE(status)) matcher_.reset();
    }
    ~ScopedMatcher() {
        if (matcher_ && reusable_) compiled_.giveBack(std::move(matcher_));
    }
    ScopedMatcher(const ScopedMatcher&) = delete;
    ScopedMatcher& operator=(const ScopedMatcher&) = delete;

    icu::RegexMatcher* operator->() const { return matcher_.get(); }
    explicit operator bool() const { return matcher_ != nullptr; }

    bool findNext() {
        UErrorCode status = U_ZERO_ERROR;
        const bool found = matcher_->find(status);
        if (U_FAILURE(status)) reusable_ = false;
        return found && U_SUCCESS(status);
    }

private:
    static constexpr qsizetype kLongestReusedText = 4096;

    const Regex::Compiled& compiled_;
    icu::UnicodeString input_;  // must outlive the matcher's use, which keeps a reference to it
    std::unique_ptr<icu::RegexMatcher> matcher_;
    bool reusable_;
};

// Compiled patterns by pattern and options. Compiling dominates the cost
// of a short match, so patterns that are rebuilt at every call are kept;
// the cache is emptied when it is full, as few distinct patterns recur.
class PatternCache {
public:
    static PatternCache& shared() {
        static PatternCache cache;
        return cache;
    }

    std::optional<Regex> get(const QString& pattern, Regex::Options options) {
        const Key key{pattern, options.toInt()};
        {
            const std::lock_guard lock(mutex_);
            if (const auto found = entries_.constFind(key); found != entries_.cend()) return *found;
        }
        // Compiled outside the lock, which other threads may want meanwhile.
        std::optional<Regex> compiled = Regex::compile(pattern, options);
        const std::lock_guard lock(mutex_);
        if (entries_.size() >= kCapacity) entries_.clear();
        entries_.insert(key, compiled);
        return compiled;
    }

private:
    using Key = std::pair<QString, int>;
    static constexpr qsizetype kCapacity = 4096;

    std::mutex mutex_;
    QHash<Key, std::optional<Regex>> entries_;
};

}  // namespace

TextRange RegexMatch::range(int group) const {
    if (group < 0 || group >= numberOfRanges()) return TextRange::notFound();
    return ranges_[static_cast<size_t>(group)];
}

QString RegexMatch::captured(const QString& text, int group) const {
    const TextRange r = range(group);
    return r.isFound() ? text.mid(r.location, r.length) : QString();
}

Regex::Regex(std::shared_ptr<const Compiled> compiled) : compiled_(std::move(compiled)) {}

std::optional<Regex> Regex::compile(const QString& pattern, Options options) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(icuView(pattern), icuFlags(options), parseError, status));
    if (U_FAILURE(status) || !compiled) return std::nullopt;
    return Regex(std::make_shared<const Compiled>(std::move(compiled)));
}

std::optional<Regex> Regex::cached(const QString& pattern, Options options) {
    return PatternCache::shared().get(pattern, options);
}

QString Regex::escapedPattern(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() * 2);
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        const bool asciiLetterOrDigit =
            (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') || (unit >= u'0' && unit <= u'9');
        // Pattern white space outside ASCII (U+0085, U+2028…) is dropped in
        // comments mode, so it is escaped as well.
        const bool special =
            unit < 0x80 ? !asciiLetterOrDigit : u_hasBinaryProperty(unit, UCHAR_PATTERN_WHITE_SPACE) != 0;
        if (special) escaped.append(QLatin1Char('\\'));
        escaped.append(c);
    }
    return escaped;
}

QString Regex::escapedTemplate(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == u'$' || c == u'\\') escaped.append(QLatin1Char('\\'));
        escaped.append(c);
    }
    return escaped;
}

std::optional<RegexMatch> Regex::firstMatch(const QString& text) const { return firstMatch(text, {0, text.size()}); }

std::optional<RegexMatch> Regex::firstMatch(const QString& text, TextRange range) const {
    ScopedMatcher matcher(*compiled_, text, range);
    if (!matcher || !matcher.findNext()) return std::nullopt;
    return currentMatch(*matcher.operator->());
}

std::vector<RegexMatch> Regex::matches(const QString& text) const { return matches(text, {0, text.size()}); }

std::vector<RegexMatch> Regex::matches(const QString& text, TextRange range) const {
    std::vector<RegexMatch> found;
    ScopedMatcher matcher(*compiled_, text, range);
    if (!matcher) return found;
    while (matcher.findNext()) found.push_back(currentMatch(*matcher.operator->()));
    return found;
}

QString Regex::replacingMatches(const QString& text, const QString& replacementTemplate) const {
    return replacingMatches(text, {0, text.size()}, replacementTemplate);
}

QString Regex::replacingMatches(const QString& text, TextRange range, const QString& replacementTemplate) const {
    ScopedMatcher matcher(*compiled_, text, range);
    if (!matcher) return text;
    const icu::UnicodeString replacement = icuView(replacementTemplate);
    icu::UnicodeString result;
    // appendReplacement copies the text before each match, from the start of
    // the input, and appendTail what follows the last one: text outside the
    // range stays as it is.
    bool replacedAny = false;
    UErrorCode status = U_ZERO_ERROR;
    while (matcher.findNext()) {
        matcher->appendReplacement(result, replacement, status);
        if (U_FAILURE(status)) return text;
        replacedAny = true;
    }
    if (!replacedAny) return text;
    matcher->appendTail(result);
    return fromIcu(result);
}

}  // namespace tavlin::platform
