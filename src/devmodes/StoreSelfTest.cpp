#include "devmodes/StoreSelfTest.h"

#include "devmodes/Output.h"
#include "devmodes/SharedRoutines.h"
#include "parsing/SmartQuickAddParser.h"
#include "store/QuickAdd.h"

#include <algorithm>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using parsing::ParsedQuickAdd;
using platform::Reminder;

namespace {

QString dueText(const std::optional<platform::DateComponents>& due) {
    return due ? dateComponentsText(*due) : u"none"_s;
}

// The line committed at once, patched with the model's reading when that
// differs, as every quick add is.
platform::Task<> optimisticPatch(store::ReminderStore& store) {
    const QStringList names = listNames(store);
    const parsing::ParserVocabulary vocabulary = parsing::ParserVocabulary::current();
    const QString text = u"water plants before end of day "_s + stringPrefix(newUUIDString(), 8);
    const ParsedQuickAdd committed = committedReading(text, names, false, std::nullopt, vocabulary);
    printStep(u"committed due: "_s + dueText(committed.dueDateComponents) + u" title: "_s + committed.title);

    const std::shared_ptr<store::QuickAdd::Store> adds = store::QuickAdd::over(store);
    const store::QuickAdd::Entry entry{.text = text, .parsed = committed};
    const std::optional<Reminder> created = co_await adds->add(entry.parsed, entry.resolved);
    if (!created) {
        printStep(u"PATCH-TEST FAIL: create returned nil"_s);
        co_return;
    }
    const std::optional<ParsedQuickAdd> smart = co_await parsing::SmartQuickAddParser::parse(text, names, vocabulary);
    if (!smart) {
        printStep(u"no patch: smart parse unavailable"_s);
    } else if (smart->isEquivalent(committed)) {
        printStep(u"no patch: smart parse matched the deterministic one"_s);
    } else {
        [[maybe_unused]] const std::optional<store::ReminderStore::UpdateOutcome> outcome =
            co_await store::QuickAdd::applyLaterReading(adds, entry, *created, *smart);
        printStep(u"patch error: "_s + lastErrorText(store, u"none"_s));
    }
    co_await store.refresh();

    // The reminder as saved now, whatever the patch made of it.
    const Reminder patched = store.eventStore().reminder(created->identifier).value_or(*created);
    printStep(u"patched due: "_s + dueText(patched.dueDateComponents) + u" title: "_s + patched.title + u" alarms: "_s +
              QString::number(patched.alarms.size()));
    store.queueDeletion(patched);
    store.flushPendingDeletions();
    printStep(u"patch-test cleanup: "_s + lastErrorText(store, u"ok"_s));
}

}  // namespace

platform::Task<> selfTest(store::ReminderStore& store) {
    co_await waitBeforeStarting();
    co_await store.refresh();
    printStep(u"auth=%1 fetched=%2 lists=%3"_s.arg(static_cast<int>(store.authorization()))
                  .arg(store.reminders().size())
                  .arg(store.lists().size()));

    const QString title = u"Tavlin self-test "_s + stringPrefix(newUUIDString(), 8);
    // Named, not braced into the call: g++ 12 destroys such a temporary
    // twice across a co_await.
    const ParsedQuickAdd entry{.title = title};
    co_await store.add(entry);
    printStep(u"create error: "_s + lastErrorText(store, u"none"_s));
    co_await store.refresh();

    const auto titled = [&](const Reminder& r) { return !r.title.isEmpty() && r.title == title; };
    const auto found = std::find_if(store.reminders().begin(), store.reminders().end(), titled);
    if (found == store.reminders().end()) {
        printStep(u"SELF-TEST FAIL: created reminder not found after refresh"_s);
        co_return;
    }
    const Reminder reminder = *found;

    store.setCompleted(reminder, true);
    printStep(u"complete error: "_s + lastErrorText(store, u"none"_s));
    co_await store.refresh();
    printStep(u"still listed as incomplete: "_s +
              boolText(std::any_of(store.reminders().begin(), store.reminders().end(), titled)));

    store.queueDeletion(reminder);
    store.cancelDeletion();
    printStep(u"restored after undo: "_s +
              boolText(reminderWithIdentifier(store.reminders(), reminder.identifier).has_value()));

    store.queueDeletion(reminder);
    store.flushPendingDeletions();
    printStep(u"delete error: "_s + lastErrorText(store, u"none"_s));
    co_await store.refresh();
    printStep(u"deleted from store: "_s + boolText(!store.eventStore().reminder(reminder.identifier).has_value()));

    if (!parsing::SmartQuickAddParser::isModelAvailable()) {
        printStep(u"smart parser unavailable — optimistic patch not exercised"_s);
        co_return;
    }
    co_await optimisticPatch(store);
}

}  // namespace tavlin::devmodes
