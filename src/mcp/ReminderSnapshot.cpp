#include "mcp/ReminderSnapshot.h"

#include "parsing/RecurrenceEdit.h"
#include "parsing/ReminderEditing.h"
#include "platform/DueDate.h"
#include "platform/Locale.h"
#include "store/DueState.h"

#include <QStringList>

using namespace Qt::StringLiterals;
using nlohmann::json;

namespace tavlin::mcp {

using platform::Reminder;

namespace {

std::optional<ReminderSnapshot::Recurrence> recurrenceOf(const Reminder& reminder) {
    if (reminder.recurrenceRules.empty()) return std::nullopt;
    const platform::RecurrenceRule& rule = reminder.recurrenceRules.front();
    const int frequency = static_cast<int>(rule.frequency);
    if (frequency > static_cast<int>(parsing::RecurrenceFrequency::yearly)) return std::nullopt;
    return ReminderSnapshot::Recurrence{static_cast<parsing::RecurrenceFrequency>(frequency), rule.interval};
}

std::optional<ReminderSnapshot::Place> placeOf(const Reminder& reminder) {
    const std::optional<platform::StructuredLocation> location = parsing::ReminderEditing::alarmLocation(reminder);
    if (!location) return std::nullopt;
    ReminderSnapshot::Place place{.name = location->title, .radius = location->radius};
    if (location->geoLocation) {
        place.latitude = location->geoLocation->latitude;
        place.longitude = location->geoLocation->longitude;
    }
    const auto located = std::find_if(reminder.alarms.begin(), reminder.alarms.end(), [](const platform::Alarm& alarm) {
        return alarm.structuredLocation.has_value();
    });
    place.onDeparture = located != reminder.alarms.end() && located->proximity == platform::AlarmProximity::leave;
    return place;
}

// Notes as a snapshot shows them: a long note is cut, and says so, so that
// one reminder's notes cannot swell every reply that lists it.
std::optional<QString> shownNotes(const QString& notes) {
    if (notes.isEmpty()) return std::nullopt;
    if (notes.size() <= ReminderSnapshot::maxNotesLength) return notes;
    qsizetype cut = ReminderSnapshot::maxNotesLength;
    if (notes.at(cut - 1).isHighSurrogate()) --cut;
    return notes.left(cut) + u"… [notes cut here: %1 of their %2 characters are shown]"_s.arg(cut).arg(notes.size());
}

bool hasTime(const std::optional<platform::DateComponents>& components) { return components && components->hasTime(); }

QString dueStateWord(const store::DueState& state) {
    switch (state.kind()) {
    case store::DueState::Kind::upcoming: return u"upcoming"_s;
    case store::DueState::Kind::overdue: return u"overdue"_s;
    case store::DueState::Kind::today: return u"today"_s;
    case store::DueState::Kind::none: break;
    }
    return u"none"_s;
}

std::string utf8(const QString& text) { return text.toStdString(); }

}  // namespace

SnapshotClock::SnapshotClock(platform::Date now, platform::Calendar calendar)
    : now_(now),
      calendar_(std::move(calendar)),
      dateTime_(u"yyyy-MM-dd'T'HH:mm:ssXXX"_s, platform::Locale::posix(), calendar_.timeZone()),
      day_(u"yyyy-MM-dd"_s, platform::Locale::posix(), calendar_.timeZone()) {}

std::optional<QString> SnapshotClock::dueText(const std::optional<platform::DateComponents>& components) const {
    return dueText(components, hasTime(components));
}

std::optional<QString> SnapshotClock::dueText(const std::optional<platform::DateComponents>& components,
                                              bool showsTime) const {
    const std::optional<platform::Date> due = platform::DueDate::date(components, calendar_);
    if (!due) return std::nullopt;
    return showsTime ? dateTime(*due) : day(*due);
}

ReminderSnapshot ReminderSnapshot::of(const Reminder& reminder, const std::optional<platform::ReminderList>& list) {
    return {
        .id = reminder.identifier,
        .title = reminder.title,
        .notes = shownNotes(reminder.notes),
        .listName = list ? std::optional(list->title) : std::nullopt,
        .listID = list ? std::optional(list->identifier) : std::nullopt,
        .dueDateComponents = reminder.dueDateComponents,
        .priority = reminder.priority,
        .isCompleted = reminder.completed,
        .completedAt = reminder.completionDate,
        .createdAt = reminder.creationDate,
        .recurrence = recurrenceOf(reminder),
        .place = placeOf(reminder),
    };
}

QString ReminderSnapshot::priorityWord(int priority) {
    switch (platform::priorityLevel(priority)) {
    case platform::Priority::high: return u"high"_s;
    case platform::Priority::medium: return u"medium"_s;
    case platform::Priority::low: return u"low"_s;
    case platform::Priority::none: break;
    }
    return u"none"_s;
}

QString ReminderSnapshot::repeatText(parsing::RecurrenceFrequency frequency, int interval) {
    return parsing::RecurrenceEdit::everyText(frequency, interval);
}

json ReminderSnapshot::json(const SnapshotClock& clock) const {
    nlohmann::json object = {
        {"id", utf8(id)},
        {"title", utf8(title)},
        {"priority", utf8(priorityWord(priority))},
        {"completed", isCompleted},
        {"dueState", utf8(dueStateWord(store::DueState(dueDateComponents, clock.now(), clock.calendar())))},
    };
    if (notes && !notes->isEmpty()) object["notes"] = utf8(*notes);
    if (listName) object["list"] = utf8(*listName);
    if (const std::optional<QString> due = clock.dueText(dueDateComponents)) {
        object["due"] = utf8(*due);
        object["dueHasTime"] = hasTime(dueDateComponents);
    }
    if (completedAt) object["completedAt"] = utf8(clock.dateTime(*completedAt));
    if (createdAt) object["createdAt"] = utf8(clock.dateTime(*createdAt));
    if (recurrence) object["repeats"] = utf8(repeatText(recurrence->frequency, recurrence->interval));
    if (place) {
        nlohmann::json location = {{"name", utf8(place->name)}, {"trigger", place->onDeparture ? "leave" : "arrive"}};
        if (place->latitude && place->longitude) {
            location["latitude"] = *place->latitude;
            location["longitude"] = *place->longitude;
        }
        if (place->radius > 0) location["radius"] = place->radius;
        object["location"] = std::move(location);
    }
    return object;
}

QString ReminderSnapshot::line(const SnapshotClock& clock) const {
    QStringList pieces{title};
    if (const std::optional<QString> due = clock.dueText(dueDateComponents)) {
        const bool overdue =
            store::DueState(dueDateComponents, clock.now(), clock.calendar()).kind() == store::DueState::Kind::overdue;
        pieces << (overdue ? u"overdue since "_s : u"due "_s) + *due;
    }
    if (priority != 0) pieces << priorityWord(priority) + u" priority"_s;
    if (recurrence) pieces << repeatText(recurrence->frequency, recurrence->interval);
    if (place) pieces << (place->onDeparture ? u"when leaving "_s : u"at "_s) + place->name;
    if (listName) pieces << u"in "_s + *listName;
    if (isCompleted) pieces << u"completed"_s;
    QString text = pieces.join(u" · "_s);
    if (!id.isEmpty()) text += u" ["_s + id + u']';
    return text;
}

}  // namespace tavlin::mcp
