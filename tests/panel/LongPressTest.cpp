#include "panel/LongPress.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace std::chrono_literals;
using tavlin::panel::LongPress;

namespace {

class LongPressTest : public ::testing::Test {
public:  // the cases' steps reach in
    LongPress longPress{clock,
                        {.pointer = [this] { return pointer; },
                         .leftButtonDown = [this] { return buttonDown; },
                         .isResizing = [this] { return resizing; }},
                        [this] { ++fired; }};

    void pressAt(QPointF point, int clickCount = 1, bool onBackground = true) {
        pointer = point;
        buttonDown = true;
        longPress.press(point, clickCount, onBackground);
    }
    void moveTo(QPointF point) {
        pointer = point;
        longPress.move(point);
    }

    tavlin::platform::ManualClock clock;
    QPointF pointer;
    bool buttonDown = false;
    bool resizing = false;
    int fired = 0;
};

}  // namespace

TEST_F(LongPressTest, FiresAfterSixTenthsHeldStill) {
    pressAt({100, 100});
    clock.advance(550ms);
    EXPECT_EQ(fired, 0);
    clock.advance(50ms);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(longPress.isArmed());
}

TEST_F(LongPressTest, WhatStopsIt) {
    struct Case {
        const char* name;
        std::function<void(LongPressTest&)> meanwhile;
        int fired;
    };
    const Case cases[] = {
        {"released after 0.5 s",
         [](LongPressTest& t) {
             t.clock.advance(500ms);
             t.buttonDown = false;
             t.longPress.release();
         },
         0},
        {"moved 5",
         [](LongPressTest& t) {
             t.moveTo({103, 104});
         },
         0},
        {"moved exactly 4 and held",
         [](LongPressTest& t) {
             t.moveTo({104, 100});
         },
         1},
        {"moved 3 and held",
         [](LongPressTest& t) {
             t.moveTo({100, 103});
         },
         1},
        {"a new press that cannot arm",
         [](LongPressTest& t) {
             t.clock.advance(300ms);
             t.pressAt({100, 100}, 2);
         },
         0},
        {"the button let go without a release event", [](LongPressTest& t) { t.buttonDown = false; }, 0},
        {"a resize running when it is due", [](LongPressTest& t) { t.resizing = true; }, 0},
        {"the pointer moved 5 unseen",
         [](LongPressTest& t) {
             t.pointer = {105, 100};
         },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fired = 0;
        resizing = false;
        pressAt({100, 100});
        c.meanwhile(*this);
        clock.advance(1s);
        EXPECT_EQ(fired, c.fired);
    }
}

TEST_F(LongPressTest, OnlyASingleClickOnTheBackgroundArms) {
    pressAt({100, 100}, 2);
    EXPECT_FALSE(longPress.isArmed());
    pressAt({100, 100}, 1, false);  // on an edge, or on a field
    EXPECT_FALSE(longPress.isArmed());
    clock.advance(1s);
    EXPECT_EQ(fired, 0);
}

TEST_F(LongPressTest, ANewPressStartsTheWaitAgain) {
    pressAt({100, 100});
    clock.advance(400ms);
    pressAt({200, 200});
    clock.advance(400ms);
    EXPECT_EQ(fired, 0);
    clock.advance(200ms);
    EXPECT_EQ(fired, 1);
}
