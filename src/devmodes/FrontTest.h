#pragma once

#include "platform/Task.h"

#include <functional>

// --front-test: how a plain window of Tavlin's comes to the front, with
// another program in front, under each way of asking: shown, raised, and
// kept above the others. Ends the run.
namespace tavlin::devmodes {

inline constexpr char frontTestTitle[] = "Tavlin FrontTest";

// `handOver` gives the activation to another program (the file manager).
// Tavlin itself never asks to be activated here.
platform::Task<> frontTest(std::function<platform::Task<>()> handOver);

}  // namespace tavlin::devmodes
