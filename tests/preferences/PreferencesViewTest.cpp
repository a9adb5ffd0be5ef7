#include "preferences/PreferencesView.h"

#include "mcp/MCPConfiguration.h"
#include "preferences/GeneralTab.h"
#include "preferences/ListPreferenceRow.h"
#include "preferences/MCPTab.h"
#include "preferences/MenuBarColorStylePicker.h"
#include "preferences/RemindersTab.h"
#include "preferences/SettingsTabSelection.h"
#include "support/MainLoop.h"
#include "support/PreferencesWorld.h"
#include "support/Printers.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTcpServer>
#include <QTimeEdit>

#include <ctime>

using namespace Qt::StringLiterals;
using tavlin::platform::ContactsAuthorization;
using tavlin::platform::LocationAuthorization;
using tavlin::preferences::FormSection;
using tavlin::preferences::ListPreferenceRow;
using tavlin::preferences::PreferencesView;
using tavlin::preferences::PreferencesViewModel;
using tavlin::preferences::SettingsTab;
using tavlin::preferences::SettingsTabSelection;
using tavlin::store::CountScope;
using tavlin::store::PanelSection;
using tavlin::testing::PreferencesWorld;

namespace {

// Whether the row holding `widget` is part of its form now.
bool shown(QWidget& widget) { return !FormSection::rowOf(&widget)->isHidden(); }

QStringList sorted(const QSet<QString>& set) {
    QStringList list(set.begin(), set.end());
    list.sort();
    return list;
}

QStringList items(const QComboBox& picker) {
    QStringList texts;
    for (int i = 0; i < picker.count(); ++i) texts << picker.itemText(i);
    return texts;
}

QStringList titlesExcept(CountScope taken) {
    QStringList titles;
    for (const CountScope scope : tavlin::store::allCountScopes)
        if (scope != taken) titles << PreferencesViewModel::scopeTitle(scope);
    return titles;
}

QAbstractButton& switchOf(ListPreferenceRow& row) { return *row.findChild<QCheckBox*>(); }

QAbstractButton& markAsDefaultOf(ListPreferenceRow& row) {
    for (QPushButton* button : row.findChildren<QPushButton*>())
        if (button->text() == u"Mark as default"_s) return *button;
    throw std::logic_error("no Mark as default");
}

class PreferencesViewTest : public ::testing::Test {
public:
    PreferencesView& makeView() {
        view = std::make_unique<PreferencesView>(
            world.services(), selection, [this](SettingsTab tab, int height) { reports.emplace_back(tab, height); });
        return *view;
    }

    // The rows' titles, and which are included, default and locked, as shown.
    QStringList rowTitles() const {
        QStringList titles;
        for (ListPreferenceRow* row : view->remindersTab().listRows()) titles << row->title();
        return titles;
    }

    PreferencesWorld world{PreferencesWorld::numberedLists(3)};
    SettingsTabSelection selection;
    std::unique_ptr<PreferencesView> view;
    std::vector<std::pair<SettingsTab, int>> reports;
};

}  // namespace

// ---- General tab

TEST_F(PreferencesViewTest, EachCountPickerOffersEveryScopeButTheOthersChoiceAndRefillingWritesNothing) {
    auto& general = makeView().generalTab();
    for (const CountScope primary : tavlin::store::allCountScopes)
        for (const CountScope secondary : tavlin::store::allCountScopes) {
            if (primary == secondary) continue;
            SCOPED_TRACE(PreferencesViewModel::scopeTitle(primary).toStdString() + " / " +
                         PreferencesViewModel::scopeTitle(secondary).toStdString());
            // As the tray's menu or another window would change them.
            world.settings.setPrimaryScope(primary);
            world.settings.setSecondaryScope(secondary);
            EXPECT_EQ(world.settings.primaryScope(), primary) << "the pickers' refill wrote the setting";
            EXPECT_EQ(world.settings.secondaryScope(), secondary) << "the pickers' refill wrote the setting";
            EXPECT_EQ(items(general.firstCount()), titlesExcept(secondary));
            EXPECT_EQ(items(general.secondCount()), titlesExcept(primary));
            EXPECT_EQ(general.firstCount().currentText(), PreferencesViewModel::scopeTitle(primary));
            EXPECT_EQ(general.secondCount().currentText(), PreferencesViewModel::scopeTitle(secondary));
        }

    // A choice in a picker is stored, and the other picker's options follow.
    world.settings.setPrimaryScope(CountScope::overdue);
    world.settings.setSecondaryScope(CountScope::none);
    general.firstCount().setCurrentIndex(general.firstCount().findText(u"Next 7 days"_s));
    EXPECT_EQ(world.settings.primaryScope(), CountScope::next7Days);
    EXPECT_EQ(world.settings.secondaryScope(), CountScope::none);
    EXPECT_FALSE(items(general.secondCount()).contains(u"Next 7 days"_s));
    EXPECT_TRUE(items(general.secondCount()).contains(u"Overdue"_s));
    general.secondCount().setCurrentIndex(general.secondCount().findText(u"Completed today"_s));
    EXPECT_EQ(world.settings.secondaryScope(), CountScope::completedToday);
}

