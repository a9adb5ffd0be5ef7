#include "devmodes/FrontTest.h"

#include "devmodes/Output.h"
#include "devmodes/SharedRoutines.h"
#include "platform/WindowSystem.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <chrono>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// The test window: 400 × 300 inside its frame at (200, 200); it is closed
// by no one and stays until the application ends.
QWidget* makeTestWindow() {
    auto* window = new QWidget;
    window->setWindowTitle(QString::fromLatin1(frontTestTitle));
    window->setGeometry(200, 200, 400, 300);
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, window, [window] { delete window; });
    return window;
}

QString active() { return boolText(platform::isApplicationActive()); }

}  // namespace

platform::Task<> frontTest(std::function<platform::Task<>()> handOver) {
    co_await handOver();
    co_await waitFor(2s);
    // On a busy machine the other application's window may not have the
    // keyboard yet: wait for some window to have it, within reason.
    for (int tries = 0; tries < 100 && platform::frontmostApplicationName() == u"?"_s; ++tries) co_await waitFor(100ms);
    printStep(u"Tavlin active="_s + active() + u" frontmost="_s + platform::frontmostApplicationName());

    const QPointer<QWidget> window = makeTestWindow();
    const auto key = [window] { return boolText(window && window->isActiveWindow()); };
    // As a window is brought to the front with the keyboard.
    window->show();
    window->raise();
    window->activateWindow();
    co_await waitFor(500ms);
    if (!window) co_return;  // the application ended meanwhile
    printLine(u"after makeKeyAndOrderFront (active="_s + active() + u" key="_s + key() + u"):"_s);
    printWindowOrder();
    flushStandardOutput();

    // In front of the others whatever has the keyboard.
    window->raise();
    co_await waitFor(500ms);
    printLine(u"after orderFrontRegardless (active="_s + active() + u" key="_s + key() + u"):"_s);
    printWindowOrder();
    flushStandardOutput();

    co_await handOver();
    co_await waitFor(2s);
    printLine(u"after another app takes the front (active="_s + active() + u"):"_s);
    printWindowOrder();
    flushStandardOutput();
    if (!window) co_return;

    // Above the others: on its native window, as QWidget::setWindowFlags
    // would hide the window.
    window->windowHandle()->setFlag(Qt::WindowStaysOnTopHint, true);
    window->raise();
    co_await waitFor(500ms);
    printLine(u"after level = .floating (active="_s + active() + u" key="_s + key() + u"):"_s);
    printWindowOrder();
    flushStandardOutput();
    terminateApplication();
}

}  // namespace tavlin::devmodes
