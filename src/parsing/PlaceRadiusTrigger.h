#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "parsing/ParserVocabulary.h"

#include <QString>

#include <optional>

namespace tavlin::parsing::QuickAddParser {

// Copies of the working text, of the same length, with place phrases blanked
// out, so that words inside a place name are not read as a cadence.
struct PlaceScanTexts {
    QString cadenceScanText;
    QString adverbScanText;
};
PlaceScanTexts placeScanTexts(const QString& text, const ParserVocabulary& vocabulary);

// "within 200 m": the radius in metres, taken out of `text`.
std::optional<double> extractRadius(QString& text, const ParserVocabulary& vocabulary, bool requirePreposition);

struct PlaceAndTrigger {
    std::optional<QString> name;
    LocationTrigger trigger = LocationTrigger::arrive;
    std::optional<double> radius;
};
// "@clinic", "when I leave the office": the place, taken out of `text`.
PlaceAndTrigger extractPlaceAndTrigger(QString& text, const ParserVocabulary& vocabulary, bool allowRadius);

}  // namespace tavlin::parsing::QuickAddParser
