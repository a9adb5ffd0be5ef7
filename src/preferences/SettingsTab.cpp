#include "preferences/SettingsTab.h"

using namespace Qt::StringLiterals;

namespace tavlin::preferences {

namespace {

struct TabTraits {
    QString rawValue;
    QString title;
    QString iconName;
    int heightEstimate;
};

const TabTraits& traits(SettingsTab tab) {
    static const TabTraits general{u"general"_s, u"General"_s, u"preferences-system"_s, 600};
    static const TabTraits reminders{u"reminders"_s, u"Reminders"_s, u"view-list-details"_s, 640};
    static const TabTraits mcp{u"mcp"_s, u"MCP"_s, u"network-workgroup"_s, 300};
    switch (tab) {
    case SettingsTab::general: return general;
    case SettingsTab::reminders: return reminders;
    case SettingsTab::mcp: return mcp;
    }
    Q_UNREACHABLE();
}

}  // namespace

QString rawValue(SettingsTab tab) { return traits(tab).rawValue; }

std::optional<SettingsTab> settingsTabFromRawValue(const QString& rawValue) {
    for (const SettingsTab tab : allSettingsTabs)
        if (traits(tab).rawValue == rawValue) return tab;
    return std::nullopt;
}

QString title(SettingsTab tab) { return traits(tab).title; }

QString iconName(SettingsTab tab) { return traits(tab).iconName; }

QString toolbarIdentifier(SettingsTab tab) { return u"settings."_s + traits(tab).rawValue; }

int heightEstimate(SettingsTab tab) { return traits(tab).heightEstimate; }

}  // namespace tavlin::preferences
