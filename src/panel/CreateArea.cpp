#include "panel/CreateArea.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tavlin::panel {

std::optional<QString> createAreaPlaceholder(const QString& query, bool showsCreateRow) {
    if (showsCreateRow) return std::nullopt;
    return query.isEmpty() ? u"Nothing to do"_s : u"No matches"_s;
}

std::optional<LocationRequest> partLocationCard(std::size_t index, const std::vector<parsing::ParsedQuickAdd>& parts,
                                                const std::vector<LocationRequest>& requests) {
    if (index >= parts.size() || !parts[index].locationName) return std::nullopt;
    const QString& name = *parts[index].locationName;
    const auto named = [&](const parsing::ParsedQuickAdd& part) { return part.locationName == name; };
    if (std::any_of(parts.begin(), parts.begin() + std::ptrdiff_t(index), named)) return std::nullopt;
    const auto request =
        std::find_if(requests.begin(), requests.end(), [&](const LocationRequest& r) { return r.name == name; });
    if (request == requests.end()) return std::nullopt;
    return *request;
}

}  // namespace tavlin::panel
