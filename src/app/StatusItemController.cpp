#include "app/StatusItemController.h"

#include "keybindings/KeyBindings.h"
#include "keybindings/Name.h"
#include "keybindings/Shortcut.h"
#include "platform/DesktopServices.h"
#include "platform/Log.h"
#include "platform/NotificationCenter.h"
#include "platform/PowerEvents.h"
#include "platform/eventstore/EventStore.h"
#include "store/ContinuousObservation.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QRawFont>
#include <QScreen>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QTimer>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <map>
#include <numeric>
#include <optional>
#include <tuple>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace tavlin::app {

using store::CountScope;
using Picture = StatusItemController::Display::Picture;
using SegmentStyle = StatusItemController::SegmentStyle;
using Segment = StatusItemController::Segment;

namespace {

constexpr qreal kPillHeight = 16;
constexpr qreal kTextPadding = 13;
constexpr qreal kMinimumSegmentWidth = 20;
constexpr int kPillFontPixels = 11;

// The sizes a tray may ask for, each also at twice the pixels.
constexpr std::array kTraySides{16, 22, 24, 32, 48};
constexpr std::array kTrayRatios{1.0, 2.0};

// The vivid overdue fill, and the deeper red of quiet overdue digits.
constexpr QColor kSystemRed(255, 59, 48);
constexpr QColor kAlarmColor(215, 0, 21);
// The green of done counts, and its lighter shade for a dark desktop.
constexpr QColor kWinColor(27, 122, 61);
constexpr QColor kDarkWinColor(31, 131, 65);

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

QColor withAlpha(QColor colour, qreal alpha) {
    colour.setAlphaF(colour.alphaF() * alpha);
    return colour;
}

// The green of done counts, a shade lighter on a dark desktop.
QColor dynamicWinColor(const QPalette& palette) {
    return palette.color(QPalette::Window).lightnessF() < 0.5 ? kDarkWinColor : kWinColor;
}

struct SegmentColours {
    QColor fill;
    QColor text;
    QColor divider;  // at the segment's leading edge, after another segment
};

SegmentColours coloursOf(SegmentStyle style, bool quiet, const QPalette& palette) {
    const QColor label = palette.color(QPalette::WindowText);
    const QColor white(Qt::white);
    // A quiet coloured segment is white, so its divider is darkened, not tinted.
    const QColor divider = quiet && style != SegmentStyle::neutral ? withAlpha(Qt::black, 0.2) : withAlpha(label, 0.2);
    switch (style) {
    case SegmentStyle::alarm:
        return quiet ? SegmentColours{white, kAlarmColor, divider} : SegmentColours{kSystemRed, white, divider};
    case SegmentStyle::win:
        return quiet ? SegmentColours{white, kWinColor, divider}
                     : SegmentColours{dynamicWinColor(palette), white, divider};
    case SegmentStyle::neutral: break;
    }
    return {withAlpha(label, 0.14), label, divider};
}

// The segments' font: the application's, demibold, at a size in pixels (the
// same on every screen).
QFont segmentFont(int pixelSize) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::DemiBold);
    return font;
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Digits as tabular figures, which Qt cannot ask a font for: each digit is
// centred in a cell as wide as the font's widest digit, so that counts with
// as many digits are as wide. Each size is measured once and its digits are
// drawn as glyphs: shaping the text of every picture would cost more than
// the rest of it. Main thread only.
class Figures {
public:
    // The application font's demibold digits at `pixelSize`.
    static const Figures& at(int pixelSize) {
        static QFont applicationFont;
        static std::map<int, std::unique_ptr<const Figures>> measured;
        if (const QFont font = QGuiApplication::font(); !(font == applicationFont)) {
            applicationFont = font;
            measured.clear();
        }
        std::unique_ptr<const Figures>& figures = measured[pixelSize];
        if (!figures) figures.reset(new Figures(segmentFont(pixelSize)));
        return *figures;
    }

