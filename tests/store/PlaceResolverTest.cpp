// Place names to coordinates: earlier places, the user's own card, contacts
// and the map, each step falling through to the next.

#include "ReminderStoreFixture.h"

#include "platform/NominatimGeocoder.h"
#include "platform/PhotonMapSearch.h"
#include "store/ContactPlace.h"
#include "store/ReminderLocation.h"

#include "support/FakeHTTPServer.h"
#include "support/MainLoop.h"

#include <QUrlQuery>

using namespace std::chrono_literals;
using namespace tavlin::platform;
using namespace tavlin::store;
using namespace Qt::StringLiterals;

namespace {

class PlaceResolverTest : public ReminderStoreFixture {
protected:
    // German and English home and work words.
    const tavlin::parsing::ParserVocabulary vocabulary =
        tavlin::parsing::ParserVocabulary::forLocaleIdentifiers({u"de_DE"_s});
    PlaceResolver resolver{contacts, geography, geography, vocabulary};

    // A store whose reminders have these places as their alarms.
    const ReminderStore& storeWithPlaces(std::vector<StructuredLocation> places) {
        std::vector<Reminder> reminders;
        for (StructuredLocation& place : places) {
            Reminder r = reminder(place.title.toUtf8().constData());
            r.alarms = {Alarm::on(std::move(place), AlarmProximity::enter)};
            reminders.push_back(std::move(r));
        }
        return storeWith(std::move(reminders), {list("L1", "One")});
    }

    std::optional<ResolvedLocation> resolved(const QString& name, const ReminderStore* from) {
        Task<std::optional<ResolvedLocation>> task = resolver.resolve(name, from);
        clock.runDueActions();
        EXPECT_TRUE(task.isDone());
        return task.result();
    }

    static Contact anna(QString identifier = u"anna"_s) {
        return {.identifier = std::move(identifier),
                .givenName = u"Anna"_s,
                .familyName = u"de Vries"_s,
                .nickname = u"Annie"_s,
                .postalAddresses = {{.identifier = u"0"_s, .label = Contacts::workLabel(), .address = office},
                                    {.identifier = u"1"_s, .label = Contacts::homeLabel(), .address = canal}}};
    }

    inline static const PostalAddress canal{
        .street = u"Prinsengracht 1"_s, .city = u"Amsterdam"_s, .postalCode = u"1015 DK"_s};
    inline static const PostalAddress office{.street = u"Zuidas 5"_s, .city = u"Amsterdam"_s};
    static constexpr GeoLocation canalHouse{52.37, 4.88};
};

}  // namespace

TEST_F(PlaceResolverTest, AHomeWordFindsAnEarlierPlaceThatHoldsAHomeWordBeforeAnythingElse) {
    settings.setContactPlacesEnabled(true);
    contacts.contacts = {anna()};
    contacts.ownCardIdentifier = u"anna"_s;
    const ReminderStore& store =
        storeWithPlaces({{u"Gym"_s, GeoLocation{1, 1}, 50}, {u"Mein Zuhause"_s, canalHouse, 250}});
    for (const QString& typed : {u"zuhause"_s, u"ZÜHAUSE"_s, u"Home"_s}) {
        SCOPED_TRACE(typed.toStdString());
        EXPECT_EQ(resolved(typed, &store), (ResolvedLocation{u"Mein Zuhause"_s, 52.37, 4.88, 250}));
    }
    EXPECT_TRUE(geography.queries.isEmpty());
    EXPECT_TRUE(contacts.searches.isEmpty());
}

TEST_F(PlaceResolverTest, AHomeWordWithoutContactPlacesIsResolvedLikeAnyName) {
    const ReminderStore& store = storeWithPlaces({});
    geography.answers[u"home"_s] = {{u"Home Depot"_s, GeoLocation{3, 4}}};
    EXPECT_EQ(resolved(u"home"_s, &store), (ResolvedLocation{u"Home Depot"_s, 3, 4, 100}));
}

