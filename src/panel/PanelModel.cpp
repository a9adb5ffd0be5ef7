#include "panel/PanelModel.h"

#include "panel/CaptureCandidates.h"
#include "panel/ExitCommand.h"
#include "panel/ListCompletion.h"
#include "panel/LiveReading.h"
#include "panel/LocationPreviewLookup.h"
#include "panel/PanelGeometry.h"
#include "panel/PanelNotifications.h"
#include "parsing/SmartQuickAddParser.h"
#include "parsing/TaskSplitter.h"
#include "platform/DesktopServices.h"
#include "platform/Log.h"
#include "platform/ReduceMotion.h"
#include "platform/Text.h"
#include "store/LocationProvider.h"
#include "store/Settings.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace tavlin::panel {

namespace {

constexpr double minimumCaptureListHeight = 56;
constexpr double maximumCaptureListHeight = 380;

}  // namespace

PanelModel::PanelModel(PanelViewInputs inputs, Environment environment, QObject* parent)
    : QObject(parent),
      inputs_(std::move(inputs)),
      environment_(std::move(environment)),
      rowFilter_(*inputs_.store, environment_.wallClock.calendar) {
    Q_ASSERT(inputs_.store && inputs_.settings && inputs_.locationProvider);
    if (!environment_.clock) environment_.clock = &platform::Clock::main();
    if (!environment_.openUrl) environment_.openUrl = [](const QUrl& url) { platform::openUrl(url); };
    if (!environment_.openFolder) environment_.openFolder = &platform::openFolder;
    // The normal way out, whose handlers carry out pending deletions.
    if (!environment_.quit) environment_.quit = [] { QCoreApplication::quit(); };
    if (!environment_.reduceMotion) environment_.reduceMotion = [] { return platform::reduceMotion(); };
    if (!environment_.commitStore) environment_.commitStore = commitStoreOver(*inputs_.store);
    connect(inputs_.store, &store::ReminderStore::authorizationChanged, this, &PanelModel::updateContentShown);
    updateContentShown();
}

PanelModel::~PanelModel() {
    for (const QMetaObject::Connection& connection : contentConnections_) disconnect(connection);
    // Work that would write into a panel that is gone.
    captureTask_.cancel();
    smartParseTask_.cancel();
    locationPreviewTask_.cancel();
    undoDismissTask_.cancel();
    folderTask_.cancel();
}

// What the panel shows.

PanelModel::Route PanelModel::route() const {
    switch (store().authorization()) {
    case platform::AuthorizationStatus::notDetermined: return Route::prompt;
    case platform::AuthorizationStatus::fullAccess: return Route::content;
    case platform::AuthorizationStatus::restricted:
    case platform::AuthorizationStatus::denied:
    case platform::AuthorizationStatus::writeOnly: return Route::denied;
    }
    return Route::denied;
}

bool PanelModel::showsCapture() const { return captureText() && !captureDone(); }

double PanelModel::contentWidth() const {
    if (inputs_.followsStoredWidth)
        if (const std::optional<double> stored = settings().pinnedPanelWidth()) return geometry::clampedWidth(*stored);
    return inputs_.panelWidth;
}

QSize PanelModel::locationSnapshotSize() const { return panel::locationSnapshotSize(contentWidth()); }

double PanelModel::captureListHeight() const {
    return std::min(std::max(captureContentHeight(), minimumCaptureListHeight), maximumCaptureListHeight);
}

FooterStatus PanelModel::footerStatus() const {
    // The latest thing the user asked for comes first.
    if (const std::optional<QString>& folder = unopenedFolder())
        return FooterError{u"No file manager could open the folder."_s, *folder};
    return panel::footerStatus(store().lastError(), store().count(store::CountScope::completedToday));
}

std::vector<GearMenuItem> PanelModel::gearMenu() const {
    return panel::gearMenu({
        .openPreferences = inputs_.onOpenPreferences,
        .checkForUpdates = inputs_.onCheckForUpdates,
        .pendingUpdateVersion = inputs_.pendingUpdateVersion,
        .openWebsite = [open = environment_.openUrl] { open(platform::websiteUrl()); },
        .quit = environment_.quit,
    });
}

// The typed line.

QString PanelModel::trimmedQuery() const { return platform::trimmedWhitespaceAndNewlines(query()); }

