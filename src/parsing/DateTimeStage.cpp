#include "parsing/DateTimeStage.h"

namespace tavlin::parsing::QuickAddParser {

DateTimeResult extractDateTime(QString&, platform::Date, const platform::Calendar&, const ParserVocabulary&, bool,
                               const std::optional<QString>&, bool) {
    return {};
}

}  // namespace tavlin::parsing::QuickAddParser
