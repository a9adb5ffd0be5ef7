#include "parsing/DateServices.h"

#include "platform/Locale.h"

namespace tavlin::parsing::QuickAddParser {

bool hourCyclePreference() {
    static const bool uses24HourClock = platform::Locale::current().uses24HourClock();
    return uses24HourClock;
}

QStringList detectedDateTexts(const QString&, const ParserVocabulary&) { return {}; }

}  // namespace tavlin::parsing::QuickAddParser
