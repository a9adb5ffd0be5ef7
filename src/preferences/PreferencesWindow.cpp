#include "preferences/PreferencesWindow.h"

#include "platform/X11Windows.h"
#include "preferences/PreferencesView.h"
#include "preferences/SettingsTabSelection.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QScreen>
#include <QToolBar>
#include <QWindow>

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace tavlin::preferences {

namespace {

constexpr int kIconSide = 24;
constexpr int kFitDurationMs = 180;

// A line drawing of the tab, for desktops whose icon theme has none.
QIcon drawnIcon(SettingsTab tab, const QColor& color) {
    QPixmap pixmap(kIconSide * 2, kIconSide * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const QPointF middle(kIconSide / 2.0, kIconSide / 2.0);
    switch (tab) {
    case SettingsTab::general: {
        // A gear: a ring with eight teeth.
        painter.drawEllipse(middle, 3.2, 3.2);
        painter.drawEllipse(middle, 7, 7);
        for (int tooth = 0; tooth < 8; ++tooth) {
            const double angle = tooth * std::numbers::pi / 4;
            const QPointF direction(std::cos(angle), std::sin(angle));
            painter.drawLine(middle + direction * 7.8, middle + direction * 10);
        }
        break;
    }
    case SettingsTab::reminders:
        // A checklist: three ticks, each with its line.
        for (int line = 0; line < 3; ++line) {
            const double y = 6 + line * 6;
            painter.drawPolyline(QPolygonF{QPointF(3.5, y), QPointF(5.2, y + 1.7), QPointF(8.2, y - 1.8)});
            painter.drawLine(QPointF(11.5, y), QPointF(20.5, y));
        }
        break;
    case SettingsTab::mcp: {
        // Three nodes joined.
        const QPointF nodes[] = {{12, 5}, {5, 18}, {19, 18}};
        painter.drawPolygon(nodes, 3);
        painter.setBrush(color);
        for (const QPointF& node : nodes) painter.drawEllipse(node, 2.6, 2.6);
        break;
    }
    }
    return QIcon(pixmap);
}

QIcon tabIcon(SettingsTab tab, const QColor& color) {
    const QIcon themed = QIcon::fromTheme(iconName(tab));
    return themed.isNull() ? drawnIcon(tab, color) : themed;
}

}  // namespace

PreferencesWindowController::WindowFactory PreferencesWindow::factory() {
    return [](PreferencesWindowController& controller) { return std::make_unique<PreferencesWindow>(controller); };
}

PreferencesWindow::PreferencesWindow(PreferencesWindowController& controller)
    : controller_(&controller),
      toolbar_(new QToolBar(this)),
      tabs_(new QActionGroup(this)),
      view_(new PreferencesView(controller.services(), controller.tabSelection(),
                                [controller = QPointer(&controller)](SettingsTab tab, int height) {
                                    if (controller) controller->contentHeightChanged(tab, height);
                                })),
      animation_(new QPropertyAnimation(this, "clientGeometry", this)) {
    // Titled, closable, minimisable; no maximising.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setContextMenuPolicy(Qt::NoContextMenu);

    toolbar_->setObjectName(QLatin1StringView(toolbarName));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    toolbar_->toggleViewAction()->setEnabled(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(kIconSide, kIconSide));
    tabs_->setExclusive(true);
    for (const SettingsTab tab : allSettingsTabs) {
        QAction* action = toolbar_->addAction(tabIcon(tab, palette().color(QPalette::WindowText)), title(tab));
        action->setObjectName(toolbarIdentifier(tab));
        action->setCheckable(true);
        tabs_->addAction(action);
        connect(action, &QAction::triggered, this, [this, identifier = toolbarIdentifier(tab)] {
            if (controller_) controller_->selectTab(identifier);
        });
    }
    addToolBar(Qt::TopToolBarArea, toolbar_);
    setCentralWidget(view_);

    // Closed as windows close here: Escape, Ctrl+W and the desktop's own
    // Close keys. A shortcut being recorded takes its keys first.
    auto* closeAction = new QAction(this);
    closeAction->setObjectName(u"close-window"_s);
    QList<QKeySequence> closeKeys{QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)};
    for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Close))
        if (!closeKeys.contains(key)) closeKeys.append(key);
    closeAction->setShortcuts(closeKeys);
    closeAction->setShortcutContext(Qt::WindowShortcut);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addAction(closeAction);

    animation_->setDuration(kFitDurationMs);
    animation_->setEasingCurve(QEasingCurve::InOutQuad);
}

