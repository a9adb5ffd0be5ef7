#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

using namespace Qt::StringLiterals;

const DetectorLanguage& polishDates() {
    static const DetectorLanguage table{
        .code = u"pl"_s,
        .clockMarkers = {u"o"_s},
        .hourWordsBefore = {u"godzinie"_s},
        .dotsOrdinals = true,
        .timeWords = {{u"południe"_s, 12}, {u"północ"_s, kMidnight}},
        .dayParts = {{u"rano"_s, 9},
                     {u"przed południem"_s, 10},
                     {u"po południu"_s, 15},
                     {u"popołudniu"_s, 15},
                     {u"wieczorem"_s, 19},
                     {u"wieczór"_s, 19},
                     {u"w nocy"_s, 21}},
        .relativeDays = {{u"dziś"_s, 0}},
        .weekdayNames = {{u"środę"_s, 4}, {u"sobotę"_s, 7}, {u"niedzielę"_s, 1}},
        // Hours are said as ordinals: "o piątej", "wpół do piątej", "za kwadrans piąta".
        .numberWords = {{u"pierwszej"_s, 1},  {u"drugiej"_s, 2},     {u"trzeciej"_s, 3},    {u"czwartej"_s, 4},
                        {u"piątej"_s, 5},     {u"szóstej"_s, 6},     {u"siódmej"_s, 7},     {u"ósmej"_s, 8},
                        {u"dziewiątej"_s, 9}, {u"dziesiątej"_s, 10}, {u"jedenastej"_s, 11}, {u"dwunastej"_s, 12},
                        {u"pierwsza"_s, 1},   {u"druga"_s, 2},       {u"trzecia"_s, 3},     {u"czwarta"_s, 4},
                        {u"piąta"_s, 5},      {u"szósta"_s, 6},      {u"siódma"_s, 7},      {u"ósma"_s, 8},
                        {u"dziewiąta"_s, 9},  {u"dziesiąta"_s, 10},  {u"jedenasta"_s, 11},  {u"dwunasta"_s, 12}},
        .dialWords = {{u"wpół do"_s, -30}, {u"kwadrans po"_s, 15}, {u"za kwadrans"_s, -15}},
        .oneAndAHalfWords = {u"półtorej"_s, u"półtora"_s},
        .countMayBeLeftOut = true,
        .weekendWords = {{u"w ten weekend"_s, 0}, {u"w weekend"_s, 0}, {u"w najbliższy weekend"_s, 0}},
        .dayMonthMarks = u"."_s,
        .endings = {u"-go"_s},
        .dayEndings = {u"-go"_s},
        .joiners = {u"w"_s, u"we"_s, u"do"_s},
    };
    return table;
}

}  // namespace tavlin::platform::datedetector
