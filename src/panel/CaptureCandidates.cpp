#include "panel/CaptureCandidates.h"

#include "panel/Capture.h"
#include "parsing/ParserVocabulary.h"
#include "parsing/SmartQuickAddParser.h"
#include "parsing/TaskSplitter.h"

#include <algorithm>

namespace tavlin::panel {

std::vector<CaptureCandidate> makeCandidates(const QStringList& parts, const ReadingContext& context) {
    std::vector<CaptureCandidate> candidates;
    candidates.reserve(parts.size());
    for (const QString& part : parts)
        candidates.push_back({.id = QUuid::createUuid(), .text = part, .parsed = context.ruleReading(part)});
    return candidates;
}

std::vector<CaptureCandidate>::const_iterator findCandidate(const std::vector<CaptureCandidate>& candidates,
                                                            const QUuid& id) {
    return std::find_if(candidates.begin(), candidates.end(),
                        [&](const CaptureCandidate& candidate) { return candidate.id == id; });
}

std::vector<CaptureCandidate>::iterator findCandidate(std::vector<CaptureCandidate>& candidates, const QUuid& id) {
    return std::find_if(candidates.begin(), candidates.end(),
                        [&](const CaptureCandidate& candidate) { return candidate.id == id; });
}

std::optional<std::vector<CaptureCandidate>> withModelReading(const std::vector<CaptureCandidate>& candidates,
                                                              const QUuid& id, const QString& madeFrom,
                                                              const parsing::ParsedQuickAdd& reading) {
    std::vector<CaptureCandidate> updated = candidates;
    const auto candidate = findCandidate(updated, id);
    if (candidate == updated.end() || candidate->text != madeFrom || candidate->parsed.isEquivalent(reading))
        return std::nullopt;
    candidate->parsed = reading;
    return updated;
}

std::vector<PreparedPart> titledParts(const std::vector<CaptureCandidate>& candidates) {
    std::vector<PreparedPart> parts;
    for (const CaptureCandidate& candidate : candidates)
        if (!candidate.parsed.title.isEmpty())
            parts.push_back({.text = candidate.text, .parsed = candidate.parsed, .modelRuled = true});
    return parts;
}

platform::Task<> findCaptureCandidates(QString text, QPointer<Capture> capture) {
    if (!capture) co_return;
    // The lists as they were when the capture began, for every reading.
    const QStringList listTitles = capture->listTitles();
    // Only so many become candidates; the user is told how many more there were.
    const qsizetype pieces = parsing::TaskSplitter::splitPieces(text).size();
    const QStringList parts = co_await parsing::SmartQuickAddParser::splitNote(std::move(text));
    const bool cancelled = co_await platform::isTaskCancelled();
    if (cancelled || !capture) co_return;

    const ReadingContext context{
        .listTitles = listTitles, .now = capture->wallClock().now(), .calendar = capture->wallClock().calendar};
    const std::vector<CaptureCandidate> made = makeCandidates(parts, context);
    capture->setCaptureLeftOut(std::max<qsizetype>(0, pieces - parts.size()));
    capture->setCaptureCandidates(made);
    capture->setCaptureFocusID(made.empty() ? std::nullopt : std::optional(made.front().id));
    if (made.empty() || !parsing::SmartQuickAddParser::isModelAvailable()) co_return;

    for (const CaptureCandidate& candidate : made) {
        if (capture->captureDone()) co_return;
        QString madeFrom = candidate.text;
        QStringList titles = listTitles;
        const std::optional<parsing::ParsedQuickAdd> reading = co_await parsing::SmartQuickAddParser::parse(
            madeFrom, std::move(titles), parsing::ParserVocabulary::current());
        const bool stopped = co_await platform::isTaskCancelled();
        if (stopped || !capture) co_return;
        if (!reading || !capture->captureCandidates()) continue;
        if (auto updated = withModelReading(*capture->captureCandidates(), candidate.id, madeFrom, *reading))
            capture->setCaptureCandidates(std::move(*updated));
    }
}

}  // namespace tavlin::panel
