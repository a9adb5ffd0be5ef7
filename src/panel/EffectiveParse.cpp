#include "panel/EffectiveParse.h"

#include "parsing/ParserVocabulary.h"
#include "parsing/QuickAddParser.h"
#include "parsing/TaskSplitter.h"
#include "store/QuickAdd.h"

namespace tavlin::panel {

parsing::ParsedQuickAdd ReadingContext::parse(const QString& text) const {
    return parsing::QuickAddParser::parse(text, {.referenceDate = now,
                                                 .calendar = calendar,
                                                 .vocabulary = parsing::ParserVocabulary::current(),
                                                 .listNames = listTitles});
}

parsing::ParsedQuickAdd ReadingContext::ruleReading(const QString& text) const {
    return store::QuickAdd::committedReading(text, listTitles, now, calendar);
}

parsing::ParsedQuickAdd ReadingContext::editReading(const QString& text,
                                                    const std::optional<QString>& previousDateText) const {
    return store::QuickAdd::committedReading(text, listTitles, now, calendar, true, previousDateText);
}

parsing::ParsedQuickAdd effectiveParsed(const QString& line, const std::optional<parsing::ParsedQuickAdd>& smartParsed,
                                        const QString& smartParsedQuery, const ReadingContext& context) {
    if (smartParsed && smartParsedQuery == line) return *smartParsed;
    return context.ruleReading(line);
}

std::vector<parsing::ParsedQuickAdd> parsedParts(const QString& line, const PartResults& partResults,
                                                 const ReadingContext& context) {
    std::vector<parsing::ParsedQuickAdd> readings;
    for (const QString& part : parsing::TaskSplitter::split(line)) {
        const auto found = partResults.find(part);
        readings.push_back(found != partResults.end() && found->second ? *found->second : context.ruleReading(part));
    }
    return readings;
}

}  // namespace tavlin::panel
