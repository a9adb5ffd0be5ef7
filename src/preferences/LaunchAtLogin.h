#pragma once

#include "platform/LoginItem.h"

#include <optional>

namespace tavlin::preferences {

// Turns the application's login item on or off, for the "Launch at login"
// switch; the file error when that failed. Nothing is retried: the switch
// reads the item's state back from platform::LoginItem::mainApp() either way.
std::optional<platform::LoginItemError> setLaunchAtLogin(bool enabled);

}  // namespace tavlin::preferences
