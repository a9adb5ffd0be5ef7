#include "app/ProgramEntry.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tavlin::app::ProgramEntry {

bool runsTheBridge(const QStringList& arguments) { return arguments.indexOf(u"--mcp"_s, 1) > 0; }

bool isRunningTests() {
    // The test host's own names for them.
    return qEnvironmentVariableIsSet("XCTestConfigurationFilePath") ||
           qEnvironmentVariableIsSet("XCTestSessionIdentifier");
}

bool liftsOneInstanceRule(const QStringList& arguments) {
    return std::any_of(arguments.begin() + std::min<qsizetype>(1, arguments.size()), arguments.end(),
                       [](const QString& argument) { return argument.startsWith(u"--"_s); });
}

}  // namespace tavlin::app::ProgramEntry
