#pragma once

#include "platform/Task.h"

namespace tavlin::store {
class ReminderStore;
}

// --self-test: the store's create, find, complete, undoable delete and
// delete on a test reminder, then the optimistic create of a line patched
// with the model's reading, one line per step. The application runs on.
namespace tavlin::devmodes {

platform::Task<> selfTest(store::ReminderStore& store);

}  // namespace tavlin::devmodes
