#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& frenchDates() {
    static const DetectorLanguage table{
        .code = u"fr"_s,
        .clockMarkers = {u"à"_s},
        .hourWordsAfter = {u"heure"_s, u"heures"_s},
        .readsHourLetterH = true,
        .timeWords = {{u"midi"_s, 12}, {u"minuit"_s, kMidnight}},
        .dayParts = {{u"matin"_s, 9}, {u"après-midi"_s, 15}, {u"soir"_s, 19}, {u"nuit"_s, 21}},
        .tonightWords = {{u"ce soir"_s, 20}, {u"ce matin"_s, 9}, {u"cet après-midi"_s, 15}, {u"cette nuit"_s, 21}},
        .dayPartLeads = {u"du"_s, u"de l'"_s},
        .weekdayModifiers = {{u"ce"_s, WeekdayMode::fromToday},
                             {u"prochain"_s, WeekdayMode::afterToday, true},
                             {u"dernier"_s, WeekdayMode::past, true}},
        .dialWords = {{u"et quart"_s, 15, false},
                      {u"et demie"_s, 30, false},
                      {u"et demi"_s, 30, false},
                      {u"moins le quart"_s, -15, false},
                      {u"moins quart"_s, -15, false}},
        .spanHalves = {u"et demie"_s, u"et demi"_s},
        .weekendWords = {{u"ce week-end"_s, 0}, {u"ce weekend"_s, 0}},
        .relativeMonths = {{u"mois prochain"_s, 1}},
        .dayNumberLeads = {u"le"_s},
        .joiners = {u"le"_s, u"avant"_s},
        .ordinalSuffixes = {u"er"_s},
        .ordinalConnectors = {u"à"_s, u"au"_s, u"aux"_s, u"de"_s, u"du"_s, u"des"_s, u"la"_s, u"le"_s, u"les"_s,
                              u"avant"_s, u"après"_s, u"pour"_s, u"vers"_s, u"en"_s, u"dans"_s, u"jusqu'à"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