TEST_F(PreferencesViewTest, ControlsFollowTheSettingsWhoeverChangesThem) {
    PreferencesView& shownView = makeView();
    auto& general = shownView.generalTab();
    auto& reminders = shownView.remindersTab();
    auto& tools = shownView.mcpTab();

    world.settings.setMenuBarQuietColors(true);  // the tray's menu
    world.settings.setShowCompletedInMenuBar(false);
    world.settings.setSectionVisibility({.hidden = {PanelSection::tomorrow}});
    world.settings.setGroupNearbyEnabled(true);
    world.settings.setMcpEnabled(true);
    EXPECT_TRUE(general.colorStyle().isQuieter());
    EXPECT_FALSE(general.showCompleted().isChecked());
    EXPECT_FALSE(reminders.sectionSwitches().at(2)->isChecked());
    EXPECT_TRUE(reminders.sectionSwitches().at(1)->isChecked());
    EXPECT_TRUE(reminders.groupNearby().isChecked());
    EXPECT_TRUE(tools.enabled().isChecked());

    // And the controls write them.
    general.colorStyle().vividTile().click();
    general.showCompleted().click();
    tools.enabled().click();
    EXPECT_FALSE(world.settings.menuBarQuietColors());
    EXPECT_TRUE(world.settings.showCompletedInMenuBar());
    EXPECT_FALSE(world.settings.mcpEnabled());
}

TEST_F(PreferencesViewTest, TheTimeIsTheMinuteOfTheDayAlsoWhereTheClocksChange) {
    // The summary's time is a clock time, not an instant of today: on the
    // days the clocks go forward (29 March 2026, 02:00 → 03:00) and back
    // (25 October, 03:00 → 02:00) in Amsterdam, 02:30 and 08:05 are what they say.
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "Europe/Amsterdam");
    tzset();
    world.settings.setDailySummaryEnabled(true);
    auto& general = makeView().generalTab();
    EXPECT_TRUE(shown(general.time()));
    struct Case {
        qint64 minutes;
        const char* shows;
    };
    for (const Case& c : {Case{0, "00:00"}, Case{120, "02:00"}, Case{150, "02:30"}, Case{180, "03:00"},
                          Case{425, "07:05"}, Case{485, "08:05"}, Case{1439, "23:59"}}) {
        SCOPED_TRACE(c.shows);
        world.settings.setDailySummaryMinutes(c.minutes);
        EXPECT_EQ(general.time().text(), QString::fromLatin1(c.shows));
        EXPECT_EQ(world.settings.dailySummaryMinutes(), c.minutes) << "showing it wrote nothing";
        // Picking it again stores it; a minute later, one more.
        general.time().setTime(QTime::fromString(QString::fromLatin1(c.shows), u"HH:mm"_s).addSecs(60));
        EXPECT_EQ(world.settings.dailySummaryMinutes(), (c.minutes + 1) % (24 * 60));
    }
    EXPECT_EQ(PreferencesViewModel::minuteOfDay(QTime()), 540) << "an unreadable time is the summary's default";
    if (zone.isNull()) qunsetenv("TZ");
    else qputenv("TZ", zone);
    tzset();

    world.settings.setDailySummaryEnabled(false);
    EXPECT_FALSE(shown(general.time()));
}

