#include "support/TavlinProcess.h"

#include <gtest/gtest.h>

TEST(Launch, QuitsCleanlyOnTerminationSignals) {
    for (int signalNumber : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signalNumber);
        TavlinProcess tavlin({});
        ASSERT_TRUE(tavlin.waitForError("Tavlin is running")) << tavlin.standardError().toStdString();
        ASSERT_TRUE(tavlin.signalAndFinish(signalNumber));
        EXPECT_EQ(tavlin.exitCode(), 0);
    }
}

TEST(Launch, RunsOffscreenWhenThereIsNoDisplay) {
    TavlinProcess tavlin({});
    ASSERT_TRUE(tavlin.waitForError("Tavlin is running")) << tavlin.standardError().toStdString();
    EXPECT_TRUE(tavlin.standardError().contains(QStringLiteral("running without one")));
    tavlin.signalAndFinish(SIGTERM);
}
