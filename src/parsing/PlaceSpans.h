#pragma once

#include "parsing/ParserVocabulary.h"
#include "platform/TextRange.h"

#include <QString>

#include <optional>
#include <vector>

// Where "@" places stand in a line, so that other stages leave their words alone.
namespace tavlin::parsing::QuickAddParser {

QString quotedPlacePattern(const ParserVocabulary& vocabulary);
QString unquotedPlacePattern(const ParserVocabulary& vocabulary);
// Every quoted place token that carries a name, marker word included.
std::vector<platform::TextRange> quotedPlaceRanges(const QString& text, const ParserVocabulary& vocabulary);
// Where an every-phrase that closes an unquoted place tail begins.
std::optional<platform::TextRange> cadenceStartInPlaceTail(const QString& text, qsizetype tailStart,
                                                           qsizetype tailLength, const ParserVocabulary& vocabulary);

}  // namespace tavlin::parsing::QuickAddParser
