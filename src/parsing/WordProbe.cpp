#include "parsing/WordProbe.h"

#include "platform/Text.h"

#include <QChar>

#include <algorithm>

namespace tavlin::parsing {

namespace {

bool isAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// The ASCII characters that "\s" matches.
bool isAsciiBlank(QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

QChar asciiLower(QChar c) { return (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + 32) : c; }

bool equalsFolded(QStringView text, QStringView foldedWord) {
    if (text.size() != foldedWord.size()) return false;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (asciiLower(text[i]) != foldedWord[i]) return false;
    return true;
}

}  // namespace

WordProbe::WordProbe(const WordSet& words) : answers_(true) {
    for (const QString& word : words.raw()) {
        const QString folded = platform::folded(word, platform::FoldOption::CaseInsensitive);
        if (folded.isEmpty() || isAsciiBlank(folded.front()) || isAsciiBlank(folded.back())) {
            answers_ = false;
            return;
        }
        if (isAscii(folded)) {
            asciiWords_.push_back(folded);
        } else if (word.size() == 1 || (word.size() == 2 && word.front().isHighSurrogate())) {
            // A pattern matches a lone character by its case closure, which
            // may reach ASCII where its full folding does not.
            answers_ = false;
            return;
        }
        // Otherwise the folding holds a character outside ASCII, which no
        // folded ASCII text holds.
    }
}

bool WordProbe::answers(QStringView text) const { return answers_ && isAscii(text); }

bool WordProbe::mayContain(QStringView text) const {
    if (!answers(text)) return true;
    QString lowered(text.size(), Qt::Uninitialized);
    std::transform(text.begin(), text.end(), lowered.begin(), asciiLower);
    return std::any_of(asciiWords_.begin(), asciiWords_.end(),
                       [&](const QString& word) { return lowered.contains(word); });
}

bool WordProbe::mayEnd(QStringView text) const {
    if (!answers(text)) return true;
    qsizetype end = text.size();
    while (end > 0 && isAsciiBlank(text[end - 1])) --end;
    return std::any_of(asciiWords_.begin(), asciiWords_.end(), [&](const QString& word) {
        return word.size() <= end && equalsFolded(text.mid(end - word.size(), word.size()), word);
    });
}

bool WordProbe::mayRepeatAcrossBlank(QStringView text) const {
    if (!answers(text)) return true;
    for (qsizetype start = 0; start < text.size();) {
        if (!isAsciiBlank(text[start])) {
            ++start;
            continue;
        }
        qsizetype end = start;
        while (end < text.size() && isAsciiBlank(text[end])) ++end;
        const QStringView before = text.first(start);
        const QStringView after = text.sliced(end);
        for (const QString& word : asciiWords_) {
            if (word.size() <= before.size() && word.size() <= after.size() &&
                equalsFolded(after.first(word.size()), word) && equalsFolded(before.last(word.size()), word))
                return true;
        }
        start = end;
    }
    return false;
}

}  // namespace tavlin::parsing
