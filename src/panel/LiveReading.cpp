#include "panel/LiveReading.h"

#include "panel/TypedLine.h"
#include "parsing/ParserVocabulary.h"
#include "parsing/SmartQuickAddParser.h"
#include "parsing/TaskSplitter.h"

#include <QSet>

namespace tavlin::panel::LiveReading {

namespace {

// The model's reading of `text`, where the machine has a model.
platform::Task<std::optional<parsing::ParsedQuickAdd>> read(QString text, QStringList listTitles) {
    if (!parsing::SmartQuickAddParser::isModelAvailable()) co_return std::nullopt;
    co_return co_await parsing::SmartQuickAddParser::parse(std::move(text), std::move(listTitles),
                                                           parsing::ParserVocabulary::current());
}

// The panel went or closed: nothing more is written into its line.
bool gone(const QPointer<TypedLine>& typed) { return !typed || typed->isClosed(); }

}  // namespace

PartPlan planParts(const QStringList& parts, const PartResults& results) {
    const QSet<QString> current(parts.begin(), parts.end());
    PartPlan plan;
    if (std::any_of(results.begin(), results.end(),
                    [&](const auto& entry) { return !current.contains(entry.first); })) {
        PartResults kept;
        for (const auto& [text, reading] : results)
            if (current.contains(text)) kept.emplace(text, reading);
        plan.kept = std::move(kept);
    }
    for (const QString& part : parts)
        if (!results.contains(part) && !plan.toRead.contains(part)) plan.toRead << part;
    return plan;
}

platform::Task<> readLine(QPointer<TypedLine> typed, QString line) {
    // Cut short by a cancellation, the sleep ends the run below.
    co_await platform::sleep(quiet, typed->clock());
    const bool cancelledAsleep = co_await platform::isTaskCancelled();
    if (cancelledAsleep || gone(typed)) co_return;
    QStringList titles = typed->listTitles();
    std::optional<parsing::ParsedQuickAdd> reading = co_await read(line, std::move(titles));
    const bool cancelled = co_await platform::isTaskCancelled();
    if (cancelled || gone(typed)) co_return;
    // Read for a line that is gone: the scheduling that followed the change
    // has reset what this run set.
    if (typed->trimmedQuery() != line) co_return;
    if (reading) {
        typed->setSmartParsed(std::move(reading));
        typed->setSmartParsedQuery(line);
    }
    typed->setSmartParseInFlight(false);
}

platform::Task<> readParts(QPointer<TypedLine> typed, QStringList toRead) {
    co_await platform::sleep(quiet, typed->clock());
    const bool cancelledAsleep = co_await platform::isTaskCancelled();
    if (cancelledAsleep || gone(typed)) co_return;
    const QStringList titles = typed->listTitles();
    for (const QString& part : toRead) {
        const bool cancelledBefore = co_await platform::isTaskCancelled();
        if (cancelledBefore || gone(typed)) co_return;
        const auto removeFromFlight = [&] {
            QSet<QString> inFlight = typed->smartPartsInFlight();
            inFlight.remove(part);
            typed->setSmartPartsInFlight(std::move(inFlight));
        };
        if (!parsing::TaskSplitter::split(typed->trimmedQuery()).contains(part)) {
            removeFromFlight();
            continue;
        }
        std::optional<parsing::ParsedQuickAdd> reading = co_await read(part, titles);
        // Cancelled meanwhile: the part stays in flight until the next
        // scheduling empties the set.
        const bool cancelledReading = co_await platform::isTaskCancelled();
        if (cancelledReading || gone(typed)) co_return;
        PartResults results = typed->smartPartResults();
        results.insert_or_assign(part, std::move(reading));
        typed->setSmartPartResults(std::move(results));
        removeFromFlight();
    }
}

}  // namespace tavlin::panel::LiveReading
