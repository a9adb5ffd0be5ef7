#include "panel/CreateArea.h"

#include "panel/PanelList.h"
#include "panel/RowSelection.h"
#include "panel/TypedLine.h"
#include "parsing/TaskSplitter.h"

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

CreateAreaContent createAreaContent(const TypedLine& line, const PanelList& list, const RowSelection& selection,
                                    std::vector<LocationRequest> requests, QStringList listNames) {
    CreateAreaContent content;
    const bool creates = list.showsCreateRow();
    content.placeholder = createAreaPlaceholder(line.query(), creates);
    if (!creates) return content;
    const std::vector<RowItem> rows = list.flatRows();
    const auto create = std::find_if(rows.begin(), rows.end(), [](const RowItem& row) { return row.isCreate(); });
    content.selected = selection.selectedIndex() == int(create - rows.begin());
    const QStringList tasks = parsing::TaskSplitter::split(line.trimmedQuery());
    if (tasks.size() < 2) {
        content.parts.push_back({line.effectiveParsed(), line.smartParseInFlight(), std::move(requests)});
    } else {
        const std::vector<parsing::ParsedQuickAdd> parts = line.parsedParts();
        const QSet<QString>& inFlight = line.smartPartsInFlight();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            std::vector<LocationRequest> places;
            if (std::optional<LocationRequest> card = partLocationCard(i, parts, requests)) places.push_back(*card);
            content.parts.push_back({parts[i], inFlight.contains(tasks[qsizetype(i)]), std::move(places)});
        }
    }
    content.listNames = std::move(listNames);
    return content;
}

}  // namespace tavlin::panel