QStringList PanelModel::listTitles() const {
    QStringList titles;
    for (const platform::ReminderList& list : store().lists()) titles << list.title;
    return titles;
}

ReadingContext PanelModel::readingContext() const {
    return {.listTitles = listTitles(), .now = wallClock().now(), .calendar = wallClock().calendar};
}

parsing::ParsedQuickAdd PanelModel::effectiveParsed() const {
    return panel::effectiveParsed(trimmedQuery(), smartParsed(), smartParsedQuery(), readingContext());
}

std::vector<parsing::ParsedQuickAdd> PanelModel::parsedParts() const {
    return panel::parsedParts(trimmedQuery(), smartPartResults(), readingContext());
}

std::vector<platform::Reminder> PanelModel::filteredRows() const {
    return rowFilter_.filteredRows(trimmedQuery(), wallClock().now());
}

QSet<QString> PanelModel::nearbyReminderIDs() const {
    const NearbyContext context{.groupingOn = settings().groupNearbyEnabled(),
                                .authorization = locationProvider().authorization(),
                                .here = locationProvider().current()};
    return panel::nearbyReminderIDs(filteredRows(), context);
}

CreateAreaContent PanelModel::createAreaContent() const {
    CreateAreaContent content;
    const bool creates = showsCreateRow();
    content.placeholder = createAreaPlaceholder(query(), creates);
    if (!creates) return content;
    const std::vector<RowItem> rows = flatRows();
    const auto create = std::find_if(rows.begin(), rows.end(), [](const RowItem& row) { return row.isCreate(); });
    content.selected = selectedIndex() == int(create - rows.begin());
    const QStringList tasks = parsing::TaskSplitter::split(trimmedQuery());
    std::vector<LocationRequest> requests = locationRequests();
    if (tasks.size() < 2) {
        content.parts.push_back({effectiveParsed(), smartParseInFlight(), std::move(requests)});
    } else {
        const std::vector<parsing::ParsedQuickAdd> parts = parsedParts();
        const QSet<QString>& inFlight = smartPartsInFlight();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            std::vector<LocationRequest> places;
            if (std::optional<LocationRequest> card = partLocationCard(i, parts, requests)) places.push_back(*card);
            content.parts.push_back({parts[i], inFlight.contains(tasks[qsizetype(i)]), std::move(places)});
        }
    }
    content.listNames = listTitles();
    return content;
}

// The state.

void PanelModel::setQuery(QString query) {
    if (set(query_, std::move(query), &PanelModel::queryChanged)) {
        queryDidChange();
        placeRequestsMayHaveChanged();
    }
}

void PanelModel::setSelectedIndex(std::optional<int> index) {
    set(selectedIndex_, index, &PanelModel::selectedIndexChanged);
}

void PanelModel::setSelectedIndexes(std::set<int> indexes) {
    set(selectedIndexes_, std::move(indexes), &PanelModel::selectedIndexesChanged);
}

void PanelModel::setSelectionAnchor(std::optional<int> anchor) {
    set(selectionAnchor_, anchor, &PanelModel::selectionAnchorChanged);
}

void PanelModel::setCompletingIDs(QSet<QString> ids) {
    set(completingIDs_, std::move(ids), &PanelModel::completingIDsChanged);
}

void PanelModel::setUndoItem(std::optional<UndoItem> item) {
    set(undoItem_, std::move(item), &PanelModel::undoItemChanged);
}

void PanelModel::setListContentHeight(double height) {
    set(listContentHeight_, height, &PanelModel::listContentHeightChanged);
}

void PanelModel::setListSuggestionIndex(int index) {
    set(listSuggestionIndex_, index, &PanelModel::listSuggestionIndexChanged);
}

void PanelModel::setListPickerDismissedQuery(std::optional<QString> query) {
    set(listPickerDismissedQuery_, std::move(query), &PanelModel::listPickerDismissedQueryChanged);
}

void PanelModel::setSmartParsed(std::optional<parsing::ParsedQuickAdd> parsed) {
    if (set(smartParsed_, std::move(parsed), &PanelModel::smartParsedChanged)) placeRequestsMayHaveChanged();
}

void PanelModel::setSmartParsedQuery(QString query) {
    if (set(smartParsedQuery_, std::move(query), &PanelModel::smartParsedQueryChanged)) placeRequestsMayHaveChanged();
}

