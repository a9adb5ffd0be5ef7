#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/LocationManager.h"
#include "platform/Text.h"
#include "platform/eventstore/Reminder.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tavlin::store {
class ReminderStore;
}

namespace tavlin::panel {

// The reminders that fit the typed line: the field searches them in the
// quick-add language. "milk #Groceries" keeps the reminders of Groceries
// whose title or notes hold "milk"; "tomorrow" those due tomorrow; "every
// week" those that repeat weekly; "@office" those whose place is named so.
//
// It keeps the store's visible reminders with their texts folded for the
// search, made afresh once after each change of what the store shows
// rather than at each keystroke. Its result is published: a reader is told
// when the store's rows change. Main thread only.
class RowFilter : public QObject {
    Q_OBJECT

public:
    // Days are the days of `calendar`.
    RowFilter(const store::ReminderStore& store, const platform::Calendar& calendar, QObject* parent = nullptr);
    ~RowFilter() override;

    // The visible reminders that fit `line` (trimmed), in the store's order:
    // every reminder for an empty line. The line is read by the rules alone
    // ("every week" narrows by its cadence, not by today), at `now`.
    std::vector<platform::Reminder> filteredRows(const QString& line, platform::Date now) const;

signals:
    // What the store shows changed.
    void rowsChanged();

private:
    struct Entry;

    void rebuild() const;

    const store::ReminderStore& store_;
    const platform::Calendar& calendar_;
    mutable std::vector<Entry> entries_;
    mutable QStringList listTitles_;
    mutable bool stale_ = true;
    int generation_ = 0;  // published: each change of the store's rows
};

// Whether `reminder` repeats as `parsed` says, by its first rule only: any
// way when the line names no cadence; never for a frequency the line cannot
// name; else with the same frequency and interval. A reminder without rules
// fits only a line without a cadence.
bool recurrenceMatches(const platform::Reminder& reminder, const parsing::ParsedQuickAdd& parsed);

// Where the user is, for the nearby rows.
struct NearbyContext {
    bool groupingOn = false;
    platform::LocationAuthorization authorization = platform::LocationAuthorization::notDetermined;
    std::optional<platform::Location> here;
};

// The identifiers of the `rows` whose place is near: only with grouping on,
// the permission to locate always, and a fix. Near is within the place's
// radius, or 250 m where it has none, the bound included.
QSet<QString> nearbyReminderIDs(const std::vector<platform::Reminder>& rows, const NearbyContext& context);

}  // namespace tavlin::panel
