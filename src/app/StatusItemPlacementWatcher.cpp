#include "app/StatusItemPlacementWatcher.h"

#include "keybindings/KeyBindings.h"
#include "keybindings/Name.h"
#include "keybindings/Shortcut.h"
#include "platform/Log.h"
#include "platform/NotificationCenter.h"
#include "platform/PowerEvents.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <array>
#include <chrono>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace tavlin::app {

namespace {

// When the item's place is checked after install(): each wait follows the
// one before, so about 1, 4 and 14 s after launch.
constexpr std::array<std::chrono::milliseconds, 3> kPlacementRecheckDelays{1s, 3s, 10s};
// How long a re-shown item is watched for a tray to take it, wait by wait:
// 0.05, 0.3, 1.3 and 4.3 s in all.
constexpr std::array<std::chrono::milliseconds, 4> kSlotConfirmationDelays{50ms, 250ms, 1s, 3s};

const QString kOverflowTitle = u"Tavlin can’t show its tray icon"_s;

// The report that no tray shows the item, waiting for the panel's next
// opening when it could not be posted as a notification.
std::optional<QString>& pendingOverflowAlert() {
    static std::optional<QString> text;
    return text;
}

// The alert about a missing tray while it is up.
QPointer<QMessageBox>& shownOverflowAlert() {
    static QPointer<QMessageBox> alert;
    return alert;
}

void bringToFront(QWidget& window) {
    window.raise();
    window.activateWindow();
}

}  // namespace

StatusItemPlacementWatcher::StatusItemPlacementWatcher(StatusItem& item, StatusItemPlacement placement, QObject* parent)
    : QObject(parent),
      item_(item),
      placement_(placement),
      clock_(placement.clock ? *placement.clock : platform::Clock::main()) {}

StatusItemPlacementWatcher::~StatusItemPlacementWatcher() = default;

void StatusItemPlacementWatcher::install() {
    // Headless, there is no item to place, and an alert about it would wait
    // in front of every panel opening where nobody can see it.
    if (isInstalled_ || !waitsForTray()) return;
    isInstalled_ = true;
    const auto followScreen = [this](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, &StatusItemPlacementWatcher::checkPlacement);
    };
    for (QScreen* screen : QGuiApplication::screens()) followScreen(screen);
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    connect(application, &QGuiApplication::screenAdded, this, [this, followScreen](QScreen* screen) {
        followScreen(screen);
        checkPlacement();
    });
    connect(application, &QGuiApplication::screenRemoved, this, &StatusItemPlacementWatcher::checkPlacement);
    connect(application, &QGuiApplication::primaryScreenChanged, this, &StatusItemPlacementWatcher::checkPlacement);
    if (placement_.powerEvents) {
        connect(placement_.powerEvents, &platform::PowerEvents::systemDidWake, this,
                &StatusItemPlacementWatcher::checkPlacement);
        connect(placement_.powerEvents, &platform::PowerEvents::sessionDidBecomeActive, this,
                &StatusItemPlacementWatcher::checkPlacement);
    }
    connect(placement_.trayHost, &platform::TrayHost::hostAppeared, this, &StatusItemPlacementWatcher::checkPlacement);
    // Qt chose how to show an item made already by the trays there were;
    // else the item is made now if there is a tray.
    if (item_.isMade()) platform::detach(askHosts());
    else platform::detach(makeItemInTray());
    platform::detach(recheckPlacement(QPointer(this), clock_));
}

platform::Task<> StatusItemPlacementWatcher::recheckPlacement(QPointer<StatusItemPlacementWatcher> self,
                                                              platform::Clock& clock) {
    for (const std::chrono::milliseconds delay : kPlacementRecheckDelays) {
        // A cancelled wait counts as done.
        const bool slept = co_await platform::sleep(delay, clock);
        (void)slept;
        if (!self) co_return;
        self->checkPlacement();
    }
}

void StatusItemPlacementWatcher::checkPlacement() { platform::detach(checkPlacementNow()); }

platform::Task<> StatusItemPlacementWatcher::checkPlacementNow() {
    if (!item_.isMade()) {
        const QPointer<StatusItemPlacementWatcher> self(this);
        const platform::Task<bool> making = makeItemInTray();
        const bool made = co_await making;
        // Reported once it stays so; made when a tray comes.
        if (self && !made) confirmSlot();
        co_return;
    }
    if (!item_.statusItem().isVisible()) {
        qCCritical(lcStatusItem) << "status item was hidden — forcing it back";
        item_.statusItem().setVisible(true);
    }
    const QPointer<StatusItemPlacementWatcher> self(this);
    const platform::TrayHosts hosts = co_await askHosts();
    if (!self) co_return;
    qCDebug(lcStatusItem) << "placement checked:" << (hosts.any() ? "a tray is there" : "no tray");
    if (!hosts.any()) {
        qCCritical(lcStatusItem) << "status item has no slot in the tray — re-inserting";
        // Shown afresh, the item looks for a tray again.
        item_.showAfresh();
        confirmSlot();
        co_return;
    }
    // Qt keeps to the kind of tray it found when the item was made, so a
    // tray of the other kind that came later shows it only after a restart.
    const bool reachable =
        itemIsStatusNotifier_.value_or(hosts.statusNotifierHost) ? hosts.statusNotifierHost : hosts.xembedTray;
    if (!reachable && !hasToldToRestart_) {
        hasToldToRestart_ = true;
        qCWarning(lcStatusItem) << "a tray came after Tavlin started — restart Tavlin to show its icon there";
    }
}

