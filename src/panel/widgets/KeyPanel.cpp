#include "panel/widgets/KeyPanel.h"

#include "panel/PanelNotifications.h"
#include "panel/widgets/PanelWidget.h"
#include "platform/SyntheticKeys.h"
#include "platform/X11Windows.h"
#include "rows/PanelBackground.h"

#include <QApplication>
#include <QCursor>
#include <QEasingCurve>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace tavlin::panel::widgets {

using namespace Qt::StringLiterals;

namespace {

// CoreAnimation's and CSS's "ease-in-out".
QEasingCurve easeInEaseOut() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}

// The whole text of a text input; nothing for any other widget.
std::optional<QString> inputText(const QWidget& widget) {
    if (const auto* line = qobject_cast<const QLineEdit*>(&widget)) return line->text();
    if (const auto* text = qobject_cast<const QTextEdit*>(&widget)) return text->toPlainText();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(&widget)) return plain->toPlainText();
    return std::nullopt;
}

bool compositorPlacesWindows() { return QGuiApplication::platformName().startsWith(u"wayland"_s); }

Qt::Edges qtEdges(PanelResizeEdges edges) {
    Qt::Edges qt;
    if (edges & PanelResizeEdge::top) qt |= Qt::TopEdge;
    if (edges & PanelResizeEdge::bottom) qt |= Qt::BottomEdge;
    if (edges & PanelResizeEdge::left) qt |= Qt::LeftEdge;
    if (edges & PanelResizeEdge::right) qt |= Qt::RightEdge;
    return qt;
}

bool isOwnTransientWindow(const QWindow* window) {
    if (!window) return false;
    switch (window->type()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::Dialog:
    case Qt::Sheet: return true;
    default: return false;
    }
}

}  // namespace

KeyPanel::KeyPanel(RootViewFactory rootView, std::optional<bool> translucent)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      makeRootView_(rootView ? std::move(rootView) : PanelWidget::factory()),
      translucent_(translucent.value_or(platform::hasCompositingManager())),
      layout_(new QVBoxLayout(this)),
      edges_([this] { return QSizeF(size()); }, callbacks_),
      longPress_(platform::Clock::main(),
                 {.pointer = [] { return QPointF(QCursor::pos()); },
                  .leftButtonDown = [] { return bool(QGuiApplication::mouseButtons() & Qt::LeftButton); },
                  .isResizing = [this] { return edges_.isDragging(); }},
                 [this] {
                     // The press is the long press's now, not a drag's.
                     drag_.reset();
                     call(callbacks_.onBackgroundLongPress);
                 }) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    // A translucent window needs its visual chosen before it is created.
    if (translucent_) setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    // The window manager reads the desktop when it first maps the window.
    if (QGuiApplication::platformName() == QLatin1StringView("xcb")) {
        winId();
        // Created at Qt's default size: a late report of that size is our
        // own, not the window manager's resize.
        recentRequests_.push_back(geometry());
        platform::setOnAllDesktops(*windowHandle());
    }
    qApp->installEventFilter(this);
}

KeyPanel::~KeyPanel() {
    if (qApp) qApp->removeEventFilter(this);
}

PanelWindowFactory KeyPanel::factory(RootViewFactory rootView) {
    return [rootView] { return PanelWindowHandle(new KeyPanel(rootView)); };
}

void KeyPanel::setCallbacks(Callbacks callbacks) {
    callbacks_ = std::move(callbacks);
    if (!callbacks_.onBackgroundLongPress) longPress_.cancel();
}

void KeyPanel::setRootView(PanelModel& model) {
    delete rootView_;
    rootView_ = makeRootView_(model, this);
}

void KeyPanel::installContent(double cornerRadius) {
    cornerRadius_ = cornerRadius;
    if (rootView_) layout_->addWidget(rootView_);
    invalidateShadow();
}

void KeyPanel::layoutContent() {
    ensurePolished();
    layout_->activate();
}

