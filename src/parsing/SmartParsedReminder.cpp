#include "parsing/SmartParsedReminder.h"

#include "platform/DateComponents.h"
#include "platform/DateFormatter.h"
#include "platform/Locale.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;
using platform::GeneratedContent;
using platform::GenerationSchema;

namespace {

// The fields in schema order, with where each lives in the record.
struct Field {
    QString SmartParsedReminder::*member;
    const char16_t* name;
    const char16_t* guide;
};

const Field kFields[] = {
    {&SmartParsedReminder::dateText, u"dateText",
     u"The exact words in the note expressing the due date or deadline, copied character-for-character, or empty if "
     u"none"},
    {&SmartParsedReminder::dueDate, u"dueDate",
     u"That deadline resolved to YYYY-MM-DD using the reference dates, or empty"},
    {&SmartParsedReminder::dueTime, u"dueTime",
     u"Due time as HH:mm in 24-hour form when a time is written, else empty"},
    {&SmartParsedReminder::locationText, u"locationText",
     u"The exact words in the note marking a place with '@', including any preposition or leave/leaving words directly "
     u"before the '@', copied character-for-character, or empty"},
    {&SmartParsedReminder::location, u"location",
     u"The plain place name from locationText, without @ or prepositions, or empty"},
    {&SmartParsedReminder::priorityText, u"priorityText",
     u"The exact urgency words from the note, like 'urgent' or '!!', copied character-for-character, or empty"},
    {&SmartParsedReminder::priority, u"priority", u"That urgency as one of: none, low, medium, high"},
    {&SmartParsedReminder::listText, u"listText",
     u"The exact words in the note naming a target list, like '#work', copied character-for-character, or empty"},
    {&SmartParsedReminder::list, u"list", u"Exactly one of the available list names it refers to, or empty"},
};

// The reading rules, between "The current year is <year>" and the list names.
const char16_t kRules[] =
    u"; resolve every deadline to one of the reference dates unless the note names a different explicit date.\n"
    u"\n"
    u"Rules:\n"
    u"- The note may be written in any language, or mix several; extract fields regardless of language. Copy every "
    u"span in the language and script it was written in \u2014 never translate, transliterate or normalise it.\n"
    u"- Extract only what is literally written in the text. Never infer or guess.\n"
    u"- Every *Text field must be copied character-for-character from the note; never paraphrase or shorten it. Leave "
    u"it empty when nothing in the note expresses that field.\n"
    u"- Deadlines: \"by X\", \"before X\" and \"before the end of X\" all mean the last day of X itself, never a day "
    u"after it. The weekend is Saturday and Sunday and ends on Sunday, so \"end of this weekend\" is this Sunday. The "
    u"week ends on Friday.\n"
    u"- location only when the note marks a place with \"@\", like \"@work\" or \"in @ah xl leiden\" \u2014 a "
    u"preposition directly before the \"@\" belongs to the location span. Words like at/in/near before a plain word "
    u"never make a location, and a person is not a location.\n"
    u"- priority is none unless the text contains explicit urgency words such as \"urgent\", \"important\", \"high "
    u"priority\" or \"low priority\". Having a deadline is not urgency.\n"
    u"- list must be empty unless the text explicitly names one of the available lists as the destination, e.g. with "
    u"a \"#\" tag or \"to my X list\". The topic of the task never implies a list.\n"
    u"\n"
    u"Available lists: ";

}  // namespace

const GenerationSchema& SmartParsedReminder::schema() {
    static const GenerationSchema schema = [] {
        GenerationSchema built{.typeName = u"SmartParsedReminder"_s};
        for (const Field& field : kFields)
            built.properties.push_back({QString::fromUtf16(field.name), QString::fromUtf16(field.guide)});
        return built;
    }();
    return schema;
}

std::optional<SmartParsedReminder> SmartParsedReminder::fromGeneratedContent(const GeneratedContent& content) {
    SmartParsedReminder reminder;
    for (const Field& field : kFields) {
        const std::optional<QString> value = content.string(QString::fromUtf16(field.name));
        if (!value) return std::nullopt;
        reminder.*field.member = *value;
    }
    return reminder;
}

