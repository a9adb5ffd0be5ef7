#include "panel/widgets/LocationPreviewCards.h"

#include "panel/LocationPreviewLookup.h"

#include <QPointer>

namespace tavlin::panel::widgets {

namespace {

std::optional<LocationPreviewEntry> entryOf(const LocationPreviews& previews, const QString& name) {
    const auto found = previews.find(name);
    return found == previews.end() ? std::nullopt : std::optional(found->second);
}

}  // namespace

std::chrono::milliseconds locationCardFade(const PanelModel& model) {
    return model.reduceMotion() ? std::chrono::milliseconds::zero() : locationPreviewFade;
}

rows::LocationPreviewCard::Inputs locationCardInputs(const LocationPreviews& previews, const LocationRequest& request) {
    LocationPreviewEntry entry = entryOf(previews, request.name).value_or(LocationPreviewEntry{});
    return {.requestedName = request.name,
            .resolved = std::move(entry.resolved),
            .snapshot = std::move(entry.snapshot),
            .failed = entry.failed,
            .trigger = request.trigger};
}

rows::LocationPreviewCard* locationPreviewCard(PanelModel& model, const LocationRequest& request, QWidget* parent) {
    auto* card =
        new rows::LocationPreviewCard(locationCardInputs(model.placePreviews().locationPreviews(), request), parent);
    const QPointer<PanelModel> live = &model;
    const QString name = request.name;
    card->onRadiusChange = [live, name](double radius) {
        if (live && !live->isClosed()) live->placePreviews().setLocationRadiusOverride(name, radius);
    };
    // Every write to the previews is heard; only this name's change is shown.
    QObject::connect(&model.placePreviews(), &PlacePreviews::locationPreviewsChanged, card,
                     [live, card, request, shown = entryOf(model.placePreviews().locationPreviews(), name)]() mutable {
                         if (!live || live->isClosed()) return;
                         std::optional<LocationPreviewEntry> entry =
                             entryOf(live->placePreviews().locationPreviews(), request.name);
                         if (entry == shown) return;
                         shown = std::move(entry);
                         card->setInputs(locationCardInputs(live->placePreviews().locationPreviews(), request),
                                         locationCardFade(*live));
                     });
    card->fadeIn(locationCardFade(model));
    return card;
}

}  // namespace tavlin::panel::widgets
