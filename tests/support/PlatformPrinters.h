#pragma once

#include "platform/TextRange.h"

#include <ostream>

// Readable values in test failure messages.
namespace tavlin::platform {

inline void PrintTo(TextRange range, std::ostream* out) {
    if (!range.isFound()) *out << "{notFound}";
    else *out << "{" << range.location << ", " << range.length << "}";
}

}  // namespace tavlin::platform
