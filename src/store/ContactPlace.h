#pragma once

#include "platform/Contacts.h"
#include "platform/Task.h"

#include <QString>

#include <vector>

namespace tavlin::store {

// One postal address of one contact, offered as a place.
struct ContactPlace {
    QString id;  // "<contact id>#<address id>"
    QString contactID;
    QString name;     // "Anna’s Home"; the contact's name for an address without a label
    QString address;  // the mailing address

    // The addresses of the contacts that `name` names (see matches), home
    // addresses first, then work, then the others; an address already
    // offered is not offered again. Nothing for a name of fewer than two
    // characters, or without access to the contacts.
    static std::vector<ContactPlace> search(const QString& name, platform::Contacts& contacts);

    // Whether a query names a contact: the given name, the nickname or the
    // full name equals it, folded (case and accents ignored).
    static bool matches(const QString& query, const QString& givenName, const QString& familyName,
                        const QString& nickname);

    // Asks the user for access to the contacts: whether it was granted. A
    // failure to ask counts as a refusal.
    static platform::Task<bool> requestAccess(platform::Contacts& contacts);

    friend bool operator==(const ContactPlace&, const ContactPlace&) = default;
};

}  // namespace tavlin::store
