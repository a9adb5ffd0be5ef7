#pragma once

#include "panel/PanelTypes.h"
#include "platform/Task.h"

#include <QPointer>
#include <QSet>
#include <QSize>
#include <QString>

#include <chrono>
#include <map>
#include <optional>
#include <vector>

// The place previews of the typed line: each place it names is found and
// drawn on a map, for the cards under the row that will create it.
namespace tavlin::panel {

class PlacePreviews;

// How long the line must rest before new place names are looked up, so that
// a name is not looked up at every key.
inline constexpr std::chrono::milliseconds locationLookupPause{400};
// How long a change of the previews fades in on the cards (none with
// reduce motion).
inline constexpr std::chrono::milliseconds locationPreviewFade{160};
// The height of a card's map.
inline constexpr int locationSnapshotHeight = 130;

// The size of a map drawn for a card in content `contentWidth` wide: the
// card's map area, since the card draws the map stretched to it and takes
// the map's centre and scale as points of it.
QSize locationSnapshotSize(double contentWidth);

// The names of `requests`.
QSet<QString> requestedNames(const std::vector<LocationRequest>& requests);

// `byName` with only the names in `names`; nothing when it holds no other.
template <class Value>
std::optional<std::map<QString, Value>> requestedOnly(const std::map<QString, Value>& byName,
                                                      const QSet<QString>& names) {
    std::map<QString, Value> kept;
    for (const auto& [name, value] : byName)
        if (names.contains(name)) kept.emplace(name, value);
    if (kept.size() == byName.size()) return std::nullopt;
    return kept;
}

// Fills and updates the place previews for the line's `requests`:
// first a place already found whose requested radius changed is drawn
// again at its new radius, at once; then, after the pause, each name not
// looked up yet is resolved through the store's place resolver, in the
// order written, and drawn at `imageSize`. A name that resolves to nothing
// is kept as failed and not looked up again while the line names it. The
// task ends at the first wait after which it was cancelled, or the previews
// went, and writes nothing more: what it would write belongs to a line
// that has changed since.
platform::Task<> resolveLocationPreviews(std::vector<LocationRequest> requests, QPointer<PlacePreviews> places,
                                         QSize imageSize);

}  // namespace tavlin::panel
