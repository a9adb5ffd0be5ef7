#include "parsing/WordProbe.h"

#include "platform/Text.h"

#include <QChar>

#include <algorithm>

namespace tavlin::parsing {

namespace {

bool equalsFolded(QStringView text, QStringView foldedWord) {
    if (text.size() != foldedWord.size()) return false;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (platform::asciiLowercased(text[i].unicode()) != foldedWord[i]) return false;
    return true;
}

}  // namespace

WordProbe::WordProbe(const WordSet& words) : answers_(true) {
    for (const QString& word : words.raw()) {
        const QString folded = platform::folded(word, platform::FoldOption::CaseInsensitive);
        using platform::isAsciiWhitespace;
        if (folded.isEmpty() || isAsciiWhitespace(folded.front().unicode()) ||
            isAsciiWhitespace(folded.back().unicode())) {
            answers_ = false;
            return;
        }
        if (platform::isAscii(folded)) {
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

bool WordProbe::answers(QStringView text) const { return answers_ && platform::isAscii(text); }

bool WordProbe::mayContain(QStringView text) const {
    if (!answers(text)) return true;
    QString lowered(text.size(), Qt::Uninitialized);
    std::transform(text.begin(), text.end(), lowered.begin(),
                   [](QChar c) { return QChar(platform::asciiLowercased(c.unicode())); });
    return std::any_of(asciiWords_.begin(), asciiWords_.end(),
                       [&](const QString& word) { return lowered.contains(word); });
}

bool WordProbe::mayEnd(QStringView text) const {
    if (!answers(text)) return true;
    qsizetype end = text.size();
    while (end > 0 && platform::isAsciiWhitespace(text[end - 1].unicode())) --end;
    return std::any_of(asciiWords_.begin(), asciiWords_.end(), [&](const QString& word) {
        return word.size() <= end && equalsFolded(text.mid(end - word.size(), word.size()), word);
    });
}

bool WordProbe::mayRepeatAcrossBlank(QStringView text) const {
    if (!answers(text)) return true;
    for (qsizetype start = 0; start < text.size();) {
        if (!platform::isAsciiWhitespace(text[start].unicode())) {
            ++start;
            continue;
        }
        qsizetype end = start;
        while (end < text.size() && platform::isAsciiWhitespace(text[end].unicode())) ++end;
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
