#include "store/Settings.h"

#include "support/LogCapture.h"
#include "support/Printers.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <memory>
#include <numeric>
#include <ostream>
#include <set>
#include <vector>

using namespace tavlin::platform;
using namespace tavlin::store;
using namespace Qt::StringLiterals;
using nlohmann::json;

namespace {

// Every property of a Settings, to compare in one go; the initial values
// are the defaults.
struct Values {
    CountScope primaryScope = CountScope::overdue;
    CountScope secondaryScope = CountScope::today;
    QSet<QString> includedListIDs;
    std::optional<QString> quickAddListID;
    bool groupNearbyEnabled = false;
    bool contactPlacesEnabled = false;
    bool showCompletedInMenuBar = true;
    bool menuBarQuietColors = false;
    bool dailySummaryEnabled = false;
    bool mcpEnabled = false;
    std::set<PanelSection> hiddenSections;
    ManualOrder::Ranks manualOrderRanks;
    qint64 dailySummaryMinutes = 540;
    std::optional<ScreenPoint> pinnedPanelTopLeft;
    std::optional<double> pinnedPanelWidth;
    std::optional<double> pinnedPanelListHeight;

    static Values of(const Settings& settings) {
        return {settings.primaryScope(),
                settings.secondaryScope(),
                settings.includedListIDs(),
                settings.quickAddListID(),
                settings.groupNearbyEnabled(),
                settings.contactPlacesEnabled(),
                settings.showCompletedInMenuBar(),
                settings.menuBarQuietColors(),
                settings.dailySummaryEnabled(),
                settings.mcpEnabled(),
                settings.sectionVisibility().hidden,
                settings.manualOrderRanks(),
                settings.dailySummaryMinutes(),
                settings.pinnedPanelTopLeft(),
                settings.pinnedPanelWidth(),
                settings.pinnedPanelListHeight()};
    }
    friend bool operator==(const Values&, const Values&) = default;
};

void PrintTo(const Values& values, std::ostream* out) {
    QStringList lists(values.includedListIDs.cbegin(), values.includedListIDs.cend());
    lists.sort();
    *out << "{scopes " << rawValue(values.primaryScope).toStdString() << "/"
         << rawValue(values.secondaryScope).toStdString() << ", lists [" << lists.join(u',').toStdString()
         << "], quick-add " << values.quickAddListID.value_or(u"-"_s).toStdString() << ", flags "
         << values.groupNearbyEnabled << values.contactPlacesEnabled << values.showCompletedInMenuBar
         << values.menuBarQuietColors << values.dailySummaryEnabled << values.mcpEnabled << ", "
         << values.hiddenSections.size() << " hidden, " << values.manualOrderRanks.size() << " ranks, minute "
         << values.dailySummaryMinutes << ", pinned "
         << (values.pinnedPanelTopLeft
                 ? std::to_string(values.pinnedPanelTopLeft->x) + "," + std::to_string(values.pinnedPanelTopLeft->y)
                 : "-")
         << " width " << values.pinnedPanelWidth.value_or(-1) << " height " << values.pinnedPanelListHeight.value_or(-1)
         << "}";
}

class SettingsTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    const QString path = folder.filePath(u"Tavlin/settings.json"_s);

    void store(const json& stored) const { writeBytes(QByteArray::fromStdString(stored.dump())); }
    void writeBytes(const QByteArray& bytes) const { writeTestFile(path, bytes); }
    QByteArray fileBytes() const { return readTestFile(path); }
    // The file as JSON; null when there is none.
    json stored() const { return QFile::exists(path) ? json::parse(fileBytes().toStdString()) : json(); }

    // A Settings over the file as it is now.
    Settings& load() {
        settings_.reset();
        defaults_ = std::make_unique<UserDefaults>(path);
        settings_ = std::make_unique<Settings>(*defaults_);
        return *settings_;
    }

private:
    std::unique_ptr<UserDefaults> defaults_;
    std::unique_ptr<Settings> settings_;
};

