#pragma once

#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/LanguageModel.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tavlin::parsing {

// The record the model fills for one note: each *Text field is meant to be
// copied from the note, the others are the model's reading of it.
struct SmartParsedReminder {
    QString dateText;
    QString dueDate;  // yyyy-MM-dd
    QString dueTime;  // HH:mm
    QString locationText;
    QString location;
    QString priorityText;
    QString priority;
    QString listText;
    QString list;

    static const platform::GenerationSchema& schema();
    // Nothing when a field is missing from the content.
    static std::optional<SmartParsedReminder> fromGeneratedContent(const platform::GeneratedContent& content);
    platform::GeneratedContent toGeneratedContent() const;
    // "dateText=… dueDate=… …": every field, in schema order.
    QString debugText() const;
};

// The record of a model split: one entry per to-do.
struct SplitTasks {
    QStringList tasks;

    static const platform::GenerationSchema& schema();
    static std::optional<SplitTasks> fromGeneratedContent(const platform::GeneratedContent& content);
};

namespace SmartQuickAddParser {

// What the model is told before it reads a note.
QString readingInstructions(platform::Date referenceDate, const platform::Calendar& calendar,
                            const QStringList& listNames);
const QString& splitInstructions();

}  // namespace SmartQuickAddParser

}  // namespace tavlin::parsing
