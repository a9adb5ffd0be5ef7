#include "platform/eventstore/ICalendarReminder.h"

#include "platform/Calendar.h"
#include "platform/IcuString.h"

#include <QHash>
#include <QUuid>

#include <libical/ical.h>
#include <unicode/vtzone.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <mutex>

using namespace Qt::StringLiterals;

namespace tavlin::platform::ICalendarReminder {

namespace {

// The trigger that location alarms carry so that clients which do not know
// them still see a valid alarm; it is the date such alarms are written with.
constexpr QByteArrayView kLocationAlarmTrigger = "19760401T005545Z";
constexpr QByteArrayView kProductId = "-//Tavlin//Tavlin Reminders//EN";
// The link from a done occurrence to the reminder that continues its series,
// and the rules the occurrence had.
constexpr QByteArrayView kContinuedBy = "X-TAVLIN-CONTINUED-BY";
constexpr QByteArrayView kStashedRule = "X-TAVLIN-RRULE";
constexpr QByteArrayView kSuccessorTag = "X-TAVLIN-TAG";  // a parameter of kContinuedBy

// ---- Values ----------------------------------------------------------------

QByteArray digits(int value, int width) { return QByteArray::number(value).rightJustified(width, '0'); }

QByteArray dayText(int year, int month, int day) { return digits(year, 4) + digits(month, 2) + digits(day, 2); }

QByteArray timeText(int hour, int minute, int second) {
    return 'T' + digits(hour, 2) + digits(minute, 2) + digits(second, 2);
}

QByteArray utcText(Date date) {
    const auto seconds = static_cast<time_t>(std::floor(date.secondsSince1970()));
    const struct icaltimetype t = icaltime_from_timet_with_zone(seconds, 0, icaltimezone_get_utc_timezone());
    return dayText(t.year, t.month, t.day) + timeText(t.hour, t.minute, t.second) + 'Z';
}

QByteArray numberText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QByteArray(buffer, result.ptr - buffer);
}

std::optional<double> parseNumber(QByteArrayView text) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

QString textValue(const ICalendarProperty* property) {
    if (!property) return {};
    const QByteArray& value = property->value();
    return QString::fromUtf8(value.contains('\\') ? unescapeText(value) : value);
}

bool isUtc(const TimeZone& zone) {
    static const QStringList utcNames{u"GMT"_s, u"UTC"_s, u"Etc/UTC"_s, u"Etc/GMT"_s};
    return utcNames.contains(zone.identifier());
}

// A TZID as clients write it: an IANA name, or one behind a vendor prefix
// ("/freeassociation.sourceforge.net/Europe/Amsterdam"). Looked up once, by
// whichever thread reads it first.
std::optional<TimeZone> zoneNamed(const QByteArray& tzid) {
    static QHash<QByteArray, std::optional<TimeZone>> known;
    static std::mutex guard;
    const std::lock_guard lock(guard);
    if (const auto found = known.constFind(tzid); found != known.cend()) return *found;
    std::optional<TimeZone> zone;
    for (QByteArrayView name = tzid; !zone && !name.empty();) {
        zone = TimeZone::fromIdentifier(QString::fromUtf8(name));
        const qsizetype slash = name.indexOf('/', 1);
        if (slash < 0) break;
        name = name.sliced(slash + 1);
    }
    known.insert(tzid, zone);
    return zone;
}

// A date, with its time unless it is a DATE; of zones only UTC is known here.
DateComponents componentsOf(const struct icaltimetype& time) {
    DateComponents c{.year = time.year, .month = time.month, .day = time.day};
    if (time.is_date) return c;
    c.hour = time.hour;
    c.minute = time.minute;
    if (time.second != 0) c.second = time.second;
    if (icaltime_is_utc(time)) c.timeZone = TimeZone::gmt();
    return c;
}

// A DATE or DATE-TIME property as components: date-only, or with a time in
// UTC, in its TZID's zone, or floating.
std::optional<DateComponents> components(const ICalendarProperty& property) {
    const struct icaltimetype time = icaltime_from_string(property.value().constData());
    if (icaltime_is_null_time(time)) return std::nullopt;
    DateComponents c = componentsOf(time);
    if (time.is_date || icaltime_is_utc(time)) return c;
    if (const auto tzid = property.parameter("TZID")) c.timeZone = zoneNamed(*tzid);
    return c;
}

// An instant: UTC and zoned times as they say, floating ones in the user's zone.
std::optional<Date> instant(const DateComponents& c) { return Calendar::current().date(c); }

// UTC times, the most common by far, without a calendar.
std::optional<Date> instant(const ICalendarProperty* property) {
    if (!property) return std::nullopt;
    const struct icaltimetype time = icaltime_from_string(property->value().constData());
    if (icaltime_is_null_time(time)) return std::nullopt;
    if (icaltime_is_utc(time)) return Date::fromSecondsSince1970(static_cast<double>(icaltime_as_timet(time)));
    const auto c = components(*property);
    return c ? instant(*c) : std::nullopt;
}

ICalendarProperty dateProperty(QByteArray name, const DateComponents& c) {
    const QByteArray day = dayText(c.year.value_or(1970), c.month.value_or(1), c.day.value_or(1));
    if (!c.hasTime()) return {std::move(name), day, {{"VALUE", "DATE"}}};
    const QByteArray text = day + timeText(c.hour.value_or(0), c.minute.value_or(0), c.second.value_or(0));
    if (!c.timeZone) return {std::move(name), text};
    if (isUtc(*c.timeZone)) return {std::move(name), text + 'Z'};
    return {std::move(name), text, {{"TZID", c.timeZone->identifier().toUtf8()}}};
}

// A VTIMEZONE for a zone, with the rules in force at `date`, so that clients
// that do not know IANA names can still read the time.
std::optional<ICalendarComponent> timeZoneComponent(const TimeZone& zone, Date date) {
    std::unique_ptr<icu::VTimeZone> vzone(icu::VTimeZone::createVTimeZoneByID(icuView(zone.identifier())));
    icu::UnicodeString text;
    UErrorCode status = U_ZERO_ERROR;
    if (vzone) vzone->writeSimple(date.toUDate(), text, status);
    if (!vzone || U_FAILURE(status)) return std::nullopt;
    auto component = ICalendarComponent::parse(fromIcu(text).toUtf8());
    if (component) component->removeProperties("X-TZINFO");  // names the ICU build, nothing more
    return component;
}

void addTimeZoneIfMissing(ICalendarComponent& calendar, const DateComponents& c) {
    if (!c.hasTime() || !c.timeZone || isUtc(*c.timeZone)) return;
    const QByteArray tzid = c.timeZone->identifier().toUtf8();
    for (const ICalendarComponent& existing : calendar.components())
        if (existing.name() == "VTIMEZONE" && existing.property("TZID") && existing.property("TZID")->value() == tzid)
            return;
    const auto date = instant(c);
    if (!date) return;
    if (auto component = timeZoneComponent(*c.timeZone, *date))
        calendar.components().insert(calendar.components().begin(), std::move(*component));
}

// ---- Recurrence rules ------------------------------------------------------

using Frequency = RecurrenceRule::Frequency;

constexpr std::pair<icalrecurrencetype_frequency, Frequency> kFrequencies[] = {
    {ICAL_DAILY_RECURRENCE, Frequency::daily},       {ICAL_WEEKLY_RECURRENCE, Frequency::weekly},
    {ICAL_MONTHLY_RECURRENCE, Frequency::monthly},   {ICAL_YEARLY_RECURRENCE, Frequency::yearly},
    {ICAL_HOURLY_RECURRENCE, Frequency::hourly},     {ICAL_MINUTELY_RECURRENCE, Frequency::minutely},
    {ICAL_SECONDLY_RECURRENCE, Frequency::secondly},
};

std::vector<int> numbers(const short* values, int capacity) {
    std::vector<int> list;
    for (int i = 0; i < capacity && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) list.push_back(values[i]);
    return list;
}

std::optional<RecurrenceRule> readRule(const QByteArray& value) {
    struct icalrecurrencetype recurrence = icalrecurrencetype_from_string(value.constData());
    const auto frequency = std::find_if(std::begin(kFrequencies), std::end(kFrequencies),
                                        [&](const auto& pair) { return pair.first == recurrence.freq; });
    if (frequency == std::end(kFrequencies)) return std::nullopt;
    RecurrenceRule rule{.frequency = frequency->second, .interval = std::max<int>(recurrence.interval, 1)};
    if (!icaltime_is_null_time(recurrence.until)) {
        rule.end = RecurrenceEnd{.date = componentsOf(recurrence.until)};
    } else if (recurrence.count > 0) {
        rule.end = RecurrenceEnd{.occurrenceCount = recurrence.count};
    }
    for (const int day : numbers(recurrence.by_day, ICAL_BY_DAY_SIZE))
        rule.daysOfTheWeek.push_back({.weekday = icalrecurrencetype_day_day_of_week(static_cast<short>(day)),
                                      .weekNumber = icalrecurrencetype_day_position(static_cast<short>(day))});
    rule.daysOfTheMonth = numbers(recurrence.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    for (const int month : numbers(recurrence.by_month, ICAL_BY_MONTH_SIZE))
        rule.monthsOfTheYear.push_back(icalrecurrencetype_month_month(static_cast<short>(month)));
    rule.weeksOfTheYear = numbers(recurrence.by_week_no, ICAL_BY_WEEKNO_SIZE);
    rule.daysOfTheYear = numbers(recurrence.by_year_day, ICAL_BY_YEARDAY_SIZE);
    rule.setPositions = numbers(recurrence.by_set_pos, ICAL_BY_SETPOS_SIZE);
    icalrecurrencetype_clear(&recurrence);  // frees its rscale
    return rule;
}

QByteArray joined(const std::vector<int>& values) {
    QByteArray text;
    for (const int value : values) text += (text.isEmpty() ? "" : ",") + QByteArray::number(value);
    return text;
}

const char* frequencyName(Frequency frequency) {
    const auto found = std::find_if(std::begin(kFrequencies), std::end(kFrequencies),
                                    [&](const auto& pair) { return pair.second == frequency; });
    return icalrecur_freq_to_string(found->first);
}

QByteArray daysText(const std::vector<RecurrenceDayOfWeek>& days) {
    static const char* const names[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
    QByteArray text;
    for (const RecurrenceDayOfWeek& day : days) {
        if (!text.isEmpty()) text += ',';
        if (day.weekNumber != 0) text += QByteArray::number(day.weekNumber);
        text += names[std::clamp(day.weekday, 1, 7) - 1];
    }
    return text;
}

bool isModelledPart(QByteArrayView part) {
    static const QByteArrayView modelled[] = {"FREQ",       "INTERVAL", "UNTIL",    "COUNT",     "BYDAY",
                                              "BYMONTHDAY", "BYMONTH",  "BYWEEKNO", "BYYEARDAY", "BYSETPOS"};
    const QByteArrayView key = part.first(std::max<qsizetype>(part.indexOf('='), 0));
    return std::any_of(std::begin(modelled), std::end(modelled),
                       [&](QByteArrayView name) { return key.compare(name, Qt::CaseInsensitive) == 0; });
}

// An RRULE line libical reads, with the rule it reads as.
struct RuleLine {
    ICalendarProperty property;
    RecurrenceRule rule;
};

// The RRULE value of a rule. Parts the value does not model (WKST, BYHOUR, …)
// come from the rule it replaces, when that one had the same frequency.
QByteArray ruleText(const RecurrenceRule& rule, const RuleLine* replaced = nullptr) {
    QList<QByteArray> parts{QByteArray("FREQ=") + frequencyName(rule.frequency)};
    if (rule.interval > 1) parts += "INTERVAL=" + QByteArray::number(rule.interval);
    if (rule.end && rule.end->date) parts += "UNTIL=" + dateProperty("UNTIL", *rule.end->date).value();
    else if (rule.end) parts += "COUNT=" + QByteArray::number(rule.end->occurrenceCount);
    const std::pair<QByteArrayView, QByteArray> lists[] = {
        {"BYDAY", daysText(rule.daysOfTheWeek)},   {"BYMONTHDAY", joined(rule.daysOfTheMonth)},
        {"BYMONTH", joined(rule.monthsOfTheYear)}, {"BYWEEKNO", joined(rule.weeksOfTheYear)},
        {"BYYEARDAY", joined(rule.daysOfTheYear)}, {"BYSETPOS", joined(rule.setPositions)},
    };
    for (const auto& [key, values] : lists)
        if (!values.isEmpty()) parts += key.toByteArray() + '=' + values;
    if (replaced && replaced->rule.frequency == rule.frequency)
        for (const QByteArray& part : replaced->property.value().split(';'))
            if (!part.isEmpty() && !isModelledPart(part)) parts += part;
    return parts.join(';');
}

std::vector<RecurrenceRule> rules(const ICalendarComponent& todo) {
    std::vector<RecurrenceRule> list;
    for (const ICalendarProperty* property : todo.properties("RRULE"))
        if (auto readable = readRule(property->value())) list.push_back(std::move(*readable));
    return list;
}

// Rules equal to the one in the same place keep their line; rules libical
// cannot read are not ours to drop.
void setRules(ICalendarComponent& todo, const std::vector<RecurrenceRule>& wanted) {
    std::vector<RuleLine> readable;
    std::vector<ICalendarProperty> unreadable;
    for (const ICalendarProperty* property : todo.properties("RRULE")) {
        if (std::optional<RecurrenceRule> rule = readRule(property->value()))
            readable.push_back({*property, std::move(*rule)});
        else unreadable.push_back(*property);
    }
    std::vector<ICalendarProperty> lines;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const RuleLine* old = i < readable.size() ? &readable[i] : nullptr;
        if (old && old->rule == wanted[i]) lines.push_back(old->property);
        else lines.emplace_back("RRULE", ruleText(wanted[i], old));
    }
    lines.insert(lines.end(), unreadable.begin(), unreadable.end());
    todo.setProperties("RRULE", std::move(lines));
}

// A stashed rule is a TEXT value, escaped as one: CalDAV servers rewrite
// the value of a property they do not know as text, escaping its ";" and
// cutting it at its first unescaped ",". Escaped, it passes through them
// unchanged; a line written raw, or escaped by a server, reads the same.
ICalendarProperty stashLine(const QByteArray& rule) { return {kStashedRule.toByteArray(), escapeText(rule)}; }
QByteArray stashedRule(const ICalendarProperty& property) { return unescapeText(property.value()); }

// ---- Alarms ----------------------------------------------------------------

// "geo:52.37,4.89", with the comma escaped or not, and any ";u=…" after it.
std::optional<GeoLocation> geoUri(QByteArrayView value) {
    QByteArray text = value.toByteArray().replace('\\', "");
    if (!text.toLower().startsWith("geo:")) return std::nullopt;
    text = text.sliced(4);
    if (const qsizetype semicolon = text.indexOf(';'); semicolon >= 0) text.truncate(semicolon);
    const QList<QByteArray> coordinates = text.split(',');
    if (coordinates.size() < 2) return std::nullopt;
    const auto latitude = parseNumber(coordinates[0].trimmed());
    const auto longitude = parseNumber(coordinates[1].trimmed());
    if (!latitude || !longitude) return std::nullopt;
    return GeoLocation{*latitude, *longitude};
}

std::optional<StructuredLocation> appleLocation(const ICalendarComponent& alarm) {
    const ICalendarProperty* property = alarm.property("X-APPLE-STRUCTURED-LOCATION");
    if (!property) return std::nullopt;
    StructuredLocation location{.title = QString::fromUtf8(property->parameter("X-TITLE").value_or(QByteArray()))};
    if (const auto radius = property->parameter("X-APPLE-RADIUS")) location.radius = parseNumber(*radius).value_or(0);
    location.geoLocation = geoUri(property->value());
    return location;
}

std::optional<StructuredLocation> standardLocation(const ICalendarComponent& alarm) {
    const ICalendarComponent* vlocation = alarm.component("VLOCATION");
    if (!vlocation) return std::nullopt;
    StructuredLocation location{.title = textValue(vlocation->property("NAME"))};
    if (const ICalendarProperty* uri = vlocation->property("URI")) location.geoLocation = geoUri(uri->value());
    return location;
}

AlarmProximity proximity(const ICalendarComponent& alarm) {
    const ICalendarProperty* property = alarm.property("X-APPLE-PROXIMITY");
    if (!property) property = alarm.property("PROXIMITY");
    if (!property) return AlarmProximity::none;
    const QByteArray value = property->value().toUpper();
    return value == "ARRIVE" ? AlarmProximity::enter : value == "DEPART" ? AlarmProximity::leave : AlarmProximity::none;
}

void readTrigger(const ICalendarProperty& trigger, Alarm& alarm) {
    if (!trigger.hasParameterValue("VALUE", "DATE-TIME")) {
        const struct icaldurationtype offset = icaldurationtype_from_string(trigger.value().constData());
        if (!icaldurationtype_is_bad_duration(offset)) {
            alarm.relativeOffset = icaldurationtype_as_int(offset);
            alarm.relativeToStart = trigger.hasParameterValue("RELATED", "START");
            return;
        }
    }
    alarm.absoluteDate = instant(&trigger);
    alarm.hasTrigger = alarm.absoluteDate.has_value();
}

// The later of the alarm's own acknowledgement and the one some clients
// keep for all of an item's alarms (X-MOZ-LASTACK).
std::optional<Date> acknowledgement(const ICalendarComponent& valarm, const ICalendarComponent& todo) {
    std::optional<Date> own = instant(valarm.property("ACKNOWLEDGED"));
    const std::optional<Date> items = instant(todo.property("X-MOZ-LASTACK"));
    if (items && (!own || *items > *own)) own = items;
    return own;
}

Alarm readAlarm(const ICalendarComponent& valarm, const ICalendarComponent& todo) {
    Alarm alarm{.proximity = proximity(valarm)};
    alarm.structuredLocation = appleLocation(valarm);
    if (!alarm.structuredLocation) alarm.structuredLocation = standardLocation(valarm);
    if (alarm.structuredLocation) return alarm;  // its trigger is a stand-in
    if (const ICalendarProperty* trigger = valarm.property("TRIGGER")) readTrigger(*trigger, alarm);
    else alarm.hasTrigger = false;
    const ICalendarProperty* related = valarm.property("RELATED-TO");
    alarm.snooze = related && related->hasParameterValue("RELTYPE", "SNOOZE");
    alarm.acknowledged = acknowledgement(valarm, todo);
    return alarm;
}

// The comma of the geo URI is escaped, as some clients write it: a CalDAV
// server that does not know the property rewrites it as text and cuts an
// unescaped value at its comma, losing the longitude.
ICalendarProperty locationProperty(const StructuredLocation& location) {
    ICalendarProperty::Parameters parameters{{"VALUE", "URI"}, {"X-TITLE", location.title.toUtf8()}};
    if (location.radius > 0) parameters.emplace_back("X-APPLE-RADIUS", numberText(location.radius));
    const QByteArray uri = location.geoLocation ? "geo:" + numberText(location.geoLocation->latitude) + "\\," +
                                                      numberText(location.geoLocation->longitude)
                                                : QByteArray();
    return {"X-APPLE-STRUCTURED-LOCATION", uri, parameters};
}

QByteArray durationText(double seconds) {
    char* text = icaldurationtype_as_ical_string_r(icaldurationtype_from_int(static_cast<int>(seconds)));
    QByteArray duration(text);
    icalmemory_free_buffer(text);
    return duration;
}

// Location alarms are written as the platform's other clients write them
// over CalDAV, so that they read them back.
ICalendarComponent alarmComponent(const Alarm& alarm) {
    ICalendarComponent valarm("VALARM");
    valarm.addProperty({"UID", QUuid::createUuid().toByteArray(QUuid::WithoutBraces).toUpper()});
    valarm.addProperty({"ACTION", "DISPLAY"});
    valarm.addProperty({"DESCRIPTION", "Reminder"});
    if (alarm.structuredLocation) {
        valarm.addProperty({"TRIGGER", kLocationAlarmTrigger.toByteArray(), {{"VALUE", "DATE-TIME"}}});
        if (alarm.proximity != AlarmProximity::none)
            valarm.addProperty({"X-APPLE-PROXIMITY", alarm.proximity == AlarmProximity::leave ? "DEPART" : "ARRIVE"});
        valarm.addProperty(locationProperty(*alarm.structuredLocation));
    } else if (alarm.absoluteDate) {
        valarm.addProperty({"TRIGGER", utcText(*alarm.absoluteDate), {{"VALUE", "DATE-TIME"}}});
    } else {
        valarm.addProperty({"TRIGGER", durationText(alarm.relativeOffset)});
    }
    return valarm;
}

std::vector<Alarm> alarms(const ICalendarComponent& todo) {
    std::vector<Alarm> list;
    for (const ICalendarComponent& component : todo.components())
        if (component.name() == "VALARM") list.push_back(readAlarm(component, todo));
    return list;
}

// An alarm equal to one the item has keeps that VALARM whole (its sound,
// its description, whatever another client put in it); the others are new.
void setAlarms(ICalendarComponent& todo, const std::vector<Alarm>& wanted) {
    std::vector<ICalendarComponent> kept, existing;
    for (ICalendarComponent& component : todo.components())
        (component.name() == "VALARM" ? existing : kept).push_back(std::move(component));
    std::vector<std::optional<Alarm>> available;
    for (const ICalendarComponent& valarm : existing) available.emplace_back(readAlarm(valarm, todo));
    for (const Alarm& alarm : wanted) {
        const auto match = std::find(available.begin(), available.end(), alarm);
        if (match == available.end()) {
            kept.push_back(alarmComponent(alarm));
        } else {
            kept.push_back(std::move(existing[match - available.begin()]));
            match->reset();
        }
    }
    todo.components() = std::move(kept);
}

// ---- Other fields ------------------------------------------------------------

void setText(ICalendarComponent& todo, QByteArrayView name, const QString& text) {
    if (text.isEmpty()) todo.removeProperties(name);
    else todo.setProperty({name.toByteArray(), escapeText(text.toUtf8())});
}

void setDate(ICalendarComponent& todo, QByteArrayView name, std::optional<Date> date) {
    if (date) todo.setProperty({name.toByteArray(), utcText(*date)});
    else todo.removeProperties(name);
}

// ---- The place other programs see ---------------------------------------------

// The reminder's place: its first alarm's location that has a title.
const StructuredLocation* placeOf(const std::vector<Alarm>& alarms) {
    for (const Alarm& alarm : alarms)
        if (alarm.structuredLocation && !alarm.structuredLocation->title.isEmpty()) return &*alarm.structuredLocation;
    return nullptr;
}

// Places are the same to other programs when their names and coordinates
// are: a changed radius or trigger is ours alone.
bool samePlace(const StructuredLocation* a, const StructuredLocation* b) {
    if (!a || !b) return a == b;
    return a->title == b->title && a->geoLocation == b->geoLocation;
}

bool isCoordinate(GeoLocation location) {
    return std::abs(location.latitude) <= 90 && std::abs(location.longitude) <= 180;
}

// "GEO:52.37;4.89"; nothing for a value that is no coordinate on the earth.
std::optional<GeoLocation> geoValue(const ICalendarProperty* property) {
    if (!property) return std::nullopt;
    const QList<QByteArray> parts = property->value().split(';');
    if (parts.size() != 2) return std::nullopt;
    const auto latitude = parseNumber(parts[0].trimmed());
    const auto longitude = parseNumber(parts[1].trimmed());
    if (!latitude || !longitude || !isCoordinate({*latitude, *longitude})) return std::nullopt;
    return GeoLocation{*latitude, *longitude};
}

// The place another program gave the item (LOCATION, GEO), as a location
// without an alarm's radius.
std::optional<StructuredLocation> propertyPlace(const ICalendarComponent& todo) {
    const QString title = textValue(todo.property("LOCATION"));
    if (title.trimmed().isEmpty()) return std::nullopt;
    return StructuredLocation{.title = title, .geoLocation = geoValue(todo.property("GEO"))};
}

// LOCATION and GEO say what the alarms' place says, or go with it.
void setPlaceProperties(ICalendarComponent& todo, const StructuredLocation* place) {
    setText(todo, "LOCATION", place ? place->title : QString());
    if (place && place->geoLocation && isCoordinate(*place->geoLocation))
        todo.setProperty(
            {"GEO", numberText(place->geoLocation->latitude) + ';' + numberText(place->geoLocation->longitude)});
    else todo.removeProperties("GEO");
}

int priority(const ICalendarComponent& todo) {
    const ICalendarProperty* property = todo.property("PRIORITY");
    const int value = property ? property->value().trimmed().toInt() : 0;
    return value >= 0 && value <= 9 ? value : 0;
}

bool isCompleted(const ICalendarComponent& todo) {
    const ICalendarProperty* status = todo.property("STATUS");
    return status ? status->value().trimmed().toUpper() == "COMPLETED" : todo.property("COMPLETED") != nullptr;
}

void setCompletion(ICalendarComponent& todo, bool completed, std::optional<Date> completionDate) {
    if (completed) {
        todo.setProperty({"STATUS", "COMPLETED"});
        setDate(todo, "COMPLETED", completionDate);
        todo.setProperty({"PERCENT-COMPLETE", "100"});
        return;
    }
    todo.setProperty({"STATUS", "NEEDS-ACTION"});
    todo.removeProperties("COMPLETED");
    if (const ICalendarProperty* percent = todo.property("PERCENT-COMPLETE"); percent && percent->value() == "100")
        todo.removeProperties("PERCENT-COMPLETE");
}

bool sameDateValue(const ICalendarProperty* a, const ICalendarProperty* b) {
    return a && b && a->value() == b->value() && a->parameter("TZID") == b->parameter("TZID");
}

// A DTSTART that stood at the due date moves with it, and one that would
// come after the new due date is brought back to it: DUE may not precede it.
void setDue(ICalendarComponent& calendar, ICalendarComponent& todo, const std::optional<DateComponents>& due) {
    const ICalendarProperty* start = todo.property("DTSTART");
    const bool startFollowsDue = sameDateValue(start, todo.property("DUE"));
    const std::optional<Date> startDate = instant(start);
    if (!due) {
        todo.removeProperties("DUE");
        if (startFollowsDue) todo.removeProperties("DTSTART");
        return;
    }
    const std::optional<Date> dueDate = instant(*due);
    todo.setProperty(dateProperty("DUE", *due));
    if (startFollowsDue || (startDate && dueDate && *startDate > *dueDate))
        todo.setProperty(dateProperty("DTSTART", *due));
    addTimeZoneIfMissing(calendar, *due);
}

std::optional<DateComponents> due(const ICalendarComponent& todo) {
    const ICalendarProperty* property = todo.property("DUE");
    return property ? components(*property) : std::nullopt;
}

std::optional<DateComponents> start(const ICalendarComponent& todo) {
    const ICalendarProperty* property = todo.property("DTSTART");
    return property ? components(*property) : std::nullopt;
}

// ---- Recurrence --------------------------------------------------------------

struct icaltimetype wallTime(const DateComponents& c) {
    struct icaltimetype time = icaltime_null_time();
    time.year = c.year.value_or(1970);
    time.month = c.month.value_or(1);
    time.day = c.day.value_or(1);
    time.is_date = !c.hasTime();
    if (!time.is_date) {
        time.hour = c.hour.value_or(0);
        time.minute = c.minute.value_or(0);
        time.second = c.second.value_or(0);
    }
    return time;
}

// An occurrence in the form of the due date it follows: a day, or a day and
// a time (with seconds when the rule steps by them).
DateComponents componentsAt(const struct icaltimetype& time, const DateComponents& like) {
    DateComponents c = like;
    c.year = time.year;
    c.month = time.month;
    c.day = time.day;
    if (like.hasTime()) {
        c.hour = time.hour;
        c.minute = time.minute;
        if (like.second || time.second != 0) c.second = time.second;
    }
    return c;
}

// Whether `a` comes after `b` on the wall clock of their shared zone.
bool isLater(const DateComponents& a, const DateComponents& b) {
    const auto wall = [](const DateComponents& c) {
        return std::tuple(c.year.value_or(0), c.month.value_or(0), c.day.value_or(0), c.hour.value_or(0),
                          c.minute.value_or(0), c.second.value_or(0));
    };
    return wall(a) > wall(b);
}

bool isWithinEnd(const DateComponents& occurrence, const RecurrenceEnd& end) {
    if (!end.date) return true;
    if (!end.date->hasTime()) {
        const auto day = [](const DateComponents& c) { return std::tuple(c.year, c.month, c.day); };
        return day(occurrence) <= day(*end.date);
    }
    const auto at = instant(occurrence);
    const auto until = instant(*end.date);
    return at && until && *at <= *until;
}

// The first occurrence of the rule after `due`, with `due` counted as the
// first one. The rule's end is checked here, in the due date's own zone.
// An occurrence that a date-only or minute-only due date cannot tell from
// `due` (a rule finer than it) is no next one: looking on, the search
// either reaches a later one or gives up.
std::optional<DateComponents> occurrenceAfter(const DateComponents& due, const RecurrenceRule& rule) {
    RecurrenceRule unbounded = rule;
    if (rule.end && rule.end->date) unbounded.end.reset();
    struct icalrecurrencetype recurrence = icalrecurrencetype_from_string(ruleText(unbounded).constData());
    const struct icaltimetype start = wallTime(due);
    icalrecur_iterator* iterator = icalrecur_iterator_new(recurrence, start);
    std::optional<DateComponents> next;
    constexpr int kSearchLimit = 1000;  // against rules that never match
    for (int step = 0; iterator && !next && step < kSearchLimit; ++step) {
        const struct icaltimetype time = icalrecur_iterator_next(iterator);
        if (icaltime_is_null_time(time)) break;
        if (const DateComponents candidate = componentsAt(time, due); isLater(candidate, due)) next = candidate;
    }
    if (iterator) icalrecur_iterator_free(iterator);
    icalrecurrencetype_clear(&recurrence);
    if (next && rule.end && !isWithinEnd(*next, *rule.end)) return std::nullopt;
    return next;
}

}  // namespace

const ICalendarComponent* todo(const ICalendarComponent& calendar) {
    for (const ICalendarComponent& component : calendar.components())
        if (component.name() == "VTODO" && !component.property("RECURRENCE-ID")) return &component;
    return nullptr;
}

ICalendarComponent* todo(ICalendarComponent& calendar) {
    return const_cast<ICalendarComponent*>(todo(std::as_const(calendar)));
}

// libical makes its built-in zones on first use, UTC among them.
void prepareForThreads() { (void)icaltimezone_get_utc_timezone(); }

namespace {

// Another program's place, written only as LOCATION, stands as an alarm of
// no trigger after the item's own, so that the rest of Tavlin sees it as
// it sees ours.
std::optional<Alarm> propertyPlaceAlarm(const ICalendarComponent& todo, const std::vector<Alarm>& alarms) {
    if (placeOf(alarms)) return std::nullopt;
    std::optional<StructuredLocation> place = propertyPlace(todo);
    if (!place) return std::nullopt;
    return Alarm::on(std::move(*place), AlarmProximity::none);
}

std::vector<Alarm> alarmsWithPlace(const ICalendarComponent& todo) {
    std::vector<Alarm> list = alarms(todo);
    if (std::optional<Alarm> place = propertyPlaceAlarm(todo, list)) list.push_back(std::move(*place));
    return list;
}

}  // namespace

std::optional<Reminder> read(const ICalendarComponent& todo) {
    const ICalendarProperty* uid = todo.property("UID");
    if (!uid || uid->value().isEmpty()) return std::nullopt;
    return Reminder{
        .identifier = textValue(uid),
        .title = textValue(todo.property("SUMMARY")),
        .notes = textValue(todo.property("DESCRIPTION")),
        .dueDateComponents = due(todo),
        .startDateComponents = start(todo),
        .priority = priority(todo),
        .completed = isCompleted(todo),
        .completionDate = instant(todo.property("COMPLETED")),
        .creationDate = instant(todo.property("CREATED")),
        .recurrenceRules = rules(todo),
        .alarms = alarmsWithPlace(todo),
    };
}

bool apply(const Reminder& reminder, ICalendarComponent& calendar, Date now) {
    ICalendarComponent* item = todo(calendar);
    if (!item) return false;
    const Reminder current = read(*item).value_or(Reminder{});
    bool changed = false;
    const auto update = [&changed](bool differs, auto&& write) {
        if (!differs) return;
        write();
        changed = true;
    };
    update(current.identifier != reminder.identifier, [&] {
        item->setProperty({"UID", escapeText(reminder.identifier.toUtf8())});
    });
    update(current.title != reminder.title, [&] { setText(*item, "SUMMARY", reminder.title); });
    update(current.notes != reminder.notes, [&] { setText(*item, "DESCRIPTION", reminder.notes); });
    update(current.dueDateComponents != reminder.dueDateComponents, [&] {
        setDue(calendar, *item, reminder.dueDateComponents);
        item = todo(calendar);  // a VTIMEZONE put before it moved it
    });
    update(current.priority != reminder.priority, [&] {
        if (reminder.priority == 0) item->removeProperties("PRIORITY");
        else item->setProperty({"PRIORITY", QByteArray::number(std::clamp(reminder.priority, 0, 9))});
    });
    update(current.completed != reminder.completed || current.completionDate != reminder.completionDate,
           [&] { setCompletion(*item, reminder.completed, reminder.completionDate); });
    update(current.creationDate != reminder.creationDate, [&] { setDate(*item, "CREATED", reminder.creationDate); });
    update(current.recurrenceRules != reminder.recurrenceRules, [&] { setRules(*item, reminder.recurrenceRules); });
    // Another program's LOCATION stays as long as the place is the same,
    // even where it words the place otherwise than our alarm does.
    const bool placeChanged = !samePlace(placeOf(current.alarms), placeOf(reminder.alarms));
    update(current.alarms != reminder.alarms, [&] {
        std::vector<Alarm> wanted = reminder.alarms;
        // The alarm that stands for the LOCATION left in place is that property, not a VALARM.
        const std::optional<Alarm> standIn = propertyPlaceAlarm(*item, alarms(*item));
        if (standIn && !placeChanged) {
            if (const auto found = std::find(wanted.begin(), wanted.end(), *standIn); found != wanted.end())
                wanted.erase(found);
        }
        setAlarms(*item, wanted);
    });
    update(placeChanged, [&] { setPlaceProperties(*item, placeOf(reminder.alarms)); });
    if (changed) {
        setDate(*item, "LAST-MODIFIED", now);
        setDate(*item, "DTSTAMP", now);
    }
    return changed;
}

std::optional<Continuation> continuation(const ICalendarComponent& calendar) {
    const ICalendarComponent* item = todo(calendar);
    const ICalendarProperty* successor = item ? item->property(kContinuedBy) : nullptr;
    if (!successor) return std::nullopt;
    Continuation link{.successorIdentifier = textValue(successor),
                      .successorTag = successor->parameter(kSuccessorTag).value_or(QByteArray())};
    for (const ICalendarProperty* property : item->properties(kStashedRule))
        if (auto rule = readRule(stashedRule(*property))) link.recurrenceRules.push_back(std::move(*rule));
    return link;
}

// The rules are kept as the lines they were, so that giving them back
// restores parts of them that the value does not model.
bool setContinuation(ICalendarComponent& calendar, const std::optional<Continuation>& link) {
    ICalendarComponent* item = todo(calendar);
    if (!item || continuation(calendar) == link) return false;
    const auto stashed = item->properties(kStashedRule);
    if (!link) {
        if (!stashed.empty() && item->properties("RRULE").empty()) {
            std::vector<ICalendarProperty> restored;
            for (const ICalendarProperty* property : stashed) restored.emplace_back("RRULE", stashedRule(*property));
            item->setProperties("RRULE", std::move(restored));
        }
        item->removeProperties(kStashedRule);
        item->removeProperties(kContinuedBy);
        return true;
    }
    ICalendarProperty::Parameters parameters;
    if (!link->successorTag.isEmpty()) parameters.emplace_back(kSuccessorTag.toByteArray(), link->successorTag);
    item->setProperty({kContinuedBy.toByteArray(), escapeText(link->successorIdentifier.toUtf8()), parameters});
    std::vector<ICalendarProperty> lines;
    if (rules(*item) == link->recurrenceRules) {
        for (const ICalendarProperty* property : item->properties("RRULE"))
            lines.push_back(stashLine(property->value()));
    } else {
        for (const RecurrenceRule& rule : link->recurrenceRules) lines.push_back(stashLine(ruleText(rule)));
    }
    item->setProperties(kStashedRule, std::move(lines));
    return true;
}

ICalendarComponent newCalendar(const Reminder& reminder, Date now) {
    ICalendarComponent calendar("VCALENDAR");
    calendar.addProperty({"VERSION", "2.0"});
    calendar.addProperty({"PRODID", kProductId.toByteArray()});
    calendar.components().emplace_back("VTODO");
    apply(reminder, calendar, now);
    return calendar;
}

std::optional<Reminder> nextOccurrence(const Reminder& reminder) {
    if (reminder.recurrenceRules.empty() || !reminder.dueDateComponents) return std::nullopt;
    const RecurrenceRule& rule = reminder.recurrenceRules.front();
    const auto next = occurrenceAfter(*reminder.dueDateComponents, rule);
    if (!next) return std::nullopt;
    Reminder successor = reminder;
    successor.identifier.clear();
    successor.completed = false;
    successor.completionDate.reset();
    successor.creationDate.reset();
    successor.dueDateComponents = next;
    RecurrenceRule& successorRule = successor.recurrenceRules.front();
    if (successorRule.end && !successorRule.end->date) --successorRule.end->occurrenceCount;
    const auto from = instant(*reminder.dueDateComponents);
    const auto to = instant(*next);
    // The next occurrence's alarms are all still to come; a snooze was for
    // the done one.
    std::erase_if(successor.alarms, [](const Alarm& alarm) { return alarm.snooze; });
    for (Alarm& alarm : successor.alarms) {
        alarm.acknowledged.reset();
        if (alarm.absoluteDate && from && to)
            alarm.absoluteDate = alarm.absoluteDate->addingTimeInterval(to->timeIntervalSince(*from));
    }
    return successor;
}

// ---- Acknowledgements ----------------------------------------------------------

bool acknowledge(ICalendarComponent& calendar, const std::vector<std::size_t>& alarmIndices, Date at,
                 std::optional<Date> snoozeUntil) {
    ICalendarComponent* item = todo(calendar);
    if (!item || (alarmIndices.empty() && !snoozeUntil)) return false;
    std::vector<ICalendarComponent*> valarms;
    for (ICalendarComponent& component : item->components())
        if (component.name() == "VALARM") valarms.push_back(&component);
    if (std::any_of(alarmIndices.begin(), alarmIndices.end(), [&](std::size_t i) { return i >= valarms.size(); }))
        return false;
    QByteArray snoozedUid;
    for (const std::size_t index : alarmIndices) {
        ICalendarComponent& valarm = *valarms[index];
        valarm.setProperty({"ACKNOWLEDGED", utcText(at)});
        if (!snoozedUid.isEmpty()) continue;
        if (!valarm.property("UID"))
            valarm.addProperty({"UID", QUuid::createUuid().toByteArray(QUuid::WithoutBraces).toUpper()});
        snoozedUid = valarm.property("UID")->value();
    }
    if (snoozeUntil) {
        ICalendarComponent snooze = alarmComponent(Alarm::at(*snoozeUntil));
        if (!snoozedUid.isEmpty()) snooze.addProperty({"RELATED-TO", snoozedUid, {{"RELTYPE", "SNOOZE"}}});
        item->components().push_back(std::move(snooze));
    }
    item->setProperty({"DTSTAMP", utcText(at)});
    return true;
}

}  // namespace tavlin::platform::ICalendarReminder
