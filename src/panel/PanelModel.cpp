#include "panel/PanelModel.h"

#include "panel/CaptureCandidates.h"
#include "panel/ExitCommand.h"
#include "panel/ListCompletion.h"
#include "panel/LocationPreviewLookup.h"
#include "panel/PanelGeometry.h"
#include "panel/PanelNotifications.h"
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

using namespace Qt::StringLiterals;

namespace tavlin::panel {

PanelModel::PanelModel(PanelViewInputs inputs, Environment environment, QObject* parent)
    : QObject(parent),
      inputs_(std::move(inputs)),
      environment_(completed(std::move(environment), *inputs_.store)),
      line_(*environment_.clock, environment_.wallClock, [this] { return listTitles(); }),
      edit_([this] { return listTitles(); }),
      capture_(environment_.wallClock, [this] { return listTitles(); }),
      places_(*inputs_.store, *environment_.clock, [this] { return locationSnapshotSize(); }),
      undo_(*inputs_.store, *environment_.clock),
      list_({.store = inputs_.store,
             .settings = inputs_.settings,
             .locationProvider = inputs_.locationProvider,
             .wallClock = &environment_.wallClock,
             .line = &line_,
             .selection = &selection_,
             .edit = &edit_}),
      actions_({.store = inputs_.store,
                .clock = environment_.clock,
                .reduceMotion = environment_.reduceMotion,
                .list = &list_,
                .selection = &selection_,
                .undo = &undo_,
                .openFolder = environment_.openFolder,
                .close = inputs_.onClose}) {
    Q_ASSERT(inputs_.store && inputs_.settings && inputs_.locationProvider);
    wireParts();
    connect(inputs_.store, &store::ReminderStore::authorizationChanged, this, &PanelModel::updateContentShown);
    updateContentShown();
}

PanelModel::~PanelModel() {
    for (const QMetaObject::Connection& connection : contentConnections_) disconnect(connection);
    // Work that would write into a panel that is gone.
    capture_.stop();
    line_.stop();
    places_.stop();
    undo_.stop();
    actions_.stop();
}

PanelModel::Environment PanelModel::completed(Environment environment, store::ReminderStore& store) {
    if (!environment.clock) environment.clock = &platform::Clock::main();
    if (!environment.openUrl) environment.openUrl = [](const QUrl& url) { platform::openUrl(url); };
    if (!environment.openFolder) environment.openFolder = &platform::openFolder;
    // The normal way out, whose handlers carry out pending deletions.
    if (!environment.quit) environment.quit = [] { QCoreApplication::quit(); };
    if (!environment.reduceMotion) environment.reduceMotion = [] { return platform::reduceMotion(); };
    if (!environment.commitStore) environment.commitStore = commitStoreOver(store);
    return environment;
}

void PanelModel::wireParts() {
    // After the parts' observers, so that the reaction reads what they have
    // refreshed.
    connect(&line_, &TypedLine::queryChangeHeard, this, &PanelModel::queryDidChange);
    // What the line's places are read from.
    connect(&line_, &TypedLine::readingChangeHeard, this, &PanelModel::placeRequestsMayHaveChanged);
    connect(&places_, &PlacePreviews::locationRadiusOverridesChangeHeard, this,
            &PanelModel::placeRequestsMayHaveChanged);
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

bool PanelModel::showsCapture() const { return captureText() && !capture_.captureDone(); }

double PanelModel::contentWidth() const {
    if (inputs_.followsStoredWidth)
        if (const std::optional<double> stored = settings().pinnedPanelWidth()) return geometry::clampedWidth(*stored);
    return inputs_.panelWidth;
}

QSize PanelModel::locationSnapshotSize() const { return panel::locationSnapshotSize(contentWidth()); }

double PanelModel::captureListHeight() const { return Capture::listHeight(capture_.captureContentHeight()); }

FooterStatus PanelModel::footerStatus() const {
    // The latest thing the user asked for comes first.
    if (const std::optional<QString>& folder = actions_.unopenedFolder())
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

QStringList PanelModel::listTitles() const {
    QStringList titles;
    for (const platform::ReminderList& list : store().lists()) titles << list.title;
    return titles;
}

CreateAreaContent PanelModel::createAreaContent() const {
    CreateAreaContent content;
    const bool creates = list_.showsCreateRow();
    content.placeholder = createAreaPlaceholder(line_.query(), creates);
    if (!creates) return content;
    const std::vector<RowItem> rows = list_.flatRows();
    const auto create = std::find_if(rows.begin(), rows.end(), [](const RowItem& row) { return row.isCreate(); });
    content.selected = selection_.selectedIndex() == int(create - rows.begin());
    const QStringList tasks = parsing::TaskSplitter::split(line_.trimmedQuery());
    std::vector<LocationRequest> requests = locationRequests();
    if (tasks.size() < 2) {
        content.parts.push_back({line_.effectiveParsed(), line_.smartParseInFlight(), std::move(requests)});
    } else {
        const std::vector<parsing::ParsedQuickAdd> parts = line_.parsedParts();
        const QSet<QString>& inFlight = line_.smartPartsInFlight();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            std::vector<LocationRequest> places;
            if (std::optional<LocationRequest> card = partLocationCard(i, parts, requests)) places.push_back(*card);
            content.parts.push_back({parts[i], inFlight.contains(tasks[qsizetype(i)]), std::move(places)});
        }
    }
    content.listNames = listTitles();
    return content;
}

// The panel-wide state.

void PanelModel::setFocus(std::optional<FocusTarget> focus) {
    store::publish(this, focus_, focus, &PanelModel::focusChanged);
}

// Escape, Ctrl+Return and the close.

void PanelModel::handleExitCommand() {
    const ExitSituation situation{
        .editOpen = edit_.editingID().has_value(),
        .editSuggestionsShown = edit_.editingID() && !edit_.editListSuggestions().isEmpty(),
        .captureShowing = showsCapture(),
        .listSuggestionsShown = !refreshListSuggestions().isEmpty(),
        .queryEmpty = line_.query().isEmpty(),
    };
    switch (exitAction(situation)) {
    case ExitAction::hideEditSuggestions: return edit_.setEditListPickerDismissedText(edit_.editingText());
    case ExitAction::abandonEdit: edit_.setEditingID(std::nullopt); return setFocus(FocusTarget::list);
    case ExitAction::hideListSuggestions: return line_.setListPickerDismissedQuery(line_.query());
    case ExitAction::clearQuery:
        line_.setQuery(QString());
        selection_.clear();
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
    line_.close();
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
    capture_.stop();
    qCInfo(lcPanel).noquote() << u"panel content leaving, pending edit: %1"_s.arg(edit_.editingID() ? u"true"_s
                                                                                                    : u"false"_s);
    commitPendingEdit();
}

// Reactions to changes of the state.

void PanelModel::queryDidChange() {
    selection_.clear();
    if (focus() == FocusTarget::list) setFocus(FocusTarget::field);
    line_.setListSuggestionIndex(0);
    line_.scheduleSmartParse();
    placeRequestsMayHaveChanged();
}

void PanelModel::placeRequestsMayHaveChanged() { places_.follow(locationRequests()); }

// The window's notices.

void PanelModel::panelBecameKey() { refocusField(); }

// Focus.

void PanelModel::findCaptureCandidates() {
    if (!captureText()) return refocusField();
    // Shown again (access given back): the candidates found stay as the
    // user left them.
    capture_.find(*captureText());
}

// The capture.

void PanelModel::addCaptureCandidate(const QUuid& id) {
    const std::optional<CaptureCandidate> added = capture_.take(id);
    if (!added) return;
    const bool last = capture_.captureCandidates()->empty();
    // One without a title is only dropped.
    if (added->parsed.title.isEmpty()) return;
    platform::detach(createPartsAndRefine(environment_.commitStore, titledParts({*added}), listTitles()));
    if (last) endCapture();
}

void PanelModel::createCapturedReminders() {
    if (!capture_.captureCandidates() || capture_.captureCandidates()->empty()) return;
    // The rows go at once; the adds follow, one after the other.
    std::vector<PreparedPart> parts = titledParts(capture_.takeAll());
    endCapture();
    platform::detach(createPartsAndRefine(environment_.commitStore, std::move(parts), listTitles()));
}

void PanelModel::endCapture() {
    capture_.setCaptureDone(true);
    setFocus(FocusTarget::field);
}

void PanelModel::refocusField() {
    if (edit_.editingID() || showsCapture() || focus() == FocusTarget::list) return;
    // Clearing it first makes the field take the keyboard anew.
    setFocus(std::nullopt);
    QTimer::singleShot(0, this, &PanelModel::refocusFieldLater);
}

void PanelModel::refocusFieldLater() {
    if (edit_.editingID()) return;
    if (showsCapture()) return;
    if (focus() == FocusTarget::list) return;
    setFocus(FocusTarget::field);
}

// The field.

void PanelModel::handleFieldSubmit() {
    if (!refreshListSuggestions().isEmpty()) return pickListSuggestion();
    // Return creates only what matches nothing; Ctrl+Return creates anyway.
    if (list_.showsCreateRow()) submit();
}

void PanelModel::handleFieldArrowDown() {
    if (listPickerOpen() && line_.listArrowDown()) return;
    if (list_.flatRows().empty()) return;
    selection_.setSelectedIndex(0);
    selection_.setSelectedIndexes({0});
    selection_.setSelectionAnchor(0);
    setFocus(FocusTarget::list);
}

bool PanelModel::handleFieldArrowUp() { return listPickerOpen() && line_.listArrowUp(); }

// An edit offers its own names, and a capture none.
bool PanelModel::listPickerOpen() const { return !edit_.editingID() && !showsCapture(); }

QStringList PanelModel::refreshListSuggestions() const {
    return listPickerOpen() ? line_.listSuggestions() : QStringList();
}

void PanelModel::pickListSuggestion() {
    if (const std::optional<QString> name =
            ListCompletion::highlighted(refreshListSuggestions(), line_.listSuggestionIndex()))
        applyListSuggestion(*name);
}

void PanelModel::applyListSuggestion(const QString& listName) {
    if (line_.applyListSuggestion(listName)) setFocus(FocusTarget::field);
}

void PanelModel::submit() {
    const QString line = line_.trimmedQuery();
    if (parsing::TaskSplitter::split(line).size() >= 2) return commitParts();
    parsing::ParsedQuickAdd parsed = line_.effectiveParsed();
    if (parsed.title.isEmpty()) return;
    const bool parsedByModel = line_.smartParsed() && line_.smartParsedQuery() == line;
    line_.cancelSmartParse();
    std::optional<store::ResolvedLocation> resolved =
        resolvedPlace(parsed, places_.locationPreviews(), places_.locationRadiusOverrides());
    // The field empties before the reminder is added; the task has copies
    // of all it needs.
    clearField();
    platform::detach(
        createAndRefine(environment_.commitStore, std::move(parsed), std::move(resolved), parsedByModel, line));
}

void PanelModel::commitParts() {
    const ReadingContext context = line_.readingContext();
    std::vector<PreparedPart> parts;
    for (const QString& part : parsing::TaskSplitter::split(line_.trimmedQuery()))
        if (std::optional<PreparedPart> prepared = preparePart(
                part, line_.smartPartResults(), places_.locationPreviews(), context, places_.locationRadiusOverrides()))
            parts.push_back(std::move(*prepared));
    if (parts.empty()) return;
    line_.cancelSmartParse();
    line_.setSmartPartsInFlight({});
    clearField();
    platform::detach(createPartsAndRefine(environment_.commitStore, std::move(parts), context.listTitles));
}

void PanelModel::clearField() {
    line_.setQuery(QString());
    selection_.clear();
    setFocus(FocusTarget::field);
}

std::vector<LocationRequest> PanelModel::locationRequests() const { return places_.requestsFor(line_.readings()); }

void PanelModel::performUndo() {
    undo_.undo();
    // The keyboard goes back to the field: left to the list, the next space
    // typed would complete the selected reminder again.
    if (!edit_.editingID() && !showsCapture()) setFocus(FocusTarget::field);
}

void PanelModel::openRemindersFolder() { environment_.openUrl(platform::remindersFolderUrl()); }

}  // namespace tavlin::panel
