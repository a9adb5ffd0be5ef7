#pragma once

#include <QString>

#include <string_view>

namespace tavlin::KeyBindings {

// The module's text for `key` in the user's most preferred language that
// has it, else in English; the key itself for a key the module lacks. The
// texts are compiled in, so there is nothing to find at run time.
QString localizedString(std::string_view key);

}  // namespace tavlin::KeyBindings
