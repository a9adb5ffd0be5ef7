#include "platform/DateComponents.h"

#include <ostream>

namespace tavlin::platform {

namespace {

struct Field {
    CalendarComponent component;
    const char* name;
    std::optional<int> DateComponents::*member;
};

// Largest first, the order in which description() lists them.
constexpr Field kFields[] = {
    {CalendarComponent::Era, "era", &DateComponents::era},
    {CalendarComponent::Year, "year", &DateComponents::year},
    {CalendarComponent::YearForWeekOfYear, "yearForWeekOfYear", &DateComponents::yearForWeekOfYear},
    {CalendarComponent::Month, "month", &DateComponents::month},
    {CalendarComponent::WeekOfYear, "weekOfYear", &DateComponents::weekOfYear},
    {CalendarComponent::WeekOfMonth, "weekOfMonth", &DateComponents::weekOfMonth},
    {CalendarComponent::WeekdayOrdinal, "weekdayOrdinal", &DateComponents::weekdayOrdinal},
    {CalendarComponent::Day, "day", &DateComponents::day},
    {CalendarComponent::Weekday, "weekday", &DateComponents::weekday},
    {CalendarComponent::Hour, "hour", &DateComponents::hour},
    {CalendarComponent::Minute, "minute", &DateComponents::minute},
    {CalendarComponent::Second, "second", &DateComponents::second},
    {CalendarComponent::Nanosecond, "nanosecond", &DateComponents::nanosecond},
};

const Field* fieldOf(CalendarComponent component) {
    for (const Field& field : kFields) {
        if (field.component == component) return &field;
    }
    return nullptr;
}

}  // namespace

std::optional<int> DateComponents::value(CalendarComponent component) const {
    const Field* field = fieldOf(component);
    return field ? this->*field->member : std::nullopt;
}

void DateComponents::setValue(CalendarComponent component, std::optional<int> value) {
    if (const Field* field = fieldOf(component)) this->*field->member = value;
}

QString DateComponents::description() const {
    QStringList parts;
    for (const Field& field : kFields) {
        if (const std::optional<int> value = this->*field.member)
            parts << QStringLiteral("%1: %2").arg(QLatin1String(field.name)).arg(*value);
    }
    if (timeZone) parts << QStringLiteral("timeZone: %1").arg(timeZone->identifier());
    if (calendar) {
        parts << QStringLiteral("calendar: %1 %2 firstWeekday %3 minimumDays %4")
                     .arg(calendar->timeZone().identifier(), calendar->locale().identifier())
                     .arg(calendar->firstWeekday())
                     .arg(calendar->minimumDaysInFirstWeek());
    }
    return u'{' + parts.join(QStringLiteral(", ")) + u'}';
}

std::ostream& operator<<(std::ostream& out, const DateComponents& components) {
    return out << components.description().toStdString();
}

}  // namespace tavlin::platform
