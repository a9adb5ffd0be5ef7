#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "parsing/ParserVocabulary.h"
#include "platform/Task.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The deterministic parser beside the model parser, on one text (--parse) or
// on a file of lines in several languages (--parse-batch).
namespace tavlin::devmodes {

// One rule reading as the developer switches take it: an empty title gives
// the trimmed text and nothing else; a cadence without a date is due today.
parsing::ParsedQuickAdd deterministicReading(const QString& text, const QStringList& listNames,
                                             const parsing::ParserVocabulary& vocabulary);

// "ParsedQuickAdd(title: "…", dueDateComponents: nil, …)".
QString debugRendering(const parsing::ParsedQuickAdd& reading);

// The vocabulary of each language tag of a file, built once per run: "-"
// for the user's own (ParserVocabulary::current()), else the tag's language
// and English.
class Vocabularies {
public:
    const parsing::ParserVocabulary& forTag(const QString& languageTag);

private:
    QHash<QString, parsing::ParserVocabulary> byTag_;
};

// The lines of a file, cut at every newline character, empty ones dropped.
QStringList inputLines(const QString& text);
// The next tab-ended field of a line, tabs before it skipped; nothing when no
// tab ends it or the field is empty. `rest` moves past the tab.
std::optional<QString> takeTabField(QStringView& rest);

platform::Task<> parseCompareTest(QString text);
platform::Task<> parseBatch(QString fileText);

}  // namespace tavlin::devmodes
