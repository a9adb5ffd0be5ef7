#include "preferences/SettingsTab.h"
#include "preferences/SettingsTabSelection.h"

#include <gtest/gtest.h>
#include <QHash>
#include <QSignalSpy>

using namespace tavlin::preferences;
using namespace Qt::StringLiterals;

TEST(SettingsTabTest, EachTabHasItsNamesInToolbarOrder) {
    struct Case {
        SettingsTab tab;
        QString rawValue, title, identifier;
        int heightEstimate;
    };
    const Case cases[] = {
        {SettingsTab::general, u"general"_s, u"General"_s, u"settings.general"_s, 600},
        {SettingsTab::reminders, u"reminders"_s, u"Reminders"_s, u"settings.reminders"_s, 640},
        {SettingsTab::mcp, u"mcp"_s, u"MCP"_s, u"settings.mcp"_s, 300},
    };
    ASSERT_EQ(allSettingsTabs.size(), std::size(cases));
    QHash<SettingsTab, QString> icons;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.rawValue.toStdString());
        EXPECT_EQ(allSettingsTabs[i], c.tab);
        EXPECT_EQ(rawValue(c.tab), c.rawValue);
        EXPECT_EQ(settingsTabFromRawValue(c.rawValue), c.tab);
        EXPECT_EQ(title(c.tab), c.title);
        EXPECT_EQ(toolbarIdentifier(c.tab), c.identifier);
        EXPECT_EQ(heightEstimate(c.tab), c.heightEstimate);
        EXPECT_FALSE(iconName(c.tab).isEmpty());
        icons.insert(c.tab, iconName(c.tab));
    }
    EXPECT_EQ(QSet<QString>(icons.cbegin(), icons.cend()).size(), 3) << "three different icons";
}

TEST(SettingsTabTest, OnlyTheExactRawValuesNameATab) {
    for (const QString& text : {u"General"_s, u"MCP"_s, u" general"_s, u""_s, u"settings.general"_s})
        EXPECT_EQ(settingsTabFromRawValue(text), std::nullopt) << text.toStdString();
}

TEST(SettingsTabTest, TheSelectionSignalsOnlyARealChange) {
    SettingsTabSelection selection;
    EXPECT_EQ(selection.tab(), SettingsTab::general);
    QSignalSpy changes(&selection, &SettingsTabSelection::tabChanged);
    int observedChanges = 0;
    tavlin::store::ObservationTracking::track([&] { selection.tab(); }, [&] { ++observedChanges; });

    selection.setTab(SettingsTab::general);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(observedChanges, 0);
    selection.setTab(SettingsTab::mcp);
    EXPECT_EQ(selection.tab(), SettingsTab::mcp);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(observedChanges, 1) << "reading the tab is observed";
    selection.setTab(SettingsTab::mcp);
    EXPECT_EQ(changes.count(), 1);
}
