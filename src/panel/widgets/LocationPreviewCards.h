#pragma once

#include "panel/PanelModel.h"
#include "rows/LocationPreviewCard.h"

#include <chrono>

class QWidget;

namespace tavlin::panel::widgets {

// The card of a place that the typed line names, for the create area: what
// the model's preview of `request`'s name holds (while there is none yet,
// nothing found and not failed: the card's loading look).
rows::LocationPreviewCard::Inputs locationCardInputs(const LocationPreviews& previews, const LocationRequest& request);

// How long a card's arrival, change or leaving fades: none with reduce
// motion (a card that goes: fadeOutAndDelete).
std::chrono::milliseconds locationCardFade(const PanelModel& model);

// A card for `request` that follows the model's preview of its name, each
// change fading in (none with reduce motion), and sets a radius picked or
// dragged on it as that name's radius; it fades in itself. It follows the
// model while both live; a changed request takes a new card.
rows::LocationPreviewCard* locationPreviewCard(PanelModel& model, const LocationRequest& request,
                                               QWidget* parent = nullptr);

}  // namespace tavlin::panel::widgets
