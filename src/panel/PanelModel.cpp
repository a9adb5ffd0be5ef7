#include "panel/PanelModel.h"

#include "panel/ExitCommand.h"
#include "panel/LocationPreviewLookup.h"
#include "panel/PanelGeometry.h"
#include "panel/PanelNotifications.h"
#include "platform/DesktopServices.h"
#include "platform/Log.h"
#include "platform/ReduceMotion.h"
#include "store/LocationProvider.h"
#include "store/Settings.h"

#include <QCoreApplication>
#include <QTimer>

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
                .close = inputs_.onClose}),
      field_({.line = &line_,
              .selection = &selection_,
              .edit = &edit_,
              .capture = &capture_,
              .places = &places_,
              .list = &list_,
              .commitStore = environment_.commitStore,
              .listTitles = [this] { return listTitles(); },
              .showsCapture = [this] { return showsCapture(); },
              .focus = [this](FocusTarget target) { setFocus(target); }}),
      listActions_({.store = inputs_.store,
                    .settings = inputs_.settings,
                    .line = &line_,
                    .selection = &selection_,
                    .edit = &edit_,
                    .list = &list_,
                    .rowActions = &actions_,
                    .field = &field_,
                    .showsCapture = [this] { return showsCapture(); },
                    .focus = [this](FocusTarget target) { setFocus(target); }}) {
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
    return panel::createAreaContent(line_, list_, selection_, locationRequests(), listTitles());
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
        .listSuggestionsShown = !field_.refreshListSuggestions().isEmpty(),
        .queryEmpty = line_.query().isEmpty(),
    };
    switch (exitAction(situation)) {
    case ExitAction::hideEditSuggestions: return edit_.setEditListPickerDismissedText(edit_.editingText());
    case ExitAction::abandonEdit: edit_.setEditingID(std::nullopt); return setFocus(FocusTarget::list);
    case ExitAction::hideListSuggestions: return line_.setListPickerDismissedQuery(line_.query());
    case ExitAction::clearQuery: return field_.clearField();
    case ExitAction::close:
        // The panel goes at once: nothing of this model is touched after.
        if (inputs_.onClose) inputs_.onClose();
        return;
    }
}

bool PanelModel::commandReturn(Qt::KeyboardModifiers modifiers) {
    if (!contentShown_ || !(modifiers & Qt::ControlModifier)) return false;
    field_.submit();
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
        connect(&notices, &PanelNotifications::tavlinDeleteSelection, this, [this] { listActions_.deleteSelection(); }),
        connect(&notices, &PanelNotifications::tavlinListKey, this,
                [this](PanelListKey key) { listActions_.handleKey(key); }),
        connect(&notices, &PanelNotifications::tavlinPanelDidBecomeKey, this, &PanelModel::refocusField),
    };
    findCaptureCandidates();
}

void PanelModel::contentDisappeared() {
    for (const QMetaObject::Connection& connection : std::exchange(contentConnections_, {})) disconnect(connection);
    capture_.stop();
    qCInfo(lcPanel).noquote() << u"panel content leaving, pending edit: %1"_s.arg(edit_.editingID() ? u"true"_s
                                                                                                    : u"false"_s);
    listActions_.commitPendingEdit();
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

// Focus.

void PanelModel::findCaptureCandidates() {
    if (!captureText()) return refocusField();
    // Shown again (access given back): the candidates found stay as the
    // user left them.
    capture_.find(*captureText());
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

std::vector<LocationRequest> PanelModel::locationRequests() const { return places_.requestsFor(line_.readings()); }

void PanelModel::performUndo() {
    undo_.undo();
    // The keyboard goes back to the field: left to the list, the next space
    // typed would complete the selected reminder again.
    if (!edit_.editingID() && !showsCapture()) setFocus(FocusTarget::field);
}

void PanelModel::openRemindersFolder() { environment_.openUrl(platform::remindersFolderUrl()); }

}  // namespace tavlin::panel
