#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "parsing/ParserVocabulary.h"
#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/Task.h"
#include "platform/eventstore/Reminder.h"
#include "store/ReminderStore.h"
#include "store/ResolvedLocation.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tavlin::store {

// A text added as reminders, the same for the panel, the AI tools and the
// developer switches: the text cut into tasks, each read by the rules as a
// saved line is, added at once, and only afterwards read by the language
// model, whose reading rewrites a new reminder where it says something
// else. That reading may come seconds after the add: a reminder changed
// meanwhile (edited in its row, by an assistant, in another program),
// completed or gone keeps what it has. The tasks hold the store and copies
// of what they add, never their caller: they run to their end after it has
// gone, and nothing cancels them.
class QuickAdd {
public:
    // What an add needs of the reminder store.
    class Store {
    public:
        virtual ~Store() = default;

        // The titles of the lists, in the store's order.
        virtual QStringList listTitles() const = 0;
        // A new reminder of `parsed`, at `place` when given; nothing when the
        // store refused it (its last error says why).
        virtual platform::Task<std::optional<platform::Reminder>> add(parsing::ParsedQuickAdd parsed,
                                                                      std::optional<ResolvedLocation> place) = 0;
        // The reminder as it is saved now; nothing once it is gone.
        virtual std::optional<platform::Reminder> saved(const QString& identifier) const = 0;
        // Rewrites `reminder` from `parsed`.
        virtual platform::Task<ReminderStore::UpdateOutcome> update(parsing::ParsedQuickAdd parsed,
                                                                    platform::Reminder reminder,
                                                                    std::optional<ResolvedLocation> place) = 0;
    };

    // The way to `store`, for as long as it lives: once it is gone, nothing
    // is added. Each reminder it adds gets `notes`.
    static std::shared_ptr<Store> over(ReminderStore& store, std::optional<QString> notes = std::nullopt);

    // One task, ready to be added.
    struct Entry {
        QString text;  // as the splitter gave it
        parsing::ParsedQuickAdd parsed;
        std::optional<ResolvedLocation> resolved;  // the place already found for it
        bool modelRuled = false;                   // the model has read it, even to no avail: it is not read again

        friend bool operator==(const Entry&, const Entry&) = default;
    };

    // Fields the caller fixed, laid over the model's reading as they were
    // over the rules'.
    using FixedFields = std::function<void(parsing::ParsedQuickAdd&)>;

    // The rules' reading of one task as it is saved (committedEntry), at
    // `now` in `calendar`, against `listNames`.
    static parsing::ParsedQuickAdd committedReading(
        const QString& text, const QStringList& listNames, platform::Date now, const platform::Calendar& calendar,
        bool editing = false, const std::optional<QString>& previousDueText = std::nullopt,
        const parsing::ParserVocabulary& vocabulary = parsing::ParserVocabulary::current());

    // The tasks of `text` (the splitter's first ten), each read by the rules.
    static std::vector<Entry> entries(
        const QString& text, const QStringList& listNames, platform::Date now, const platform::Calendar& calendar,
        const parsing::ParserVocabulary& vocabulary = parsing::ParserVocabulary::current());

    // Adds the entries in order, each once the one before is added; a
    // refused one leaves the others to be added. What became of each: the
    // reminder, or nothing where the store refused it.
    static platform::Task<std::vector<std::optional<platform::Reminder>>> add(std::shared_ptr<Store> store,
                                                                              std::vector<Entry> entries);

    // Adds the entries as add() does. Then, where the model can be asked,
    // reads each added entry the model had not read, one at a time, against
    // `listTitles` (as they were when the entries were made).
    static platform::Task<> addAndRefine(std::shared_ptr<Store> store, std::vector<Entry> entries,
                                         QStringList listTitles);

    // Adds one entry; then, unless the model read it already, reads it
    // against the lists as they are after the add.
    static platform::Task<> addAndRefine(std::shared_ptr<Store> store, Entry entry);

    // The model's reading of the entry's text, against `listTitles`, given
    // to applyLaterReading.
    static platform::Task<> refine(std::shared_ptr<Store> store, Entry entry, platform::Reminder added,
                                   QStringList listTitles, FixedFields fixed = {});

    // The rule for a reading that comes after the add: `reading`, with
    // `fixed` laid over it, rewrites `added` (made of `entry`) where it says
    // something else than the entry's reading, and only while the reminder
    // is saved as it was added. The update's outcome; nothing when there
    // was nothing to rewrite or the reminder changed meanwhile, was
    // completed or is gone.
    static platform::Task<std::optional<ReminderStore::UpdateOutcome>> applyLaterReading(
        std::shared_ptr<Store> store, Entry entry, platform::Reminder added, parsing::ParsedQuickAdd reading,
        FixedFields fixed = {});
};

}  // namespace tavlin::store
