#pragma once

#include "devmodes/PanelDriver.h"
#include "platform/Task.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// --open-timing, --open-loop and --open-panel: how long opening the panel
// takes, and where it opens.
namespace tavlin::devmodes {

// "round 1: open() 12.3ms", then "   <phase, padded to 22> <ms in 7>ms" per
// phase; a longer phase name is printed whole.
QStringList openTimingLines(int round, double milliseconds, const std::vector<std::pair<QString, double>>& phases);
// "<count> opens, mean <ms>ms"; no opens make a mean of 0.0.
QString openLoopSummary(int count, double totalMilliseconds);

// Opens and closes the panel three times, with the time of each open()
// alone and the phases the controller recorded; ends the run.
platform::Task<> openTiming(PanelDriver panel);
// Opens and closes the panel as often as its short pauses allow for 8 s,
// then prints the count and the mean; ends the run.
platform::Task<> openLoop(PanelDriver panel);
// Opens the panel, prints its geometry and leaves Tavlin running with it.
platform::Task<> openPanelTest(PanelDriver panel);

}  // namespace tavlin::devmodes