TEST_F(PreferencesViewTest, TheDailySummaryComesOnOnlyOnceNotificationsAreAllowed) {
    auto& general = makeView().generalTab();
    QAbstractButton& summary = general.dailySummary();

    world.notifications.answer = false;
    summary.click();
    EXPECT_FALSE(world.settings.dailySummaryEnabled());
    EXPECT_FALSE(summary.isChecked());
    EXPECT_TRUE(shown(general.notificationsCaption()));
    EXPECT_FALSE(shown(general.time()));

    // Allowed later: the next switch-on asks again and clears the caption.
    world.notifications.answer = true;
    summary.click();
    EXPECT_EQ(world.notifications.asked(), 2);
    EXPECT_TRUE(world.settings.dailySummaryEnabled());
    EXPECT_TRUE(summary.isChecked());
    EXPECT_FALSE(shown(general.notificationsCaption()));
    EXPECT_TRUE(shown(general.time()));

    // Off at once, without asking.
    summary.click();
    EXPECT_FALSE(world.settings.dailySummaryEnabled());
    EXPECT_FALSE(summary.isChecked());
    EXPECT_EQ(world.notifications.asked(), 2);

    // While the user decides, the switch stays off.
    world.notifications.answer.reset();
    summary.click();
    EXPECT_FALSE(summary.isChecked());
    EXPECT_FALSE(world.settings.dailySummaryEnabled());
    world.notifications.answerPending(true);
    EXPECT_TRUE(summary.isChecked());
    EXPECT_TRUE(world.settings.dailySummaryEnabled());
}

TEST_F(PreferencesViewTest, LaunchAtLoginShowsTheAutostartEntryAsItIsAfterEveryChange) {
    const QString entry = world.folder.filePath(u"autostart/com.quorvandell.tavlin.desktop"_s);
    auto& general = makeView().generalTab();
    QAbstractButton& login = general.launchAtLogin();
    EXPECT_FALSE(login.isChecked());

    login.click();
    EXPECT_TRUE(QFile::exists(entry));
    EXPECT_TRUE(login.isChecked());
    EXPECT_FALSE(shown(general.loginItemCaption()));
    login.click();
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_FALSE(login.isChecked());

    // A file where the folder should be: the switch falls back to what is
    // there, and the caption stays until a change succeeds.
    ASSERT_TRUE(QDir(world.folder.filePath(u"autostart"_s)).removeRecursively());
    writeTestFile(world.folder.filePath(u"autostart"_s), "in the way");
    login.click();
    EXPECT_FALSE(login.isChecked());
    EXPECT_TRUE(shown(general.loginItemCaption()));
    EXPECT_TRUE(general.loginItemCaption().text().contains(u"/autostart"_s));
    QFile::remove(world.folder.filePath(u"autostart"_s));
    login.click();
    EXPECT_TRUE(login.isChecked());
    EXPECT_FALSE(shown(general.loginItemCaption()));
}

TEST_F(PreferencesViewTest, WhereTheDesktopGivesNoGlobalShortcutTheGeneralTabNamesTheCommandToBind) {
    auto& general = makeView().generalTab();
    EXPECT_FALSE(shown(general.noGlobalShortcutCaption()));
    world.hotKeyBackend.globalShortcuts = false;
    world.hotKeyBackend.announceChange();
    EXPECT_TRUE(shown(general.noGlobalShortcutCaption()));
    EXPECT_TRUE(general.noGlobalShortcutCaption().text().contains(u"“gapplication launch com.quorvandell.tavlin”"_s));
}

// ---- Reminders tab

TEST_F(PreferencesViewTest, SixSectionSwitchesHideAndShowTheirSections) {
    auto& reminders = makeView().remindersTab();
    QStringList titles;
    for (QCheckBox* toggle : reminders.sectionSwitches()) titles << toggle->accessibleName();
    EXPECT_EQ(titles,
              (QStringList{u"Overdue"_s, u"Today"_s, u"Tomorrow"_s, u"This week"_s, u"Later"_s, u"No due date"_s}));

    for (QCheckBox* toggle : reminders.sectionSwitches()) toggle->click();
    EXPECT_EQ(world.defaults.stringArray("hiddenPanelSections"),
              (QStringList{u"overdue"_s, u"today"_s, u"tomorrow"_s, u"thisWeek"_s, u"later"_s, u"noDueDate"_s}))
        << "stored at once";
    for (QCheckBox* toggle : reminders.sectionSwitches()) toggle->click();
    EXPECT_EQ(world.defaults.stringArray("hiddenPanelSections"), QStringList());

    view->model().setSectionShown(PanelSection::nearby, false);
    EXPECT_TRUE(world.settings.sectionVisibility().hidden.empty()) << "nearby has a switch of its own";
}

