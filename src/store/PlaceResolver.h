#pragma once

#include "parsing/ParserVocabulary.h"
#include "platform/Contacts.h"
#include "platform/Geocoder.h"
#include "platform/MapSearch.h"
#include "platform/Task.h"
#include "store/ResolvedLocation.h"

#include <QString>

#include <optional>
#include <vector>

namespace tavlin::store {

class ReminderStore;

// Turns a typed place name into coordinates, trying in turn:
// - for a home or work word, the places of earlier reminders whose title
//   holds such a word, then (with contact places on) the user's own card;
// - for any other name, with contact places on, the one contact of that
//   name, its address geocoded;
// - a place of an earlier reminder by the same name;
// - the map search.
// A step that fails or finds nothing falls through to the next. Main
// thread only.
class PlaceResolver {
public:
    static constexpr double defaultRadius = 100;  // metres

    // `vocabulary` gives the home and work words.
    PlaceResolver(platform::Contacts& contacts, platform::MapSearch& mapSearch, platform::Geocoder& geocoder,
                  const parsing::ParserVocabulary& vocabulary = parsing::ParserVocabulary::current());

    // Nothing when every step fails. Without a store there are no earlier
    // places and no contacts.
    platform::Task<std::optional<ResolvedLocation>> resolve(QString name, const ReminderStore* store) const;

    // The place of each of the store's reminders whose first titled
    // location alarm has coordinates, in the store's order.
    static std::vector<ResolvedLocation> knownPlaces(const ReminderStore* store);

private:
    enum class Kind { home, work };

    platform::Task<std::optional<ResolvedLocation>> ownCardPlace(Kind kind) const;
    platform::Task<std::optional<ResolvedLocation>> contactPlace(QString name) const;
    platform::Task<std::optional<ResolvedLocation>> mapPlace(QString name) const;
    // The location of the first place the geocoder finds for `address`.
    platform::Task<std::optional<platform::GeoLocation>> geocoded(QString address) const;
    std::optional<Kind> kindOf(const QString& name) const;

    platform::Contacts& contacts_;
    platform::MapSearch& mapSearch_;
    platform::Geocoder& geocoder_;
    const parsing::ParserVocabulary& vocabulary_;
};

}  // namespace tavlin::store
