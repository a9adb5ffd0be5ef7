#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& italianDates() {
    static const DetectorLanguage table{
        .code = u"it"_s,
        .clockMarkers = {u"alle"_s},
        .hourWordsBefore = {u"ore"_s},
        .readsHourLetterH = true,
        .timeWords = {{u"mezzogiorno"_s, 12}, {u"mezzanotte"_s, kMidnight}},
        .dayParts = {{u"mattina"_s, 9}, {u"mattino"_s, 9}, {u"pomeriggio"_s, 15}, {u"sera"_s, 19}, {u"notte"_s, 21}},
        .tonightWords = {{u"questa sera"_s, 20},
                         {u"stasera"_s, 20},
                         {u"questa mattina"_s, 9},
                         {u"stamattina"_s, 9},
                         {u"questo pomeriggio"_s, 15},
                         {u"questa notte"_s, 21},
                         {u"stanotte"_s, 21},
                         {u"domattina"_s, 9, 0, 1}},
        .dayPartLeads = {u"di"_s, u"del"_s, u"della"_s},
        .weekdayModifiers = {{u"questo"_s, WeekdayMode::fromToday},
                             {u"prossimo"_s, WeekdayMode::afterToday, true},
                             {u"scorso"_s, WeekdayMode::past, true}},
        .dialWords = {{u"e mezza"_s, 30, false},
                      {u"e mezzo"_s, 30, false},
                      {u"e un quarto"_s, 15, false},
                      {u"e quarto"_s, 15, false},
                      {u"meno un quarto"_s, -15, false},
                      {u"meno quarto"_s, -15, false}},
        .durationLeads = {u"fra"_s},
        .oneWords = {u"un'"_s, u"un’"_s},
        .spanHalves = {u"e mezza"_s, u"e mezzo"_s},
        .weekendWords = {{u"questo fine settimana"_s, 0},
                         {u"questo weekend"_s, 0},
                         {u"nel fine settimana"_s, 0},
                         {u"nel weekend"_s, 0}},
        .relativeMonths = {{u"il prossimo mese"_s, 1}, {u"prossimo mese"_s, 1}},
        .dayNumberLeads = {u"il"_s},
        .joiners = {u"a"_s, u"entro le"_s, u"entro"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
