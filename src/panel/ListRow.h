#pragma once

#include "panel/ListSelection.h"
#include "panel/SectionedRows.h"
#include "platform/eventstore/Reminder.h"
#include "store/PanelSection.h"

#include <QSet>
#include <QString>

#include <optional>
#include <vector>

namespace tavlin::panel {

// One row of the panel's list as it is drawn: a section's header, an open
// reminder, "Nothing to do", the header of the reminders done today, or one
// of them.
struct ListRow {
    enum class Kind { header, reminder, placeholder, done };

    Kind kind = Kind::reminder;
    // Unique in the list: the reminder's identifier, "done:" and it for a
    // done row, "header:" and the section's name, "header:done", "placeholder".
    QString id;
    QString title;  // of a header or the placeholder
    std::optional<platform::Reminder> reminder;
    // Of a section's header or reminder; none for the done group.
    std::optional<store::PanelSection> section;
    // The reminder's place among the flat rows, which the selection counts.
    std::optional<int> flatIndex;
    bool isSelected = false;
    bool isCompleting = false;
    bool isDone = false;
    bool isEditing = false;  // its row is the inline edit
    // The selection's count on a selected row, else 1: the menu's wording.
    int selectedCount = 1;
    double topPadding = 0;     // 8 above the list's first header
    double bottomPadding = 0;  // 8 below the list's last row
    // An open reminder that may be dragged within its section.
    bool movable = false;

    bool isReminder() const { return kind == Kind::reminder || kind == Kind::done; }

    friend bool operator==(const ListRow&, const ListRow&) = default;
};

struct ListRowInputs {
    const std::vector<SectionRows>* sections = nullptr;
    const std::vector<platform::Reminder>* doneRows = nullptr;
    ListSelection selection;
    FlatRowCount count;
    QSet<QString> completingIDs;
    std::optional<QString> editingID;
};

// The rows in order: each section's header and reminders, "Nothing to do"
// when no section shows, then the done group when it has rows.
std::vector<ListRow> listRows(const ListRowInputs& inputs);

}  // namespace tavlin::panel
