#include "app/StatusItem.h"

#include "platform/DesktopServices.h"
#include "store/ContinuousObservation.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace tavlin::app {

bool runsOnDisplay() {
    const QString platform = QGuiApplication::platformName();
    return platform != u"offscreen"_s && platform != u"minimal"_s;
}

StatusItem::StatusItem(Painter painter, Action togglePanel, Action openPreferences, Action checkForUpdates,
                       std::function<std::optional<QString>()> pendingUpdateVersion, QObject* parent)
    : QObject(parent),
      painter_(std::move(painter)),
      togglePanel_(std::move(togglePanel)),
      openPreferences_(std::move(openPreferences)),
      checkForUpdates_(std::move(checkForUpdates)),
      pendingUpdateVersion_(std::move(pendingUpdateVersion)),
      menu_(std::make_unique<QMenu>()) {
    connect(menu_.get(), &QMenu::aboutToShow, this, &StatusItem::rebuildMenu);
    store::ContinuousObservation::observe([self = QPointer(this)] {
        if (self) self->rebuildMenu();
    });
    // ApplicationPaletteChange is sent to the application object alone.
    QGuiApplication::instance()->installEventFilter(this);
}

StatusItem::~StatusItem() = default;

QSystemTrayIcon& StatusItem::statusItem() {
    if (!statusItem_) make();
    return *statusItem_;
}

void StatusItem::make() {
    statusItem_ = std::make_unique<QSystemTrayIcon>();
    // A picture from the start, so that the item never shows without one
    // until the first refresh.
    paint();
    connect(statusItem_.get(), &QSystemTrayIcon::activated, this, &StatusItem::handleClick);
    // Trays that show it through DBusMenu, X11 trays on the right click and
    // Wayland, where a menu of our own could not be placed, all take the
    // context menu. Some hosts never say they are about to show it, so it is
    // also rebuilt whenever the pending update changes.
    statusItem_->setContextMenu(menu_.get());
    // Without a display (the offscreen platform) there is no tray to show it in.
    if (runsOnDisplay()) statusItem_->setVisible(true);
}

void StatusItem::paint() {
    if (statusItem_) painter_(*statusItem_);
}

void StatusItem::showAfresh() {
    statusItem_->setVisible(false);
    statusItem_->setVisible(true);
}

std::optional<QRectF> StatusItem::rect() const {
    if (const QRect geometry = statusItem_ ? statusItem_->geometry() : QRect(); !geometry.isEmpty())
        return QRectF(geometry);
    if (lastClickPoint_) return QRectF(QPointF(*lastClickPoint_), QSizeF(1, 1));
    return std::nullopt;
}

void StatusItem::handleClick(QSystemTrayIcon::ActivationReason reason) {
    // Where the tray cannot say where the item is, the panel opens at the click.
    lastClickPoint_ = QCursor::pos();
    // The right click opens the context menu by itself.
    if (reason == QSystemTrayIcon::Trigger && togglePanel_) togglePanel_();
}

void StatusItem::rebuildMenu() {
    menu_->clear();
    menu_->addAction(u"Settings…"_s, this, [this] {
        if (openPreferences_) openPreferences_();
    });
    if (checkForUpdates_) {
        const std::optional<QString> version = pendingUpdateVersion_ ? pendingUpdateVersion_() : std::nullopt;
        // "&" would mark a mnemonic in a menu text.
        const QString title =
            version ? u"Update to %1…"_s.arg(QString(*version).replace(u'&', u"&&"_s)) : u"Check for Updates…"_s;
        menu_->addAction(title, this, [this] {
            if (checkForUpdates_) checkForUpdates_();
        });
    }
    menu_->addSeparator();
    menu_->addAction(u"Visit Tavlin Website"_s, this, [] { platform::openUrl(platform::websiteUrl()); });
    menu_->addSeparator();
    // The normal end, once the menu has closed.
    QAction* quit = menu_->addAction(u"Quit Tavlin"_s, this, [] {
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    });
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

bool StatusItem::eventFilter(QObject* watched, QEvent* event) {
    // The pictures take their colours from the palette, which follows the
    // desktop's light or dark style.
    if (event->type() == QEvent::ApplicationPaletteChange && watched == QGuiApplication::instance()) paint();
    return QObject::eventFilter(watched, event);
}

}  // namespace tavlin::app
