#include "devmodes/ContactsTest.h"

#include "devmodes/Output.h"
#include "devmodes/SharedRoutines.h"
#include "platform/Contacts.h"
#include "store/ContactPlace.h"
#include "store/Settings.h"

#include <QSaveFile>
#include <QSet>

#include <optional>
#include <vector>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using platform::ContactsAuthorization;

namespace {

QString authorizationText(ContactsAuthorization status) {
    switch (status) {
    case ContactsAuthorization::notDetermined: return u"notDetermined"_s;
    case ContactsAuthorization::restricted: return u"restricted"_s;
    case ContactsAuthorization::denied: return u"denied"_s;
    case ContactsAuthorization::authorized:
    case ContactsAuthorization::limited: return u"authorized"_s;
    }
    return u"other"_s;
}

QString oneLine(const QString& address) { return QString(address).replace(u'\n', u", "_s); }

// Every line goes to standard output and, with a log path, the log file
// holds all of them after each one: replaced whole, so that a reader never
// sees half a file. A file that cannot be written is left as it is.
class Transcript {
public:
    explicit Transcript(std::optional<QString> logPath) : logPath_(std::move(logPath)) {}

    void line(const QString& text) {
        printLine(text);
        lines_ << text;
        if (!logPath_) return;
        QSaveFile file(*logPath_);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(lines_.join(u'\n').toUtf8());
            file.commit();
        }
    }

private:
    std::optional<QString> logPath_;
    QStringList lines_;
};

std::optional<QString> argumentAfter(const QStringList& arguments, const QString& name) {
    const qsizetype at = arguments.indexOf(name);
    if (at < 0 || at + 1 >= arguments.size()) return std::nullopt;
    return arguments[at + 1];
}

const QString notQueryingLine = u"(not querying — rerun with a trailing “request” to raise the permission prompt)"_s;

void systemSearch(Transcript& out, platform::Contacts& contacts, const QString& query) {
    const std::vector<platform::Contact> found =
        contacts.contactsMatchingName(query).value_or(std::vector<platform::Contact>());
    out.line(u"system predicate matched %1 contact(s):"_s.arg(found.size()));
    for (const platform::Contact& contact : found) {
        out.line(u"  “"_s + contact.givenName + u" "_s + contact.familyName + u"” id="_s + contact.identifier);
        const bool strict =
            store::ContactPlace::matches(query, contact.givenName, contact.familyName, contact.nickname);
        out.line(u"    strictNameMatch=%1 addresses=%2"_s.arg(boolText(strict)).arg(contact.postalAddresses.size()));
        for (const platform::LabeledPostalAddress& address : contact.postalAddresses)
            out.line(u"    ["_s + (address.label.isEmpty() ? u"no label"_s : address.label) + u"] "_s +
                     oneLine(address.address.mailingAddress()));
    }
}

void placeSearch(Transcript& out, platform::Contacts& contacts, const QString& query) {
    const std::vector<store::ContactPlace> places = store::ContactPlace::search(query, contacts);
    QSet<QString> contactIDs;
    for (const store::ContactPlace& place : places) contactIDs.insert(place.contactID);
    out.line(u"candidates: %1 across %2 contact(s)"_s.arg(places.size()).arg(contactIDs.size()));
    for (const store::ContactPlace& place : places) out.line(u"  "_s + place.name + u" — "_s + oneLine(place.address));
}

}  // namespace

platform::Task<> contactsTest(QStringList arguments, QString name, ContactsTestServices services) {
    platform::Contacts& contacts = services.contacts;
    Transcript out(argumentAfter(arguments, u"--contacts-log"_s));

    out.line(u"query: "_s + name);
    const ContactsAuthorization status = contacts.authorizationStatus();
    out.line(u"authorization: "_s + authorizationText(status));
    out.line(u"contact places toggle: "_s + (services.settings.contactPlacesEnabled() ? u"on"_s : u"off"_s));

    if (!platform::mayReadContacts(status)) {
        if (!arguments.contains(u"request"_s)) {
            out.line(notQueryingLine);
            flushStandardOutput();
            terminateApplication();
            co_return;
        }
        // Nothing here comes to the front for the question: there is no
        // system prompt to bring forward.
        out.line(u"responsible process: "_s + parentProcessDescription());
        const bool granted = co_await store::ContactPlace::requestAccess(contacts);
        out.line(u"requested access → granted="_s + boolText(granted));
        const bool authorized = platform::mayReadContacts(contacts.authorizationStatus());
        out.line(u"now: "_s + (authorized ? u"authorized"_s : u"not authorized"_s));
        if (!authorized) {
            out.line(notQueryingLine);
            flushStandardOutput();
            terminateApplication();
            co_return;
        }
    }

    systemSearch(out, contacts, name);
    placeSearch(out, contacts, name);
    flushStandardOutput();
    terminateApplication();
}

}  // namespace tavlin::devmodes
