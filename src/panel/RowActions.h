#pragma once

#include "platform/Clock.h"
#include "platform/Task.h"
#include "platform/eventstore/Reminder.h"
#include "store/ObservationTracking.h"
#include "store/RescheduleTarget.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace tavlin::store {
class ReminderStore;
}

namespace tavlin::panel {

class PanelList;
class RowSelection;
class UndoWindow;

// What the panel does to its rows: completion with its short delay,
// deletion with an undo window, rescheduling, unticking a done row, and
// Show in Folder. Main thread only.
class RowActions : public QObject {
    Q_OBJECT

public:
    struct Sources {
        store::ReminderStore* store = nullptr;
        platform::Clock* clock = nullptr;
        std::function<bool()> reduceMotion;
        PanelList* list = nullptr;  // the completing marks, the selected reminders
        RowSelection* selection = nullptr;
        UndoWindow* undo = nullptr;
        std::function<platform::Task<bool>(const QUrl&)> openFolder;
        std::function<void()> close;  // the panel goes; nothing of it is touched after
    };

    explicit RowActions(Sources sources, QObject* parent = nullptr);
    ~RowActions() override;

    // Marks the reminders as completing and completes them after a short
    // delay (none with reduce motion); one already on its way is skipped.
    // The completion outlives the panel; only its marks on the panel stop.
    void completeReminders(const std::vector<platform::Reminder>& reminders);
    // How long a completion waits, so that its row shows it.
    std::chrono::milliseconds completionDelay() const;
    // The end of the completion's task: `asked` leave the completing marks,
    // and those the store `saved` are offered for undo.
    void completionFinished(const std::vector<platform::Reminder>& asked, const std::vector<platform::Reminder>& saved);
    // Hides the reminders at once as one pending deletion and offers undo.
    void deleteReminders(const std::vector<platform::Reminder>& reminders);
    // Unticks a reminder done today, at once and with no undo.
    void doneRowToggled(const platform::Reminder& reminder);
    // `action` on the selection when the row is part of it, else on the row alone.
    void actOnSelectionOrRow(const platform::Reminder& reminder, bool rowIsSelected,
                             const std::function<void(const std::vector<platform::Reminder>&)>& action);
    void rescheduleSelectionOrRow(store::RescheduleTarget target, const platform::Reminder& reminder,
                                  bool rowIsSelected);
    // What the undo bar counts after a completion.
    int completedTodayCount() const;

    // Opens the folder that holds the reminder's file, and the panel closes
    // once the desktop has taken it (at once when the reminder has no
    // folder). Where no file manager takes it, the panel stays and its
    // footer says so.
    void openInReminders(const platform::Reminder& reminder);
    // The folder that Show in Folder could not open, until the next try.
    const std::optional<QString>& unopenedFolder() const {
        return store::observed(this, unopenedFolder_, &RowActions::unopenedFolderChanged);
    }

    // No answer of the desktop reaches the panel any more.
    void stop();

signals:
    void unopenedFolderChanged();

private:
    void folderOpened(const QString& folder, bool opened);
    void close();

    Sources sources_;
    platform::Task<> folderTask_;  // Show in Folder, until the desktop answers
    std::optional<QString> unopenedFolder_;
};

}  // namespace tavlin::panel
