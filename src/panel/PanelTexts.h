#pragma once

#include "panel/PanelTypes.h"
#include "store/ReminderStore.h"

#include <QString>

#include <optional>

// The panel's own sentences.
namespace tavlin::panel {

// The undo bar's text: "Completed “Buy milk”" for one reminder, "Deleted 3
// reminders" for any other count, none included.
QString undoMessage(qsizetype count, const QString& title, UndoItem::Kind kind);

// The short text of a failure of the store, for one line of the footer.
QString editFailureMessage(const store::ReminderStore::Error& error);
// Its long text, for the footer's tooltip.
QString editFailureDetail(const store::ReminderStore::Error& error);

// The footer's line about the reminders done today: "✓ 1 done today" and
// "· nice start"; nothing before the first.
struct DoneTodayMessage {
    QString count;
    QString encouragement;

    friend bool operator==(const DoneTodayMessage&, const DoneTodayMessage&) = default;
};
std::optional<DoneTodayMessage> doneTodayMessage(int count);

}  // namespace tavlin::panel
