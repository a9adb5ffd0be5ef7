#include "devmodes/PanelFocusTests.h"

#include "devmodes/Output.h"
#include "devmodes/SharedRoutines.h"
#include "platform/WindowSystem.h"

#include <chrono>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

platform::Task<> editFocusTest(PanelDriver panel) {
    const auto report = panel.diagnostics.activationState;
    co_await waitFor(2s);
    panel.open(std::nullopt, std::nullopt);
    co_await waitFor(1s);
    report(u"opened"_s);
    panel.postListKey(panel::PanelListKey::down);
    co_await waitFor(400ms);
    report(u"after-down"_s);
    panel.postListKey(panel::PanelListKey::return_);
    for (const int delay : {100, 400, 1000}) {
        co_await waitFor(std::chrono::milliseconds(delay));
        report(u"after-return+%1ms"_s.arg(delay));
    }
    panel.sendEscape();
    co_await waitFor(300ms);
    report(u"after-escape"_s);
    panel.close();
    flushStandardOutput();
    terminateApplication();
}

platform::Task<> focusTest(QString mode, double seconds, PanelDriver panel) {
    const auto report = panel.diagnostics.activationState;
    co_await waitForSeconds(seconds);
    report(u"before-open"_s);
    if (mode == u"capture"_s) {
        panel.close();
        panel.open(focusTestCaptureText.toString(), panel::Anchor::statusItem);
    } else {
        panel.open(std::nullopt, std::nullopt);
    }
    report(u"just-opened"_s);
    co_await waitFor(600ms);
    report(u"settled"_s);
    co_await panel.typeAndReport();
    co_await waitFor(1s);
    report(u"after-keyboard"_s);
    panel.sendEscape();
    co_await waitFor(400ms);
    report(u"after-escape-1"_s);
    panel.sendEscape();
    co_await waitFor(400ms);
    report(u"after-escape-2"_s);
    printLine(u"frontmost after escape: "_s + platform::frontmostApplicationName());
    flushStandardOutput();
    terminateApplication();
}

platform::Task<> ghostTest(QString mode, PanelDriver panel, std::function<void()> openRemindersApp) {
    const auto report = panel.diagnostics.activationState;
    co_await waitFor(1s);
    if (mode == u"race"_s) openRemindersApp();
    panel.open(std::nullopt, std::nullopt);
    co_await waitFor(400ms);
    report(u"after-open"_s);
    if (mode == u"url"_s) {
        openRemindersApp();
        panel.close();
    } else if (mode != u"race"_s) {
        openRemindersApp();
    }
    for (int second = 1; second <= 5; ++second) {
        co_await waitFor(1s);
        report(mode + u'-' + QString::number(second) + u's');
    }
    terminateApplication();
}

}  // namespace tavlin::devmodes
