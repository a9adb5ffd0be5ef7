#pragma once

#include <QStringList>

namespace tavlin::app {
class AppDelegate;
}

namespace tavlin::devmodes {

// Looks for the developer switches among the process arguments (the program
// path first), in their fixed order, and starts each scenario found as a task
// on the main loop, over the components `delegate` launched. "--parse-edit"
// runs on the spot and ends the run.
// An unknown switch, a missing argument or an unreadable file is named on
// standard error, once; that switch then does nothing and the run goes on.
void runSelfTests(const QStringList& arguments, app::AppDelegate& delegate);

}  // namespace tavlin::devmodes
