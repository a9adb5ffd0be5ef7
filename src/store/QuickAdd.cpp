#include "store/QuickAdd.h"

#include "parsing/CommittedEntry.h"
#include "parsing/QuickAddParser.h"
#include "parsing/SmartQuickAddParser.h"
#include "parsing/TaskSplitter.h"

#include <QPointer>

namespace tavlin::store {

namespace {

class StoreAdds final : public QuickAdd::Store {
public:
    StoreAdds(ReminderStore& store, std::optional<QString> notes) : store_(&store), notes_(std::move(notes)) {}

    QStringList listTitles() const override {
        QStringList titles;
        if (store_)
            for (const platform::ReminderList& list : store_->lists()) titles << list.title;
        return titles;
    }

    platform::Task<std::optional<platform::Reminder>> add(parsing::ParsedQuickAdd parsed,
                                                          std::optional<ResolvedLocation> place) override {
        if (!store_) co_return std::nullopt;
        co_return co_await store_->add(std::move(parsed), std::move(place), notes_);
    }

    std::optional<platform::Reminder> saved(const QString& identifier) const override {
        if (!store_) return std::nullopt;
        return store_->eventStore().reminder(identifier);
    }

    platform::Task<ReminderStore::UpdateOutcome> update(parsing::ParsedQuickAdd parsed, platform::Reminder reminder,
                                                        std::optional<ResolvedLocation> place) override {
        if (!store_) co_return ReminderStore::UpdateOutcome::failed;
        co_return co_await store_->update(std::move(parsed), std::move(reminder), std::move(place));
    }

private:
    QPointer<ReminderStore> store_;
    std::optional<QString> notes_;
};

}  // namespace

std::shared_ptr<QuickAdd::Store> QuickAdd::over(ReminderStore& store, std::optional<QString> notes) {
    return std::make_shared<StoreAdds>(store, std::move(notes));
}

parsing::ParsedQuickAdd QuickAdd::committedReading(const QString& text, const QStringList& listNames,
                                                   platform::Date now, const platform::Calendar& calendar, bool editing,
                                                   const std::optional<QString>& previousDueText,
                                                   const parsing::ParserVocabulary& vocabulary) {
    const parsing::ParsedQuickAdd parsed = parsing::QuickAddParser::parse(text, {.referenceDate = now,
                                                                                 .calendar = calendar,
                                                                                 .vocabulary = vocabulary,
                                                                                 .listNames = listNames,
                                                                                 .isEditing = editing,
                                                                                 .previousDateText = previousDueText});
    return parsing::committedEntry(parsed, text, editing, previousDueText, now, calendar);
}

std::vector<QuickAdd::Entry> QuickAdd::entries(const QString& text, const QStringList& listNames, platform::Date now,
                                               const platform::Calendar& calendar,
                                               const parsing::ParserVocabulary& vocabulary) {
    std::vector<Entry> made;
    for (const QString& task : parsing::TaskSplitter::split(text)) {
        made.push_back({.text = task,
                        .parsed = committedReading(task, listNames, now, calendar, false, std::nullopt, vocabulary)});
    }
    return made;
}

platform::Task<std::vector<std::optional<platform::Reminder>>> QuickAdd::add(std::shared_ptr<Store> store,
                                                                             std::vector<Entry> entries) {
    std::vector<std::optional<platform::Reminder>> added;
    for (const Entry& entry : entries) {
        std::optional<platform::Reminder> reminder = co_await store->add(entry.parsed, entry.resolved);
        added.push_back(std::move(reminder));
    }
    co_return added;
}

platform::Task<> QuickAdd::addAndRefine(std::shared_ptr<Store> store, std::vector<Entry> entries,
                                        QStringList listTitles) {
    const std::vector<std::optional<platform::Reminder>> added = co_await add(store, entries);
    if (!parsing::SmartQuickAddParser::isModelAvailable()) co_return;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!added[i] || entries[i].modelRuled) continue;
        co_await refine(store, std::move(entries[i]), *added[i], listTitles);
    }
}

platform::Task<> QuickAdd::addAndRefine(std::shared_ptr<Store> store, Entry entry) {
    std::optional<platform::Reminder> added = co_await store->add(entry.parsed, entry.resolved);
    if (!added || entry.modelRuled || !parsing::SmartQuickAddParser::isModelAvailable()) co_return;
    const QStringList listTitles = store->listTitles();
    co_await refine(std::move(store), std::move(entry), std::move(*added), listTitles);
}

platform::Task<> QuickAdd::refine(std::shared_ptr<Store> store, Entry entry, platform::Reminder added,
                                  QStringList listTitles, FixedFields fixed) {
    std::optional<parsing::ParsedQuickAdd> reading = co_await parsing::SmartQuickAddParser::parse(
        entry.text, std::move(listTitles), parsing::ParserVocabulary::current());
    if (!reading) co_return;
    [[maybe_unused]] const std::optional<ReminderStore::UpdateOutcome> outcome = co_await applyLaterReading(
        std::move(store), std::move(entry), std::move(added), std::move(*reading), std::move(fixed));
}

platform::Task<std::optional<ReminderStore::UpdateOutcome>> QuickAdd::applyLaterReading(std::shared_ptr<Store> store,
                                                                                        Entry entry,
                                                                                        platform::Reminder added,
                                                                                        parsing::ParsedQuickAdd reading,
                                                                                        FixedFields fixed) {
    if (fixed) fixed(reading);
    if (entry.parsed.isEquivalent(reading)) co_return std::nullopt;
    // Any change since the add means someone else has had a say: theirs
    // stands, and a completed or deleted reminder stays so.
    const std::optional<platform::Reminder> now = store->saved(added.identifier);
    if (!now || *now != added) co_return std::nullopt;
    co_return co_await store->update(std::move(reading), std::move(added), std::move(entry.resolved));
}

}  // namespace tavlin::store
