#pragma once

#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/eventstore/Reminder.h"
#include "store/ManualOrder.h"
#include "store/PanelSection.h"
#include "store/SectionVisibility.h"

#include <QSet>
#include <QString>

#include <functional>
#include <vector>

// The panel's list in sections: which section each open reminder is in,
// which sections show, the order inside each, the reminders done today and
// the height the list is expected to take.
namespace tavlin::panel {

// One shown section with its reminders in order; never empty.
struct SectionRows {
    store::PanelSection section;
    std::vector<platform::Reminder> reminders;

    friend bool operator==(const SectionRows&, const SectionRows&) = default;
};

// "Nearby", "Overdue", "Today", "Tomorrow", "This week", "Later", "No due date".
QString sectionTitle(store::PanelSection section);
// The title of the group of reminders done today.
QString doneTodayTitle();
// What the list says when no open reminder shows.
QString nothingToDoText();

struct SectionInputs {
    // The reminders that fit the typed line, in the store's order.
    const std::vector<platform::Reminder>* rows = nullptr;
    // Listed under Nearby only, whatever their due dates.
    QSet<QString> nearbyIDs;
    // Due states are reckoned from the store's time…
    platform::Date storeNow;
    // …but tomorrow is the day after the system's date.
    platform::Date wallNow;
    const platform::Calendar* calendar = nullptr;
    // A reminder's due instant in `calendar`, where one is kept; else
    // DueDate::date.
    std::function<std::optional<platform::Date>(const platform::Reminder&)> dueOf;
    store::SectionVisibility visibility;  // hidden sections: only while the query is blank
    bool queryBlank = true;
    store::ManualOrder::Ranks ranks;
    // The order inside a section before the manual ranks, by the reminders
    // and their due instants as `rowOrderDue` gives them (in seconds since
    // 1970), each worked out once.
    std::function<bool(const platform::Reminder&, double, const platform::Reminder&, double)> rowOrder;
};

// The sections in display order, each sorted by the row order and then, once
// any rank is stored, by the manual ranks (equal ranks keep the row order).
std::vector<SectionRows> sectionedRows(const SectionInputs& inputs);

// Whether index `a` of a section comes before `b` by their positions: the
// lower position first, the lower index on equal positions.
bool positionComparator(int a, int b, const QList<double>& positions);

// The reminders done today as the list shows them: none while searching;
// else those of the included lists, the latest completed first.
std::vector<platform::Reminder> doneTodayRows(const std::vector<platform::Reminder>& completedToday,
                                              const QSet<QString>& includedListIDs, bool queryBlank);

// The list's expected height: 30 per header, 46 per reminder whose title has
// fewer than 49 characters and 66 for a longer one, and 60 for "Nothing to
// do" when no section shows.
double estimatedListHeight(const std::vector<SectionRows>& sections, const std::vector<platform::Reminder>& doneRows);

}  // namespace tavlin::panel
