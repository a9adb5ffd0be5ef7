#include "parsing/SmartQuickAddParser.h"

#include "parsing/TaskSplitter.h"

namespace tavlin::parsing::SmartQuickAddParser {

bool isModelAvailable() { return false; }

platform::Task<std::optional<ParsedQuickAdd>> parse(QString, QStringList, ParserVocabulary) {
    co_return std::nullopt;
}

platform::Task<QStringList> splitNote(QString text) { co_return TaskSplitter::split(text); }

}  // namespace tavlin::parsing::SmartQuickAddParser
