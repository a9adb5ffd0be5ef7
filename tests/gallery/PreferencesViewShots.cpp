// The settings view, each tab in its states, at the height the window would
// fit it to.

#include "Gallery.h"

#include "preferences/ListPreferenceRow.h"
#include "preferences/PreferencesView.h"
#include "preferences/PreferencesWindow.h"
#include "preferences/RemindersTab.h"
#include "preferences/SettingsTabSelection.h"
#include "support/PreferencesWorld.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QScrollArea>
#include <QTcpServer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tavlin::gallery {

namespace {

using preferences::PreferencesView;
using preferences::SettingsTab;
using testing::PreferencesWorld;

// What a shot changes in its world, and then in its view, before the picture.
using Prepare = std::function<void(PreferencesWorld&)>;
using Touch = std::function<void(PreferencesView&)>;

std::vector<PreferencesWorld::ReminderList> someLists() {
    return {PreferencesWorld::list(u"home"_s, u"Home"_s), PreferencesWorld::list(u"work"_s, u"Work"_s),
            PreferencesWorld::list(u"groceries"_s, u"Groceries"_s), PreferencesWorld::list(u"family"_s, u"Family"_s)};
}

Shot shot(const QString& name, SettingsTab tab, Scheme scheme, Prepare prepare, Touch touch = {}) {
    return {u"preferences_view_"_s + name + (scheme == Scheme::dark ? u"_dark"_s : QString()), [=] {
                PreferencesWorld world(someLists());
                if (prepare) prepare(world);
                preferences::SettingsTabSelection selection;
                selection.setTab(tab);
                // In a window of its own, as the settings window holds it.
                QWidget window;
                window.setPalette(palette(scheme));
                auto* layout = new QVBoxLayout(&window);
                layout->setContentsMargins(0, 0, 0, 0);
                auto* view = new PreferencesView(world.services(), selection, {});
                layout->addWidget(view);
                if (touch) touch(*view);
                // Laid out on screen (offscreen), then at the height the window fits it to.
                window.resize(PreferencesView::fixedWidth, 300);
                window.show();
                QApplication::processEvents();
                window.resize(PreferencesView::fixedWidth, view->contentHeight(tab));
                QApplication::processEvents();
                return grab(window, window.size());
            }};
}

// The whole window, toolbar included, at a tab.
Shot windowShot(SettingsTab tab) {
    return {u"preferences_window_"_s + preferences::rawValue(tab), [=] {
                PreferencesWorld world(someLists());
                preferences::SettingsTabSelection selection;
                preferences::PreferencesWindowController controller(
                    world.store, world.settings, world.notifications.function(), world.location, world.server, nullptr,
                    selection, world.contacts, world.renderer.renderer(), preferences::PreferencesWindow::factory());
                controller.show();
                controller.selectTab(preferences::toolbarIdentifier(tab));
                auto& window = *dynamic_cast<preferences::PreferencesWindow*>(controller.window());
                // Until the tab has measured itself and the window has taken its height.
                QElapsedTimer waited;
                waited.start();
                while (waited.elapsed() < 3000 && !(controller.measuredHeight(tab) &&
                                                    window.contentGeometry().height() == controller.targetHeight()))
                    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
                return grab(window, window.size());
            }};
}

void hoverSecondList(PreferencesView& view) {
    preferences::ListPreferenceRow* row = view.remindersTab().listRows().at(1);
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
    QApplication::sendEvent(row, &enter);
}

const Shots shots{[] {
    const auto nothing = [](PreferencesWorld&) {};
    const auto summaryDenied = [](PreferencesWorld& world) {
        world.notifications.answer = false;
        world.settings.setDailySummaryMinutes(7 * 60 + 5);
    };
    const auto loginFailed = [](PreferencesWorld& world) {
        // A file where the autostart folder should be.
        QFile blocker(world.folder.filePath(u"autostart"_s));
        blocker.open(QIODevice::WriteOnly);
    };
    const auto permissionsDenied = [](PreferencesWorld& world) {
        world.settings.setGroupNearbyEnabled(true);
        world.locationManager->changeAuthorization(platform::LocationAuthorization::denied);
        world.contacts.authorization = platform::ContactsAuthorization::denied;
        world.settings.setContactPlacesEnabled(true);
        world.settings.setSectionVisibility({.hidden = {store::PanelSection::later}});
    };
    const auto listsChosen = [](PreferencesWorld& world) {
        world.settings.setQuickAddListID(u"work"_s);
        world.settings.setIncludedListIDs({u"home"_s, u"work"_s, u"family"_s});
    };
    const auto listening = [](PreferencesWorld& world) {
        world.settings.setMcpEnabled(true);
        world.server.start(0, false);
    };
    const auto failing = [](PreferencesWorld& world) {
        world.settings.setMcpEnabled(true);
        static QTcpServer taken;
        if (!taken.isListening()) taken.listen(QHostAddress::LocalHost);
        world.server.start(taken.serverPort(), false);
    };
    const auto withUpdates = [](PreferencesWorld& world) { world.checkForUpdates = [] {}; };

    return std::vector<Shot>{
        windowShot(SettingsTab::general),
        windowShot(SettingsTab::mcp),
        shot(u"general"_s, SettingsTab::general, Scheme::light, nothing),
        shot(u"general"_s, SettingsTab::general, Scheme::dark, nothing),
        shot(
            u"general_denied"_s, SettingsTab::general, Scheme::light,
            [=](PreferencesWorld& world) {
                summaryDenied(world);
                loginFailed(world);
            },
            [](PreferencesView& view) {
                view.model().setDailySummaryEnabled(true);
                view.model().setLaunchAtLogin(true);
            }),
        shot(u"general_summary_on"_s, SettingsTab::general, Scheme::light,
             [](PreferencesWorld& world) {
                 world.settings.setDailySummaryEnabled(true);
                 world.settings.setDailySummaryMinutes(7 * 60 + 5);
                 world.settings.setMenuBarQuietColors(true);
                 world.settings.setSecondaryScope(store::CountScope::none);
             }),
        shot(u"general_no_global_shortcut"_s, SettingsTab::general, Scheme::light,
             [](PreferencesWorld& world) { world.hotKeyBackend.globalShortcuts = false; }),
        shot(u"reminders"_s, SettingsTab::reminders, Scheme::light, listsChosen),
        shot(u"reminders"_s, SettingsTab::reminders, Scheme::dark, listsChosen),
        shot(u"reminders_hovered_row"_s, SettingsTab::reminders, Scheme::light, listsChosen, hoverSecondList),
        shot(u"reminders_denied"_s, SettingsTab::reminders, Scheme::light, permissionsDenied),
        shot(u"reminders_no_lists"_s, SettingsTab::reminders, Scheme::light,
             [](PreferencesWorld& world) { world.setLists({}); }),
        shot(u"ai_tools_off"_s, SettingsTab::mcp, Scheme::light, nothing),
        shot(u"ai_tools_endpoint"_s, SettingsTab::mcp, Scheme::light, listening),
        shot(u"ai_tools_endpoint"_s, SettingsTab::mcp, Scheme::dark, listening),
        shot(u"ai_tools_error"_s, SettingsTab::mcp, Scheme::light, failing),
        shot(u"ai_tools_no_port"_s, SettingsTab::mcp, Scheme::light,
             [=](PreferencesWorld& world) {
                 world.settings.setMcpEnabled(true);
                 withUpdates(world);
             }),
    };
}};

}  // namespace

}  // namespace tavlin::gallery
