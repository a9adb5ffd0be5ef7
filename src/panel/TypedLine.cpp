#include "panel/TypedLine.h"

#include "panel/ListCompletion.h"
#include "panel/LiveReading.h"
#include "parsing/SmartQuickAddParser.h"
#include "parsing/TaskSplitter.h"
#include "platform/Text.h"
#include "store/ObservationTracking.h"

#include <algorithm>

namespace tavlin::panel {

TypedLine::TypedLine(platform::Clock& clock, const store::WallClock& wallClock, std::function<QStringList()> listTitles,
                     QObject* parent)
    : QObject(parent), clock_(clock), wallClock_(wallClock), listTitles_(std::move(listTitles)) {}

TypedLine::~TypedLine() { smartParseTask_.cancel(); }

ReadingContext TypedLine::readingContext() const {
    return {.listTitles = listTitles(), .now = wallClock_.now(), .calendar = wallClock_.calendar};
}

void TypedLine::setQuery(QString query) {
    if (store::publish(this, query_, std::move(query), &TypedLine::queryChanged)) emit queryChangeHeard();
}

QString TypedLine::trimmedQuery() const { return platform::trimmedWhitespaceAndNewlines(query()); }

// Read through the published getters, so that a view showing a reading
// follows what it is made of.
parsing::ParsedQuickAdd TypedLine::effectiveParsed() const {
    return panel::effectiveParsed(trimmedQuery(), smartParsed(), smartParsedQuery(), readingContext());
}

std::vector<parsing::ParsedQuickAdd> TypedLine::parsedParts() const {
    return panel::parsedParts(trimmedQuery(), smartPartResults(), readingContext());
}

std::vector<parsing::ParsedQuickAdd> TypedLine::readings() const {
    if (parsing::TaskSplitter::split(trimmedQuery()).size() < 2) return {effectiveParsed()};
    return parsedParts();
}

QStringList TypedLine::listSuggestions() const {
    if (listPickerDismissedQuery() == query()) return {};
    return ListCompletion::suggestions(query(), listTitles());
}

bool TypedLine::listArrowUp() {
    if (listSuggestions().isEmpty()) return false;
    setListSuggestionIndex(std::max(0, listSuggestionIndex() - 1));
    return true;
}

bool TypedLine::listArrowDown() {
    const qsizetype count = listSuggestions().size();
    if (count == 0) return false;
    setListSuggestionIndex(int(std::min<qsizetype>(count - 1, listSuggestionIndex() + 1)));
    return true;
}

bool TypedLine::applyListSuggestion(const QString& listName) {
    const std::optional<QString> line = ListCompletion::completed(query(), listName);
    if (!line) return false;
    setQuery(*line);
    return true;
}

void TypedLine::setListSuggestionIndex(int index) {
    store::publish(this, listSuggestionIndex_, index, &TypedLine::listSuggestionIndexChanged);
}

void TypedLine::setListPickerDismissedQuery(std::optional<QString> query) {
    store::publish(this, listPickerDismissedQuery_, std::move(query), &TypedLine::listPickerDismissedQueryChanged);
}

void TypedLine::setSmartParsed(std::optional<parsing::ParsedQuickAdd> parsed) {
    if (store::publish(this, smartParsed_, std::move(parsed), &TypedLine::smartParsedChanged))
        emit readingChangeHeard();
}

void TypedLine::setSmartParsedQuery(QString query) {
    if (store::publish(this, smartParsedQuery_, std::move(query), &TypedLine::smartParsedQueryChanged))
        emit readingChangeHeard();
}

void TypedLine::setSmartParseInFlight(bool inFlight) {
    store::publish(this, smartParseInFlight_, inFlight, &TypedLine::smartParseInFlightChanged);
}

void TypedLine::setSmartPartResults(PartResults results) {
    if (store::publish(this, smartPartResults_, std::move(results), &TypedLine::smartPartResultsChanged))
        emit readingChangeHeard();
}

void TypedLine::setSmartPartsInFlight(QSet<QString> parts) {
    store::publish(this, smartPartsInFlight_, std::move(parts), &TypedLine::smartPartsInFlightChanged);
}

void TypedLine::cancelSmartParse() {
    smartParseTask_.cancel();
    smartParseTask_ = {};
    setSmartParseInFlight(false);
}

void TypedLine::scheduleSmartParse() {
    cancelSmartParse();
    setSmartParsed(std::nullopt);
    setSmartPartsInFlight({});
    const QString line = trimmedQuery();
    if (line.isEmpty() || !parsing::SmartQuickAddParser::isModelAvailable()) {
        setSmartPartResults({});
        return;
    }
    runSmartParses(line);
}

void TypedLine::runSmartParses(const QString& line) {
    if (parsing::TaskSplitter::split(line).size() >= 2) return schedulePartParses();
    setSmartPartResults({});
    setSmartParseInFlight(true);
    smartParseTask_ = LiveReading::readLine(this, line);
}

void TypedLine::schedulePartParses() {
    LiveReading::PartPlan plan =
        LiveReading::planParts(parsing::TaskSplitter::split(trimmedQuery()), smartPartResults_);
    if (plan.kept) setSmartPartResults(std::move(*plan.kept));
    // Every task read: nothing runs.
    if (plan.toRead.isEmpty()) return;
    setSmartPartsInFlight(QSet<QString>(plan.toRead.begin(), plan.toRead.end()));
    smartParseTask_ = LiveReading::readParts(this, std::move(plan.toRead));
}

}  // namespace tavlin::panel
