#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "parsing/ParserVocabulary.h"
#include "platform/Clock.h"
#include "platform/Date.h"
#include "platform/DateComponents.h"
#include "platform/Task.h"
#include "platform/WindowSystem.h"
#include "platform/eventstore/Reminder.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tavlin::store {
class ReminderStore;
}

namespace tavlin::devmodes {

// The first `count` characters of `text` (all of it when shorter).
QString stringPrefix(const QString& text, qsizetype count);

// "2026-8-20 14:05", or "2026-8-20" without an hour; a missing field is 0.
QString dateComponentsText(const platform::DateComponents& components);

// "2026-08-25 10:00:00 +0000": a moment, always in UTC.
QString dateDescription(platform::Date date);

QString boolText(bool value);

// A new random UUID as upper-case text, for the scenarios' test titles.
QString newUUIDString();

// A line read by the rules now, as every quick add commits it
// (store::QuickAdd::committedReading), against `listNames`.
parsing::ParsedQuickAdd committedReading(
    const QString& text, const QStringList& listNames, bool editing = false,
    const std::optional<QString>& previousDueText = std::nullopt,
    const parsing::ParserVocabulary& vocabulary = parsing::ParserVocabulary::current());

// What the store scenarios share.

// A scenario's wait of a fixed length; one cut short by cancellation is as
// good as a whole one.
platform::Task<> waitFor(platform::Clock::Duration duration);

// The same for a number of seconds read from the command line (finite and
// not negative).
platform::Task<> waitForSeconds(double seconds);

// Waits until the language model knows whether it is available, at most
// `limit`: a model named in the settings is checked in the background, and a
// switch that reads lines at once would find it unavailable.
platform::Task<> waitForModelAvailability(platform::Clock::Duration limit = std::chrono::seconds(5));

// The scenarios give the application's own start a moment before they begin.
platform::Task<> waitBeforeStarting();

// The store's last error as its sentence, or `word` when there is none.
QString lastErrorText(const store::ReminderStore& store, const QString& word);

// The titles of the store's lists, in its order.
QStringList listNames(const store::ReminderStore& store);

// The title of the reminder's list; nothing when the store knows no such list.
std::optional<QString> listTitle(const store::ReminderStore& store, const platform::Reminder& reminder);

// The first of `reminders` with this identifier.
std::optional<platform::Reminder> reminderWithIdentifier(const std::vector<platform::Reminder>& reminders,
                                                         const QString& identifier);

// "<name> (ppid <n>)" for the process that started this one: the name it
// runs under, or "non-GUI process" when that cannot be read.
QString parentProcessDescription();
// The same for any process.
QString processDescription(qint64 processId);

// What the window scenarios share.

// The window system's windows from front to back, as the scenarios list
// them: a header, then "  <n>: <owner> “<name>” layer=<layer>" for each
// shown window that is not the desktop, kept when it is at layer 0 or
// Tavlin's own, at most 14.
QStringList windowOrderLines(const std::vector<platform::WindowRecord>& windows, qint64 ownPid);
// Prints that listing for the windows now (without flushing: the caller
// flushes after it).
void printWindowOrder();

// The desktop has no reminders application of its own: the user's file
// manager, shown the reminders folder, stands in for it. Not waited for.
void openRemindersApp();
// Hands the activation to another program, as a person switching away
// would: the user's file manager, opened on the home folder. Done once
// the file manager has been started; at once when there is none.
platform::Task<> handActivationToFileManager();

}  // namespace tavlin::devmodes
