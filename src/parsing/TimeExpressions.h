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

// The text without the first occurrence of the phrase that stands as whole
// words (any case), white space collapsed; the text unchanged when there is
// none.
QString removeStandalonePhrase(const QString& phrase, const QString& text);

}  // namespace tavlin::parsing::QuickAddParser