platform::Task<bool> StatusItemPlacementWatcher::makeItemInTray() {
    const QPointer<StatusItemPlacementWatcher> self(this);
    const platform::TrayHosts hosts = co_await askHosts();
    if (!self) co_return false;
    if (item_.isMade()) co_return true;
    qCDebug(lcStatusItem) << "placement checked:" << (hosts.any() ? "a tray is there" : "no tray");
    if (!hosts.any()) co_return false;
    qCInfo(lcStatusItem) << "a tray is there — the status item is shown in it";
    itemIsStatusNotifier_ = hosts.statusNotifierHost;
    item_.make();
    co_return true;
}

void StatusItemPlacementWatcher::confirmSlot() {
    if (isConfirmingSlot_) return;
    isConfirmingSlot_ = true;
    platform::detach(confirmSlotOverTime(QPointer(this), clock_));
}

platform::Task<> StatusItemPlacementWatcher::confirmSlotOverTime(QPointer<StatusItemPlacementWatcher> self,
                                                                 platform::Clock& clock) {
    for (const std::chrono::milliseconds delay : kSlotConfirmationDelays) {
        const bool slept = co_await platform::sleep(delay, clock);
        (void)slept;
        if (!self) co_return;
        const platform::TrayHosts hosts = co_await self->askHosts();
        if (!self) co_return;
        if (hosts.any()) {
            self->isConfirmingSlot_ = false;
            // Waiting for a tray, the item is made in it.
            if (!self->item_.isMade()) platform::detach(self->makeItemInTray());
            else qCInfo(lcStatusItem) << "status item was given a slot after re-inserting";
            co_return;
        }
    }
    self->isConfirmingSlot_ = false;
    qCDebug(lcStatusItem) << "placement watched: still no tray";
    self->reportOverflow();
}

void StatusItemPlacementWatcher::reportOverflow() {
    if (hasReportedOverflow_) return;
    hasReportedOverflow_ = true;
    if (!item_.isMade() || knowsNoTray())
        qCCritical(lcStatusItem) << "there is no tray on this desktop — the status item is shown when one starts";
    else qCCritical(lcStatusItem) << "tray is full — the status item cannot be placed";
    platform::detach(postOverflowReport(QPointer(placement_.notifications), overflowMessage()));
}

platform::Task<> StatusItemPlacementWatcher::postOverflowReport(QPointer<platform::NotificationCenter> notifications,
                                                                QString text) {
    platform::NotificationAuthorization status = platform::NotificationAuthorization::notDetermined;
    if (notifications) {
        const platform::Task<platform::NotificationAuthorization> asked = notifications->authorizationStatus();
        status = co_await asked;
    }
    if (!notifications || status != platform::NotificationAuthorization::authorized) {
        // The panel shows it at its next opening.
        pendingOverflowAlert() = std::move(text);
        co_return;
    }
    // Named, not a temporary of the co_await: g++ 12 destroys such a one twice.
    platform::NotificationRequest request{
        .identifier = QString(overflowNotificationIdentifier),
        .title = kOverflowTitle,
        .body =
            u"Your desktop has no system tray, so Tavlin's icon is hidden. Click here to open Tavlin, or add a "
            u"system tray to your panel."_s};
    const platform::Task<bool> adding = notifications->add(std::move(request));
    const bool posted = co_await adding;
    (void)posted;  // a notification the server refused is not shown any other way
}

platform::Task<platform::TrayHosts> StatusItemPlacementWatcher::askHosts() {
    const QPointer<StatusItemPlacementWatcher> self(this);
    const platform::Task<platform::TrayHosts> asked = placement_.trayHost->hosts();
    const platform::TrayHosts hosts = co_await asked;
    if (self) {
        lastHosts_ = hosts;
        if (!itemIsStatusNotifier_ && self->item_.isMade()) itemIsStatusNotifier_ = hosts.statusNotifierHost;
    }
    co_return hosts;
}

QString StatusItemPlacementWatcher::overflowMessage() {
    const std::optional<KeyBindings::Shortcut> shortcut = KeyBindings::getShortcut(KeyBindings::Name::togglePanel);
    return u"Your desktop has no system tray, so Tavlin's icon is hidden. "_s +
           (shortcut ? u"Press "_s + shortcut->description() : u"Open Tavlin from your applications menu"_s) +
           u" to use it, "_s + u"or add a system tray to your panel."_s;
}

std::optional<QString> StatusItemPlacementWatcher::takePendingOverflowAlert() {
    return std::exchange(pendingOverflowAlert(), std::nullopt);
}

void StatusItemPlacementWatcher::showOverflowAlert() {
    // Asked again while it is up (another opening of the panel): to the front.
    if (QMessageBox* shown = shownOverflowAlert()) return bringToFront(*shown);
    // Taken first, so that it is shown once.
    const std::optional<QString> text = takePendingOverflowAlert();
    if (!text) return;
    QMessageBox alert(QMessageBox::Information, kOverflowTitle, kOverflowTitle, QMessageBox::Ok);
    alert.setInformativeText(*text);
    // Above the other windows, and with the keyboard, once it is shown.
    alert.setWindowFlag(Qt::WindowStaysOnTopHint);
    QTimer::singleShot(0, &alert, [&alert] { bringToFront(alert); });
    shownOverflowAlert() = &alert;
    alert.exec();
}

}  // namespace tavlin::app
