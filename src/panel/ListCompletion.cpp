#include "panel/ListCompletion.h"

#include "parsing/ListTag.h"
#include "parsing/TextHelpers.h"
#include "store/ListToken.h"

namespace tavlin::panel::ListCompletion {

using parsing::QuickAddParser::ListTagChoice;

QStringList suggestions(const QString& text, const QStringList& listTitles) {
    const std::optional<platform::TextRange> token = store::ListToken::trailingToken(text);
    if (!token) return {};
    // What follows the "#" is what was typed of the name so far.
    return store::ListToken::suggestions(text.mid(token->location + 1, token->length - 1), listTitles);
}

std::optional<QString> completed(const QString& text, const QString& listName, const QStringList& replacedLists) {
    const std::optional<platform::TextRange> token = store::ListToken::trailingToken(text);
    if (!token) return std::nullopt;
    QString before = text.left(token->location);
    // Taking the tags out tidies the blanks; the one before the word stays.
    if (QString rest = before; parsing::QuickAddParser::extractList(rest, replacedLists, ListTagChoice::last))
        before = !rest.isEmpty() && before.back().isSpace() ? rest + u' ' : rest;
    return before + u'#' + parsing::normalizedKey(listName) + u' ';
}

std::optional<QString> highlighted(const QStringList& suggestions, int index) {
    if (index < 0 || index >= suggestions.size()) return std::nullopt;
    return suggestions.at(index);
}

bool acceptIfAny(const std::function<QStringList()>& suggestions, const std::function<void()>& pick) {
    if (suggestions().isEmpty()) return false;
    pick();
    return true;
}

}  // namespace tavlin::panel::ListCompletion
