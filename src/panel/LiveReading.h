#pragma once

#include "panel/PanelTypes.h"
#include "platform/Task.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

// The language model's reading of the typed line while the user types: after
// a quiet spell, the whole line when it is one task, else each task the model
// has not read yet, its reading kept under the task's text so that an edit
// of one task leaves the others' readings in place. The runs write into the
// typed line only what is still true of it when their reading comes.
namespace tavlin::panel {

class TypedLine;

namespace LiveReading {

// How long typing must pause before the model reads.
inline constexpr std::chrono::milliseconds quiet{350};

// What a per-task run reads and keeps, for the tasks of the line now.
struct PartPlan {
    // The readings of the texts still in the line; none when every text
    // read is still there (nothing to write).
    std::optional<PartResults> kept;
    // The tasks without a reading, in the line's order, each text once.
    QStringList toRead;

    friend bool operator==(const PartPlan&, const PartPlan&) = default;
};
PartPlan planParts(const QStringList& parts, const PartResults& results);

// Reads `line` (the trimmed line as typed) after the quiet spell. The reading
// is dropped when the run was cancelled or the line is no longer `line`
// (the next scheduling resets the in-flight flag then).
platform::Task<> readLine(QPointer<TypedLine> typed, QString line);

// Reads the tasks `toRead`, one after the other, after the quiet spell. A
// task that has left the line is skipped; a reading that comes back empty
// is kept as such, so that the task is not read again.
platform::Task<> readParts(QPointer<TypedLine> typed, QStringList toRead);

}  // namespace LiveReading

}  // namespace tavlin::panel
