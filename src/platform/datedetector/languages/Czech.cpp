#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& czechDates() {
    static const DetectorLanguage table{
        .code = u"cs"_s,
        .clockMarkers = {u"v"_s},
        .hourWordsAfter = {u"hodin"_s, u"hodina"_s},
        .dotsOrdinals = true,
        .timeWords = {{u"poledne"_s, 12}, {u"půlnoc"_s, kMidnight}},
        .dayParts = {{u"ráno"_s, 9}, {u"dopoledne"_s, 9}, {u"odpoledne"_s, 15}, {u"večer"_s, 19}, {u"v noci"_s, 21}},
        .weekdayNames = {{u"středu"_s, 4}, {u"sobotu"_s, 7}, {u"neděli"_s, 1}},
        // "v půl páté" counts to the coming hour, said as an ordinal.
        .numberWords = {{u"jedné"_s, 1},
                        {u"druhé"_s, 2},
                        {u"třetí"_s, 3},
                        {u"čtvrté"_s, 4},
                        {u"páté"_s, 5},
                        {u"šesté"_s, 6},
                        {u"sedmé"_s, 7},
                        {u"osmé"_s, 8},
                        {u"deváté"_s, 9},
                        {u"desáté"_s, 10},
                        {u"jedenácté"_s, 11},
                        {u"dvanácté"_s, 12}},
        .dialWords = {{u"půl"_s, -30}, {u"čtvrt na"_s, -45}, {u"tři čtvrtě na"_s, -15}},
        .spanHalves = {u"a půl"_s},
        .countMayBeLeftOut = true,
        .weekendWords = {{u"o víkendu"_s, 0}, {u"tento víkend"_s, 0}, {u"na víkend"_s, 0}},
        .dayNumberLeads = {u"do"_s},
        .dayMonthMarks = u"."_s,
        .joiners = {u"v"_s, u"ve"_s, u"do"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
