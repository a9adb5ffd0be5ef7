#include "platform/Task.h"

#include "support/MainLoop.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QThread>

#include <stdexcept>
#include <thread>

using namespace std::chrono_literals;
using namespace tavlin::platform;

namespace {

class TaskTest : public ::testing::Test {
protected:
    ManualClock clock;
    ScopedMainClock useClock{clock};
};

Task<int> answerAfter(Clock::Duration delay, int answer) {
    co_await sleep(delay);
    co_return answer;
}

// Reports how its sleep ended, and whether it saw the cancellation.
Task<std::pair<bool, bool>> sleepAndReport(Clock::Duration delay) {
    const bool slept = co_await sleep(delay);
    const bool cancelled = co_await isTaskCancelled();
    co_return std::pair{slept, cancelled};
}

Task<int> sumOfTwoWaits() {
    const int first = co_await answerAfter(100ms, 1);
    const int second = co_await answerAfter(200ms, 2);
    co_return first + second;
}

Task<int> failAfter(Clock::Duration delay) {
    co_await sleep(delay);
    throw std::runtime_error("no answer");
}

Task<std::string> catchFailure() {
    try {
        co_await failAfter(10ms);
    } catch (const std::runtime_error& error) {
        co_return error.what();
    }
    co_return "not thrown";
}

}  // namespace

TEST_F(TaskTest, SleepResumesWhenItsTimeHasComeAndNotBefore) {
    Task<int> task = answerAfter(300ms, 42);
    clock.advance(299ms);
    EXPECT_FALSE(task.isDone());
    clock.advance(1ms);
    ASSERT_TRUE(task.isDone());
    EXPECT_EQ(task.result(), 42);
}

TEST_F(TaskTest, AwaitedTasksRunOneAfterTheOther) {
    Task<int> task = sumOfTwoWaits();
    clock.advance(250ms);
    EXPECT_FALSE(task.isDone());
    clock.advance(50ms);
    ASSERT_TRUE(task.isDone());
    EXPECT_EQ(task.result(), 3);
}

TEST_F(TaskTest, CancellingEndsTheSleepEarlyAtTheNextTurn) {
    Task<std::pair<bool, bool>> task = sleepAndReport(5s);
    clock.advance(1s);
    task.cancel();
    EXPECT_FALSE(task.isDone()) << "the sleeper resumes on the loop, not inside cancel()";
    clock.runDueActions();
    ASSERT_TRUE(task.isDone());
    EXPECT_EQ(task.result(), std::pair(false, true));
    EXPECT_EQ(clock.pendingActions(), 0u) << "the cancelled timer is gone";
}

TEST_F(TaskTest, CancellingTheOuterTaskReachesTheTaskItAwaits) {
    auto outer = []() -> Task<std::pair<bool, bool>> { co_return co_await sleepAndReport(5s); }();
    outer.cancel();
    clock.runDueActions();
    ASSERT_TRUE(outer.isDone());
    EXPECT_EQ(outer.result(), std::pair(false, true));
}

TEST_F(TaskTest, ASleepAfterCancellationDoesNotWait) {
    auto task = []() -> Task<int> {
        co_await sleep(1s);
        const bool secondSleepCompleted = co_await sleep(1h);
        co_return secondSleepCompleted ? 1 : 0;
    }();
    task.cancel();
    clock.runDueActions();
    ASSERT_TRUE(task.isDone());
    EXPECT_EQ(task.result(), 0);
}

TEST_F(TaskTest, ExceptionsReachWhoeverAwaits) {
    Task<std::string> task = catchFailure();
    clock.advance(10ms);
    ASSERT_TRUE(task.isDone());
    EXPECT_EQ(task.result(), "no answer");
}

TEST_F(TaskTest, ATaskRunsOnAndFreesItsStateWhenNobodyKeepsIt) {
    auto alive = std::make_shared<int>(0);
    std::weak_ptr<int> watch = alive;
    int finished = 0;
    detach([]([[maybe_unused]] std::shared_ptr<int> held, int& done) -> Task<> {
        co_await sleep(10ms);
        ++done;
    }(std::move(alive), finished));
    EXPECT_FALSE(watch.expired()) << "the suspended task holds its arguments";
    clock.advance(10ms);
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(watch.expired()) << "the finished task's frame is gone";
}

