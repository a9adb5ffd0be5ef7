#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "parsing/ParserVocabulary.h"

#include <QString>

#include <optional>

// The location part of a line: "@gym", "@“Corner Shop” 200m", "when I
// leave @office".
namespace tavlin::parsing::QuickAddParser {

// Copies of the line, of the same length, with place tokens blanked: the
// first for the cadence stage (an every-phrase closing an unquoted place
// stays visible), the second for the cadence adverb.
struct PlaceScanTexts {
    QString cadenceScanText;
    QString adverbScanText;
};
PlaceScanTexts placeScanTexts(const QString& text, const ParserVocabulary& vocabulary);

// "within 500 m": the radius in metres (25 to 10000), taken out of `text`.
std::optional<double> extractRadius(QString& text, const ParserVocabulary& vocabulary, bool requirePreposition);

struct PlaceAndTrigger {
    std::optional<QString> name;
    LocationTrigger trigger = LocationTrigger::arrive;
    std::optional<double> radius;
};
PlaceAndTrigger extractPlaceAndTrigger(QString& text, const ParserVocabulary& vocabulary, bool allowRadius);

// A trailing "when I leave", taken out of `text`.
bool stripLeavePhrase(QString& text, const ParserVocabulary& vocabulary);

}  // namespace tavlin::parsing::QuickAddParser
