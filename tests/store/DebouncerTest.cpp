#include "store/Debouncer.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

using namespace std::chrono_literals;
using namespace tavlin::platform;
using namespace tavlin::store;

namespace {

using Milliseconds = std::chrono::milliseconds;
// Which call's action ran, and when.
using ActionRun = std::pair<Milliseconds, int>;

class DebouncerTest : public ::testing::Test {
protected:
    ManualClock clock;
    ScopedMainClock useClock{clock};
    std::vector<ActionRun> runs;

    Milliseconds elapsed() const { return std::chrono::duration_cast<Milliseconds>(clock.now() - Clock::TimePoint{}); }
    std::function<void()> record(int call) {
        return [this, call] { runs.emplace_back(elapsed(), call); };
    }
};

}  // namespace

TEST_F(DebouncerTest, RunsTheLastActionOfABurstOnceTheDelayHasPassedQuietly) {
    struct Case {
        const char* name;
        std::vector<Milliseconds> callsAt;  // call 1, 2, … at these times
        std::vector<ActionRun> runs;
    };
    const Case cases[] = {
        {"ten calls 0.1 s apart", {0ms, 100ms, 200ms, 300ms, 400ms, 500ms, 600ms, 700ms, 800ms, 900ms}, {{1200ms, 10}}},
        {"a call 0.29 s after the first", {0ms, 290ms}, {{590ms, 2}}},
        {"a call once the first has run", {0ms, 300ms}, {{300ms, 1}, {600ms, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        runs.clear();
        const Milliseconds start = elapsed();
        Debouncer debouncer(300ms);
        for (std::size_t call = 0; call < c.callsAt.size(); ++call) {
            clock.advance(start + c.callsAt[call] - elapsed());
            debouncer.schedule(record(int(call) + 1));
        }
        clock.advance(10s);
        for (ActionRun& run : runs) run.first -= start;
        EXPECT_EQ(runs, c.runs);
    }
}

TEST_F(DebouncerTest, APendingActionDiesWithTheDebouncer) {
    auto debouncer = std::make_unique<Debouncer>(300ms);
    debouncer->schedule(record(1));
    debouncer.reset();
    clock.advance(1s);
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(clock.pendingActions(), 0u);
}
