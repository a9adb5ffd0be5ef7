#include "platform/ReduceMotion.h"
#include "rows/Spinner.h"

#include "support/MainLoop.h"

#include <gtest/gtest.h>
#include <QTest>

using tavlin::rows::Spinner;

TEST(Spinner, TurnsWhileShownAndStandsStillWithoutMotion) {
    for (const bool reduce : {false, true}) {
        tavlin::platform::setReduceMotionOverride(reduce);
        Spinner spinner;
        spinner.show();
        // Turning is waited for as long as a loaded machine needs; standing
        // still, for a few of its frames.
        const bool turned = runMainLoopUntil([&] { return spinner.phase() != 0; },
                                             reduce ? std::chrono::milliseconds(600) : std::chrono::seconds(30));
        EXPECT_EQ(turned, !reduce) << "reduce motion " << reduce;
        if (turned) {
            spinner.hide();
            const int stopped = spinner.phase();
            QTest::qWait(250);
            EXPECT_EQ(spinner.phase(), stopped) << "hidden, it stops";
        }
    }
    tavlin::platform::setReduceMotionOverride(std::nullopt);
}
