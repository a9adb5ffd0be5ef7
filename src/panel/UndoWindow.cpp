#include "panel/UndoWindow.h"

#include "store/ObservationTracking.h"
#include "store/ReminderStore.h"

#include <QPointer>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace tavlin::panel {

namespace {

constexpr auto undoLength = 5s;

platform::Task<> dismissLater(QPointer<UndoWindow> window, platform::Clock& clock) {
    const bool slept = co_await platform::sleep(undoLength, clock);
    if (!slept || !window) co_return;
    window->timeUp();
}

}  // namespace

UndoWindow::UndoWindow(store::ReminderStore& store, platform::Clock& clock, QObject* parent)
    : QObject(parent), store_(store), clock_(clock) {}

UndoWindow::~UndoWindow() { undoDismissTask_.cancel(); }

const std::optional<UndoItem>& UndoWindow::undoItem() const {
    return store::observed(this, undoItem_, &UndoWindow::undoItemChanged);
}

void UndoWindow::setUndoItem(std::optional<UndoItem> item) {
    store::publish(this, undoItem_, std::move(item), &UndoWindow::undoItemChanged);
}

void UndoWindow::present(const std::vector<platform::Reminder>& reminders, UndoItem::Kind kind) {
    if (reminders.empty()) return;
    // The deletion that the bar offered back is carried out once a
    // completion takes its place.
    if (undoItem_ && undoItem_->kind == UndoItem::Kind::deleted && kind == UndoItem::Kind::completed)
        store_.flushPendingDeletions();
    const QString& title = reminders.front().title;
    undoBarTimedOut_ = false;
    setUndoItem(UndoItem{.reminders = reminders, .title = title.isEmpty() ? u"Reminder"_s : title, .kind = kind});
    undoDismissTask_.cancel();
    undoDismissTask_ = dismissLater(this, clock_);
}

void UndoWindow::timeUp() {
    undoDismissTask_ = {};
    if (undoItem_ && undoItem_->kind == UndoItem::Kind::deleted) store_.flushPendingDeletions();
    undoBarTimedOut_ = true;
    setUndoItem(std::nullopt);
}

void UndoWindow::undo() {
    // First, so that the bar's time cannot carry the deletion out after all.
    undoDismissTask_.cancel();
    undoDismissTask_ = {};
    if (const std::optional<UndoItem> item = undoItem_) {
        if (item->kind == UndoItem::Kind::deleted) {
            store_.cancelDeletion();
        } else {
            for (const platform::Reminder& reminder : item->reminders) store_.setCompleted(reminder, false);
        }
    }
    undoBarTimedOut_ = false;
    setUndoItem(std::nullopt);
}

}  // namespace tavlin::panel
