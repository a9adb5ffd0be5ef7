#pragma once

#include "parsing/ParserVocabulary.h"
#include "platform/Regex.h"
#include "platform/TextRange.h"

#include <QString>

#include <optional>
#include <vector>

// Where the "@" places of a line lie, so that other stages keep their hands
// off place names and the place reader knows where a name ends.
namespace tavlin::parsing::QuickAddParser {

// An unquoted place: "@" and the rest of the line. Group 1 is the name.
QString unquotedPlacePattern(const ParserVocabulary& vocabulary);
// The matches of the quoted pattern (a quoted place: "@" before a quoted
// name, or a quoted name that starts with "@", after an optional location
// marker; group 1 or 2 is the name), in order, and the first match of the
// unquoted one (case-insensitive).
std::vector<platform::RegexMatch> quotedPlaceMatches(const QString& text, const ParserVocabulary& vocabulary);
std::optional<platform::RegexMatch> unquotedPlaceMatch(const QString& text, const ParserVocabulary& vocabulary);

// The name of a quoted place match, its blanks trimmed: none when it is blank.
std::optional<QString> quotedPlaceName(const platform::RegexMatch& match, const QString& text);

// The whole span of each quoted place that carries a name (marker word and
// the blank before it included), in order.
std::vector<platform::TextRange> quotedPlaceRanges(const QString& text, const ParserVocabulary& vocabulary);

// Where a cadence phrase inside the unquoted place tail begins, so that the
// name ends there: the last every-phrase of a grammar, wholly inside the
// tail, followed by nothing or by one connector word ("@gym every monday at").
std::optional<platform::TextRange> cadenceStartInPlaceTail(const QString& text, qsizetype tailStart,
                                                           qsizetype tailLength, const ParserVocabulary& vocabulary);

}  // namespace tavlin::parsing::QuickAddParser
