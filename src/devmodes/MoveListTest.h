#pragma once

#include "platform/Task.h"
#include "store/ReminderStore.h"

#include <QString>

#include <optional>

// --move-list-test: test reminders moved from the home list to a list of the
// same account and to one of another, the way the application edits: the
// reminder written back as its line, the "#list" tag swapped, the line read
// again and saved. For a bare title, for a timed one (with its alarm) and
// for a weekly one; for the bare title also a plain reminder moved by the
// event store alone, and back. Each move prints where the reminder landed
// and what it kept; every test reminder is removed, and the application
// ends.
namespace tavlin::devmodes {

// "<domain>#<code> <description> userInfo={key=value, …}" (keys sorted), or
// "none". A refused list move is an error of the store's own domain, code 1,
// with the save's error as "underlying".
QString errorDiagnostic(const std::optional<store::ReminderStore::Error>& error);

platform::Task<> moveListTest(store::ReminderStore& store);

}  // namespace tavlin::devmodes
