#pragma once

#include "parsing/ParserVocabulary.h"

#include <QString>
#include <QStringList>

namespace tavlin::parsing::QuickAddParser {

// Whether the user's locale prefers a 24-hour clock; read once per process.
bool hourCyclePreference();

// The texts of the date detector's matches over `text`, read with the
// languages of `vocabulary`; empty without a detector.
QStringList detectedDateTexts(const QString& text, const ParserVocabulary& vocabulary);

}  // namespace tavlin::parsing::QuickAddParser
