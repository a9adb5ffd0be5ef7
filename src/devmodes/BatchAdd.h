#pragma once

#include "platform/Task.h"

#include <QString>

namespace tavlin::store {
class ReminderStore;
}

// --add-batch: a text split into tasks, each read by the rules and added at
// once, one line per task and the store's error state last. The
// application runs on, and the reminders stay.
namespace tavlin::devmodes {

platform::Task<> addBatch(store::ReminderStore& store, QString text);

}  // namespace tavlin::devmodes
