#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& turkishDates() {
    static const DetectorLanguage table{
        .code = u"tr"_s,
        .clockMarkers = {u"saat"_s},
        .dotsOrdinals = true,
        .timeWords = {{u"öğlen"_s, 12}, {u"öğle"_s, 12}, {u"geceyarısı"_s, kMidnight}},
        .dayParts = {{u"sabah"_s, 9},
                     {u"öğleden sonra"_s, 15},
                     {u"akşam"_s, 19},
                     {u"gece"_s, 21},
                     {u"sabahı"_s, 9},
                     {u"akşamı"_s, 19},
                     {u"gecesi"_s, 21}},
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
        // Hours with the case the dial asks for: "dördü çeyrek geçe" (accusative),
        // "beşe çeyrek var" (dative), "saat beşte" (locative).
        .numberWords = {{u"biri"_s, 1},    {u"ikiyi"_s, 2},  {u"üçü"_s, 3},       {u"dördü"_s, 4},
                        {u"beşi"_s, 5},    {u"altıyı"_s, 6}, {u"yediyi"_s, 7},    {u"sekizi"_s, 8},
                        {u"dokuzu"_s, 9},  {u"onu"_s, 10},   {u"on biri"_s, 11},  {u"on ikiyi"_s, 12},
                        {u"bire"_s, 1},    {u"ikiye"_s, 2},  {u"üçe"_s, 3},       {u"dörde"_s, 4},
                        {u"beşe"_s, 5},    {u"altıya"_s, 6}, {u"yediye"_s, 7},    {u"sekize"_s, 8},
                        {u"dokuza"_s, 9},  {u"ona"_s, 10},   {u"on bire"_s, 11},  {u"on ikiye"_s, 12},
                        {u"birde"_s, 1},   {u"ikide"_s, 2},  {u"üçte"_s, 3},      {u"dörtte"_s, 4},
                        {u"beşte"_s, 5},   {u"altıda"_s, 6}, {u"yedide"_s, 7},    {u"sekizde"_s, 8},
                        {u"dokuzda"_s, 9}, {u"onda"_s, 10},  {u"on birde"_s, 11}, {u"on ikide"_s, 12}},
        .dialWords = {{u"buçuk"_s, 30, false},
                      {u"buçukta"_s, 30, false},
                      {u"çeyrek geçe"_s, 15, false},
                      {u"çeyrek kala"_s, -15, false},
                      {u"çeyrek var"_s, -15, false}},
        .durationTrails = {u"içinde"_s},
        .spanHalves = {u"buçuk"_s},
        .weekendWords = {{u"bu hafta sonu"_s, 0}, {u"hafta sonunda"_s, 0}},
        .relativeMonths = {{u"önümüzdeki ay"_s, 1}},
        .dayNumberWords = {u"ayın"_s},
        .dayMonthMarks = u"."_s,
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