TEST_F(PreferencesViewTest, ListRowsShowAndKeepTheListsAndTheDefault) {
    using Action = std::function<void(PreferencesViewTest&)>;
    const auto row = [](PreferencesViewTest& test, const char* title) -> ListPreferenceRow& {
        for (ListPreferenceRow* candidate : test.view->remindersTab().listRows())
            if (candidate->title() == QString::fromLatin1(title)) return *candidate;
        throw std::logic_error("no such row");
    };
    struct Case {
        const char* name;
        QSet<QString> included;
        std::optional<QString> quickAdd;
        Action act;
        QStringList stored;  // includedListIDs afterwards, sorted
        QStringList rows;    // the rows' titles, in order
        QString defaultRow;
        QStringList locked;  // the rows whose switch is off limits
    };
    const Case cases[] = {
        {"every list shown is stored as none; the store's default list comes first and stays",
         {},
         std::nullopt,
         [](PreferencesViewTest&) {},
         {},
         {u"List 1"_s, u"List 2"_s, u"List 3"_s},
         u"List 1"_s,
         {u"List 1"_s}},
        {"excluding one of three stores the other two",
         {},
         std::nullopt,
         [&](PreferencesViewTest& test) { switchOf(row(test, "List 2")).click(); },
         {u"L1"_s, u"L3"_s},
         {u"List 1"_s, u"List 2"_s, u"List 3"_s},
         u"List 1"_s,
         {u"List 1"_s}},
        {"including it again stores none again",
         {u"L1"_s, u"L3"_s},
         std::nullopt,
         [&](PreferencesViewTest& test) { switchOf(row(test, "List 2")).click(); },
         {},
         {u"List 1"_s, u"List 2"_s, u"List 3"_s},
         u"List 1"_s,
         {u"List 1"_s}},
        {"the chosen default comes first and cannot be excluded, even directly",
         {},
         u"L3"_s,
         [](PreferencesViewTest& test) { test.view->model().setListIncluded(u"L3"_s, false); },
         {},
         {u"List 3"_s, u"List 1"_s, u"List 2"_s},
         u"List 3"_s,
         {u"List 3"_s}},
        {"the one list shown cannot be excluded (it is the default too)",
         {u"L2"_s},
         std::nullopt,
         [](PreferencesViewTest& test) { test.view->model().setListIncluded(u"L2"_s, false); },
         {u"L2"_s},
         {u"List 2"_s, u"List 1"_s, u"List 3"_s},
         u"List 2"_s,
         {u"List 2"_s}},
        {"marking a list as default moves it first",
         {},
         std::nullopt,
         [&](PreferencesViewTest& test) { markAsDefaultOf(row(test, "List 2")).click(); },
         {},
         {u"List 2"_s, u"List 1"_s, u"List 3"_s},
         u"List 2"_s,
         {u"List 2"_s}},
        {"an excluded list is never locked",
         {u"L1"_s, u"L2"_s},
         u"L2"_s,
         [](PreferencesViewTest&) {},
         {u"L1"_s, u"L2"_s},
         {u"List 2"_s, u"List 1"_s, u"List 3"_s},
         u"List 2"_s,
         {u"List 2"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        world.settings.setIncludedListIDs(c.included);
        world.settings.setQuickAddListID(c.quickAdd);
        makeView();
        c.act(*this);
        EXPECT_EQ(sorted(world.settings.includedListIDs()), c.stored);
        EXPECT_EQ(rowTitles(), c.rows);
        QStringList locked;
        for (ListPreferenceRow* shownRow : view->remindersTab().listRows()) {
            EXPECT_EQ(shownRow->isIncluded(),
                      view->model().isListIncluded(shownRow->title().replace(u"List "_s, u"L"_s)))
                << shownRow->title().toStdString();
            EXPECT_EQ(shownRow->isDefault(), shownRow->title() == c.defaultRow) << shownRow->title().toStdString();
            if (!switchOf(*shownRow).isEnabled()) locked << shownRow->title();
        }
        EXPECT_EQ(locked, c.locked);
        EXPECT_FALSE(shown(view->remindersTab().noListsNote()));
    }

    world.setLists({});
    EXPECT_TRUE(view->remindersTab().listRows().empty());
    EXPECT_TRUE(shown(view->remindersTab().noListsNote()));
    EXPECT_EQ(view->remindersTab().noListsNote().text(), u"Let Tavlin read your reminders folder to choose lists."_s);
}

TEST_F(PreferencesViewTest, TheDefaultListGoesWhenItIsHiddenButNotWhileNoListsAreKnown) {
    // Before the first fetch, or while the reminders folder cannot be read,
    // there are no lists: opening the settings then keeps the user's choice.
    world.setLists({});
    world.settings.setQuickAddListID(u"L2"_s);
    makeView().show();
    EXPECT_EQ(world.settings.quickAddListID(), u"L2"_s);

    // Once the lists are known, the choice stands while it is shown…
    world.setLists(PreferencesWorld::numberedLists(3));
    EXPECT_EQ(world.settings.quickAddListID(), u"L2"_s);
    EXPECT_EQ(rowTitles().first(), u"List 2"_s);

    // …and goes when the shown lists leave it out.
    world.settings.setIncludedListIDs({u"L1"_s, u"L3"_s});
    EXPECT_EQ(world.settings.quickAddListID(), std::nullopt);
    EXPECT_EQ(rowTitles().first(), u"List 1"_s) << "the first shown list receives new reminders now";

    // A stored default that is not shown is dropped as the settings open.
    view.reset();
    world.settings.setQuickAddListID(u"L2"_s);
    makeView().show();
    EXPECT_EQ(world.settings.quickAddListID(), std::nullopt);
}

TEST_F(PreferencesViewTest, PlacesAskForTheirPermissionsAndSayWhereTheyAreMissing) {
    world.contacts.authorization = ContactsAuthorization::denied;
    auto& reminders = makeView().remindersTab();

    reminders.groupNearby().click();
    EXPECT_TRUE(world.settings.groupNearbyEnabled());
    EXPECT_EQ(world.locationManager->authorizationRequests(), 1) << "not answered yet: asks";
    EXPECT_FALSE(shown(reminders.locationCaption()));
    // The location service answers on a later turn of the main loop.
    const auto answer = [&](LocationAuthorization status) {
        world.locationManager->changeAuthorization(status);
        QCoreApplication::processEvents();
    };
    answer(LocationAuthorization::denied);
    EXPECT_TRUE(shown(reminders.locationCaption())) << "the setting stays on, the caption says why it does nothing";
    EXPECT_EQ(reminders.locationCaption().text(),
              u"Location access is turned off for Tavlin in Settings → Privacy → Location Services."_s);
    EXPECT_TRUE(world.settings.groupNearbyEnabled());
    // No location service at all: there is no switch to turn on, so the
    // caption says what is missing.
    answer(LocationAuthorization::restricted);
    EXPECT_TRUE(shown(reminders.locationCaption()));
    EXPECT_EQ(reminders.locationCaption().text(),
              u"No location service is running: GeoClue is not installed or not started, so Tavlin cannot tell "
              "where you are."_s);
    answer(LocationAuthorization::authorizedAlways);
    EXPECT_FALSE(shown(reminders.locationCaption()));
    const int fixes = world.locationManager->locationRequests();
    reminders.groupNearby().click();
    EXPECT_FALSE(shown(reminders.locationCaption()));
    reminders.groupNearby().click();
    EXPECT_EQ(world.locationManager->locationRequests(), fixes + 1) << "allowed: a fix at each switch-on";

    reminders.contactPlaces().click();
    EXPECT_TRUE(world.settings.contactPlacesEnabled());
    EXPECT_TRUE(shown(reminders.contactsCaption()));
    // Allowed meanwhile: noticed at the next switch-on only.
    world.contacts.authorization = ContactsAuthorization::authorized;
    world.settings.setContactPlacesEnabled(false);
    world.settings.setContactPlacesEnabled(true);
    EXPECT_TRUE(shown(reminders.contactsCaption()));
    reminders.contactPlaces().click();
    reminders.contactPlaces().click();
    EXPECT_FALSE(shown(reminders.contactsCaption()));
}

// ---- AI tools tab

TEST_F(PreferencesViewTest, TheEndpointShowsWhileTheServerListensElseWhyNot) {
    auto& tools = makeView().mcpTab();
    const auto rows = [&] {
        return QStringList{shown(tools.endpoint()) ? u"endpoint"_s : QString(),
                           shown(tools.problem()) ? u"problem"_s : QString(),
                           shown(tools.copySetupPrompt()) ? u"connect"_s : QString(),
                           shown(tools.description()) ? u"description"_s : QString()}
            .join(u' ')
            .simplified();
    };
    EXPECT_EQ(rows(), u"description"_s) << "off";
    world.settings.setMcpEnabled(true);
    EXPECT_EQ(rows(), u"connect description"_s) << "on, neither listening nor failed";

    world.server.start(0, false);
    ASSERT_TRUE(world.server.port());
    EXPECT_EQ(rows(), u"endpoint connect description"_s);
    EXPECT_EQ(tools.endpoint().text(), u"http://127.0.0.1:%1/mcp"_s.arg(*world.server.port()));
    world.server.stop();

    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost));
    world.server.start(taken.serverPort(), false);
    EXPECT_EQ(rows(), u"problem connect description"_s);
    EXPECT_EQ(tools.problem().text(), *world.server.lastError());

    world.settings.setMcpEnabled(false);
    EXPECT_EQ(rows(), u"description"_s);
}