void PanelModel::setSmartParseInFlight(bool inFlight) {
    set(smartParseInFlight_, inFlight, &PanelModel::smartParseInFlightChanged);
}

void PanelModel::setSmartPartResults(PartResults results) {
    if (set(smartPartResults_, std::move(results), &PanelModel::smartPartResultsChanged)) placeRequestsMayHaveChanged();
}

void PanelModel::setSmartPartsInFlight(QSet<QString> parts) {
    set(smartPartsInFlight_, std::move(parts), &PanelModel::smartPartsInFlightChanged);
}

void PanelModel::setLocationPreviews(LocationPreviews previews) {
    set(locationPreviews_, std::move(previews), &PanelModel::locationPreviewsChanged);
}

void PanelModel::setLocationRadiusOverrides(std::map<QString, double> overrides) {
    if (set(locationRadiusOverrides_, std::move(overrides), &PanelModel::locationRadiusOverridesChanged))
        placeRequestsMayHaveChanged();
}

void PanelModel::setLocationRadiusOverride(const QString& name, double radius) {
    // It would be stored with the reminder.
    if (!(std::isfinite(radius) && radius > 0)) return;
    std::map<QString, double> overrides = locationRadiusOverrides();
    overrides[name] = radius;
    setLocationRadiusOverrides(std::move(overrides));
}

void PanelModel::setCaptureCandidates(std::optional<std::vector<CaptureCandidate>> candidates) {
    set(captureCandidates_, std::move(candidates), &PanelModel::captureCandidatesChanged);
}

void PanelModel::setCaptureLeftOut(qsizetype count) { set(captureLeftOut_, count, &PanelModel::captureLeftOutChanged); }

void PanelModel::setCaptureDone(bool done) { set(captureDone_, done, &PanelModel::captureDoneChanged); }

void PanelModel::setCaptureContentHeight(double height) {
    set(captureContentHeight_, height, &PanelModel::captureContentHeightChanged);
}

void PanelModel::setCaptureFocusID(std::optional<QUuid> id) {
    set(captureFocusID_, id, &PanelModel::captureFocusIDChanged);
}

void PanelModel::setEditingID(std::optional<QString> id) {
    set(editingID_, std::move(id), &PanelModel::editingIDChanged);
}

void PanelModel::setEditingText(QString text) {
    if (set(editingText_, std::move(text), &PanelModel::editingTextChanged)) editTextDidChange();
}

void PanelModel::setEditingOriginalText(QString text) {
    set(editingOriginalText_, std::move(text), &PanelModel::editingOriginalTextChanged);
}

void PanelModel::setEditingPreviousDateText(std::optional<QString> text) {
    set(editingPreviousDateText_, std::move(text), &PanelModel::editingPreviousDateTextChanged);
}

void PanelModel::setEditListSuggestionIndex(int index) {
    set(editListSuggestionIndex_, index, &PanelModel::editListSuggestionIndexChanged);
}

void PanelModel::setEditListPickerDismissedText(std::optional<QString> text) {
    set(editListPickerDismissedText_, std::move(text), &PanelModel::editListPickerDismissedTextChanged);
}

void PanelModel::setEditFieldFocused(bool focused) {
    set(editFieldFocused_, focused, &PanelModel::editFieldFocusedChanged);
}

void PanelModel::setFocus(std::optional<FocusTarget> focus) { set(focus_, focus, &PanelModel::focusChanged); }

void PanelModel::clearSelection() {
    setSelectedIndex(std::nullopt);
    setSelectedIndexes({});
    setSelectionAnchor(std::nullopt);
}

// Escape, Ctrl+Return and the close.

void PanelModel::handleExitCommand() {
    const ExitSituation situation{
        .editOpen = editingID().has_value(),
        .editSuggestionsShown = editingID() && !editListSuggestions().isEmpty(),
        .captureShowing = showsCapture(),
        .listSuggestionsShown = !refreshListSuggestions().isEmpty(),
        .queryEmpty = query().isEmpty(),
    };
    switch (exitAction(situation)) {
    case ExitAction::hideEditSuggestions: return setEditListPickerDismissedText(editingText());
    case ExitAction::abandonEdit: setEditingID(std::nullopt); return setFocus(FocusTarget::list);
    case ExitAction::hideListSuggestions: return setListPickerDismissedQuery(query());
    case ExitAction::clearQuery:
        setQuery(QString());
        clearSelection();
        return setFocus(FocusTarget::field);
    case ExitAction::close:
        // The panel goes at once: nothing of this model is touched after.
        if (inputs_.onClose) inputs_.onClose();
        return;
    }
}

