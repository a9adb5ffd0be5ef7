#include "panel/InlineEdit.h"

#include "panel/ListCompletion.h"
#include "parsing/ReminderEditing.h"
#include "store/ObservationTracking.h"

#include <algorithm>

namespace tavlin::panel {

void InlineEdit::start(const platform::Reminder& reminder, const std::vector<platform::ReminderList>& lists) {
    QStringList titles;
    std::optional<QString> listTitle;
    for (const platform::ReminderList& list : lists) {
        titles << list.title;
        if (list.identifier == reminder.listIdentifier) listTitle = list.title;
    }
    open(reminder.identifier, parsing::ReminderEditing::quickAddText(reminder, listTitle, titles),
         parsing::ReminderEditing::dueDateText(reminder));
}

parsing::ParsedQuickAdd InlineEdit::reading(const ReadingContext& context) const {
    return context.editReading(editingText(), editingPreviousDateText());
}

std::optional<parsing::ParsedQuickAdd> InlineEdit::finish(const ReadingContext& context) {
    parsing::ParsedQuickAdd parsed = reading(context);
    close();
    if (!isChanged() || parsed.title.isEmpty()) return std::nullopt;
    return parsed;
}

void InlineEdit::setEditingID(std::optional<QString> id) {
    store::publish(this, editingID_, std::move(id), &InlineEdit::editingIDChanged);
}

void InlineEdit::setEditingText(QString text) {
    if (editingText_ == text) return;
    editingText_ = std::move(text);
    emit editingTextChanged();
    setEditListSuggestionIndex(0);
}

void InlineEdit::setEditingOriginalText(QString text) {
    store::publish(this, editingOriginalText_, std::move(text), &InlineEdit::editingOriginalTextChanged);
}

void InlineEdit::setEditingPreviousDateText(std::optional<QString> text) {
    store::publish(this, editingPreviousDateText_, std::move(text), &InlineEdit::editingPreviousDateTextChanged);
}

void InlineEdit::setEditListSuggestionIndex(int index) {
    store::publish(this, editListSuggestionIndex_, index, &InlineEdit::editListSuggestionIndexChanged);
}

void InlineEdit::setEditListPickerDismissedText(std::optional<QString> text) {
    store::publish(this, editListPickerDismissedText_, std::move(text),
                   &InlineEdit::editListPickerDismissedTextChanged);
}

void InlineEdit::setEditFieldFocused(bool focused) {
    store::publish(this, editFieldFocused_, focused, &InlineEdit::editFieldFocusedChanged);
}

void InlineEdit::open(const QString& id, const QString& text, std::optional<QString> dateText) {
    setEditingOriginalText(text);
    setEditingText(text);
    setEditingPreviousDateText(std::move(dateText));
    setEditListSuggestionIndex(0);
    setEditListPickerDismissedText(std::nullopt);
    setEditingID(id);
    setEditFieldFocused(true);
}

void InlineEdit::close() {
    setEditingID(std::nullopt);
    setEditFieldFocused(false);
}

QStringList InlineEdit::editListSuggestions() const {
    if (!editingID() || editingText() == editingOriginalText() || editListPickerDismissedText() == editingText())
        return {};
    return ListCompletion::suggestions(editingText(), titles());
}

bool InlineEdit::editArrowDown() {
    const qsizetype count = editListSuggestions().size();
    if (count == 0) return false;
    setEditListSuggestionIndex(int(std::min<qsizetype>(count - 1, editListSuggestionIndex_ + 1)));
    return true;
}

bool InlineEdit::editArrowUp() {
    if (editListSuggestions().isEmpty()) return false;
    setEditListSuggestionIndex(std::max(0, editListSuggestionIndex_ - 1));
    return true;
}

bool InlineEdit::editTab() {
    return ListCompletion::acceptIfAny([this] { return editListSuggestions(); }, [this] { pickEditListSuggestion(); });
}

void InlineEdit::pickEditListSuggestion() {
    if (const std::optional<QString> name =
            ListCompletion::highlighted(editListSuggestions(), editListSuggestionIndex_))
        applyEditListSuggestion(*name);
}

void InlineEdit::applyEditListSuggestion(const QString& listName) {
    const std::optional<QString> line = ListCompletion::completed(editingText_, listName, titles());
    if (!line) return;
    setEditingText(*line);
    setEditFieldFocused(true);
}

}  // namespace tavlin::panel
