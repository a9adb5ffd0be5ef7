#include "panel/LineCommit.h"

namespace tavlin::panel {

std::shared_ptr<CommitStore> commitStoreOver(store::ReminderStore& store) { return store::QuickAdd::over(store); }

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
    return store::QuickAdd::addAndRefine(std::move(store), std::move(parts), std::move(listTitles));
}

platform::Task<> createAndRefine(std::shared_ptr<CommitStore> store, parsing::ParsedQuickAdd parsed,
                                 std::optional<store::ResolvedLocation> resolved, bool modelRuled, QString text) {
    PreparedPart entry{.text = std::move(text),
                       .parsed = std::move(parsed),
                       .resolved = std::move(resolved),
                       .modelRuled = modelRuled};
    return store::QuickAdd::addAndRefine(std::move(store), std::move(entry));
}

}  // namespace tavlin::panel