bool PanelModel::commandReturn(Qt::KeyboardModifiers modifiers) {
    if (!contentShown_ || !(modifiers & Qt::ControlModifier)) return false;
    submit();
    return true;
}

void PanelModel::closing() {
    closed_ = true;
    updateContentShown();
}

// The content's appearance.

void PanelModel::updateContentShown() {
    const bool shown = !closed_ && route() == Route::content;
    if (shown == contentShown_) return;
    contentShown_ = shown;
    if (shown) contentAppeared();
    else contentDisappeared();
}

void PanelModel::contentAppeared() {
    PanelNotifications& notices = PanelNotifications::instance();
    contentConnections_ = {
        connect(&notices, &PanelNotifications::tavlinDeleteSelection, this, &PanelModel::deleteSelectionRequested),
        connect(&notices, &PanelNotifications::tavlinListKey, this, &PanelModel::listKeyReceived),
        connect(&notices, &PanelNotifications::tavlinPanelDidBecomeKey, this, &PanelModel::panelBecameKey),
    };
    findCaptureCandidates();
}

void PanelModel::contentDisappeared() {
    for (const QMetaObject::Connection& connection : std::exchange(contentConnections_, {})) disconnect(connection);
    captureTask_.cancel();
    qCInfo(lcPanel).noquote() << u"panel content leaving, pending edit: %1"_s.arg(editingID() ? u"true"_s : u"false"_s);
    commitPendingEdit();
}

// Reactions to changes of the state.

void PanelModel::queryDidChange() {
    clearSelection();
    if (focus() == FocusTarget::list) setFocus(FocusTarget::field);
    setListSuggestionIndex(0);
    scheduleSmartParse();
}

void PanelModel::editTextDidChange() { setEditListSuggestionIndex(0); }

void PanelModel::placeRequestsMayHaveChanged() {
    std::vector<LocationRequest> requests = locationRequests();
    if (requests == placeRequests_) return;
    placeRequests_ = std::move(requests);
    placeRequestsChanged(placeRequests_);
}

void PanelModel::placeRequestsChanged(const std::vector<LocationRequest>& requests) {
    const QSet<QString> names = requestedNames(requests);
    // A radius chosen for a place the line no longer names is forgotten.
    if (auto kept = requestedOnly(locationRadiusOverrides(), names)) setLocationRadiusOverrides(std::move(*kept));
    if (auto kept = requestedOnly(locationPreviews(), names)) setLocationPreviews(std::move(*kept));
    refreshLocationPreviews(requests);
}

// The window's notices.

void PanelModel::panelBecameKey() { refocusField(); }

// Focus.

void PanelModel::findCaptureCandidates() {
    if (!captureText()) return refocusField();
    // Shown again (access given back): the candidates found stay as the
    // user left them.
    if (captureCandidates()) return;
    captureTask_.cancel();
    captureTask_ = panel::findCaptureCandidates(*captureText(), this);
}

// The capture.

parsing::ParsedQuickAdd PanelModel::parseCandidate(const QString& text) const {
    return readingContext().ruleReading(text);
}

QString PanelModel::captureCandidateText(const QUuid& id) const {
    if (!captureCandidates()) return {};
    const auto candidate = findCandidate(*captureCandidates(), id);
    return candidate != captureCandidates()->end() ? candidate->text : QString();
}

void PanelModel::setCaptureCandidateText(const QUuid& id, QString text) {
    if (!captureCandidates()) return;
    std::vector<CaptureCandidate> candidates = *captureCandidates();
    const auto candidate = findCandidate(candidates, id);
    if (candidate == candidates.end()) return;
    candidate->parsed = parseCandidate(text);
    candidate->text = std::move(text);
    setCaptureCandidates(std::move(candidates));
}

