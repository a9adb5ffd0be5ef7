#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

// Greek has no clock marker in the parser's vocabulary, so its times are
// read only in the written forms ("17:00", "5pm").
const DetectorLanguage& greekDates() {
    static const DetectorLanguage table{
        .code = u"el"_s,
        .timeWords = {{u"μεσημέρι"_s, 12}, {u"μεσάνυχτα"_s, kMidnight}},
        .dayParts = {{u"πρωί"_s, 9}, {u"απόγευμα"_s, 15}, {u"βράδυ"_s, 19}, {u"νύχτα"_s, 21}},
        .dayPartLeads = {u"το"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
