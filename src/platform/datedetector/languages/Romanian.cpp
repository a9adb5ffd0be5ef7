#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

// Romanian modifiers take the articulated weekday ("miercurea viitoare"),
// which ICU's whole phrases give.
const DetectorLanguage& romanianDates() {
    static const DetectorLanguage table{
        .code = u"ro"_s,
        .clockMarkers = {u"la"_s},
        .hourWordsBefore = {u"ora"_s},
        .timeWords = {{u"amiază"_s, 12}},
        .dayParts = {{u"dimineața"_s, 9}, {u"după-amiază"_s, 15}, {u"seara"_s, 19}, {u"noaptea"_s, 21}},
        .tonightWords = {{u"astă seară"_s, 20}, {u"astă-seară"_s, 20}},
        .relativeDays = {{u"astăzi"_s, 0}},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
