#include "platform/Clock.h"
#include "store/ContinuousObservation.h"
#include "store/Settings.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using namespace tavlin::platform;
using namespace tavlin::store;
using namespace Qt::StringLiterals;

namespace {

class ContinuousObservationTest : public ::testing::Test {
protected:
    ManualClock clock;
    ScopedMainClock useClock{clock};
    QTemporaryDir folder;
    UserDefaults defaults{folder.filePath(u"settings.json"_s)};
    Settings settings{defaults};
    int runs = 0;
};

}  // namespace

TEST_F(ContinuousObservationTest, RunsAtOnceAndAgainAfterEachChangeOfWhatItRead) {
    ContinuousObservation::observe([this] {
        ++runs;
        settings.primaryScope();
        settings.mcpEnabled();
    });
    EXPECT_EQ(runs, 1);

    settings.setMcpEnabled(true);
    EXPECT_EQ(runs, 1) << "runs at the next turn, not inside the assignment";
    clock.runDueActions();
    EXPECT_EQ(runs, 2);

    settings.setPrimaryScope(CountScope::dueNow);
    clock.runDueActions();
    EXPECT_EQ(runs, 3);

    settings.setGroupNearbyEnabled(true);  // not read
    settings.setMcpEnabled(true);          // equal: no change
    clock.runDueActions();
    EXPECT_EQ(runs, 3);
}

TEST_F(ContinuousObservationTest, ChangesInOneTurnLeadToOneRun) {
    ContinuousObservation::observe([this] {
        ++runs;
        settings.primaryScope();
        settings.mcpEnabled();
    });
    settings.setMcpEnabled(true);
    settings.setPrimaryScope(CountScope::dueNow);
    settings.setMcpEnabled(false);
    clock.runDueActions();
    EXPECT_EQ(runs, 2);
    clock.runDueActions();
    EXPECT_EQ(runs, 2);
}

TEST_F(ContinuousObservationTest, FollowsWhatTheLastRunRead) {
    bool sawServer = false;
    ContinuousObservation::observe([&] {
        ++runs;
        sawServer = settings.dailySummaryEnabled() && settings.mcpEnabled();
    });
    settings.setMcpEnabled(true);  // not read while the summary is off
    clock.runDueActions();
    EXPECT_EQ(runs, 1);

    settings.setDailySummaryEnabled(true);
    clock.runDueActions();
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(sawServer);

    settings.setMcpEnabled(false);  // read now
    clock.runDueActions();
    EXPECT_EQ(runs, 3);
    EXPECT_FALSE(sawServer);
}
