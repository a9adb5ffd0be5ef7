#pragma once

#include <QStringList>

namespace tavlin::devmodes {

// Looks for the developer switches among the process arguments (the program
// path first), in their fixed order, and starts each scenario found as a task
// on the main loop. "--parse-edit" runs on the spot and ends the run.
void runSelfTests(const QStringList& arguments);

}  // namespace tavlin::devmodes
