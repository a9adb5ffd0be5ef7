#pragma once

#include <QString>

#include <array>
#include <optional>

namespace tavlin::store {

// The panel's sections; the raw values give their display order (nearby
// first), and `<` compares them.
enum class PanelSection { nearby = 0, overdue, today, tomorrow, thisWeek, later, noDueDate };

inline constexpr std::array allPanelSections{
    PanelSection::nearby,   PanelSection::overdue, PanelSection::today,     PanelSection::tomorrow,
    PanelSection::thisWeek, PanelSection::later,   PanelSection::noDueDate,
};

inline constexpr int rawValue(PanelSection section) { return static_cast<int>(section); }
// 0 to 6; nothing for any other number.
std::optional<PanelSection> panelSectionFromRawValue(int raw);

// The case name, as the settings store it.
QString storedName(PanelSection section);
// Exact, case-sensitive match.
std::optional<PanelSection> panelSectionNamed(QStringView name);

}  // namespace tavlin::store
