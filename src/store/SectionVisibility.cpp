#include "store/SectionVisibility.h"

namespace tavlin::store {

QStringList SectionVisibility::encoded() const {
    QStringList names;
    for (PanelSection section : hidden) names.append(storedName(section));
    return names;
}

SectionVisibility SectionVisibility::decoding(const QStringList& storedNames) {
    SectionVisibility visibility;
    for (const QString& name : storedNames) {
        const std::optional<PanelSection> section = panelSectionNamed(name);
        if (section && *section != PanelSection::nearby) visibility.hidden.insert(*section);
    }
    return visibility;
}

}  // namespace tavlin::store
