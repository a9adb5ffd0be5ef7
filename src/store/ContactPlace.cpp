#include "store/ContactPlace.h"

#include "parsing/TextHelpers.h"
#include "parsing/WordSet.h"
#include "platform/IcuString.h"
#include "platform/Locale.h"
#include "platform/Text.h"

#include <QSet>

#include <algorithm>
#include <exception>

using namespace Qt::StringLiterals;

namespace tavlin::store {

namespace {

using platform::Contact;
using platform::Contacts;
using platform::LabeledPostalAddress;

QString fullName(const QString& givenName, const QString& familyName) {
    return parsing::collapseWhitespace(givenName + u' ' + familyName);
}

QString fullName(const Contact& contact) { return fullName(contact.givenName, contact.familyName); }

QString shortName(const Contact& contact) {
    return contact.givenName.isEmpty() ? fullName(contact) : contact.givenName;
}

// Each word with a capital, in the user's locale: "summer house" → "Summer House".
QString capitalized(const QString& text) {
    icu::UnicodeString words = platform::icuView(text);
    return platform::fromIcu(words.toTitle(nullptr, platform::Locale::current().icu()));
}

int rank(const LabeledPostalAddress& address) {
    if (address.label == Contacts::homeLabel()) return 0;
    if (address.label == Contacts::workLabel()) return 1;
    return 2;
}

QString placeName(const Contact& contact, const LabeledPostalAddress& address) {
    if (address.label.isEmpty()) return fullName(contact).isEmpty() ? shortName(contact) : fullName(contact);
    const QString label = capitalized(address.label);
    return shortName(contact).isEmpty() ? label : shortName(contact) + u"’s "_s + label;
}

std::vector<ContactPlace> placesOf(const Contact& contact) {
    std::vector<LabeledPostalAddress> addresses = contact.postalAddresses;
    std::stable_sort(addresses.begin(), addresses.end(),
                     [](const LabeledPostalAddress& a, const LabeledPostalAddress& b) { return rank(a) < rank(b); });
    std::vector<ContactPlace> places;
    for (const LabeledPostalAddress& address : addresses)
        places.push_back({.id = contact.identifier + u'#' + address.identifier,
                          .contactID = contact.identifier,
                          .name = placeName(contact, address),
                          .address = address.address.mailingAddress()});
    return places;
}

// The folded name, trimmed of blanks (not of line breaks).
QString queryKey(const QString& name) { return platform::trimmedWhitespace(parsing::WordSet::fold(name)); }

}  // namespace

bool ContactPlace::matches(const QString& query, const QString& givenName, const QString& familyName,
                           const QString& nickname) {
    const QString key = queryKey(query);
    for (const QString& name : {givenName, nickname, fullName(givenName, familyName)}) {
        const QString folded = parsing::WordSet::fold(name);
        if (!folded.isEmpty() && folded == key) return true;
    }
    return false;
}

platform::Task<bool> ContactPlace::requestAccess(platform::Contacts& contacts) {
    bool granted = false;
    try {
        granted = co_await contacts.requestAccess();
    } catch (const std::exception&) {
        granted = false;
    }
    co_return granted;
}

std::vector<ContactPlace> ContactPlace::search(const QString& name, platform::Contacts& contacts) {
    const QString query = queryKey(name);
    if (platform::graphemeCount(query) < 2 || !platform::mayReadContacts(contacts.authorizationStatus())) return {};
    const std::optional<std::vector<Contact>> found = contacts.contactsMatchingName(name);
    if (!found) return {};
    std::vector<ContactPlace> places;
    QSet<QString> addresses;
    for (const Contact& contact : *found) {
        if (!matches(query, contact.givenName, contact.familyName, contact.nickname)) continue;
        for (ContactPlace& place : placesOf(contact)) {
            const QString address = parsing::WordSet::fold(place.address);
            if (addresses.contains(address)) continue;
            addresses.insert(address);
            places.push_back(std::move(place));
        }
    }
    return places;
}

}  // namespace tavlin::store
