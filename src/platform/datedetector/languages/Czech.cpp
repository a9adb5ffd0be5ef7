#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

// Czech weekdays change form after a modifier ("příští středu"), so the
// modifiers come from ICU's whole phrases only.
const DetectorLanguage& czechDates() {
    static const DetectorLanguage table{
        .code = u"cs"_s,
        .clockMarkers = {u"v"_s},
        .hourWordsAfter = {u"hodin"_s, u"hodina"_s},
        .timeWords = {{u"poledne"_s, 12}, {u"půlnoc"_s, kMidnight}},
        .dayParts = {{u"ráno"_s, 9}, {u"dopoledne"_s, 9}, {u"odpoledne"_s, 15}, {u"večer"_s, 19}},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
