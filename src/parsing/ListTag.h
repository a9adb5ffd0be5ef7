#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tavlin::parsing::QuickAddParser {

// Which of several "#tags" that name lists names the line's list.
enum class ListTagChoice {
    // The first is taken out; the others stay in the text.
    first,
    // Every one is taken out and the last names the list: a line being
    // edited ends in its reminder's own tag, and one typed after it is the
    // list the reminder moves to.
    last,
};

// The first (or last) "#tag" that names one of `listNames` is taken out of
// `text`; the result is that list's name as the caller spells it.
std::optional<QString> extractList(QString& text, const QStringList& listNames,
                                   ListTagChoice choice = ListTagChoice::first);

}  // namespace tavlin::parsing::QuickAddParser
