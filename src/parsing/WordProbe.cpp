#include "parsing/WordProbe.h"

#include "platform/Text.h"

#include <QChar>

#include <unicode/uchar.h>
#include <unicode/uniset.h>

#include <algorithm>

namespace tavlin::parsing {

namespace {

// The patterns' \s.
bool isBlank(QChar c) { return u_isUWhiteSpace(c.unicode()) != 0; }

// A pattern matches a lone character by its case closure; the probe may
// look for the character's folding when every member of the closure folds
// to it ("à", "À"), not when one folds further.
bool closureFoldsAlike(const QString& character, const QString& folded) {
    icu::UnicodeSet closure(character.toUcs4().front(), character.toUcs4().front());
    closure.closeOver(USET_CASE_INSENSITIVE);
    for (int32_t range = 0; range < closure.getRangeCount(); ++range) {
        for (UChar32 c = closure.getRangeStart(range); c <= closure.getRangeEnd(range); ++c) {
            const auto unit = static_cast<char32_t>(c);
            if (platform::folded(QString::fromUcs4(&unit, 1), platform::FoldOption::CaseInsensitive) != folded)
                return false;
        }
    }
    return true;
}

}  // namespace

WordProbe::WordProbe(const WordSet& words) : answers_(true) {
    for (const QString& word : words.raw()) {
        const QString folded = platform::folded(word, platform::FoldOption::CaseInsensitive);
        if (folded.isEmpty() || isBlank(folded.front()) || isBlank(folded.back())) {
            answers_ = false;
            return;
        }
        const bool ascii = platform::isAscii(folded);
        const bool lone = word.size() == 1 || (word.size() == 2 && word.front().isHighSurrogate());
        if (lone && !closureFoldsAlike(word, folded)) {
            answers_ = false;
            return;
        }
        if (ascii) asciiWords_.push_back(folded);
        foldedWords_.push_back(folded);
        longestWord_ = std::max(longestWord_, word.size());
        firstUnits_ |= unitBit(folded.front());
    }
}

// The text folded in full, as the patterns fold it: where a pattern finds a
// word, the folded text holds the word's folding at the same place among
// its blanks, which folding leaves as they are. A folded ASCII text holds
// only the words whose folding is ASCII.
const std::vector<QString>* WordProbe::foldedFor(QStringView text, QString& folded) const {
    if (!answers_) return nullptr;
    if (platform::isAscii(text)) {
        // The probes of one parse mostly look at the same line: the last
        // one lowered is kept.
        thread_local QString lastText;
        thread_local QString lastLowered;
        if (lastText.size() != text.size() || lastText != text) {
            lastLowered = QString(text.size(), Qt::Uninitialized);
            std::transform(text.begin(), text.end(), lastLowered.begin(),
                           [](QChar c) { return QChar(platform::asciiLowercased(c.unicode())); });
            lastText = text.toString();
        }
        folded = lastLowered;
        return &asciiWords_;
    }
    folded = platform::folded(text.toString(), platform::FoldOption::CaseInsensitive);
    return &foldedWords_;
}

bool WordProbe::mayContain(QStringView text) const {
    QString folded;
    const std::vector<QString>* words = foldedFor(text, folded);
    if (!words) return true;
    // One walk over the text: a word is tried only where its first unit stands.
    const QStringView view(folded);
    for (qsizetype at = 0; at < view.size(); ++at) {
        if (!mayStartWith(view[at])) continue;
        const QStringView rest = view.sliced(at);
        for (const QString& word : *words)
            if (word.front() == rest.front() && rest.startsWith(word)) return true;
    }
    return false;
}

bool WordProbe::mayEnd(QStringView text) const { return mayEnd(text, false); }

bool WordProbe::mayEndAfterBlank(QStringView text) const { return mayEnd(text, true); }

// Blanks fold to themselves, so a blank before the word in the text stands
// right before its folding in the folded text.
bool WordProbe::mayEnd(QStringView text, bool afterBlank) const {
    QString folded;
    const std::vector<QString>* words = foldedFor(text, folded);
    if (!words) return true;
    const QStringView view(folded);
    qsizetype end = view.size();
    while (end > 0 && isBlank(view[end - 1])) --end;
    return std::any_of(words->begin(), words->end(), [&](const QString& word) {
        if (word.size() > end || view.sliced(end - word.size(), word.size()) != word) return false;
        return !afterBlank || (end > word.size() && isBlank(view[end - word.size() - 1]));
    });
}

bool WordProbe::mayEndAt(QStringView text, qsizetype end) const {
    end = std::clamp<qsizetype>(end, 0, text.size());
    qsizetype start = end;
    while (start > 0 && isBlank(text[start - 1])) --start;
    // Text that a pattern reads as a word is at most six times as long: each
    // character folds to at most three, and takes one or two units.
    start = std::max<qsizetype>(0, start - 6 * longestWord_);
    return mayEnd(text.sliced(start, end - start));
}

bool WordProbe::mayRepeatAcrossBlank(QStringView text) const {
    QString folded;
    const std::vector<QString>* words = foldedFor(text, folded);
    if (!words) return true;
    const QStringView view(folded);
    for (qsizetype start = 0; start < view.size();) {
        if (!isBlank(view[start])) {
            ++start;
            continue;
        }
        qsizetype end = start;
        while (end < view.size() && isBlank(view[end])) ++end;
        const QStringView before = view.first(start);
        const QStringView after = view.sliced(end);
        start = end;
        if (after.isEmpty() || !mayStartWith(after.front())) continue;
        for (const QString& word : *words) {
            if (word.front() == after.front() && after.startsWith(word) && before.endsWith(word)) return true;
        }
    }
    return false;
}

}  // namespace tavlin::parsing
