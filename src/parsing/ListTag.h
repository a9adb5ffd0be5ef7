#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tavlin::parsing::QuickAddParser {

// The first "#tag" that names one of `listNames` is taken out of `text`;
// the result is that list's name as the caller spells it.
std::optional<QString> extractList(QString& text, const QStringList& listNames);

}  // namespace tavlin::parsing::QuickAddParser
