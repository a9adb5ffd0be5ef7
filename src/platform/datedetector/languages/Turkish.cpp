#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& turkishDates() {
    static const DetectorLanguage table{
        .code = u"tr"_s,
        .clockMarkers = {u"saat"_s},
        .timeWords = {{u"öğlen"_s, 12}, {u"öğle"_s, 12}, {u"geceyarısı"_s, kMidnight}},
        .dayParts = {{u"sabah"_s, 9}, {u"öğleden sonra"_s, 15}, {u"akşam"_s, 19}, {u"gece"_s, 21}},
        .tonightWords = {{u"bu akşam"_s, 20}, {u"bu sabah"_s, 9}, {u"bu gece"_s, 21}},
        .partsLeadTimes = true,
        .relativeDays = {{u"haftaya"_s, 7}, {u"önümüzdeki hafta"_s, 7}},
        // The dative of each weekday: "Cumaya kadar", by Friday.
        .weekdayNames = {{u"pazara"_s, 1},
                         {u"pazartesiye"_s, 2},
                         {u"salıya"_s, 3},
                         {u"çarşambaya"_s, 4},
                         {u"perşembeye"_s, 5},
                         {u"cumaya"_s, 6},
                         {u"cumartesiye"_s, 7}},
        .weekdayModifiers = {{u"bu"_s, WeekdayMode::fromToday},
                             {u"gelecek"_s, WeekdayMode::afterToday},
                             {u"önümüzdeki"_s, WeekdayMode::afterToday},
                             {u"geçen"_s, WeekdayMode::past},
                             {u"günü"_s, WeekdayMode::fromToday, true}},
        .dialWords = {{u"buçuk"_s, 30, false},
                      {u"buçukta"_s, 30, false},
                      {u"çeyrek geçe"_s, 15, false},
                      {u"çeyrek kala"_s, -15, false},
                      {u"çeyrek var"_s, -15, false}},
        .durationTrails = {u"içinde"_s},
        .weekendWords = {{u"bu hafta sonu"_s, 0}, {u"hafta sonunda"_s, 0}},
        .relativeMonths = {{u"önümüzdeki ay"_s, 1}},
        .dayNumberWords = {u"ayın"_s},
        // Case endings after an apostrophe: dative, ablative, accusative;
        // the locative of a number is its hour ("17'de"), that of a day of
        // the month its possessive ("ayın 15'inde").
        .endings = {u"'e"_s, u"'a"_s, u"'ye"_s, u"'ya"_s, u"'den"_s, u"'dan"_s, u"'ten"_s, u"'tan"_s, u"'i"_s, u"'ı"_s,
                    u"'u"_s, u"'ü"_s, u"'yi"_s, u"'yı"_s, u"'yu"_s, u"'yü"_s},
        .dayEndings = {u"'inde"_s, u"'ında"_s, u"'unda"_s, u"'ünde"_s, u"'sinde"_s, u"'sında"_s},
        .timeEndings = {u"'de"_s, u"'da"_s, u"'te"_s, u"'ta"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
