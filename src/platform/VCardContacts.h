#pragma once

#include "platform/Contacts.h"

#include <QByteArray>
#include <QString>

namespace tavlin::platform {

// Contacts as a folder of vCard files (version 3.0 or 4.0), the layout
// that khard and vdirsyncer use: `.vcf` files in the folder itself or in
// its address-book folders, each holding one card or several.
//
// - Names: N (family and given name), NICKNAME (the first one).
// - Postal addresses: ADR, labelled home or work by TYPE=home or TYPE=work;
//   an X-ABLabel of the same group, or another TYPE, is a label of its own.
// - The user's own card is the one whose UID the file `me` in the folder
//   holds, on its first line.
//
// Everything is read afresh at each call. Without the folder there are
// simply no contacts; there is nothing to ask permission for.
class VCardContacts final : public Contacts {
public:
    // TAVLIN_CONTACTS_DIR, else $XDG_DATA_HOME/Tavlin/Contacts
    // (~/.local/share when unset).
    static QString folderFromEnvironment();

    explicit VCardContacts(QString folder = folderFromEnvironment()) : folder_(std::move(folder)) {}

    ContactsAuthorization authorizationStatus() const override { return ContactsAuthorization::authorized; }
    // Granted at once: the files are the user's own.
    Task<bool> requestAccess() override;
    std::optional<std::vector<Contact>> contactsMatchingName(const QString& name) override;
    std::optional<Contact> ownCard() override;

    // The cards of one file, in order; a card without a UID is named by
    // `fallbackIdentifier` and its place in the file.
    static std::vector<Contact> parse(const QByteArray& text, const QString& fallbackIdentifier);

private:
    std::optional<std::vector<Contact>> readAll() const;

    QString folder_;
};

}  // namespace tavlin::platform
