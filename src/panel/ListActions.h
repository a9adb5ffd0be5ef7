#pragma once

#include "panel/ListSelection.h"
#include "panel/PanelKeys.h"
#include "panel/PanelTypes.h"
#include "parsing/ParsedQuickAdd.h"
#include "platform/Task.h"
#include "platform/eventstore/Reminder.h"
#include "store/PanelSection.h"

#include <Qt>

#include <functional>
#include <optional>
#include <set>

namespace tavlin::store {
class ReminderStore;
class Settings;
}  // namespace tavlin::store

namespace tavlin::panel {

class FieldActions;
class InlineEdit;
class PanelList;
class RowActions;
class RowSelection;
class TypedLine;

// What the list's clicks and keys do, the drag of its rows, and the edit of
// a row they open and save. No key reaches the list while a row is edited,
// and none but Return (the capture's Add) while the capture stands in its
// place. Main thread only.
class ListActions {
public:
    struct Sources {
        store::ReminderStore* store = nullptr;
        store::Settings* settings = nullptr;
        const TypedLine* line = nullptr;  // what the edited line is read against
        RowSelection* selection = nullptr;
        InlineEdit* edit = nullptr;
        const PanelList* list = nullptr;
        RowActions* rowActions = nullptr;
        FieldActions* field = nullptr;       // Return on the create row, the capture's Add
        std::function<bool()> showsCapture;  // the captured text is shown and not yet finished
        std::function<void(FocusTarget)> focus;
    };

    explicit ListActions(Sources sources);

    // A click on a reminder's row (none: on nothing), with the modifiers
    // held; the list takes the keyboard.
    void rowSelected(std::optional<int> index, Qt::KeyboardModifiers modifiers);
    // A click on a done row: nothing is selected.
    void doneRowSelected();
    // A key sent to the list.
    void handleKey(PanelListKey key);
    void moveSelection(MoveDirection direction);
    void extendSelection(int step);
    void selectAll();
    void returnKey();
    // The selected reminders go, with an undo window.
    void deleteSelection();
    // A drag inside `section`: the rows at `source` go before the one at
    // `destination` (offsets in the section as shown), and the manual order
    // is stored.
    void moveReminders(store::PanelSection section, const std::set<int>& source, int destination);

    // The inline edit. Opening one saves an edit open on another reminder.
    void startEdit(const platform::Reminder& reminder);
    // The edited line read as it is saved.
    parsing::ParsedQuickAdd buildEditedReminder() const;
    // Return in the edit: takes the highlighted list name while names are
    // offered, else saves.
    void editSave(const platform::Reminder& reminder);
    // Saves an open edit; nothing when its reminder is gone.
    void commitPendingEdit();
    // Writes a parsed edit; a failure is the store's last error, shown in the
    // footer.
    static platform::Task<> saveEditTask(store::ReminderStore& store, parsing::ParsedQuickAdd parsed,
                                         platform::Reminder reminder);

private:
    // Closes the edit of `reminder`, the list takes the keyboard, and a
    // changed line is saved.
    void saveEdit(const platform::Reminder& reminder);
    bool editing() const;

    Sources sources_;
};

}  // namespace tavlin::panel
