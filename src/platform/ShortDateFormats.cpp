#include "platform/ShortDateFormats.h"

#include <memory>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

ShortDateFormats::ShortDateFormats(const Calendar& calendar)
    : locale_(calendar.locale()),
      zone_(calendar.timeZone()),
      time_(locale_.shortTimePattern(), locale_, zone_),
      day_(locale_.bestPattern(u"EEEdMMM"_s), locale_, zone_) {}

const ShortDateFormats& ShortDateFormats::of(const Calendar& calendar) {
    // Making the formats costs far more than using them: a panel asks at
    // every keystroke.
    thread_local std::unique_ptr<ShortDateFormats> kept;
    if (!kept || !(kept->locale_ == calendar.locale()) || !(kept->zone_ == calendar.timeZone()))
        kept = std::make_unique<ShortDateFormats>(calendar);
    return *kept;
}

}  // namespace tavlin::platform
