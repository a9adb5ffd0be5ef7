#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The "#list" word being typed at the end of a line: the lists it may name,
// and the line once one is picked.
namespace tavlin::panel::ListCompletion {

// The titles of `listTitles` that the "#…" ending `text` may name, best
// first; none when the text does not end in such a word.
QStringList suggestions(const QString& text, const QStringList& listTitles);

// `text` with its ending "#…" word written as the key of `listName` ("#"
// and the list's key, as typed tags are matched) and one blank after it;
// nothing when the text does not end in such a word. The other tags that
// name one of `replacedLists` go: an edited line's list is picked in place
// of the one it names.
std::optional<QString> completed(const QString& text, const QString& listName, const QStringList& replacedLists = {});

// The name highlighted at `index`; none for a highlight left over from a
// longer list.
std::optional<QString> highlighted(const QStringList& suggestions, int index);

// Calls `pick` when `suggestions` offers a name; whether it did. Tab takes
// the highlighted name this way, and goes on to the next field without one.
bool acceptIfAny(const std::function<QStringList()>& suggestions, const std::function<void()>& pick);

}  // namespace tavlin::panel::ListCompletion
