#if defined(TAVLIN_TEST_WIDGETS)
#include <QApplication>
#elif defined(TAVLIN_TEST_GUI)
#include <QGuiApplication>
#else
#include <QCoreApplication>
#endif
#include <gtest/gtest.h>
#include <QEventLoop>

namespace {

// After each test, one more turn of the main loop: the tasks that the test's
// end cancelled resume there and finish, rather than wait forever (their
// coroutine frames would leak).
class FinishCancelledTasks : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { QCoreApplication::processEvents(QEventLoop::AllEvents); }
};

}  // namespace

// Every test binary gets a Qt application object, so that timers, the main
// loop and Qt's text services behave as they do in Tavlin. Tests that follow
// popup windows or read key events need a GUI one, tests of widgets a widget
// one (on the offscreen platform).
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // CTest lists the cases before it runs them, with no display at hand.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
#if defined(TAVLIN_TEST_WIDGETS)
    QApplication app(argc, argv);
#elif defined(TAVLIN_TEST_GUI)
    QGuiApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    ::testing::UnitTest::GetInstance()->listeners().Append(new FinishCancelledTasks);
    return RUN_ALL_TESTS();
}
