#include "platform/Text.h"

#include "platform/CodePoints.h"
#include "platform/IcuString.h"
#include "platform/Locale.h"
#include "platform/Regex.h"

#include <unicode/brkiter.h>
#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <array>

namespace tavlin::platform {

namespace {

icu::UnicodeString icuCopy(const QString& text) {
    return icu::UnicodeString(reinterpret_cast<const UChar*>(text.utf16()), static_cast<int32_t>(text.size()));
}

// The break iterator is not safe to share, and costly to make: one per thread.
icu::BreakIterator* characterBreaks(const icu::UnicodeString& text) {
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        return std::unique_ptr<icu::BreakIterator>(
            icu::BreakIterator::createCharacterInstance(Locale::posix().icu(), status));
    }();
    if (iterator) iterator->setText(text);
    return iterator.get();
}

void stripNonspacingMarks(icu::UnicodeString& text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) return;
    icu::UnicodeString decomposed = nfd->normalize(text, status);
    icu::UnicodeString kept;
    for (int32_t i = 0; i < decomposed.length();) {
        const UChar32 c = decomposed.char32At(i);
        if (u_charType(c) != U_NON_SPACING_MARK) kept.append(c);
        i += U16_LENGTH(c);
    }
    text = nfc->normalize(kept, status);
}

// Insensitive search: the text folded one character at a time, with where
// each folded character came from, so that a match maps back to whole
// characters of the original.
struct FoldedText {
    QString folded;
    std::vector<qsizetype> foldedStart;    // per character: its start in `folded`
    std::vector<TextRange> originalRange;  // per character: its range in the original
};

// Folded for comparison: canonically composed even when only case is folded,
// so that a decomposed "é" meets a precomposed one.
QString comparable(const QString& text, FoldOptions options) {
    const QString result = folded(text, options);
    return (options & FoldOption::DiacriticInsensitive) ? result : result.normalized(QString::NormalizationForm_C);
}

FoldedText foldByCharacter(const QString& text, TextRange within, FoldOptions options) {
    FoldedText result;
    for (const TextRange character : graphemeRanges(text.mid(within.location, within.length))) {
        result.foldedStart.push_back(result.folded.size());
        result.originalRange.push_back({character.location + within.location, character.length});
        result.folded += comparable(text.mid(character.location + within.location, character.length), options);
    }
    result.foldedStart.push_back(result.folded.size());
    return result;
}

TextRange insensitiveRangeOf(const QString& text, const QString& target, SearchOptions options, TextRange within) {
    FoldOptions fold;
    if (options & SearchOption::CaseInsensitive) fold |= FoldOption::CaseInsensitive;
    if (options & SearchOption::DiacriticInsensitive) fold |= FoldOption::DiacriticInsensitive;
    const QString needle = comparable(target, fold);
    if (needle.isEmpty()) return TextRange::notFound();
    const FoldedText haystack = foldByCharacter(text, within, fold);
    const auto& starts = haystack.foldedStart;
    const bool backwards = options & SearchOption::Backwards;
    const bool anchored = options & SearchOption::Anchored;
    // A candidate counts only when it starts and ends on character boundaries.
    const auto boundary = [&](qsizetype foldedIndex) {
        const auto it = std::lower_bound(starts.begin(), starts.end(), foldedIndex);
        return it != starts.end() && *it == foldedIndex ? std::optional<size_t>(it - starts.begin()) : std::nullopt;
    };
    qsizetype from = backwards ? haystack.folded.size() : 0;
    while (true) {
        const qsizetype at =
            backwards ? haystack.folded.lastIndexOf(needle, from) : haystack.folded.indexOf(needle, from);
        if (at < 0) return TextRange::notFound();
        const auto first = boundary(at);
        const auto last = boundary(at + needle.size());
        if (first && last) {
            const bool atAnchor = backwards ? *last == starts.size() - 1 : *first == 0;
            if (anchored && !atAnchor) return TextRange::notFound();
            const TextRange begin = haystack.originalRange[*first];
            const TextRange end = haystack.originalRange[*last - 1];
            return TextRange::fromBounds(begin.location, end.end());
        }
        if (anchored && (backwards ? at + needle.size() != haystack.folded.size() : at != 0))
            return TextRange::notFound();
        if (backwards) {
            if (at == 0) return TextRange::notFound();
            from = at - 1;
        } else {
            from = at + 1;
        }
    }
}

// A pattern target, compiled once per process: callers build the same
// patterns again and again.
std::optional<Regex> compiledTarget(const QString& pattern, SearchOptions options) {
    const bool caseInsensitive = options & SearchOption::CaseInsensitive;
    return Regex::cached(pattern, caseInsensitive ? Regex::Options(Regex::Option::CaseInsensitive) : Regex::Options());
}

