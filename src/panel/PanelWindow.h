#pragma once

#include "panel/PanelGeometry.h"
#include "panel/PanelViewInputs.h"

#include <QPointF>
#include <QRectF>

#include <QString>
#include <Qt>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace tavlin::panel {

class PanelModel;

// The panel's window as the controller drives it; the Qt window (KeyPanel)
// and the tests' fake implement it. Frames and points are in Qt's desktop
// coordinates.
//
// The controller builds one for each opening and throws it away at the
// close, in the order of the methods below. Every panel window alive is
// known (liveWindows), so that one left behind by an earlier opening shows.
class PanelWindow {
public:
    // What the window tells the controller. Empty closures are not called;
    // clearing them all cuts the window off from the controller.
    struct Callbacks {
        std::function<void()> onCancel;               // Escape that the view left alone
        std::function<bool()> wantsListKeys;          // list keys are wanted now
        std::function<void()> onBackgroundLongPress;  // a long press on the background
        std::function<PanelResizeEdges()> activeResizeEdges;
        std::function<void(PanelResizeEdges)> beginUserResize;
        // The pointer's displacement since the press, in Qt's coordinates.
        std::function<void(PanelResizeEdges, QPointF)> userResize;
        std::function<void()> endUserResize;
        // The user drags the panel by its background: where its top-left
        // corner should be now, and where it is let go.
        std::function<void(QPointF)> backgroundDragMoved;
        std::function<void(QPointF)> backgroundDragEnded;
        std::function<void()> didBecomeKey;
        // The window stopped being key to another program's window (not to
        // a menu, tooltip or dialog of Tavlin's own).
        std::function<void()> didResignKey;
        // Someone else (the window manager) changed the window's size, or
        // moved it; frame() tells the new one.
        std::function<void()> didResize;
        std::function<void()> didMove;
    };

    // What has the keyboard focus in the window, for the diagnostics.
    struct Responder {
        QString className;            // without namespaces
        std::optional<QString> text;  // a text input's whole text
    };

    PanelWindow();
    virtual ~PanelWindow();
    PanelWindow(const PanelWindow&) = delete;
    PanelWindow& operator=(const PanelWindow&) = delete;

    // The panel windows made and not yet discarded, oldest first. Main
    // thread only.
    static std::vector<PanelWindow*> liveWindows();

    virtual void setCallbacks(Callbacks callbacks) = 0;
    // Builds the root view over the panel's model of this opening.
    virtual void setRootView(PanelModel& model) = 0;
    // Puts the root view into the window with the window's corner radius.
    virtual void installContent(double cornerRadius) = 0;
    // The resize edges go on top; the content is laid out.
    virtual void layoutContent() = 0;
    // The height the root view wants at the window's width; 0 when it has
    // none yet.
    virtual double contentHeight() const = 0;

    virtual QRectF frame() const = 0;
    virtual void setFrame(const QRectF& frame) = 0;
    // Moves and sizes the window over `duration` (at once for zero), then
    // calls `finished`.
    virtual void animateFrame(const QRectF& frame, std::chrono::milliseconds duration,
                              std::function<void()> finished) = 0;

    virtual bool isVisible() const = 0;
    // The window has the keyboard.
    virtual bool isKey() const = 0;
    // Shows and raises the window and gives it the keyboard.
    virtual void makeKeyAndOrderFront() = 0;
    virtual void orderOut() = 0;
    // The window's outline follows its size and corner radius.
    virtual void invalidateShadow() = 0;
    // A text input has the keyboard focus.
    virtual bool textHasFocus() const = 0;

    // Ends the window. A Qt window goes at the next turn of the main loop,
    // as the close may come from inside one of its own events.
    virtual void discard() = 0;

    // What the developer diagnostics read of the window; a stand-in may
    // leave them as they are.
    virtual quint64 windowNumber() const { return 0; }  // the window system's id
    virtual bool hasShadow() const { return false; }
    virtual double alphaValue() const { return 1.0; }
    virtual bool hasContent() const { return false; }  // the root view is in the window
    // The window's focus widget, whether or not the window has the keyboard.
    virtual std::optional<Responder> firstResponder() const { return std::nullopt; }
    // A key handed to the window as a menu shortcut arrives, for the
    // focus widget.
    virtual void sendShortcutKey(int /*key*/, Qt::KeyboardModifiers /*modifiers*/, const QString& /*text*/) {}

private:
    friend struct PanelWindowDiscard;
    void retire();
};

// Calls one of the callbacks through a copy of it, since the call may
// clear them all (the panel closes) while it runs.
template <class Callback, class... Arguments>
void call(Callback callback, Arguments&&... arguments) {
    if (callback) callback(std::forward<Arguments>(arguments)...);
}

// A window is no longer one of the live ones once it is discarded, though
// it may go only at the next turn of the main loop.
struct PanelWindowDiscard {
    void operator()(PanelWindow* window) const;
};
using PanelWindowHandle = std::unique_ptr<PanelWindow, PanelWindowDiscard>;
using PanelWindowFactory = std::function<PanelWindowHandle()>;

}  // namespace tavlin::panel