// Counts the change signals of every property.
class SignalCounter {
public:
    using ChangeSignal = void (Settings::*)();
    static inline const std::vector<ChangeSignal> allSignals{
        &Settings::primaryScopeChanged,           &Settings::secondaryScopeChanged,
        &Settings::includedListIDsChanged,        &Settings::quickAddListIDChanged,
        &Settings::groupNearbyEnabledChanged,     &Settings::contactPlacesEnabledChanged,
        &Settings::showCompletedInMenuBarChanged, &Settings::menuBarQuietColorsChanged,
        &Settings::dailySummaryEnabledChanged,    &Settings::mcpEnabledChanged,
        &Settings::sectionVisibilityChanged,      &Settings::manualOrderRanksChanged,
        &Settings::dailySummaryMinutesChanged,    &Settings::pinnedPanelTopLeftChanged,
        &Settings::pinnedPanelWidthChanged,       &Settings::pinnedPanelListHeightChanged,
    };

    explicit SignalCounter(Settings& settings) : counts_(allSignals.size()) {
        for (std::size_t i = 0; i < allSignals.size(); ++i)
            QObject::connect(&settings, allSignals[i], &settings, [this, i] { ++counts_[i]; });
    }
    int count(ChangeSignal signal) const {
        return counts_[std::find(allSignals.begin(), allSignals.end(), signal) - allSignals.begin()];
    }
    int total() const { return std::accumulate(counts_.begin(), counts_.end(), 0); }

private:
    std::vector<int> counts_;
};

}  // namespace

