#pragma once

#include <QString>

#include <array>
#include <optional>

namespace tavlin::preferences {

// The tabs of the settings window, in the order of its toolbar (and of every
// search over the tabs).
enum class SettingsTab { general, reminders, mcp };

inline constexpr std::array<SettingsTab, 3> allSettingsTabs{SettingsTab::general, SettingsTab::reminders,
                                                            SettingsTab::mcp};

// "general", "reminders", "mcp".
QString rawValue(SettingsTab tab);
// Exactly the raw values, case included; nothing for anything else.
std::optional<SettingsTab> settingsTabFromRawValue(const QString& rawValue);

// The toolbar label and window title.
QString title(SettingsTab tab);
// The toolbar's icon, a name of the desktop's icon theme.
QString iconName(SettingsTab tab);
// "settings." followed by the raw value.
QString toolbarIdentifier(SettingsTab tab);
// The content height the window assumes until the tab has measured its own.
int heightEstimate(SettingsTab tab);

}  // namespace tavlin::preferences
