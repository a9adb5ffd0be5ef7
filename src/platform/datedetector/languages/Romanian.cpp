#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& romanianDates() {
    static const DetectorLanguage table{
        .code = u"ro"_s,
        .clockMarkers = {u"la"_s},
        .hourWordsBefore = {u"ora"_s},
        .timeWords = {{u"amiază"_s, 12}, {u"miezul nopții"_s, kMidnight}},
        .dayParts = {{u"dimineața"_s, 9},
                     {u"dimineață"_s, 9},
                     {u"după-amiază"_s, 15},
                     {u"după-amiaza"_s, 15},
                     {u"seara"_s, 19},
                     {u"noaptea"_s, 21}},
        .tonightWords = {{u"astă seară"_s, 20},
                         {u"astă-seară"_s, 20},
                         {u"diseară"_s, 20},
                         {u"deseară"_s, 20},
                         {u"azi-dimineață"_s, 9}},
        .relativeDays = {{u"astăzi"_s, 0}},
        .dialWords = {{u"și jumătate"_s, 30, false},
                      {u"și un sfert"_s, 15, false},
                      {u"și sfert"_s, 15, false},
                      {u"fără un sfert"_s, -15, false},
                      {u"fără sfert"_s, -15, false}},
        .durationLeads = {u"în"_s},
        .spanWords = {{u"de minute"_s, Span::minute}, {u"de ore"_s, Span::hour}, {u"de zile"_s, Span::day}},
        .oneWords = {u"o"_s, u"un"_s},
        .spanHalves = {u"și jumătate"_s, u"şi jumătate"_s},
        .weekendWords = {{u"în weekend"_s, 0}, {u"weekendul acesta"_s, 0}, {u"weekendul ăsta"_s, 0}},
        .dayNumberLeads = {u"pe"_s},
        .dayMonthMarks = u"."_s,
        .joiners = {u"la"_s, u"pe"_s, u"până"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
