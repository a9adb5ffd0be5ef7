#include "app/StatusItemController.h"

#include "platform/eventstore/EventStore.h"
#include "rows/CountSegmentPainter.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tavlin::app {

using rows::CountSegmentPainter;
using store::CountScope;
using Picture = StatusItemController::Display::Picture;
using SegmentStyle = StatusItemController::SegmentStyle;

namespace {

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

StatusItemController::StatusItemController(store::ReminderStore& store, store::Settings& settings, Action togglePanel,
                                           Action openPreferences, Action checkForUpdates,
                                           std::function<std::optional<QString>()> pendingUpdateVersion,
                                           Placement placement, QObject* parent)
    : QObject(parent),
      store_(store),
      settings_(settings),
      item_(
          [this](QSystemTrayIcon& item) {
              item.setIcon(trayIcon(display_));
              item.setToolTip(display_.toolTip);
          },
          std::move(togglePanel), std::move(openPreferences), std::move(checkForUpdates),
          std::move(pendingUpdateVersion)),
      placementWatcher_(item_, placement) {
    // Qt decides once per process, when the first item is made, whether
    // items are StatusNotifierItems, by the trays there are then: placed on
    // a display, the item waits for a tray (install()), so that one that
    // starts after Tavlin, as at login, gets it the way it shows items.
    if (!placementWatcher_.waitsForTray()) item_.make();
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
    item_.paint();
    // An X11 tray (tint2, trayer, stalonetray) keeps the picture it docked
    // and draws the new one over it in part: a picture of other rows is
    // docked afresh.
    if (newShape && item_.isMade() && placementWatcher_.itemIsStatusNotifier() == false &&
        item_.statusItem().isVisible())
        item_.showAfresh();
}

QIcon StatusItemController::trayIcon(const Display& display) {
    switch (display.picture) {
    case Picture::connect: return CountSegmentPainter::connectIcon();
    case Picture::warning: return CountSegmentPainter::warningIcon();
    case Picture::segments: break;
    }
    return CountSegmentPainter::trayIcon(display.segments, display.quiet);
}

QImage StatusItemController::renderSegments(const std::vector<Segment>& segments, bool quiet) {
    return CountSegmentPainter::pillImage(segments, quiet, 2);
}

std::optional<QRectF> StatusItemController::statusButtonRect() const {
    if (placementWatcher_.knowsNoTray()) return std::nullopt;
    return item_.rect();
}

}  // namespace tavlin::app
