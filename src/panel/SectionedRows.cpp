#include "panel/SectionedRows.h"

#include "platform/Text.h"
#include "store/DoneToday.h"
#include "store/DueState.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <numeric>

namespace tavlin::panel {

namespace {

constexpr double headerHeight = 30;
constexpr double placeholderHeight = 60;
constexpr double shortRowHeight = 46;
constexpr double longRowHeight = 66;
constexpr qsizetype longTitleLength = 49;

using store::PanelSection;

// The days by the system's date that make up tomorrow.
struct Tomorrow {
    std::optional<platform::Date> start, end;

    bool contains(platform::Date date) const { return start && end && date >= *start && date < *end; }
};

Tomorrow tomorrowOf(platform::Date wallNow, const platform::Calendar& calendar) {
    const platform::Date today = calendar.startOfDay(wallNow);
    return {calendar.dateByAdding(platform::CalendarComponent::Day, 1, today),
            calendar.dateByAdding(platform::CalendarComponent::Day, 2, today)};
}

PanelSection sectionOf(const store::DueState& state, const Tomorrow& tomorrow,
                       const std::optional<platform::Date>& weekBoundary) {
    switch (state.kind()) {
    case store::DueState::Kind::overdue: return PanelSection::overdue;
    case store::DueState::Kind::today: return PanelSection::today;
    case store::DueState::Kind::none: return PanelSection::noDueDate;
    case store::DueState::Kind::upcoming: break;
    }
    const platform::Date date = *state.upcomingDate();
    if (tomorrow.contains(date)) return PanelSection::tomorrow;
    return weekBoundary && date < *weekBoundary ? PanelSection::thisWeek : PanelSection::later;
}

// The manual positions of a section already in row order.
void applyManualOrder(std::vector<platform::Reminder>& reminders, const store::ManualOrder::Ranks& ranks) {
    QStringList identifiers;
    identifiers.reserve(qsizetype(reminders.size()));
    for (const platform::Reminder& reminder : reminders) identifiers.append(reminder.identifier);
    const QList<double> positions = store::ManualOrder::effectiveRanks(identifiers, ranks);
    std::vector<int> order(reminders.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return positionComparator(a, b, positions); });
    std::vector<platform::Reminder> sorted;
    sorted.reserve(reminders.size());
    for (const int index : order) sorted.push_back(std::move(reminders[std::size_t(index)]));
    reminders = std::move(sorted);
}

void sortByRowOrder(std::vector<platform::Reminder>& reminders, const SectionInputs& inputs) {
    struct Keyed {
        double key;
        platform::Reminder reminder;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(reminders.size());
    for (platform::Reminder& reminder : reminders) {
        const double key = inputs.sortKey ? inputs.sortKey(reminder) : 0;
        keyed.push_back({key, std::move(reminder)});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        return inputs.rowOrder(a.reminder, a.key, b.reminder, b.key);
    });
    for (std::size_t i = 0; i < keyed.size(); ++i) reminders[i] = std::move(keyed[i].reminder);
}

double rowHeight(const platform::Reminder& reminder) {
    return platform::graphemeCount(reminder.title) < longTitleLength ? shortRowHeight : longRowHeight;
}

}  // namespace

QString sectionTitle(PanelSection section) {
    switch (section) {
    case PanelSection::nearby: return QCoreApplication::translate("Sections", "Nearby");
    case PanelSection::overdue: return QCoreApplication::translate("Sections", "Overdue");
    case PanelSection::today: return QCoreApplication::translate("Sections", "Today");
    case PanelSection::tomorrow: return QCoreApplication::translate("Sections", "Tomorrow");
    case PanelSection::thisWeek: return QCoreApplication::translate("Sections", "This week");
    case PanelSection::later: return QCoreApplication::translate("Sections", "Later");
    case PanelSection::noDueDate: return QCoreApplication::translate("Sections", "No due date");
    }
    return {};
}

QString doneTodayTitle() { return QCoreApplication::translate("Sections", "Done today"); }

QString nothingToDoText() { return QCoreApplication::translate("Sections", "Nothing to do"); }

bool positionComparator(int a, int b, const QList<double>& positions) {
    if (positions[a] == positions[b]) return a < b;
    return positions[a] < positions[b];
}

std::vector<SectionRows> sectionedRows(const SectionInputs& inputs) {
    const platform::Calendar& calendar = *inputs.calendar;
    const std::optional<platform::Date> weekBoundary =
        calendar.dateByAdding(platform::CalendarComponent::Day, 7, calendar.startOfDay(inputs.storeNow));
    const Tomorrow tomorrow = tomorrowOf(inputs.wallNow, calendar);

    std::array<std::vector<platform::Reminder>, store::allPanelSections.size()> bySection;
    for (const platform::Reminder& reminder : *inputs.rows) {
        PanelSection section = PanelSection::nearby;
        if (inputs.nearbyIDs.isEmpty() || !inputs.nearbyIDs.contains(reminder.identifier)) {
            const store::DueState state(reminder.dueDateComponents, inputs.storeNow, calendar);
            section = sectionOf(state, tomorrow, weekBoundary);
        }
        bySection[std::size_t(store::rawValue(section))].push_back(reminder);
    }

    std::vector<SectionRows> result;
    for (const PanelSection section : store::allPanelSections) {
        // A search finds reminders in hidden sections too.
        if (inputs.queryBlank && inputs.visibility.hidden.contains(section)) continue;
        std::vector<platform::Reminder>& reminders = bySection[std::size_t(store::rawValue(section))];
        if (reminders.empty()) continue;
        if (inputs.rowOrder) sortByRowOrder(reminders, inputs);
        if (!inputs.ranks.isEmpty() && reminders.size() >= 2) applyManualOrder(reminders, inputs.ranks);
        result.push_back({section, std::move(reminders)});
    }
    return result;
}

std::vector<platform::Reminder> doneTodayRows(const std::vector<platform::Reminder>& completedToday,
                                              const QSet<QString>& includedListIDs, bool queryBlank) {
    if (!queryBlank) return {};
    return store::DoneToday::filterIncludedLists(
        completedToday, includedListIDs, [](const platform::Reminder& reminder) { return reminder.completionDate; });
}

double estimatedListHeight(const std::vector<SectionRows>& sections, const std::vector<platform::Reminder>& doneRows) {
    double height = sections.empty() ? placeholderHeight : 0;
    for (const SectionRows& section : sections) {
        height += headerHeight;
        for (const platform::Reminder& reminder : section.reminders) height += rowHeight(reminder);
    }
    if (!doneRows.empty()) {
        height += headerHeight;
        for (const platform::Reminder& reminder : doneRows) height += rowHeight(reminder);
    }
    return height;
}

}  // namespace tavlin::panel
