#include "devmodes/RescheduleTest.h"

#include "devmodes/Output.h"
#include "devmodes/SharedRoutines.h"
#include "parsing/ReminderEditing.h"
#include "platform/Calendar.h"
#include "platform/DueDate.h"
#include "store/ReminderStore.h"

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using parsing::ParsedQuickAdd;
using platform::Reminder;

namespace {

// The date the first line ends in, as the reminder's line writes it back.
const QString kFixedDate = u"25 Aug 2026 10:00"_s;

QString dueDescription(const std::optional<platform::DateComponents>& due) {
    const std::optional<platform::Date> date = platform::DueDate::date(due, platform::Calendar::current());
    return date ? dateDescription(*date) : u"nil"_s;
}

QString quoted(const QString& text) { return u"\""_s + text + u"\""_s; }

}  // namespace

platform::Task<> rescheduleTest(store::ReminderStore& store) {
    co_await waitBeforeStarting();
    co_await store.refresh();
    const QStringList names = listNames(store);
    const parsing::ParserVocabulary vocabulary = parsing::ParserVocabulary::current();

    const QString firstLine = u"Tavlin reschedule-test "_s + stringPrefix(newUUIDString(), 8) + u' ' + kFixedDate;
    const ParsedQuickAdd entry = committedReading(firstLine, names, false, std::nullopt, vocabulary);
    const std::optional<Reminder> created = co_await store.add(entry);
    if (!created) {
        // The blank stays when there is no error to follow it.
        printStep(u"RESCHEDULE-TEST FAIL: create returned nil "_s + lastErrorText(store, QString()));
        co_return;
    }
    co_await store.refresh();
    const std::optional<Reminder> fetched = reminderWithIdentifier(store.reminders(), created->identifier);
    if (!fetched) {
        printStep(u"RESCHEDULE-TEST FAIL: not found after refresh"_s);
        co_return;
    }
    printStep(u"same instance after refetch: "_s + boolText(*fetched == *created));

    const QString serialized = parsing::ReminderEditing::quickAddText(*fetched, listTitle(store, *fetched), names);
    const std::optional<QString> previous = parsing::ReminderEditing::dueDateText(*fetched);
    printStep(u"serialized: "_s + quoted(serialized) + u" previous: "_s + previous.value_or(u"nil"_s));

    const QStringList editedLines = {
        QString(serialized).replace(kFixedDate, u"tomorrow 9am"_s),
        QString(serialized).replace(kFixedDate, u"20 Aug 2026 14:00"_s),
        QString(serialized).replace(kFixedDate, u"friday"_s),
        serialized + u" tomorrow"_s,
    };
    for (const QString& line : editedLines) {
        const ParsedQuickAdd entry = committedReading(line, names, true, previous, vocabulary);
        const Reminder target = reminderWithIdentifier(store.reminders(), created->identifier).value_or(*fetched);
        co_await store.update(entry, target);
        const QString saveError = lastErrorText(store, u"none"_s);
        co_await store.refresh();
        const std::optional<Reminder> refetched = reminderWithIdentifier(store.reminders(), created->identifier);
        const QString refetchedTitle = refetched && !refetched->title.isEmpty() ? refetched->title : u"?"_s;
        printStep(u"edit "_s + quoted(line) + u" -> parsed due "_s + dueDescription(entry.dueDateComponents) +
                  u" title "_s + quoted(entry.title) + u"; save error: "_s + saveError + u"; refetched due: "_s +
                  dueDescription(refetched ? refetched->dueDateComponents : std::nullopt) + u" title "_s +
                  quoted(refetchedTitle) + u" alarms "_s +
                  QString::number(refetched ? static_cast<qsizetype>(refetched->alarms.size()) : -1) +
                  u" newInstance "_s + boolText(!refetched || *refetched != target));
    }

    if (const std::optional<Reminder> left = reminderWithIdentifier(store.reminders(), created->identifier)) {
        store.queueDeletion(*left);
        store.flushPendingDeletions();
    }
    printStep(u"cleanup: "_s + lastErrorText(store, u"ok"_s));
    terminateApplication();
}

}  // namespace tavlin::devmodes