GeneratedContent SmartParsedReminder::toGeneratedContent() const {
    std::map<QString, GeneratedContent::Value> properties;
    for (const Field& field : kFields) properties.emplace(QString::fromUtf16(field.name), this->*field.member);
    return GeneratedContent(std::move(properties));
}

QString SmartParsedReminder::debugText() const {
    QStringList fields;
    for (const Field& field : kFields) fields.append(QString::fromUtf16(field.name) + u'=' + this->*field.member);
    return fields.join(u' ');
}

const GenerationSchema& SplitTasks::schema() {
    static const GenerationSchema schema{
        .typeName = u"SplitTasks"_s,
        .properties = {{u"tasks"_s,
                        u"Each separate action item from the text, one entry per to-do, using the text's own wording "
                        u"with greetings, signatures and filler removed. Empty array when the text contains no action "
                        u"items."_s,
                        GenerationSchema::Type::stringArray}},
    };
    return schema;
}

std::optional<SplitTasks> SplitTasks::fromGeneratedContent(const GeneratedContent& content) {
    const std::optional<QStringList> tasks = content.stringArray(u"tasks"_s);
    if (!tasks) return std::nullopt;
    return SplitTasks{*tasks};
}

namespace SmartQuickAddParser {

namespace {

// "Tuesday (today) = 2026-12-08", for the day `dayOffset` days after the
// reference; `weekdays` start with Sunday.
std::optional<QString> referenceDatesText(int dayOffset, const platform::Calendar& calendar,
                                          platform::Date referenceDate, const QStringList& weekdays,
                                          const platform::DateFormatter& isoDay) {
    const std::optional<platform::Date> day =
        calendar.dateByAdding(platform::CalendarComponent::Day, dayOffset, referenceDate);
    if (!day) return std::nullopt;
    const int weekday = calendar.component(platform::CalendarComponent::Weekday, *day);
    QString text = weekdays.value(weekday - 1);
    if (dayOffset == 0) text += u" (today)"_s;
    if (dayOffset == 1) text += u" (tomorrow)"_s;
    return text + u" = "_s + isoDay.string(*day);
}

// The weekday names of the user's language, and the day formatter of a time
// zone: the model is asked at every pause in typing, and making these anew
// cost more than all the rest of the asking. Made again when the language
// or the zone changes. Main thread only.
const QStringList& weekdayNames() {
    static QString language;
    static QStringList names;
    const platform::Locale locale = platform::Locale::current();
    if (names.isEmpty() || locale.identifier() != language) {
        language = locale.identifier();
        names = locale.dateSymbols().weekdaySymbols;
    }
    return names;
}

const platform::DateFormatter& isoDayFormatter(const platform::TimeZone& zone) {
    static QString zoneName;
    static std::optional<platform::DateFormatter> formatter;
    if (!formatter || zone.identifier() != zoneName) {
        zoneName = zone.identifier();
        formatter.emplace(u"yyyy-MM-dd"_s, platform::Locale::posix(), zone);
    }
    return *formatter;
}

}  // namespace

QString readingInstructions(platform::Date referenceDate, const platform::Calendar& calendar,
                            const QStringList& listNames) {
    const QStringList& weekdays = weekdayNames();
    const platform::DateFormatter& isoDay = isoDayFormatter(calendar.timeZone());
    QStringList dates;
    for (int offset = 0; offset <= 6; ++offset)
        if (const auto entry = referenceDatesText(offset, calendar, referenceDate, weekdays, isoDay))
            dates.append(*entry);
    return u"You extract structured reminder fields from short task notes.\n\nDates for reference: "_s +
           dates.join(u", "_s) + u". The current year is "_s +
           QString::number(calendar.component(platform::CalendarComponent::Year, referenceDate)) +
           QString::fromUtf16(kRules) + listNames.join(u", "_s) + u"."_s;
}

const QString& splitInstructions() {
    static const QString instructions =
        u"You split short texts into individual actionable to-dos. Use the text's own wording for each task; never "
        u"invent tasks that are not asked for. A single request stays a single task \u2014 \"call mom and dad\" is one "
        u"call. Ignore greetings, sign-offs and commentary. The text may be in any language, or mix several; keep each "
        u"task in the language and script it was written in, and never translate it."_s;
    return instructions;
}

}  // namespace SmartQuickAddParser

}  // namespace tavlin::parsing