double KeyPanel::contentHeight() const { return rootView_ ? rootView_->contentHeight() : 0; }

QRectF KeyPanel::frame() const {
    // X11 reports a window's moves late, so Qt's geometry may still be an
    // earlier one of our own.
    return requestedFrame_.isValid() ? requestedFrame_ : QRectF(geometry());
}

void KeyPanel::setFrame(const QRectF& frame) {
    requestedFrame_ = frame;
    // An animation asks for a frame at every step.
    constexpr std::size_t remembered = 64;
    recentRequests_.push_back(frame.toRect());
    if (recentRequests_.size() > remembered) recentRequests_.pop_front();
    setGeometry(frame.toRect());
}

bool KeyPanel::askedLately(const std::function<bool(const QRect&)>& matches) const {
    return std::any_of(recentRequests_.cbegin(), recentRequests_.cend(), matches);
}

void KeyPanel::animateFrame(const QRectF& frame, std::chrono::milliseconds duration, std::function<void()> finished) {
    if (animation_) animation_->stop();
    if (duration.count() <= 0) {
        setFrame(frame);
        if (finished) finished();
        return;
    }
    auto* animation = new QPropertyAnimation(this, "animatedFrame", this);
    animation->setDuration(int(duration.count()));
    animation->setStartValue(this->frame());
    animation->setEndValue(frame);
    animation->setEasingCurve(easeInEaseOut());
    connect(animation, &QPropertyAnimation::finished, this, [finished = std::move(finished)] {
        if (finished) finished();
    });
    animation_ = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

bool KeyPanel::isVisible() const { return QWidget::isVisible(); }

bool KeyPanel::isKey() const { return windowHandle() && windowHandle()->isActive(); }

void KeyPanel::makeKeyAndOrderFront() {
    show();
    raise();
    activateWindow();
    hasBeenKey_ = isKey();
    // A window manager that finds Qt's time too old keeps the keyboard
    // where it is: ask again at the server's time now, which no input of the
    // user's can be later than (a panel opened over D-Bus has no input of
    // its own; a hot key's time may be from an earlier opening).
    QTimer::singleShot(activationGraceMs, this, [this] {
        if (!QWidget::isVisible() || isKey()) return;
        const quint32 now = platform::serverTime();
        const quint32 time = now != 0 ? now : platform::lastHotKeyTime();
        if (time != 0) platform::requestActivation(*windowHandle(), time);
    });
}

void KeyPanel::orderOut() {
    longPress_.cancel();
    drag_.reset();
    edges_.leave();
    hide();
}

void KeyPanel::invalidateShadow() {
    // A translucent window paints its own corners; an opaque one is cut.
    if (translucent_ || cornerRadius_ <= 0) clearMask();
    else setMask(rows::PanelBackground::mask(size(), cornerRadius_));
}

bool KeyPanel::textHasFocus() const {
    const QWidget* focus = focusWidget();
    if (!focus) return false;
    return inputText(*focus) || focus->testAttribute(Qt::WA_InputMethodEnabled);
}

void KeyPanel::discard() {
    qApp->removeEventFilter(this);
    callbacks_ = {};
    longPress_.cancel();
    if (animation_) animation_->stop();
    hide();
    deleteLater();
}

quint64 KeyPanel::windowNumber() const { return windowHandle() ? quint64(windowHandle()->winId()) : 0; }

bool KeyPanel::hasShadow() const { return !windowFlags().testFlag(Qt::NoDropShadowWindowHint); }

double KeyPanel::alphaValue() const { return windowOpacity(); }

bool KeyPanel::hasContent() const { return rootView_ && layout_->indexOf(rootView_.data()) >= 0; }

std::optional<PanelWindow::Responder> KeyPanel::firstResponder() const {
    const QWidget* focus = focusWidget();
    if (!focus) return std::nullopt;
    const QString className = QString::fromLatin1(focus->metaObject()->className());
    return Responder{className.section(u"::"_s, -1), inputText(*focus)};
}

void KeyPanel::sendShortcutKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    if (QWindow* window = windowHandle()) platform::sendShortcutKey(*window, key, modifiers, text);
}

