#include "parsing/WordSet.h"

#include "platform/CodePoints.h"
#include "platform/Regex.h"
#include "platform/Text.h"

#include <unicode/uchar.h>
#include <algorithm>

namespace tavlin::parsing {

namespace {

// Cantillation marks and vowel points; maqaf (05BE), paseq (05C0), sof pasuq
// (05C3) and nun hafukha (05C6) are punctuation and stay.
bool isHebrewPoint(char32_t c) {
    return (c >= 0x0591 && c <= 0x05BD) || c == 0x05BF || c == 0x05C1 || c == 0x05C2 || c == 0x05C4 || c == 0x05C5 ||
           c == 0x05C7;
}

// A mark that joins the character before it, so that it belongs to the same
// user-perceived character (and to a white-space run when it follows one).
bool extendsPreviousCharacter(char32_t c) {
    const auto breakClass = u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_GRAPHEME_CLUSTER_BREAK);
    return breakClass == U_GCB_EXTEND || breakClass == U_GCB_ZWJ || breakClass == U_GCB_SPACING_MARK;
}

bool inCodePointOrder(const QString& a, const QString& b) { return a.toUcs4() < b.toUcs4(); }

}  // namespace

bool containsHebrewPoints(const QString& text) {
    for (const platform::CodePoint c : platform::CodePoints(text))
        if (isHebrewPoint(c.value)) return true;
    return false;
}

QString strippingHebrewPoints(const QString& text) {
    if (!containsHebrewPoints(text)) return text;
    QString stripped;
    stripped.reserve(text.size());
    for (const platform::CodePoint c : platform::CodePoints(text))
        if (!isHebrewPoint(c.value)) stripped.append(QStringView(text).mid(c.index, c.length));
    return stripped;
}

QStringList splitOnWhitespace(const QString& text) {
    QStringList pieces;
    qsizetype pieceStart = -1;
    bool inWhitespace = false;
    for (const platform::CodePoint c : platform::CodePoints(text)) {
        const bool whitespace =
            u_isUWhiteSpace(static_cast<UChar32>(c.value)) || (inWhitespace && extendsPreviousCharacter(c.value));
        if (whitespace && pieceStart >= 0) {
            pieces.append(text.mid(pieceStart, c.index - pieceStart));
            pieceStart = -1;
        } else if (!whitespace && pieceStart < 0) {
            pieceStart = c.index;
        }
        inWhitespace = whitespace;
    }
    if (pieceStart >= 0) pieces.append(text.mid(pieceStart));
    return pieces;
}

WordSet::WordSet(std::initializer_list<const char16_t*> words) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(words.size()));
    for (const char16_t* word : words) list.append(QString::fromUtf16(word));
    *this = WordSet(std::move(list));
}

WordSet::WordSet(QStringList words) {
    auto made = std::make_shared<Words>();
    made->raw = std::move(words);
    for (const QString& word : std::as_const(made->raw)) {
        QString folded = fold(word);
        QStringList tokens = splitOnWhitespace(folded);
        if (tokens.size() > 1) made->phrases.append(std::move(tokens));
        made->folded.insert(std::move(folded));
    }
    words_ = std::move(made);
}

const WordSet::Words& WordSet::empty() {
    static const Words none;
    return none;
}

const QString& WordSet::alternation() const {
    if (!words_) return empty().alternation;
    std::call_once(words_->alternationMade, [&] { words_->alternation = alternationPattern(words_->raw); });
    return words_->alternation;
}

QString WordSet::alternationOrNever() const { return isEmpty() ? QStringLiteral("(?!)") : alternation(); }

const QString& WordSet::foldedAlternation() const {
    if (!words_) return empty().foldedAlternation;
    std::call_once(words_->foldedAlternationMade,
                   [&] { words_->foldedAlternation = setAlternationPattern(words_->folded); });
    return words_->foldedAlternation;
}

QString WordSet::fold(const QString& text) { return platform::foldedWord(strippingHebrewPoints(text)); }

WordSet WordSet::unionOf(const QStringList& a, const QStringList& b) {
    QStringList words;
    words.reserve(a.size() + b.size());
    QSet<QString> seen;  // canonically composed, so that equivalent spellings count as one
    for (const QStringList* list : {&a, &b}) {
        for (const QString& word : *list) {
            QString composed = word.normalized(QString::NormalizationForm_C);
            if (seen.contains(composed)) continue;
            seen.insert(std::move(composed));
            words.append(word);
        }
    }
    return WordSet(std::move(words));
}

QString WordSet::alternationPattern(const QStringList& words) {
    struct Entry {
        qsizetype length;
        QString composed;
        const QString* word;
    };
    std::vector<Entry> entries;
    entries.reserve(static_cast<size_t>(words.size()));
    for (const QString& word : words)
        entries.push_back({platform::graphemeCount(word), word.normalized(QString::NormalizationForm_C), &word});
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& x, const Entry& y) {
        if (x.length != y.length) return x.length > y.length;
        return inCodePointOrder(x.composed, y.composed);
    });
    QStringList escaped;
    escaped.reserve(words.size());
    for (const Entry& entry : entries) escaped.append(platform::Regex::escapedPattern(*entry.word));
    return escaped.join(QLatin1Char('|'));
}

QString WordSet::setAlternationPattern(const QSet<QString>& words) {
    return alternationPattern(QStringList(words.cbegin(), words.cend()));
}

bool WordSet::matchesTokens(const QStringList& foldedTokens, const QSet<QString>& folded,
                            const QList<QStringList>& phrases) {
    if (!folded.isEmpty()) {
        for (const QString& token : foldedTokens)
            if (folded.contains(token)) return true;
    }
    for (const QStringList& phrase : phrases) {
        if (phrase.isEmpty()) return true;
        for (qsizetype start = 0; start + phrase.size() <= foldedTokens.size(); ++start) {
            if (std::equal(phrase.cbegin(), phrase.cend(), foldedTokens.cbegin() + start)) return true;
        }
    }
    return false;
}

}  // namespace tavlin::parsing
