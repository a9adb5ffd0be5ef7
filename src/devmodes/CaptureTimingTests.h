#pragma once

#include "devmodes/PanelDriver.h"
#include "platform/Task.h"

#include <QString>

// --capture and --service-watch: the panel and the application's
// activation followed over time around a capture of text. Both end the run.
namespace tavlin::devmodes {

// "capture+0.4s": a delay in seconds, always with a fractional digit.
QString captureLabel(double delay);

// Waits `seconds`, then closes the panel and opens it afresh with `text`
// under the tray item, as a capture from another program does, and
// reports 0.4, 1.4, 3.4, 8.4 and 18.4 s after.
platform::Task<> captureTest(QString text, double seconds, PanelDriver panel);

// Reports once a second, `count` times, for a capture started by hand.
// A count below 1 reports nothing and ends the run at once.
platform::Task<> serviceWatch(int count, PanelDiagnostics panel);

}  // namespace tavlin::devmodes
