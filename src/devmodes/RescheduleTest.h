#pragma once

#include "platform/Task.h"

namespace tavlin::store {
class ReminderStore;
}

// --reschedule-test: a reminder's date changed by editing its line. A test
// reminder made from a line with a fixed date is written back as its line,
// the date in that line swapped for others, and each edited line read again
// as an edit and saved onto the reminder; one line per edit compares the
// reading with what the store then holds. Ends the application when done.
namespace tavlin::devmodes {

platform::Task<> rescheduleTest(store::ReminderStore& store);

}  // namespace tavlin::devmodes
