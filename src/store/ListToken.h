#pragma once

#include "platform/TextRange.h"

#include <QString>
#include <QStringList>

#include <optional>

// The "#list" token being typed at the end of the quick-add field, and the
// list names it may stand for. Pure functions.
namespace tavlin::store::ListToken {

// The range of the "#…" that ends `text` (a "#" and then only letters,
// digits, "_" and "-"), when it starts the text or follows white space or
// ";"; nothing otherwise, so that "mail#box" is no token.
std::optional<platform::TextRange> trailingToken(const QString& text);

// The names of `listNames` that the token may mean, compared by their list
// key (the parser's normalized key, so the "#" does not count): those whose
// key starts with the token's key first, then those that contain it, each
// in the given order. A bare "#" gives every name. Names whose key is empty
// are never offered, and of names with one key only the first is.
QStringList suggestions(const QString& token, const QStringList& listNames);

}  // namespace tavlin::store::ListToken