PreferencesWindow::~PreferencesWindow() = default;

int PreferencesWindow::toolbarHeight() const {
    if (QLayout* frame = layout()) frame->activate();
    return view_->geometry().top();
}

QRect PreferencesWindow::contentGeometry() const {
    const QRect client = geometry();
    const int toolbar = toolbarHeight();
    return QRect(client.left(), client.top() + toolbar, client.width(), client.height() - toolbar);
}

QMargins PreferencesWindow::chrome() const {
    QMargins decoration;
    if (const QWindow* window = windowHandle()) decoration = window->frameMargins();
    return decoration + QMargins(0, toolbarHeight(), 0, 0);
}

std::optional<QRect> PreferencesWindow::availableGeometry() const {
    if (const QScreen* own = screen()) return own->availableGeometry();
    if (const QScreen* primary = QGuiApplication::primaryScreen()) return primary->availableGeometry();
    return std::nullopt;
}

void PreferencesWindow::setContentGeometry(const QRect& content, bool animate) {
    const QRect client = content.adjusted(0, -toolbarHeight(), 0, 0);
    animation_->stop();
    if (!animate || !isVisible()) {
        setClientGeometry(client);
        return;
    }
    animation_->setStartValue(geometry());
    animation_->setEndValue(client);
    animation_->start();
}

void PreferencesWindow::setClientGeometry(const QRect& client) {
    setFixedSize(client.size());
    setGeometry(client);
}

void PreferencesWindow::center() {
    const std::optional<QRect> available = availableGeometry();
    if (!available) return;
    const QMargins decoration = chrome() - QMargins(0, toolbarHeight(), 0, 0);
    QRect frame = geometry().marginsAdded(decoration);
    frame.moveCenter(available->center());
    setClientGeometry(frame.marginsRemoved(decoration));
}

void PreferencesWindow::setTitle(const QString& title) { setWindowTitle(title); }

void PreferencesWindow::setSelectedItem(const QString& identifier) {
    for (QAction* action : tabs_->actions())
        if (action->objectName() == identifier) action->setChecked(true);
}

bool PreferencesWindow::isVisible() const { return QMainWindow::isVisible() && !isMinimized(); }

bool PreferencesWindow::isKey() const { return isActiveWindow(); }

bool PreferencesWindow::isApplicationActive() const {
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

// On X11 an application is active through its windows: asking for this one
// is how it asks to come forward.
void PreferencesWindow::activateApplication() { activateWindow(); }

void PreferencesWindow::makeKeyAndOrderFront() {
    if (isMinimized()) showNormal();
    else show();
    raise();
    activateWindow();
}

void PreferencesWindow::makeKey() { activateWindow(); }

void PreferencesWindow::orderFrontRegardless() { raise(); }

void PreferencesWindow::setFloating(bool floating) {
    // On the QWindow: QWidget::setWindowFlags would hide the window.
    // Under a window manager this is _NET_WM_STATE_ABOVE.
    if (QWindow* window = windowHandle()) window->setFlag(Qt::WindowStaysOnTopHint, floating);
}

bool PreferencesWindow::event(QEvent* event) {
    // Sent before the window is mapped, each time it is shown: a settings
    // window is no task of its own.
    if (event->type() == QEvent::Show && !event->spontaneous() && windowHandle())
        platform::setSkipTaskbarAndPager(*windowHandle());
    if (event->type() == QEvent::WindowActivate && controller_) controller_->windowDidBecomeKey();
    return QMainWindow::event(event);
}

void PreferencesWindow::closeEvent(QCloseEvent* event) {
    if (controller_) controller_->windowWillClose();
    animation_->stop();
    // Hidden, not deleted: the next show() brings back this window.
    event->accept();
}

}  // namespace tavlin::preferences