bool KeyPanel::belongsToPanel(QObject* object) const {
    if (object == windowHandle()) return true;
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget && (widget == this || isAncestorOf(widget));
}

bool KeyPanel::eventFilter(QObject* watched, QEvent* event) {
    // Key presses and pointer events reach the window before its widgets;
    // a shortcut override goes to the focused widget alone.
    if (watched == windowHandle()) return routeEvent(event);
    if (event->type() == QEvent::ShortcutOverride && belongsToPanel(watched)) return routeEvent(event);
    return false;
}

bool KeyPanel::routeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return routeKey(static_cast<QKeyEvent&>(*event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: return routeMouse(static_cast<QMouseEvent&>(*event));
    case QEvent::Leave: edges_.leave(); return false;
    default: return false;
    }
}

bool KeyPanel::routeKey(QKeyEvent& event) {
    const bool wantsListKeys = callbacks_.wantsListKeys && callbacks_.wantsListKeys();
    switch (keys_.route(event.type(), event.key(), event.modifiers(), event.isAutoRepeat(), wantsListKeys,
                        textHasFocus())) {
    case KeyRoute::none: return false;
    case KeyRoute::listKey:
        emit PanelNotifications::instance().tavlinListKey(*listKey(event.key(), event.modifiers(), textHasFocus()));
        return true;
    case KeyRoute::deleteSelection:
        // Taken here, the key reaches neither the field nor a shortcut.
        event.accept();
        emit PanelNotifications::instance().tavlinDeleteSelection();
        return true;
    case KeyRoute::swallow: event.accept(); return true;
    case KeyRoute::cancel:
        if (rootView_ && rootView_->handleExitCommand()) return true;
        call(callbacks_.onCancel);
        return true;
    case KeyRoute::commandReturn:
        if (!rootView_ || !rootView_->commandReturn(event.modifiers())) return false;
        event.accept();
        return true;
    }
    return false;
}

bool KeyPanel::routeMouse(QMouseEvent& event) {
    const QPointF point = event.globalPosition();
    const QPointF windowPoint = event.position();
    switch (event.type()) {
    case QEvent::MouseButtonPress:
        if (event.button() != Qt::LeftButton) return false;
        // A Wayland window neither knows nor sets where it is: the compositor
        // resizes it, from the edge pressed.
        if (const PanelResizeEdges edges = edges_.edgesAt(windowPoint); edges && compositorPlacesWindows()) {
            longPress_.cancel();
            drag_.reset();
            windowHandle()->startSystemResize(qtEdges(edges));
            return true;
        }
        if (edges_.press(windowPoint, point)) {
            longPress_.cancel();
            drag_.reset();
            return true;
        }
        longPress_.press(point, 1, movesWindow(event.position()));
        drag_.reset();
        if (movesWindow(event.position())) drag_ = BackgroundDrag{point, frame().topLeft()};
        return false;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click never arms a long press.
        longPress_.press(point, 2, false);
        return false;
    case QEvent::MouseMove:
        if (edges_.isDragging()) {
            edges_.move(point);
            return true;
        }
        if (drag_ && (event.buttons() & Qt::LeftButton)) {
            longPress_.move(point);
            // Within 4 the press may still be a long press.
            if (!drag_->moving && isFartherThan(point, drag_->start, LongPress::slop)) drag_->moving = true;
            if (!drag_->moving) return false;
            if (compositorPlacesWindows()) {
                // The compositor moves it; where to, the panel never learns.
                longPress_.cancel();
                drag_.reset();
                windowHandle()->startSystemMove();
                return true;
            }
            call(callbacks_.backgroundDragMoved, drag_->topLeft + (point - drag_->start));
            return true;
        }
        if (!(event.buttons() & Qt::LeftButton)) edges_.hover(windowPoint);
        return false;
    case QEvent::MouseButtonRelease: {
        if (event.button() != Qt::LeftButton) return false;
        if (edges_.isDragging()) {
            edges_.release(windowPoint);
            return true;
        }
        longPress_.release();
        const std::optional<BackgroundDrag> drag = std::exchange(drag_, std::nullopt);
        if (!drag || !drag->moving) return false;
        call(callbacks_.backgroundDragEnded, drag->topLeft + (point - drag->start));
        return true;
    }
    default: return false;
    }
}

