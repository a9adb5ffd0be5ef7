#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

// Polish weekdays change form after a modifier ("w przyszłą środę"), so the
// modifiers come from ICU's whole phrases only.
const DetectorLanguage& polishDates() {
    static const DetectorLanguage table{
        .code = u"pl"_s,
        .clockMarkers = {u"o"_s},
        .hourWordsBefore = {u"godzinie"_s},
        .timeWords = {{u"południe"_s, 12}, {u"północ"_s, kMidnight}},
        .dayParts = {{u"rano"_s, 9}, {u"popołudniu"_s, 15}, {u"wieczorem"_s, 19}, {u"wieczór"_s, 19}},
        .relativeDays = {{u"dziś"_s, 0}},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