void PanelModel::addCaptureCandidate(const QUuid& id) {
    if (!captureCandidates()) return;
    std::vector<CaptureCandidate> candidates = *captureCandidates();
    const auto found = findCandidate(candidates, id);
    if (found == candidates.end()) return;
    const CaptureCandidate added = std::move(*found);
    candidates.erase(found);
    const bool last = candidates.empty();
    setCaptureCandidates(std::move(candidates));
    // One without a title is only dropped.
    if (added.parsed.title.isEmpty()) return;
    platform::detach(createPartsAndRefine(environment_.commitStore, titledParts({added}), listTitles()));
    if (last) endCapture();
}

void PanelModel::removeCaptureCandidate(const QUuid& id) {
    if (!captureCandidates()) return;
    std::vector<CaptureCandidate> candidates = *captureCandidates();
    std::erase_if(candidates, [&](const CaptureCandidate& candidate) { return candidate.id == id; });
    setCaptureCandidates(std::move(candidates));
}

void PanelModel::createCapturedReminders() {
    if (!captureCandidates() || captureCandidates()->empty()) return;
    std::vector<PreparedPart> parts = titledParts(*captureCandidates());
    // The rows go at once; the adds follow, one after the other.
    setCaptureCandidates(std::vector<CaptureCandidate>{});
    endCapture();
    platform::detach(createPartsAndRefine(environment_.commitStore, std::move(parts), listTitles()));
}

void PanelModel::endCapture() {
    setCaptureDone(true);
    setFocus(FocusTarget::field);
}

void PanelModel::refocusField() {
    if (editingID() || showsCapture() || focus() == FocusTarget::list) return;
    // Clearing it first makes the field take the keyboard anew.
    setFocus(std::nullopt);
    QTimer::singleShot(0, this, &PanelModel::refocusFieldLater);
}

void PanelModel::refocusFieldLater() {
    if (editingID()) return;
    if (showsCapture()) return;
    if (focus() == FocusTarget::list) return;
    setFocus(FocusTarget::field);
}

// The field.

void PanelModel::handleFieldSubmit() {
    if (!refreshListSuggestions().isEmpty()) return pickListSuggestion();
    // Return creates only what matches nothing; Ctrl+Return creates anyway.
    if (showsCreateRow()) submit();
}

void PanelModel::handleFieldArrowDown() {
    if (const qsizetype count = refreshListSuggestions().size(); count > 0) {
        setListSuggestionIndex(int(std::min<qsizetype>(count - 1, listSuggestionIndex() + 1)));
        return;
    }
    if (flatRows().empty()) return;
    setSelectedIndex(0);
    setSelectedIndexes({0});
    setSelectionAnchor(0);
    setFocus(FocusTarget::list);
}

bool PanelModel::handleFieldArrowUp() {
    if (refreshListSuggestions().isEmpty()) return false;
    setListSuggestionIndex(std::max(0, listSuggestionIndex() - 1));
    return true;
}

bool PanelModel::acceptSuggestionIfAny(const std::function<QStringList()>& suggestions,
                                       const std::function<void()>& pick) {
    if (suggestions().isEmpty()) return false;
    pick();
    return true;
}

QStringList PanelModel::refreshListSuggestions() const {
    // An edit offers its own; a capture and a dismissal of this very line none.
    if (editingID() || showsCapture() || listPickerDismissedQuery() == query()) return {};
    return ListCompletion::suggestions(query(), listTitles());
}

QStringList PanelModel::editListSuggestions() const {
    // None until the edited line is changed.
    if (!editingID() || editingText() == editingOriginalText() || editListPickerDismissedText() == editingText())
        return {};
    return ListCompletion::suggestions(editingText(), listTitles());
}

void PanelModel::pickListSuggestion() {
    const QStringList suggestions = refreshListSuggestions();
    // A highlight left over from a longer list picks nothing.
    if (const int index = listSuggestionIndex(); index >= 0 && index < suggestions.size())
        applyListSuggestion(suggestions.at(index));
}

void PanelModel::applyListSuggestion(const QString& listName) {
    const std::optional<QString> line = ListCompletion::completed(query(), listName);
    if (!line) return;
    setQuery(*line);
    setFocus(FocusTarget::field);
}

