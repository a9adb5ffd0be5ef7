#pragma once

#include "panel/LongPress.h"
#include "panel/PanelKeys.h"
#include "panel/PanelWindow.h"
#include "panel/widgets/PanelRootView.h"
#include "panel/widgets/ResizeEdges.h"

#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QPropertyAnimation;
class QVBoxLayout;

namespace tavlin::panel::widgets {

// The panel's window: a frameless tool window above the others, on every
// desktop, that takes the keyboard when it opens and stays on screen when
// Tavlin is not the active program.
//
// It sees the events of its window and widgets before they do (through an
// application event filter, since keys go to the focused widget, not to the
// window): list keys, Ctrl+Backspace and Escape; presses, drags and long
// presses on its background, and drags of its edges. A press on a widget
// that takes the focus (a field, a button, a list) is that widget's; a
// widget may say otherwise with the property "tavlinMovesWindow".
//
// Its background is translucent with smooth corners when a compositing
// manager runs; otherwise it is opaque and its shape is cut to the rounded
// outline.
class KeyPanel final : public QWidget, public PanelWindow {
    Q_OBJECT
    Q_PROPERTY(QRectF animatedFrame READ frame WRITE setFrame)

public:
    // How long the window manager has to honour an activation before the
    // window asks again with the hot key's own time.
    static constexpr int activationGraceMs = 150;

    // The root view is the panel's (PanelWidget) unless `rootView` makes
    // another. Translucent as the desktop allows, unless `translucent` says.
    explicit KeyPanel(RootViewFactory rootView = {}, std::optional<bool> translucent = std::nullopt);
    ~KeyPanel() override;

    static PanelWindowFactory factory(RootViewFactory rootView = {});

    bool isTranslucent() const { return translucent_; }
    PanelRootView* rootView() const { return rootView_; }

    // What the panel does with an event of its window (or a shortcut
    // override of one of its widgets) before anything else: true when the
    // panel took it. The developer switches hand it synthetic keys.
    bool routeEvent(QEvent* event);

    void setCallbacks(Callbacks callbacks) override;
    void setRootView(PanelModel& model) override;
    void installContent(double cornerRadius) override;
    void layoutContent() override;
    double contentHeight() const override;
    QRectF frame() const override;
    void setFrame(const QRectF& frame) override;
    void animateFrame(const QRectF& frame, std::chrono::milliseconds duration, std::function<void()> finished) override;
    bool isVisible() const override;
    bool isKey() const override;
    void makeKeyAndOrderFront() override;
    void orderOut() override;
    void invalidateShadow() override;
    bool textHasFocus() const override;
    void discard() override;
    quint64 windowNumber() const override;
    bool hasShadow() const override;
    double alphaValue() const override;
    bool hasContent() const override;
    std::optional<Responder> firstResponder() const override;
    void sendShortcutKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct BackgroundDrag {
        QPointF start;    // the pointer at the press
        QPointF topLeft;  // the window's corner at the press
        bool moving = false;
    };

    bool routeKey(QKeyEvent& event);
    bool routeMouse(QMouseEvent& event);
    // Whether a press at a point of the window lies on its background.
    bool movesWindow(QPointF windowPoint) const;
    bool belongsToPanel(QObject* object) const;
    void windowDeactivated();
    bool isLiveOtherWindow(quint32 window) const;
    // Whether the window asked for a frame matching `matches` lately: the
    // window system reports each of the window's own moves and sizes, some
    // after the next request.
    bool askedLately(const std::function<bool(const QRect&)>& matches) const;

    RootViewFactory makeRootView_;
    bool translucent_;
    bool hasBeenKey_ = false;  // since it was last ordered front
    Callbacks callbacks_;
    QVBoxLayout* layout_;
    QPointer<PanelRootView> rootView_;
    double cornerRadius_ = 0;
    // What was asked for last, or where the window manager put the window
    // since.
    QRectF requestedFrame_;
    std::deque<QRect> recentRequests_;  // newest last
    QPointer<QPropertyAnimation> animation_;
    KeyRouter keys_;
    ResizeEdges edges_;
    LongPress longPress_;
    std::optional<BackgroundDrag> drag_;
};

}  // namespace tavlin::panel::widgets
