#include "platform/Date.h"

#include <cmath>

namespace tavlin::platform {

Date Date::now() { return fromUDate(static_cast<double>(QDateTime::currentMSecsSinceEpoch())); }

Date Date::fromQDateTime(const QDateTime& dateTime) {
    return fromUDate(static_cast<double>(dateTime.toMSecsSinceEpoch()));
}

QDateTime Date::toQDateTime() const {
    // Qt's default, local time, is what widgets show; the instant is the same.
    return QDateTime::fromMSecsSinceEpoch(std::llround(toUDate()));
}

}  // namespace tavlin::platform