void PanelModel::submit() {
    const QString line = trimmedQuery();
    if (parsing::TaskSplitter::split(line).size() >= 2) return commitParts();
    parsing::ParsedQuickAdd parsed = effectiveParsed();
    if (parsed.title.isEmpty()) return;
    const bool parsedByModel = smartParsed() && smartParsedQuery() == line;
    cancelSmartParse();
    std::optional<store::ResolvedLocation> resolved =
        resolvedPlace(parsed, locationPreviews(), locationRadiusOverrides());
    // The field empties before the reminder is added; the task has copies
    // of all it needs.
    clearField();
    platform::detach(
        createAndRefine(environment_.commitStore, std::move(parsed), std::move(resolved), parsedByModel, line));
}

void PanelModel::commitParts() {
    const ReadingContext context = readingContext();
    std::vector<PreparedPart> parts;
    for (const QString& part : parsing::TaskSplitter::split(trimmedQuery()))
        if (std::optional<PreparedPart> prepared =
                preparePart(part, smartPartResults(), locationPreviews(), context, locationRadiusOverrides()))
            parts.push_back(std::move(*prepared));
    if (parts.empty()) return;
    cancelSmartParse();
    setSmartPartsInFlight({});
    clearField();
    platform::detach(createPartsAndRefine(environment_.commitStore, std::move(parts), context.listTitles));
}

void PanelModel::clearField() {
    setQuery(QString());
    clearSelection();
    setFocus(FocusTarget::field);
}

void PanelModel::cancelSmartParse() {
    smartParseTask_.cancel();
    smartParseTask_ = {};
    setSmartParseInFlight(false);
}

void PanelModel::scheduleSmartParse() {
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

void PanelModel::runSmartParses(const QString& line) {
    if (parsing::TaskSplitter::split(line).size() >= 2) return schedulePartParses();
    setSmartPartResults({});
    setSmartParseInFlight(true);
    smartParseTask_ = LiveReading::readLine(this, line);
}

void PanelModel::schedulePartParses() {
    LiveReading::PartPlan plan =
        LiveReading::planParts(parsing::TaskSplitter::split(trimmedQuery()), smartPartResults());
    if (plan.kept) setSmartPartResults(std::move(*plan.kept));
    // Every task read: nothing runs.
    if (plan.toRead.isEmpty()) return;
    setSmartPartsInFlight(QSet<QString>(plan.toRead.begin(), plan.toRead.end()));
    smartParseTask_ = LiveReading::readParts(this, std::move(plan.toRead));
}

std::vector<LocationRequest> PanelModel::locationRequests() const {
    const QString line = trimmedQuery();
    const std::vector<parsing::ParsedQuickAdd> readings =
        parsing::TaskSplitter::split(line).size() < 2 ? std::vector{effectiveParsed()} : parsedParts();
    const std::map<QString, double>& overrides = locationRadiusOverrides();
    std::vector<LocationRequest> requests;
    QSet<QString> named;
    for (const parsing::ParsedQuickAdd& reading : readings) {
        if (!reading.locationName || named.contains(*reading.locationName)) continue;
        const QString& name = *reading.locationName;
        named.insert(name);
        const auto override = overrides.find(name);
        requests.push_back(
            {.name = name,
             .radius = override != overrides.end() ? std::optional(override->second) : reading.locationRadius,
             .trigger = reading.locationTrigger});
    }
    return requests;
}

void PanelModel::refreshLocationPreviews(const std::vector<LocationRequest>& requests) {
    locationPreviewTask_.cancel();
    locationPreviewTask_ = {};
    // Their cards fade out as they go.
    if (requests.empty()) return setLocationPreviews({});
    // What stays in the line keeps its preview while the lookup runs.
    if (auto kept = requestedOnly(locationPreviews(), requestedNames(requests))) setLocationPreviews(std::move(*kept));
    locationPreviewTask_ = resolveLocationPreviews(requests, this, locationSnapshotSize());
}

// Edits.

void PanelModel::commitPendingEdit() {
    if (!editingID()) return;
    for (const platform::Reminder& reminder : store().reminders())
        if (reminder.identifier == *editingID()) return saveEdit(reminder);
}

platform::Task<> PanelModel::saveEditTask(store::ReminderStore& store, parsing::ParsedQuickAdd parsed,
                                          platform::Reminder reminder) {
    co_await store.update(std::move(parsed), std::move(reminder));
}

void PanelModel::openRemindersFolder() { environment_.openUrl(platform::remindersFolderUrl()); }

}  // namespace tavlin::panel
