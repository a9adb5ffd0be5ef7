#pragma once

#include "platform/DateComponents.h"

#include <QString>

namespace tavlin::devmodes {

// The first `count` characters of `text` (all of it when shorter).
QString stringPrefix(const QString& text, qsizetype count);

// "2026-8-20 14:05", or "2026-8-20" without an hour; a missing field is 0.
QString dateComponentsText(const platform::DateComponents& components);

}  // namespace tavlin::devmodes
