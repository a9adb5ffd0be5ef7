#include "panel/LineCommit.h"

#include "parsing/ParserVocabulary.h"
#include "parsing/SmartQuickAddParser.h"
#include "store/ReminderStore.h"

#include <QPointer>

namespace tavlin::panel {

namespace {

class StoreCommits final : public CommitStore {
public:
    explicit StoreCommits(store::ReminderStore& store) : store_(&store) {}

    QStringList listTitles() const override {
        QStringList titles;
        if (store_)
            for (const platform::ReminderList& list : store_->lists()) titles << list.title;
        return titles;
    }

    platform::Task<std::optional<platform::Reminder>> add(parsing::ParsedQuickAdd parsed,
                                                          std::optional<store::ResolvedLocation> place) override {
        if (!store_) co_return std::nullopt;
        co_return co_await store_->add(std::move(parsed), std::move(place));
    }

    std::optional<platform::Reminder> saved(const QString& identifier) const override {
        if (!store_) return std::nullopt;
        return store_->eventStore().reminder(identifier);
    }

    platform::Task<> update(parsing::ParsedQuickAdd parsed, platform::Reminder reminder,
                            std::optional<store::ResolvedLocation> place) override {
        if (!store_) co_return;
        co_await store_->update(std::move(parsed), std::move(reminder), std::move(place));
    }

private:
    QPointer<store::ReminderStore> store_;
};

// The model's reading of an added reminder's text; the reminder is updated
// when the reading says something else. The reading may come seconds after
// the add: a reminder changed since (edited in its row, by an assistant, in
// another program), completed or gone keeps what it has.
platform::Task<> refine(std::shared_ptr<CommitStore> store, QString text, parsing::ParsedQuickAdd parsed,
                        platform::Reminder added, std::optional<store::ResolvedLocation> resolved,
                        QStringList listTitles) {
    std::optional<parsing::ParsedQuickAdd> reading = co_await parsing::SmartQuickAddParser::parse(
        std::move(text), std::move(listTitles), parsing::ParserVocabulary::current());
    if (!reading || parsed.isEquivalent(*reading)) co_return;
    const std::optional<platform::Reminder> now = store->saved(added.identifier);
    if (!now || *now != added) co_return;
    co_await store->update(std::move(*reading), std::move(added), std::move(resolved));
}

}  // namespace

std::shared_ptr<CommitStore> commitStoreOver(store::ReminderStore& store) {
    return std::make_shared<StoreCommits>(store);
}

std::optional<store::ResolvedLocation> resolvedPlace(const parsing::ParsedQuickAdd& parsed,
                                                     const LocationPreviews& previews,
                                                     const RadiusOverrides& radiusOverrides) {
    if (!parsed.locationName) return std::nullopt;
    const QString& name = *parsed.locationName;
    const auto found = previews.find(name);
    if (found == previews.end() || !found->second.resolved) return std::nullopt;
    store::ResolvedLocation place = *found->second.resolved;
    const auto chosen = radiusOverrides.find(name);
    place.radius = chosen != radiusOverrides.end() ? chosen->second : parsed.locationRadius.value_or(place.radius);
    return place;
}

std::optional<PreparedPart> preparePart(const QString& part, const PartResults& partResults,
                                        const LocationPreviews& previews, const ReadingContext& context,
                                        const RadiusOverrides& radiusOverrides) {
    const auto found = partResults.find(part);
    const bool modelRuled = found != partResults.end();
    parsing::ParsedQuickAdd parsed = modelRuled && found->second ? *found->second : context.ruleReading(part);
    if (parsed.title.isEmpty()) return std::nullopt;
    std::optional<store::ResolvedLocation> resolved = resolvedPlace(parsed, previews, radiusOverrides);
    return PreparedPart{
        .text = part, .parsed = std::move(parsed), .resolved = std::move(resolved), .modelRuled = modelRuled};
}

platform::Task<> createPartsAndRefine(std::shared_ptr<CommitStore> store, std::vector<PreparedPart> parts,
                                      QStringList listTitles) {
    struct Created {
        PreparedPart part;
        platform::Reminder reminder;
    };
    std::vector<Created> created;
    for (PreparedPart& part : parts) {
        std::optional<platform::Reminder> added = co_await store->add(part.parsed, part.resolved);
        if (added && !part.modelRuled) created.push_back({std::move(part), std::move(*added)});
    }
    if (created.empty() || !parsing::SmartQuickAddParser::isModelAvailable()) co_return;
    for (Created& item : created)
        co_await refine(store, item.part.text, item.part.parsed, item.reminder, item.part.resolved, listTitles);
}

platform::Task<> createAndRefine(std::shared_ptr<CommitStore> store, parsing::ParsedQuickAdd parsed,
                                 std::optional<store::ResolvedLocation> resolved, bool modelRuled, QString text) {
    std::optional<platform::Reminder> added = co_await store->add(parsed, resolved);
    if (!added || modelRuled || !parsing::SmartQuickAddParser::isModelAvailable()) co_return;
    co_await refine(store, std::move(text), std::move(parsed), std::move(*added), std::move(resolved),
                    store->listTitles());
}

}  // namespace tavlin::panel
