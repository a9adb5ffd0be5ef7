#include "store/PlaceResolver.h"

#include "parsing/ReminderEditing.h"
#include "parsing/WordSet.h"
#include "platform/Log.h"
#include "platform/Text.h"
#include "store/ContactPlace.h"
#include "store/ReminderStore.h"

#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tavlin::store {

namespace {

// Alike apart from case, accents and the apostrophe's form.
QString nameKey(const QString& name) {
    QString straight = name;
    straight.replace(u'’', u'\'');
    return platform::trimmedWhitespaceAndNewlines(parsing::WordSet::fold(straight));
}

std::optional<ResolvedLocation> knownPlaceNamed(const std::vector<ResolvedLocation>& known, const QString& name) {
    const QString key = nameKey(name);
    const auto found = std::find_if(known.begin(), known.end(), [&](const ResolvedLocation& place) {
        const QString placeKey = nameKey(place.name);
        return !placeKey.isEmpty() && placeKey == key;
    });
    return found == known.end() ? std::nullopt : std::optional(*found);
}

std::optional<ResolvedLocation> knownPlaceHolding(const std::vector<ResolvedLocation>& known,
                                                  const QStringList& words) {
    for (const ResolvedLocation& place : known)
        for (const QString& word : words)
            if (platform::contains(place.name, word, platform::SearchOption::CaseInsensitive)) return place;
    return std::nullopt;
}

ResolvedLocation at(QString name, platform::GeoLocation location) {
    return {std::move(name), location.latitude, location.longitude, PlaceResolver::defaultRadius};
}

}  // namespace

PlaceResolver::PlaceResolver(platform::Contacts& contacts, platform::MapSearch& mapSearch, platform::Geocoder& geocoder,
                             const parsing::ParserVocabulary& vocabulary)
    : contacts_(contacts), mapSearch_(mapSearch), geocoder_(geocoder), vocabulary_(vocabulary) {}

std::vector<ResolvedLocation> PlaceResolver::knownPlaces(const ReminderStore* store) {
    std::vector<ResolvedLocation> places;
    if (!store) return places;
    for (const platform::Reminder& reminder : store->reminders()) {
        const std::optional<platform::StructuredLocation> location = parsing::ReminderEditing::alarmLocation(reminder);
        if (!location || !location->geoLocation) continue;
        places.push_back({location->title, location->geoLocation->latitude, location->geoLocation->longitude,
                          location->radius > 0 ? location->radius : defaultRadius});
    }
    return places;
}

std::optional<PlaceResolver::Kind> PlaceResolver::kindOf(const QString& name) const {
    const QString key = parsing::WordSet::fold(name);
    if (vocabulary_.homeSynonyms.containsFolded(key)) return Kind::home;
    if (vocabulary_.workSynonyms.containsFolded(key)) return Kind::work;
    return std::nullopt;
}

platform::Task<std::optional<ResolvedLocation>> PlaceResolver::resolve(QString name, const ReminderStore* store) const {
    // Read before the first wait: the store may change while a service answers.
    const bool contactPlacesEnabled = store && store->settings().contactPlacesEnabled();
    const std::vector<ResolvedLocation> known = knownPlaces(store);
    if (const std::optional<Kind> kind = kindOf(name)) {
        const parsing::WordSet& words = *kind == Kind::home ? vocabulary_.homeSynonyms : vocabulary_.workSynonyms;
        if (auto place = knownPlaceHolding(known, words.raw())) co_return place;
        if (contactPlacesEnabled) {
            std::optional<ResolvedLocation> own = co_await ownCardPlace(*kind);
            if (own) co_return own;
        }
    } else if (contactPlacesEnabled) {
        std::optional<ResolvedLocation> contact = co_await contactPlace(name);
        if (contact) co_return contact;
    }
    if (auto place = knownPlaceNamed(known, name)) co_return place;
    co_return co_await mapPlace(name);
}

platform::Task<std::optional<ResolvedLocation>> PlaceResolver::ownCardPlace(Kind kind) const {
    if (!platform::mayReadContacts(contacts_.authorizationStatus())) co_return std::nullopt;
    const std::optional<platform::Contact> card = contacts_.ownCard();
    if (!card) co_return std::nullopt;
    const QString label = kind == Kind::home ? platform::Contacts::homeLabel() : platform::Contacts::workLabel();
    const auto address = std::find_if(card->postalAddresses.begin(), card->postalAddresses.end(),
                                      [&](const platform::LabeledPostalAddress& a) { return a.label == label; });
    if (address == card->postalAddresses.end()) co_return std::nullopt;
    const std::optional<platform::GeoLocation> location = co_await geocoded(address->address.mailingAddress());
    if (!location) co_return std::nullopt;
    const QString word = kind == Kind::home ? u"Home"_s : u"Work"_s;
    co_return at(card->givenName.isEmpty() ? word : card->givenName + u"’s "_s + word, *location);
}

// Only a name that picks out one contact: of two "Anna"s neither is meant.
platform::Task<std::optional<ResolvedLocation>> PlaceResolver::contactPlace(QString name) const {
    const std::vector<ContactPlace> places = ContactPlace::search(name, contacts_);
    QSet<QString> contacts;
    for (const ContactPlace& place : places) contacts.insert(place.contactID);
    if (contacts.size() != 1) co_return std::nullopt;
    const std::optional<platform::GeoLocation> location = co_await geocoded(places.front().address);
    if (!location) co_return std::nullopt;
    co_return at(places.front().name, *location);
}

platform::Task<std::optional<ResolvedLocation>> PlaceResolver::mapPlace(QString name) const {
    std::vector<platform::Placemark> items;
    try {
        items = co_await mapSearch_.search(name);
    } catch (const platform::PlaceServiceError& error) {
        qCDebug(lcStore) << "map search for a place failed:" << error.what();
    }
    if (items.empty() || !items.front().location) co_return std::nullopt;
    co_return at(items.front().name.isEmpty() ? name : items.front().name, *items.front().location);
}

platform::Task<std::optional<platform::GeoLocation>> PlaceResolver::geocoded(QString address) const {
    std::vector<platform::Placemark> placemarks;
    try {
        placemarks = co_await geocoder_.geocodeAddress(address);
    } catch (const platform::PlaceServiceError& error) {
        qCDebug(lcStore) << "geocoding an address failed:" << error.what();
    }
    co_return placemarks.empty() ? std::nullopt : placemarks.front().location;
}

}  // namespace tavlin::store
