#include "store/LocationProvider.h"

#include "LocationFake.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

#include <memory>
#include <string>
#include <vector>

using namespace tavlin::platform;
using namespace tavlin::store;

namespace {

using Status = LocationAuthorization;

constexpr Location here{.latitude = 52.37,
                        .longitude = 4.89,
                        .horizontalAccuracy = 65,
                        .timestamp = Date::fromSecondsSince1970(1'700'000'000)};
constexpr Location there{.latitude = 52.09,
                         .longitude = 5.12,
                         .horizontalAccuracy = 40,
                         .timestamp = Date::fromSecondsSince1970(1'700'000'060)};

// A provider over a fake service, counting the provider's change signals.
class LocationProviderTest : public ::testing::Test {
protected:
    void make(Status initial) {
        auto owned = std::make_unique<FakeLocationManager>(initial);
        service = owned.get();
        provider = std::make_unique<LocationProvider>(std::move(owned));
        QObject::connect(provider.get(), &LocationProvider::authorizationChanged, [this] { ++authorizationSignals; });
        QObject::connect(provider.get(), &LocationProvider::currentChanged, [this] { ++currentSignals; });
    }

    // What the service reports reaches the provider at the main loop's next turn.
    static void nextTurn() { QCoreApplication::sendPostedEvents(); }

    void answer(Status status) {
        service->changeAuthorization(status);
        nextTurn();
    }
    void deliver(const std::vector<Location>& locations) {
        service->deliver(locations);
        nextTurn();
    }

    FakeLocationManager* service = nullptr;
    std::unique_ptr<LocationProvider> provider;
    int authorizationSignals = 0;
    int currentSignals = 0;
};

TEST_F(LocationProviderTest, StartsFromTheServiceStatusWithoutAskingAnything) {
    make(Status::authorizedAlways);
    EXPECT_EQ(provider->authorization(), Status::authorizedAlways);
    EXPECT_EQ(provider->current(), std::nullopt);
    EXPECT_FALSE(provider->wantsFixOnAuthorization());
    EXPECT_EQ(service->desiredAccuracy(), LocationManager::hundredMetresAccuracy);
    EXPECT_EQ(service->authorizationRequests(), 0);
    EXPECT_EQ(service->locationRequests(), 0);
}

TEST_F(LocationProviderTest, RequestFixFollowsThePermission) {
    struct Case {
        std::string name;
        Status initial;
        std::vector<Status> answers;  // given after requestFix, in order
        int authorizationRequests;
        int locationRequests;
        bool stillWantsFix;
    };
    const std::vector<Case> cases = {
        {"undetermined, then granted", Status::notDetermined, {Status::authorizedAlways}, 1, 1, false},
        {"undetermined, then denied", Status::notDetermined, {Status::denied}, 1, 0, true},
        {"undetermined, then restricted", Status::notDetermined, {Status::restricted}, 1, 0, true},
        {"denied first, granted later", Status::notDetermined, {Status::denied, Status::authorizedAlways}, 1, 1, false},
        {"granted, and granted again",
         Status::notDetermined,
         {Status::authorizedAlways, Status::authorizedAlways},
         1,
         1,
         false},
        {"already granted", Status::authorizedAlways, {}, 0, 1, false},
        {"denied", Status::denied, {}, 0, 0, false},
        {"restricted", Status::restricted, {}, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        make(c.initial);
        provider->requestFix();
        if (c.initial == Status::notDetermined) {
            EXPECT_TRUE(provider->wantsFixOnAuthorization());
            EXPECT_EQ(service->locationRequests(), 0) << "no location before the answer";
        }
        for (const Status status : c.answers) answer(status);
        EXPECT_EQ(service->authorizationRequests(), c.authorizationRequests);
        EXPECT_EQ(service->locationRequests(), c.locationRequests);
        EXPECT_EQ(provider->wantsFixOnAuthorization(), c.stillWantsFix);
    }
}

TEST_F(LocationProviderTest, AGrantWithoutAWishForAFixRequestsNone) {
    make(Status::notDetermined);
    answer(Status::authorizedAlways);
    EXPECT_EQ(provider->authorization(), Status::authorizedAlways);
    EXPECT_EQ(service->locationRequests(), 0);
}

TEST_F(LocationProviderTest, AuthorizationSignalsOnlyAChangeAtTheNextTurn) {
    make(Status::notDetermined);
    service->changeAuthorization(Status::denied);
    EXPECT_EQ(provider->authorization(), Status::notDetermined) << "changed inside the service's callback";
    nextTurn();
    EXPECT_EQ(provider->authorization(), Status::denied);
    answer(Status::denied);
    EXPECT_EQ(authorizationSignals, 1);
}

TEST_F(LocationProviderTest, CurrentTakesTheNewestFixAndSignalsOnlyAChange) {
    make(Status::authorizedAlways);
    deliver({there, here});
    EXPECT_EQ(provider->current(), here);
    deliver({here});
    deliver({});
    EXPECT_EQ(provider->current(), here) << "an empty update keeps the last fix";
    EXPECT_EQ(currentSignals, 1);
    deliver({there});
    EXPECT_EQ(provider->current(), there);
    EXPECT_EQ(currentSignals, 2);
}

TEST_F(LocationProviderTest, ObserversOfTheLocationAreToldOfAChange) {
    make(Status::authorizedAlways);
    int changes = 0;
    ObservationTracking::track([this] { (void)provider->current(); }, [&changes] { ++changes; });
    deliver({here});
    EXPECT_EQ(changes, 1);
}

TEST_F(LocationProviderTest, ObserversOfThePermissionAreToldOfAChange) {
    make(Status::notDetermined);
    int changes = 0;
    ObservationTracking::track([this] { (void)provider->authorization(); }, [&changes] { ++changes; });
    answer(Status::denied);
    EXPECT_EQ(changes, 1);
}

TEST_F(LocationProviderTest, SetValuesArePublishedLikeReportedOnes) {
    make(Status::notDetermined);
    int changes = 0;
    ObservationTracking::track(
        [this] {
            (void)provider->authorization();
            (void)provider->current();
        },
        [&changes] { ++changes; });
    provider->setAuthorization(Status::authorizedAlways);
    provider->setAuthorization(Status::authorizedAlways);
    provider->setCurrent(here);
    provider->setCurrent(here);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(authorizationSignals, 1);
    EXPECT_EQ(currentSignals, 1);
    EXPECT_EQ(provider->authorization(), Status::authorizedAlways);
    EXPECT_EQ(provider->current(), here);
    EXPECT_EQ(service->authorizationRequests() + service->locationRequests(), 0) << "the service is not asked";
}

}  // namespace