bool KeyPanel::movesWindow(QPointF windowPoint) const {
    for (const QWidget* widget = childAt(windowPoint.toPoint()); widget && widget != this;
         widget = widget->parentWidget()) {
        const QVariant says = widget->property("tavlinMovesWindow");
        if (says.isValid()) return says.toBool();
        if (widget->focusPolicy() != Qt::NoFocus) return false;
    }
    return true;
}

bool KeyPanel::event(QEvent* event) {
    switch (event->type()) {
    // Sent before the window is mapped, each time it is shown.
    case QEvent::Show:
        if (!event->spontaneous() && windowHandle()) platform::setSkipTaskbarAndPager(*windowHandle());
        break;
    case QEvent::WindowActivate:
        hasBeenKey_ = true;
        call(callbacks_.didBecomeKey);
        break;
    case QEvent::WindowDeactivate: windowDeactivated(); break;
    default: break;
    }
    return QWidget::event(event);
}

// Another window of this application that is shown (the settings window):
// the keyboard going there is the panel left.
bool KeyPanel::isLiveOtherWindow(quint32 window) const {
    const QWindow* own = windowHandle();
    for (const QWindow* shown : QGuiApplication::allWindows())
        if (shown != own && shown->isVisible() && shown->handle() && quint32(shown->winId()) == window) return true;
    return false;
}

void KeyPanel::windowDeactivated() {
    // A menu, tooltip or dialog of Tavlin's own takes the keyboard only for
    // a while: the panel is not left for it.
    if (QApplication::activePopupWidget() || isOwnTransientWindow(QGuiApplication::focusWindow())) return;
    // Nor is a panel that never had the keyboard: the window manager may
    // take it back before handing it over.
    if (!hasBeenKey_) return;
    // On X11 Qt may tell of a leave late, and the window manager may name
    // as active a panel of ours it has not yet let go: while its active
    // window is this panel or one of ours that is gone, no other program
    // took the keyboard, and the panel asks for it again instead of closing.
    if (const std::optional<quint32> active = platform::activeX11Window();
        active && QWidget::isVisible() && callbacks_.didResignKey && platform::isOwnX11Window(*active) &&
        !isLiveOtherWindow(*active)) {
        const quint32 now = platform::serverTime();
        if (now != 0) {
            platform::requestActivation(*windowHandle(), now);
            return;
        }
    }
    call(callbacks_.didResignKey);
}

// A position or size that was not asked for is someone else's (the window
// manager's): the frame follows it, so that the edges and the drags work on
// the window where it is.
void KeyPanel::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!event->spontaneous() || !requestedFrame_.isValid() || animation_) return;
    const QPoint position = pos();
    if (askedLately([&](const QRect& asked) { return asked.topLeft() == position; })) return;
    requestedFrame_.moveTopLeft(position);
    call(callbacks_.didMove);
}

void KeyPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    invalidateShadow();
    if (!requestedFrame_.isValid() || animation_) return;
    const QSize current = size();
    if (askedLately([&](const QRect& asked) { return asked.size() == current; })) return;
    requestedFrame_.setSize(current);
    call(callbacks_.didResize);
}

}  // namespace tavlin::panel::widgets
