#pragma once

#include "panel/EffectiveParse.h"
#include "parsing/ParsedQuickAdd.h"
#include "platform/eventstore/Reminder.h"
#include "store/ObservationTracking.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace tavlin::panel {

// The edit of one reminder in its row: which reminder, its line as edited
// and as it was, the date text it had, and the "#list" picker under the
// edit's field and its keys. Each property signals only a change. Main
// thread only.
class InlineEdit : public QObject {
    Q_OBJECT

public:
    // `listTitles` gives the store's list titles in its order, read anew for
    // each offer of names.
    explicit InlineEdit(std::function<QStringList()> listTitles = {}, QObject* parent = nullptr)
        : QObject(parent), listTitles_(std::move(listTitles)) {}

    // The reminder edited in its row.
    const std::optional<QString>& editingID() const {
        return store::observed(this, editingID_, &InlineEdit::editingIDChanged);
    }
    void setEditingID(std::optional<QString> id);
    // A change of the text puts the picker's highlight back on its first name.
    const QString& editingText() const { return store::observed(this, editingText_, &InlineEdit::editingTextChanged); }
    void setEditingText(QString text);
    const QString& editingOriginalText() const {
        return store::observed(this, editingOriginalText_, &InlineEdit::editingOriginalTextChanged);
    }
    void setEditingOriginalText(QString text);
    const std::optional<QString>& editingPreviousDateText() const {
        return store::observed(this, editingPreviousDateText_, &InlineEdit::editingPreviousDateTextChanged);
    }
    void setEditingPreviousDateText(std::optional<QString> text);
    int editListSuggestionIndex() const {
        return store::observed(this, editListSuggestionIndex_, &InlineEdit::editListSuggestionIndexChanged);
    }
    void setEditListSuggestionIndex(int index);
    const std::optional<QString>& editListPickerDismissedText() const {
        return store::observed(this, editListPickerDismissedText_, &InlineEdit::editListPickerDismissedTextChanged);
    }
    void setEditListPickerDismissedText(std::optional<QString> text);
    // The edit's field has the keyboard.
    bool editFieldFocused() const {
        return store::observed(this, editFieldFocused_, &InlineEdit::editFieldFocusedChanged);
    }
    void setEditFieldFocused(bool focused);

    // The edit opens on the reminder `id` with its line `text` and the date
    // text it had, the picker fresh, and the field takes the keyboard.
    void open(const QString& id, const QString& text, std::optional<QString> dateText);
    // The edit opens on `reminder`, its line written with the tag of its
    // list among `lists`.
    void start(const platform::Reminder& reminder, const std::vector<platform::ReminderList>& lists);
    // No reminder is edited, and the field lets the keyboard go; the text
    // stays for what the closing saves.
    void close();
    // The edited line read as it is saved, against `context`.
    parsing::ParsedQuickAdd reading(const ReadingContext& context) const;
    // The edit closes; what is to be saved: the line read as it was at the
    // close, when it was changed and still has a title.
    std::optional<parsing::ParsedQuickAdd> finish(const ReadingContext& context);
    // The line was changed since the edit opened.
    bool isChanged() const { return editingText_ != editingOriginalText_; }

    // The list names offered for the edited line's trailing "#" word: none
    // until the line is changed, or once the picker is dismissed for it.
    QStringList editListSuggestions() const;
    // The picker's keys: whether they were used.
    bool editArrowDown();
    bool editArrowUp();
    bool editTab();
    // The highlighted name, if one is, goes into the line.
    void pickEditListSuggestion();
    // The line's trailing "#" word becomes the list's tag (replacing another
    // list's), and the edit's field keeps the keyboard.
    void applyEditListSuggestion(const QString& listName);

signals:
    void editingIDChanged();
    void editingTextChanged();
    void editingOriginalTextChanged();
    void editingPreviousDateTextChanged();
    void editListSuggestionIndexChanged();
    void editListPickerDismissedTextChanged();
    void editFieldFocusedChanged();

private:
    QStringList titles() const { return listTitles_ ? listTitles_() : QStringList(); }

    std::function<QStringList()> listTitles_;
    std::optional<QString> editingID_;
    QString editingText_;
    QString editingOriginalText_;
    std::optional<QString> editingPreviousDateText_;
    int editListSuggestionIndex_ = 0;
    std::optional<QString> editListPickerDismissedText_;
    bool editFieldFocused_ = false;
};

}  // namespace tavlin::panel
