#pragma once

#include "platform/StandardOutput.h"

// The scenarios print through the platform's standard output, which the
// panel's diagnostics share, so that a test records both in one place.
namespace tavlin::devmodes {

using platform::flushStandardOutput;
using platform::printErrorLine;
using platform::printLine;
using platform::printStep;
using platform::RecordedOutput;
using platform::terminateApplication;

}  // namespace tavlin::devmodes
