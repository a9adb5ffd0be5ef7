#include "platform/Updater.h"

#include "platform/Log.h"

namespace tavlin::platform {

void PackageManagerUpdater::start() {
    qCInfo(lcPlatform) << "No scheduled update checks: Tavlin is updated by the system's package manager";
}

void PackageManagerUpdater::checkForUpdates() {
    qCInfo(lcPlatform) << "No update check: Tavlin is updated by the system's package manager";
}

}  // namespace tavlin::platform