    const QFontMetricsF& metrics() const { return metrics_; }
    // The ink of every digit, from the origin on the baseline.
    const QRectF& ink() const { return ink_; }

    qreal width(const QString& text) const {
        qreal width = 0;
        for (QChar c : text) width += isDigit(c) ? cell_ : metrics_.horizontalAdvance(c);
        return width;
    }

    // Draws `text` from `x` on the baseline `baseline`, in the painter's pen.
    void draw(QPainter& painter, const QString& text, qreal x, qreal baseline) const {
        QList<quint32> glyphs;
        QList<QPointF> positions;
        qreal offset = 0;
        for (QChar c : text) {
            if (!isDigit(c)) {
                painter.setFont(font_);
                painter.drawText(QPointF(x + offset, baseline), QString(c));
                offset += metrics_.horizontalAdvance(c);
                continue;
            }
            const int digit = c.unicode() - u'0';
            glyphs << glyphs_[digit];
            positions << QPointF(offset + (cell_ - advances_[digit]) / 2, 0);
            offset += cell_;
        }
        QGlyphRun run;
        run.setRawFont(raw_);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(x, baseline), run);
    }

private:
    explicit Figures(const QFont& font) : font_(font), metrics_(font), raw_(QRawFont::fromFont(font)) {
        const QList<quint32> glyphs = raw_.glyphIndexesForString(u"0123456789"_s);
        const QList<QPointF> advances = raw_.advancesForGlyphIndexes(glyphs);
        for (qsizetype digit = 0; digit < std::min<qsizetype>(glyphs.size(), 10); ++digit) {
            glyphs_[digit] = glyphs[digit];
            advances_[digit] = advances.value(digit).x();
            cell_ = std::max(cell_, advances_[digit]);
            ink_ |= raw_.boundingRect(glyphs[digit]);
        }
    }

    QFont font_;
    QFontMetricsF metrics_;
    QRawFont raw_;
    std::array<quint32, 10> glyphs_{};
    std::array<qreal, 10> advances_{};
    qreal cell_ = 0;
    QRectF ink_;
};

std::vector<qreal> widthsWith(const Figures& figures, const std::vector<Segment>& segments) {
    std::vector<qreal> widths;
    widths.reserve(segments.size());
    for (const Segment& segment : segments)
        widths.push_back(std::max(figures.width(segment.text) + kTextPadding, kMinimumSegmentWidth));
    return widths;
}

// Cuts `image` to a rounded rectangle over `width` logical pixels and its
// height, with smooth edges, which a clip path (cutting on whole pixels)
// would not give. The masks are kept: the tray asks for the same sizes at
// every change. Main thread only.
void cutToRoundedRect(QImage& image, qreal width, qreal radius) {
    using Key = std::tuple<int, int, qreal, qreal, qreal>;
    static std::map<Key, QImage> masks;
    const Key key{image.width(), image.height(), image.devicePixelRatio(), width, radius};
    auto found = masks.find(key);
    if (found == masks.end()) {
        if (masks.size() >= 64) masks.clear();
        QImage mask(image.size(), QImage::Format_ARGB32_Premultiplied);
        mask.setDevicePixelRatio(image.devicePixelRatio());
        mask.fill(Qt::transparent);
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRectF(0, 0, width, image.deviceIndependentSize().height()), radius, radius);
        painter.end();
        found = masks.emplace(key, std::move(mask)).first;
    }
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawImage(QPointF(0, 0), found->second);
}

// The largest demibold size, in pixels, at which `text` fits `room`: its
// width, and the height of the digits' ink.
const Figures& largestFitting(const QString& text, QSizeF room) {
    // Sizes grow almost in proportion: guess from a large size, then step
    // down past rounding.
    const Figures& reference = Figures::at(100);
    const qreal scale =
        std::min(room.height() / reference.ink().height(), room.width() / std::max(reference.width(text), qreal(1)));
    for (int pixels = std::max(1, int(scale * 100) + 1); pixels > 1; --pixels) {
        const Figures& figures = Figures::at(pixels);
        if (figures.width(text) <= room.width() && figures.ink().height() <= room.height()) return figures;
    }
    return Figures::at(1);
}

