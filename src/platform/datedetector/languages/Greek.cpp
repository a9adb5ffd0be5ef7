#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& greekDates() {
    static const DetectorLanguage table{
        .code = u"el"_s,
        .hourWordsBefore = {u"στις"_s},
        .timeWords = {{u"μεσημέρι"_s, 12}, {u"μεσάνυχτα"_s, kMidnight}},
        .dayParts = {{u"πρωί"_s, 9}, {u"απόγευμα"_s, 15}, {u"βράδυ"_s, 19}, {u"νύχτα"_s, 21}},
        .tonightWords = {{u"απόψε"_s, 20}},
        .dayPartLeads = {u"το"_s},
        .relativeDays = {{u"την άλλη εβδομάδα"_s, 7},
                         {u"την άλλη βδομάδα"_s, 7},
                         {u"την επόμενη βδομάδα"_s, 7},
                         {u"την επόμενη εβδομάδα"_s, 7}},
        .dialWords = {{u"και μισή"_s, 30, false}, {u"και τέταρτο"_s, 15, false}, {u"παρά τέταρτο"_s, -15, false}},
        .durationLeads = {u"μέσα σε"_s},
        .spanWords = {{u"μέρα"_s, Span::day, false, 0, true},
                      {u"μέρες"_s, Span::day},
                      {u"βδομάδα"_s, Span::week, false, 0, true},
                      {u"βδομάδες"_s, Span::week}},
        .oneAndAHalfWords = {u"μιάμιση"_s, u"ενάμιση"_s},
        .weekendWords = {{u"το Σαββατοκύριακο"_s, 0}, {u"αυτό το Σαββατοκύριακο"_s, 0}},
        .relativeMonths = {{u"τον επόμενο μήνα"_s, 1}, {u"τον άλλο μήνα"_s, 1}},
        .joiners = {u"το"_s, u"μέχρι τις"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
