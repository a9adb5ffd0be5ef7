#include <QCoreApplication>
#include <gtest/gtest.h>

// Every test binary gets a Qt application object, so that timers, the main
// loop and Qt's text services behave as they do in Tavlin.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
