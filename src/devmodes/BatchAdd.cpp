#include "devmodes/BatchAdd.h"

#include "devmodes/Output.h"
#include "devmodes/SharedRoutines.h"
#include "parsing/TaskSplitter.h"
#include "store/ReminderStore.h"

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;

platform::Task<> addBatch(store::ReminderStore& store, QString text) {
    co_await waitBeforeStarting();
    co_await store.refresh();
    const QStringList names = listNames(store);
    const parsing::ParserVocabulary vocabulary = parsing::ParserVocabulary::current();
    for (const QString& task : parsing::TaskSplitter::split(text)) {
        const parsing::ParsedQuickAdd entry = committedReading(task, names, false, std::nullopt, vocabulary);
        const std::optional<platform::Reminder> created = co_await store.add(entry);
        printStep((created ? u"created: "_s : u"FAILED: "_s) + entry.title);
    }
    // Only the last add shows here: a success clears an earlier failure.
    printStep(u"errors: "_s + lastErrorText(store, u"none"_s));
}

}  // namespace tavlin::devmodes
