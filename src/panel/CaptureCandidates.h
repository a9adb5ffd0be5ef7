#pragma once

#include "panel/EffectiveParse.h"
#include "panel/LineCommit.h"
#include "panel/PanelTypes.h"
#include "platform/Task.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>
#include <vector>

// Reminders found in a text captured from a selection: each task of the
// text becomes a candidate that the user may edit, add alone or drop, and
// that the language model may read better meanwhile. Nothing is added
// until the user says so.
namespace tavlin::panel {

class Capture;

// One candidate per part, in order, each with a new identity and the
// rules' reading of its text as it would be saved.
std::vector<CaptureCandidate> makeCandidates(const QStringList& parts, const ReadingContext& context);

// The position of the candidate `id` in `candidates`; the end when none
// has that id.
std::vector<CaptureCandidate>::const_iterator findCandidate(const std::vector<CaptureCandidate>& candidates,
                                                            const QUuid& id);
std::vector<CaptureCandidate>::iterator findCandidate(std::vector<CaptureCandidate>& candidates, const QUuid& id);

// `candidates` with the model's `reading` of `madeFrom` in place of the
// candidate `id`'s reading. The user may have edited or dropped it since the
// model was asked: nothing when it is gone, its text is no longer
// `madeFrom`, or its reading already says the same.
std::optional<std::vector<CaptureCandidate>> withModelReading(const std::vector<CaptureCandidate>& candidates,
                                                              const QUuid& id, const QString& madeFrom,
                                                              const parsing::ParsedQuickAdd& reading);

// What adding `candidates` adds: those with a title, in order, each as it
// reads now (the model is not asked again).
std::vector<PreparedPart> titledParts(const std::vector<CaptureCandidate>& candidates);

// Splits `text` into the capture's candidates and focuses the first, then,
// where the model can be asked, reads each candidate's text with it, one at
// a time, laying each reading on its candidate (withModelReading). It stops
// once the user has finished the capture, when it is cancelled, or when the
// capture goes.
platform::Task<> findCaptureCandidates(QString text, QPointer<Capture> capture);

}  // namespace tavlin::panel
