#include <QGuiApplication>
#include <gtest/gtest.h>

// The module follows popup windows and reads key events, which need a GUI
// application (on the offscreen platform in CI).
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
