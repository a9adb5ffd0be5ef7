#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "parsing/ParserVocabulary.h"
#include "platform/Task.h"

#include <QString>
#include <QStringList>

#include <optional>

// The reading of a line, and the split of a text, by an on-device language
// model where the machine has one; the rule reading stands everywhere else.
namespace tavlin::parsing::SmartQuickAddParser {

bool isModelAvailable();

// The model's reading of `note`, grounded in the text; nothing without a model.
platform::Task<std::optional<ParsedQuickAdd>> parse(QString note, QStringList listNames, ParserVocabulary vocabulary);

// The to-dos of a text: the rule split when it finds two or more, else the
// model's split where it survives the check against the text.
platform::Task<QStringList> splitNote(QString text);

}  // namespace tavlin::parsing::SmartQuickAddParser
