#pragma once

#include <QStringList>

// What the command line and the environment decide before anything is
// built. Each list of arguments starts with the program path, which never
// counts as an argument.
namespace tavlin::app::ProgramEntry {

// "--mcp" anywhere after the program path: the process is the bridge
// between an assistant and the running Tavlin, not Tavlin itself.
bool runsTheBridge(const QStringList& arguments);

// Whether a test host runs the process: XCTestConfigurationFilePath or
// XCTestSessionIdentifier is in the environment, whatever its value (an
// empty one counts). Tavlin then builds nothing and only runs its loop.
bool isRunningTests();

// Whether some argument after the program path begins with "--", as every
// developer switch does: such a run stands beside the user's Tavlin instead
// of replacing it.
bool liftsOneInstanceRule(const QStringList& arguments);

}  // namespace tavlin::app::ProgramEntry
