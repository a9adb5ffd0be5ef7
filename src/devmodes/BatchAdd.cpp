#include "devmodes/BatchAdd.h"

#include "devmodes/Output.h"
#include "devmodes/SharedRoutines.h"
#include "store/QuickAdd.h"

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;

platform::Task<> addBatch(store::ReminderStore& store, QString text) {
    co_await waitBeforeStarting();
    co_await store.refresh();
    std::vector<store::QuickAdd::Entry> entries =
        store::QuickAdd::entries(text, listNames(store), platform::Date::now(), platform::Calendar::current());
    const std::vector<std::optional<platform::Reminder>> created =
        co_await store::QuickAdd::add(store::QuickAdd::over(store), entries);
    for (std::size_t i = 0; i < entries.size(); ++i)
        printStep((created[i] ? u"created: "_s : u"FAILED: "_s) + entries[i].parsed.title);
    // Only the last add shows here: a success clears an earlier failure.
    printStep(u"errors: "_s + lastErrorText(store, u"none"_s));
}

}  // namespace tavlin::devmodes
