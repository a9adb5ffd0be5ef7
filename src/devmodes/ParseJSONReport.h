#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "platform/Task.h"

#include <QString>
#include <QStringList>

#include <nlohmann/json.hpp>

// --parse-json: every case of a file split into tasks, each read by both
// parsers, printed as one JSON report.
namespace tavlin::devmodes {

nlohmann::json readingDictionary(const parsing::ParsedQuickAdd& reading);

// The list names both parsers get: those of --parse-lists, else the defaults.
QStringList reportListNames(const QStringList& arguments);

// Sorted keys at every level, pretty-printed, "/" written as "\/".
QString reportText(const nlohmann::json& report);

platform::Task<> parseJSONReport(QStringList arguments, QString fileText);

}  // namespace tavlin::devmodes
