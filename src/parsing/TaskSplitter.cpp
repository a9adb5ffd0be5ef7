#include "parsing/TaskSplitter.h"

#include "platform/CharacterSet.h"
#include "platform/Regex.h"
#include "platform/Text.h"

namespace tavlin::parsing::TaskSplitter {

using namespace Qt::StringLiterals;
using platform::CharacterSet;

namespace {

constexpr qsizetype kMaximumTasks = 10;

// Blanks and line breaks alone make no task: a text of nothing else gives
// none, whichever way it is cut.
bool hasContent(const QString& piece) { return !platform::trimmedWhitespaceAndNewlines(piece).isEmpty(); }

QStringList strippedPieces(const QStringList& pieces) {
    QStringList kept;
    for (const QString& piece : pieces) {
        QString task = stripBullet(piece);
        if (hasContent(task)) kept.append(std::move(task));
    }
    return kept;
}

QStringList splitAtNewlines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!CharacterSet::newlines().contains(text.at(i).unicode())) continue;
        lines.append(text.mid(start, i - start));
        start = i + 1;
    }
    lines.append(text.mid(start));
    return lines;
}

}  // namespace

QString stripBullet(const QString& text) {
    static const std::optional<platform::Regex> marker =
        platform::Regex::compile(u"^(?:[-*•·◦‣]|\\[[ xX]?\\]|\\d{1,2}[.)])\\s+"_s);
    QString stripped = platform::trimmedWhitespace(text);
    if (marker) {
        if (const auto match = marker->firstMatch(stripped)) stripped.remove(0, match->range().length);
    }
    return platform::trimmedWhitespace(stripped);
}

QStringList splitPieces(const QString& text) {
    const QStringList lines = strippedPieces(splitAtNewlines(text));
    if (lines.size() >= 2) return lines;
    // Semicolons count only when the text is not already a list of lines, and
    // then the whole text is cut, not just its one remaining line.
    const QStringList pieces = strippedPieces(text.split(u';'));
    if (!pieces.isEmpty()) return pieces;
    const QString whole = stripBullet(text);
    return hasContent(whole) ? QStringList{whole} : QStringList();
}

QStringList split(const QString& text) { return splitPieces(text).mid(0, kMaximumTasks); }

}  // namespace tavlin::parsing::TaskSplitter
