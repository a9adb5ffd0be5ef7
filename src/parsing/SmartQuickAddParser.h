#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "parsing/ParserVocabulary.h"
#include "parsing/SmartParsedReminder.h"
#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/Task.h"
#include "platform/TextRange.h"

#include <QString>
#include <QStringList>

#include <optional>

// The reading of a line, and the split of a text, by an on-device language
// model where the machine has one. The model is never trusted on its own:
// a field it gives is used only where the rules left it empty, and only once
// it is found word for word in the text.
namespace tavlin::parsing::SmartQuickAddParser {

bool isModelAvailable();

// The model's reading of `note`; nothing when the model fails or is absent.
platform::Task<std::optional<ParsedQuickAdd>> parse(QString note, QStringList listNames, ParserVocabulary vocabulary);

// The rule reading of the note with the grounded model fields laid over it.
ParsedQuickAdd finish(const SmartParsedReminder& answer, const QString& note, const QStringList& listNames,
                      const ParserVocabulary& vocabulary, platform::Date referenceDate,
                      const platform::Calendar& calendar);

// The to-dos of a text: the rule split when it finds two or more, else the
// model's split where it survives the check against the text.
platform::Task<QStringList> splitNote(QString text);
QStringList sanitizeSplitTasks(const QStringList& tasks, const QString& note);

// Grounding.
QStringList foldedTokens(const QString& text);
std::optional<platform::TextRange> wordBoundedRange(const QString& span, const QString& text);
bool removeSpan(const QString& span, QString& text);
std::optional<QString> groundDateText(const QString& dateText, const QString& title,
                                      const ParserVocabulary& vocabulary);
bool isDatePhrase(const QString& phrase, const ParserVocabulary& vocabulary);
bool resolveDueDate(const QString& phrase, const platform::DateComponents& components, platform::Date referenceDate,
                    const platform::Calendar& calendar, const ParserVocabulary& vocabulary);
std::optional<int> ordinalDay(const QString& token);
bool isTimeNumber(qsizetype position, const QStringList& tokens, const ParserVocabulary& vocabulary);
std::optional<QString> groundPlace(const QString& locationText, const QString& placeName, const QString& note,
                                   const ParserVocabulary& vocabulary);
bool locationTextMatchesPlace(const QString& locationText, const QString& placeName,
                              const ParserVocabulary& vocabulary);
bool groundList(const QString& listText, const QString& listName, const ParserVocabulary& vocabulary);

}  // namespace tavlin::parsing::SmartQuickAddParser
