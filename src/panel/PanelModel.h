#pragma once

#include "panel/Capture.h"
#include "panel/CreateArea.h"
#include "panel/FieldActions.h"
#include "panel/FooterContent.h"
#include "panel/InlineEdit.h"
#include "panel/LineCommit.h"
#include "panel/ListActions.h"
#include "panel/PanelList.h"
#include "panel/PanelTypes.h"
#include "panel/PanelViewInputs.h"
#include "panel/PlacePreviews.h"
#include "panel/RowActions.h"
#include "panel/RowSelection.h"
#include "panel/TypedLine.h"
#include "panel/UndoWindow.h"
#include "platform/Clock.h"
#include "platform/Task.h"
#include "store/ObservationTracking.h"
#include "store/ReminderStore.h"

#include <QList>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tavlin::panel {

// The state and the operations of one opening of the quick-add panel,
// without widgets. The controller makes one when the panel opens and
// destroys it when it closes; nothing of it outlives the opening (what must
// last is written to the store or the settings).
//
// Every state property starts at its initial value, is read through a
// published getter (ObservationTracking) and set through a setter that
// signals only a change. Setting the query, the edit's text or what makes
// up the line's place requests runs the panel's reaction to that change.
//
// The state is kept in parts, each owning its own: the typed line and its
// readings (TypedLine), the list's selection (RowSelection), the edit of a
// row (InlineEdit), the capture (Capture), the place previews
// (PlacePreviews), the undo bar (UndoWindow), the list (PanelList), what
// is done to its rows (RowActions), what the field's keys and the capture
// add (FieldActions) and what the list's clicks and keys do, the edit of a
// row among them (ListActions). The model keeps what belongs to the
// whole panel (the keyboard's place) and carries out what takes more than
// one part. Each part publishes its own properties and is
// read through its accessor; the model reacts to a part's change once the
// part's observers have heard it. The panel's widgets render this model and
// forward their input to it.
//
// Main thread only. A deferred step holds the model weakly and does nothing
// once it is gone.
class PanelModel : public QObject {
    Q_OBJECT

public:
    // What the panel needs beyond its inputs.
    struct Environment {
        store::WallClock wallClock;                // the time of day and the user's calendar
        platform::Clock* clock = nullptr;          // delays; the main clock when empty
        std::function<void(const QUrl&)> openUrl;  // the desktop's handler when empty
        // A folder in the desktop's application for folders when empty:
        // whether one took it.
        std::function<platform::Task<bool>(const QUrl&)> openFolder;
        std::function<void()> quit;                // the application's normal way out when empty
        std::function<bool()> reduceMotion;        // the desktop's setting when empty
        std::shared_ptr<CommitStore> commitStore;  // where typed lines are added; the store when empty
    };

    // What the panel shows by the store's authorization: the request for
    // access, the refusal, or its content.
    enum class Route { prompt, denied, content };

    // The inputs must hold a store, settings and a location provider.
    PanelModel(PanelViewInputs inputs, Environment environment, QObject* parent = nullptr);
    ~PanelModel() override;

    const PanelViewInputs& inputs() const { return inputs_; }
    store::ReminderStore& store() const { return *inputs_.store; }
    store::Settings& settings() const { return *inputs_.settings; }
    store::LocationProvider& locationProvider() const { return *inputs_.locationProvider; }
    const store::WallClock& wallClock() const { return environment_.wallClock; }
    platform::Clock& clock() const { return *environment_.clock; }
    // No animation while it is true.
    bool reduceMotion() const { return environment_.reduceMotion(); }
    // Text captured from a selection; nothing for an ordinary opening.
    const std::optional<QString>& captureText() const { return inputs_.captureText; }

    // What the panel shows.
    Route route() const;
    // The captured text is shown and not yet finished.
    bool showsCapture() const;
    // The stored width clamped to 360…800 when the panel follows it and one
    // is stored; else the width it was opened with.
    double contentWidth() const;
    // The size of the map drawn for a place's card in that width.
    QSize locationSnapshotSize() const;
    // The capture's list: its measured height, held within 56…380.
    double captureListHeight() const;
    FooterStatus footerStatus() const;
    // Built afresh for each showing of the menu.
    std::vector<GearMenuItem> gearMenu() const;