TEST_F(SettingsTest, LoadingRules) {
    struct Case {
        const char* name;
        json stored;
        Values expected;
        // The file after loading; unchanged when null.
        json storedAfter = json();
    };
    using enum CountScope;
    const Case cases[] = {
        {"scopes",
         {{"primaryScope", "next7Days"}, {"secondaryScope", "none"}},
         {.primaryScope = next7Days, .secondaryScope = none}},
        {"both today",
         {{"primaryScope", "today"}, {"secondaryScope", "today"}},
         {.primaryScope = today, .secondaryScope = overdue},
         {{"primaryScope", "today"}, {"secondaryScope", "overdue"}}},
        {"both overdue",
         {{"primaryScope", "overdue"}, {"secondaryScope", "overdue"}},
         {},
         {{"primaryScope", "overdue"}, {"secondaryScope", "today"}}},
        {"secondary alone as the default primary", {{"secondaryScope", "overdue"}}, {}, {{"secondaryScope", "today"}}},
        {"scopes that name none", {{"primaryScope", "Today"}, {"secondaryScope", 3}}, {}},
        {"lists",
         {{"includedListIDs", {"a", "b", "a"}}, {"quickAddListID", "b"}},
         {.includedListIDs = {u"a"_s, u"b"_s}, .quickAddListID = u"b"_s}},
        {"lists of the wrong kind", {{"includedListIDs", "a"}, {"quickAddListID", 7}}, {}},
        {"Booleans",
         {{"groupNearbyEnabled", true},
          {"contactPlacesEnabled", 1},
          {"showCompletedInMenuBar", false},
          {"menuBarQuietColors", "true"},
          {"dailySummaryEnabled", true},
          {"mcpEnabled", false}},
         {.groupNearbyEnabled = true,
          .contactPlacesEnabled = true,
          .showCompletedInMenuBar = false,
          .dailySummaryEnabled = true}},
        {"completed shown unless stored false", {{"showCompletedInMenuBar", "no"}}, {.showCompletedInMenuBar = true}},
        {"completed shown for a number", {{"showCompletedInMenuBar", 0}}, {.showCompletedInMenuBar = true}},
        {"hidden sections",
         {{"hiddenPanelSections", {"later", "nearby", "someday", "today"}}},
         {.hiddenSections = {PanelSection::today, PanelSection::later}}},
        {"hidden sections of the wrong kind", {{"hiddenPanelSections", "today"}}, {}},
        {"ranks",
         {{"manualOrderRanks", {{"a", 1}, {"b", "2"}, {"c", 2.5}}}},
         {.manualOrderRanks = {{u"a"_s, 1}, {u"c"_s, 2.5}}}},
        {"ranks of the wrong kind", {{"manualOrderRanks", {1, 2}}}, {}},
        {"summary minute", {{"dailySummaryMinutes", 1439}}, {.dailySummaryMinutes = 1439}},
        {"summary minute as text", {{"dailySummaryMinutes", "600"}}, {}},
        {"summary minute with a fraction", {{"dailySummaryMinutes", 600.5}}, {}},
        {"summary minute before midnight", {{"dailySummaryMinutes", -5}}, {}},
        {"summary minute past the day", {{"dailySummaryMinutes", 1440}}, {}},
        {"summary minute past the signed range", {{"dailySummaryMinutes", 18446744073709551615u}}, {}},
        {"pinned panel",
         {{"pinnedPanelTopLeftX", 10.5},
          {"pinnedPanelTopLeftY", -20},
          {"pinnedPanelWidth", 420},
          {"pinnedPanelListHeight", 300.25}},
         {.pinnedPanelTopLeft = ScreenPoint{10.5, -20}, .pinnedPanelWidth = 420, .pinnedPanelListHeight = 300.25}},
        {"a lone x", {{"pinnedPanelTopLeftX", 10}, {"mcpEnabled", true}}, {.mcpEnabled = true}, {{"mcpEnabled", true}}},
        {"a y that is no number", {{"pinnedPanelTopLeftX", 10}, {"pinnedPanelTopLeftY", "20"}}, {}, json::object()},
        {"an x that is no number", {{"pinnedPanelTopLeftX", "10"}, {"pinnedPanelTopLeftY", 20}}, {}, json::object()},
        {"sizes that are no numbers",
         {{"pinnedPanelWidth", "wide"}, {"pinnedPanelListHeight", true}},
         {},
         json::object()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store(c.stored);
        EXPECT_EQ(Values::of(load()), c.expected);
        EXPECT_EQ(stored(), c.storedAfter.is_null() ? c.stored : c.storedAfter);
    }
}

// A hand-edited file that Tavlin would silently not read says so, one
// warning per key: the key, and what it should hold.
TEST_F(SettingsTest, WarnsOfEachKeyItDoesNotRead) {
    const QString otherKey = u"KeyBindings_togglePanel"_s;
    struct Case {
        json stored;
        QStringList warnings;  // after "<file>: "
    };
    const Case cases[] = {
        {{{"mcpEnabled", true},
          {"contactPlacesEnabled", 1},
          {"primaryScope", "next7Days"},
          {"includedListIDs", json::array()},
          {"manualOrderRanks", {{"a", 1.5}}},
          {"dailySummaryMinutes", 480},
          {"pinnedPanelWidth", 420},
          {"KeyBindings_togglePanel", {{"carbonKeyCode", 49}}}},
         {}},
        {{{"mcpEnabled", "yes"}}, {u"setting \"mcpEnabled\" is ignored: it should be true or false, not \"yes\""_s}},
        {{{"mcpenabled", true}}, {u"unknown setting \"mcpenabled\" is ignored (did you mean \"mcpEnabled\"?)"_s}},
        {{{"keybindings_togglePanel", 1}},
         {u"unknown setting \"keybindings_togglePanel\" is ignored (did you mean \"KeyBindings_togglePanel\"?)"_s}},
        {{{"theme", "dark"}, {"showCompletedInMenuBar", 0}},
         {u"setting \"showCompletedInMenuBar\" is ignored: it should be true or false, not 0"_s,
          u"unknown setting \"theme\" is ignored"_s}},
        {{{"primaryScope", "Today"}},
         {u"setting \"primaryScope\" is ignored: it should be one of \"overdue\", \"today\", \"dueNow\", "
          "\"next7Days\", \"allIncomplete\", \"noDueDate\", \"completedToday\", \"none\", not \"Today\""_s}},
        {{{"hiddenPanelSections", {"today", 2}}, {"dailySummaryMinutes", 540.5}, {"pinnedPanelTopLeftX", nullptr}},
         {u"setting \"dailySummaryMinutes\" is ignored: it should be a whole number of minutes after midnight, not "
          "540.5"_s,
          u"setting \"hiddenPanelSections\" is ignored: it should be an array of panel section names (strings), not "
          "[\"today\",2]"_s,
          u"setting \"pinnedPanelTopLeftX\" is ignored: it should be a number, not null"_s}},
        {{{"quickAddListID", std::string(100, 'x')}}, {}},
        {{{"quickAddListID", json::array({std::string(100, 'x')})}},
         {u"setting \"quickAddListID\" is ignored: it should be a list identifier (a string), not [\""_s +
          QString(58, u'x') + u"…"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.dump());
        store(c.stored);
        UserDefaults defaults(path);
        LogCapture log("com.quorvandell.tavlin.store", QtWarningMsg);
        const Settings settings(defaults, {otherKey});
        QStringList expected;
        for (const QString& warning : c.warnings) expected.append(path + u": "_s + warning);
        QStringList warnings = log.take(QtWarningMsg);
        warnings.sort();
        expected.sort();
        EXPECT_EQ(warnings, expected);
    }
}

TEST_F(SettingsTest, WithoutAFileLoadingGivesTheDefaultsAndWritesNothing) {
    EXPECT_EQ(Values::of(load()), Values{});
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(SettingsTest, ValidStoredValuesAreNotWrittenBack) {
    const QByteArray compact =
        R"({"primaryScope":"dueNow","secondaryScope":"overdue","pinnedPanelTopLeftX":1,"pinnedPanelTopLeftY":2,)"
        R"("pinnedPanelWidth":300,"pinnedPanelListHeight":200,"dailySummaryMinutes":0})";
    writeBytes(compact);
    load();
    EXPECT_EQ(fileBytes(), compact);
}

TEST_F(SettingsTest, EveryPropertyIsWrittenInItsStoredFormAndReadBack) {
    Settings& settings = load();
    settings.setPrimaryScope(CountScope::completedToday);
    settings.setSecondaryScope(CountScope::noDueDate);
    settings.setIncludedListIDs({u"work"_s, u"home"_s});
    settings.setQuickAddListID(u"home"_s);
    settings.setGroupNearbyEnabled(true);
    settings.setContactPlacesEnabled(true);
    settings.setShowCompletedInMenuBar(false);
    settings.setMenuBarQuietColors(true);
    settings.setDailySummaryEnabled(true);
    settings.setMcpEnabled(true);
    settings.setSectionVisibility({{PanelSection::noDueDate, PanelSection::overdue}});
    settings.setManualOrderRanks({{u"r1"_s, 0}, {u"r2"_s, 1.5}});
    settings.setDailySummaryMinutes(1200);
    settings.setPinnedPanelTopLeft(ScreenPoint{12, 34.5});
    settings.setPinnedPanelWidth(480);
    settings.setPinnedPanelListHeight(360);

    const json expected = {
        {"primaryScope", "completedToday"},
        {"secondaryScope", "noDueDate"},
        {"includedListIDs", {"home", "work"}},
        {"quickAddListID", "home"},
        {"groupNearbyEnabled", true},
        {"contactPlacesEnabled", true},
        {"showCompletedInMenuBar", false},
        {"menuBarQuietColors", true},
        {"dailySummaryEnabled", true},
        {"mcpEnabled", true},
        {"hiddenPanelSections", {"overdue", "noDueDate"}},
        {"manualOrderRanks", {{"r1", 0}, {"r2", 1.5}}},
        {"dailySummaryMinutes", 1200},
        {"pinnedPanelTopLeftX", 12},
        {"pinnedPanelTopLeftY", 34.5},
        {"pinnedPanelWidth", 480},
        {"pinnedPanelListHeight", 360},
    };
    EXPECT_EQ(stored(), expected);
    const Values written = Values::of(settings);
    EXPECT_EQ(Values::of(load()), written);
}

TEST_F(SettingsTest, NothingRemovesTheKeys) {
    store(
        {{"quickAddListID", "home"}, {"pinnedPanelTopLeftX", 1}, {"pinnedPanelTopLeftY", 2}, {"pinnedPanelWidth", 3}});
    Settings& settings = load();
    settings.setQuickAddListID(std::nullopt);
    settings.setPinnedPanelTopLeft(std::nullopt);
    settings.setPinnedPanelWidth(std::nullopt);
    EXPECT_EQ(stored(), json::object());
}

TEST_F(SettingsTest, EachChangeSignalsItsOwnPropertyOnlyWhenTheValueDiffers) {
    struct Case {
        SignalCounter::ChangeSignal signal;
        std::function<void(Settings&)> assign;
    };
    const Case cases[] = {
        {&Settings::primaryScopeChanged, [](Settings& s) { s.setPrimaryScope(CountScope::dueNow); }},
        {&Settings::secondaryScopeChanged, [](Settings& s) { s.setSecondaryScope(CountScope::none); }},
        {&Settings::includedListIDsChanged, [](Settings& s) { s.setIncludedListIDs({u"a"_s}); }},
        {&Settings::quickAddListIDChanged, [](Settings& s) { s.setQuickAddListID(u"a"_s); }},
        {&Settings::groupNearbyEnabledChanged, [](Settings& s) { s.setGroupNearbyEnabled(true); }},
        {&Settings::contactPlacesEnabledChanged, [](Settings& s) { s.setContactPlacesEnabled(true); }},
        {&Settings::showCompletedInMenuBarChanged, [](Settings& s) { s.setShowCompletedInMenuBar(false); }},
        {&Settings::menuBarQuietColorsChanged, [](Settings& s) { s.setMenuBarQuietColors(true); }},
        {&Settings::dailySummaryEnabledChanged, [](Settings& s) { s.setDailySummaryEnabled(true); }},
        {&Settings::mcpEnabledChanged, [](Settings& s) { s.setMcpEnabled(true); }},
        {&Settings::sectionVisibilityChanged, [](Settings& s) { s.setSectionVisibility({{PanelSection::later}}); }},
        {&Settings::manualOrderRanksChanged,
         [](Settings& s) {
             s.setManualOrderRanks({{u"a"_s, 1}});
         }},
        {&Settings::dailySummaryMinutesChanged, [](Settings& s) { s.setDailySummaryMinutes(600); }},
        {&Settings::pinnedPanelTopLeftChanged,
         [](Settings& s) {
             s.setPinnedPanelTopLeft(ScreenPoint{0, 0});
         }},
        {&Settings::pinnedPanelWidthChanged, [](Settings& s) { s.setPinnedPanelWidth(400); }},
        {&Settings::pinnedPanelListHeightChanged, [](Settings& s) { s.setPinnedPanelListHeight(300); }},
    };
    ASSERT_EQ(std::size(cases), SignalCounter::allSignals.size());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        QFile::remove(path);
        Settings& settings = load();
        const SignalCounter counter(settings);
        cases[i].assign(settings);
        EXPECT_EQ(counter.count(cases[i].signal), 1);
        EXPECT_EQ(counter.total(), 1);
        EXPECT_FALSE(stored().empty());

        cases[i].assign(settings);
        EXPECT_EQ(counter.total(), 1) << "the same value again";
    }
}

TEST_F(SettingsTest, AssigningTheDefaultWritesTheKeyWithoutASignal) {
    store({{"showCompletedInMenuBar", "yes"}});
    Settings& settings = load();
    const SignalCounter counter(settings);
    settings.setShowCompletedInMenuBar(true);
    EXPECT_EQ(counter.total(), 0);
    EXPECT_EQ(stored(), json({{"showCompletedInMenuBar", true}}));
}

// Taking the secondary scope as primary moves the secondary first, so that
// no observer ever sees the two equal.
TEST_F(SettingsTest, ThePrimaryScopeTakingTheSecondaryMovesTheSecondaryFirst) {
    Settings& settings = load();
    std::vector<std::string> seen;
    const auto note = [&](const char* which) {
        EXPECT_NE(settings.primaryScope(), settings.secondaryScope());
        seen.push_back(std::string(which) + " " + stored().dump());
    };
    QObject::connect(&settings, &Settings::primaryScopeChanged, &settings, [&] { note("primary"); });
    QObject::connect(&settings, &Settings::secondaryScopeChanged, &settings, [&] { note("secondary"); });

    settings.setPrimaryScope(CountScope::today);
    EXPECT_EQ(settings.primaryScope(), CountScope::today);
    EXPECT_EQ(settings.secondaryScope(), CountScope::overdue);
    EXPECT_EQ(seen, (std::vector<std::string>{R"(secondary {"secondaryScope":"overdue"})",
                                              R"(primary {"primaryScope":"today","secondaryScope":"overdue"})"}));
}

TEST_F(SettingsTest, TheSecondaryScopeNeverTakesThePrimary) {
    Settings& settings = load();
    const SignalCounter counter(settings);
    settings.setSecondaryScope(CountScope::overdue);
    EXPECT_EQ(settings.secondaryScope(), CountScope::today);
    EXPECT_EQ(stored(), json({{"secondaryScope", "today"}}));
    EXPECT_EQ(counter.total(), 0);

    settings.setPrimaryScope(CountScope::none);
    settings.setSecondaryScope(CountScope::none);
    EXPECT_EQ(settings.secondaryScope(), CountScope::overdue);
    EXPECT_EQ(stored()["secondaryScope"], "overdue");
}

TEST_F(SettingsTest, TheSummaryMinuteStaysWithinTheDay) {
    Settings& settings = load();
    const std::pair<qint64, qint64> cases[] = {{-10, 0}, {0, 0}, {1439, 1439}, {1440, 1439}, {100000, 1439}};
    for (const auto& [assigned, kept] : cases) {
        SCOPED_TRACE(assigned);
        settings.setDailySummaryMinutes(assigned);
        EXPECT_EQ(settings.dailySummaryMinutes(), kept);
        EXPECT_EQ(stored()["dailySummaryMinutes"], kept);
    }
}

// The model server is named by hand in the file: a value that is no usable
// address leaves the default, with the usual warning; no name, no model.
TEST_F(SettingsTest, TheModelServerKeys) {
    struct Case {
        json stored;
        QString url;
        std::optional<QString> name;
        QString warning;  // after "<file>: "
    };
    const Case cases[] = {
        {json::object(), u"http://127.0.0.1:11434"_s, std::nullopt, {}},
        {{{"languageModelURL", "http://127.0.0.1:8080/v1"}, {"languageModelName", "qwen2.5:0.5b"}},
         u"http://127.0.0.1:8080/v1"_s,
         u"qwen2.5:0.5b"_s,
         {}},
        {{{"languageModelURL", "https://models.example/v1"}}, u"https://models.example/v1"_s, std::nullopt, {}},
        {{{"languageModelURL", "127.0.0.1:11434"}},
         u"http://127.0.0.1:11434"_s,
         std::nullopt,
         u"setting \"languageModelURL\" is ignored: it should be the http:// address of a model server (a string), "
         "not \"127.0.0.1:11434\""_s},
        {{{"languageModelName", 3}},
         u"http://127.0.0.1:11434"_s,
         std::nullopt,
         u"setting \"languageModelName\" is ignored: it should be the name of a model (a string), not 3"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.dump());
        store(c.stored);
        LogCapture log("com.quorvandell.tavlin.store", QtWarningMsg);
        const Settings& settings = load();
        EXPECT_EQ(settings.languageModelURL(), QUrl(c.url));
        EXPECT_EQ(settings.languageModelName(), c.name);
        EXPECT_EQ(log.take(QtWarningMsg),
                  c.warning.isEmpty() ? QStringList() : QStringList{path + u": "_s + c.warning});
        EXPECT_EQ(stored(), c.stored);
    }
}
