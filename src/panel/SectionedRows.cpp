#include "panel/SectionedRows.h"

#include "panel/RowOrder.h"
#include "platform/DueDate.h"
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

// A reminder of a section with the due instant its order reads.
struct Keyed {
    double key;
    platform::Reminder reminder;
};

// The section's reminders, in row order when one is given.
std::vector<platform::Reminder> inRowOrder(std::vector<Keyed>& keyed, const SectionInputs& inputs) {
    if (inputs.rowOrder) {
        std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
            return inputs.rowOrder(a.reminder, a.key, b.reminder, b.key);
        });
    }
    std::vector<platform::Reminder> reminders;
    reminders.reserve(keyed.size());
    for (Keyed& entry : keyed) reminders.push_back(std::move(entry.reminder));
    return reminders;
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
    // The bounds of today and of the week are worked out once, each
    // reminder's due instant once for its section and its order: the
    // calendar's arithmetic is most of the cost of a long list.
    const store::DueReckoning reckoning(inputs.storeNow, calendar);
    const Tomorrow tomorrow = tomorrowOf(inputs.wallNow, calendar);

    std::array<std::vector<Keyed>, store::allPanelSections.size()> bySection;
    for (const platform::Reminder& reminder : *inputs.rows) {
        const std::optional<platform::Date> due =
            inputs.dueOf ? inputs.dueOf(reminder) : platform::DueDate::date(reminder.dueDateComponents, calendar);
        PanelSection section = PanelSection::nearby;
        if (inputs.nearbyIDs.isEmpty() || !inputs.nearbyIDs.contains(reminder.identifier))
            section = sectionOf(reckoning.state(reminder.dueDateComponents, due), tomorrow, reckoning.weekAhead());
        bySection[std::size_t(store::rawValue(section))].push_back({rowOrderDue(due).secondsSince1970(), reminder});
    }

    std::vector<SectionRows> result;
    for (const PanelSection section : store::allPanelSections) {
        // A search finds reminders in hidden sections too.
        if (inputs.queryBlank && inputs.visibility.hidden.contains(section)) continue;
        std::vector<Keyed>& keyed = bySection[std::size_t(store::rawValue(section))];
        if (keyed.empty()) continue;
        std::vector<platform::Reminder> reminders = inRowOrder(keyed, inputs);
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
