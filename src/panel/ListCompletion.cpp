#include "panel/ListCompletion.h"

#include "parsing/TextHelpers.h"
#include "store/ListToken.h"

namespace tavlin::panel::ListCompletion {

QStringList suggestions(const QString& text, const QStringList& listTitles) {
    const std::optional<platform::TextRange> token = store::ListToken::trailingToken(text);
    if (!token) return {};
    // What follows the "#" is what was typed of the name so far.
    return store::ListToken::suggestions(text.mid(token->location + 1, token->length - 1), listTitles);
}

std::optional<QString> completed(const QString& text, const QString& listName) {
    const std::optional<platform::TextRange> token = store::ListToken::trailingToken(text);
    if (!token) return std::nullopt;
    QString line = text;
    line.replace(token->location, token->length, u'#' + parsing::normalizedKey(listName) + u' ');
    return line;
}

}  // namespace tavlin::panel::ListCompletion
