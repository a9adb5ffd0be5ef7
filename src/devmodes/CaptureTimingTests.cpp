#include "devmodes/CaptureTimingTests.h"

#include "devmodes/Output.h"
#include "devmodes/SharedRoutines.h"
#include "platform/DecimalText.h"

#include <chrono>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

QString captureLabel(double delay) { return u"capture+"_s + platform::decimalText(delay) + u's'; }

platform::Task<> captureTest(QString text, double seconds, PanelDriver panel) {
    co_await waitForSeconds(seconds);
    panel.diagnostics.activationState(u"before-capture"_s);
    panel.close();
    panel.open(text, panel::Anchor::statusItem);
    for (const double delay : {0.4, 1.0, 2.0, 5.0, 10.0}) {
        co_await waitForSeconds(delay);
        panel.diagnostics.activationState(captureLabel(delay));
    }
    terminateApplication();
}

platform::Task<> serviceWatch(int count, PanelDiagnostics panel) {
    for (int second = 1; second <= count; ++second) {
        co_await waitFor(1s);
        panel.activationState(u"t+%1s"_s.arg(second));
    }
    terminateApplication();
}

}  // namespace tavlin::devmodes