TEST_F(PreferencesViewTest, CopySetupPromptReplacesTheClipboardWithThePromptAndNoToken) {
    QClipboard& clipboard = *QGuiApplication::clipboard();
    world.settings.setMcpEnabled(true);
    auto& tools = makeView().mcpTab();
    clipboard.setText(u"something else"_s);

    tools.copySetupPrompt().click();
    const QString copied = clipboard.text();
    EXPECT_EQ(copied, tavlin::mcp::MCPConfiguration::setupInstructions(QCoreApplication::applicationFilePath(),
                                                                       std::nullopt, world.server.configurationPath()));
    EXPECT_TRUE(copied.contains(u"http://127.0.0.1:41733/mcp"_s)) << "no port yet: the default port's endpoint";
    EXPECT_TRUE(copied.contains(world.server.configurationPath()));

    world.server.start(0, false);
    tools.copySetupPrompt().click();
    EXPECT_TRUE(clipboard.text().contains(u"http://127.0.0.1:%1/mcp"_s.arg(*world.server.port())));
    // The server wrote its token to the file the prompt names; the prompt
    // itself never carries it.
    const std::optional<tavlin::mcp::MCPConfiguration> file =
        tavlin::mcp::MCPConfiguration::read(world.server.configurationPath());
    ASSERT_TRUE(file);
    EXPECT_FALSE(clipboard.text().contains(file->token));
}

