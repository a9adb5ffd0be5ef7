#include "parsing/Cadence.h"

namespace tavlin::parsing::QuickAddParser {

std::optional<RecurrenceMatch> extractRecurrence(QString&, const QString&, platform::Date, const platform::Calendar&,
                                                 const ParserVocabulary&) {
    return std::nullopt;
}

std::optional<RecurrenceFrequency> extractCadenceAdverb(QString&, const QString&, const ParserVocabulary&) {
    return std::nullopt;
}

}  // namespace tavlin::parsing::QuickAddParser