    // The titles of the store's lists, in its order.
    QStringList listTitles() const;
    // What the create area shows (CreateArea.h).
    CreateAreaContent createAreaContent() const;

    // The panel-wide state. The rest lives in the parts below, which publish
    // their own. The field or the list has the keyboard; none: neither.
    const std::optional<FocusTarget>& focus() const { return get(focus_, &PanelModel::focusChanged); }
    void setFocus(std::optional<FocusTarget> focus);

    // The parts, for what works on one of them alone.
    TypedLine& typedLine() { return line_; }
    const TypedLine& typedLine() const { return line_; }
    RowSelection& rowSelection() { return selection_; }
    const RowSelection& rowSelection() const { return selection_; }
    InlineEdit& inlineEdit() { return edit_; }
    const InlineEdit& inlineEdit() const { return edit_; }
    Capture& capture() { return capture_; }
    const Capture& capture() const { return capture_; }
    PlacePreviews& placePreviews() { return places_; }
    const PlacePreviews& placePreviews() const { return places_; }
    UndoWindow& undoWindow() { return undo_; }
    const UndoWindow& undoWindow() const { return undo_; }
    PanelList& list() { return list_; }
    const PanelList& list() const { return list_; }
    RowActions& rowActions() { return actions_; }
    const RowActions& rowActions() const { return actions_; }
    FieldActions& fieldActions() { return field_; }
    const FieldActions& fieldActions() const { return field_; }
    ListActions& listActions() { return listActions_; }
    const ListActions& listActions() const { return listActions_; }

    // What the undo bar offered comes back (UndoWindow), and the field takes
    // the keyboard again unless a row is edited or a capture shows.
    void performUndo();
    // Escape, or another cancel: the first rule that applies (ExitCommand.h).
    void handleExitCommand();
    // Return anywhere in the panel: with Ctrl held the typed line is
    // committed and the key is taken (true); otherwise it goes on.
    bool commandReturn(Qt::KeyboardModifiers modifiers);
    // The panel closes: its content goes (an open edit is saved), and the
    // model hears no more notices.
    void closing();
    // Closed, the model is only waiting to go: its views stop reading it
    // (what it reads may be gone first).
    bool isClosed() const { return closed_; }

    // The places named in the typed line, in order.
    std::vector<LocationRequest> locationRequests() const;

    // The field takes the keyboard anew (at the next turn) unless a row is
    // being edited, a capture is showing or the list has the keyboard.
    void refocusField();

    // "Open Reminders Folder" of the refusal.
    void openRemindersFolder();

signals:
    void focusChanged();

private:
    template <class T>
    const T& get(const T& field, void (PanelModel::*changed)()) const {
        return store::observed(this, field, changed);
    }
    // Fills in what `environment` leaves empty.
    static Environment completed(Environment environment, store::ReminderStore& store);
    // The model reacts to its parts.
    void wireParts();

    // The content appears when the store lets the panel read the
    // reminders, and goes when it stops or the panel closes.
    void updateContentShown();
    void contentAppeared();
    void contentDisappeared();

    // What the content does when its inputs change.
    void queryDidChange();
    void placeRequestsMayHaveChanged();

    // The first thing the content does once shown: the field takes the
    // keyboard, or the captured text is read.
    void findCaptureCandidates();
    // The deferred step of refocusField, which checks the same again.
    void refocusFieldLater();

    PanelViewInputs inputs_;
    Environment environment_;
    bool closed_ = false;
    bool contentShown_ = false;
    QList<QMetaObject::Connection> contentConnections_;

    TypedLine line_;
    RowSelection selection_;
    InlineEdit edit_;
    Capture capture_;
    PlacePreviews places_;
    UndoWindow undo_;
    PanelList list_;
    RowActions actions_;
    FieldActions field_;
    ListActions listActions_;

    std::optional<FocusTarget> focus_;
};

}  // namespace tavlin::panel