TEST_F(PlaceResolverTest, AHomeOrWorkWordTakesTheAddressOfTheOwnCard) {
    settings.setContactPlacesEnabled(true);
    const ReminderStore& store = storeWithPlaces({});
    geography.answers[canal.mailingAddress()] = {{QString(), canalHouse}};
    geography.answers[office.mailingAddress()] = {{QString(), GeoLocation{52.34, 4.87}}};
    struct Case {
        const char* name;
        QString givenName;
        QString typed;
        std::optional<ResolvedLocation> place;
    };
    const Case cases[] = {
        {"home, with a given name", u"Anna"_s, u"home"_s, ResolvedLocation{u"Anna’s Home"_s, 52.37, 4.88, 100}},
        {"home, without one", QString(), u"house"_s, ResolvedLocation{u"Home"_s, 52.37, 4.88, 100}},
        {"work", u"Anna"_s, u"Büro"_s, ResolvedLocation{u"Anna’s Work"_s, 52.34, 4.87, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Contact own = anna();
        own.givenName = c.givenName;
        contacts.contacts = {own};
        contacts.ownCardIdentifier = own.identifier;
        EXPECT_EQ(resolved(c.typed, &store), c.place);
    }
}

TEST_F(PlaceResolverTest, AnOwnCardThatCannotServeFallsThroughToTheMap) {
    settings.setContactPlacesEnabled(true);
    const ReminderStore& store = storeWithPlaces({});
    geography.answers[u"home"_s] = {{u"Somewhere"_s, GeoLocation{5, 6}}};
    struct Case {
        const char* name;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"no access to the contacts", [&] { contacts.authorization = ContactsAuthorization::denied; }},
        {"no own card", [&] { contacts.ownCardIdentifier.reset(); }},
        {"no home address on it",
         [&] { contacts.contacts[0].postalAddresses.erase(contacts.contacts[0].postalAddresses.begin() + 1); }},
        {"an address the geocoder does not know", [] {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        contacts = MemoryContacts();
        contacts.contacts = {anna()};
        contacts.ownCardIdentifier = u"anna"_s;
        c.arrange();
        EXPECT_EQ(resolved(u"home"_s, &store), (ResolvedLocation{u"Somewhere"_s, 5, 6, 100}));
    }
}

TEST_F(PlaceResolverTest, AContactsNameTakesTheirHomeAddressButOnlyWhenOneContactHasIt) {
    settings.setContactPlacesEnabled(true);
    const ReminderStore& store = storeWithPlaces({});
    geography.answers[canal.mailingAddress()] = {{QString(), canalHouse}};
    geography.answers[u"Anna"_s] = {{u"Anna's Café"_s, GeoLocation{7, 8}}};

    contacts.contacts = {anna()};
    EXPECT_EQ(resolved(u"Anna"_s, &store), (ResolvedLocation{u"Anna’s Home"_s, 52.37, 4.88, 100}))
        << "the home address, though work comes first on the card";
    EXPECT_EQ(resolved(u"annie"_s, &store), (ResolvedLocation{u"Anna’s Home"_s, 52.37, 4.88, 100}));

    contacts.contacts = {anna(), anna(u"another anna"_s)};
    contacts.contacts[1].postalAddresses[1].address.street = u"Elsewhere 2"_s;
    EXPECT_EQ(resolved(u"Anna"_s, &store), (ResolvedLocation{u"Anna's Café"_s, 7, 8, 100}));
}

TEST_F(PlaceResolverTest, AnEarlierPlaceOfTheSameNameComesBeforeTheMap) {
    const ReminderStore& store =
        storeWithPlaces({{u"Bakker’s Shop"_s, GeoLocation{9, 9}, 0}, {u"Unplaced"_s, std::nullopt, 80}});
    EXPECT_EQ(resolved(u"  BAKKER'S shop "_s, &store), (ResolvedLocation{u"Bakker’s Shop"_s, 9, 9, 100}))
        << "apostrophes, case and blanks aside; a radius of 0 is the default";
    EXPECT_EQ(resolved(u"Unplaced"_s, &store), std::nullopt) << "a place without coordinates is no known place";
    EXPECT_EQ(geography.queries, QStringList{u"Unplaced"_s});
}

TEST_F(PlaceResolverTest, TheMapGivesTheFirstItemNamedByItselfOrByTheQuery) {
    geography.answers[u"central station"_s] = {{QString(), GeoLocation{52.38, 4.9}}, {u"Other"_s, GeoLocation{1, 1}}};
    geography.answers[u"nowhere"_s] = {{u"No location"_s, std::nullopt}};
    EXPECT_EQ(resolved(u"central station"_s, nullptr), (ResolvedLocation{u"central station"_s, 52.38, 4.9, 100}));
    EXPECT_EQ(resolved(u"nowhere"_s, nullptr), std::nullopt);
    EXPECT_EQ(resolved(u"not scripted: the search fails"_s, nullptr), std::nullopt);
}

TEST_F(PlaceResolverTest, WithoutAStoreThereAreNoEarlierPlacesAndNoContacts) {
    contacts.contacts = {anna()};
    EXPECT_EQ(resolved(u"Anna"_s, nullptr), std::nullopt);
    EXPECT_TRUE(contacts.searches.isEmpty());
    EXPECT_TRUE(PlaceResolver::knownPlaces(nullptr).empty());
}

TEST_F(PlaceResolverTest, WithoutPlaceServicesEveryUnknownPlaceStaysAName) {
    UnavailableGeocoder geocoder;
    UnavailableMapSearch map;
    settings.setContactPlacesEnabled(true);
    contacts.contacts = {anna()};
    contacts.ownCardIdentifier = u"anna"_s;
    const ReminderStore& store = storeWithPlaces({});
    const PlaceResolver system(contacts, map, geocoder, vocabulary);
    for (const QString& name : {u"home"_s, u"Anna"_s, u"Central Station"_s}) {
        Task<std::optional<ResolvedLocation>> task = system.resolve(name, &store);
        ASSERT_TRUE(task.isDone()) << "the services fail at once";
        EXPECT_EQ(task.result(), std::nullopt);
    }
}

TEST_F(PlaceResolverTest, OverTheNetworkEarlierPlacesComeFirstAndEveryFailureLeavesAName) {
    FakeHTTPServer server;
    server.on("/api", [](const FakeHTTPServer::Request& request) {
        const QString query =
            QUrlQuery(QUrl(QString::fromUtf8(request.target))).queryItemValue(u"q"_s, QUrl::FullyDecoded);
        if (query == u"Clinic West"_s)
            return FakeHTTPServer::Reply::json(
                R"({"features":[{"geometry":{"coordinates":[4.8567,52.3601]},"properties":{"name":"Kliniek West"}}]})");
        if (query == u"odd"_s) return FakeHTTPServer::Reply::json(R"({"features":[{"geometry":)");
        if (query == u"far"_s)
            return FakeHTTPServer::Reply::json(R"({"features":[{"geometry":{"coordinates":[4.85,95]}}]})");
        return FakeHTTPServer::Reply::json("{}", 503);
    });
    tavlin::platform::HTTPClient http("Tavlin/test");
    PhotonMapSearch photon(http, {.endpoint = server.url("/api")});
    NominatimGeocoder nominatim(http, {.endpoint = server.url("/")});
    const PlaceResolver network(contacts, photon, nominatim, vocabulary);
    const ReminderStore& store = storeWithPlaces({{u"Clinic"_s, GeoLocation{9, 9}, 0}});
    const auto resolve = [&](const QString& name) { return finishTask(network.resolve(name, &store)).value(); };

    EXPECT_EQ(resolve(u"clinic"_s), (ResolvedLocation{u"Clinic"_s, 9, 9, 100}));
    EXPECT_TRUE(server.requests().empty()) << "an earlier place is not looked up";
    EXPECT_EQ(resolve(u"Clinic West"_s), (ResolvedLocation{u"Kliniek West"_s, 52.3601, 4.8567, 100}));
    for (const QString& failing : {u"odd"_s, u"far"_s, u"down"_s}) EXPECT_EQ(resolve(failing), std::nullopt);
    EXPECT_EQ(resolve(u"Clinic West"_s), (ResolvedLocation{u"Kliniek West"_s, 52.3601, 4.8567, 100}));
    EXPECT_EQ(server.requests().size(), 4u) << "the second lookup asked nothing";

    PhotonMapSearch off(http, {.endpoint = server.url("/api"), .enabled = false});
    const PlaceResolver offline(contacts, off, nominatim, vocabulary);
    EXPECT_EQ(finishTask(offline.resolve(u"Clinic Oost"_s, &store)).value(), std::nullopt);
    EXPECT_EQ(server.requests().size(), 4u) << "turned off, nothing asked";
}

TEST_F(PlaceResolverTest, KnownPlacesComeFromTheFirstTitledLocationOfEachReminder) {
    Reminder untitledFirst = reminder("untitled first");
    untitledFirst.alarms = {Alarm::on({QString(), GeoLocation{1, 1}, 10}, AlarmProximity::enter),
                            Alarm::on({u"Titled"_s, GeoLocation{2, 2}, 20}, AlarmProximity::leave)};
    Reminder noCoordinatesFirst = reminder("no coordinates first");
    noCoordinatesFirst.alarms = {Alarm::on({u"Nameless spot"_s, std::nullopt, 10}, AlarmProximity::enter),
                                 Alarm::on({u"Later"_s, GeoLocation{3, 3}, 30}, AlarmProximity::enter)};
    const ReminderStore& store = storeWith({untitledFirst, noCoordinatesFirst, untitledFirst}, {list("L1", "One")});
    EXPECT_EQ(PlaceResolver::knownPlaces(&store),
              (std::vector<ResolvedLocation>{{u"Titled"_s, 2, 2, 20}, {u"Titled"_s, 2, 2, 20}}));
    EXPECT_EQ(ReminderLocation::locationTitle(noCoordinatesFirst), u"Nameless spot"_s);
    EXPECT_EQ(ReminderLocation::locationTitle(reminder("none")), std::nullopt);
}

TEST_F(PlaceResolverTest, ContactPlacesAreNamedByContactAndLabelEachAddressOnce) {
    Contact bob{.identifier = u"bob"_s,
                .givenName = u"Bob"_s,
                .familyName = u"Smit"_s,
                .postalAddresses = {{.identifier = u"a"_s, .label = u"summer house"_s, .address = office},
                                    {.identifier = u"b"_s, .address = {.street = u"Dam 1"_s}},
                                    {.identifier = u"c"_s, .label = Contacts::homeLabel(), .address = canal},
                                    {.identifier = u"d"_s, .label = u"other"_s, .address = canal}}};
    Contact unnamed{
        .identifier = u"x"_s,
        .nickname = u"Bob"_s,
        .postalAddresses = {{.identifier = u"a"_s, .label = Contacts::workLabel(), .address = {.city = u"Utrecht"_s}}}};
    contacts.contacts = {bob, anna(), unnamed};
    EXPECT_EQ(ContactPlace::search(u" bob "_s, contacts),
              (std::vector<ContactPlace>{
                  {u"bob#c"_s, u"bob"_s, u"Bob’s Home"_s, canal.mailingAddress()},
                  {u"bob#a"_s, u"bob"_s, u"Bob’s Summer House"_s, office.mailingAddress()},
                  {u"bob#b"_s, u"bob"_s, u"Bob Smit"_s, u"Dam 1"_s},
                  {u"x#a"_s, u"x"_s, u"Work"_s, u"Utrecht"_s},
              }));
}

TEST_F(PlaceResolverTest, ContactNamesMatchWholeAfterFolding) {
    struct Case {
        QString query;
        bool matches;
    };
    const Case cases[] = {
        {u"anna"_s, true},          {u"ANNIE"_s, true}, {u"anna de  vries"_s, false},
        {u"Anna de Vries"_s, true}, {u"Ann"_s, false},  {u"de Vries"_s, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query.toStdString());
        EXPECT_EQ(ContactPlace::matches(c.query, u"Anna"_s, u"de Vries"_s, u"Annie"_s), c.matches);
    }
    EXPECT_TRUE(ContactPlace::matches(u"ÄNNA"_s, u"Anna"_s, QString(), QString())) << "accents fold";
}

TEST_F(PlaceResolverTest, AContactSearchNeedsTwoCharactersAndAccess) {
    contacts.contacts = {anna()};
    EXPECT_TRUE(ContactPlace::search(u" A "_s, contacts).empty());
    EXPECT_TRUE(contacts.searches.isEmpty()) << "the contacts are not asked";
    contacts.authorization = ContactsAuthorization::limited;
    EXPECT_EQ(ContactPlace::search(u"Anna"_s, contacts).size(), 2u);
    contacts.authorization = ContactsAuthorization::denied;
    EXPECT_TRUE(ContactPlace::search(u"Anna"_s, contacts).empty());
    contacts.authorization = ContactsAuthorization::authorized;
    contacts.unreadable = true;
    EXPECT_TRUE(ContactPlace::search(u"Anna"_s, contacts).empty());
}

TEST_F(PlaceResolverTest, AccessToTheContactsIsWhatTheUserAnsweredAndAFailureIsARefusal) {
    const std::pair<std::optional<bool>, bool> cases[] = {{true, true}, {false, false}, {std::nullopt, false}};
    for (const auto& [answer, granted] : cases) {
        contacts.accessAnswer = answer;
        const Task<bool> request = ContactPlace::requestAccess(contacts);
        ASSERT_TRUE(request.isDone());
        EXPECT_EQ(request.result(), granted);
    }
    EXPECT_EQ(contacts.accessRequests, 3);
}
