#include "store/PanelSection.h"

#include "store/CaseNames.h"

namespace tavlin::store {

namespace {

constexpr CaseNames<PanelSection, allPanelSections.size()> kNames{{
    u"nearby",
    u"overdue",
    u"today",
    u"tomorrow",
    u"thisWeek",
    u"later",
    u"noDueDate",
}};

}  // namespace

std::optional<PanelSection> panelSectionFromRawValue(int raw) {
    if (raw < 0 || raw >= int(allPanelSections.size())) return std::nullopt;
    return static_cast<PanelSection>(raw);
}

QString storedName(PanelSection section) { return kNames.nameOf(section); }

std::optional<PanelSection> panelSectionNamed(QStringView name) { return kNames.caseNamed(name); }

}  // namespace tavlin::store
