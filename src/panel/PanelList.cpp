#include "panel/PanelList.h"

#include "panel/InlineEdit.h"
#include "panel/RowOrder.h"
#include "panel/RowSelection.h"
#include "panel/TypedLine.h"
#include "store/LocationProvider.h"
#include "store/Settings.h"

#include <algorithm>

namespace tavlin::panel {

namespace {

constexpr double minimumListHeight = 40;
constexpr double defaultListCap = 380;
constexpr double minimumListCap = 100;
constexpr double maximumListCap = 900;

bool isBlank(const QString& query) { return query.trimmed().isEmpty(); }

}  // namespace

PanelList::PanelList(Sources sources, QObject* parent)
    : QObject(parent),
      sources_(sources),
      rowFilter_(*sources_.store, sources_.wallClock->calendar),
      derived_(std::make_unique<Derivations>(*this)) {}

PanelList::Derivations::Derivations(const PanelList& list)
    : sections([&list] { return list.makeSections(); }),
      doneRows([&list] { return list.makeDoneRows(); }),
      rows([&list] { return list.makeRows(); }) {}

PanelList::~PanelList() = default;

std::vector<platform::Reminder> PanelList::filteredRows() const {
    return rowFilter_.filteredRows(sources_.line->trimmedQuery(), sources_.wallClock->now());
}

QSet<QString> PanelList::nearbyReminderIDs() const {
    const NearbyContext context{.groupingOn = sources_.settings->groupNearbyEnabled(),
                                .authorization = sources_.locationProvider->authorization(),
                                .here = sources_.locationProvider->current()};
    return panel::nearbyReminderIDs(filteredRows(), context);
}

std::vector<SectionRows> PanelList::makeSections() const {
    const std::vector<platform::Reminder> rows = filteredRows();
    const platform::Calendar& calendar = sources_.wallClock->calendar;
    store::Settings& settings = *sources_.settings;
    return panel::sectionedRows({
        .rows = &rows,
        // Filtering the rows again only when they may be near.
        .nearbyIDs = settings.groupNearbyEnabled() ? nearbyReminderIDs() : QSet<QString>(),
        .storeNow = sources_.store->now(),
        .wallNow = sources_.wallClock->now(),
        .calendar = &calendar,
        // The store keeps every due instant in its calendar, across openings.
        .dueOf = sources_.store->calendar() == calendar
                     ? std::function([store = sources_.store](const platform::Reminder& reminder) {
                           return store->keptDueDate(reminder);
                       })
                     : nullptr,
        .visibility = settings.sectionVisibility(),
        .queryBlank = isBlank(sources_.line->query()),
        .ranks = settings.manualOrderRanks(),
        .rowOrder =
            [](const platform::Reminder& a, double dueA, const platform::Reminder& b, double dueB) {
                return rowOrder(a, platform::Date::fromSecondsSince1970(dueA), b,
                                platform::Date::fromSecondsSince1970(dueB));
            },
    });
}

std::vector<platform::Reminder> PanelList::makeDoneRows() const {
    return panel::doneTodayRows(sources_.store->completedToday(), sources_.settings->includedListIDs(),
                                isBlank(sources_.line->query()));
}

std::vector<ListRow> PanelList::makeRows() const {
    return panel::listRows({
        .sections = &sectionedRows(),
        .doneRows = &doneTodayRows(),
        .selection = sources_.selection->selection(),
        .count = flatRowCount(),
        .completingIDs = completingIDs(),
        .editingID = sources_.edit->editingID(),
    });
}

double PanelList::estimatedListHeight() const { return panel::estimatedListHeight(sectionedRows(), doneTodayRows()); }

bool PanelList::hasListRows() const { return !sectionedRows().empty() || !doneTodayRows().empty(); }

// While a line is typed every section shows: no section is no fitting row.
bool PanelList::showsCreateRow() const { return !sources_.line->trimmedQuery().isEmpty() && sectionedRows().empty(); }

std::vector<RowItem> PanelList::flatRows() const {
    std::vector<RowItem> rows;
    for (const SectionRows& section : sectionedRows())
        for (const platform::Reminder& reminder : section.reminders) rows.push_back({reminder});
    if (showsCreateRow()) rows.push_back({RowItem::Create{}});
    return rows;
}

FlatRowCount PanelList::flatRowCount() const {
    int reminders = 0;
    for (const SectionRows& section : sectionedRows()) reminders += int(section.reminders.size());
    return {reminders, showsCreateRow()};
}

std::vector<platform::Reminder> PanelList::selectedReminders() const {
    std::vector<const platform::Reminder*> flat;
    for (const SectionRows& section : sectionedRows())
        for (const platform::Reminder& reminder : section.reminders) flat.push_back(&reminder);
    std::vector<platform::Reminder> selected;
    for (const int index : sources_.selection->selectedIndexes())
        if (isValidRowIndex(index, int(flat.size()))) selected.push_back(*flat[std::size_t(index)]);
    return selected;
}

double PanelList::listContentHeightForFrame() const {
    return hasListRows() ? estimatedListHeight() : listContentHeight();
}

double PanelList::listFrameHeight(double content, std::optional<double> storedHeight) {
    const double cap = storedHeight ? std::clamp(*storedHeight, minimumListCap, maximumListCap) : defaultListCap;
    return std::min(std::max(minimumListHeight, content), cap);
}

double PanelList::tallestListFrame() { return maximumListCap; }

double PanelList::listFrameHeight() const {
    return listFrameHeight(listContentHeightForFrame(), sources_.settings->pinnedPanelListHeight());
}

void PanelList::setCompletingIDs(QSet<QString> ids) {
    store::publish(this, completingIDs_, std::move(ids), &PanelList::completingIDsChanged);
}

void PanelList::setListContentHeight(double height) {
    store::publish(this, listContentHeight_, height, &PanelList::listContentHeightChanged);
}

}  // namespace tavlin::panel
