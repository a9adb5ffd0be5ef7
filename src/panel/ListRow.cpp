#include "panel/ListRow.h"

using namespace Qt::StringLiterals;

namespace tavlin::panel {

namespace {

constexpr double edgePadding = 8;

}  // namespace

std::vector<ListRow> listRows(const ListRowInputs& inputs) {
    const std::vector<SectionRows>& sections = *inputs.sections;
    const std::vector<platform::Reminder>& doneRows = *inputs.doneRows;
    const int selected = selectedCount(inputs.selection, inputs.count);
    std::vector<ListRow> rows;
    if (sections.empty())
        rows.push_back({.kind = ListRow::Kind::placeholder, .id = u"placeholder"_s, .title = nothingToDoText()});
    int flatIndex = 0;
    for (const SectionRows& section : sections) {
        rows.push_back({.kind = ListRow::Kind::header,
                        .id = u"header:"_s + store::storedName(section.section),
                        .title = sectionTitle(section.section),
                        .section = section.section,
                        .topPadding = &section == &sections.front() ? edgePadding : 0});
        for (const platform::Reminder& reminder : section.reminders) {
            const bool isSelected = inputs.selection.indexes.contains(flatIndex);
            rows.push_back({.kind = ListRow::Kind::reminder,
                            .id = reminder.identifier,
                            .reminder = reminder,
                            .section = section.section,
                            .flatIndex = flatIndex,
                            .isSelected = isSelected,
                            .isCompleting = inputs.completingIDs.contains(reminder.identifier),
                            .isEditing = inputs.editingID == reminder.identifier,
                            .selectedCount = isSelected ? selected : 1,
                            .movable = !inputs.editingID});
            ++flatIndex;
        }
    }
    if (!doneRows.empty()) {
        rows.push_back({.kind = ListRow::Kind::header, .id = u"header:done"_s, .title = doneTodayTitle()});
        for (const platform::Reminder& reminder : doneRows)
            rows.push_back({.kind = ListRow::Kind::done,
                            .id = u"done:"_s + reminder.identifier,
                            .reminder = reminder,
                            .isDone = true});
    }
    if (!sections.empty() || !doneRows.empty()) rows.back().bottomPadding = edgePadding;
    return rows;
}

}  // namespace tavlin::panel
