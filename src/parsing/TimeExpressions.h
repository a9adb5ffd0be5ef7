#pragma once

#include "parsing/DateServices.h"
#include "parsing/ParserVocabulary.h"

#include <QString>

namespace tavlin::parsing::QuickAddParser {

// Whether the text states a clock time in a form the parser knows: any
// colon, an am/pm mark, a time word ("noon"), "9h30" or "17u15", a dotted
// time with minutes from 13 ("14.45"; "3.12" is a day and month), or a
// number after a location or clock marker ("at 5", "in 3" but not "in 3 days").
bool containsTimeExpression(const QString& text, const ParserVocabulary& vocabulary);

// Whether the detector still finds something once the explicit clock
// times are blanked out: a date beside the time ("tomorrow 5pm"), where
// "5pm" or "at 9.05" alone is a time and nothing more.
bool hasDateBesideClockTime(const QString& text, const BoundDetector& detector, const ParserVocabulary& vocabulary);

// Whether a detector match of `line` gives a time: the text must show one
// (as above) and the detector must have read one. The second keeps a day
// word that holds a time word from counting as a time: Danish "i morgen" is
// tomorrow, though "morgen" is also the morning.
bool detectedTime(const platform::DetectedDate& match, const QString& line, const ParserVocabulary& vocabulary);

// Whether the detector read a time in a match that the text, as the
// vocabulary reads it, does not show ("klo puoli viisi" in a vocabulary
// without "puoli"): taken, the match would keep its day and lose its time,
// so it is no date at all. A part of the day ("morgen früh") is no clock
// time to lose: its day stands alone.
bool hidesItsTime(const platform::DetectedDate& match, const QString& line, const ParserVocabulary& vocabulary);

// Whether the detector reads a day anywhere in the text: "9:00" and "at
// noon" are times alone, "tomorrow 9:00" is not.
bool detectorReadsDay(const QString& text, const BoundDetector& detector);

// The text without the first occurrence of the phrase that stands as whole
// words (any case), white space collapsed; the text unchanged when there is
// none.
QString removeStandalonePhrase(const QString& phrase, const QString& text);

}  // namespace tavlin::parsing::QuickAddParser