TEST_F(TaskTest, TimeoutRaces) {
    struct Case {
        const char* name;
        Clock::Duration work;
        Clock::Duration limit;
        std::optional<int> expected;
        Clock::Duration doneAt;
    };
    const Case cases[] = {
        {"work wins", 1s, 8s, 7, 1s},
        {"timeout wins", 10s, 8s, std::nullopt, 8s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ManualClock raceClock;
        ScopedMainClock useRaceClock(raceClock);
        Task<int> work = answerAfter(c.work, 7);
        Task<std::optional<int>> race = withTimeout(work, c.limit);
        raceClock.advance(c.doneAt - 1ms);
        EXPECT_FALSE(race.isDone());
        raceClock.advance(1ms);
        ASSERT_TRUE(race.isDone());
        EXPECT_EQ(race.result(), c.expected);
        EXPECT_EQ(work.isCancelled(), !c.expected.has_value()) << "only the loser is cancelled";
        raceClock.advance(1min);
        EXPECT_EQ(raceClock.pendingActions(), 0u);
    }
}

TEST_F(TaskTest, TimeoutPassesTheInnerExceptionOn) {
    Task<std::optional<int>> race = withTimeout(failAfter(1s), 8s);
    clock.advance(1s);
    ASSERT_TRUE(race.isDone());
    EXPECT_THROW(race.result(), std::runtime_error);
}

TEST_F(TaskTest, CancellingATimeoutRaceCancelsTheWork) {
    Task<int> work = answerAfter(10s, 7);
    Task<std::optional<int>> race = withTimeout(work, 8s);
    race.cancel();
    ASSERT_TRUE(race.isDone());
    EXPECT_EQ(race.result(), std::nullopt);
    EXPECT_TRUE(work.isCancelled());
    clock.runDueActions();
    EXPECT_TRUE(work.isDone()) << "the cancelled work wakes from its sleep";
}

TEST(TaskOnMainLoop, SleepsOnQtTimers) {
    Task<int> task = answerAfter(20ms, 5);
    ASSERT_TRUE(runMainLoopUntil([&] { return task.isDone(); }));
    EXPECT_EQ(task.result(), 5);
}

TEST(TaskOnMainLoop, ACompletionFromAnotherThreadResumesOnTheMainThread) {
    TaskCompletion<int> completion;
    QThread* resumedOn = nullptr;
    auto waiter = [](Task<int> value, QThread*& thread) -> Task<int> {
        const int result = co_await value;
        thread = QThread::currentThread();
        co_return result * 2;
    }(completion.task(), resumedOn);
    std::thread worker([completion] { completion.resolveFromAnyThread(21); });
    worker.join();
    ASSERT_TRUE(runMainLoopUntil([&] { return waiter.isDone(); }));
    EXPECT_EQ(waiter.result(), 42);
    EXPECT_EQ(resumedOn, QCoreApplication::instance()->thread());
}

// A Qt timer counts in int milliseconds: a sleep past 2^32 ms that wrapped
// round would end after what is left over, here 50 ms.
TEST(TaskOnMainLoop, ASleepOfMoreThanFortyNineDaysDoesNotWrapRound) {
    const auto wrapped = std::chrono::milliseconds((std::int64_t(1) << 32) + 50);
    Task<int> task = answerAfter(wrapped, 1);
    EXPECT_FALSE(runMainLoopUntil([&] { return task.isDone(); }, 300ms));
    task.cancel();
    EXPECT_TRUE(runMainLoopUntil([&] { return task.isDone(); }));
}

namespace {

// Counts the destructions of the frame that holds it (as a coroutine's
// parameter), and the thread of the last one.
struct FrameWatch {
    struct Record {
        int destroyed = 0;
        QThread* thread = nullptr;
    };
    std::shared_ptr<Record> record = std::make_shared<Record>();

    FrameWatch() = default;
    FrameWatch(FrameWatch&& other) noexcept : record(std::move(other.record)) {}
    ~FrameWatch() {
        if (!record) return;  // the moved-from argument, not a frame
        ++record->destroyed;
        record->thread = QThread::currentThread();
    }
    std::shared_ptr<Record> copy() const { return record; }
};

Task<int> sleepWatched(FrameWatch, Clock& clock) {
    co_await sleep(1h, clock);
    co_return 1;
}

Task<int> awaitWatched(FrameWatch, Task<int> awaited) { co_return co_await awaited; }

}  // namespace

// A task whose wait can never end is freed, once, with every task waiting for
// it; one that ends normally is freed once too.
TEST_F(TaskTest, AWaitThatCanNeverEndFreesItsFrameAndItsWaitersOnce) {
    struct Case {
        const char* name;
        // Starts the inner wait, as the first frame; answers what ends it.
        std::function<std::function<void()>(FrameWatch, Task<int>&)> start;
        bool finishes;
    };
    const Case cases[] = {
        {"the clock of its sleep is gone",
         [](FrameWatch watch, Task<int>& inner) -> std::function<void()> {
             auto own = std::make_shared<std::unique_ptr<ManualClock>>(std::make_unique<ManualClock>());
             inner = sleepWatched(std::move(watch), **own);
             return [own] { own->reset(); };
         },
         false},
        {"it is cancelled, then the clock is gone before the sleep ends",
         [](FrameWatch watch, Task<int>& inner) -> std::function<void()> {
             auto own = std::make_shared<std::unique_ptr<ManualClock>>(std::make_unique<ManualClock>());
             inner = sleepWatched(std::move(watch), **own);
             return [own, inner] {
                 inner.cancel();
                 own->reset();
             };
         },
         false},
        {"its completion is dropped unresolved",
         [](FrameWatch watch, Task<int>& inner) -> std::function<void()> {
             auto completion = std::make_shared<std::optional<TaskCompletion<int>>>(std::in_place);
             inner = awaitWatched(std::move(watch), (*completion)->task());
             return [completion] { completion->reset(); };
         },
         false},
        {"it is cancelled, then its completion is dropped",
         [](FrameWatch watch, Task<int>& inner) -> std::function<void()> {
             auto completion = std::make_shared<std::optional<TaskCompletion<int>>>(std::in_place);
             inner = awaitWatched(std::move(watch), (*completion)->task());
             return [completion, inner] {
                 inner.cancel();
                 completion->reset();
             };
         },
         false},
        {"its time runs out while its work is abandoned",
         [](FrameWatch watch, Task<int>& inner) -> std::function<void()> {
             auto completion = std::make_shared<std::optional<TaskCompletion<int>>>(std::in_place);
             const Task<std::optional<int>> race = withTimeout((*completion)->task(), 8s);
             inner = [](FrameWatch, Task<std::optional<int>> race) -> Task<int> {
                 const std::optional<int> answer = co_await race;
                 co_return answer.value_or(-1);
             }(std::move(watch), race);
             return [completion] { completion->reset(); };
         },
         true},
        {"its completion is resolved",
         [](FrameWatch watch, Task<int>& inner) -> std::function<void()> {
             TaskCompletion<int> completion;
             inner = awaitWatched(std::move(watch), completion.task());
             return [completion] { completion.resolve(1); };
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameWatch innerWatch, outerWatch;
        const auto innerRecord = innerWatch.copy(), outerRecord = outerWatch.copy();
        Task<int> inner;
        std::function<void()> end = c.start(std::move(innerWatch), inner);
        Task<int> outer = awaitWatched(std::move(outerWatch), inner);
        EXPECT_EQ(innerRecord->destroyed + outerRecord->destroyed, 0) << "both wait";

        end();
        end = nullptr;
        clock.advance(8s);
        EXPECT_EQ(innerRecord->destroyed, 1);
        EXPECT_EQ(outerRecord->destroyed, 1);
        EXPECT_EQ(outer.isDone(), c.finishes);
        outer.cancel();  // touches nothing of a frame that is gone
        int heard = 0;
        outer.whenDone([&heard] { ++heard; });
        EXPECT_EQ(heard, c.finishes ? 1 : 0) << "an abandoned task never finishes";
    }
}

// The waiter goes at once, from inside its own wait.
TEST_F(TaskTest, AwaitingATaskAlreadyAbandonedFreesTheWaiter) {
    std::optional<TaskCompletion<int>> completion(std::in_place);
    const Task<int> abandoned = completion->task();
    completion.reset();
    FrameWatch watch;
    const auto record = watch.copy();
    const Task<int> waiter = awaitWatched(std::move(watch), abandoned);
    EXPECT_EQ(record->destroyed, 1);
    EXPECT_FALSE(waiter.isDone());
}

TEST(TaskOnMainLoop, ACompletionDroppedOnAnotherThreadFreesItsWaiterOnTheMainThread) {
    FrameWatch watch;
    const auto record = watch.copy();
    std::optional<TaskCompletion<int>> completion(std::in_place);
    const Task<int> waiter = awaitWatched(std::move(watch), completion->task());
    std::thread worker([held = *std::exchange(completion, std::nullopt)] { (void)held; });
    worker.join();
    ASSERT_TRUE(runMainLoopUntil([&] { return record->destroyed == 1; }));
    EXPECT_EQ(record->thread, QCoreApplication::instance()->thread());
    EXPECT_FALSE(waiter.isDone());
}
