#pragma once

#include "panel/PanelTypes.h"
#include "platform/Clock.h"
#include "platform/Task.h"
#include "platform/eventstore/Reminder.h"

#include <QObject>

#include <optional>
#include <vector>

namespace tavlin::store {
class ReminderStore;
}

namespace tavlin::panel {

// The undo bar's window after a deletion or a completion. A deletion stays
// pending in the store until the next deletion, a completion shown over it,
// the bar's 5 s or the panel's close carries it out. The item is published
// (ObservationTracking) and signals only a change. Main thread only.
class UndoWindow : public QObject {
    Q_OBJECT

public:
    UndoWindow(store::ReminderStore& store, platform::Clock& clock, QObject* parent = nullptr);
    ~UndoWindow() override;

    const std::optional<UndoItem>& undoItem() const;
    void setUndoItem(std::optional<UndoItem> item);
    // The task that takes the bar away; none while there is none.
    platform::Task<>& undoDismissTask() { return undoDismissTask_; }
    // The bar went because its time was up (it then fades even with reduce
    // motion), not by an undo.
    bool undoBarTimedOut() const { return undoBarTimedOut_; }

    // The bar offers `reminders` back for 5 s.
    void present(const std::vector<platform::Reminder>& reminders, UndoItem::Kind kind);
    // What the bar offered comes back, and the bar goes.
    void undo();
    // The bar's time is up: a pending deletion is carried out.
    void timeUp();
    // The bar's time stops running.
    void stop() { undoDismissTask_.cancel(); }

signals:
    void undoItemChanged();

private:
    store::ReminderStore& store_;
    platform::Clock& clock_;
    bool undoBarTimedOut_ = false;
    std::optional<UndoItem> undoItem_;
    platform::Task<> undoDismissTask_;
};

}  // namespace tavlin::panel