TextRange regexRangeOf(const QString& text, const QString& target, SearchOptions options, TextRange within) {
    const auto regex = compiledTarget(target, options);
    if (!regex) return TextRange::notFound();
    if (options & SearchOption::Backwards) {
        const auto all = regex->matches(text, within);
        if (all.empty()) return TextRange::notFound();
        const TextRange last = all.back().range();
        return (options & SearchOption::Anchored) && last.end() != within.end() ? TextRange::notFound() : last;
    }
    const auto match = regex->firstMatch(text, within);
    if (!match) return TextRange::notFound();
    // The leftmost match starts at the range start whenever any match can.
    if ((options & SearchOption::Anchored) && match->range().location != within.location) return TextRange::notFound();
    return match->range();
}

TextRange literalRangeOf(const QString& text, const QString& target, SearchOptions options, TextRange within) {
    const QStringView view = QStringView(text).mid(within.location, within.length);
    qsizetype at = -1;
    if (options & SearchOption::Anchored)
        at = (options & SearchOption::Backwards) ? (view.endsWith(target) ? view.size() - target.size() : -1)
                                                 : (view.startsWith(target) ? 0 : -1);
    else at = (options & SearchOption::Backwards) ? view.lastIndexOf(target) : view.indexOf(target);
    return at < 0 ? TextRange::notFound() : TextRange{within.location + at, target.size()};
}

char32_t firstCodePoint(const QString& character) { return (*CodePoints(character).begin()).value; }

}  // namespace

QString trimmed(const QString& text, const CharacterSet& set) {
    qsizetype start = 0;
    qsizetype end = text.size();
    for (const CodePoint c : CodePoints(text)) {
        if (!set.contains(c.value)) break;
        start = c.index + c.length;
    }
    while (end > start) {
        const CodePoint c = codePointBefore(text, end, start);
        if (!set.contains(c.value)) break;
        end = c.index;
    }
    if (start == 0 && end == text.size()) return text;
    return text.mid(start, end - start);
}

bool canonicallyEqual(const QString& a, const QString& b) {
    return a == b || a.normalized(QString::NormalizationForm_C) == b.normalized(QString::NormalizationForm_C);
}

bool isAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

namespace {

// An ASCII text lowercased: the text itself when it has no capital. Qt's
// toLower looks every unit up in its Unicode tables, some 1,500
// instructions for a title, and the panel lowercases every title and note
// at each opening.
QString asciiLowered(const QString& text) {
    const auto isCapital = [](char16_t c) { return char16_t(c - u'A') < 26; };
    const char16_t* units = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype size = text.size();
    qsizetype first = 0;
    while (first < size && !isCapital(units[first])) ++first;
    if (first == size) return text;
    QString lowered = text;
    char16_t* out = reinterpret_cast<char16_t*>(lowered.data());  // detached once, here
    for (qsizetype i = first; i < size; ++i)
        if (isCapital(out[i])) out[i] = char16_t(out[i] + (u'a' - u'A'));
    return lowered;
}

}  // namespace

QString trimmedWhitespace(const QString& text) { return trimmed(text, CharacterSet::whitespaces()); }

QString trimmedWhitespaceAndNewlines(const QString& text) {
    return trimmed(text, CharacterSet::whitespacesAndNewlines());
}

QString lowercasedPosix(const QString& text) {
    if (isAscii(text)) return asciiLowered(text);
    return fromIcu(icuCopy(text).toLower(Locale::posix().icu()));
}

QString uppercasedPosix(const QString& text) {
    if (isAscii(text)) return text.toUpper();
    return fromIcu(icuCopy(text).toUpper(Locale::posix().icu()));
}

QString folded(const QString& text, FoldOptions options) {
    // Plain ASCII has no marks to strip and folds as it lowercases.
    if (isAscii(text)) return (options & FoldOption::CaseInsensitive) ? asciiLowered(text) : text;
    // A parse folds the same line again and again, each stage and probe on
    // its own: the last few foldings of each thread are kept.
    struct Kept {
        QString text;
        FoldOptions options;
        QString folded;
    };
    thread_local std::array<Kept, 16> kept;
    thread_local std::size_t next = 0;
    for (const Kept& entry : kept)
        if (entry.options == options && entry.text.size() == text.size() && entry.text == text) return entry.folded;
    icu::UnicodeString result = icuCopy(text);
    if (options & FoldOption::CaseInsensitive) result.foldCase(U_FOLD_CASE_DEFAULT);
    if (options & FoldOption::DiacriticInsensitive) stripNonspacingMarks(result);
    QString made = fromIcu(result);
    kept[next] = {text, options, made};
    next = (next + 1) % kept.size();
    return made;
}

QString foldedWord(const QString& text) {
    if (isAscii(text)) return asciiLowered(text);
    QString prepared = text;
    prepared.replace(QChar(0x0131), QLatin1Char('i'));
    prepared.replace(QChar(0x0130), QLatin1Char('i'));
    return folded(prepared, FoldOption::CaseInsensitive | FoldOption::DiacriticInsensitive);
}

TextRange rangeOf(const QString& text, const QString& target, SearchOptions options) {
    return rangeOf(text, target, options, {0, text.size()});
}

