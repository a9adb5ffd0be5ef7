#include "platform/VCardContacts.h"

#include "support/ScopedVariable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

// As an address book exports it: folded lines, groups, labels of its own,
// escapes, and a second card in the same file.
const QByteArray kTwoCards = crlf(R"(BEGIN:VCARD
VERSION:3.0
UID:urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1
FN:Anna de Vries
N:de Vries;Anna;;;
NICKNAME:Annie,Ans
item1.ADR;TYPE=work;TYPE=pref:;;Zuidas 5;Amsterdam;;1082 MD;Netherlands
item2.ADR:;;Dorpsstraat 1\, achter;Bergen;NH;1861 KK;
item2.X-ABLabel:Summer house
ADR;TYPE=HOME,POSTAL:;;Prinsen
 gracht 1\nTweede etage;Amsterdam;;1015 DK;
item3.ADR:;;Kerkplein 2;Delft;;;
item3.X-ABLabel:_$!<Other>!$_
END:VCARD
BEGIN:VCARD
VERSION:4.0
FN:Bob
N:;Bob;;;
ADR;TYPE=parcel:;;Dam 1;Amsterdam;;;
END:VCARD
)");

class VCardContactsTest : public ::testing::Test {
protected:
    QString folder() const { return QDir::cleanPath(directory.path()); }

    void write(const QString& relativePath, const QByteArray& contents) {
        writeTestFile(folder() + u'/' + relativePath, contents);
    }

    static QByteArray card(const char* uid, const char* given, const char* family) {
        return crlf(QByteArray("BEGIN:VCARD\nVERSION:3.0\nUID:") + uid + "\nN:" + family + ";" + given +
                    ";;;\nEND:VCARD\n");
    }

    QTemporaryDir directory;
};

QStringList identifiers(const std::optional<std::vector<Contact>>& contacts) {
    QStringList ids;
    for (const Contact& contact : contacts.value_or(std::vector<Contact>{})) ids << contact.identifier;
    return ids;
}

}  // namespace

TEST(VCardParsing, NamesAndLabelledAddressesOfEveryCardInAFile) {
    const std::vector<Contact> cards = VCardContacts::parse(kTwoCards, u"people"_s);
    ASSERT_EQ(cards.size(), 2u);
    const Contact& anna = cards[0];
    EXPECT_EQ(anna.identifier, u"urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1"_s);
    EXPECT_EQ(anna.givenName, u"Anna"_s);
    EXPECT_EQ(anna.familyName, u"de Vries"_s);
    EXPECT_EQ(anna.nickname, u"Annie"_s);
    const std::vector<LabeledPostalAddress> expected = {
        {u"0"_s,
         Contacts::workLabel(),
         {.street = u"Zuidas 5"_s, .city = u"Amsterdam"_s, .postalCode = u"1082 MD"_s, .country = u"Netherlands"_s}},
        {u"1"_s,
         u"Summer house"_s,
         {.street = u"Dorpsstraat 1, achter"_s, .city = u"Bergen"_s, .state = u"NH"_s, .postalCode = u"1861 KK"_s}},
        {u"2"_s,
         Contacts::homeLabel(),
         {.street = u"Prinsengracht 1\nTweede etage"_s, .city = u"Amsterdam"_s, .postalCode = u"1015 DK"_s}},
        {u"3"_s, u"other"_s, {.street = u"Kerkplein 2"_s, .city = u"Delft"_s}},
    };
    EXPECT_EQ(anna.postalAddresses, expected);

    const Contact& bob = cards[1];
    EXPECT_EQ(bob.identifier, u"people#1"_s) << "a card without a UID is named by its file and place";
    EXPECT_EQ(bob.givenName, u"Bob"_s);
    ASSERT_EQ(bob.postalAddresses.size(), 1u);
    EXPECT_EQ(bob.postalAddresses[0].label, QString()) << "a delivery type is no label";
}

TEST(PostalAddresses, TheMailingAddressLeavesOutEmptyParts) {
    const PostalAddress full{.street = u"Prinsengracht 1\nTweede etage"_s,
                             .city = u"Amsterdam"_s,
                             .state = u"Noord-Holland"_s,
                             .postalCode = u"1015 DK"_s,
                             .country = u"Netherlands"_s};
    EXPECT_EQ(full.mailingAddress(), u"Prinsengracht 1\nTweede etage\n1015 DK Amsterdam\nNoord-Holland\nNetherlands"_s);
    EXPECT_EQ((PostalAddress{.city = u"Delft"_s}).mailingAddress(), u"Delft"_s);
    EXPECT_EQ((PostalAddress{.postalCode = u"2611"_s}).mailingAddress(), u"2611"_s);
    EXPECT_EQ(PostalAddress().mailingAddress(), QString());
}

TEST_F(VCardContactsTest, CardsOfTheFolderAndItsAddressBooksAreSearchedByAnyName) {
    write(u"anna.vcf"_s, card("anna", "Anna", "de Vries"));
    write(u"work/jan.vcf"_s, card("jan", "Jan", "Jansen"));
    write(u"work/notes.txt"_s, card("not a card file", "Anna", "Text"));
    write(u"family/people.vcf"_s, kTwoCards);
    VCardContacts contacts(folder());
    EXPECT_EQ(identifiers(contacts.contactsMatchingName(u"ANNA"_s)),
              (QStringList{u"anna"_s, u"urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1"_s}));
    EXPECT_EQ(identifiers(contacts.contactsMatchingName(u"annié"_s)),
              (QStringList{u"urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1"_s}))
        << "the nickname, accents aside";
    EXPECT_EQ(identifiers(contacts.contactsMatchingName(u"jan jansen"_s)), QStringList{u"jan"_s});
    EXPECT_EQ(contacts.authorizationStatus(), ContactsAuthorization::authorized);
}

TEST_F(VCardContactsTest, TheOwnCardIsTheOneTheMeFileNames) {
    write(u"anna.vcf"_s, card("anna", "Anna", "de Vries"));
    write(u"books/jan.vcf"_s, card("jan", "Jan", "Jansen"));
    VCardContacts contacts(folder());
    EXPECT_EQ(contacts.ownCard(), std::nullopt);
    write(u"me"_s, "jan\n");
    ASSERT_TRUE(contacts.ownCard());
    EXPECT_EQ(contacts.ownCard()->givenName, u"Jan"_s);
    write(u"me"_s, "someone else\n");
    EXPECT_EQ(contacts.ownCard(), std::nullopt);
}

TEST_F(VCardContactsTest, WithoutTheFolderThereAreSimplyNoContacts) {
    VCardContacts contacts(folder() + u"/missing"_s);
    const std::optional<std::vector<Contact>> found = contacts.contactsMatchingName(u"Anna"_s);
    ASSERT_TRUE(found) << "no folder is not a failure";
    EXPECT_TRUE(found->empty());
    EXPECT_EQ(contacts.ownCard(), std::nullopt);
    EXPECT_EQ(contacts.authorizationStatus(), ContactsAuthorization::authorized);
}

TEST(VCardContactsFolder, IsTheConfiguredOneElseUnderTheDataFolder) {
    const ScopedVariable data("XDG_DATA_HOME", "/data");
    {
        const ScopedVariable configured("TAVLIN_CONTACTS_DIR", "/somewhere/contacts");
        EXPECT_EQ(VCardContacts::folderFromEnvironment(), u"/somewhere/contacts"_s);
    }
    const ScopedVariable unconfigured("TAVLIN_CONTACTS_DIR", std::nullopt);
    EXPECT_EQ(VCardContacts::folderFromEnvironment(), u"/data/Tavlin/Contacts"_s);
}
