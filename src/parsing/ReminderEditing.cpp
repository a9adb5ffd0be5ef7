#include "parsing/ReminderEditing.h"

#include "parsing/ListTag.h"
#include "parsing/RecurrenceEdit.h"
#include "parsing/TextHelpers.h"
#include "parsing/WordSet.h"
#include "platform/Calendar.h"
#include "platform/DateFormatter.h"
#include "platform/DueDate.h"
#include "platform/Text.h"

#include <cmath>

namespace tavlin::parsing::ReminderEditing {

using namespace Qt::StringLiterals;
using platform::Reminder;

namespace {

std::optional<QString> cadencePiece(const Reminder& reminder) {
    if (reminder.recurrenceRules.empty()) return std::nullopt;
    const RecurrenceEdit::ExistingRule rule = RecurrenceEdit::existingRule(reminder.recurrenceRules.front());
    if (!rule.frequency) return std::nullopt;  // finer than daily: no quick-add words for it
    return RecurrenceEdit::everyText(*rule.frequency, rule.interval);
}

std::optional<QString> priorityPiece(int priority) {
    switch (platform::priorityLevel(priority)) {
    case platform::Priority::high: return u"!!!"_s;
    case platform::Priority::medium: return u"!!"_s;
    case platform::Priority::low: return u"!"_s;
    case platform::Priority::none: break;
    }
    return std::nullopt;
}

void appendPlacePieces(QStringList& pieces, const Reminder& reminder) {
    const std::optional<platform::StructuredLocation> location = alarmLocation(reminder);
    if (!location) return;
    const auto firstWithLocation =
        std::find_if(reminder.alarms.cbegin(), reminder.alarms.cend(),
                     [](const platform::Alarm& a) { return a.structuredLocation.has_value(); });
    const bool leaving =
        firstWithLocation != reminder.alarms.cend() && firstWithLocation->proximity == platform::AlarmProximity::leave;
    pieces.append((leaving ? u"when I leave @"_s : u"@"_s) + location->title);
    // Only a radius the reader takes back; "office 10m" would become the
    // place's name at the next edit.
    const double metres = std::trunc(location->radius);
    if (metres >= 25 && metres <= 10000) pieces.append(QString::number(static_cast<long long>(metres)) + u"m"_s);
}

// The "#" tag of the list, when reading it back names that same list: not
// for a list whose key is empty, nor for one whose key an earlier list
// shares ("Home" and "home").
std::optional<QString> listPiece(const std::optional<QString>& listTitle, const QStringList& listNames) {
    if (!listTitle || !listNames.contains(*listTitle)) return std::nullopt;
    const QString key = normalizedKey(*listTitle);
    if (key.isEmpty()) return std::nullopt;
    QString tag = u"#"_s + key;
    if (QuickAddParser::extractList(tag, listNames) != *listTitle) return std::nullopt;
    return u"#"_s + key;
}

QString titleKey(const QString& title) {
    QString text = title;
    text.replace(QChar(0x2019), QLatin1Char('\''));
    return platform::trimmedWhitespaceAndNewlines(WordSet::fold(text));
}

}  // namespace

QString quickAddText(const Reminder& reminder, const std::optional<QString>& listTitle, const QStringList& listNames) {
    QStringList pieces{reminder.title};
    if (const auto due = dueDateText(reminder)) pieces.append(*due);
    if (const auto cadence = cadencePiece(reminder)) pieces.append(*cadence);
    appendPlacePieces(pieces, reminder);
    if (const auto marks = priorityPiece(reminder.priority)) pieces.append(*marks);
    if (const auto tag = listPiece(listTitle, listNames)) pieces.append(*tag);
    pieces.removeAll(QString());
    return pieces.join(u' ');
}

std::optional<QString> dueDateText(const Reminder& reminder) {
    const std::optional<platform::Date> due =
        platform::DueDate::date(reminder.dueDateComponents, platform::Calendar::current());
    if (!due) return std::nullopt;
    static const platform::DateFormatter dateOnly(u"d MMM yyyy"_s);
    static const platform::DateFormatter dateAndTime(u"d MMM yyyy HH:mm"_s);
    const bool timed = reminder.dueDateComponents->hasTime();
    return (timed ? dateAndTime : dateOnly).string(*due);
}

std::optional<platform::StructuredLocation> alarmLocation(const Reminder& reminder) {
    for (const platform::Alarm& alarm : reminder.alarms)
        if (alarm.structuredLocation && !alarm.structuredLocation->title.isEmpty()) return alarm.structuredLocation;
    return std::nullopt;
}

bool titlesMatch(const QString& a, const QString& b) {
    const QString key = titleKey(a);
    return !key.isEmpty() && key == titleKey(b);
}

}  // namespace tavlin::parsing::ReminderEditing
