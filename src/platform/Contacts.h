#pragma once

#include "platform/Task.h"

#include <QString>

#include <optional>
#include <vector>

namespace tavlin::platform {

struct PostalAddress {
    QString street;  // one line or several
    QString city;
    QString state;
    QString postalCode;
    QString country;

    // As on an envelope: the street lines, then "<postal code> <city>", the
    // state and the country, each on a line of its own; empty parts are
    // left out.
    QString mailingAddress() const;

    friend bool operator==(const PostalAddress&, const PostalAddress&) = default;
};

struct LabeledPostalAddress {
    QString identifier;  // unique within its contact
    QString label;       // homeLabel, workLabel, another label, or empty for none
    PostalAddress address;

    friend bool operator==(const LabeledPostalAddress&, const LabeledPostalAddress&) = default;
};

struct Contact {
    QString identifier;
    QString givenName;
    QString familyName;
    QString nickname;
    std::vector<LabeledPostalAddress> postalAddresses;  // in the card's order

    friend bool operator==(const Contact&, const Contact&) = default;
};

enum class ContactsAuthorization { notDetermined, restricted, denied, authorized, limited };

// Whether the contacts may be read: in full, or the part the user chose.
inline bool mayReadContacts(ContactsAuthorization status) {
    return status == ContactsAuthorization::authorized || status == ContactsAuthorization::limited;
}

// The user's contacts. Main thread only.
class Contacts {
public:
    // Labels are read as they stand; these two are the words themselves.
    static QString homeLabel() { return QStringLiteral("home"); }
    static QString workLabel() { return QStringLiteral("work"); }

    virtual ~Contacts() = default;

    virtual ContactsAuthorization authorizationStatus() const = 0;
    // Asks the user to let Tavlin read the contacts; true when they did.
    // A failure to ask may end the task with an exception.
    virtual Task<bool> requestAccess() = 0;
    // The contacts one of whose names holds `name`, ignoring case and
    // accents; nothing when the contacts cannot be read.
    virtual std::optional<std::vector<Contact>> contactsMatchingName(const QString& name) = 0;
    // The user's own card; nothing when there is none or it cannot be read.
    virtual std::optional<Contact> ownCard() = 0;
};

}  // namespace tavlin::platform
