#include "parsing/PlaceRadiusTrigger.h"

namespace tavlin::parsing::QuickAddParser {

PlaceScanTexts placeScanTexts(const QString& text, const ParserVocabulary&) { return {text, text}; }

std::optional<double> extractRadius(QString&, const ParserVocabulary&, bool) { return std::nullopt; }

PlaceAndTrigger extractPlaceAndTrigger(QString&, const ParserVocabulary&, bool) { return {}; }

}  // namespace tavlin::parsing::QuickAddParser
