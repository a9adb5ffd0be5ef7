#pragma once

#include "platform/Clock.h"
#include "platform/Contacts.h"
#include "platform/Geocoder.h"
#include "platform/MapSearch.h"
#include "platform/PowerEvents.h"

#include <QHash>
#include <QStringList>

#include <chrono>
#include <optional>
#include <stdexcept>

// Stand-ins for the platform services the store uses, driven by the tests.

class ScriptedPowerEvents final : public tavlin::platform::PowerEvents {
public:
    void wakeSystem() { emit systemDidWake(); }
    void sleepDisplay() { emit displayDidSleep(); }
    void wakeDisplay() { emit displayDidWake(); }
};

class MemoryContacts final : public tavlin::platform::Contacts {
public:
    using Contact = tavlin::platform::Contact;

    std::vector<Contact> contacts;
    std::optional<QString> ownCardIdentifier;
    tavlin::platform::ContactsAuthorization authorization = tavlin::platform::ContactsAuthorization::authorized;
    bool unreadable = false;
    QStringList searches;  // the names asked for, in order

    tavlin::platform::ContactsAuthorization authorizationStatus() const override { return authorization; }

    // The user's answer to a request for access; nothing makes the request
    // fail. An answer also becomes the status.
    std::optional<bool> accessAnswer = true;
    int accessRequests = 0;
    tavlin::platform::Task<bool> requestAccess() override {
        ++accessRequests;
        if (!accessAnswer) throw std::runtime_error("the contacts cannot be asked");
        authorization = *accessAnswer ? tavlin::platform::ContactsAuthorization::authorized
                                      : tavlin::platform::ContactsAuthorization::denied;
        co_return *accessAnswer;
    }

    // Every contact: the caller picks by its own rule, as it must with a
    // store that matches loosely.
    std::optional<std::vector<Contact>> contactsMatchingName(const QString& name) override {
        searches << name;
        if (unreadable) return std::nullopt;
        return contacts;
    }

    std::optional<Contact> ownCard() override {
        for (const Contact& contact : contacts)
            if (ownCardIdentifier == contact.identifier) return contact;
        return std::nullopt;
    }
};

// Answers a query with the places scripted for it, after `delay` on the
// main clock; an unscripted query fails as an absent service does.
class ScriptedPlaces final : public tavlin::platform::Geocoder, public tavlin::platform::MapSearch {
public:
    using Placemarks = std::vector<tavlin::platform::Placemark>;

    QHash<QString, Placemarks> answers;
    QStringList queries;  // in order
    std::chrono::milliseconds delay{0};

    tavlin::platform::Task<Placemarks> geocodeAddress(QString address) override { return answer(std::move(address)); }
    tavlin::platform::Task<Placemarks> search(QString query) override { return answer(std::move(query)); }

private:
    tavlin::platform::Task<Placemarks> answer(QString query) {
        queries << query;
        if (delay.count() > 0) {
            const bool slept = co_await tavlin::platform::sleep(delay);
            if (!slept) co_return Placemarks{};
        }
        if (!answers.contains(query)) throw tavlin::platform::PlaceServiceError("no such place scripted");
        co_return answers.value(query);
    }
};