TEST_F(PreferencesViewTest, TheVersionRowOffersAnUpdateCheckOnlyWhenThereIsOne) {
    EXPECT_EQ(makeView().mcpTab().checkForUpdates(), nullptr);
    EXPECT_FALSE(view->mcpTab().version().text().isEmpty());

    int checks = 0;
    world.checkForUpdates = [&] { ++checks; };
    QPushButton* button = makeView().mcpTab().checkForUpdates();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), u"Check for Updates…"_s);
    button->click();
    EXPECT_EQ(checks, 1);
}

// ---- The view

TEST_F(PreferencesViewTest, ShowsTheSelectedTabAndReportsItsHeightUnderIt) {
    PreferencesView& shownView = makeView();
    shownView.resize(PreferencesView::fixedWidth, 400);
    shownView.show();
    ASSERT_TRUE(runMainLoopUntil([&] { return !reports.empty(); }));
    EXPECT_EQ(reports.back(), std::pair(SettingsTab::general, shownView.contentHeight(SettingsTab::general)));
    EXPECT_EQ(shownView.width(), 460);

    selection.setTab(SettingsTab::reminders);
    EXPECT_TRUE(shownView.scrollArea(SettingsTab::reminders).isVisible());
    EXPECT_FALSE(shownView.scrollArea(SettingsTab::general).isVisible());
    ASSERT_TRUE(runMainLoopUntil([&] { return reports.back().first == SettingsTab::reminders; }));
    EXPECT_EQ(reports.back().second, shownView.contentHeight(SettingsTab::reminders));

    // A caption that appears grows the tab that shows it.
    const int before = shownView.contentHeight(SettingsTab::reminders);
    world.settings.setGroupNearbyEnabled(true);
    world.locationManager->changeAuthorization(LocationAuthorization::denied);
    ASSERT_TRUE(runMainLoopUntil([&] { return reports.back().second > before; }));
    EXPECT_EQ(reports.back().first, SettingsTab::reminders);
}
