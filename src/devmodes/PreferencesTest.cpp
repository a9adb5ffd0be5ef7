#include "devmodes/PreferencesTest.h"

#include "devmodes/Output.h"
#include "devmodes/SharedRoutines.h"
#include "platform/DecimalText.h"
#include "platform/WindowSystem.h"
#include "preferences/PreferencesWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QToolBar>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <vector>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

std::chrono::nanoseconds timed(const std::function<void()>& call) {
    QElapsedTimer elapsed;
    elapsed.start();
    call();
    return std::chrono::nanoseconds(elapsed.nsecsElapsed());
}

int level(const QWindow& window) { return window.flags().testFlag(Qt::WindowStaysOnTopHint) ? 3 : 0; }

WindowReport report(const QWindow& window) {
    return {.title = window.title(),
            .visible = window.isVisible(),
            .key = window.isActive(),
            .level = level(window),
            .frame = QRectF(window.frameGeometry())};
}

// The windows whose toolbar is the settings window's.
std::vector<QPointer<QWidget>> settingsWindows() {
    std::vector<QPointer<QWidget>> found;
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (const QWindow* window : platform::applicationWindows())
        for (QWidget* widget : widgets)
            if (widget->windowHandle() == window &&
                widget->findChild<QToolBar*>(QLatin1StringView(preferences::PreferencesWindow::toolbarName)))
                found.emplace_back(widget);
    return found;
}

QString stateLine() {
    return u"Tavlin active="_s + boolText(platform::isApplicationActive()) + u" frontmost="_s +
           platform::frontmostApplicationName();
}

}  // namespace

QString windowLine(const WindowReport& window) {
    return u"  \u201C"_s + window.title + u"\u201D visible="_s + boolText(window.visible) + u" key="_s +
           boolText(window.key) + u" level="_s + QString::number(window.level) +
           u" frame=(%1, %2, %3, %4)"_s.arg(
               platform::decimalText(window.frame.x()), platform::decimalText(window.frame.y()),
               platform::decimalText(window.frame.width()), platform::decimalText(window.frame.height()));
}

QString durationText(std::chrono::nanoseconds duration) {
    return platform::decimalText(std::chrono::duration<double>(duration).count()) + u" seconds"_s;
}

platform::Task<> preferencesTest(QStringList arguments, PreferencesTestServices services) {
    const bool viaPanel = arguments.contains(u"via-panel"_s);
    const bool viaFileManager = arguments.contains(u"via-finder"_s);
    const bool twice = arguments.contains(u"twice"_s);
    const bool steal = arguments.contains(u"steal"_s);

    printStep(u"ContactPlaces.isAuthorized: "_s + durationText(timed(services.askContactsAuthorization)));
    if (viaPanel) {
        services.panel.open(std::nullopt, std::nullopt);
        co_await waitFor(600ms);
        printStep(u"panel open, now closing then showing settings"_s);
        services.panel.close();
    }
    const int passes = twice ? 2 : 1;
    for (int pass = 1; pass <= passes; ++pass) {
        if (viaFileManager) {
            co_await services.handOver();
            co_await waitFor(2s);
            printStep(u"\u2014 round "_s + QString::number(pass) + u": handed activation to "_s +
                      platform::frontmostApplicationName() + u", Tavlin active="_s +
                      boolText(platform::isApplicationActive()));
        }
        printStep(u"show(): "_s + durationText(timed(services.showPreferences)));
        if (steal) co_await services.handOver();
        co_await waitFor(800ms);
        printLine(stateLine());
        const std::vector<QWindow*> windows = platform::applicationWindows();
        printLine(u"windows: "_s + QString::number(windows.size()));
        for (const QWindow* window : windows) printLine(windowLine(report(*window)));
        printWindowOrder();
        flushStandardOutput();
    }
    if (!steal) {
        terminateApplication();
        co_return;
    }
    services.activateApplication();
    co_await waitFor(500ms);
    const std::vector<QPointer<QWidget>> settings = settingsWindows();
    for (const QPointer<QWidget>& window : settings) {
        if (!window || !window->windowHandle()) continue;
        const QWindow& handle = *window->windowHandle();
        printLine(u"after regaining activation: key="_s + boolText(handle.isActive()) + u" level="_s +
                  QString::number(level(handle)));
        window->close();
    }
    co_await waitFor(300ms);
    for (const QPointer<QWidget>& window : settings) {
        if (!window || !window->windowHandle()) continue;
        const QWindow& handle = *window->windowHandle();
        printLine(u"after close: visible="_s + boolText(handle.isVisible()) + u" level="_s +
                  QString::number(level(handle)));
    }
    flushStandardOutput();
    terminateApplication();
}

}  // namespace tavlin::devmodes
