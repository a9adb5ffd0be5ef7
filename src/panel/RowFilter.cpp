#include "panel/RowFilter.h"

#include "panel/EffectiveParse.h"
#include "parsing/ReminderEditing.h"
#include "platform/DueDate.h"
#include "platform/Geodesic.h"
#include "store/ObservationTracking.h"
#include "store/ReminderStore.h"

#include <QHash>
#include <QPointer>

namespace tavlin::panel {

namespace {

constexpr double defaultNearbyRadius = 250;  // metres, for a place without its own

std::optional<parsing::RecurrenceFrequency> frequencyOf(platform::RecurrenceRule::Frequency frequency) {
    using Frequency = platform::RecurrenceRule::Frequency;
    switch (frequency) {
    case Frequency::daily: return parsing::RecurrenceFrequency::daily;
    case Frequency::weekly: return parsing::RecurrenceFrequency::weekly;
    case Frequency::monthly: return parsing::RecurrenceFrequency::monthly;
    case Frequency::yearly: return parsing::RecurrenceFrequency::yearly;
    case Frequency::hourly:
    case Frequency::minutely:
    case Frequency::secondly: return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

// A visible reminder with what the search compares, worked out once.
struct RowFilter::Entry {
    platform::Reminder reminder;
    std::optional<QString> listTitle;
    std::optional<platform::StandardSearchText> place;  // the title of its place alarm
    platform::StandardSearchText title;
    platform::StandardSearchText notes;
    // The start of its due day, worked out at the first search by a day:
    // the calendar's arithmetic is costly, and most openings search by none.
    mutable std::optional<std::optional<platform::Date>> dueDayStart;

    std::optional<platform::Date> dueDayStartIn(const platform::Calendar& calendar) const {
        if (!dueDayStart) {
            const std::optional<platform::Date> due = platform::DueDate::date(reminder.dueDateComponents, calendar);
            dueDayStart = due ? std::optional(calendar.startOfDay(*due)) : std::nullopt;
        }
        return *dueDayStart;
    }
};

RowFilter::RowFilter(const store::ReminderStore& store, const platform::Calendar& calendar, QObject* parent)
    : QObject(parent), store_(store), calendar_(calendar) {}

RowFilter::~RowFilter() = default;

void RowFilter::rebuild() const {
    store::ObservationTracking::track(
        [this] {
            QHash<QString, QString> titles;
            listTitles_.clear();
            for (const platform::ReminderList& list : store_.lists()) {
                titles.insert(list.identifier, list.title);
                listTitles_ << list.title;
            }
            entries_.clear();
            for (const platform::Reminder& reminder : store_.visibleReminders()) {
                Entry entry{.title = platform::StandardSearchText(reminder.title),
                            .notes = platform::StandardSearchText(reminder.notes)};
                if (const auto found = titles.constFind(reminder.listIdentifier); found != titles.constEnd())
                    entry.listTitle = *found;
                if (const auto place = parsing::ReminderEditing::alarmLocation(reminder))
                    entry.place = platform::StandardSearchText(place->title);
                entry.reminder = reminder;
                entries_.push_back(std::move(entry));
            }
        },
        // The next search builds them again; its readers hear of it now.
        [self = QPointer<RowFilter>(const_cast<RowFilter*>(this))] {
            if (!self) return;
            self->stale_ = true;
            ++self->generation_;
            emit self->rowsChanged();
        });
    stale_ = false;
}

std::vector<platform::Reminder> RowFilter::filteredRows(const QString& line, platform::Date now) const {
    if (stale_) rebuild();
    store::observed(this, generation_, &RowFilter::rowsChanged);
    std::vector<platform::Reminder> rows;
    if (line.isEmpty()) {
        rows.reserve(entries_.size());
        for (const Entry& entry : entries_) rows.push_back(entry.reminder);
        return rows;
    }

    const parsing::ParsedQuickAdd parsed =
        ReadingContext{.listTitles = listTitles_, .now = now, .calendar = calendar_}.parse(line);
    std::optional<platform::Date> day;
    if (const auto date = platform::DueDate::date(parsed.dueDateComponents, calendar_))
        day = calendar_.startOfDay(*date);
    const std::optional<platform::StandardSearchTarget> place =
        parsed.locationName ? std::optional(platform::StandardSearchTarget(*parsed.locationName)) : std::nullopt;
    const std::optional<platform::StandardSearchTarget> words =
        parsed.title.isEmpty() ? std::nullopt : std::optional(platform::StandardSearchTarget(parsed.title));

    for (const Entry& entry : entries_) {
        if (day && entry.dueDayStartIn(calendar_) != day) continue;
        if (parsed.listName && entry.listTitle != parsed.listName) continue;
        if (place && !(entry.place && entry.place->contains(*place))) continue;
        if (parsed.recurrenceFrequency && !recurrenceMatches(entry.reminder, parsed)) continue;
        if (words && !entry.title.contains(*words) && !entry.notes.contains(*words)) continue;
        rows.push_back(entry.reminder);
    }
    return rows;
}

bool recurrenceMatches(const platform::Reminder& reminder, const parsing::ParsedQuickAdd& parsed) {
    if (reminder.recurrenceRules.empty()) return !parsed.recurrenceFrequency;
    if (!parsed.recurrenceFrequency) return true;
    const platform::RecurrenceRule& rule = reminder.recurrenceRules.front();
    const std::optional<parsing::RecurrenceFrequency> frequency = frequencyOf(rule.frequency);
    return frequency && *frequency == *parsed.recurrenceFrequency && rule.interval == parsed.recurrenceInterval;
}

QSet<QString> nearbyReminderIDs(const std::vector<platform::Reminder>& rows, const NearbyContext& context) {
    QSet<QString> near;
    if (!context.groupingOn || context.authorization != platform::LocationAuthorization::authorizedAlways ||
        !context.here)
        return near;
    for (const platform::Reminder& reminder : rows) {
        const std::optional<platform::StructuredLocation> place = parsing::ReminderEditing::alarmLocation(reminder);
        if (!place || !place->geoLocation) continue;
        const double threshold = place->radius > 0 ? place->radius : defaultNearbyRadius;
        const double distance = platform::geodesicDistance(context.here->latitude, context.here->longitude,
                                                           place->geoLocation->latitude, place->geoLocation->longitude);
        if (distance <= threshold) near.insert(reminder.identifier);
    }
    return near;
}

}  // namespace tavlin::panel