// Our own drawings for a theme without the named icon, in the palette's text
// colour, at every tray size.
QIcon drawnIcon(void (*draw)(QPainter&, qreal side)) {
    const QColor ink = QGuiApplication::palette().color(QPalette::WindowText);
    QIcon icon;
    for (int side : kTraySides)
        for (qreal ratio : kTrayRatios) {
            QImage image(QSize(side, side) * ratio, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(ink, side / 11.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            draw(painter, side);
            painter.end();
            icon.addPixmap(QPixmap::fromImage(image));
        }
    return icon;
}

void drawCheckCircle(QPainter& painter, qreal side) {
    const qreal inset = side / 11.0;
    painter.drawEllipse(QRectF(inset, inset, side - 2 * inset, side - 2 * inset));
    painter.drawPolyline(QPolygonF{{side * 0.30, side * 0.52}, {side * 0.44, side * 0.66}, {side * 0.70, side * 0.37}});
}

void drawWarningTriangle(QPainter& painter, qreal side) {
    const qreal inset = side / 11.0;
    painter.drawPolygon(
        QPolygonF{{side / 2, inset * 1.3}, {side - inset, side - inset * 1.5}, {inset, side - inset * 1.5}});
    painter.drawLine(QPointF(side / 2, side * 0.40), QPointF(side / 2, side * 0.60));
    painter.drawPoint(QPointF(side / 2, side * 0.74));
}

QIcon connectIcon() {
    // A check mark: hosts recolour a theme's symbolic icon to match the panel.
    return QIcon::fromTheme(u"emblem-ok-symbolic"_s, drawnIcon(drawCheckCircle));
}

QIcon warningIcon() { return QIcon::fromTheme(u"dialog-warning-symbolic"_s, drawnIcon(drawWarningTriangle)); }

// One "0" per scope; the connect icon when no scope is chosen.
StatusItemController::Display zeroCounts(const std::vector<CountScope>& scopes) {
    if (scopes.empty()) return {.picture = Picture::connect, .toolTip = u"Nothing due"_s};
    StatusItemController::Display display{.picture = Picture::segments};
    QStringList labels;
    for (CountScope scope : scopes) {
        display.segments.push_back({u"0"_s, SegmentStyle::neutral});
        labels << store::label(scope, 0).value_or(QString());
    }
    display.toolTip = labels.join(u", "_s);
    return display;
}

}  // namespace

bool runsOnDisplay() {
    const QString platform = QGuiApplication::platformName();
    return platform != u"offscreen"_s && platform != u"minimal"_s;
}

StatusItemController::StatusItemController(store::ReminderStore& store, store::Settings& settings, Action togglePanel,
                                           Action openPreferences, Action checkForUpdates,
                                           std::function<std::optional<QString>()> pendingUpdateVersion,
                                           Placement placement, QObject* parent)
    : QObject(parent),
      store_(store),
      settings_(settings),
      togglePanel_(std::move(togglePanel)),
      openPreferences_(std::move(openPreferences)),
      checkForUpdates_(std::move(checkForUpdates)),
      pendingUpdateVersion_(std::move(pendingUpdateVersion)),
      placement_(placement),
      clock_(placement.clock ? *placement.clock : platform::Clock::main()),
      menu_(std::make_unique<QMenu>()) {
    connect(menu_.get(), &QMenu::aboutToShow, this, &StatusItemController::rebuildMenu);
    store::ContinuousObservation::observe([self = QPointer(this)] {
        if (self) self->rebuildMenu();
    });
    // Qt decides once per process, when the first item is made, whether
    // items are StatusNotifierItems, by the trays there are then: placed on
    // a display, the item waits for a tray (install()), so that one that
    // starts after Tavlin, as at login, gets it the way it shows items.
    if (!placement_.trayHost || !placement_.hasDisplay) makeItem();
    // ApplicationPaletteChange is sent to the application object alone.
    QGuiApplication::instance()->installEventFilter(this);
}

QSystemTrayIcon& StatusItemController::statusItem() {
    if (!statusItem_) makeItem();
    return *statusItem_;
}

void StatusItemController::makeItem() {
    statusItem_ = std::make_unique<QSystemTrayIcon>();
    // A picture from the start, so that the item never shows without one
    // until the first refresh.
    paint();
    connect(statusItem_.get(), &QSystemTrayIcon::activated, this, &StatusItemController::handleClick);
    // Trays that show it through DBusMenu, X11 trays on the right click and
    // Wayland, where a menu of our own could not be placed, all take the
    // context menu. Some hosts never say they are about to show it, so it is
    // also rebuilt whenever the pending update changes.
    statusItem_->setContextMenu(menu_.get());
    // Without a display (the offscreen platform) there is no tray to show it in.
    if (runsOnDisplay()) statusItem_->setVisible(true);
}

StatusItemController::~StatusItemController() = default;

void StatusItemController::refresh() {
    switch (store_.authorization()) {
    case platform::AuthorizationStatus::fullAccess: return renderCounts();
    case platform::AuthorizationStatus::notDetermined:
        return show({.picture = Picture::connect, .toolTip = u"Tavlin: click to connect to your reminders"_s});
    case platform::AuthorizationStatus::restricted:
    case platform::AuthorizationStatus::denied:
    case platform::AuthorizationStatus::writeOnly: break;
    }
    show({.picture = Picture::warning, .toolTip = u"Tavlin can’t read your reminders"_s});
}

void StatusItemController::renderCounts() {
    Display display =
        countsDisplay(settings_.primaryScope(), settings_.secondaryScope(), settings_.showCompletedInMenuBar(),
                      [this](CountScope scope) { return store_.count(scope); });
    if (display.picture == Picture::segments) display.quiet = settings_.menuBarQuietColors();
    show(std::move(display));
}

StatusItemController::Display StatusItemController::countsDisplay(CountScope primary, CountScope secondary,
                                                                  bool showCompleted,
                                                                  const std::function<int(CountScope)>& count) {
    std::vector<CountScope> scopes;
    for (CountScope scope : {primary, secondary})
        if (scope != CountScope::none) scopes.push_back(scope);
    const int done = count(CountScope::completedToday);
    const bool appendDone = showCompleted && done > 0 && std::ranges::count(scopes, CountScope::completedToday) == 0;

    struct Entry {
        CountScope scope;
        int count;
    };
    std::vector<Entry> entries;
    for (CountScope scope : scopes) entries.push_back({scope, count(scope)});
    // Zeros stay only beside an open count that is not zero; alone, only the
    // done counts that are not zero are left.
    const bool anyOpenCount = std::ranges::any_of(
        entries, [](const Entry& entry) { return entry.scope != CountScope::completedToday && entry.count != 0; });
    if (!anyOpenCount)
        std::erase_if(entries,
                      [](const Entry& entry) { return entry.scope != CountScope::completedToday || entry.count == 0; });
    if (appendDone) entries.push_back({CountScope::completedToday, done});
    if (entries.empty()) return zeroCounts(scopes);

    Display display{.picture = Picture::segments};
    QStringList labels;
    for (const Entry& entry : entries) {
        const SegmentStyle style = entry.scope == CountScope::completedToday               ? SegmentStyle::win
                                   : entry.scope == CountScope::overdue && entry.count > 0 ? SegmentStyle::alarm
                                                                                           : SegmentStyle::neutral;
        display.segments.push_back({QString::number(entry.count), style});
        labels << store::label(entry.scope, entry.count).value_or(QString());
    }
    display.toolTip = labels.join(u", "_s);
    return display;
}

void StatusItemController::show(Display display) {
    // The constructor painted the first display.
    if (display == display_) return;
    const bool newShape = display.segments.size() != display_.segments.size();
    display_ = std::move(display);
    paint();
    // An X11 tray (tint2, trayer, stalonetray) keeps the picture it docked
    // and draws the new one over it in part: a picture of other rows is
    // docked afresh.
    if (newShape && statusItem_ && itemIsStatusNotifier_ == false && statusItem_->isVisible()) {
        statusItem_->setVisible(false);
        statusItem_->setVisible(true);
    }
}

void StatusItemController::paint() {
    if (!statusItem_) return;
    statusItem_->setIcon(trayIcon(display_));
    statusItem_->setToolTip(display_.toolTip);
}

QIcon StatusItemController::trayIcon(const Display& display) {
    switch (display.picture) {
    case Picture::connect: return connectIcon();
    case Picture::warning: return warningIcon();
    case Picture::segments: break;
    }
    QIcon icon;
    for (int side : kTraySides)
        for (qreal ratio : kTrayRatios)
            icon.addPixmap(QPixmap::fromImage(trayImage(display.segments, display.quiet, side, ratio)));
    return icon;
}

void StatusItemController::handleClick(QSystemTrayIcon::ActivationReason reason) {
    // Where the tray cannot say where the item is, the panel opens at the click.
    lastClickPoint_ = QCursor::pos();
    // The right click opens the context menu by itself.
    if (reason == QSystemTrayIcon::Trigger && togglePanel_) togglePanel_();
}

void StatusItemController::rebuildMenu() {
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

std::optional<QRectF> StatusItemController::statusButtonRect() const {
    if (lastHosts_ && !lastHosts_->any()) return std::nullopt;
    if (const QRect geometry = statusItem_ ? statusItem_->geometry() : QRect(); !geometry.isEmpty())
        return QRectF(geometry);
    if (lastClickPoint_) return QRectF(QPointF(*lastClickPoint_), QSizeF(1, 1));
    return std::nullopt;
}

void StatusItemController::install() {
    // Headless, there is no item to place, and an alert about it would wait
    // in front of every panel opening where nobody can see it.
    if (isInstalled_ || !placement_.trayHost || !placement_.hasDisplay) return;
    isInstalled_ = true;
    const auto followScreen = [this](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, &StatusItemController::checkPlacement);
    };
    for (QScreen* screen : QGuiApplication::screens()) followScreen(screen);
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    connect(application, &QGuiApplication::screenAdded, this, [this, followScreen](QScreen* screen) {
        followScreen(screen);
        checkPlacement();
    });
    connect(application, &QGuiApplication::screenRemoved, this, &StatusItemController::checkPlacement);
    connect(application, &QGuiApplication::primaryScreenChanged, this, &StatusItemController::checkPlacement);
    if (placement_.powerEvents) {
        connect(placement_.powerEvents, &platform::PowerEvents::systemDidWake, this,
                &StatusItemController::checkPlacement);
        connect(placement_.powerEvents, &platform::PowerEvents::sessionDidBecomeActive, this,
                &StatusItemController::checkPlacement);
    }
    connect(placement_.trayHost, &platform::TrayHost::hostAppeared, this, &StatusItemController::checkPlacement);
    // Qt chose how to show an item made already by the trays there were;
    // else the item is made now if there is a tray.
    if (statusItem_) platform::detach(askHosts());
    else platform::detach(makeItemInTray());
    platform::detach(recheckPlacement(QPointer(this), clock_));
}

platform::Task<> StatusItemController::recheckPlacement(QPointer<StatusItemController> self, platform::Clock& clock) {
    for (const std::chrono::milliseconds delay : kPlacementRecheckDelays) {
        // A cancelled wait counts as done.
        const bool slept = co_await platform::sleep(delay, clock);
        (void)slept;
        if (!self) co_return;
        self->checkPlacement();
    }
}

void StatusItemController::checkPlacement() { platform::detach(checkPlacementNow()); }

platform::Task<> StatusItemController::checkPlacementNow() {
    if (!statusItem_) {
        const QPointer<StatusItemController> self(this);
        const platform::Task<bool> making = makeItemInTray();
        const bool made = co_await making;
        // Reported once it stays so; made when a tray comes.
        if (self && !made) confirmSlot();
        co_return;
    }
    if (!statusItem_->isVisible()) {
        qCCritical(lcStatusItem) << "status item was hidden — forcing it back";
        statusItem_->setVisible(true);
    }
    const QPointer<StatusItemController> self(this);
    const platform::TrayHosts hosts = co_await askHosts();
    if (!self) co_return;
    qCDebug(lcStatusItem) << "placement checked:" << (hosts.any() ? "a tray is there" : "no tray");
    if (!hosts.any()) {
        qCCritical(lcStatusItem) << "status item has no slot in the tray — re-inserting";
        // Shown afresh, the item looks for a tray again.
        statusItem_->setVisible(false);
        statusItem_->setVisible(true);
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

platform::Task<bool> StatusItemController::makeItemInTray() {
    const QPointer<StatusItemController> self(this);
    const platform::TrayHosts hosts = co_await askHosts();
    if (!self) co_return false;
    if (statusItem_) co_return true;
    qCDebug(lcStatusItem) << "placement checked:" << (hosts.any() ? "a tray is there" : "no tray");
    if (!hosts.any()) co_return false;
    qCInfo(lcStatusItem) << "a tray is there — the status item is shown in it";
    itemIsStatusNotifier_ = hosts.statusNotifierHost;
    makeItem();
    co_return true;
}

void StatusItemController::confirmSlot() {
    if (isConfirmingSlot_) return;
    isConfirmingSlot_ = true;
    platform::detach(confirmSlotOverTime(QPointer(this), clock_));
}

platform::Task<> StatusItemController::confirmSlotOverTime(QPointer<StatusItemController> self,
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
            if (!self->statusItem_) platform::detach(self->makeItemInTray());
            else qCInfo(lcStatusItem) << "status item was given a slot after re-inserting";
            co_return;
        }
    }
    self->isConfirmingSlot_ = false;
    self->reportOverflow();
}

void StatusItemController::reportOverflow() {
    if (hasReportedOverflow_) return;
    hasReportedOverflow_ = true;
    if (!statusItem_ || (lastHosts_ && !lastHosts_->any()))
        qCCritical(lcStatusItem) << "there is no tray on this desktop — the status item is shown when one starts";
    else qCCritical(lcStatusItem) << "tray is full — the status item cannot be placed";
    platform::detach(postOverflowReport(QPointer(placement_.notifications), overflowMessage()));
}

platform::Task<> StatusItemController::postOverflowReport(QPointer<platform::NotificationCenter> notifications,
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

platform::Task<platform::TrayHosts> StatusItemController::askHosts() {
    const QPointer<StatusItemController> self(this);
    const platform::Task<platform::TrayHosts> asked = placement_.trayHost->hosts();
    const platform::TrayHosts hosts = co_await asked;
    if (self) {
        lastHosts_ = hosts;
        if (!itemIsStatusNotifier_ && self->statusItem_) itemIsStatusNotifier_ = hosts.statusNotifierHost;
    }
    co_return hosts;
}

QString StatusItemController::overflowMessage() {
    const std::optional<KeyBindings::Shortcut> shortcut = KeyBindings::getShortcut(KeyBindings::Name::togglePanel);
    return u"Your desktop has no system tray, so Tavlin's icon is hidden. "_s +
           (shortcut ? u"Press "_s + shortcut->description() : u"Open Tavlin from your applications menu"_s) +
           u" to use it, "_s + u"or add a system tray to your panel."_s;
}

std::optional<QString> StatusItemController::takePendingOverflowAlert() {
    return std::exchange(pendingOverflowAlert(), std::nullopt);
}

void StatusItemController::showOverflowAlert() {
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

bool StatusItemController::eventFilter(QObject* watched, QEvent* event) {
    // The pictures take their colours from the palette, which follows the
    // desktop's light or dark style.
    if (event->type() == QEvent::ApplicationPaletteChange && watched == QGuiApplication::instance()) paint();
    return QObject::eventFilter(watched, event);
}

std::vector<qreal> StatusItemController::segmentWidths(const std::vector<Segment>& segments) {
    return widthsWith(Figures::at(kPillFontPixels), segments);
}

QImage StatusItemController::renderSegments(const std::vector<Segment>& segments, bool quiet) {
    return pillImage(segments, quiet, 2);
}

QImage StatusItemController::pillImage(const std::vector<Segment>& segments, bool quiet, qreal devicePixelRatio) {
    const QPalette palette = QGuiApplication::palette();
    const Figures& figures = Figures::at(kPillFontPixels);
    const std::vector<qreal> widths = widthsWith(figures, segments);
    const qreal width = std::accumulate(widths.begin(), widths.end(), qreal(0));

    QImage image(int(std::ceil(width * devicePixelRatio)), int(std::ceil(kPillHeight * devicePixelRatio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    if (segments.empty()) return image;

    QPainter painter(&image);
    // Fills on whole pixels, so that neighbours neither overlap nor leave a seam.
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFontMetricsF& metrics = figures.metrics();
    const qreal baseline = (kPillHeight - metrics.height()) / 2 + metrics.ascent();
    qreal x = 0;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const SegmentColours colours = coloursOf(segments[i].style, quiet, palette);
        painter.fillRect(QRectF(x, 0, widths[i], kPillHeight), colours.fill);
        if (i > 0) painter.fillRect(QRectF(x, 0, 1, kPillHeight), colours.divider);
        painter.setPen(colours.text);
        figures.draw(painter, segments[i].text, x + (widths[i] - figures.width(segments[i].text)) / 2, baseline);
        x += widths[i];
    }
    painter.end();
    cutToRoundedRect(image, width, kPillHeight / 2);
    return image;
}

QImage StatusItemController::trayImage(const std::vector<Segment>& segments, bool quiet, int side,
                                       qreal devicePixelRatio) {
    // Drawn in device pixels, so that the digits take every pixel size.
    const int pixels = qRound(side * devicePixelRatio);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!segments.empty()) {
        const QPalette palette = QGuiApplication::palette();
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const int rows = int(segments.size());
        // How far in the rounded corners reach at `distance` from the top or
        // the bottom edge.
        const qreal radius = pixels / 4.0;
        const auto cornerInset = [radius](qreal distance) {
            return distance >= radius ? 0
                                      : radius - std::sqrt(radius * radius - (radius - distance) * (radius - distance));
        };
        const int divider = std::max(1, qRound(devicePixelRatio));
        for (int i = 0; i < rows; ++i) {
            // Rows on whole pixels, so that each fill meets the next.
            const int top = i * pixels / rows, bottom = (i + 1) * pixels / rows;
            const SegmentColours colours = coloursOf(segments[i].style, quiet, palette);
            painter.fillRect(QRect(0, top, pixels, bottom - top), colours.fill);
            if (i > 0) painter.fillRect(QRect(0, top, pixels, divider), colours.divider);

            // The digits keep clear of the row's edges and, in the first and
            // last row, of the rounded corners.
            const qreal height = bottom - top;
            const qreal margin = std::max(qreal(1), height / 8);
            const bool outer = i == 0 || i == rows - 1;
            const qreal inset = std::max({qreal(1), pixels / 16.0, outer ? cornerInset(margin) : 0});
            const Figures& figures = largestFitting(segments[i].text, QSizeF(pixels - 2 * inset, height - 2 * margin));
            const QRectF& ink = figures.ink();
            painter.setPen(colours.text);
            figures.draw(painter, segments[i].text, (pixels - figures.width(segments[i].text)) / 2,
                         top + (height - ink.height()) / 2 - ink.top());
        }
        painter.end();
        cutToRoundedRect(image, pixels, radius);
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

}  // namespace tavlin::app
