#pragma once

#include "store/PanelSection.h"

#include <QStringList>

#include <array>
#include <set>

namespace tavlin::store {

// The panel sections the user has hidden. The nearby section has its own
// setting and is never hidden here.
struct SectionVisibility {
    std::set<PanelSection> hidden;

    // Every section but nearby, in case order: what the preferences offer.
    static constexpr std::array hideableSections{
        PanelSection::overdue,  PanelSection::today, PanelSection::tomorrow,
        PanelSection::thisWeek, PanelSection::later, PanelSection::noDueDate,
    };

    // Case names in case order, so one set always gives one list.
    QStringList encoded() const;
    // Names that match no section exactly, and "nearby", are skipped.
    static SectionVisibility decoding(const QStringList& storedNames);

    friend bool operator==(const SectionVisibility&, const SectionVisibility&) = default;
};

}  // namespace tavlin::store
