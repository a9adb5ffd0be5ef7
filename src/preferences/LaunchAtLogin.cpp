#include "preferences/LaunchAtLogin.h"

namespace tavlin::preferences {

std::optional<platform::LoginItemError> setLaunchAtLogin(bool enabled) {
    const platform::LoginItem item = platform::LoginItem::mainApp();
    return enabled ? item.registerItem() : item.unregisterItem();
}

}  // namespace tavlin::preferences