TextRange rangeOf(const QString& text, const QString& target, SearchOptions options, TextRange within) {
    within = within.clampedTo(text.size());
    if (target.isEmpty()) return TextRange::notFound();
    if (options & SearchOption::RegularExpression) return regexRangeOf(text, target, options, within);
    if (options & (SearchOption::CaseInsensitive | SearchOption::DiacriticInsensitive))
        return insensitiveRangeOf(text, target, options, within);
    return literalRangeOf(text, target, options, within);
}

bool contains(const QString& text, const QString& target, SearchOptions options) {
    return rangeOf(text, target, options).isFound();
}

QString replacingOccurrences(const QString& text, const QString& target, const QString& replacement,
                             SearchOptions options) {
    if (options & SearchOption::RegularExpression) {
        const auto regex = compiledTarget(target, options);
        return regex ? regex->replacingMatches(text, replacement) : text;
    }
    if (target.isEmpty()) return text;
    QString result = text;
    return result.replace(target, replacement,
                          (options & SearchOption::CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive);
}

bool localizedStandardContains(const QString& text, const QString& target) {
    return rangeOf(text, target, SearchOption::CaseInsensitive | SearchOption::DiacriticInsensitive).isFound();
}

namespace {

constexpr FoldOptions standardFold = FoldOption::CaseInsensitive | FoldOption::DiacriticInsensitive;

}  // namespace

StandardSearchTarget::StandardSearchTarget(const QString& target) : folded_(comparable(target, standardFold)) {}

StandardSearchText::StandardSearchText(const QString& text) {
    // Plain ASCII folds as it lowercases, one character to one unit; only
    // "\r\n" makes one character of two units.
    if (isAscii(text) && !(text.contains(u'\r') && text.contains(QLatin1String("\r\n")))) {
        folded_ = asciiLowered(text);
        return;
    }
    FoldedText folded = foldByCharacter(text, {0, text.size()}, standardFold);
    folded_ = std::move(folded.folded);
    characterStarts_ = std::move(folded.foldedStart);
}

bool StandardSearchText::contains(const StandardSearchTarget& target) const {
    const QString& needle = target.folded();
    if (needle.isEmpty()) return false;
    if (characterStarts_.empty()) return folded_.contains(needle);
    // As in insensitiveRangeOf: a match counts only from a character's start
    // to a character's end.
    const auto boundary = [&](qsizetype at) {
        return std::binary_search(characterStarts_.begin(), characterStarts_.end(), at);
    };
    for (qsizetype at = folded_.indexOf(needle); at >= 0; at = folded_.indexOf(needle, at + 1))
        if (boundary(at) && boundary(at + needle.size())) return true;
    return false;
}

int localizedStandardCompare(const QString& a, const QString& b) {
    thread_local std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> made(icu::Collator::createInstance(Locale::current().icu(), status));
        if (made) made->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    if (!collator) return QString::compare(a, b);
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult order = collator->compare(icuView(a), icuView(b), status);
    if (order == UCOL_EQUAL && a != b) return QString::compare(a, b) < 0 ? -1 : 1;  // a stable order still
    return order;
}

qsizetype graphemeCount(const QString& text) {
    if (isAscii(text)) return text.size() - text.count(QLatin1String("\r\n"));
    return static_cast<qsizetype>(graphemeRanges(text).size());
}

std::vector<TextRange> graphemeRanges(const QString& text) {
    std::vector<TextRange> ranges;
    const icu::UnicodeString view = icuView(text);
    icu::BreakIterator* breaks = characterBreaks(view);
    if (!breaks) {
        for (const CodePoint c : CodePoints(text)) ranges.push_back({c.index, c.length});
        return ranges;
    }
    int32_t start = breaks->first();
    for (int32_t end = breaks->next(); end != icu::BreakIterator::DONE; start = end, end = breaks->next())
        ranges.push_back(TextRange::fromBounds(start, end));
    return ranges;
}

QString characterAt(const QString& text, qsizetype index) {
    if (index < 0 || index >= text.size()) return {};
    const icu::UnicodeString rest(false, reinterpret_cast<const UChar*>(text.utf16()) + index,
                                  static_cast<int32_t>(text.size() - index));
    icu::BreakIterator* breaks = characterBreaks(rest);
    if (!breaks) return text.mid(index, (*CodePoints::Iterator(text, index)).length);
    breaks->first();
    return text.mid(index, breaks->next());
}

bool isWhitespaceCharacter(const QString& character) {
    return !character.isEmpty() && u_isUWhiteSpace(static_cast<UChar32>(firstCodePoint(character)));
}

bool isPunctuationCharacter(const QString& character) {
    return !character.isEmpty() && (U_GET_GC_MASK(static_cast<UChar32>(firstCodePoint(character))) & U_GC_P_MASK) != 0;
}

bool isLetterCharacter(const QString& character) {
    return !character.isEmpty() && u_isUAlphabetic(static_cast<UChar32>(firstCodePoint(character)));
}

bool isNumberCharacter(const QString& character) {
    return !character.isEmpty() &&
           u_getIntPropertyValue(static_cast<UChar32>(firstCodePoint(character)), UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

}  // namespace tavlin::platform
